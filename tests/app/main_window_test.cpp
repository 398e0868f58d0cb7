// The main window as a user meets it: the catalogue's categories in the
// tree, the entries of the current one in the list, the pop-up menus, and
// the windows the menus open — through the program's own templates,
// handlers and database, with real input.

#include "app/catalogue_support.h"

#include "app/app_state.h"
#include "app/ids.h"
#include "platform/image_list.h"
#include "platform/list_view.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"
#include "ui/framework/framework.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace app::ids;
using cataloguetest::EntryRow;
using cataloguetest::NodeRow;
using platform::Hwnd;
using testsupport::PumpUntil;
namespace pt = platform::testing;

// A, with child A1; B, with child B1; a node whose parent key comes later
// (it stays top-level); the later node.  In index order: A, A1, B, B1,
// early, late.
const std::vector<NodeRow> kNodes = {
    {1, "A", 0, 0}, {2, "B", 0, 1}, {3, "A1", 1, 2}, {4, "B1", 2, 3}, {5, "early", 6, 4}, {6, "late", 0, 5},
};
const std::vector<EntryRow> kEntries = {
    {"A", "print(1)", "一", "details of A"},
    {"late", "select 1", "二", "details 1"},
    {"late", "select 2", "三", ""},
    {"other", "never listed", "四", ""},
};

Hwnd liveHandle(std::uint32_t windowId)
{
    auto* w = ui::TheFramework().window(windowId);
    return w ? w->liveHandle() : Hwnd::Null;
}

class MainWindow : public ::testing::Test {
protected:
    void open(const std::vector<NodeRow>& nodes = kNodes, const std::vector<EntryRow>& entries = kEntries)
    {
        ASSERT_TRUE(cataloguetest::WriteCatalogue(nodes, entries));
        cataloguetest::StartCatalogueInProcess();
        app::State().listMode.set("");
        ASSERT_TRUE(ui::TheFramework().openWindow(kMainWindow.window, nullptr, false));
        main = liveHandle(kMainWindow.window);
        tree = testsupport::HandleOf(kMainWindow.window, kTree);
        list = testsupport::HandleOf(kMainWindow.window, kContentList);
        testsupport::Pump(30);
    }
    void TearDown() override
    {
        pt::StopAnsweringPopupMenus();
        pt::StopAnsweringMessageBoxes();
        for (std::uint32_t id : {kAboutWindow.window, kNodeWindow.window, kContentWindow.window, kMainWindow.window})
            if (auto* w = ui::TheFramework().window(id))
                w->destroyLive();
        testsupport::Pump(20);
        // The next test that wants the starter catalogue makes it afresh.
        std::remove(cataloguetest::CatalogueFile().c_str());
    }

    platform::TreeItem item(int index) const { return platform::TreeView_GetItemAtPreorderIndex(tree, index); }
    int current() const { return platform::TreeView_GetPreorderIndex(tree, platform::TreeView_GetSelection(tree)); }
    std::string textOf(int index) const { return platform::TreeView_GetItemText(tree, item(index)); }
    platform::Point labelOf(int index) const
    {
        platform::Rect r = platform::TreeView_GetItemRect(tree, item(index), true);
        return {r.left + 3, (r.top + r.bottom) / 2};
    }
    platform::Point rowLabelOf(int row) const
    {
        platform::Rect r = platform::ListView_GetSubItemRect(list, row, 1);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<std::string> listedTitles() const
    {
        std::vector<std::string> titles;
        for (int i = 0; i < platform::ListView_GetItemCount(list); ++i)
            titles.push_back(platform::ListView_GetItemText(list, i, 1));
        return titles;
    }
    // The pop-up menus that show from now on, closed unanswered.
    std::vector<std::vector<std::string>>& recordPopups()
    {
        pt::AnswerPopupMenus([this](const pt::PopupMenuInfo& info) {
            popups.push_back(info.items);
            return choice;
        });
        return popups;
    }
    std::vector<pt::MessageBoxInfo>& recordBoxes()
    {
        pt::AnswerMessageBoxes([this](const pt::MessageBoxInfo& box) {
            boxes.push_back(box);
            return int(platform::IDOK);
        });
        return boxes;
    }

    Hwnd main = Hwnd::Null;
    Hwnd tree = Hwnd::Null;
    Hwnd list = Hwnd::Null;
    std::vector<std::vector<std::string>> popups;
    std::vector<pt::MessageBoxInfo> boxes;
    std::string choice; // the item a recorded pop-up menu chooses
};

const std::vector<std::string> kNodeMenuItems = {"&A.添加父节点", "&B.添加子节点", "-", "&X.修改菜单", "&D.删除菜单"};
const std::vector<std::string> kContentMenuItems = {"&D.删除内容", "&X.查看内容", "-"};
const std::vector<std::string> kContentAddMenuItems = {"&A.添加内容", "&B.所有内容"};

TEST_F(MainWindow, StartUpShowsTheTreeAndTheLastCategorysEntries)
{
    open();
    ASSERT_EQ(platform::TreeView_GetCount(tree), 6);
    const char* expected[] = {"A", "A1", "B", "B1", "early", "late"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(textOf(i), expected[i]) << i;
    // Children under their parents, expanded; the node whose parent came
    // later is top-level.
    EXPECT_EQ(platform::TreeView_GetParent(tree, item(1)), item(0));
    EXPECT_EQ(platform::TreeView_GetParent(tree, item(3)), item(2));
    EXPECT_EQ(platform::TreeView_GetParent(tree, item(4)), platform::TreeItem::Null);
    platform::TreeViewItem a{.mask = platform::TVIF_STATE | platform::TVIF_IMAGE | platform::TVIF_PARAM,
                             .item = item(2), .stateMask = platform::TVIS_EXPANDED};
    platform::TreeView_GetItem(tree, a);
    EXPECT_TRUE(a.state & platform::TVIS_EXPANDED);
    EXPECT_EQ(a.image, 1);
    EXPECT_EQ(a.param, 2);

    // The last item is current and the list shows its entries.
    EXPECT_EQ(current(), 5);
    EXPECT_EQ(app::State().listMode.get(), "外链");
    struct Column {
        const char* caption;
        int width;
    };
    const Column columns[] = {{"网址", 0}, {"标题", 100}, {"描述", 425}, {"详细", 0}, {"唯一标识符", 0}};
    ASSERT_EQ(platform::ListView_GetColumnCount(list), 5);
    for (int i = 0; i < 5; ++i) {
        platform::ListViewColumn c{.mask = platform::LVCF_TEXT | platform::LVCF_WIDTH};
        platform::ListView_GetColumn(list, i, c);
        EXPECT_EQ(c.text, columns[i].caption);
        EXPECT_EQ(c.width, columns[i].width);
    }
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"select 1", "select 2"}));
    EXPECT_EQ(platform::ListView_GetItemText(list, 0, 2), "二");
    EXPECT_EQ(platform::ListView_GetItemText(list, 0, 3), "details 1");
    EXPECT_EQ(platform::ListView_GetItemText(list, 1, 4), "3"); // the entry's key
    EXPECT_EQ(platform::ListView_GetNextItem(list, -1, platform::LVNI_SELECTED), -1);
}

TEST_F(MainWindow, ClickingACategoryListsItsEntries)
{
    open();
    pt::Click(tree, labelOf(0));
    ASSERT_TRUE(PumpUntil([&] { return current() == 0; }));
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"print(1)"});
    pt::Click(tree, labelOf(1));
    ASSERT_TRUE(PumpUntil([&] { return current() == 1; }));
    EXPECT_TRUE(listedTitles().empty());
    EXPECT_EQ(platform::ListView_GetColumnCount(list), 5);
}

TEST_F(MainWindow, TheTreesRightPressShowsTheNodeMenuAndKeepsTheCurrentItem)
{
    open();
    auto& shown = recordPopups();
    app::State().nodeAddTarget.set("");
    pt::MouseDown(tree, labelOf(0), pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown[0], kNodeMenuItems);
    testsupport::Pump(30);
    EXPECT_EQ(current(), 5);
    EXPECT_EQ(app::State().nodeAddTarget.get(), "-1");
}

TEST_F(MainWindow, TheListsRightPressShowsTheMenuForItsCurrentRow)
{
    open();
    auto& shown = recordPopups();
    pt::MouseDown(list, rowLabelOf(0), pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return shown.size() == 1; }));
    EXPECT_EQ(shown[0], kContentAddMenuItems);
    // The press did not reach the list: no row became current.
    EXPECT_EQ(platform::ListView_GetNextItem(list, -1, platform::LVNI_SELECTED), -1);

    pt::Click(list, rowLabelOf(1));
    ASSERT_TRUE(PumpUntil([&] { return platform::ListView_GetNextItem(list, -1, platform::LVNI_SELECTED) == 1; }));
    pt::MouseDown(list, rowLabelOf(0), pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return shown.size() == 2; }));
    EXPECT_EQ(shown[1], kContentMenuItems);
    testsupport::Pump(30);
    EXPECT_EQ(platform::ListView_GetNextItem(list, -1, platform::LVNI_SELECTED), 1);
}

TEST_F(MainWindow, AnEmptyCatalogueShowsNothingAndTheListsRightPressGoesOn)
{
    open({}, {});
    EXPECT_EQ(platform::TreeView_GetCount(tree), 0);
    EXPECT_EQ(current(), -1);
    EXPECT_EQ(app::State().listMode.get(), "");
    EXPECT_EQ(platform::ListView_GetColumnCount(list), 5); // the template's own
    auto& shown = recordPopups();
    pt::MouseDown(list, {40, 40}, pt::MouseButton::Right);
    testsupport::Pump(100);
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainWindow, NodeCommandsOpenTheNodeWindowOrSayWhyNot)
{
    open({}, {});
    auto& said = recordBoxes();
    recordPopups();
    for (const char* command : {"&B.添加子节点", "&X.修改菜单"}) {
        choice = command;
        std::size_t before = said.size();
        pt::Click(tree, {40, 40}, pt::MouseButton::Right);
        ASSERT_TRUE(PumpUntil([&] { return said.size() > before; })) << command << " popups " << popups.size();
    }
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].text, "当前未选中上级菜单");
    EXPECT_EQ(said[0].caption, "添加提示");
    EXPECT_EQ(said[0].icon, platform::MB_ICONASTERISK);
    EXPECT_EQ(said[1].text, "请选定菜单后再进行修改！");
    EXPECT_EQ(said[1].caption, "修改提示");
    EXPECT_FALSE(platform::IsWindow(liveHandle(kNodeWindow.window)));

    choice = "&A.添加父节点";
    pt::Click(tree, {40, 40}, pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return platform::IsWindow(liveHandle(kNodeWindow.window)); }));
    EXPECT_EQ(app::State().windowMode.get(), "添加菜单");
    EXPECT_EQ(app::State().nodeAddTarget.get(), "-1");
    // Not modal: the main window still takes input.
    EXPECT_TRUE(platform::IsWindowEnabled(main));
}

TEST_F(MainWindow, RenamingOpensTheNodeWindowForTheCurrentItem)
{
    open();
    recordPopups();
    choice = "&X.修改菜单";
    pt::MouseDown(tree, labelOf(2), pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return platform::IsWindow(liveHandle(kNodeWindow.window)); }));
    EXPECT_EQ(app::State().windowMode.get(), "修改菜单");
    EXPECT_EQ(app::State().nodeAddTarget.get(), "5"); // the current item, not the one pressed
}

TEST_F(MainWindow, ADoubleClickOnTheListOpensTheContentWindowToView)
{
    open();
    pt::DoubleClick(list, rowLabelOf(0));
    ASSERT_TRUE(PumpUntil([&] { return platform::IsWindow(liveHandle(kContentWindow.window)); }));
    EXPECT_EQ(app::State().windowMode.get(), "修改外链");
    EXPECT_TRUE(platform::IsWindowEnabled(main));
}

// What the window shows: the node pictures drawn beside the items, grid
// lines between the rows, and the entries in the list's text colour.
TEST_F(MainWindow, TheWindowDrawsPicturesGridLinesAndTheTextColour)
{
    open();
    testsupport::Pump(100);
    if (const char* dir = std::getenv("VELMORA_SNAPSHOT_DIR"))
        pt::SaveWindowImage(main, std::string(dir) + "/main_window_drawn.png");

    // Item B shows picture 1 of the tree's list: find a pixel of it.
    platform::ImageList pictures = platform::TreeView_GetImageList(tree, platform::TVSIL_NORMAL);
    ASSERT_NE(pictures, platform::ImageList::Null);
    platform::Rect row = platform::TreeView_GetItemRect(tree, item(2), false);
    platform::Rect label = platform::TreeView_GetItemRect(tree, item(2), true);
    std::vector<std::uint32_t> picture = platform::ImageListGetImage(pictures, 1);
    platform::Size size = platform::ImageListImageSize(pictures);
    platform::Point treeOrigin = platform::ScreenToClient(main, platform::ClientToScreen(tree, {0, 0}));
    int matches = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            std::uint32_t argb = picture[std::size_t(y * size.cx + x)];
            if ((argb >> 24) != 0xFF)
                continue;
            platform::Point at{treeOrigin.x + label.left - size.cx - 1 + x,
                               treeOrigin.y + row.top + (row.height() - size.cy) / 2 + y};
            platform::ColorRef rgb = platform::Rgb(int(argb >> 16) & 0xFF, int(argb >> 8) & 0xFF, int(argb) & 0xFF);
            for (int dx = -2; dx <= 2; ++dx)
                if (pt::ClientPixel(main, {at.x + dx, at.y}) == rgb) {
                    ++matches;
                    break;
                }
        }
    EXPECT_GT(matches, size.cx * size.cy / 3) << "the picture is not drawn beside item B";

    // A grid line runs between rows 0 and 1 of the list.
    platform::Point listOrigin = platform::ScreenToClient(main, platform::ClientToScreen(list, {0, 0}));
    platform::Rect cell = platform::ListView_GetSubItemRect(list, 0, 2);
    int x = listOrigin.x + cell.left + 30;
    bool line = false;
    for (int y = cell.bottom - 2; y <= cell.bottom + 1 && !line; ++y)
        line = pt::ClientPixel(main, {x, listOrigin.y + y}) == platform::Rgb(0xD0, 0xD0, 0xD0);
    EXPECT_TRUE(line) << "no grid line below row 0";

    // The title of row 0 is drawn in the list's text colour on its text
    // background.
    int textPixels = 0;
    bool background = false;
    platform::Rect title = platform::ListView_GetSubItemRect(list, 0, 1);
    for (int yy = title.top + 1; yy < title.bottom - 1; ++yy)
        for (int xx = title.left + 1; xx < title.right - 1; ++xx) {
            platform::ColorRef c = pt::ClientPixel(main, {listOrigin.x + xx, listOrigin.y + yy});
            // Smoothed glyph edges blend into the background: purple is
            // red and blue well above green, at whatever strength.
            int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
            textPixels += r - g > 0x30 && b - g > 0x30 && std::abs(r - b) < 0x20;
            background |= c == platform::Rgb(0xEC, 0xEC, 0xEC);
        }
    EXPECT_GT(textPixels, 20) << "no text in 0x800080";
    EXPECT_TRUE(background) << "no text background 0xECECEC";
}

} // namespace
