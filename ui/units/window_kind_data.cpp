#include "ui/units/window_kind_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<WindowKindData> WindowKindData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<WindowKindData>(block, kMaxVersion, [](ByteReader& r, WindowKindData& d) {
        d.borderStyle = r.i32();
        d.backgroundPlacement = r.i32();
        d.backgroundColor = r.u32();
        d.maximizeButton = r.u32() != 0;
        d.minimizeButton = r.u32() != 0;
        d.controlBox = r.u32() != 0;
        d.startPosition = r.i32();
        d.movable = r.u32() != 0;
        d.soundPlayMode = r.i32();
        d.logicalSetting21 = r.u32() != 0;
        d.logicalSetting22 = r.u32() != 0;
        d.logicalSetting23 = r.u32() != 0;
        d.integerSetting25 = r.i32();
        if (d.version >= 2)
            d.keepOwnerless = r.u32() != 0;
        if (d.version >= 3) {
            d.logicalSetting27 = r.u32() != 0;
            d.windowShape = r.i32();
        }
        if (d.version >= 4)
            d.alwaysOnTop = r.u32() != 0;
        if (d.version >= 5)
            d.logicalSetting30 = r.u32() != 0;
        if (d.version >= 6)
            d.className = r.countedText();
        d.backgroundPicture = r.counted();
        d.icon = r.counted();
        d.backgroundSound = r.counted();
        d.caption = r.countedText();
        d.textSetting24 = r.countedText();
        return true;
    });
}

std::vector<std::uint8_t> WindowKindData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(borderStyle);
    w.i32(backgroundPlacement);
    w.u32(backgroundColor);
    w.u32(maximizeButton);
    w.u32(minimizeButton);
    w.u32(controlBox);
    w.i32(startPosition);
    w.u32(movable);
    w.i32(soundPlayMode);
    w.u32(logicalSetting21);
    w.u32(logicalSetting22);
    w.u32(logicalSetting23);
    w.i32(integerSetting25);
    if (version >= 2)
        w.u32(keepOwnerless);
    if (version >= 3) {
        w.u32(logicalSetting27);
        w.i32(windowShape);
    }
    if (version >= 4)
        w.u32(alwaysOnTop);
    if (version >= 5)
        w.u32(logicalSetting30);
    if (version >= 6)
        w.countedText(className);
    w.counted(backgroundPicture);
    w.counted(icon);
    w.counted(backgroundSound);
    w.countedText(caption);
    w.countedText(textSetting24);
    return w.take();
}

} // namespace ui
