#include "control_test_support.h"

#include "platform/gdi.h"
#include "platform/image_list.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"
#include "platform/tree_view.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace platform;
namespace drive = platform::testing;

// One notification the tree sent its parent.
struct Note {
    std::uint32_t code = 0;
    std::uint32_t action = 0;
    TreeItem itemOld = TreeItem::Null;
    TreeItem item = TreeItem::Null; // itemNew, or the edited item
    std::optional<std::string> text;
};

constexpr std::uint32_t kClassic = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);

// A shown window holding one tree view; the window records the tree's
// notifications and answers them from `answers`.
class TreeView : public pt::ControlTest<Note> {
protected:
    TreeView() : ControlTest({100, 80, 500, 420}) {}

    Hwnd makeTree(std::uint32_t style, std::uint32_t exStyle = 0)
    {
        tree = makeControl(WC_TREEVIEW, style, exStyle, Rect::fromSize(10, 10, 240, 300), 7);
        return tree;
    }

    TreeItem add(TreeItem parent, const std::string& text, std::uint32_t state = 0, std::uint32_t stateMask = 0)
    {
        return TreeView_InsertItem(
            tree, parent, {.mask = TVIF_TEXT | TVIF_STATE, .state = state, .stateMask = stateMask, .text = text});
    }

    void focusTree()
    {
        SetFocus(tree);
        ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == tree; }, 1000));
    }

    Note noteOf(NotifyHeader& header) override
    {
        Note note{.code = header.code};
        if (header.code == TVN_SELCHANGED || header.code == TVN_ITEMEXPANDING) {
            const auto& nm = reinterpret_cast<const NmTreeView&>(header);
            note.action = nm.action;
            note.itemOld = nm.itemOld;
            note.item = nm.itemNew;
        } else if (header.code == TVN_BEGINLABELEDIT || header.code == TVN_ENDLABELEDIT) {
            const auto& info = reinterpret_cast<const NmTvDispInfo&>(header);
            note.item = info.item;
            if (info.text)
                note.text = info.text;
        }
        return note;
    }

    Point center(const Rect& r) const { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    Point labelPoint(TreeItem item) const { return center(TreeView_GetItemRect(tree, item, true)); }

    // The first and last x of the item's row that hit-test to `flag`.
    std::pair<int, int> zone(TreeItem item, std::uint32_t flag) const
    {
        Rect row = TreeView_GetItemRect(tree, item, false);
        int first = -1;
        int last = -1;
        for (int x = row.left; x < row.right; ++x) {
            TreeHitTestInfo hit = TreeView_HitTest(tree, {x, center(row).y});
            if (hit.item == item && hit.flags == flag) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        return {first, last};
    }

    bool expanded(TreeItem item) const
    {
        TreeViewItem read{.mask = TVIF_STATE, .item = item, .stateMask = TVIS_EXPANDED};
        return TreeView_GetItem(tree, read) && (read.state & TVIS_EXPANDED);
    }

    int stateSlot(TreeItem item) const
    {
        TreeViewItem read{.mask = TVIF_STATE, .item = item, .stateMask = TVIS_STATEIMAGEMASK};
        TreeView_GetItem(tree, read);
        return int(StateImageSlotOf(read.state));
    }

    Hwnd tree = Hwnd::Null;
};

// ---- items ----

TEST_F(TreeView, PreorderIndexesCountCollapsedItemsAndFollowLaterAppends)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem a1 = add(a, "A1");
    TreeItem a2 = add(a, "A2");
    TreeItem b = add(TreeItem::Null, "B");
    for (bool open : {false, true}) {
        if (open) {
            ASSERT_TRUE(TreeView_Expand(tree, a, TVE_EXPAND));
        }
        const TreeItem order[] = {a, a1, a2, b};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(TreeView_GetPreorderIndex(tree, order[i]), i) << open;
            EXPECT_EQ(TreeView_GetItemAtPreorderIndex(tree, i), order[i]) << open;
        }
    }
    EXPECT_EQ(TreeView_GetItemAtPreorderIndex(tree, -1), TreeItem::Null);
    EXPECT_EQ(TreeView_GetItemAtPreorderIndex(tree, 4), TreeItem::Null);

    // An append under an earlier sibling moves everything after it.
    TreeItem a21 = add(a2, "A21");
    EXPECT_EQ(TreeView_GetPreorderIndex(tree, a21), 3);
    EXPECT_EQ(TreeView_GetPreorderIndex(tree, b), 4);
    EXPECT_EQ(TreeView_GetItemAtPreorderIndex(tree, 4), b);

    EXPECT_EQ(TreeView_GetRoot(tree), a);
    EXPECT_EQ(TreeView_GetChild(tree, a), a1);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a1), a2);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a2), TreeItem::Null);
    EXPECT_EQ(TreeView_GetParent(tree, a21), a2);
    EXPECT_EQ(TreeView_GetParent(tree, a), TreeItem::Null);
    EXPECT_EQ(TreeView_GetChild(tree, b), TreeItem::Null);
    EXPECT_EQ(TreeView_GetCount(tree), 5);
}

TEST_F(TreeView, PreorderIndexesAgreeWithAWalkOfARandomlyGrownTree)
{
    makeTree(kClassic);
    std::mt19937 random(1234);
    std::vector<TreeItem> all;
    for (int i = 0; i < 600; ++i) {
        TreeItem parent = all.empty() || random() % 5 == 0 ? TreeItem::Null : all[random() % all.size()];
        all.push_back(add(parent, std::to_string(i)));
    }
    // The walk through the navigation functions.
    std::vector<TreeItem> walk;
    std::function<void(TreeItem)> visit = [&](TreeItem first) {
        for (TreeItem i = first; i != TreeItem::Null; i = TreeView_GetNextSibling(tree, i)) {
            walk.push_back(i);
            visit(TreeView_GetChild(tree, i));
        }
    };
    visit(TreeView_GetRoot(tree));
    ASSERT_EQ(walk.size(), all.size());
    for (int i = 0; i < int(walk.size()); ++i) {
        ASSERT_EQ(TreeView_GetPreorderIndex(tree, walk[std::size_t(i)]), i);
        ASSERT_EQ(TreeView_GetItemAtPreorderIndex(tree, i), walk[std::size_t(i)]);
    }
}

TEST_F(TreeView, HandlesDieWithDeleteAllItemsAndAreNeverHandedOutAgain)
{
    makeTree(kClassic);
    std::vector<TreeItem> old{add(TreeItem::Null, "A"), add(TreeItem::Null, "B")};
    old.push_back(add(old[0], "A1"));
    ASSERT_TRUE(TreeView_SelectItem(tree, old[2]));
    notes.clear();
    ASSERT_TRUE(TreeView_DeleteAllItems(tree));
    EXPECT_EQ(TreeView_GetCount(tree), 0);
    EXPECT_EQ(TreeView_GetRoot(tree), TreeItem::Null);
    EXPECT_EQ(TreeView_GetSelection(tree), TreeItem::Null);
    for (TreeItem stale : old) {
        TreeViewItem read{.mask = TVIF_TEXT, .item = stale};
        EXPECT_FALSE(TreeView_GetItem(tree, read));
        EXPECT_EQ(TreeView_GetPreorderIndex(tree, stale), -1);
        EXPECT_EQ(add(stale, "orphan"), TreeItem::Null);
    }
    for (int i = 0; i < 4; ++i) {
        TreeItem fresh = add(TreeItem::Null, "new");
        EXPECT_EQ(std::count(old.begin(), old.end(), fresh), 0);
    }
    EXPECT_EQ(TreeView_GetCount(tree), 4);
}

TEST_F(TreeView, ItemFieldsAreReadAndWrittenAsTheMaskSays)
{
    makeTree(kClassic);
    TreeItem item = TreeView_InsertItem(tree, TreeItem::Null,
                                        {.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                                         .state = TVIS_BOLD | IndexToStateImageMask(2),
                                         .stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK,
                                         .text = "树根",
                                         .image = 3,
                                         .selectedImage = 4,
                                         .param = 99});
    TreeViewItem read{.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                      .item = item,
                      .stateMask = 0xFFFF};
    ASSERT_TRUE(TreeView_GetItem(tree, read));
    EXPECT_EQ(read.text, "树根");
    EXPECT_EQ(read.image, 3);
    EXPECT_EQ(read.selectedImage, 4);
    EXPECT_EQ(read.param, 99);
    EXPECT_EQ(read.state, TVIS_BOLD | IndexToStateImageMask(2));

    // Only the bits of the state mask change; other fields stay.
    ASSERT_TRUE(TreeView_SetItem(tree, {.mask = TVIF_STATE, .item = item, .state = 0, .stateMask = TVIS_BOLD}));
    ASSERT_TRUE(TreeView_SetItem(tree, {.mask = TVIF_PARAM, .item = item, .param = -5}));
    TreeViewItem after{.mask = TVIF_STATE | TVIF_PARAM | TVIF_IMAGE, .item = item, .stateMask = 0xFFFF};
    ASSERT_TRUE(TreeView_GetItem(tree, after));
    EXPECT_EQ(after.state, IndexToStateImageMask(2));
    EXPECT_EQ(after.param, -5);
    EXPECT_EQ(after.image, 3);
    EXPECT_EQ(TreeView_GetItemText(tree, item), "树根");

    // A handle of no tree view gets the failure values.
    EXPECT_EQ(TreeView_InsertItem(top, TreeItem::Null, {}), TreeItem::Null);
    EXPECT_EQ(TreeView_GetCount(top), 0);
    EXPECT_FALSE(TreeView_GetItem(top, read));
    EXPECT_EQ(TreeView_GetPreorderIndex(top, item), -1);
    EXPECT_FALSE(TreeView_SelectItem(top, item));
}

// ---- selection ----

TEST_F(TreeView, SelectionChangesCarryTheirCause)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "Alpha");
    TreeItem b = add(TreeItem::Null, "Beta");
    TreeItem c = add(TreeItem::Null, "Gamma");
    focusTree();

    // A click beside the label selects nothing; the click on the label does.
    Rect label = TreeView_GetItemRect(tree, a, true);
    ASSERT_EQ(TreeView_HitTest(tree, {label.right + 20, center(label).y}).flags, TVHT_ONITEMRIGHT);
    drive::Click(tree, {label.right + 20, center(label).y});
    drive::Click(tree, center(label));
    ASSERT_TRUE(waitForNote(TVN_SELCHANGED));
    pt::DispatchFor(20);
    ASSERT_EQ(notesOf(TVN_SELCHANGED).size(), 1u);
    Note click = notesOf(TVN_SELCHANGED)[0];
    EXPECT_EQ(click.action, TVC_BYMOUSE);
    EXPECT_EQ(click.itemOld, TreeItem::Null);
    EXPECT_EQ(click.item, a);
    EXPECT_EQ(TreeView_GetSelection(tree), a);

    drive::Key(tree, VK_DOWN);
    ASSERT_TRUE(waitForNote(TVN_SELCHANGED, 2));
    Note key = notesOf(TVN_SELCHANGED)[1];
    EXPECT_EQ(key.action, TVC_BYKEYBOARD);
    EXPECT_EQ(key.itemOld, a);
    EXPECT_EQ(key.item, b);

    ASSERT_TRUE(TreeView_SelectItem(tree, c));
    ASSERT_EQ(notesOf(TVN_SELCHANGED).size(), 3u);
    EXPECT_EQ(notesOf(TVN_SELCHANGED)[2].action, TVC_UNKNOWN);
    TreeViewItem read{.mask = TVIF_STATE, .item = c, .stateMask = TVIS_SELECTED};
    ASSERT_TRUE(TreeView_GetItem(tree, read));
    EXPECT_EQ(read.state, TVIS_SELECTED);

    // Selecting the selected item again changes nothing; Null clears.
    ASSERT_TRUE(TreeView_SelectItem(tree, c));
    EXPECT_EQ(notesOf(TVN_SELCHANGED).size(), 3u);
    ASSERT_TRUE(TreeView_SelectItem(tree, TreeItem::Null));
    ASSERT_EQ(notesOf(TVN_SELCHANGED).size(), 4u);
    EXPECT_EQ(notesOf(TVN_SELCHANGED)[3].itemOld, c);
    EXPECT_EQ(notesOf(TVN_SELCHANGED)[3].item, TreeItem::Null);
    EXPECT_EQ(TreeView_GetSelection(tree), TreeItem::Null);
}

TEST_F(TreeView, SelectingAHiddenItemExpandsItsParentsQuietly)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem a1 = add(a, "A1");
    TreeItem a11 = add(a1, "A11");
    EXPECT_TRUE(TreeView_GetItemRect(tree, a11, false).isEmpty());
    ASSERT_TRUE(TreeView_SelectItem(tree, a11));
    EXPECT_TRUE(expanded(a));
    EXPECT_TRUE(expanded(a1));
    EXPECT_FALSE(TreeView_GetItemRect(tree, a11, false).isEmpty());
    EXPECT_TRUE(notesOf(TVN_ITEMEXPANDING).empty());
}

// ---- expansion ----

TEST_F(TreeView, TheButtonExpandsUnlessTheParentRefuses)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem a1 = add(a, "A1");
    auto [first, last] = zone(a, TVHT_ONITEMBUTTON);
    ASSERT_GE(first, 0);
    Point button{(first + last) / 2, center(TreeView_GetItemRect(tree, a, false)).y};

    answers[TVN_ITEMEXPANDING] = 1;
    drive::Click(tree, button);
    ASSERT_TRUE(waitForNote(TVN_ITEMEXPANDING));
    EXPECT_EQ(notesOf(TVN_ITEMEXPANDING)[0].action, TVE_EXPAND);
    EXPECT_EQ(notesOf(TVN_ITEMEXPANDING)[0].item, a);
    EXPECT_FALSE(expanded(a));
    EXPECT_TRUE(TreeView_GetItemRect(tree, a1, false).isEmpty());

    answers[TVN_ITEMEXPANDING] = 0;
    drive::Click(tree, button);
    ASSERT_TRUE(waitForNote(TVN_ITEMEXPANDING, 2));
    EXPECT_TRUE(expanded(a));
    EXPECT_FALSE(TreeView_GetItemRect(tree, a1, false).isEmpty());
    // The button is no item: the selection stays where it was.
    EXPECT_TRUE(notesOf(TVN_SELCHANGED).empty());

    // The program's own expansion asks as well.
    answers[TVN_ITEMEXPANDING] = 1;
    EXPECT_FALSE(TreeView_Expand(tree, a, TVE_COLLAPSE));
    EXPECT_TRUE(expanded(a));
    answers[TVN_ITEMEXPANDING] = 0;
    EXPECT_TRUE(TreeView_Expand(tree, a, TVE_TOGGLE));
    EXPECT_FALSE(expanded(a));
    ASSERT_EQ(notesOf(TVN_ITEMEXPANDING).size(), 4u);
    EXPECT_EQ(notesOf(TVN_ITEMEXPANDING)[3].action, TVE_COLLAPSE);

    // No change, no question: collapsed already, or nothing to show.
    EXPECT_FALSE(TreeView_Expand(tree, a, TVE_COLLAPSE));
    EXPECT_FALSE(TreeView_Expand(tree, a1, TVE_EXPAND));
    EXPECT_EQ(notesOf(TVN_ITEMEXPANDING).size(), 4u);
}

TEST_F(TreeView, SetItemChangesTheExpandedStateWithoutAsking)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem a1 = add(a, "A1");
    ASSERT_TRUE(TreeView_SetItem(
        tree, {.mask = TVIF_STATE, .item = a, .state = TVIS_EXPANDED, .stateMask = TVIS_EXPANDED}));
    EXPECT_TRUE(expanded(a));
    EXPECT_FALSE(TreeView_GetItemRect(tree, a1, false).isEmpty());
    // Set on an item that has no children yet, it shows them when they come.
    TreeItem b = add(TreeItem::Null, "B", TVIS_EXPANDED, TVIS_EXPANDED);
    TreeItem b1 = add(b, "B1");
    EXPECT_FALSE(TreeView_GetItemRect(tree, b1, false).isEmpty());
    EXPECT_TRUE(notesOf(TVN_ITEMEXPANDING).empty());
}

TEST_F(TreeView, KeysExpandCollapseAndMoveThroughTheLevels)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem a1 = add(a, "A1");
    TreeItem a11 = add(a1, "A11");
    add(TreeItem::Null, "B");
    focusTree();
    ASSERT_TRUE(TreeView_SelectItem(tree, a));
    notes.clear();

    auto press = [&](std::uint32_t vk, bool keypad, std::size_t notesAfter) {
        drive::Key(tree, vk, 0, keypad);
        return pt::DispatchUntil([&] { return notes.size() >= notesAfter; }, 2000);
    };
    ASSERT_TRUE(press(VK_RIGHT, false, 1)); // expands
    EXPECT_TRUE(expanded(a));
    ASSERT_TRUE(press(VK_RIGHT, false, 2)); // goes to the first child
    EXPECT_EQ(TreeView_GetSelection(tree), a1);
    EXPECT_EQ(notes[1].action, TVC_BYKEYBOARD);
    ASSERT_TRUE(press(VK_LEFT, false, 3)); // goes to the parent
    EXPECT_EQ(TreeView_GetSelection(tree), a);
    ASSERT_TRUE(press(VK_LEFT, false, 4)); // collapses
    EXPECT_FALSE(expanded(a));
    EXPECT_EQ(notes[3].action, TVE_COLLAPSE);

    // Keypad * opens the whole subtree, each level asked on its own.
    ASSERT_TRUE(press(VK_MULTIPLY, true, 6));
    EXPECT_TRUE(expanded(a));
    EXPECT_TRUE(expanded(a1));
    EXPECT_EQ(notes[5].item, a1);

    // Keypad - collapses and + expands again.
    ASSERT_TRUE(TreeView_SelectItem(tree, a1));
    ASSERT_TRUE(press(VK_SUBTRACT, true, notes.size() + 1));
    EXPECT_FALSE(expanded(a1));
    ASSERT_TRUE(press(VK_ADD, true, notes.size() + 1));
    EXPECT_TRUE(expanded(a1));
    // A caret hidden by a collapse moves up to the collapsed item.
    ASSERT_TRUE(TreeView_SelectItem(tree, a11));
    ASSERT_TRUE(TreeView_Expand(tree, a, TVE_COLLAPSE));
    EXPECT_EQ(TreeView_GetSelection(tree), a);
}

TEST_F(TreeView, ADoubleClickTogglesAnItemWithChildrenThenNotifies)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    add(a, "A1");
    TreeItem b = add(TreeItem::Null, "B");
    drive::DoubleClick(tree, labelPoint(a));
    ASSERT_TRUE(waitForNote(NM_DBLCLK));
    std::vector<std::uint32_t> codes;
    for (const Note& n : notes)
        codes.push_back(n.code);
    EXPECT_EQ(codes, (std::vector<std::uint32_t>{TVN_SELCHANGED, TVN_ITEMEXPANDING, NM_DBLCLK}));
    EXPECT_TRUE(expanded(a));

    // Without children there is nothing to toggle.
    notes.clear();
    drive::DoubleClick(tree, labelPoint(b));
    ASSERT_TRUE(waitForNote(NM_DBLCLK));
    EXPECT_TRUE(notesOf(TVN_ITEMEXPANDING).empty());
    EXPECT_EQ(TreeView_GetSelection(tree), b);
}

TEST_F(TreeView, AHandlerMayDestroyTheControl)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    add(a, "A1");
    onNotify = [this](const Note& n) {
        if (n.code == TVN_ITEMEXPANDING)
            DestroyWindow(tree);
    };
    drive::DoubleClick(tree, labelPoint(a));
    ASSERT_TRUE(pt::DispatchUntil([this] { return !IsWindow(tree); }, 2000));
    pt::DispatchFor(50);
    EXPECT_TRUE(notesOf(NM_DBLCLK).empty());
    EXPECT_EQ(TreeView_GetCount(tree), 0);
    EXPECT_FALSE(TreeView_Expand(tree, a, TVE_EXPAND));
}

// ---- label editing ----

TEST_F(TreeView, LabelEditsAskBeforeAndAfter)
{
    makeTree(kClassic | TVS_EDITLABELS);
    TreeItem a = add(TreeItem::Null, "Old");
    focusTree();
    ASSERT_TRUE(TreeView_SelectItem(tree, a));

    struct Case {
        LResult beginAnswer;
        LResult endAnswer;
        std::uint32_t finish; // VK_RETURN or VK_ESCAPE
        std::optional<std::string> endText; // none: no end at all
        std::string labelAfter;
    };
    const Case cases[] = {
        {1, 0, VK_RETURN, std::nullopt, "Old"},  // refused at the start
        {0, 1, VK_RETURN, "新名", "新名"},       // accepted
        {0, 0, VK_RETURN, "新名", "Old"},        // rejected at the end
        {0, 1, VK_ESCAPE, "", "Old"},            // cancelled: no text
    };
    for (const Case& c : cases) {
        TreeView_SetItem(tree, {.mask = TVIF_TEXT, .item = a, .text = "Old"});
        notes.clear();
        answers[TVN_BEGINLABELEDIT] = c.beginAnswer;
        answers[TVN_ENDLABELEDIT] = c.endAnswer;
        drive::Key(tree, VK_F1 + 1);
        ASSERT_TRUE(waitForNote(TVN_BEGINLABELEDIT));
        EXPECT_EQ(notes[0].item, a);
        EXPECT_EQ(notes[0].text, "Old");
        pt::DispatchFor(20);
        drive::TypeText(tree, "新名");
        drive::Key(tree, c.finish);
        bool ended = waitForNote(TVN_ENDLABELEDIT, 1, c.endText ? 2000 : 200);
        EXPECT_EQ(ended, c.endText.has_value()) << c.labelAfter;
        if (ended) {
            Note end = notesOf(TVN_ENDLABELEDIT)[0];
            EXPECT_EQ(end.item, a);
            EXPECT_EQ(end.text, c.finish == VK_ESCAPE ? std::nullopt : c.endText);
        }
        EXPECT_EQ(TreeView_GetItemText(tree, a), c.labelAfter);
        EXPECT_EQ(notesOf(TVN_ENDLABELEDIT).size(), ended ? 1u : 0u);
        pt::DispatchFor(20);
    }
}

TEST_F(TreeView, AClickOnTheSelectedLabelEditsOnlyWithEditLabels)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "Label");
    focusTree();
    ASSERT_TRUE(TreeView_SelectItem(tree, a));
    drive::Key(tree, VK_F1 + 1);
    drive::Click(tree, labelPoint(a));
    pt::DispatchFor(600);
    EXPECT_TRUE(notesOf(TVN_BEGINLABELEDIT).empty());

    SetWindowStyle(tree, GetWindowStyle(tree) | TVS_EDITLABELS);
    drive::Click(tree, labelPoint(a));
    ASSERT_TRUE(waitForNote(TVN_BEGINLABELEDIT));
    EXPECT_EQ(notesOf(TVN_BEGINLABELEDIT)[0].item, a);
    drive::Key(tree, VK_ESCAPE);
    ASSERT_TRUE(waitForNote(TVN_ENDLABELEDIT));
}

// ---- check boxes ----

TEST_F(TreeView, StateImagesAdvanceByClickAndSpaceOnlyWithCheckBoxes)
{
    makeTree(kClassic | TVS_CHECKBOXES);
    // Image 0 stands for no state; 1 and 2 are the real ones.
    TreeView_SetImageList(tree, solidList({kBlue, kRed, kGreen}), TVSIL_STATE);
    TreeItem a = add(TreeItem::Null, "A", IndexToStateImageMask(1), TVIS_STATEIMAGEMASK);
    TreeItem b = add(TreeItem::Null, "B");
    focusTree();
    auto [first, last] = zone(a, TVHT_ONITEMSTATEICON);
    ASSERT_GE(first, 0);
    Point box{(first + last) / 2, labelPoint(a).y};

    drive::Click(tree, box);
    ASSERT_TRUE(pt::DispatchUntil([&] { return stateSlot(a) == 2; }, 2000));
    drive::Click(tree, box);
    ASSERT_TRUE(pt::DispatchUntil([&] { return stateSlot(a) == 1; }, 2000)); // after the last, the first
    EXPECT_TRUE(notesOf(TVN_SELCHANGED).empty());

    ASSERT_TRUE(TreeView_SelectItem(tree, b));
    drive::Key(tree, VK_SPACE);
    ASSERT_TRUE(pt::DispatchUntil([&] { return stateSlot(b) == 1; }, 2000)); // from none to the first

    // Without the style the state image shows but does not change.
    SetWindowStyle(tree, GetWindowStyle(tree) & ~TVS_CHECKBOXES);
    drive::Key(tree, VK_SPACE);
    drive::Click(tree, box);
    ASSERT_TRUE(pt::DispatchUntil([&] { return TreeView_GetSelection(tree) == a; }, 2000));
    EXPECT_EQ(stateSlot(a), 1);
    EXPECT_EQ(stateSlot(b), 1);
}

// ---- geometry and painting ----

TEST_F(TreeView, HitTestRegionsAreWhereTheirPiecesArePainted)
{
    makeTree(kClassic | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
    TreeView_SetImageList(tree, solidList({kGreen, kBlue}), TVSIL_NORMAL);
    TreeView_SetImageList(tree, solidList({kBlue, kRed}), TVSIL_STATE);
    TreeItem a = TreeView_InsertItem(tree, TreeItem::Null,
                                     {.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE,
                                      .state = IndexToStateImageMask(1),
                                      .stateMask = TVIS_STATEIMAGEMASK,
                                      .text = "Parent",
                                      .image = 0,
                                      .selectedImage = 1});
    add(a, "Child");
    focusTree();
    pt::DispatchFor(20);

    const int y = labelPoint(a).y;
    auto middle = [&](std::uint32_t flag) {
        auto [first, last] = zone(a, flag);
        EXPECT_GE(first, 0) << flag;
        return Point{(first + last) / 2, y};
    };
    auto pixel = [&](int x) { return drive::ClientPixel(tree, {x, y}); };
    // The state image fills its region exactly; the image starts right after.
    auto [stateFirst, stateLast] = zone(a, TVHT_ONITEMSTATEICON);
    auto [iconFirst, iconLast] = zone(a, TVHT_ONITEMICON);
    EXPECT_NE(pixel(stateFirst - 1), kRed);
    EXPECT_EQ(pixel(stateFirst), kRed);
    EXPECT_EQ(pixel(stateLast), kRed);
    EXPECT_EQ(iconFirst, stateLast + 1);
    EXPECT_EQ(pixel(iconFirst), kGreen);
    EXPECT_EQ(pixel(iconFirst + 15), kGreen);
    EXPECT_LE(iconFirst + 15, iconLast);
    EXPECT_EQ(drive::ClientPixel(tree, middle(TVHT_ONITEMBUTTON)), Rgb(0, 0, 0)); // the plus sign
    EXPECT_EQ(drive::ClientPixel(tree, middle(TVHT_ONITEMRIGHT)), Rgb(255, 255, 255));
    // The regions come in their order, inside the client edge.
    EXPECT_GE(zone(a, TVHT_ONITEMBUTTON).first, 2);
    EXPECT_LT(zone(a, TVHT_ONITEMBUTTON).second, zone(a, TVHT_ONITEMSTATEICON).first);
    EXPECT_LT(zone(a, TVHT_ONITEMSTATEICON).second, zone(a, TVHT_ONITEMICON).first);
    EXPECT_LT(zone(a, TVHT_ONITEMICON).second, zone(a, TVHT_ONITEMLABEL).first);
    Rect label = TreeView_GetItemRect(tree, a, true);
    EXPECT_EQ(zone(a, TVHT_ONITEMLABEL), std::make_pair(label.left, label.right - 1));

    // Selected: the selected image, and the label filled, blue with the
    // focus and grey without it.
    ASSERT_TRUE(TreeView_SelectItem(tree, a));
    pt::DispatchFor(20);
    EXPECT_EQ(drive::ClientPixel(tree, middle(TVHT_ONITEMICON)), kBlue);
    EXPECT_EQ(drive::ClientPixel(tree, {label.left, y}), Rgb(0, 120, 215));
    EXPECT_EQ(drive::ClientPixel(tree, {label.right - 1, y}), Rgb(0, 120, 215));
    EXPECT_EQ(drive::ClientPixel(tree, {label.right, y}), Rgb(255, 255, 255));
    SetFocus(top);
    ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() != tree; }, 1000));
    EXPECT_EQ(drive::ClientPixel(tree, {label.left + 1, y}), GetSysColor(COLOR_BTNFACE));
    SetWindowStyle(tree, GetWindowStyle(tree) & ~TVS_SHOWSELALWAYS);
    EXPECT_EQ(drive::ClientPixel(tree, {label.left + 1, y}), Rgb(255, 255, 255));

    // Outside the rows and outside the control.
    Rect client = GetClientRect(tree);
    EXPECT_EQ(TreeView_HitTest(tree, {50, client.bottom - 10}).flags, TVHT_NOWHERE);
    EXPECT_EQ(TreeView_HitTest(tree, {50, client.bottom - 10}).item, TreeItem::Null);
    EXPECT_EQ(TreeView_HitTest(tree, {-1, 5}).flags, TVHT_TOLEFT);
    EXPECT_EQ(TreeView_HitTest(tree, {client.right + 3, -4}).flags, TVHT_TORIGHT | TVHT_ABOVE);
    EXPECT_EQ(TreeView_HitTest(tree, {5, client.bottom}).flags, TVHT_BELOW);
}

TEST_F(TreeView, ColoursFillTheControl)
{
    makeTree(kClassic);
    EXPECT_EQ(TreeView_GetBkColor(tree), CLR_DEFAULT);
    EXPECT_EQ(drive::ClientPixel(tree, {100, 200}), Rgb(255, 255, 255));
    EXPECT_EQ(TreeView_SetBkColor(tree, kBlue), CLR_DEFAULT);
    EXPECT_EQ(TreeView_GetBkColor(tree), kBlue);
    EXPECT_EQ(drive::ClientPixel(tree, {100, 200}), kBlue);
    EXPECT_EQ(TreeView_SetTextColor(tree, kRed), CLR_DEFAULT);
    EXPECT_EQ(TreeView_GetTextColor(tree), kRed);
}

TEST_F(TreeView, RowHeightFollowsTheFontAndTheImagesUntilSet)
{
    makeTree(kClassic);
    TreeItem a = add(TreeItem::Null, "A");
    TreeItem b = add(TreeItem::Null, "B");
    auto spacing = [&] { return TreeView_GetItemRect(tree, b, false).top - TreeView_GetItemRect(tree, a, false).top; };
    const int initial = TreeView_GetItemHeight(tree);
    EXPECT_EQ(spacing(), initial);

    LogFont big{.height = -40};
    Font font = CreateFontIndirect(big);
    SendMessage(tree, WM_SETFONT, WParam(font), 1);
    EXPECT_EQ(Font(SendMessage(tree, WM_GETFONT, 0, 0)), font);
    const int forFont = TreeView_GetItemHeight(tree);
    EXPECT_GT(forFont, initial);
    EXPECT_EQ(spacing(), forFont);

    ImageList tall = ImageListCreate(16, 80);
    lists.push_back(tall);
    TreeView_SetImageList(tree, tall, TVSIL_NORMAL);
    EXPECT_EQ(TreeView_GetItemHeight(tree), 80);

    EXPECT_EQ(TreeView_SetItemHeight(tree, 25), 80);
    EXPECT_EQ(TreeView_GetItemHeight(tree), 25);
    EXPECT_EQ(spacing(), 25);
    EXPECT_EQ(TreeView_SetItemHeight(tree, -1), 25);
    EXPECT_EQ(TreeView_GetItemHeight(tree), 80);
    DeleteFont(font);
}

TEST_F(TreeView, StylesChangedLaterTakeEffect)
{
    makeTree(TVS_HASBUTTONS | TVS_HASLINES);
    TreeItem a = add(TreeItem::Null, "A");
    add(a, "A1");
    // Without lines at the root the top level has no button column.
    const int plainLeft = TreeView_GetItemRect(tree, a, true).left;
    EXPECT_EQ(zone(a, TVHT_ONITEMBUTTON).first, -1);

    SetWindowStyle(tree, GetWindowStyle(tree) | TVS_LINESATROOT);
    EXPECT_GT(TreeView_GetItemRect(tree, a, true).left, plainLeft);
    EXPECT_GE(zone(a, TVHT_ONITEMBUTTON).first, 0);

    SetWindowStyle(tree, GetWindowStyle(tree) & ~TVS_HASBUTTONS);
    EXPECT_EQ(zone(a, TVHT_ONITEMBUTTON).first, -1);

    // A border moves the contents in by its width.
    const int borderless = TreeView_GetItemRect(tree, a, true).left;
    SetWindowExStyle(tree, WS_EX_CLIENTEDGE);
    EXPECT_EQ(TreeView_GetItemRect(tree, a, true).left, borderless + 2);
    SetWindowStyle(tree, GetWindowStyle(tree) | WS_BORDER);
    SetWindowExStyle(tree, 0);
    EXPECT_EQ(TreeView_GetItemRect(tree, a, true).left, borderless + 1);
}

} // namespace
