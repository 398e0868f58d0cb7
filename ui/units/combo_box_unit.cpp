#include "ui/units/combo_box_unit.h"

#include "platform/combo_box.h"
#include "platform/gdi.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

#include <algorithm>

namespace ui {
namespace {

using namespace platform;

// Posted to itself when the user chose an item; event 0 is raised when it
// arrives, after the control has closed its list and settled the choice.
constexpr std::uint32_t kItemChosenMessage = WM_USER + 1;

// By the stored style 0-2.
constexpr std::uint32_t kStyles[] = {CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST};
// A dropped list is at least this tall: the window's height holds it.
constexpr int kDroppedListHeight = 160;

struct CommandEvent {
    std::uint32_t code;
    std::int32_t event;
};
constexpr CommandEvent kCommandEvents[] = {
    {CBN_EDITCHANGE, kComboEditChanged},
    {CBN_DROPDOWN, kComboDroppedDown},
    {CBN_CLOSEUP, kComboClosedUp},
    {CBN_DBLCLK, kComboDoubleClicked},
};

} // namespace

ComboBoxUnit::~ComboBoxUnit() = default;

std::uint32_t ComboBoxUnit::comboStyles() const
{
    std::int32_t style = std::clamp(m_settings.style, 0, 2);
    return WS_VSCROLL | CBS_AUTOHSCROLL | kStyles[style] | (m_settings.sorted ? CBS_SORT : 0u);
}

// The creation steps in their order: the control (drop-down styles at least
// as tall as their dropped list); the brush; the item height; the edit
// limit; the items with their data; the selection, clamped to the items;
// the edit field's text and selection.
bool ComboBoxUnit::createControl(const UnitCreateParams& p)
{
    UnitCreateParams sized = p;
    if (m_settings.style == 1 || m_settings.style == 2)
        sized.height = std::max(p.height, kDroppedListHeight);
    if (!CreateUnitWindow(this, sized, WC_COMBOBOX, p.style | comboStyles()))
        return false;
    Hwnd h = handle();
    ApplyFontBlock(h, m_settings.font, m_font, FontRecordUse::AsStored);
    m_background.reset(CreateSolidBrush(ColorOfSetting(m_settings.backgroundColor)));
    if (m_settings.extraItemHeight != 0)
        ComboBox_SetItemHeight(h, 0, ComboBox_GetItemHeight(h, 0) + m_settings.extraItemHeight);
    ComboBox_LimitText(h, std::max(0, m_settings.maxEditLength));
    addItems();
    int count = ComboBox_GetCount(h);
    m_settings.initialSelection = std::clamp(m_settings.initialSelection, -1, count - 1);
    ComboBox_SetCurSel(h, m_settings.initialSelection);
    if (m_settings.style != 2) {
        if (!m_settings.text.empty())
            SetWindowText(h, m_settings.text);
        ComboBox_SetEditSel(h, m_settings.editSelectionStart,
                            m_settings.editSelectionStart + m_settings.editSelectionLength);
    }
    return true;
}

// Items past the end of the stored data carry no datum.
void ComboBoxUnit::addItems()
{
    for (std::size_t i = 0; i < m_settings.itemTexts.size(); ++i) {
        int index = ComboBox_AddString(handle(), m_settings.itemTexts[i]);
        if (index >= 0 && i < m_settings.itemData.size())
            ComboBox_SetItemData(handle(), index, m_settings.itemData[i]);
    }
}

PropertyValue ComboBoxUnit::liveValue(ComboBoxData::Live) const
{
    return PropertyValue::ofInteger(ComboBox_GetCurSel(handle()));
}

bool ComboBoxUnit::apply(ComboBoxData::Effect effect)
{
    if (effect == ComboBoxData::Effect::Select)
        ComboBox_SetCurSel(handle(), m_settings.initialSelection);
    return false;
}

void ComboBoxUnit::onCommand(std::uint32_t code)
{
    if (code == CBN_SELENDOK) {
        PostMessage(handle(), kItemChosenMessage, 0, 0);
        return;
    }
    for (const CommandEvent& e : kCommandEvents)
        if (e.code == code)
            raise(e.event);
}

LResult ComboBoxUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kReflectedCommand:
        onCommand(std::uint32_t(HiWord(wParam)));
        return 0;
    case kItemChosenMessage:
        raise(kComboItemSelected);
        return 0;
    case ReflectedMessage(WM_CTLCOLOREDIT):
    case ReflectedMessage(WM_CTLCOLORLISTBOX):
        SetTextColor(Hdc(wParam), ColorOfSetting(m_settings.textColor));
        SetBkColor(Hdc(wParam), ColorOfSetting(m_settings.backgroundColor));
        return LResult(m_background.get());
    default:
        return UnitObject::windowProc(message, wParam, lParam);
    }
}

namespace {

UnitObject* createComboBox(const UnitCreateParams& p)
{
    return MakeDescribedUnit<ComboBoxUnit>(p);
}

constexpr KindRoutines kComboBoxRoutines = DescribedKindRoutines<ComboBoxUnit>(createComboBox);
const std::vector<PropertyDescriptor> kComboBoxProperties = PropertyTypeTable(ComboBoxDescription());

} // namespace

const UnitKindDescriptor kComboBoxKind{
    .chineseName = "组合框",
    .englishName = "ComboBox",
    .stateFlags = 0x80000240,
    .propertyCount = std::int32_t(kComboBoxProperties.size()),
    .properties = kComboBoxProperties.data(),
    .kindEntry = KindEntryFor<kComboBoxRoutines>,
};

} // namespace ui
