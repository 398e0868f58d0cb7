#include "platform/qt/list_view_class.h"

#include "platform/qt/control_class.h"
#include "platform/qt/device_context.h"
#include "platform/qt/list_view_control.h"

namespace platform::qt {
namespace {

LResult listViewProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (ListViewControl* control = listViewOf(hwnd)) {
        if (message == WM_SETFONT)
            control->setListFont(qfontFor(Font(wParam)));
        else if (message == WM_STYLECHANGED)
            control->applyWindowStyles(GetWindowStyle(hwnd), GetWindowExStyle(hwnd));
    }
    // WM_SETFONT also goes on, so that WM_GETFONT answers with the font.
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

ClassInfo listViewClassInfo()
{
    return ClassInfo{
        .windowClass = WindowClass{.name = WC_LISTVIEW, .style = CS_DBLCLKS, .proc = listViewProc},
        .factory = [](QWidget* parent, const CreateStruct& cs) -> QWidget* {
            return new ListViewControl(parent, cs.style, cs.exStyle);
        },
    };
}

ListViewControl* listViewOf(Hwnd hwnd)
{
    return ControlOfClass<ListViewControl>(hwnd, WC_LISTVIEW);
}

} // namespace platform::qt
