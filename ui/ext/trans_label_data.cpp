#include "ui/ext/trans_label_data.h"

#include "ui/ext/tree_box_data.h"
#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<TransLabelData> TransLabelData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<TransLabelData>(block, kMaxVersion, [](ByteReader& r, TransLabelData& d) {
        d.relief = r.i32();
        d.textColor = r.u32();
        d.horizontalAlignment = r.i32();
        d.verticalAlignment = r.i32();
        d.wordWrap = r.u32() != 0;
        d.font = ReadByteBlock(r);
        d.caption = ReadByteBlockText(r);
        return true;
    });
}

std::vector<std::uint8_t> TransLabelData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(relief);
    w.u32(textColor);
    w.i32(horizontalAlignment);
    w.i32(verticalAlignment);
    w.u32(wordWrap);
    w.counted(font);
    w.countedText(caption);
    return w.take();
}

} // namespace ui
