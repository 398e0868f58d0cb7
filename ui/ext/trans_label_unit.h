// The TransLabel: a caption with no background of its own.  Only its text
// (and the text's relief) is painted; whatever lies beneath — the page of a
// tab, a picture — shows everywhere else, also after the caption changes
// or the label moves.  Properties 8-14: caption, relief, font, text colour,
// horizontal alignment, word wrap, vertical alignment.
#pragma once

#include "ui/ext/trans_label_data.h"
#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"

namespace ui {

inline constexpr const char* kTransLabelClass = "_VX_TransLabel";

class TransLabelUnit final : public DescribedUnit<TransLabelData> {
public:
    ~TransLabelUnit() override;

    static const KindDescription<TransLabelData>& description() { return TransLabelDescription(); }
    PropertyValue liveValue(TransLabelData::Live) const { return {}; }
    bool apply(TransLabelData::Effect effect);

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    void paint();
    void repaintBackground();

    OwnedFont m_font;
};

extern const UnitKindDescriptor kTransLabelKind;

} // namespace ui
