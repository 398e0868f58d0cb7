#include "ui/units/button_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"

namespace ui {
namespace {

using D = ButtonData;

constexpr Setting<D> kSettings[] = {
    {.member = &D::type, .stored = Stored::Number, .key = "type"},
    {.member = &D::horizontalAlignment, .stored = Stored::Number, .key = "horizontal-alignment"},
    {.member = &D::verticalAlignment, .stored = Stored::Number, .key = "vertical-alignment"},
    {.member = &D::picture, .stored = Stored::Counted, .key = "picture"},
    {.member = &D::font, .stored = Stored::Counted, .key = "font", .describedAs = Described::Font},
    {.member = &D::caption, .stored = Stored::Counted, .key = "caption"},
};

constexpr std::int32_t kEvents[] = {0}; // clicked

constexpr KindDescription<D> kDescription{
    .name = "Button",
    .kind = kinds::Button,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .events = kEvents,
    .propertyCount = 14,
    .visitNestedTexts = [](D& d, const TextVisitor& visit) { VisitFontFace(d.font, visit); },
};

} // namespace

const KindDescription<ButtonData>& ButtonDescription()
{
    return kDescription;
}

std::optional<ButtonData> ButtonData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> ButtonData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
