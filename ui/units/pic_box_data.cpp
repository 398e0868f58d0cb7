#include "ui/units/pic_box_data.h"

#include "ui/framework/kind_codec.h"

namespace ui {
namespace {

using D = PicBoxData;
using E = D::Effect;

constexpr Setting<D> kSettings[] = {
    {.member = &D::borderStyle, .stored = Stored::Number, .key = "border-style",
     .property = 8, .type = kTypeChoice, .clamp = ClampRange{0, 5}, .effect = E::Border},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color",
     .property = 9, .type = kTypeBackColor, .effect = E::Repaint},
    {.member = &D::displayMode, .stored = Stored::Number, .key = "display-mode",
     .property = 11, .type = kTypeChoice, .clamp = ClampRange{0, 2}, .effect = E::Repaint},
    {.member = &D::animation, .stored = Stored::Number, .key = "animation",
     .property = 12, .type = kTypeInteger, .effect = E::Animation},
    {.member = &D::picture, .stored = Stored::Counted, .key = "picture",
     .property = 10, .type = kTypePicture, .effect = E::Picture},
};

constexpr KindDescription<D> kDescription{
    .name = "PicBox",
    .kind = kinds::PicBox,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .propertyCount = 15,
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
