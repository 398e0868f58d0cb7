#include "ui/units/pic_box_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<PicBoxData> PicBoxData::Read(std::span<const std::uint8_t> block)
{
    PicBoxData d;
    if (block.empty())
        return d;
    ByteReader r(block);
    if (!r.version(kMaxVersion, d.version))
        return std::nullopt;
    d.borderStyle = r.i32();
    d.backgroundColor = r.u32();
    d.displayMode = r.i32();
    d.animation = r.i32();
    d.picture = r.counted();
    if (!r.atEnd())
        return std::nullopt;
    return d;
}

std::vector<std::uint8_t> PicBoxData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(borderStyle);
    w.u32(backgroundColor);
    w.i32(displayMode);
    w.i32(animation);
    w.counted(picture);
    return w.take();
}

} // namespace ui
