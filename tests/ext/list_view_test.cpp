// The ListView through the framework: its commands with their defaults,
// the current row, the stored columns and rows, the events real input
// raises, and the window made again for the settings that need it.

#include "support/unit_fixture.h"
#include "ui/ext/ext_library.h"

#include "platform/list_view.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "ui/ext/list_view_commands.h"
#include "ui/ext/list_view_data.h"
#include "ui/framework/identifiers.h"

namespace {

using namespace unittest;
using platform::Hwnd;
using runtime::TypedValue;

ui::ListViewData reportData()
{
    ui::ListViewData d;
    d.view = 3;
    d.columns = ui::WriteColumns(std::vector<ui::ListColumn>{{.width = 80, .caption = "one"},
                                                             {.alignment = 2, .width = 60, .caption = "two"}});
    return d;
}

class ListViewTest : public UnitTest {
protected:
    ListViewTest() : UnitTest({{2, {{1, &ui::kTreeBoxKind}, {4, &ui::kListViewKind}, {5, &ui::kTransLabelKind}}}}) {}

    Hwnd openList(const ui::ListViewData& data = reportData(), std::initializer_list<std::int32_t> noted = {})
    {
        ui::UnitRecord r = unitRecord(ui::kinds::ListView.value, data.Write());
        note(r, noted);
        return open({std::move(r)});
    }
    int rows() { return platform::ListView_GetItemCount(handle()); }
    std::string cell(int row, int column) { return TakeText(call(ui::ListViewGetCellText, {Int(row), Int(column)})); }
    platform::Point centreOf(int row, int column)
    {
        platform::Rect r = platform::ListView_GetSubItemRect(handle(), row, column);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point on the row's label, where a click selects it.
    platform::Point labelOf(int row)
    {
        platform::Rect r = platform::ListView_GetSubItemRect(handle(), row, 0);
        for (int x = r.left; x < r.right; ++x)
            if (platform::ListView_HitTest(handle(), {x, (r.top + r.bottom) / 2}).flags & platform::LVHT_ONITEMLABEL)
                return {x + 2, (r.top + r.bottom) / 2};
        ADD_FAILURE() << "row " << row << " shows no label";
        return {};
    }
};

TEST_F(ListViewTest, InsertRowWithoutArgumentsAppendsAnEmptyRow)
{
    openList();
    for (int i = 0; i < 3; ++i)
        call(ui::ListViewInsertRow, {Int(-1), Text("r")});
    EXPECT_EQ(call(ui::ListViewInsertRow).asInt(), 3);
    platform::ListViewItem row{.mask = platform::LVIF_TEXT | platform::LVIF_IMAGE | platform::LVIF_PARAM, .item = 3};
    ASSERT_TRUE(platform::ListView_GetItem(handle(), row));
    EXPECT_EQ(row.text, "");
    EXPECT_EQ(row.image, -1);
    EXPECT_EQ(row.param, 0);
    // A position inside the list inserts there.
    EXPECT_EQ(call(ui::ListViewInsertRow, {Int(1), Text("inside")}).asInt(), 1);
    EXPECT_EQ(cell(1, 0), "inside");
}

TEST_F(ListViewTest, CellsHoldTextsOfAnyLengthAndImages)
{
    openList();
    call(ui::ListViewInsertRow);
    std::string longText(600, 'c');
    call(ui::ListViewSetCellText, {Int(0), Int(1), Text(longText.c_str())});
    EXPECT_EQ(cell(0, 1), longText);
    // Column left out: column 0; text left out: empty.
    call(ui::ListViewSetCellText, {Int(0), {}, Text("first")});
    EXPECT_EQ(cell(0, 0), "first");
    call(ui::ListViewSetCellText, {Int(0)});
    EXPECT_EQ(cell(0, 0), "");
    // A row that does not exist: nothing changes, nothing comes back.
    call(ui::ListViewSetCellText, {Int(5), Int(0), Text("x")});
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(cell(5, 0), "");

    call(ui::ListViewSetCellImage, {Int(0), Int(0), Int(2)});
    platform::ListViewItem item{.mask = platform::LVIF_IMAGE, .item = 0};
    platform::ListView_GetItem(handle(), item);
    EXPECT_EQ(item.image, 2);
    call(ui::ListViewSetCellImage, {Int(0), Int(0), Int(-7)});
    platform::ListView_GetItem(handle(), item);
    EXPECT_EQ(item.image, -1);
}

TEST_F(ListViewTest, ColumnsGoWhereTheyAreAskedAndCanAllBeDeleted)
{
    openList();
    EXPECT_EQ(call(ui::ListViewGetColumnCount).asInt(), 2);
    EXPECT_EQ(call(ui::ListViewInsertColumn, {Int(-1), Text("three")}).asInt(), 2);
    EXPECT_EQ(platform::ListView_GetColumnWidth(handle(), 2), 50);
    call(ui::ListViewInsertColumn, {Int(0), Text("zero"), Int(-4), Int(1)});
    platform::ListViewColumn c{.mask = platform::LVCF_FMT | platform::LVCF_WIDTH | platform::LVCF_TEXT};
    ASSERT_TRUE(platform::ListView_GetColumn(handle(), 0, c));
    EXPECT_EQ(c.text, "zero");
    EXPECT_EQ(c.width, 0);
    EXPECT_EQ(c.fmt & platform::LVCFMT_JUSTIFYMASK, platform::LVCFMT_CENTER);
    for (int n = call(ui::ListViewGetColumnCount).asInt(); n > 0; --n)
        call(ui::ListViewDeleteColumn, {Int(0)});
    EXPECT_EQ(call(ui::ListViewGetColumnCount).asInt(), 0);
}

TEST_F(ListViewTest, TheCurrentRowIsPropertyThirtyFive)
{
    openList(reportData(), {0});
    for (int i = 0; i < 3; ++i)
        call(ui::ListViewInsertRow);
    EXPECT_EQ(read(35).asInt(), -1);
    write(35, Int(2));
    EXPECT_EQ(read(35).asInt(), 2);
    EXPECT_EQ(eventsOf(0).size(), 1u); // the row became the focused one
    write(35, Int(-1));
    EXPECT_EQ(read(35).asInt(), -1);
}

TEST_F(ListViewTest, WithoutSingleSelectionTheCurrentRowIsNotWritten)
{
    ui::ListViewData multi = reportData();
    multi.singleSelection = false;
    openList(multi);
    for (int i = 0; i < 3; ++i)
        call(ui::ListViewInsertRow);
    write(35, Int(2));
    EXPECT_EQ(read(35).asInt(), -1);
}

TEST_F(ListViewTest, StoredRowsFillTheirColumnsAndGiveTheirTips)
{
    ui::ListViewData d = reportData();
    d.currentRow = 1;
    d.initialRows = ui::WriteInitialRows(std::vector<ui::ListCellRecord>{
        {.startsRow = false, .text = "before any row"},
        {.itemData = 5, .text = "a", .tip = "tip of a"},
        {.startsRow = false, .text = "a2"},
        {.itemData = 6, .text = "b"},
    });
    openList(d);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 0), "a");
    EXPECT_EQ(cell(0, 1), "a2");
    EXPECT_EQ(cell(1, 0), "b");
    EXPECT_EQ(read(35).asInt(), 1);

    platform::NmLvGetInfoTip tip{.hdr = {.hwndFrom = handle(), .code = platform::LVN_GETINFOTIP}, .item = 0};
    platform::SendMessage(platform::GetParent(handle()), platform::WM_NOTIFY, 0, platform::LParam(&tip));
    EXPECT_EQ(tip.tip, "tip of a");
    tip.item = 1;
    tip.tip.clear();
    platform::SendMessage(platform::GetParent(handle()), platform::WM_NOTIFY, 0, platform::LParam(&tip));
    EXPECT_EQ(tip.tip, "");

    // Writing the rows block loads the rows again at once.
    std::vector<std::uint8_t> one = ui::WriteInitialRows(std::vector<ui::ListCellRecord>{{.text = "only"}});
    write(37, TypedValue::bytes(runtime::NewBytes(one)));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "only");
}

TEST_F(ListViewTest, InputRaisesTheListEvents)
{
    openList(reportData(), {0, 1, 2, 4, 5, -3});
    for (int i = 0; i < 3; ++i) {
        int row = call(ui::ListViewInsertRow, {Int(-1), Text("row")}).asInt();
        call(ui::ListViewSetCellText, {Int(row), Int(1), Text("cell")});
    }
    platform::testing::Click(handle(), labelOf(1));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(4).empty(); }));
    EXPECT_EQ(eventsOf(0).size(), 1u);
    EXPECT_EQ(read(35).asInt(), 1);

    platform::testing::DoubleClick(handle(), labelOf(2));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(1).empty(); }));
    EXPECT_FALSE(eventsOf(-3).empty());

    platform::testing::Click(handle(), centreOf(0, 0), platform::testing::MouseButton::Right);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(5).empty(); }));

    // The header's second column, just below the list's top edge.
    platform::Rect c1 = platform::ListView_GetSubItemRect(handle(), 0, 1);
    platform::testing::Click(handle(), {(c1.left + c1.right) / 2, 8});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(2).empty(); }));
    EXPECT_EQ(eventsOf(2)[0].args, std::vector<std::int64_t>{1});
}

TEST_F(ListViewTest, ACheckBoxClickTellsTheNewState)
{
    ui::ListViewData d = reportData();
    d.checkBoxes = true;
    openList(d, {8});
    call(ui::ListViewInsertRow, {Int(-1), Text("checked?")});
    call(ui::ListViewInsertRow, {Int(-1), Text("second")});
    platform::Rect row = platform::ListView_GetSubItemRect(handle(), 1, 0);
    platform::Point at{};
    for (int x = row.left; x < row.right; ++x)
        if (platform::ListView_HitTest(handle(), {x, (row.top + row.bottom) / 2}).flags & platform::LVHT_ONITEMSTATEICON) {
            at = {x + 2, (row.top + row.bottom) / 2};
            break;
        }
    ASSERT_NE(at.x, 0) << "no state icon found";
    platform::testing::Click(handle(), at);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(8).empty(); }));
    EXPECT_EQ(eventsOf(8)[0].args, (std::vector<std::int64_t>{1, 1}));
}

TEST_F(ListViewTest, SettingsOfTheWindowMakeItAgainWithItsRowsAndPlace)
{
    ui::UnitRecord list = unitRecord(ui::kinds::ListView.value, reportData().Write());
    note(list, {4});
    open({std::move(list)});
    for (int i = 0; i < 4; ++i) {
        int row = call(ui::ListViewInsertRow, {Int(-1), Text("row")}).asInt();
        call(ui::ListViewSetCellText, {Int(row), Int(1), Text(std::to_string(i).c_str())});
    }
    Hwnd before = handle();
    platform::Rect place = platform::GetWindowRectInParent(before);

    // Grid lines can only be had by making the window again.
    write(22, TypedValue::logical(true));
    Hwnd after = handle();
    EXPECT_NE(after, before);
    EXPECT_TRUE(platform::ListView_GetExtendedStyle(after) & platform::LVS_EX_GRIDLINES);
    EXPECT_EQ(platform::GetWindowRectInParent(after), place);
    ASSERT_EQ(rows(), 4);
    EXPECT_EQ(cell(3, 1), "3");
    EXPECT_EQ(call(ui::ListViewGetColumnCount).asInt(), 2);
    platform::testing::Click(after, labelOf(0));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(4).empty(); }));

    // Written columns replace the live ones when it is made again.
    std::vector<std::uint8_t> columns = ui::WriteColumns(std::vector<ui::ListColumn>{{.caption = "solo"}});
    write(17, TypedValue::bytes(runtime::NewBytes(columns)));
    EXPECT_EQ(call(ui::ListViewGetColumnCount).asInt(), 1);
    EXPECT_EQ(rows(), 4);

    // A view that is not the report view: the rows are still there.
    write(13, Int(2));
    EXPECT_EQ(platform::GetWindowStyle(handle()) & platform::LVS_TYPEMASK, platform::LVS_LIST);
    EXPECT_EQ(rows(), 4);
}

} // namespace
