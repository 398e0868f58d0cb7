// The TreeBox through the framework: its commands, properties and stored
// items, and the events real input raises.

#include "support/unit_fixture.h"
#include "ui/ext/ext_library.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "ui/ext/tree_box_commands.h"
#include "ui/ext/tree_box_data.h"
#include "ui/ext/tree_box_unit.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/unit_kind.h"

namespace {

using namespace unittest;
using platform::Hwnd;
using platform::TreeItem;
using runtime::TypedValue;

class TreeBoxTest : public UnitTest {
protected:
    TreeBoxTest() : UnitTest({{2, {{1, &ui::kTreeBoxKind}, {4, &ui::kListViewKind}, {5, &ui::kTransLabelKind}}}}) {}

    Hwnd openTree(ui::TreeBoxData data = {}, std::initializer_list<std::int32_t> noted = {})
    {
        ui::UnitRecord r = unitRecord(ui::kinds::TreeBox.value, data.Write());
        note(r, noted);
        return open({std::move(r)});
    }
    int add(int parent, const char* text, std::int32_t data = 0)
    {
        return call(ui::TreeBoxAddItem, {Int(parent), Text(text), Int(0), Int(0), Int(data)}).asInt();
    }
    std::string text(int index) { return TakeText(call(ui::TreeBoxGetItemText, {Int(index)})); }
    TreeItem item(int index) { return platform::TreeView_GetItemAtPreorderIndex(handle(), index); }
    platform::Point labelOf(int index)
    {
        platform::Rect r = platform::TreeView_GetItemRect(handle(), item(index), true);
        return {r.left + 2, (r.top + r.bottom) / 2};
    }
    std::uint32_t state(int index)
    {
        platform::TreeViewItem f{.mask = platform::TVIF_STATE, .item = item(index), .stateMask = ~0u};
        platform::TreeView_GetItem(handle(), f);
        return f.state;
    }
    ui::TreeBoxUnit& unit() { return *dynamic_cast<ui::TreeBoxUnit*>(ui::TheFramework().unitRecord(kWindowId, kUnitId)->object); }
    // A, with children A1 and A2, then B; added as B first, to see the
    // indexes move.
    void addFourItems()
    {
        EXPECT_EQ(add(-1, "A", 10), 0);
        EXPECT_EQ(add(-1, "B", 20), 1);
        EXPECT_EQ(add(0, "A1", 11), 1);
        EXPECT_EQ(add(0, "A2", 12), 2);
    }
};

TEST_F(TreeBoxTest, AnEmptyTreeAnswersWithItsDefaults)
{
    openTree();
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 0);
    EXPECT_EQ(read(16).asInt(), -1);
    TypedValue t = call(ui::TreeBoxGetItemText, {Int(0)});
    EXPECT_TRUE(t.is(runtime::ValueType::Text));
    EXPECT_EQ(t.asText(), nullptr);
    EXPECT_EQ(call(ui::TreeBoxGetItemData, {Int(0)}).asInt(), 0);
    EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(0)}).asInt(), -1);
    EXPECT_FALSE(call(ui::TreeBoxHasChildren, {Int(0)}).asLogical());
}

TEST_F(TreeBoxTest, IndexesArePreOrderOverTheWholeTreeExpandedOrNot)
{
    openTree();
    addFourItems();
    for (bool expanded : {false, true}) {
        if (expanded)
            call(ui::TreeBoxExpandItem, {Int(0)});
        EXPECT_EQ(text(0), "A");
        EXPECT_EQ(text(1), "A1");
        EXPECT_EQ(text(2), "A2");
        EXPECT_EQ(text(3), "B");
        EXPECT_EQ(call(ui::TreeBoxGetItemData, {Int(3)}).asInt(), 20);
        EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(2)}).asInt(), 0);
        EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(3)}).asInt(), -1);
        EXPECT_TRUE(call(ui::TreeBoxHasChildren, {Int(0)}).asLogical());
        EXPECT_FALSE(call(ui::TreeBoxHasChildren, {Int(3)}).asLogical());
    }
    EXPECT_TRUE(state(0) & platform::TVIS_EXPANDED);
    // A top-level item goes after every other: the count minus one.
    EXPECT_EQ(add(-1, "C"), 4);
    EXPECT_EQ(add(99, "D"), 5); // no item 99: top level too
    call(ui::TreeBoxClear);
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 0);
}

TEST_F(TreeBoxTest, AddItemTakesItsArgumentsAsTheSlotsGiven)
{
    openTree();
    // Image -5 becomes 0, selected image -1 follows the image.
    call(ui::TreeBoxAddItem, {Int(-1), Text("x"), Int(-5), Int(-1), Int(7)});
    platform::TreeViewItem f{.mask = platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE | platform::TVIF_PARAM,
                             .item = item(0)};
    ASSERT_TRUE(platform::TreeView_GetItem(handle(), f));
    EXPECT_EQ(f.image, 0);
    EXPECT_EQ(f.selectedImage, 0);
    EXPECT_EQ(f.param, 7);
    // Selected image left out: the image.
    call(ui::TreeBoxAddItem, {Int(-1), Text("y"), Int(3)});
    f.item = item(1);
    platform::TreeView_GetItem(handle(), f);
    EXPECT_EQ(f.selectedImage, 3);

    // Bold and the state image count only with all seven slots.
    call(ui::TreeBoxAddItem, {Int(-1), Text("six"), {}, {}, {}, TypedValue::logical(true)});
    EXPECT_FALSE(state(2) & platform::TVIS_BOLD);
    call(ui::TreeBoxAddItem, {Int(-1), Text("seven"), {}, {}, {}, Int(1), Int(1)});
    EXPECT_TRUE(state(3) & platform::TVIS_BOLD);
    EXPECT_EQ(platform::StateImageSlotOf(state(3)), 2u);

    // A 300-character text comes back whole.
    std::string longText(300, 'w');
    call(ui::TreeBoxAddItem, {Int(-1), Text(longText.c_str())});
    EXPECT_EQ(text(4), longText);
}

TEST_F(TreeBoxTest, AddItemWithArraysAddsOneItemPerText)
{
    openTree();
    auto array = [](runtime::ValueType type, std::vector<std::uint64_t> elements, std::uint32_t dimensions = 1) {
        std::vector<std::uint32_t> header{dimensions};
        for (std::uint32_t d = 0; d < dimensions; ++d)
            header.push_back(d == 0 ? std::uint32_t(elements.size()) : 1u);
        std::size_t size = runtime::ElementSize(type);
        auto* block = static_cast<std::uint8_t*>(runtime::Allocate(header.size() * 4 + elements.size() * size));
        std::memcpy(block, header.data(), header.size() * 4);
        for (std::size_t i = 0; i < elements.size(); ++i)
            std::memcpy(block + header.size() * 4 + i * size, &elements[i], size);
        return TypedValue::array(type, block);
    };
    const char* texts[] = {"a", "b", "c"};
    TypedValue names = array(runtime::ValueType::Text,
                             {std::uint64_t(std::uintptr_t(texts[0])), std::uint64_t(std::uintptr_t(texts[1])),
                              std::uint64_t(std::uintptr_t(texts[2]))});
    TypedValue images = array(runtime::ValueType::Int, {4, std::uint64_t(std::uint32_t(-2))});
    EXPECT_EQ(call(ui::TreeBoxAddItem, {Int(-1), names, images, Int(-1), Int(9)}).asInt(), 0);
    ASSERT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 3);
    for (int i = 0; i < 3; ++i) {
        platform::TreeViewItem f{.mask = platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE | platform::TVIF_PARAM,
                                 .item = item(i)};
        platform::TreeView_GetItem(handle(), f);
        // The image array runs out after two: its last element, unclamped,
        // serves the rest; a negative selected image follows the image.
        EXPECT_EQ(f.image, i == 0 ? 4 : -2) << i;
        EXPECT_EQ(f.selectedImage, f.image) << i;
        EXPECT_EQ(f.param, 9) << i;
    }
    EXPECT_EQ(text(2), "c");
    TypedValue square = array(runtime::ValueType::Text, {std::uint64_t(std::uintptr_t(texts[0]))}, 2);
    EXPECT_EQ(call(ui::TreeBoxAddItem, {Int(-1), square}).asInt(), -1);
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 3);
    for (TypedValue v : {names, images, square})
        runtime::Free(v.asPointer());
}

TEST_F(TreeBoxTest, TheCurrentItemIsPropertySixteen)
{
    openTree({}, {0});
    addFourItems();
    write(16, Int(3));
    EXPECT_EQ(read(16).asInt(), 3);
    ASSERT_EQ(eventsOf(0).size(), 1u);
    EXPECT_EQ(eventsOf(0)[0].args, std::vector<std::int64_t>{2}); // by program
    // Past the end: nothing is current.
    write(16, Int(4));
    EXPECT_EQ(read(16).asInt(), -1);
}

TEST_F(TreeBoxTest, StoredItemsTakeTheirPlacesByDepth)
{
    ui::TreeBoxData data;
    data.checkBoxes = true;
    data.currentItem = 1;
    data.initialItems = ui::WriteInitialItems(std::vector<ui::TreeItemRecord>{
        {.text = "top", .expanded = true, .depth = 1},
        {.text = "deep", .stateSlot = 2, .depth = 3}, // one level below, whatever it says
        {.text = "child", .bold = true, .depth = 2},
        {.text = "second", .depth = 1},
        {.text = "ends", .depth = 0},
        {.text = "never", .depth = 1},
    });
    openTree(data);
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 4);
    EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(1)}).asInt(), 0);
    EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(2)}).asInt(), 0);
    EXPECT_EQ(call(ui::TreeBoxGetParent, {Int(3)}).asInt(), -1);
    EXPECT_TRUE(state(0) & platform::TVIS_EXPANDED);
    EXPECT_TRUE(state(2) & platform::TVIS_BOLD);
    EXPECT_EQ(read(16).asInt(), 1);
    // The state images come once the control has settled: an item without
    // one shows the empty box.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return platform::StateImageSlotOf(state(0)) == 1; }));
    EXPECT_EQ(platform::StateImageSlotOf(state(1)), 2u);
}

TEST_F(TreeBoxTest, InputRaisesTheEventsOfItsItems)
{
    openTree({}, {0, 6, -4});
    addFourItems();
    call(ui::TreeBoxExpandItem, {Int(0)});
    testsupport::Pump(20);

    platform::testing::Click(handle(), labelOf(3));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(0).empty(); }));
    EXPECT_EQ(eventsOf(0).back().args, std::vector<std::int64_t>{1}); // by mouse
    EXPECT_EQ(read(16).asInt(), 3);

    // A right press on an item makes it current first.
    events().clear();
    platform::testing::MouseDown(handle(), labelOf(1), platform::testing::MouseButton::Right);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(6).empty(); }));
    EXPECT_EQ(read(16).asInt(), 1);

    // Off every item a right press does nothing at all.
    events().clear();
    platform::Rect client = platform::GetClientRect(handle());
    platform::testing::MouseDown(handle(), {client.right - 10, client.bottom - 10},
                                 platform::testing::MouseButton::Right);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(-4).empty(); }));
    testsupport::Pump(30);
    EXPECT_TRUE(eventsOf(0).empty());
    EXPECT_TRUE(eventsOf(6).empty());
    EXPECT_EQ(read(16).asInt(), 1);

    // A handler that swallows the right press keeps the tree from seeing it.
    events().clear();
    answer(-4, runtime::HandlerResult::logical(false));
    platform::testing::MouseDown(handle(), labelOf(3), platform::testing::MouseButton::Right);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(-4).empty(); }));
    testsupport::Pump(30);
    EXPECT_TRUE(eventsOf(6).empty());
    EXPECT_EQ(read(16).asInt(), 1);
}

TEST_F(TreeBoxTest, AHandlerMayRefuseAnExpansion)
{
    openTree({}, {4, 5});
    addFourItems();
    answer(4, runtime::HandlerResult::logical(false));
    call(ui::TreeBoxExpandItem, {Int(0)});
    ASSERT_EQ(eventsOf(4).size(), 1u);
    EXPECT_EQ(eventsOf(4)[0].args, std::vector<std::int64_t>{0});
    EXPECT_FALSE(state(0) & platform::TVIS_EXPANDED);
    answer(4, runtime::HandlerResult::none());
    call(ui::TreeBoxExpandItem, {Int(0)});
    EXPECT_TRUE(state(0) & platform::TVIS_EXPANDED);
}

TEST_F(TreeBoxTest, CheckBoxesToggleAndTellTheNewState)
{
    ui::TreeBoxData data;
    data.checkBoxes = true;
    openTree(data, {7});
    addFourItems();
    // Items added by command have the state image they are given: the
    // empty box (state image 0) for this one.
    call(ui::TreeBoxAddItem, {Int(-1), Text("boxed"), {}, {}, {}, {}, Int(0)});
    ASSERT_EQ(platform::StateImageSlotOf(state(4)), 1u);
    platform::Point at{};
    for (int x = 0; x < 60; ++x) {
        platform::Rect row = platform::TreeView_GetItemRect(handle(), item(4), false);
        platform::TreeHitTestInfo hit = platform::TreeView_HitTest(handle(), {x, (row.top + row.bottom) / 2});
        if (hit.flags & platform::TVHT_ONITEMSTATEICON) {
            at = {x, (row.top + row.bottom) / 2};
            break;
        }
    }
    ASSERT_NE(at.x, 0) << "no state icon found";
    platform::testing::Click(handle(), at);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(7).empty(); }));
    EXPECT_EQ(eventsOf(7)[0].args, (std::vector<std::int64_t>{4, 1}));
    EXPECT_EQ(read(16).asInt(), 4);
}

TEST_F(TreeBoxTest, PropertiesReadWhatTheControlShows)
{
    ui::TreeBoxData data;
    data.textColor = 0x112233;
    data.backgroundColor = 0xFF000000;
    openTree(data);
    EXPECT_EQ(std::uint32_t(read(9).asInt()), 0x112233u);
    EXPECT_EQ(std::uint32_t(read(10).asInt()), platform::GetSysColor(platform::COLOR_BTNFACE));
    write(8, Int(9));
    EXPECT_EQ(read(8).asInt(), 5);
    EXPECT_TRUE(platform::GetWindowStyle(handle()) & platform::WS_BORDER);
    write(12, TypedValue::logical(false));
    EXPECT_FALSE(platform::GetWindowStyle(handle()) & platform::TVS_HASLINES);
    write(17, Int(30));
    EXPECT_EQ(read(17).asInt(), 30);

    // The state image properties exist only while check boxes are on.
    auto* kind = ui::TheFramework().kinds().find(ui::kinds::TreeBox.value);
    auto available = kind->routine<ui::PropertyAvailableRoutine>(ui::kEntryPropertyAvailable);
    ASSERT_TRUE(available);
    EXPECT_FALSE(available(unit(), 24 - 8));
    EXPECT_TRUE(available(unit(), 16 - 8));
    write(22, TypedValue::logical(true));
    EXPECT_TRUE(available(unit(), 24 - 8));
    // More state images than the list holds: the count becomes the list's.
    write(24, Int(10));
    EXPECT_EQ(read(24).asInt(), 3);
}

TEST_F(TreeBoxTest, WrittenItemsTakeEffectWhenTheWindowIsMadeAgain)
{
    ui::UnitRecord tree = unitRecord(ui::kinds::TreeBox.value, ui::TreeBoxData{}.Write());
    note(tree, {0});
    ui::UnitRecord other = unitRecord(testsupport::kTestBoxKind, {}, platform::Rect::fromSize(0, 0, 50, 50), kOtherUnitId);
    open({std::move(tree), std::move(other)});
    addFourItems();
    Hwnd before = handle();
    platform::Rect place = platform::GetWindowRectInParent(before);
    auto zorder = platform::GetChildWindows(platform::GetParent(before));

    // The items read back as a block; written, they replace the tree once
    // it is made again, which writing asked for.
    TypedValue items = read(20);
    auto records = ui::ReadInitialItems(runtime::BytesOf(items.asBytesBlock()));
    runtime::FreeValue(items);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 4u);
    EXPECT_EQ((*records)[1].depth, 2);
    records->resize(2);
    std::vector<std::uint8_t> block = ui::WriteInitialItems(*records);
    write(20, TypedValue::bytes(runtime::NewBytes(block)));

    Hwnd after = handle();
    EXPECT_NE(after, before);
    EXPECT_FALSE(platform::IsWindow(before));
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 2);
    EXPECT_EQ(text(1), "A1");
    // The unit keeps its place, its place among its siblings and its events.
    EXPECT_EQ(platform::GetWindowRectInParent(after), place);
    auto now = platform::GetChildWindows(platform::GetParent(after));
    ASSERT_EQ(now.size(), zorder.size());
    EXPECT_EQ(std::find(now.begin(), now.end(), after) - now.begin(),
              std::find(zorder.begin(), zorder.end(), before) - zorder.begin());
    write(16, Int(1));
    EXPECT_EQ(eventsOf(0).size(), 1u);

    // Turning the check boxes off makes the window again; the live items
    // come along.
    write(22, TypedValue::logical(true));
    add(-1, "third");
    write(22, TypedValue::logical(false));
    EXPECT_NE(handle(), after);
    EXPECT_EQ(call(ui::TreeBoxGetItemCount).asInt(), 3);
    EXPECT_FALSE(platform::GetWindowStyle(handle()) & platform::TVS_CHECKBOXES);
}

} // namespace
