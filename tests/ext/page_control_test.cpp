// The PageControl through the framework: which units each page shows,
// switching from clicks, property 12 and loading with its events, the
// hot header, the scroll buttons and tips, and the properties' rules.

#include "support/unit_fixture.h"

#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/page_control_unit.h"
#include "ui/ext/tip_window.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"

#include <algorithm>

namespace {

using namespace unittest;
using platform::Hwnd;
using platform::Point;
using runtime::HandlerResult;

constexpr std::uint32_t kBoxes[] = {0x16000311, 0x16000312, 0x16000313, 0x16000314, 0x16000315};
constexpr std::uint32_t kA = kBoxes[0], kB = kBoxes[1], kC = kBoxes[2], kD = kBoxes[3], kE = kBoxes[4];

ui::PageRecord page(const char* caption, bool enabled = true)
{
    ui::PageRecord p;
    p.caption = caption;
    p.enabled = enabled;
    return p;
}

ui::PageControlData withPages(std::vector<ui::PageRecord> pages)
{
    ui::PageControlData d;
    d.pages = ui::WritePages(pages);
    return d;
}

class PageControlTest : public UnitTest {
protected:
    PageControlTest()
        : UnitTest({KindsToInstall{.library = 3, .kinds = {std::pair{2, &ui::kPageControlKind}}}})
    {
    }

    // The unit with the boxes of its child list (0 entries between the
    // pages) as its children.
    Hwnd openPages(const ui::PageControlData& d, std::vector<std::uint32_t> children,
                   std::initializer_list<std::int32_t> noted = {0, 1, 2, 3, 4})
    {
        ui::UnitRecord r = unitRecord(ui::kinds::PageControl.value, d.Write());
        r.children = children;
        note(r, noted);
        std::vector<ui::UnitRecord> units{std::move(r)};
        for (std::uint32_t id : children)
            if (id != 0) {
                ui::UnitRecord box = testsupport::BoxRecord(id, "box", 10, 40, 30, 20);
                box.parentId = kUnitId;
                units.push_back(std::move(box));
            }
        return open(std::move(units));
    }
    ui::PageControlUnit& unit()
    {
        return *dynamic_cast<ui::PageControlUnit*>(ui::TheFramework().unitRecord(kWindowId, kUnitId)->object);
    }
    static bool shown(std::uint32_t id)
    {
        return platform::GetWindowStyle(testsupport::HandleOf(kWindowId, id)) & platform::WS_VISIBLE;
    }
    std::vector<std::uint32_t> shownBoxes()
    {
        std::vector<std::uint32_t> out;
        for (std::uint32_t id : kBoxes)
            if (testsupport::HandleOf(kWindowId, id) != Hwnd::Null && shown(id))
                out.push_back(id);
        return out;
    }
    Point headerCentre(int page)
    {
        platform::Rect r = unit().layout().headers[std::size_t(page)];
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void clickHeader(int page, platform::testing::MouseButton button = platform::testing::MouseButton::Left)
    {
        platform::testing::Click(handle(), headerCentre(page), button);
        testsupport::Pump(30);
    }
    // The kind's events but the hot header's, which a click's move brings.
    std::vector<std::int32_t> eventOrder() const
    {
        std::vector<std::int32_t> order;
        for (const Event& e : events())
            if (e.event >= 0 && e.event != ui::kHeaderHot)
                order.push_back(e.event);
        return order;
    }
};

TEST_F(PageControlTest, EachPageShowsExactlyItsOwnUnits)
{
    openPages(withPages({page("1"), page("2"), page("3")}), {kA, kB, 0, kC, 0, kD, kE});
    EXPECT_EQ(read(12).asInt(), 0);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kA, kB}));

    write(12, Int(2));
    EXPECT_EQ(read(12).asInt(), 2);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kD, kE}));
    // Event 1 with the new page before the switch, event 0 after the
    // units were shown.
    EXPECT_EQ(eventOrder(), (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(eventsOf(1)[0].args, (std::vector<std::int64_t>{2}));

    clickHeader(1);
    EXPECT_EQ(read(12).asInt(), 1);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kC}));
    EXPECT_EQ(eventOrder(), (std::vector<std::int32_t>{1, 0, 2, 1, 0}));
    EXPECT_EQ(eventsOf(2)[0].args, (std::vector<std::int64_t>{1}));

    // The current page again: no events.
    write(12, Int(1));
    clickHeader(1);
    EXPECT_EQ(eventsOf(1).size(), 2u);
    // A page that does not exist is refused.
    write(12, Int(7));
    EXPECT_EQ(read(12).asInt(), 1);
}

TEST_F(PageControlTest, ADisabledPageIsNotSelectableUnlessProperty49SaysSo)
{
    openPages(withPages({page("1"), page("2", false), page("3")}), {kA, 0, kB, 0, kC});
    clickHeader(1);
    EXPECT_EQ(read(12).asInt(), 0);
    EXPECT_TRUE(eventOrder().empty()); // neither 2 nor 1 nor 0
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kA}));
    write(12, Int(1));
    EXPECT_EQ(read(12).asInt(), 0);

    write(49, Int(1));
    clickHeader(1);
    EXPECT_EQ(read(12).asInt(), 1);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kB}));
}

TEST_F(PageControlTest, AHandlerOfEvent1CancelsTheSwitch)
{
    answer(1, HandlerResult::logical(false));
    openPages(withPages({page("1"), page("2")}), {kA, 0, kB});
    clickHeader(1);
    write(12, Int(1));
    EXPECT_EQ(read(12).asInt(), 0);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kA}));
    EXPECT_EQ(eventOrder(), (std::vector<std::int32_t>{2, 1, 1}));

    // Any other answer lets it happen.
    answer(1, HandlerResult::logical(true));
    write(12, Int(1));
    EXPECT_EQ(read(12).asInt(), 1);
    EXPECT_EQ(eventsOf(0).size(), 1u);
}

TEST_F(PageControlTest, ThePageFlagHidesEveryChildWindow)
{
    std::vector<ui::PageRecord> pages{page("1"), page("2")};
    pages[1].hidesChildren = true;
    openPages(withPages(pages), {kA, 0, kB});
    write(12, Int(1));
    EXPECT_TRUE(shownBoxes().empty());
    write(12, Int(0));
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kA}));
}

TEST_F(PageControlTest, TheStoredPageBecomesCurrentOnceTheUnitsExist)
{
    ui::PageControlData d = withPages({page("1"), page("2")});
    d.currentPage = 1;
    openPages(d, {kA, 0, kB});
    EXPECT_EQ(read(12).asInt(), 1);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kB}));
    EXPECT_EQ(eventOrder(), (std::vector<std::int32_t>{1, 0}));
}

TEST_F(PageControlTest, LockedPagesTakeNoClicks)
{
    ui::PageControlData d = withPages({page("1"), page("2")});
    d.pagesLocked = true;
    openPages(d, {kA, 0, kB});
    clickHeader(1);
    clickHeader(1, platform::testing::MouseButton::Right);
    EXPECT_EQ(read(12).asInt(), 0);
    EXPECT_TRUE(eventOrder().empty());

    // Unlocked: the right button's release over a header is event 4 and
    // switches nothing.
    write(14, Int(0));
    clickHeader(1, platform::testing::MouseButton::Right);
    EXPECT_EQ(eventOrder(), (std::vector<std::int32_t>{4}));
    EXPECT_EQ(eventsOf(4)[0].args, (std::vector<std::int64_t>{1}));
    EXPECT_EQ(read(12).asInt(), 0);
}

TEST_F(PageControlTest, HoveringRedrawsOnlyTheHeadersWhoseStateChanged)
{
    openPages(withPages({page("1"), page("2"), page("3"), page("4")}), {kA});
    // The toolkit drops a move to where the pointer is: start elsewhere.
    platform::testing::MouseMove(handle(), {100, 100});
    testsupport::Pump(30);
    int drawn = unit().headersDrawn();
    EXPECT_EQ(drawn, 4);
    auto hover = [&](Point at) {
        platform::testing::MouseMove(handle(), at);
        testsupport::Pump(40);
        int now = unit().headersDrawn();
        return now - std::exchange(drawn, now);
    };
    EXPECT_EQ(hover(headerCentre(1)), 1);
    EXPECT_EQ(hover(headerCentre(2)), 2);
    EXPECT_EQ(hover({headerCentre(2).x + 3, headerCentre(2).y}), 0);
    EXPECT_EQ(hover(headerCentre(3)), 2);
    EXPECT_EQ(eventsOf(3).size(), 3u);
    EXPECT_EQ(eventsOf(3).back().args, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(unit().hotHeader(), 3);

    // Off the unit: the hot header goes, without an event.
    platform::testing::MouseMove(testsupport::HandleOf(kWindowId), {300, 250});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return unit().hotHeader() == -1; }));
    EXPECT_EQ(eventsOf(3).size(), 3u);
}

TEST_F(PageControlTest, Property62KeepsTheCurrentHeaderCold)
{
    ui::PageControlData d = withPages({page("1"), page("2")});
    d.currentHeaderNoHot = true;
    openPages(d, {kA});
    platform::testing::MouseMove(handle(), {100, 100});
    platform::testing::MouseMove(handle(), headerCentre(1));
    testsupport::Pump(40);
    EXPECT_EQ(unit().hotHeader(), 1);
    platform::testing::MouseMove(handle(), headerCentre(0));
    testsupport::Pump(40);
    EXPECT_EQ(unit().hotHeader(), -1);
    EXPECT_EQ(eventsOf(3).size(), 1u);

    write(62, Int(0));
    platform::testing::MouseMove(handle(), {headerCentre(0).x + 2, headerCentre(0).y});
    testsupport::Pump(40);
    EXPECT_EQ(unit().hotHeader(), 0);
    EXPECT_EQ(eventsOf(3).back().args, (std::vector<std::int64_t>{0}));
}

TEST_F(PageControlTest, SideHeadersAlwaysWrap)
{
    openPages(withPages({page("1"), page("2")}), {kA});
    write(9, Int(0));
    EXPECT_FALSE(read(9).asLogical());
    write(8, Int(2));
    EXPECT_TRUE(read(9).asLogical()); // turned on by the position
    write(9, Int(0));
    EXPECT_TRUE(read(9).asLogical()); // refused for left headers
    write(8, Int(4));
    EXPECT_EQ(read(8).asInt(), 2); // out of range: ignored

    // Left headers lie one under another along the left edge; the page
    // area is beside them.
    const ui::HeaderStripLayout& l = unit().layout();
    EXPECT_EQ(l.headers[0].left, 0);
    EXPECT_EQ(l.headers[1].top, l.headers[0].bottom);
    EXPECT_EQ(read(58).asInt(), l.headers[0].right);
    EXPECT_EQ(read(59).asInt(), 0);
    EXPECT_EQ(read(60).asInt(), 220 - l.headers[0].right);
    EXPECT_EQ(read(61).asInt(), 160);
    write(58, Int(5)); // read-only
    EXPECT_EQ(read(58).asInt(), l.headers[0].right);

    write(8, Int(0));
    write(9, Int(0));
    EXPECT_FALSE(read(9).asLogical());
}

TEST_F(PageControlTest, TheClickedRowMovesNextToThePageArea)
{
    // Six headers of 50 pixels in 220: rows of four and two.
    openPages(withPages({page("1"), page("2"), page("3"), page("4"), page("5"), page("6")}), {kA});
    const int t = unit().layout().headers[0].height();
    EXPECT_EQ(unit().layout().rows, 2);
    EXPECT_EQ(unit().layout().headers[0].top, t);
    EXPECT_EQ(unit().layout().headers[4].top, 0);
    clickHeader(4);
    EXPECT_EQ(read(12).asInt(), 4);
    EXPECT_EQ(unit().layout().headers[4].top, t);
    EXPECT_EQ(unit().layout().headers[0].top, 0);
    EXPECT_EQ(read(59).asInt(), 2 * t);
}

TEST_F(PageControlTest, ASingleRowScrollsWithItsButtons)
{
    std::vector<ui::PageRecord> pages;
    for (const char* c : {"1", "2", "3", "4", "5", "6", "7", "8"})
        pages.push_back(page(c));
    ui::PageControlData d = withPages(pages);
    d.multiRow = false;
    openPages(d, {kA});
    Hwnd back = unit().scrollButton(false);
    Hwnd on = unit().scrollButton(true);
    EXPECT_EQ(platform::GetDlgCtrlID(back), 1008);
    EXPECT_EQ(platform::GetDlgCtrlID(on), 1009);
    EXPECT_EQ(platform::GetWindowText(back), "<");
    EXPECT_EQ(platform::GetWindowText(on), ">");
    EXPECT_TRUE(platform::IsWindowVisible(on));
    EXPECT_FALSE(platform::IsWindowEnabled(back)); // nothing before the first header

    platform::testing::Click(on, {5, 5});
    testsupport::Pump(30);
    EXPECT_EQ(unit().layout().scrolled, 1);
    EXPECT_TRUE(unit().layout().headers[0].isEmpty());
    EXPECT_TRUE(platform::IsWindowEnabled(back));

    // Switching to a page out of view brings its header in.
    write(12, Int(7));
    const ui::HeaderStripLayout& l = unit().layout();
    EXPECT_LE(l.headers[7].right, l.clip.right);
    EXPECT_FALSE(l.canScrollOn);
    write(12, Int(0));
    EXPECT_EQ(unit().layout().scrolled, 0);

    // The button's tip, once the pointer rests on it.
    platform::testing::MouseMove(on, {7, 7});
    auto* tip = ui::TipWindow::of(unit().tipWindow());
    ASSERT_TRUE(tip);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return tip->visible(); }));
    EXPECT_EQ(tip->text(), "向右滚动子夹头");
}

TEST_F(PageControlTest, APagesTipShowsItsMarkupWithoutTakingTheFocus)
{
    std::vector<ui::PageRecord> pages{page("1"), page("2")};
    pages[1].tip = "a&lt;b <COLOR=RED>c";
    openPages(withPages(pages), {kA});
    platform::SetFocus(handle());
    testsupport::Pump(20);
    Hwnd focus = platform::GetFocus();
    Hwnd active = platform::GetActiveWindow();

    platform::testing::MouseMove(handle(), {100, 100});
    platform::testing::MouseMove(handle(), headerCentre(1));
    auto* tip = ui::TipWindow::of(unit().tipWindow());
    ASSERT_TRUE(tip);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return tip->visible(); }));
    Hwnd h = tip->handle();
    EXPECT_EQ(platform::GetClassName(h), "_QX3_CTipWnd");
    EXPECT_TRUE(platform::GetWindowExStyle(h) & platform::WS_EX_TOPMOST);
    EXPECT_EQ(platform::GetFocus(), focus);
    EXPECT_EQ(platform::GetActiveWindow(), active);
    const auto& runs = tip->markup().runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "a<b ");
    EXPECT_EQ(runs[1].text, "c");
    EXPECT_EQ(runs[1].style.color, 0x0000FFu);

    // A press hides it; so does the pointer leaving.
    clickHeader(1);
    EXPECT_FALSE(tip->visible());
}

TEST_F(PageControlTest, PropertyWriteRules)
{
    ui::PageControlData d = withPages({page("1"), page("2")});
    d.headerStyle = 1;
    openPages(d, {kA});
    // Placeholders read nothing and keep nothing.
    write(15, Int(9));
    EXPECT_EQ(read(15).asInt(), 0);

    write(19, Int(4));
    EXPECT_EQ(read(19).asInt(), 1);
    write(20, Int(1)); // overlapping turns the style to 0
    EXPECT_EQ(read(19).asInt(), 0);
    EXPECT_TRUE(read(20).asInt());
    write(19, Int(2)); // a style turns overlapping off
    EXPECT_FALSE(read(20).asInt());

    write(21, Int(2));
    EXPECT_EQ(read(21).asInt(), 0);
    write(21, Int(1));
    EXPECT_EQ(read(21).asInt(), 1);

    int height = read(18).asInt();
    write(18, Int(0));
    EXPECT_EQ(read(18).asInt(), height);
    write(18, Int(1)); // never below the font's height
    EXPECT_GT(read(18).asInt(), 1);
    write(18, Int(40));
    EXPECT_EQ(unit().layout().headers[0].height(), 40);

    // One element of a colour triple each.
    write(30, Int(0x123456));
    EXPECT_EQ(read(30).asInt(), 0x123456);
    EXPECT_EQ(unit().settings().headerBackgroundColors[1], 0x123456u);
    write(40, Int(0x00FF00));
    EXPECT_EQ(unit().settings().headerTextColors[2], 0x00FF00u);
}

TEST_F(PageControlTest, PropertyAvailabilityFollowsTheSettings)
{
    ui::PageControlData d = withPages({page("1")});
    d.headerStyle = 1;
    openPages(d, {kA});
    auto available = [&](int property) {
        auto entry = ui::kPageControlKind.routine<ui::PropertyAvailableRoutine>(ui::kEntryPropertyAvailable);
        return entry(unit(), property - 8);
    };
    for (int p : {20, 28, 29, 30, 31, 34, 47, 53, 54})
        EXPECT_FALSE(available(p)) << p;
    EXPECT_TRUE(available(21));
    write(19, Int(0));
    for (int p : {20, 28, 29, 30, 31, 34})
        EXPECT_TRUE(available(p)) << p;
    EXPECT_FALSE(available(53));
    write(28, Int(1));
    EXPECT_TRUE(available(53));
    EXPECT_FALSE(available(55));
    write(53, Int(1));
    EXPECT_TRUE(available(55));
    write(8, Int(3));
    EXPECT_TRUE(available(47));
    write(47, Int(1));
    EXPECT_FALSE(available(21));
}

TEST_F(PageControlTest, PagesWrittenAndWrittenBackWithTheirLiveValues)
{
    openPages(withPages({page("1"), page("2"), page("3")}), {kA, 0, kB, 0, kC});
    write(12, Int(2));
    auto writeBack = ui::kPageControlKind.routine<ui::WriteKindDataRoutine>(ui::kEntryWriteKindData);
    auto stored = ui::PageControlData::Read(writeBack(unit()));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->currentPage, 2);
    auto pages = ui::ReadPages(stored->pages);
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 3u);
    EXPECT_EQ((*pages)[2].caption, "3");

    // A new block replaces every page; the first selectable one is
    // current and its units show.
    std::vector<ui::PageRecord> replacement{page("x", false), page("y")};
    runtime::TypedValue block = runtime::TypedValue::bytes(runtime::NewBytes(ui::WritePages(replacement)));
    write(11, block);
    runtime::FreeValue(block);
    EXPECT_EQ(unit().pageCount(), 2);
    EXPECT_EQ(read(12).asInt(), 1);
    EXPECT_EQ(shownBoxes(), (std::vector<std::uint32_t>{kB}));

    // A block that does not read leaves one empty page.
    const std::uint8_t bad[] = {9, 9, 9};
    block = runtime::TypedValue::bytes(runtime::NewBytes(bad));
    write(11, block);
    runtime::FreeValue(block);
    ASSERT_EQ(unit().pageCount(), 1);
    EXPECT_EQ(unit().page(0).caption, "");
    EXPECT_EQ(read(12).asInt(), 0);
}

} // namespace
