// Kind entry 9: every text a block holds — the text settings, a font's face
// name, the texts inside record blocks — handed to the caller and replaced,
// the rest of the block left as it was.

#include "kind_data_checks.h"

#include "ui/ext/list_view_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

namespace {

using kindtest::Font;

std::vector<std::uint8_t> fontBlock(const char* face)
{
    auto record = ui::WriteLogFont(Font(face, -12));
    return {record.begin(), record.end()};
}

// Marks every text it sees and notes it.
struct Marker {
    std::vector<std::string> seen;
    std::string operator()(std::string_view text)
    {
        seen.emplace_back(text);
        return "<" + std::string(text) + ">";
    }
};

TEST(KindTexts, WindowTextSettingsInStoredOrder)
{
    ui::WindowKindData w;
    w.className = "Cls";
    w.caption = "标题";
    w.textSetting24 = "t";
    w.icon = {1, 2, 3};
    Marker mark;
    auto out = ui::WindowKindData::Read(
        ui::VisitKindDataTexts(ui::WindowDescription(), w.Write(), [&](std::string_view t) { return mark(t); }));
    ASSERT_TRUE(out);
    EXPECT_EQ(mark.seen, (std::vector<std::string>{"Cls", "标题", "t"}));
    EXPECT_EQ(out->caption, "<标题>");
    EXPECT_EQ(out->icon, w.icon);
}

TEST(KindTexts, TreeItemsAndTheFontFace)
{
    ui::TreeBoxData d;
    d.font = fontBlock("宋体");
    d.initialItems = ui::WriteInitialItems(std::vector<ui::TreeItemRecord>{
        {.text = "a", .data = 5, .depth = 1}, {.text = "b", .bold = true, .depth = 2}});
    Marker mark;
    auto out = ui::TreeBoxData::Read(
        ui::VisitKindDataTexts(ui::TreeBoxDescription(), d.Write(), [&](std::string_view t) { return mark(t); }));
    ASSERT_TRUE(out);
    EXPECT_EQ(mark.seen, (std::vector<std::string>{"宋体", "a", "b"}));
    EXPECT_STREQ(ui::ReadLogFont(out->font)->faceName.data(), "<宋体>");
    auto items = ui::ReadInitialItems(out->initialItems);
    ASSERT_TRUE(items);
    EXPECT_EQ((*items)[1].text, "<b>");
    EXPECT_TRUE((*items)[1].bold);
    EXPECT_EQ((*items)[0].data, 5);
}

TEST(KindTexts, ListCaptionsCellsAndTips)
{
    ui::ListViewData d;
    d.columns = ui::WriteColumns(std::vector<ui::ListColumn>{{.width = 40, .caption = "c"}});
    d.initialRows = ui::WriteInitialRows(std::vector<ui::ListCellRecord>{
        {.itemData = 9, .text = "r", .tip = "tip"}, {.startsRow = false, .text = "cell"}});
    Marker mark;
    auto out = ui::ListViewData::Read(
        ui::VisitKindDataTexts(ui::ListViewDescription(), d.Write(), [&](std::string_view t) { return mark(t); }));
    ASSERT_TRUE(out);
    EXPECT_EQ(mark.seen, (std::vector<std::string>{"c", "r", "tip", "cell", ""}));
    auto rows = ui::ReadInitialRows(out->initialRows);
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)[0].tip, "<tip>");
    EXPECT_EQ((*rows)[0].itemData, 9);
    EXPECT_EQ(ui::ReadColumns(out->columns)->at(0).width, 40);

    // A block that does not read comes back as it was.
    std::vector<std::uint8_t> broken = {9, 9, 9};
    EXPECT_EQ(ui::VisitKindDataTexts(ui::ListViewDescription(), broken, [](std::string_view) { return "x"; }), broken);
}

} // namespace
