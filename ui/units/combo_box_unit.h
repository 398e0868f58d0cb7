// The ComboBox: a list of GBK items in the platform's combo box control,
// with or without an edit field.  Property 19 is the selected item's
// index.  Event 0 says the user chose an item: it is raised once the list
// has closed, from a message the unit posts itself, so a handler reading
// property 19 sees the new choice.  Events 1-4: the edit text changed, the
// list dropped down, the list closed, a double click.
#pragma once

#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"
#include "ui/units/combo_box_data.h"

namespace ui {

enum ComboBoxEvent : std::int32_t {
    kComboItemSelected = 0,
    kComboEditChanged = 1,
    kComboDroppedDown = 2,
    kComboClosedUp = 3,
    kComboDoubleClicked = 4,
};

class ComboBoxUnit final : public DescribedUnit<ComboBoxData> {
public:
    ~ComboBoxUnit() override;

    static const KindDescription<ComboBoxData>& description() { return ComboBoxDescription(); }
    PropertyValue liveValue(ComboBoxData::Live which) const;
    bool apply(ComboBoxData::Effect effect);

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    std::uint32_t comboStyles() const;
    void addItems();
    void onCommand(std::uint32_t code);

    OwnedBrush m_background;
    OwnedFont m_font;
};

extern const UnitKindDescriptor kComboBoxKind;

} // namespace ui
