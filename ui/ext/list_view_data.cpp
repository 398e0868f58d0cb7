#include "ui/ext/list_view_data.h"

#include "ui/ext/tree_box_data.h"
#include "ui/framework/byte_reader.h"

namespace ui {

std::optional<ListViewData> ListViewData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<ListViewData>(block, kMaxVersion, [](ByteReader& r, ListViewData& d) {
        d.borderStyle = r.i32();
        d.textColor = r.u32();
        d.textBackgroundColor = r.u32();
        d.backgroundColor = r.u32();
        d.view = r.i32();
        d.iconAlignment = r.i32();
        for (bool* flag : {&d.autoArrange, &d.wrapLabels, &d.hideColumnHeader, &d.headerButtons, &d.fullRowSelect,
                           &d.gridLines, &d.headerDragDrop, &d.hotTracking, &d.handCursor, &d.underlineHot,
                           &d.underlineCold, &d.labelEditing})
            *flag = r.u32() != 0;
        d.sorting = r.i32();
        d.checkBoxes = r.u32() != 0;
        d.flatScrollBars = r.u32() != 0;
        d.singleSelection = r.u32() != 0;
        d.currentRow = r.i32();
        d.alwaysShowSelection = r.u32() != 0;
        for (std::vector<std::uint8_t>* b : {&d.font, &d.headerImageList, &d.imageList, &d.columns, &d.stateImageList,
                                             &d.initialRows})
            *b = ReadByteBlock(r);
        return true;
    });
}

std::vector<std::uint8_t> ListViewData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(borderStyle);
    w.u32(textColor);
    w.u32(textBackgroundColor);
    w.u32(backgroundColor);
    w.i32(view);
    w.i32(iconAlignment);
    for (bool flag : {autoArrange, wrapLabels, hideColumnHeader, headerButtons, fullRowSelect, gridLines,
                      headerDragDrop, hotTracking, handCursor, underlineHot, underlineCold, labelEditing})
        w.u32(flag);
    w.i32(sorting);
    w.u32(checkBoxes);
    w.u32(flatScrollBars);
    w.u32(singleSelection);
    w.i32(currentRow);
    w.u32(alwaysShowSelection);
    for (const std::vector<std::uint8_t>* b : {&font, &headerImageList, &imageList, &columns, &stateImageList,
                                               &initialRows})
        w.counted(*b);
    return w.take();
}

std::optional<std::vector<ListColumn>> ReadColumns(std::span<const std::uint8_t> block)
{
    std::vector<ListColumn> columns;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        ListColumn c;
        c.imageOnRight = r.u8() != 0;
        c.headerImage = r.i32();
        c.alignment = r.i32();
        c.width = r.i32();
        c.caption = r.text();
        columns.push_back(std::move(c));
    }
    if (!r.ok())
        return std::nullopt;
    return columns;
}

std::vector<std::uint8_t> WriteColumns(std::span<const ListColumn> columns)
{
    ByteWriter w;
    for (const ListColumn& c : columns) {
        w.u8(c.imageOnRight ? 1 : 0);
        w.i32(c.headerImage);
        w.i32(c.alignment);
        w.i32(c.width);
        w.text(c.caption);
    }
    return w.take();
}

std::optional<std::vector<ListCellRecord>> ReadInitialRows(std::span<const std::uint8_t> block)
{
    std::vector<ListCellRecord> cells;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        ListCellRecord c;
        c.startsRow = r.u8() == 0;
        c.image = r.i32();
        c.stateImage = r.i32();
        c.indent = r.i32();
        c.itemData = r.i32();
        c.text = r.text();
        c.tip = r.text();
        cells.push_back(std::move(c));
    }
    if (!r.ok())
        return std::nullopt;
    return cells;
}

std::vector<std::uint8_t> WriteInitialRows(std::span<const ListCellRecord> cells)
{
    ByteWriter w;
    for (const ListCellRecord& c : cells) {
        w.u8(c.startsRow ? 0 : 1);
        w.i32(c.image);
        w.i32(c.stateImage);
        w.i32(c.indent);
        w.i32(c.itemData);
        w.text(c.text);
        w.text(c.tip);
    }
    return w.take();
}

} // namespace ui
