#include "control_test_support.h"

#include "platform/gdi.h"
#include "platform/image_list.h"
#include "platform/list_view.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace platform;
namespace drive = platform::testing;

// One notification the list sent its parent.
struct Note {
    std::uint32_t code = 0;
    int item = -1;
    int subItem = 0;
    std::uint32_t newState = 0;
    std::uint32_t oldState = 0;
    std::optional<std::string> text; // label edits
};

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGrid = Rgb(0xD0, 0xD0, 0xD0);
constexpr ColorRef kTextBk = Rgb(0xEC, 0xEC, 0xEC);
constexpr ColorRef kBk = Rgb(0xFF, 0xFF, 0xF0);

// A shown window holding one list view; the window records the list's
// notifications and answers them from `answers`.
class ListView : public pt::ControlTest<Note> {
protected:
    ListView() : ControlTest({100, 80, 620, 480}) {}

    Hwnd makeList(std::uint32_t style, std::uint32_t exStyle = 0)
    {
        list = makeControl(WC_LISTVIEW, style, exStyle, Rect::fromSize(10, 10, 400, 300), 9);
        return list;
    }

    // A report list with columns "A", "B", "C" and `rows` rows "row i" / "i.1".
    Hwnd makeReport(std::uint32_t style, int rows, std::uint32_t exStyle = 0)
    {
        makeList(LVS_REPORT | style);
        ListView_SetExtendedStyle(list, 0, exStyle);
        for (const char* caption : {"A", "B", "C"})
            ListView_InsertColumn(list, 99, {.mask = LVCF_TEXT | LVCF_WIDTH, .width = 100, .text = caption});
        for (int i = 0; i < rows; ++i) {
            ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = i, .text = "row " + std::to_string(i)});
            ListView_SetItemText(list, i, 1, std::to_string(i) + ".1");
        }
        pt::DispatchFor(20);
        notes.clear();
        return list;
    }

    // A point on the text of a cell, where a click hits the label.
    Point onText(int row, int column = 0) const
    {
        Rect r = ListView_GetSubItemRect(list, row, column);
        Point p{r.left + 6, (r.top + r.bottom) / 2};
        if (column == 0)
            if (std::optional<Point> label = findPart(row, LVHT_ONITEMLABEL))
                p.x = label->x + 4; // past the icons
        return p;
    }

    // The first point along the row's middle where the hit test reports `part`.
    std::optional<Point> findPart(int row, std::uint32_t part) const
    {
        Rect r = ListView_GetSubItemRect(list, row, 0);
        for (int x = r.left; x < r.right; ++x) {
            ListHitTestInfo hit = ListView_HitTest(list, {x, (r.top + r.bottom) / 2});
            if (hit.item == row && hit.flags == part)
                return Point{x, (r.top + r.bottom) / 2};
        }
        return std::nullopt;
    }

    Note noteOf(NotifyHeader& header) override
    {
        Note note{.code = header.code};
        if (header.code == LVN_BEGINLABELEDIT || header.code == LVN_ENDLABELEDIT) {
            const auto& info = reinterpret_cast<const NmLvDispInfo&>(header);
            note.item = info.item;
            if (info.text)
                note.text = info.text;
        } else if (header.code == LVN_GETINFOTIP) {
            auto& tip = reinterpret_cast<NmLvGetInfoTip&>(header);
            note.item = tip.item;
            tip.tip = infoTip;
        } else {
            const auto& nm = reinterpret_cast<const NmListView&>(header);
            note = {.code = header.code, .item = nm.item, .subItem = nm.subItem, .newState = nm.newState, .oldState = nm.oldState};
        }
        return note;
    }

    void clickAndSettle(Point at, unsigned modifiers = 0)
    {
        size_t clicks = notesOf(NM_CLICK).size();
        drive::Click(list, at, drive::MouseButton::Left, modifiers);
        ASSERT_TRUE(waitForNote(NM_CLICK, clicks + 1));
    }

    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
            rows.push_back(i);
        return rows;
    }

    Hwnd list = Hwnd::Null;
    std::string infoTip;
};

// ---- rows, cells and columns ----

TEST_F(ListView, CellsAreReadAsWrittenAndMissingCellsChangeNothing)
{
    makeReport(0, 3);
    std::string longText(600, 'x');
    longText.replace(590, 10, "0123456789");
    ASSERT_TRUE(ListView_SetItemText(list, 1, 2, longText));
    EXPECT_EQ(ListView_GetItemText(list, 1, 2), longText);
    EXPECT_EQ(ListView_GetItemText(list, 1, 1), "1.1");
    EXPECT_EQ(ListView_GetItemText(list, 0, 2), ""); // never set

    ASSERT_TRUE(ListView_SetItem(list, {.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT, .item = 2, .image = 4, .param = 77, .indent = 2}));
    ListViewItem got{.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT, .item = 2};
    ASSERT_TRUE(ListView_GetItem(list, got));
    EXPECT_EQ(got.text, "row 2");
    EXPECT_EQ(got.image, 4);
    EXPECT_EQ(got.param, 77);
    EXPECT_EQ(got.indent, 2);

    // Rows and columns that are not there: nothing read, nothing written.
    EXPECT_EQ(ListView_GetItemText(list, 3, 0), "");
    EXPECT_EQ(ListView_GetItemText(list, 0, 3), "");
    EXPECT_FALSE(ListView_SetItemText(list, 3, 0, "new"));
    EXPECT_FALSE(ListView_SetItemText(list, 0, 3, "new"));
    EXPECT_FALSE(ListView_SetItemText(list, -1, 0, "new"));
    ListViewItem missing{.mask = LVIF_TEXT, .item = 0, .subItem = 5};
    EXPECT_FALSE(ListView_GetItem(list, missing));
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(ListView_GetColumnCount(list), 3);

    // A handle that is no list view gets the failure values.
    EXPECT_EQ(ListView_InsertItem(top, {.mask = LVIF_TEXT, .text = "x"}), -1);
    EXPECT_EQ(ListView_GetItemCount(top), 0);
    EXPECT_EQ(ListView_GetNextItem(top, -1, LVNI_ALL), -1);
}

TEST_F(ListView, InsertedRowsAreClampedOrPlacedByTheirTextWhenSorted)
{
    makeList(LVS_REPORT);
    EXPECT_EQ(ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = 5, .text = "b"}), 0);
    EXPECT_EQ(ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = 9, .text = "c"}), 1);
    EXPECT_EQ(ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = -4, .text = "a"}), 0);
    EXPECT_EQ(ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = 0, .subItem = 1, .text = "no"}), -1);
    EXPECT_EQ(ListView_GetItemText(list, 0, 0), "a");
    EXPECT_EQ(ListView_GetItemText(list, 2, 0), "c");

    struct Case {
        std::uint32_t style;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> inserted = {"beta", "Alpha", "gamma", "alpha", "Beta", "\xD6\xD0", "a"};
    const Case cases[] = {
        // Case folds for ASCII letters only; bytes above 0x7F sort last; equal texts keep their order.
        {.style = LVS_SORTASCENDING, .expected = {"a", "Alpha", "alpha", "beta", "Beta", "gamma", "\xD6\xD0"}},
        {.style = LVS_SORTDESCENDING, .expected = {"\xD6\xD0", "gamma", "beta", "Beta", "Alpha", "alpha", "a"}},
    };
    for (const Case& c : cases) {
        DestroyWindow(list);
        makeList(LVS_REPORT | c.style);
        for (const std::string& text : inserted)
            ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = 0, .text = text});
        std::vector<std::string> order;
        for (int i = 0; i < ListView_GetItemCount(list); ++i)
            order.push_back(ListView_GetItemText(list, i, 0));
        EXPECT_EQ(order, c.expected) << c.style;
    }
}

TEST_F(ListView, ColumnsAreInsertedWhereAskedAndTakeTheirCellsAlong)
{
    makeList(LVS_REPORT);
    EXPECT_EQ(ListView_InsertColumn(list, 5, {.mask = LVCF_TEXT | LVCF_WIDTH, .width = 80, .text = "first"}), 0);
    EXPECT_EQ(ListView_InsertColumn(list, -3, {.mask = LVCF_TEXT | LVCF_WIDTH, .width = 60, .text = "zero"}), 0);
    EXPECT_EQ(ListView_InsertColumn(list, 1, {.mask = LVCF_TEXT | LVCF_FMT | LVCF_IMAGE, .fmt = LVCFMT_RIGHT, .text = "mid", .image = 3}), 1);
    ListViewColumn got{.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_IMAGE};
    ASSERT_TRUE(ListView_GetColumn(list, 1, got));
    EXPECT_EQ(got.text, "mid");
    EXPECT_EQ(got.fmt, LVCFMT_RIGHT);
    EXPECT_EQ(got.width, 0); // no width given
    EXPECT_EQ(got.image, 3);
    EXPECT_EQ(ListView_GetColumnWidth(list, 2), 80);
    ASSERT_TRUE(ListView_SetColumnWidth(list, 1, 45));
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 45);
    EXPECT_FALSE(ListView_SetColumnWidth(list, 3, 45));

    ListView_InsertItem(list, {.mask = LVIF_TEXT, .text = "zero"});
    ListView_SetItemText(list, 0, 1, "mid");
    ListView_SetItemText(list, 0, 2, "first");
    // A column inserted before others moves their cells right...
    ListView_InsertColumn(list, 1, {.mask = LVCF_TEXT, .text = "new"});
    EXPECT_EQ(ListView_GetItemText(list, 0, 1), "");
    EXPECT_EQ(ListView_GetItemText(list, 0, 2), "mid");
    EXPECT_EQ(ListView_GetItemText(list, 0, 3), "first");
    // ...and a deleted one takes its cells away.
    ASSERT_TRUE(ListView_DeleteColumn(list, 2));
    EXPECT_EQ(ListView_GetItemText(list, 0, 2), "first");

    // Columns come and go under a selected row without touching its state.
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    notes.clear();
    ListView_InsertColumn(list, 0, {.mask = LVCF_TEXT, .text = "front"});
    EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    ListView_DeleteColumn(list, 0);
    ListView_DeleteColumn(list, 0);
    EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(notesOf(LVN_ITEMCHANGED).empty());

    // Column 0 deleted as often as there are columns leaves none.
    for (int n = ListView_GetColumnCount(list); n > 0; --n)
        EXPECT_TRUE(ListView_DeleteColumn(list, 0));
    EXPECT_EQ(ListView_GetColumnCount(list), 0);
    EXPECT_FALSE(ListView_DeleteColumn(list, 0));
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListView_InsertColumn(list, 3, {.mask = LVCF_TEXT, .text = "again"}), 0);
}

// ---- selection, focus and their notifications ----

TEST_F(ListView, AClickFocusesAndSelectsTheRowAndSaysSo)
{
    makeReport(0, 5);
    clickAndSettle(onText(2));
    EXPECT_EQ(ListView_GetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    auto changes = notesOf(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].item, 2);
    EXPECT_EQ(changes[0].oldState, 0u);
    EXPECT_EQ(changes[0].newState, LVIS_FOCUSED);
    EXPECT_EQ(changes[1].oldState, LVIS_FOCUSED);
    EXPECT_EQ(changes[1].newState, LVIS_FOCUSED | LVIS_SELECTED);
    auto clicks = notesOf(NM_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].item, 2);
    EXPECT_EQ(clicks[0].subItem, 0);

    // The next click moves both states, announced for both rows.
    notes.clear();
    clickAndSettle(onText(4));
    std::vector<std::pair<int, std::uint32_t>> seen;
    for (const Note& n : notesOf(LVN_ITEMCHANGED))
        seen.emplace_back(n.item, n.newState);
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::uint32_t>>{
                        {2, LVIS_SELECTED}, {4, LVIS_FOCUSED}, {2, 0}, {4, LVIS_FOCUSED | LVIS_SELECTED}}));

    // A right click on a sub-item reports its column.
    drive::Click(list, onText(1, 1), drive::MouseButton::Right);
    ASSERT_TRUE(waitForNote(NM_RCLICK));
    EXPECT_EQ(notesOf(NM_RCLICK)[0].item, 1);
    EXPECT_EQ(notesOf(NM_RCLICK)[0].subItem, 1);
}

TEST_F(ListView, SingleSelectionKeepsOneRowWhereMultipleSelectionAdds)
{
    makeReport(LVS_SINGLESEL, 5);
    clickAndSettle(onText(1));
    clickAndSettle(onText(3), drive::kControl);
    EXPECT_EQ(selectedRows(), (std::vector<int>{3}));
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(selectedRows(), (std::vector<int>{0}));

    DestroyWindow(list);
    makeReport(0, 5);
    clickAndSettle(onText(1));
    clickAndSettle(onText(3), drive::kControl);
    ListView_SetItemState(list, 4, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(selectedRows(), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 3);
    EXPECT_EQ(ListView_GetNextItem(list, 3, LVNI_FOCUSED), -1);
    EXPECT_EQ(ListView_GetNextItem(list, 1, LVNI_ALL), 2);

    // Clicking where a row has no part (right of its label) deselects.
    Rect row = ListView_GetSubItemRect(list, 0, 0);
    EXPECT_EQ(ListView_HitTest(list, {row.right - 3, row.top + 2}).item, -1);
    clickAndSettle({row.right - 3, row.top + 2});
    EXPECT_TRUE(selectedRows().empty());
}

TEST_F(ListView, SettingTheStatesOfEveryRowClearsThemWithNotifications)
{
    makeReport(0, 4);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(selectedRows(), (std::vector<int>{1, 2}));
    notes.clear();
    ASSERT_TRUE(ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_TRUE(selectedRows().empty());
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), -1);
    // Row 1 loses the focus, then rows 1 and 2 the selection.
    std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> seen;
    for (const Note& n : notesOf(LVN_ITEMCHANGED))
        seen.emplace_back(n.item, n.oldState, n.newState);
    EXPECT_EQ(seen, (std::vector<std::tuple<int, std::uint32_t, std::uint32_t>>{
                        {1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED}, {1, LVIS_SELECTED, 0}, {2, LVIS_SELECTED, 0}}));
    EXPECT_FALSE(ListView_SetItemState(list, 9, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListView, DoubleClickAndEnterActivateRows)
{
    makeReport(0, 5);
    drive::DoubleClick(list, onText(3));
    ASSERT_TRUE(waitForNote(LVN_ITEMACTIVATE));
    ASSERT_EQ(notesOf(NM_DBLCLK).size(), 1u);
    EXPECT_EQ(notesOf(NM_DBLCLK)[0].item, 3);
    EXPECT_EQ(notesOf(LVN_ITEMACTIVATE)[0].item, 3);
    EXPECT_EQ(notesOf(NM_CLICK).size(), 1u); // the double click's second release is no click

    ListView_SetItemState(list, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    drive::Key(list, VK_RETURN);
    ASSERT_TRUE(waitForNote(LVN_ITEMACTIVATE, 2));
    EXPECT_EQ(notesOf(LVN_ITEMACTIVATE)[1].item, 1);

    // One-click activation: a single click is enough.
    ListView_SetExtendedStyle(list, LVS_EX_ONECLICKACTIVATE, LVS_EX_ONECLICKACTIVATE);
    clickAndSettle(onText(0));
    ASSERT_TRUE(waitForNote(LVN_ITEMACTIVATE, 3));
    EXPECT_EQ(notesOf(LVN_ITEMACTIVATE)[2].item, 0);
}

TEST_F(ListView, HeaderClicksAreReportedOnlyWhileTheHeaderHasButtons)
{
    makeReport(0, 2);
    int headerMiddle = ListView_GetSubItemRect(list, 0, 0).top / 2;
    drive::Click(list, {150, headerMiddle});
    ASSERT_TRUE(waitForNote(LVN_COLUMNCLICK));
    EXPECT_EQ(notesOf(LVN_COLUMNCLICK)[0].subItem, 1);

    SetWindowStyle(list, GetWindowStyle(list) | LVS_NOSORTHEADER);
    drive::Click(list, {250, headerMiddle});
    pt::DispatchFor(100);
    EXPECT_EQ(notesOf(LVN_COLUMNCLICK).size(), 1u);

    // Without a header the rows start at the top.
    SetWindowStyle(list, GetWindowStyle(list) | LVS_NOCOLUMNHEADER);
    pt::DispatchFor(20);
    EXPECT_LT(ListView_GetSubItemRect(list, 0, 0).top, 4);
}

// ---- label editing ----

TEST_F(ListView, LabelEditsAskBeforeAndAfter)
{
    makeReport(LVS_EDITLABELS, 3);
    clickAndSettle(onText(1));

    answers[LVN_BEGINLABELEDIT] = 1; // refused: no editor opens
    drive::Key(list, VK_F1 + 1);
    ASSERT_TRUE(waitForNote(LVN_BEGINLABELEDIT));
    EXPECT_EQ(notesOf(LVN_BEGINLABELEDIT)[0].item, 1);
    EXPECT_EQ(notesOf(LVN_BEGINLABELEDIT)[0].text, "row 1");
    drive::TypeText(list, "zz");
    pt::DispatchFor(50);
    EXPECT_TRUE(notesOf(LVN_ENDLABELEDIT).empty());

    struct Case {
        LResult answer;
        std::uint32_t endKey;
        std::optional<std::string> reported;
        std::string label;
    };
    const Case cases[] = {
        // The parent rejects the text, takes it; a cancelled edit reports no text at all.
        {.answer = 0, .endKey = VK_RETURN, .reported = "new", .label = "row 1"},
        {.answer = 1, .endKey = VK_RETURN, .reported = "new", .label = "new"},
        {.answer = 1, .endKey = VK_ESCAPE, .reported = std::nullopt, .label = "new"},
    };
    answers[LVN_BEGINLABELEDIT] = 0;
    for (const Case& c : cases) {
        notes.clear();
        answers[LVN_ENDLABELEDIT] = c.answer;
        drive::Key(list, VK_F1 + 1);
        ASSERT_TRUE(waitForNote(LVN_BEGINLABELEDIT));
        pt::DispatchFor(20);
        drive::TypeText(list, "new");
        drive::Key(list, c.endKey);
        ASSERT_TRUE(waitForNote(LVN_ENDLABELEDIT)) << c.endKey;
        EXPECT_EQ(notesOf(LVN_ENDLABELEDIT)[0].item, 1);
        EXPECT_EQ(notesOf(LVN_ENDLABELEDIT)[0].text, c.reported);
        EXPECT_EQ(ListView_GetItemText(list, 1, 0), c.label);
        pt::DispatchFor(20);
    }

    // A click on the selected row's label edits too, once the time for a
    // double click has passed.
    notes.clear();
    clickAndSettle(onText(1));
    ASSERT_TRUE(waitForNote(LVN_BEGINLABELEDIT));
    EXPECT_EQ(notesOf(LVN_BEGINLABELEDIT)[0].item, 1);
    drive::Key(list, VK_ESCAPE);
    ASSERT_TRUE(waitForNote(LVN_ENDLABELEDIT));
}

// ---- check boxes, hot tracking, info tips ----

TEST_F(ListView, CheckBoxesToggleByAClickOnTheBoxAndBySpace)
{
    makeReport(0, 3, LVS_EX_CHECKBOXES);
    ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = 3, .text = "later"});
    for (int row : {0, 3})
        EXPECT_EQ(ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK), 0x1000u) << row;

    std::optional<Point> box = findPart(1, LVHT_ONITEMSTATEICON);
    ASSERT_TRUE(box);
    clickAndSettle(*box);
    EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_STATEIMAGEMASK), 0x2000u);
    auto changes = notesOf(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 1u); // the box only: the row is not selected by it
    EXPECT_EQ(changes[0].oldState, 0x1000u);
    EXPECT_EQ(changes[0].newState, 0x2000u);

    clickAndSettle(onText(2)); // focuses row 2, leaving its box as it is
    EXPECT_EQ(ListView_GetItemState(list, 2, LVIS_STATEIMAGEMASK | LVIS_FOCUSED), 0x1000u | LVIS_FOCUSED);
    drive::Key(list, VK_SPACE);
    ASSERT_TRUE(pt::DispatchUntil([this] { return ListView_GetItemState(list, 2, LVIS_STATEIMAGEMASK) == 0x2000u; }));
    drive::Key(list, VK_SPACE);
    ASSERT_TRUE(pt::DispatchUntil([this] { return ListView_GetItemState(list, 2, LVIS_STATEIMAGEMASK) == 0x1000u; }));

    // Without check boxes the state icon is only a picture.
    ListView_SetExtendedStyle(list, LVS_EX_CHECKBOXES, 0);
    ListView_SetImageList(list, solidList({kRed}), LVSIL_STATE);
    clickAndSettle(*findPart(1, LVHT_ONITEMSTATEICON));
    EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_STATEIMAGEMASK), 0x2000u);
}

TEST_F(ListView, HotTrackingReportsTheRowUnderThePointerAndSelectsItAfterARest)
{
    makeReport(0, 4, LVS_EX_TRACKSELECT);
    drive::MouseMove(list, onText(2));
    ASSERT_TRUE(waitForNote(LVN_HOTTRACK));
    EXPECT_EQ(notesOf(LVN_HOTTRACK)[0].item, 2);
    ASSERT_TRUE(pt::DispatchUntil([this] { return selectedRows() == std::vector<int>{2}; }, 2000));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 2);
}

TEST_F(ListView, InfoTipsAreAskedForTheRowUnderThePointer)
{
    makeReport(0, 4, LVS_EX_INFOTIP);
    infoTip = "tip text";
    drive::MouseMove(list, onText(3));
    ASSERT_TRUE(waitForNote(LVN_GETINFOTIP));
    EXPECT_EQ(notesOf(LVN_GETINFOTIP)[0].item, 3);
}

// ---- geometry and painting ----

TEST_F(ListView, HitTestRegionsAreWhereTheirPartsArePainted)
{
    makeReport(0, 2, LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES);
    ListView_SetImageList(list, solidList({kRed}), LVSIL_SMALL);
    ListView_SetTextBkColor(list, kTextBk);
    ListView_SetBkColor(list, kBk);
    ListView_SetItem(list, {.mask = LVIF_IMAGE, .item = 0, .image = 0});
    pt::DispatchFor(50);

    std::optional<Point> icon = findPart(0, LVHT_ONITEMICON);
    ASSERT_TRUE(icon);
    EXPECT_EQ(drive::ClientPixel(list, *icon), kRed);
    std::optional<Point> label = findPart(0, LVHT_ONITEMLABEL);
    ASSERT_TRUE(label);
    EXPECT_GT(label->x, icon->x);

    Rect empty = ListView_GetSubItemRect(list, 1, 2); // a cell without text
    EXPECT_EQ(drive::ClientPixel(list, {empty.left + 20, empty.top + 3}), kTextBk);
    EXPECT_EQ(drive::ClientPixel(list, {empty.left + 20, empty.bottom - 1}), kGrid);
    EXPECT_EQ(drive::ClientPixel(list, {empty.right - 1, empty.top + 3}), kGrid);
    int rowHeight = empty.height();
    EXPECT_EQ(drive::ClientPixel(list, {empty.left + 20, empty.bottom + rowHeight / 2}), kBk); // below the rows
    EXPECT_EQ(drive::ClientPixel(list, {empty.left + 20, empty.bottom + rowHeight - 1}), kGrid);

    // Cells lie side by side in their columns' widths.
    Rect first = ListView_GetSubItemRect(list, 0, 0);
    Rect second = ListView_GetSubItemRect(list, 0, 1);
    EXPECT_EQ(first.width(), 100);
    EXPECT_EQ(second.left, first.right);
    EXPECT_EQ(ListView_GetSubItemRect(list, 0, 3), Rect{});
    EXPECT_EQ(ListView_GetSubItemRect(list, 2, 0), Rect{});
    ListHitTestInfo sub = ListView_HitTest(list, onText(1, 1));
    EXPECT_EQ(sub.item, 1);
    EXPECT_EQ(sub.subItem, 1);
    EXPECT_EQ(ListView_HitTest(list, {5, empty.bottom + 5}).item, -1);

    // A right-aligned column puts its label at the right of the cell.
    ListView_InsertColumn(list, 3, {.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, .fmt = LVCFMT_RIGHT, .width = 90, .text = "R"});
    ListView_SetItemText(list, 0, 3, "right");
    Rect right = ListView_GetSubItemRect(list, 0, 3);
    int middle = (right.top + right.bottom) / 2;
    EXPECT_EQ(ListView_HitTest(list, {right.left + 4, middle}).flags, LVHT_NOWHERE);
    EXPECT_EQ(ListView_HitTest(list, {right.right - 4, middle}).flags, LVHT_ONITEMLABEL);
}

TEST_F(ListView, SelectionShowsWhileFocusedOrWhenAlwaysShown)
{
    struct Case {
        std::uint32_t style;
        std::uint32_t exStyle;
        ColorRef unfocusedLabel;
        bool rowWide;
    };
    const Case cases[] = {
        {.style = 0, .exStyle = 0, .unfocusedLabel = kTextBk, .rowWide = false},
        {.style = LVS_SHOWSELALWAYS, .exStyle = 0, .unfocusedLabel = GetSysColor(COLOR_BTNFACE), .rowWide = false},
        {.style = LVS_SHOWSELALWAYS,
         .exStyle = LVS_EX_FULLROWSELECT,
         .unfocusedLabel = GetSysColor(COLOR_BTNFACE),
         .rowWide = true},
    };
    for (const Case& c : cases) {
        if (list != Hwnd::Null)
            DestroyWindow(list);
        makeReport(c.style, 3, c.exStyle);
        ListView_SetTextBkColor(list, kTextBk);
        clickAndSettle(onText(1));
        // Row 2 selected as well, without the focus frame of row 1.
        ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
        auto marginOf = [this](int row) { // in the label, where no glyph is drawn
            Point p = *findPart(row, LVHT_ONITEMLABEL);
            return Point{p.x + 1, p.y};
        };
        Point label = marginOf(2);
        Rect beside = ListView_GetSubItemRect(list, 2, 2);
        Point besidePoint{beside.right - 10, (beside.top + beside.bottom) / 2};
        ColorRef highlight = drive::ClientPixel(list, label);
        EXPECT_NE(highlight, kTextBk) << c.style;
        EXPECT_EQ(drive::ClientPixel(list, besidePoint), c.rowWide ? highlight : kTextBk) << c.exStyle;
        EXPECT_EQ(drive::ClientPixel(list, marginOf(0)), kTextBk) << c.style; // a row not selected

        SetFocus(top);
        ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == top; }, 1000));
        EXPECT_EQ(drive::ClientPixel(list, label), c.unfocusedLabel) << c.style;
        EXPECT_EQ(drive::ClientPixel(list, besidePoint), c.rowWide ? c.unfocusedLabel : kTextBk) << c.exStyle;
    }
}

TEST_F(ListView, HeaderImagesStandOnTheirBackgroundBesideTheCaption)
{
    // Left half opaque red, right half transparent: the background shows there.
    ImageList images = ImageListCreate(16, 16);
    std::vector<std::uint32_t> pixels(16 * 16, 0);
    for (int y = 0; y < 16; ++y)
        std::fill_n(pixels.begin() + y * 16, 8, 0xFFFF0000u);
    ImageListAdd(images, pixels);
    lists.push_back(images);
    constexpr ColorRef kHeaderBk = Rgb(0, 200, 0);

    std::vector<int> redFrom;
    for (int format : {int(LVCFMT_IMAGE), LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT, int(LVCFMT_LEFT)}) {
        if (list != Hwnd::Null)
            DestroyWindow(list);
        makeList(LVS_REPORT);
        ListView_SetHeaderImageList(list, images, kHeaderBk);
        ListView_InsertColumn(list, 0, {.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE, .fmt = format, .width = 150,
                                        .text = "Caption", .image = 0});
        ListView_InsertItem(list, {.mask = LVIF_TEXT, .text = "row"});
        pt::DispatchFor(20);
        int y = ListView_GetSubItemRect(list, 0, 0).top / 2;
        int red = -1;
        bool background = false;
        for (int x = 0; x < 150; ++x) {
            ColorRef pixel = drive::ClientPixel(list, {x, y});
            if (pixel == kRed && red < 0)
                red = x;
            background |= pixel == kHeaderBk;
        }
        EXPECT_EQ(background, red >= 0) << format;
        redFrom.push_back(red);
    }
    EXPECT_GE(redFrom[0], 0);
    EXPECT_GT(redFrom[1], redFrom[0] + 20); // after the caption
    EXPECT_EQ(redFrom[2], -1);             // without LVCFMT_IMAGE no image
}

TEST_F(ListView, SwitchingTheViewKeepsRowsSelectionAndFocus)
{
    makeReport(0, 6);
    ListView_SetItemState(list, 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    notes.clear();
    for (std::uint32_t view : {LVS_LIST, LVS_SMALLICON, LVS_ICON, LVS_REPORT}) {
        SetWindowStyle(list, (GetWindowStyle(list) & ~LVS_TYPEMASK) | view);
        pt::DispatchFor(20);
        EXPECT_EQ(ListView_GetItemCount(list), 6) << view;
        EXPECT_EQ(ListView_GetItemText(list, 5, 0), "row 5") << view;
        EXPECT_EQ(selectedRows(), (std::vector<int>{4})) << view;
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 4) << view;
        // Every view hit-tests its own layout: somewhere in the row's
        // rectangle lies its label.
        Rect item = ListView_GetSubItemRect(list, 2, 0);
        ASSERT_FALSE(item.isEmpty()) << view;
        bool labelFound = false;
        for (int x = item.left; x < item.right && !labelFound; ++x) {
            ListHitTestInfo hit = ListView_HitTest(list, {x, item.bottom - 4});
            labelFound = hit.item == 2 && hit.flags == LVHT_ONITEMLABEL;
        }
        EXPECT_TRUE(labelFound) << view;
    }
    EXPECT_TRUE(notesOf(LVN_ITEMCHANGED).empty());
}

TEST_F(ListView, AHundredThousandRowsScrollToTheEndAndGoInOneDeletion)
{
    makeReport(0, 0);
    ListView_InsertColumn(list, 9, {.mask = LVCF_TEXT | LVCF_WIDTH, .width = 60, .text = "D"});
    ListView_InsertColumn(list, 9, {.mask = LVCF_TEXT | LVCF_WIDTH, .width = 60, .text = "E"});
    constexpr int kRows = 100000;
    for (int i = 0; i < kRows; ++i) {
        int row = ListView_InsertItem(list, {.mask = LVIF_TEXT, .item = i, .text = std::to_string(i)});
        for (int column = 1; column <= 4; ++column)
            ListView_SetItemText(list, row, column, "cell");
    }
    ASSERT_EQ(ListView_GetItemCount(list), kRows);
    EXPECT_EQ(ListView_GetItemText(list, kRows - 1, 0), std::to_string(kRows - 1));

    int firstTop = ListView_GetSubItemRect(list, 0, 0).top;
    clickAndSettle(onText(0));
    drive::Key(list, VK_END);
    ASSERT_TRUE(pt::DispatchUntil([this] { return ListView_GetNextItem(list, -1, LVNI_FOCUSED) == kRows - 1; }));
    pt::DispatchFor(20);
    // The top row sits under the header, and the last row is in view.
    int topRow = ListView_GetTopIndex(list);
    EXPECT_GT(topRow, kRows - 30);
    EXPECT_EQ(ListView_GetSubItemRect(list, topRow, 0).top, firstTop);
    EXPECT_LT(ListView_GetSubItemRect(list, topRow - 1, 0).top, firstTop);
    Rect last = ListView_GetSubItemRect(list, kRows - 1, 0);
    EXPECT_LE(last.bottom, GetClientRect(list).bottom);
    EXPECT_EQ(ListView_HitTest(list, onText(kRows - 1)).item, kRows - 1);

    ASSERT_TRUE(ListView_DeleteAllItems(list));
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), -1);
    EXPECT_EQ(ListView_GetColumnCount(list), 5);
}

// ---- the window side ----

TEST_F(ListView, FontsStylesAndColoursAreTakenOver)
{
    makeReport(0, 2);
    int before = ListView_GetSubItemRect(list, 0, 0).height();
    LogFont big{.height = -40};
    Font font = CreateFontIndirect(big);
    SendMessage(list, WM_SETFONT, WParam(font), 1);
    EXPECT_EQ(Font(SendMessage(list, WM_GETFONT, 0, 0)), font);
    pt::DispatchFor(20);
    EXPECT_GT(ListView_GetSubItemRect(list, 0, 0).height(), before + 20);

    EXPECT_EQ(ListView_SetTextColor(list, kRed), CLR_DEFAULT);
    EXPECT_EQ(ListView_GetTextColor(list), kRed);
    EXPECT_EQ(ListView_SetExtendedStyle(list, LVS_EX_FLATSB, LVS_EX_FLATSB | LVS_EX_GRIDLINES), 0u);
    EXPECT_EQ(ListView_GetExtendedStyle(list), LVS_EX_FLATSB); // the mask limits the change
    ImageList images = solidList({kRed});
    EXPECT_EQ(ListView_SetImageList(list, images, LVSIL_NORMAL), ImageList::Null);
    EXPECT_EQ(ListView_GetImageList(list, LVSIL_NORMAL), images);
    EXPECT_EQ(ListView_SetImageList(list, images, 7), ImageList::Null);

    // A border drawn by the styles moves the rows inside it.
    Rect inside = ListView_GetSubItemRect(list, 0, 0);
    SetWindowExStyle(list, WS_EX_CLIENTEDGE);
    Rect framed = ListView_GetSubItemRect(list, 0, 0);
    EXPECT_EQ(framed.left, inside.left + 2);
    DeleteFont(font);
}

TEST_F(ListView, AParentThatDestroysTheListOnANotificationIsSafe)
{
    makeReport(0, 3);
    onNotify = [this](const Note& n) {
        if (n.code == LVN_ITEMCHANGED)
            DestroyWindow(list);
    };
    drive::Click(list, onText(1));
    ASSERT_TRUE(pt::DispatchUntil([this] { return !IsWindow(list); }));
    pt::DispatchFor(50);
    EXPECT_EQ(notesOf(LVN_ITEMCHANGED).size(), 1u);
    EXPECT_TRUE(notesOf(NM_CLICK).empty());
}

} // namespace
