// The stored data of the extended units and the record blocks inside it,
// read from blocks built field by field in their stored order.
#include "kind_data_checks.h"

#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/logfont_record.h"

#include <gtest/gtest.h>


namespace {

using kindtest::Bytes;
using kindtest::ExpectMalformedRejected;
using kindtest::Filler;
using kindtest::Font;
using kindtest::ReadBack;
using ui::ByteWriter;

Bytes TreeBlock(std::uint32_t version, bool extension)
{
    ByteWriter w;
    w.u32(version);
    for (std::uint32_t v : {5u, 0x112233u, 0xFF000000u, 0u, 0u, 1u, 1u, 1u, 4u, 20u})
        w.u32(v);
    w.counted(Filler(60));
    w.counted(Filler(12, {'M', 'I', 'T', 'L'}));
    w.counted(Bytes{'A', 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0});
    w.u32(extension);
    if (extension && version == 0) {
        w.u32(1);
        w.i32(3);
        w.counted(Filler(9, {'M', 'I', 'T', 'L'}));
    }
    return w.take();
}

TEST(TreeBoxData, FieldsInStoredOrder)
{
    auto d = ReadBack<ui::TreeBoxData>(TreeBlock(0, true));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->borderStyle, 5);
    EXPECT_EQ(d->textColor, 0x112233u);
    EXPECT_EQ(d->backgroundColor, 0xFF000000u);
    EXPECT_FALSE(d->expandButtons);
    EXPECT_FALSE(d->lines);
    EXPECT_TRUE(d->linesAtRoot);
    EXPECT_TRUE(d->labelEditing);
    EXPECT_TRUE(d->alwaysShowSelection);
    EXPECT_EQ(d->currentItem, 4);
    EXPECT_EQ(d->itemHeight, 20);
    EXPECT_EQ(d->font.size(), 60u);
    EXPECT_EQ(d->imageList.size(), 12u);
    EXPECT_EQ(d->initialItems.size(), 22u);
    EXPECT_TRUE(d->extension);
    EXPECT_TRUE(d->checkBoxes);
    EXPECT_EQ(d->stateImageCount, 3);
    EXPECT_EQ(d->stateImageList.size(), 9u);
    ExpectMalformedRejected<ui::TreeBoxData>(d->Write());
}

TEST(TreeBoxData, BlockEndsWithoutExtensionOrAtVersionOne)
{
    for (auto [version, extension] : {std::pair{0u, false}, std::pair{1u, true}, std::pair{1u, false}}) {
        SCOPED_TRACE(version);
        Bytes block = TreeBlock(version, extension);
        auto d = ui::TreeBoxData::Read(block);
        ASSERT_TRUE(d);
        EXPECT_FALSE(d->extension);
        EXPECT_FALSE(d->checkBoxes);
        EXPECT_EQ(d->stateImageCount, 2);
        EXPECT_EQ(d->itemHeight, 20);
        ExpectMalformedRejected<ui::TreeBoxData>(block);
    }
}

TEST(TreeBoxData, DefaultsAndEmptyByteBlocks)
{
    auto d = ui::TreeBoxData::Read({});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Write(), ui::TreeBoxData{}.Write());
    EXPECT_EQ(d->version, 0u);
    EXPECT_EQ(d->itemHeight, -1);
    EXPECT_TRUE(d->extension);

    // A negative block length is an empty block, not a read past the end.
    Bytes block = ui::TreeBoxData{}.Write();
    ByteWriter minusOne;
    minusOne.i32(-1);
    std::copy(minusOne.data().begin(), minusOne.data().end(), block.begin() + 44); // the font block
    auto negative = ui::TreeBoxData::Read(block);
    ASSERT_TRUE(negative);
    EXPECT_TRUE(negative->font.empty());
    EXPECT_TRUE(negative->extension);
}

TEST(TreeBoxInitialItems, RecordsInStoredOrder)
{
    ByteWriter w;
    w.text("根节点");
    for (std::int32_t v : {3, 4, 1001})
        w.i32(v);
    w.u32(0xA0000003); // bold, expanded, state slot 10
    w.i32(1);
    w.text("");
    for (std::int32_t v : {0, 0, -7})
        w.i32(v);
    w.u32(0);
    w.i32(3); // deeper than one level below its predecessor: kept as stored
    Bytes block = w.take();

    auto items = ui::ReadInitialItems(block);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2u);
    const ui::TreeItemRecord& a = (*items)[0];
    EXPECT_EQ(a.text, "根节点");
    EXPECT_EQ(a.image, 3);
    EXPECT_EQ(a.selectedImage, 4);
    EXPECT_EQ(a.data, 1001);
    EXPECT_TRUE(a.bold);
    EXPECT_TRUE(a.expanded);
    EXPECT_EQ(a.stateSlot, 10u);
    EXPECT_EQ(a.depth, 1);
    EXPECT_EQ((*items)[1].text, "");
    EXPECT_EQ((*items)[1].data, -7);
    EXPECT_FALSE((*items)[1].bold);
    EXPECT_EQ((*items)[1].depth, 3);
    EXPECT_EQ(ui::WriteInitialItems(*items), block);

    // Cut inside a record: rejected; cut between records: fewer items.
    const std::size_t firstRecord = std::strlen("根节点") + 1 + 20;
    for (std::size_t n = 1; n < block.size(); ++n) {
        auto cut = ui::ReadInitialItems(std::span(block).first(n));
        if (n == firstRecord) {
            ASSERT_TRUE(cut);
            EXPECT_EQ(cut->size(), 1u);
        } else {
            EXPECT_FALSE(cut) << n;
        }
    }
    auto none = ui::ReadInitialItems({});
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

Bytes ListBlock(std::uint32_t version)
{
    ByteWriter w;
    w.u32(version);
    for (std::uint32_t v : {5u, 0x800080u, 0xECECECu, 0xFF000000u, 3u, 1u})
        w.u32(v);
    // Twelve logicals from auto-arrange to label editing, alternating.
    for (int i = 0; i < 12; ++i)
        w.u32(i % 2);
    for (std::int32_t v : {2, 1, 1, 0, 7, 1})
        w.i32(v);
    for (std::size_t n : {60, 10, 11, 12, 13, 14})
        w.counted(Filler(n));
    return w.take();
}

TEST(ListViewData, FieldsInStoredOrder)
{
    auto d = ReadBack<ui::ListViewData>(ListBlock(1));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->borderStyle, 5);
    EXPECT_EQ(d->textColor, 0x800080u);
    EXPECT_EQ(d->textBackgroundColor, 0xECECECu);
    EXPECT_EQ(d->backgroundColor, 0xFF000000u);
    EXPECT_EQ(d->view, 3);
    EXPECT_EQ(d->iconAlignment, 1);
    const bool flags[] = {d->autoArrange, d->wrapLabels, d->hideColumnHeader, d->headerButtons,
                          d->fullRowSelect, d->gridLines, d->headerDragDrop, d->hotTracking,
                          d->handCursor, d->underlineHot, d->underlineCold, d->labelEditing};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(flags[i], i % 2 == 1) << i;
    EXPECT_EQ(d->sorting, 2);
    EXPECT_TRUE(d->checkBoxes);
    EXPECT_TRUE(d->flatScrollBars);
    EXPECT_FALSE(d->singleSelection);
    EXPECT_EQ(d->currentRow, 7);
    EXPECT_TRUE(d->alwaysShowSelection);
    EXPECT_EQ(d->font.size(), 60u);
    EXPECT_EQ(d->headerImageList.size(), 10u);
    EXPECT_EQ(d->imageList.size(), 11u);
    EXPECT_EQ(d->columns.size(), 12u);
    EXPECT_EQ(d->stateImageList.size(), 13u);
    EXPECT_EQ(d->initialRows.size(), 14u);

    ASSERT_TRUE(ReadBack<ui::ListViewData>(ListBlock(0)));
    ExpectMalformedRejected<ui::ListViewData>(ListBlock(1));
    auto empty = ui::ListViewData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Write(), ui::ListViewData{}.Write());
    EXPECT_EQ(empty->currentRow, -1);
}

TEST(ListViewColumns, RecordsInStoredOrder)
{
    ByteWriter w;
    w.u8(1);
    for (std::int32_t v : {2, 1, 100})
        w.i32(v);
    w.text("标题");
    w.u8(0);
    for (std::int32_t v : {-1, 2, 0})
        w.i32(v);
    w.text("");
    Bytes block = w.take();

    auto columns = ui::ReadColumns(block);
    ASSERT_TRUE(columns);
    ASSERT_EQ(columns->size(), 2u);
    EXPECT_TRUE((*columns)[0].imageOnRight);
    EXPECT_EQ((*columns)[0].headerImage, 2);
    EXPECT_EQ((*columns)[0].alignment, 1);
    EXPECT_EQ((*columns)[0].width, 100);
    EXPECT_EQ((*columns)[0].caption, "标题");
    EXPECT_FALSE((*columns)[1].imageOnRight);
    EXPECT_EQ((*columns)[1].headerImage, -1);
    EXPECT_EQ((*columns)[1].width, 0);
    EXPECT_EQ(ui::WriteColumns(*columns), block);

    EXPECT_FALSE(ui::ReadColumns(std::span(block).first(block.size() - 1))); // caption unterminated
    EXPECT_FALSE(ui::ReadColumns(std::span(block).first(5)));
}

TEST(ListViewInitialRows, FirstRecordMayContinueARow)
{
    ByteWriter w;
    w.u8(2); // the next column, before any row
    for (std::int32_t v : {1, 2, 3, 4})
        w.i32(v);
    w.text("孤");
    w.text("");
    w.u8(0);
    for (std::int32_t v : {5, -1, 2, 99})
        w.i32(v);
    w.text("7");
    w.text("提示");
    Bytes block = w.take();

    auto cells = ui::ReadInitialRows(block);
    ASSERT_TRUE(cells);
    ASSERT_EQ(cells->size(), 2u);
    EXPECT_FALSE((*cells)[0].startsRow);
    EXPECT_EQ((*cells)[0].text, "孤");
    const ui::ListCellRecord& row = (*cells)[1];
    EXPECT_TRUE(row.startsRow);
    EXPECT_EQ(row.image, 5);
    EXPECT_EQ(row.stateImage, -1);
    EXPECT_EQ(row.indent, 2);
    EXPECT_EQ(row.itemData, 99);
    EXPECT_EQ(row.text, "7");
    EXPECT_EQ(row.tip, "提示");

    // Written back, a continuing kind byte comes out as 1.
    Bytes again = ui::WriteInitialRows(*cells);
    EXPECT_EQ(again[0], 1);
    again[0] = 2;
    EXPECT_EQ(again, block);

    EXPECT_FALSE(ui::ReadInitialRows(std::span(block).first(block.size() - 1))); // tip unterminated
    EXPECT_FALSE(ui::ReadInitialRows(std::span(block).first(3)));
}

TEST(TransLabelData, FieldsInStoredOrder)
{
    ByteWriter w;
    for (std::uint32_t v : {1u, 3u, 0x0000FFu, 2u, 0u, 1u})
        w.u32(v);
    w.counted(Filler(60));
    w.countedText("节点文本：");

    auto d = ReadBack<ui::TransLabelData>(w.take());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->relief, 3);
    EXPECT_EQ(d->textColor, 0x0000FFu);
    EXPECT_EQ(d->horizontalAlignment, 2);
    EXPECT_EQ(d->verticalAlignment, 0);
    EXPECT_TRUE(d->wordWrap);
    EXPECT_EQ(d->font.size(), 60u);
    EXPECT_EQ(d->caption, "节点文本：");

    ExpectMalformedRejected<ui::TransLabelData>(d->Write());
    auto empty = ui::TransLabelData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->caption, "透明标签");
    EXPECT_EQ(empty->verticalAlignment, 1);
}

// A PageControl block of the given version; the fields of later versions
// are left out.
Bytes PageBlock(std::uint32_t version, bool fontAbsent = false)
{
    ByteWriter w;
    w.u32(version);
    for (std::uint32_t v : {2u, 0u, 1u, 1u})
        w.u32(v);
    auto font = ui::WriteLogFont(Font("Tahoma", -11));
    w.bytes(font);
    w.counted(Filler(8));
    for (std::uint32_t v : {24u, 3u, 1u, 1u})
        w.u32(v);
    for (std::size_t n : {9, 10, 11, 12})
        w.counted(Filler(n));
    w.u32(1);
    for (std::uint32_t v : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u})
        w.u32(v);
    w.u32(0);
    w.u32(1);
    w.u32(1);
    w.zeros(12);
    if (version >= 2) {
        w.u32(1);
        for (std::uint32_t v : {10u, 11u, 12u})
            w.u32(v);
    }
    if (version >= 3)
        w.u32(1);
    if (version >= 5)
        w.u32(1);
    if (version >= 6)
        w.u32(fontAbsent);
    if (version >= 7)
        w.u32(1);
    return w.take();
}

TEST(PageControlData, FieldsInStoredOrder)
{
    auto d = ReadBack<ui::PageControlData>(PageBlock(7));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->headerPosition, 2);
    EXPECT_FALSE(d->multiRow);
    EXPECT_EQ(d->currentPage, 1);
    EXPECT_TRUE(d->hideHeaders);
    ASSERT_TRUE(d->font);
    EXPECT_STREQ(d->font->faceName.data(), "Tahoma");
    EXPECT_EQ(d->font->height, -11);
    EXPECT_EQ(d->pages.size(), 8u);
    EXPECT_EQ(d->headerHeight, 24);
    EXPECT_EQ(d->headerStyle, 3);
    EXPECT_TRUE(d->overlappingHeaders);
    EXPECT_EQ(d->headerTextAlignment, 1);
    EXPECT_EQ(d->headerImageList.size(), 9u);
    EXPECT_EQ(d->headerBackgroundImageList.size(), 10u);
    EXPECT_EQ(d->scrollButtonImageList.size(), 11u);
    EXPECT_EQ(d->picture.size(), 12u);
    EXPECT_TRUE(d->shadedHeaders);
    EXPECT_EQ(d->headerBackgroundColors, (std::array<std::uint32_t, 3>{1, 2, 3}));
    EXPECT_EQ(d->headerTextColors, (std::array<std::uint32_t, 3>{4, 5, 6}));
    EXPECT_EQ(d->color, 7u);
    EXPECT_EQ(d->borderColor, 8u);
    EXPECT_EQ(d->pageAreaColor, 9u);
    EXPECT_TRUE(d->hiddenPagesSelectable);
    EXPECT_TRUE(d->disabledPagesSelectable);
    EXPECT_TRUE(d->customShading);
    EXPECT_EQ(d->shadingColors, (std::array<std::uint32_t, 3>{10, 11, 12}));
    EXPECT_TRUE(d->pagesLocked);
    EXPECT_TRUE(d->verticalHeaderText);
    EXPECT_TRUE(d->currentHeaderNoHot);
    ExpectMalformedRejected<ui::PageControlData>(PageBlock(7));
}

TEST(PageControlData, OlderVersionsKeepDefaultsForLaterFields)
{
    const ui::PageControlData defaults;
    auto v1 = ReadBack<ui::PageControlData>(PageBlock(1));
    ASSERT_TRUE(v1);
    EXPECT_TRUE(v1->disabledPagesSelectable);
    EXPECT_FALSE(v1->customShading);
    EXPECT_EQ(v1->shadingColors, defaults.shadingColors);
    EXPECT_FALSE(v1->pagesLocked);
    EXPECT_TRUE(v1->font); // no "font absent" flag before version 6
    ExpectMalformedRejected<ui::PageControlData>(PageBlock(1));

    auto v2 = ReadBack<ui::PageControlData>(PageBlock(2));
    ASSERT_TRUE(v2);
    EXPECT_TRUE(v2->customShading);
    EXPECT_EQ(v2->shadingColors, (std::array<std::uint32_t, 3>{10, 11, 12}));
    EXPECT_FALSE(v2->pagesLocked);
    ExpectMalformedRejected<ui::PageControlData>(PageBlock(2));

    // Version 4 adds nothing to version 3.
    EXPECT_EQ(PageBlock(4).size(), PageBlock(3).size());
    auto v4 = ReadBack<ui::PageControlData>(PageBlock(4));
    ASSERT_TRUE(v4);
    EXPECT_TRUE(v4->pagesLocked);
    EXPECT_FALSE(v4->verticalHeaderText);
}

TEST(PageControlData, FontAbsentAndDefaults)
{
    auto absent = ui::PageControlData::Read(PageBlock(7, true));
    ASSERT_TRUE(absent);
    EXPECT_FALSE(absent->font);
    EXPECT_TRUE(absent->currentHeaderNoHot);

    auto d = ui::PageControlData::Read({});
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->font);
    EXPECT_EQ(d->headerTextColors, (std::array<std::uint32_t, 3>{0, 0x0000FF, 0xFF0000}));
    EXPECT_EQ(d->borderColor, 0xB4A791u);
    auto written = ReadBack<ui::PageControlData>(d->Write());
    ASSERT_TRUE(written);
    EXPECT_FALSE(written->font);
}

// A pages block: version, count, then per page the fields of that version.
Bytes PagesBlock(std::uint32_t version, std::int32_t reservedOnFirst)
{
    ByteWriter w;
    w.u32(version);
    w.u32(2);
    for (int page = 0; page < 2; ++page) {
        w.countedText(page == 0 ? "添加" : "");
        for (std::int32_t v = 1; v <= 12; ++v)
            w.i32(v + 100 * page);
        w.u32(page == 0);
        w.u32(page == 1);
        w.u32(0);
        if (version > 1)
            w.countedText(page == 0 ? "<b>提示</b>" : "");
        if (version > 2)
            w.u32(page == 1);
        std::int32_t reserved = page == 0 ? reservedOnFirst : 0;
        w.i32(reserved);
        if (reserved > 0)
            w.bytes(Filler(std::size_t(reserved) * 16));
    }
    return w.take();
}

TEST(PageControlPages, RecordsInStoredOrderReservedRecordsSkipped)
{
    auto pages = ui::ReadPages(PagesBlock(3, 2));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 2u);
    const ui::PageRecord& a = (*pages)[0];
    EXPECT_EQ(a.caption, "添加");
    EXPECT_EQ(a.headerImages, (std::array<std::int32_t, 3>{1, 2, 3}));
    EXPECT_EQ(a.secondTriple, (std::array<std::int32_t, 3>{4, 5, 6}));
    EXPECT_EQ(a.backgroundImages, (std::array<std::int32_t, 3>{7, 8, 9}));
    EXPECT_EQ(a.headerColors, (std::array<std::int32_t, 3>{10, 11, 12}));
    EXPECT_TRUE(a.visible);
    EXPECT_FALSE(a.enabled);
    EXPECT_EQ(a.tip, "<b>提示</b>");
    EXPECT_FALSE(a.hidesChildren);
    const ui::PageRecord& b = (*pages)[1];
    EXPECT_EQ(b.headerImages[0], 101);
    EXPECT_FALSE(b.visible);
    EXPECT_TRUE(b.enabled);
    EXPECT_TRUE(b.hidesChildren);

    // Written at version 3 without reserved records.
    EXPECT_EQ(ui::WritePages(*pages), PagesBlock(3, 0));
}

TEST(PageControlPages, OlderVersionsAndBadBlocks)
{
    auto v1 = ui::ReadPages(PagesBlock(1, 1));
    ASSERT_TRUE(v1);
    ASSERT_EQ(v1->size(), 2u);
    EXPECT_EQ((*v1)[0].tip, "");
    EXPECT_FALSE((*v1)[1].hidesChildren);
    EXPECT_EQ((*v1)[1].headerColors[2], 112);
    auto v2 = ui::ReadPages(PagesBlock(2, 0));
    ASSERT_TRUE(v2);
    EXPECT_EQ((*v2)[0].tip, "<b>提示</b>");
    EXPECT_FALSE((*v2)[1].hidesChildren);

    auto none = ui::ReadPages({});
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());

    Bytes block = PagesBlock(3, 1);
    for (std::size_t n = 1; n < block.size(); ++n)
        ASSERT_FALSE(ui::ReadPages(std::span(block).first(n))) << n;
    EXPECT_FALSE(ui::ReadPages(PagesBlock(4, 0)));
    EXPECT_FALSE(ui::ReadPages(PagesBlock(3, -1)));

    // A page count far beyond what the block holds.
    ByteWriter lying;
    lying.u32(3);
    lying.u32(0x7FFFFFFF);
    EXPECT_FALSE(ui::ReadPages(lying.data()));
}

} // namespace
