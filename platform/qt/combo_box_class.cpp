#include "platform/qt/combo_box_class.h"

#include "platform/combo_box.h"
#include "platform/common_controls.h"
#include "platform/qt/combo_box_control.h"
#include "platform/qt/control_support.h"
#include "platform/qt/text_entry.h"
#include "platform/qt/widgets.h"

#include <algorithm>
#include <array>

namespace platform::qt {
namespace {

using Handler = LResult (*)(ComboBoxControl&, Hwnd, WParam, LParam);

struct MessageHandler {
    std::uint32_t message;
    Handler handle;
};

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

constexpr std::array kHandlers{
    MessageHandler{WM_SETTEXT, setText},
    MessageHandler{WM_GETTEXT, getText},
    MessageHandler{WM_GETTEXTLENGTH, getTextLength},
    MessageHandler{WM_CHAR, character},
    MessageHandler{WM_LBUTTONDOWN, buttonDown},
    MessageHandler{WM_SETFOCUS, setFocus},
    MessageHandler{WM_KILLFOCUS, killFocus},
    MessageHandler{WM_SIZE, sized},
    MessageHandler{WM_CREATE, created},
    MessageHandler{WM_SETFONT, fontSet},
    MessageHandler{WM_STYLECHANGED, styleChanged},
};

LResult comboBoxProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    auto it = std::find_if(kHandlers.begin(), kHandlers.end(), [&](const MessageHandler& h) { return h.message == message; });
    ComboBoxControl* combo = comboBoxOf(hwnd);
    if (it == kHandlers.end() || !combo)
        return DefWindowProc(hwnd, message, wParam, lParam);
    return it->handle(*combo, hwnd, wParam, lParam);
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
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->windowClass->windowClass.name != WC_COMBOBOX)
        return nullptr;
    return dynamic_cast<ComboBoxControl*>(r->widget.data());
}

} // namespace platform::qt
