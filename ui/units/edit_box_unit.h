// The EditBox: a line or lines of GBK text in the platform's edit control,
// with an optional spin companion.  Property 8 is its text; event 0 says
// the user changed it.  It answers the control's colour request with its
// own text and background colours.
#pragma once

#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"
#include "ui/units/edit_box_data.h"

namespace ui {

inline constexpr std::int32_t kEditBoxChanged = 0;

class EditBoxUnit final : public DescribedUnit<EditBoxData> {
public:
    ~EditBoxUnit() override;

    // What the kind's description asks of a unit (kind_properties.h).
    static const KindDescription<EditBoxData>& description() { return EditBoxDescription(); }
    PropertyValue liveValue(EditBoxData::Live which) const;
    bool apply(EditBoxData::Effect effect);

    // The spin companion, when the box has one.
    platform::Hwnd spin() const { return m_spin; }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    std::uint32_t editStyles() const;
    void createSpin(const UnitCreateParams& params);

    OwnedBrush m_background;
    OwnedFont m_font;
    platform::Hwnd m_spin = platform::Hwnd::Null;
};

extern const UnitKindDescriptor kEditBoxKind;

} // namespace ui
