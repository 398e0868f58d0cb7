#include "ui/units/edit_box_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"

namespace ui {
namespace {

using D = EditBoxData;

constexpr Setting<D> kSettings[] = {
    {.member = &D::borderStyle, .stored = Stored::Number, .key = "border-style"},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color"},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color"},
    {.member = &D::hideSelection, .stored = Stored::Number, .key = "hide-selection"},
    {.member = &D::maxLength, .stored = Stored::Number, .key = "max-length"},
    {.member = &D::multiLine, .stored = Stored::Number, .key = "multi-line"},
    {.member = &D::scrollBars, .stored = Stored::Number, .key = "scroll-bars"},
    {.member = &D::alignment, .stored = Stored::Number, .key = "alignment"},
    {.member = &D::inputMode, .stored = Stored::Number, .key = "input-mode"},
    {.member = &D::passwordChar, .stored = Stored::Number16, .key = "password-char"},
    {.member = &D::caseConversion, .stored = Stored::Number, .key = "case"},
    {.member = &D::spinKind, .stored = Stored::Number, .key = "spin-kind"},
    {.member = &D::spinMin, .stored = Stored::Number, .key = "spin-min"},
    {.member = &D::spinMax, .stored = Stored::Number, .key = "spin-max"},
    {.member = &D::selectionStart, .stored = Stored::Number, .key = "selection-start"},
    {.member = &D::selectionLength, .stored = Stored::Number, .key = "selection-length"},
    {.member = &D::text, .stored = Stored::Counted, .key = "text",
     .property = 8, .type = kTypeText, .live = D::Live::Text, .effect = D::Effect::Text},
    {.member = &D::font, .stored = Stored::Counted, .key = "font", .describedAs = Described::Font},
    {.member = &D::furtherSettings, .stored = Stored::Counted},
};

constexpr std::int32_t kEvents[] = {0}; // the content changed

constexpr KindDescription<D> kDescription{
    .name = "EditBox",
    .kind = kinds::EditBox,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .events = kEvents,
    .propertyCount = 29,
    .visitNestedTexts = [](D& d, const TextVisitor& visit) { VisitFontFace(d.font, visit); },
};

} // namespace

const KindDescription<EditBoxData>& EditBoxDescription()
{
    return kDescription;
}

std::optional<EditBoxData> EditBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> EditBoxData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
