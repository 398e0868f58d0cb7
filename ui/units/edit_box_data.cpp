#include "ui/units/edit_box_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<EditBoxData> EditBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<EditBoxData>(block, kMaxVersion, [](ByteReader& r, EditBoxData& d) {
        d.borderStyle = r.i32();
        d.textColor = r.u32();
        d.backgroundColor = r.u32();
        d.hideSelection = r.u32() != 0;
        d.maxLength = r.i32();
        d.multiLine = r.u32() != 0;
        d.scrollBars = r.i32();
        d.alignment = r.i32();
        d.inputMode = r.i32();
        d.passwordChar = r.u16();
        d.caseConversion = r.i32();
        d.spinKind = r.i32();
        d.spinMin = r.i32();
        d.spinMax = r.i32();
        d.selectionStart = r.i32();
        d.selectionLength = r.i32();
        d.text = r.countedText();
        d.font = r.counted();
        d.furtherSettings = r.counted();
        return true;
    });
}

std::vector<std::uint8_t> EditBoxData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(borderStyle);
    w.u32(textColor);
    w.u32(backgroundColor);
    w.u32(hideSelection);
    w.i32(maxLength);
    w.u32(multiLine);
    w.i32(scrollBars);
    w.i32(alignment);
    w.i32(inputMode);
    w.u16(passwordChar);
    w.i32(caseConversion);
    w.i32(spinKind);
    w.i32(spinMin);
    w.i32(spinMax);
    w.i32(selectionStart);
    w.i32(selectionLength);
    w.countedText(text);
    w.counted(font);
    w.counted(furtherSettings);
    return w.take();
}

} // namespace ui
