#include "ui/units/combo_box_data.h"

#include "ui/framework/byte_reader.h"

namespace ui {
namespace {

bool readItemTexts(std::span<const std::uint8_t> block, std::vector<std::string>& out)
{
    ByteReader r(block);
    while (r.ok() && !r.atEnd())
        out.push_back(r.text());
    return r.ok();
}

bool readItemData(std::span<const std::uint8_t> block, std::vector<std::int32_t>& out)
{
    if (block.size() % 4 != 0)
        return false;
    ByteReader r(block);
    out.reserve(block.size() / 4);
    while (!r.atEnd())
        out.push_back(r.i32());
    return true;
}

} // namespace

std::optional<ComboBoxData> ComboBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<ComboBoxData>(block, kMaxVersion, [](ByteReader& r, ComboBoxData& d) {
        d.style = r.i32();
        d.maxEditLength = r.i32();
        d.editSelectionStart = r.i32();
        d.editSelectionLength = r.i32();
        d.sorted = r.u32() != 0;
        d.extraItemHeight = r.i32();
        d.textColor = r.u32();
        d.backgroundColor = r.u32();
        d.initialSelection = r.i32();
        d.font = r.counted();
        auto texts = r.view(r.u32());
        auto data = r.view(r.u32());
        d.text = r.countedText();
        if (d.version >= 2)
            d.furtherSettings = r.counted();
        return readItemTexts(texts, d.itemTexts) && readItemData(data, d.itemData);
    });
}

std::vector<std::uint8_t> ComboBoxData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(style);
    w.i32(maxEditLength);
    w.i32(editSelectionStart);
    w.i32(editSelectionLength);
    w.u32(sorted);
    w.i32(extraItemHeight);
    w.u32(textColor);
    w.u32(backgroundColor);
    w.i32(initialSelection);
    w.counted(font);

    ByteWriter texts;
    for (const std::string& t : itemTexts)
        texts.text(t);
    w.counted(texts.data());

    ByteWriter data;
    for (std::int32_t v : itemData)
        data.i32(v);
    w.counted(data.data());

    w.countedText(text);
    if (version >= 2)
        w.counted(furtherSettings);
    return w.take();
}

} // namespace ui
