#include "platform/qt/button_class.h"

#include "platform/button.h"
#include "platform/common_controls.h"
#include "platform/qt/button_control.h"
#include "platform/qt/control_support.h"

#include <algorithm>
#include <array>

namespace platform::qt {
namespace {

using Handler = LResult (*)(ButtonControl&, Hwnd, WParam, LParam);

struct MessageHandler {
    std::uint32_t message;
    Handler handle;
};

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

constexpr std::array kHandlers{
    MessageHandler{WM_SETTEXT, setText},
    MessageHandler{WM_GETTEXT, getText},
    MessageHandler{WM_GETTEXTLENGTH, getTextLength},
    MessageHandler{WM_LBUTTONDOWN, buttonDown},
    MessageHandler{WM_STYLECHANGED, styleChanged},
};

LResult buttonProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    auto it = std::find_if(kHandlers.begin(), kHandlers.end(), [&](const MessageHandler& h) { return h.message == message; });
    ButtonControl* button = buttonOf(hwnd);
    if (it == kHandlers.end() || !button)
        return DefWindowProc(hwnd, message, wParam, lParam);
    return it->handle(*button, hwnd, wParam, lParam);
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
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->windowClass->windowClass.name != WC_BUTTON)
        return nullptr;
    return dynamic_cast<ButtonControl*>(r->widget.data());
}

} // namespace platform::qt
