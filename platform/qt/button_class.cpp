#include "platform/qt/button_class.h"

#include "platform/button.h"
#include "platform/common_controls.h"
#include "platform/qt/button_control.h"
#include "platform/qt/control_class.h"
#include "platform/qt/control_support.h"


namespace platform::qt {
namespace {

LResult setText(ButtonControl& button, Hwnd, WParam, LParam lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    button.setCaption(text ? text : "");
    return 1;
}

LResult getText(ButtonControl& button, Hwnd, WParam wParam, LParam lParam)
{
    return copyWindowText(button.caption(), wParam, lParam);
}

LResult getTextLength(ButtonControl& button, Hwnd, WParam, LParam)
{
    return LResult(button.caption().size());
}

// A press takes the focus, as the classic button does.
LResult buttonDown(ButtonControl&, Hwnd hwnd, WParam wParam, LParam lParam)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    return DefWindowProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
}

LResult styleChanged(ButtonControl& button, Hwnd hwnd, WParam, LParam)
{
    button.applyStyles(GetWindowStyle(hwnd));
    return 0;
}

constexpr MessageHandler<ButtonControl> kHandlers[] = {
    {WM_SETTEXT, setText},
    {WM_GETTEXT, getText},
    {WM_GETTEXTLENGTH, getTextLength},
    {WM_LBUTTONDOWN, buttonDown},
    {WM_STYLECHANGED, styleChanged},
};

LResult buttonProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    return DispatchToControl<ButtonControl>(kHandlers, buttonOf(hwnd), hwnd, message, wParam, lParam);
}

} // namespace

ClassInfo buttonClassInfo()
{
    return {
        .windowClass = {.name = WC_BUTTON, .style = CS_DBLCLKS, .proc = buttonProc},
        .factory = [](QWidget* parent, const CreateStruct& cs) -> QWidget* { return new ButtonControl(parent, cs); },
    };
}

ButtonControl* buttonOf(Hwnd hwnd)
{
    return ControlOfClass<ButtonControl>(hwnd, WC_BUTTON);
}

} // namespace platform::qt
