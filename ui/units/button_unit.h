// The Button: a push button in the platform's button control, with a
// caption or a picture (a bitmap, or an icon for icon and cursor
// pictures).  Event 0 says it was clicked.
#pragma once

#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"
#include "ui/units/button_data.h"

namespace ui {

inline constexpr std::int32_t kButtonClicked = 0;

class ButtonUnit final : public DescribedUnit<ButtonData> {
public:
    ~ButtonUnit() override;

    static const KindDescription<ButtonData>& description() { return ButtonDescription(); }
    PropertyValue liveValue(ButtonData::Live) const { return {}; }
    bool apply(ButtonData::Effect) { return false; }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    std::uint32_t buttonStyles() const;
    void showPicture();

    OwnedBitmap m_bitmap;
    OwnedIcon m_icon;
    OwnedFont m_font;
};

extern const UnitKindDescriptor kButtonKind;

} // namespace ui
