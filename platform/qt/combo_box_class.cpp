#include "platform/qt/combo_box_class.h"

#include "platform/combo_box.h"
#include "platform/common_controls.h"
#include "platform/qt/combo_box_control.h"
#include "platform/qt/control_class.h"
#include "platform/qt/control_support.h"
#include "platform/qt/text_entry.h"
#include "platform/qt/widgets.h"


namespace platform::qt {
namespace {

LResult setText(ComboBoxControl& combo, Hwnd, WParam, LParam lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    return combo.setWindowText(text ? text : "") ? 1 : 0;
}

LResult getText(ComboBoxControl& combo, Hwnd, WParam wParam, LParam lParam)
{
    return copyWindowText(combo.windowText(), wParam, lParam);
}

LResult getTextLength(ComboBoxControl& combo, Hwnd, WParam, LParam)
{
    return LResult(combo.windowText().size());
}

// Characters typed into the edit field keep to its limit.
LResult character(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    std::optional<std::uint32_t> delivered = std::uint32_t(wParam);
    if (TextEntry* field = combo.entry())
        delivered = field->typedCharacter(std::uint32_t(wParam));
    return delivered ? DefWindowProc(hwnd, WM_CHAR, *delivered, lParam) : 0;
}

LResult buttonDown(ComboBoxControl&, Hwnd hwnd, WParam wParam, LParam lParam)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    return DefWindowProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
}

LResult setFocus(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_SETFOCUS, wParam, lParam);
    combo.notify(CBN_SETFOCUS);
    return 0;
}

LResult killFocus(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_KILLFOCUS, wParam, lParam);
    combo.notify(CBN_KILLFOCUS);
    return 0;
}

// The window's height was set: a drop-down box keeps it for its list and
// reports the field's height it went back to.
LResult sized(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_SIZE, wParam, lParam);
    if (combo.adoptWindowHeight())
        reportGeometry(hwnd);
    return 0;
}

LResult created(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    combo.adoptWindowHeight();
    return DefWindowProc(hwnd, WM_CREATE, wParam, lParam);
}

LResult fontSet(ComboBoxControl& combo, Hwnd hwnd, WParam wParam, LParam lParam)
{
    DefWindowProc(hwnd, WM_SETFONT, wParam, lParam);
    combo.relayout();
    reportGeometry(hwnd);
    return 0;
}

LResult styleChanged(ComboBoxControl& combo, Hwnd hwnd, WParam, LParam)
{
    combo.applyStyles(GetWindowStyle(hwnd));
    return 0;
}

constexpr MessageHandler<ComboBoxControl> kHandlers[] = {
    {WM_SETTEXT, setText},
    {WM_GETTEXT, getText},
    {WM_GETTEXTLENGTH, getTextLength},
    {WM_CHAR, character},
    {WM_LBUTTONDOWN, buttonDown},
    {WM_SETFOCUS, setFocus},
    {WM_KILLFOCUS, killFocus},
    {WM_SIZE, sized},
    {WM_CREATE, created},
    {WM_SETFONT, fontSet},
    {WM_STYLECHANGED, styleChanged},
};

LResult comboBoxProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    return DispatchToControl<ComboBoxControl>(kHandlers, comboBoxOf(hwnd), hwnd, message, wParam, lParam);
}

} // namespace

ClassInfo comboBoxClassInfo()
{
    return {
        .windowClass = {.name = WC_COMBOBOX, .style = CS_DBLCLKS, .proc = comboBoxProc},
        .factory = [](QWidget* parent, const CreateStruct& cs) -> QWidget* { return new ComboBoxControl(parent, cs); },
    };
}

ComboBoxControl* comboBoxOf(Hwnd hwnd)
{
    return ControlOfClass<ComboBoxControl>(hwnd, WC_COMBOBOX);
}

} // namespace platform::qt
