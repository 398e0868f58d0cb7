#include "platform/qt/edit_class.h"

#include "platform/common_controls.h"
#include "platform/edit.h"
#include "platform/qt/control_support.h"
#include "platform/qt/edit_control.h"

#include <algorithm>
#include <array>

namespace platform::qt {
namespace {

using Handler = LResult (*)(EditControl&, Hwnd, WParam, LParam);

struct MessageHandler {
    std::uint32_t message;
    Handler handle;
};

LResult setText(EditControl& edit, Hwnd, WParam, LParam lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    edit.entry().setWindowText(text ? text : "");
    return 1;
}

LResult getText(EditControl& edit, Hwnd, WParam wParam, LParam lParam)
{
    return copyWindowText(edit.entry().windowText(), wParam, lParam);
}

LResult getTextLength(EditControl& edit, Hwnd, WParam, LParam)
{
    return edit.entry().windowTextLength();
}

// A typed character goes through the field's rules first: converted to
// its case, or refused when it would pass the limit.
LResult character(EditControl& edit, Hwnd hwnd, WParam wParam, LParam lParam)
{
    std::optional<std::uint32_t> delivered = edit.entry().typedCharacter(std::uint32_t(wParam));
    return delivered ? DefWindowProc(hwnd, WM_CHAR, *delivered, lParam) : 0;
}

// A press in the field takes the focus, as the classic control does.
LResult buttonDown(EditControl&, Hwnd hwnd, WParam wParam, LParam lParam)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    return DefWindowProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
}

LResult setFocus(EditControl&, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_SETFOCUS, wParam, lParam);
    commandParent(hwnd, EN_SETFOCUS);
    return 0;
}

LResult killFocus(EditControl&, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_KILLFOCUS, wParam, lParam);
    commandParent(hwnd, EN_KILLFOCUS);
    return 0;
}

LResult styleChanged(EditControl& edit, Hwnd hwnd, WParam, LParam)
{
    edit.applyStyles(GetWindowStyle(hwnd), GetWindowExStyle(hwnd));
    return 0;
}

constexpr std::array kHandlers{
    MessageHandler{WM_SETTEXT, setText},
    MessageHandler{WM_GETTEXT, getText},
    MessageHandler{WM_GETTEXTLENGTH, getTextLength},
    MessageHandler{WM_CHAR, character},
    MessageHandler{WM_LBUTTONDOWN, buttonDown},
    MessageHandler{WM_SETFOCUS, setFocus},
    MessageHandler{WM_KILLFOCUS, killFocus},
    MessageHandler{WM_STYLECHANGED, styleChanged},
};

LResult editProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    auto it = std::find_if(kHandlers.begin(), kHandlers.end(), [&](const MessageHandler& h) { return h.message == message; });
    EditControl* edit = editOf(hwnd);
    if (it == kHandlers.end() || !edit)
        return DefWindowProc(hwnd, message, wParam, lParam);
    return it->handle(*edit, hwnd, wParam, lParam);
}

} // namespace

ClassInfo editClassInfo()
{
    return {
        .windowClass = {.name = WC_EDIT, .style = CS_DBLCLKS, .proc = editProc},
        .factory = [](QWidget* parent, const CreateStruct& cs) -> QWidget* { return new EditControl(parent, cs); },
    };
}

EditControl* editOf(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->windowClass->windowClass.name != WC_EDIT)
        return nullptr;
    return dynamic_cast<EditControl*>(r->widget.data());
}

} // namespace platform::qt
