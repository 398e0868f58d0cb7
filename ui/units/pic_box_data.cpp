#include "ui/units/pic_box_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<PicBoxData> PicBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<PicBoxData>(block, kMaxVersion, [](ByteReader& r, PicBoxData& d) {
        d.borderStyle = r.i32();
        d.backgroundColor = r.u32();
        d.displayMode = r.i32();
        d.animation = r.i32();
        d.picture = r.counted();
        return true;
    });
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
