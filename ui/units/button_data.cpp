#include "ui/units/button_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<ButtonData> ButtonData::Read(std::span<const std::uint8_t> block)
{
    ButtonData d;
    if (block.empty())
        return d;
    ByteReader r(block);
    if (!r.version(kMaxVersion, d.version))
        return std::nullopt;
    d.type = r.i32();
    d.horizontalAlignment = r.i32();
    d.verticalAlignment = r.i32();
    d.picture = r.counted();
    d.font = r.counted();
    d.caption = r.countedText();
    if (!r.atEnd())
        return std::nullopt;
    return d;
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
