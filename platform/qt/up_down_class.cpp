#include "platform/qt/up_down_class.h"

#include "platform/common_controls.h"
#include "platform/qt/control_class.h"
#include "platform/qt/up_down_control.h"
#include "platform/up_down.h"

namespace platform::qt {
namespace {

LResult upDownProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (UpDownControl* control = upDownOf(hwnd); control && message == WM_STYLECHANGED)
        control->applyStyles(GetWindowStyle(hwnd));
    // The arrows take no focus: the buddy keeps it while they step.
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

ClassInfo upDownClassInfo()
{
    return {
        .windowClass = {.name = WC_UPDOWN, .proc = upDownProc},
        .factory = [](QWidget* parent, const CreateStruct& cs) -> QWidget* { return new UpDownControl(parent, cs); },
    };
}

UpDownControl* upDownOf(Hwnd hwnd)
{
    return ControlOfClass<UpDownControl>(hwnd, WC_UPDOWN);
}

} // namespace platform::qt
