// The settings this program's templates give its units, written as the
// template compiler writes them and read back as the units read them.
#include "kind_data_checks.h"

#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/logfont_record.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kindtest::Bytes;
using kindtest::Filler;
using kindtest::Font;
using kindtest::ReadBack;

const Bytes kIcon = Filler(2462, {0, 0, 1, 0, 1, 0, 24, 24});
const Bytes kNodeImages = Filler(17070, {'M', 'I', 'T', 'L'});

// Where a value of the templates equals the codec's default it is left at
// the default; the written block carries it all the same.
ui::WindowKindData Window(std::int32_t border, std::int32_t placement, bool minimize, bool setting27, Bytes icon,
                          const char* caption)
{
    ui::WindowKindData w; // version 6, centred, control box, movable, button-face background
    w.borderStyle = border;
    w.backgroundPlacement = placement;
    w.minimizeButton = minimize;
    w.logicalSetting27 = setting27;
    w.icon = std::move(icon);
    w.caption = caption;
    return w;
}

TEST(CatalogueKindData, Windows)
{
    const ui::WindowKindData windows[] = {
        Window(2, 1, true, true, kIcon, "Velmora v1.0"), // main
        Window(2, 3, false, true, kIcon, "节点管理"),     // node
        Window(2, 1, true, false, kIcon, ""),             // content
        Window(1, 1, true, false, {}, ""),                // about
    };
    for (const ui::WindowKindData& w : windows) {
        auto back = ReadBack<ui::WindowKindData>(w.Write());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->caption, w.caption);
        EXPECT_EQ(back->icon.size(), w.icon.size());
    }
}

ui::EditBoxData EditBox(std::int32_t maxLength, bool multiLine)
{
    ui::EditBoxData e; // version 2, white background, no spin button, range 0-100, '*'
    e.borderStyle = 5;
    e.textColor = 0x000060C0;
    e.maxLength = maxLength;
    e.multiLine = multiLine;
    e.alignment = multiLine ? 0 : 1;
    return e;
}

TEST(CatalogueKindData, EditBoxesAndButtons)
{
    for (const ui::EditBoxData& e : {EditBox(20, false), EditBox(0, false), EditBox(0, true)}) {
        auto back = ReadBack<ui::EditBoxData>(e.Write());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->maxLength, e.maxLength);
        EXPECT_EQ(back->alignment, e.alignment);
    }
    for (const char* caption : {"节点添加", "节点修改", "添加", "保存&更新"}) {
        ui::ButtonData b; // version 1, normal, text centred both ways
        b.caption = caption;
        auto back = ReadBack<ui::ButtonData>(b.Write());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->caption, caption);
    }
}

TEST(CatalogueKindData, PictureComboBoxesAndAboutPicture)
{
    ui::ComboBoxData c; // version 3, drop-down with edit field, unsorted
    c.textColor = 0x00000002;
    c.backgroundColor = 0x000060C0;
    c.initialSelection = 0x00FFFFFF;
    c.itemTexts = {"PY", "C#", ".Net", "JAVA", "JS", "UI", "PHP", "SQL", "MVC", "网络", "社交", "其他"};
    auto combo = ReadBack<ui::ComboBoxData>(c.Write());
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->itemTexts, c.itemTexts);
    EXPECT_TRUE(combo->itemData.empty());

    ui::PicBoxData p; // version 2, no border, button-face background, animated
    p.displayMode = 2;
    p.picture = Filler(64735, {0xFF, 0xD8, 0xFF, 0xE0});
    auto pic = ReadBack<ui::PicBoxData>(p.Write());
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->picture.size(), 64735u);
}

TEST(CatalogueKindData, TreeAndLists)
{
    ui::TreeBoxData tree;
    tree.imageList = kNodeImages;
    auto t = ReadBack<ui::TreeBoxData>(tree.Write());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->imageList.size(), 17070u);

    ui::ListViewData main;
    main.borderStyle = 5;
    main.textColor = 0x800080;
    main.textBackgroundColor = 0xECECEC;
    main.view = 3;
    main.fullRowSelect = true;
    main.gridLines = true;
    main.singleSelection = true;
    main.alwaysShowSelection = true;
    std::vector<ui::ListColumn> columns;
    for (const char* caption : {"标题", "描述", "详细", "", "唯一标识符"}) {
        columns.push_back({});
        columns.back().caption = caption;
        columns.back().width = 0;
    }
    main.columns = ui::WriteColumns(columns);
    auto m = ReadBack<ui::ListViewData>(main.Write());
    ASSERT_TRUE(m);
    auto mainColumns = ui::ReadColumns(m->columns);
    ASSERT_TRUE(mainColumns);
    ASSERT_EQ(mainColumns->size(), 5u);
    EXPECT_EQ((*mainColumns)[4].caption, "唯一标识符");
    EXPECT_EQ((*mainColumns)[4].width, 0);

    // The picture previews of the node window.
    ui::ListViewData preview;
    preview.view = 3;
    preview.hideColumnHeader = true;
    preview.singleSelection = true;
    preview.currentRow = 0;
    preview.imageList = kNodeImages;
    ui::ListColumn one;
    one.width = 18;
    one.caption = "1";
    preview.columns = ui::WriteColumns(std::span(&one, 1));
    std::vector<ui::ListCellRecord> rows(53);
    for (int i = 0; i < 53; ++i) {
        rows[std::size_t(i)].image = i == 18 ? 8 : i;
        rows[std::size_t(i)].text = std::to_string(i + 7);
    }
    preview.initialRows = ui::WriteInitialRows(rows);
    auto p = ReadBack<ui::ListViewData>(preview.Write());
    ASSERT_TRUE(p);
    auto cells = ui::ReadInitialRows(p->initialRows);
    ASSERT_TRUE(cells);
    ASSERT_EQ(cells->size(), 53u);
    EXPECT_TRUE((*cells)[52].startsRow);
    EXPECT_EQ((*cells)[52].text, "59");
    EXPECT_EQ((*cells)[18].image, 8);
}

TEST(CatalogueKindData, LabelsAndPageControls)
{
    for (const char* caption : {"节点文本：", "节点图片：", "节点名称：", "标题：", "描述：", "详细：", "详情：",
                                "自愿打赏"}) {
        ui::TransLabelData l;
        l.caption = caption;
        auto back = ReadBack<ui::TransLabelData>(l.Write());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->caption, caption);
    }
    ui::TransLabelData notice;
    notice.caption = "Velmora 版权所有\r\n";
    auto face = ui::WriteLogFont(Font("", -14));
    notice.font.assign(face.begin(), face.end());
    auto n = ReadBack<ui::TransLabelData>(notice.Write());
    ASSERT_TRUE(n);
    auto font = ui::ReadLogFont(n->font);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->height, -14);
    EXPECT_EQ(font->faceName[0], '\0');

    ui::PageControlData tabs;
    tabs.font = Font("SimSun", -12); // 9 point at 96 pixels per inch
    std::vector<ui::PageRecord> pages(2);
    pages[0].caption = "1";
    pages[1].caption = "2";
    tabs.pages = ui::WritePages(pages);
    auto t = ReadBack<ui::PageControlData>(tabs.Write());
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->font);
    EXPECT_STREQ(t->font->faceName.data(), "SimSun");
    auto back = ui::ReadPages(t->pages);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].caption, "2");
    EXPECT_TRUE((*back)[1].visible && (*back)[1].enabled);
}

} // namespace
