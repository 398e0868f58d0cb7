#include "ui/ext/trans_label_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"

namespace ui {
namespace {

using D = TransLabelData;
using E = D::Effect;

constexpr Setting<D> kSettings[] = {
    {.member = &D::relief, .stored = Stored::Number, .key = "relief",
     .property = 9, .type = kTypeChoice, .clamp = ClampRange{0, 3}, .effect = E::Repaint},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color",
     .property = 11, .type = kTypeColor, .effect = E::Repaint},
    {.member = &D::horizontalAlignment, .stored = Stored::Number, .key = "horizontal-alignment",
     .property = 12, .type = kTypeChoice, .clamp = ClampRange{0, 2}, .effect = E::Repaint},
    {.member = &D::verticalAlignment, .stored = Stored::Number, .key = "vertical-alignment",
     .property = 14, .type = kTypeChoice, .clamp = ClampRange{0, 2}, .effect = E::Repaint},
    {.member = &D::wordWrap, .stored = Stored::Number, .key = "word-wrap",
     .property = 13, .type = kTypeLogical, .effect = E::Repaint},
    {.member = &D::font, .stored = Stored::Block, .key = "font", .describedAs = Described::Font,
     .property = 10, .type = kTypeFont, .effect = E::Font},
    {.member = &D::caption, .stored = Stored::Block, .key = "caption",
     .property = 8, .type = kTypeText, .effect = E::Caption},
};

constexpr KindDescription<D> kDescription{
    .name = "TransLabel",
    .kind = kinds::TransLabel,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .propertyCount = 15,
    .visitNestedTexts = [](D& d, const TextVisitor& visit) { VisitFontFace(d.font, visit); },
};

} // namespace

const KindDescription<TransLabelData>& TransLabelDescription()
{
    return kDescription;
}

std::optional<TransLabelData> TransLabelData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> TransLabelData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
