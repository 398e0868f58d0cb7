#include "ui/units/combo_box_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"

namespace ui {
namespace {

using D = ComboBoxData;

constexpr Setting<D> kSettings[] = {
    {.member = &D::style, .stored = Stored::Number, .key = "style"},
    {.member = &D::maxEditLength, .stored = Stored::Number, .key = "max-length"},
    {.member = &D::editSelectionStart, .stored = Stored::Number, .key = "selection-start"},
    {.member = &D::editSelectionLength, .stored = Stored::Number, .key = "selection-length"},
    {.member = &D::sorted, .stored = Stored::Number, .key = "sorted"},
    {.member = &D::extraItemHeight, .stored = Stored::Number, .key = "extra-item-height"},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color"},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color"},
    {.member = &D::initialSelection, .stored = Stored::Number, .key = "initial-selection",
     .property = 19, .type = kTypeInteger, .live = D::Live::CurrentItem, .effect = D::Effect::Select},
    {.member = &D::font, .stored = Stored::Counted, .key = "font", .describedAs = Described::Font},
    {.member = &D::itemTexts, .stored = Stored::Texts, .key = "items"},
    {.member = &D::itemData, .stored = Stored::Numbers, .key = "item-data"},
    {.member = &D::text, .stored = Stored::Counted, .key = "text"},
    {.member = &D::furtherSettings, .stored = Stored::Counted, .since = 2},
};

// Item selected, edit text changed, list dropped down, list closed,
// double click.
constexpr std::int32_t kEvents[] = {0, 1, 2, 3, 4};

constexpr KindDescription<D> kDescription{
    .name = "ComboBox",
    .kind = kinds::ComboBox,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .events = kEvents,
    .propertyCount = 25,
    .visitNestedTexts = [](D& d, const TextVisitor& visit) { VisitFontFace(d.font, visit); },
};

} // namespace

const KindDescription<ComboBoxData>& ComboBoxDescription()
{
    return kDescription;
}

std::optional<ComboBoxData> ComboBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> ComboBoxData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
