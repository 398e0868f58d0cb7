#include "platform/qt/edit_class.h"

#include "platform/common_controls.h"
#include "platform/edit.h"
#include "platform/qt/control_class.h"
#include "platform/qt/control_support.h"
#include "platform/qt/edit_control.h"


namespace platform::qt {
namespace {

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

constexpr MessageHandler<EditControl> kHandlers[] = {
    {WM_SETTEXT, setText},
    {WM_GETTEXT, getText},
    {WM_GETTEXTLENGTH, getTextLength},
    {WM_CHAR, character},
    {WM_LBUTTONDOWN, buttonDown},
    {WM_SETFOCUS, setFocus},
    {WM_KILLFOCUS, killFocus},
    {WM_STYLECHANGED, styleChanged},
};

LResult editProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    return DispatchToControl<EditControl>(kHandlers, editOf(hwnd), hwnd, message, wParam, lParam);
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
    return ControlOfClass<EditControl>(hwnd, WC_EDIT);
}

} // namespace platform::qt
