#include "ui/units/button_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<ButtonData> ButtonData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<ButtonData>(block, kMaxVersion, [](ByteReader& r, ButtonData& d) {
        d.type = r.i32();
        d.horizontalAlignment = r.i32();
        d.verticalAlignment = r.i32();
        d.picture = r.counted();
        d.font = r.counted();
        d.caption = r.countedText();
        return true;
    });
}

std::vector<std::uint8_t> ButtonData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(type);
    w.i32(horizontalAlignment);
    w.i32(verticalAlignment);
    w.counted(picture);
    w.counted(font);
    w.countedText(caption);
    return w.take();
}

} // namespace ui
