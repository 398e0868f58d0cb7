#include "ui/units/pic_box_data.h"

#include "ui/framework/kind_codec.h"

namespace ui {
namespace {

using D = PicBoxData;

constexpr Setting<D> kSettings[] = {
    {.member = &D::borderStyle, .stored = Stored::Number, .key = "border-style"},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color"},
    {.member = &D::displayMode, .stored = Stored::Number, .key = "display-mode"},
    {.member = &D::animation, .stored = Stored::Number, .key = "animation"},
    {.member = &D::picture, .stored = Stored::Counted, .key = "picture"},
};

constexpr KindDescription<D> kDescription{
    .name = "PicBox",
    .kind = kinds::PicBox,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
};

} // namespace

const KindDescription<PicBoxData>& PicBoxDescription()
{
    return kDescription;
}

std::optional<PicBoxData> PicBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> PicBoxData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
