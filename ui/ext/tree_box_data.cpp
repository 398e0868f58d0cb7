#include "ui/ext/tree_box_data.h"

namespace ui {
namespace {

constexpr std::uint32_t kItemBold = 0x1;
constexpr std::uint32_t kItemExpanded = 0x2;
constexpr int kStateSlotShift = 28;

} // namespace

std::optional<TreeBoxData> TreeBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<TreeBoxData>(block, kMaxVersion, [](ByteReader& r, TreeBoxData& d) {
        d.borderStyle = r.i32();
        d.textColor = r.u32();
        d.backgroundColor = r.u32();
        d.expandButtons = r.u32() != 0;
        d.lines = r.u32() != 0;
        d.linesAtRoot = r.u32() != 0;
        d.labelEditing = r.u32() != 0;
        d.alwaysShowSelection = r.u32() != 0;
        d.currentItem = r.i32();
        d.itemHeight = r.i32();
        d.font = ReadByteBlock(r);
        d.imageList = ReadByteBlock(r);
        d.initialItems = ReadByteBlock(r);
        d.extension = r.u32() != 0 && d.version == 0;
        if (d.extension) {
            d.checkBoxes = r.u32() != 0;
            d.stateImageCount = r.i32();
            d.stateImageList = ReadByteBlock(r);
        }
        return true;
    });
}

std::vector<std::uint8_t> TreeBoxData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(borderStyle);
    w.u32(textColor);
    w.u32(backgroundColor);
    w.u32(expandButtons);
    w.u32(lines);
    w.u32(linesAtRoot);
    w.u32(labelEditing);
    w.u32(alwaysShowSelection);
    w.i32(currentItem);
    w.i32(itemHeight);
    w.counted(font);
    w.counted(imageList);
    w.counted(initialItems);
    bool extended = extension && version == 0;
    w.u32(extended);
    if (extended) {
        w.u32(checkBoxes);
        w.i32(stateImageCount);
        w.counted(stateImageList);
    }
    return w.take();
}

std::optional<std::vector<TreeItemRecord>> ReadInitialItems(std::span<const std::uint8_t> block)
{
    std::vector<TreeItemRecord> items;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        TreeItemRecord item;
        item.text = r.text();
        item.image = r.i32();
        item.selectedImage = r.i32();
        item.data = r.i32();
        std::uint32_t flags = r.u32();
        item.bold = flags & kItemBold;
        item.expanded = flags & kItemExpanded;
        item.stateSlot = flags >> kStateSlotShift;
        item.depth = r.i32();
        items.push_back(std::move(item));
    }
    if (!r.ok())
        return std::nullopt;
    return items;
}

std::vector<std::uint8_t> WriteInitialItems(std::span<const TreeItemRecord> items)
{
    ByteWriter w;
    for (const TreeItemRecord& item : items) {
        w.text(item.text);
        w.i32(item.image);
        w.i32(item.selectedImage);
        w.i32(item.data);
        w.u32((item.bold ? kItemBold : 0u) | (item.expanded ? kItemExpanded : 0u) |
              (item.stateSlot & 0xF) << kStateSlotShift);
        w.i32(item.depth);
    }
    return w.take();
}

} // namespace ui
