#include "ui/ext/trans_label_data.h"

#include "ui/framework/kind_codec.h"

namespace ui {
namespace {

using D = TransLabelData;

constexpr Setting<D> kSettings[] = {
    {.member = &D::relief, .stored = Stored::Number, .key = "relief"},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color"},
    {.member = &D::horizontalAlignment, .stored = Stored::Number, .key = "horizontal-alignment"},
    {.member = &D::verticalAlignment, .stored = Stored::Number, .key = "vertical-alignment"},
    {.member = &D::wordWrap, .stored = Stored::Number, .key = "word-wrap"},
    {.member = &D::font, .stored = Stored::Block, .key = "font", .describedAs = Described::Font},
    {.member = &D::caption, .stored = Stored::Block, .key = "caption"},
};

constexpr KindDescription<D> kDescription{
    .name = "TransLabel",
    .kind = kinds::TransLabel,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
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
