#include "ui/units/edit_box_unit.h"

#include "platform/edit.h"
#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/up_down.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

#include <algorithm>
#include <utility>

namespace ui {
namespace {

using namespace platform;

// By the stored alignment 0-2, input mode 0-2 and case conversion 0-2.
constexpr std::uint32_t kAlignments[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
constexpr std::uint32_t kInputModes[] = {0, ES_READONLY, ES_PASSWORD};
constexpr std::uint32_t kCases[] = {0, ES_LOWERCASE, ES_UPPERCASE};

std::uint32_t pick(const std::uint32_t (&table)[3], std::int32_t stored)
{
    return table[stored >= 0 && stored <= 2 ? stored : 0];
}

} // namespace

EditBoxUnit::~EditBoxUnit() = default;

std::uint32_t EditBoxUnit::editStyles() const
{
    const EditBoxData& s = m_settings;
    bool hScroll = s.scrollBars == 1 || s.scrollBars == 3;
    bool vScroll = s.scrollBars == 2 || s.scrollBars == 3;
    std::uint32_t style = pick(kAlignments, s.alignment) | pick(kInputModes, s.inputMode) | pick(kCases, s.caseConversion);
    if (s.multiLine) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (!hScroll)
            style |= ES_AUTOHSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    style |= hScroll ? WS_HSCROLL : 0u;
    style |= vScroll ? WS_VSCROLL : 0u;
    style |= s.hideSelection ? 0u : ES_NOHIDESEL;
    return style;
}

// The creation steps in their order: the control with its styles and
// text; the background brush; the limit and the password character; the
// spin companion; the initial selection, scrolled into view; the border
// last, as it changes the client area the text was laid out in.
bool EditBoxUnit::createControl(const UnitCreateParams& p)
{
    if (!CreateUnitWindow(this, p, WC_EDIT, p.style | editStyles(), 0, m_settings.text))
        return false;
    Hwnd h = handle();
    ApplyFontBlock(h, m_settings.font, m_font, FontRecordUse::AsStored);
    m_background.reset(CreateSolidBrush(ColorOfSetting(m_settings.backgroundColor)));
    Edit_LimitText(h, std::max(0, m_settings.maxLength));
    if (m_settings.inputMode == 2)
        Edit_SetPasswordChar(h, m_settings.passwordChar);
    if (!m_settings.multiLine && m_settings.spinKind != 0)
        createSpin(p);
    Edit_SetSel(h, m_settings.selectionStart, m_settings.selectionStart + m_settings.selectionLength);
    Edit_ScrollCaret(h);
    ApplyBorderStyle(h, m_settings.borderStyle);
    return true;
}

// A sibling of the box that steps the number in it; it goes, shows and
// hides with the box.
void EditBoxUnit::createSpin(const UnitCreateParams& p)
{
    m_spin = CreateWindowEx({
        .className = WC_UPDOWN,
        .style = WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | (p.style & WS_VISIBLE),
        .parent = p.parent,
    });
    if (m_spin == Hwnd::Null)
        return;
    UpDown_SetBuddy(m_spin, handle());
    UpDown_SetRange32(m_spin, std::min(m_settings.spinMin, m_settings.spinMax),
                      std::max(m_settings.spinMin, m_settings.spinMax));
}

PropertyValue EditBoxUnit::liveValue(EditBoxData::Live) const
{
    return PropertyValue::ofText(GetWindowText(handle()));
}

bool EditBoxUnit::apply(EditBoxData::Effect effect)
{
    if (effect == EditBoxData::Effect::Text)
        SetWindowText(handle(), m_settings.text);
    return false;
}

LResult EditBoxUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kReflectedCommand:
        if (std::uint32_t(HiWord(wParam)) == EN_CHANGE)
            raise(kEditBoxChanged);
        return 0;
    case ReflectedMessage(WM_CTLCOLOREDIT):
    case ReflectedMessage(WM_CTLCOLORSTATIC):
        SetTextColor(Hdc(wParam), ColorOfSetting(m_settings.textColor));
        SetBkColor(Hdc(wParam), ColorOfSetting(m_settings.backgroundColor));
        return LResult(m_background.get());
    case WM_SHOWWINDOW:
        if (IsWindow(m_spin))
            ShowWindow(m_spin, wParam ? SW_SHOWNA : SW_HIDE);
        break;
    case WM_ENABLE:
        if (IsWindow(m_spin))
            EnableWindow(m_spin, wParam != 0);
        break;
    case WM_DESTROY:
        if (IsWindow(m_spin))
            DestroyWindow(std::exchange(m_spin, Hwnd::Null));
        break;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createEditBox(const UnitCreateParams& p)
{
    return MakeDescribedUnit<EditBoxUnit>(p);
}

constexpr KindRoutines kEditBoxRoutines = DescribedKindRoutines<EditBoxUnit>(createEditBox);
const std::vector<PropertyDescriptor> kEditBoxProperties = PropertyTypeTable(EditBoxDescription());

} // namespace

const UnitKindDescriptor kEditBoxKind{
    .chineseName = "编辑框",
    .englishName = "EditBox",
    .stateFlags = 0x80000040,
    .propertyCount = std::int32_t(kEditBoxProperties.size()),
    .properties = kEditBoxProperties.data(),
    .kindEntry = KindEntryFor<kEditBoxRoutines>,
};

} // namespace ui
