// Opening a window from its records: creation order and control numbers,
// parents and pages, z-order, styles, cursors, the first events, a second
// opening, the menu bar, modal openings and the placeholder unit.

#include "ui_fixture.h"

#include "platform/icon.h"
#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "ui/framework/framework.h"
#include "ui/framework/placeholder_unit.h"
#include "ui/framework/window_events.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using namespace uitest;
using Handles = std::vector<platform::Hwnd>;

constexpr std::uint32_t kWin = 0x52000401;
constexpr std::uint32_t kOwn = 0x06000401;
constexpr std::uint32_t kOther = 0x52000402;
constexpr std::uint32_t kOtherOwn = 0x06000402;

constexpr std::uint32_t Unit(std::uint32_t n) { return 0x16000410 + n; }
constexpr std::uint32_t Item(std::uint32_t n) { return 0x26000430 + n; }

ui::UnitRecord At(std::uint32_t id, std::uint32_t parent = 0)
{
    auto r = BoxRecord(id, "框", 5, 5, 40, 20);
    r.parentId = parent;
    return r;
}

bool Shown(platform::Hwnd h)
{
    return platform::GetWindowStyle(h) & platform::WS_VISIBLE;
}

class WindowOpening : public UiTest {};

TEST_F(WindowOpening, ChildrenAfterTheFirstZeroOfAChildListStartHidden)
{
    auto container = BoxRecord(Unit(0), "容器", 10, 10, 200, 150);
    container.children = {Unit(1), Unit(2), 0, Unit(3), Unit(4)};
    auto invisible = At(Unit(5), Unit(0));
    invisible.stateFlags = 0;
    container.children.insert(container.children.begin(), Unit(5));
    OpenWindow(kWin, {WindowRecord(kOwn), container, At(Unit(1), Unit(0)), At(Unit(2), Unit(0)),
                      At(Unit(3), Unit(0)), At(Unit(4), Unit(0)), invisible});
    platform::Hwnd box = HandleOf(kWin, Unit(0));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(platform::GetParent(HandleOf(kWin, Unit(i))), box) << i;
    EXPECT_TRUE(Shown(HandleOf(kWin, Unit(1))));
    EXPECT_TRUE(Shown(HandleOf(kWin, Unit(2))));
    EXPECT_FALSE(Shown(HandleOf(kWin, Unit(3))));
    EXPECT_FALSE(Shown(HandleOf(kWin, Unit(4))));
    EXPECT_FALSE(Shown(HandleOf(kWin, Unit(5)))); // its visible flag is off

    // The second page shown: its units appear, the first page's go.
    ui::LoadedWindow& w = *ui::TheFramework().window(kWin);
    ui::TheFramework().applyContainerVisibility(w, *w.find(Unit(0)), 1);
    EXPECT_FALSE(Shown(HandleOf(kWin, Unit(1))));
    EXPECT_TRUE(Shown(HandleOf(kWin, Unit(3))));
    EXPECT_TRUE(Shown(HandleOf(kWin, Unit(4))));
    EXPECT_FALSE(Shown(HandleOf(kWin, Unit(5))));
}

TEST_F(WindowOpening, EachUnitGoesRightAfterThePrecedingRecordWithTheSameParent)
{
    OpenWindow(kWin, {WindowRecord(kOwn), At(Unit(1)), At(Unit(0)), At(Unit(5), Unit(0)), MenuRecord(Item(0), "文件", 0),
                      At(Unit(2)), At(Unit(6), Unit(0)), At(Unit(3)), At(Unit(7), Unit(0))});
    EXPECT_EQ(platform::GetChildWindows(HandleOf(kWin)),
              (Handles{HandleOf(kWin, Unit(1)), HandleOf(kWin, Unit(0)), HandleOf(kWin, Unit(2)),
                       HandleOf(kWin, Unit(3))}));
    EXPECT_EQ(platform::GetChildWindows(HandleOf(kWin, Unit(0))),
              (Handles{HandleOf(kWin, Unit(5)), HandleOf(kWin, Unit(6)), HandleOf(kWin, Unit(7))}));
}

TEST_F(WindowOpening, ControlNumbersCountUpFromTheLastRecordAndSkipMenuItems)
{
    OpenWindow(kWin, {WindowRecord(kOwn), At(Unit(1)), MenuRecord(Item(0), "文件", 0), At(Unit(2)),
                      MenuRecord(Item(1), "编辑", 0), At(Unit(3))});
    EXPECT_EQ(platform::GetDlgCtrlID(HandleOf(kWin, Unit(3))), 100);
    EXPECT_EQ(platform::GetDlgCtrlID(HandleOf(kWin, Unit(2))), 110);
    EXPECT_EQ(platform::GetDlgCtrlID(HandleOf(kWin, Unit(1))), 120);
}

TEST_F(WindowOpening, StateFlagsGiveTheCreationStyleAndKindsWithoutWindowStayHidden)
{
    auto disabled = At(Unit(1));
    disabled.stateFlags = ui::kUnitVisible | ui::kUnitDisabled;
    auto plain = At(Unit(2));
    plain.stateFlags = ui::kUnitVisible;
    auto windowless = BoxRecord(Unit(3), "外部数据库1", 0, 0, 10, 10, kInvisibleKind);
    windowless.stateFlags = ui::kUnitVisible | ui::kUnitDisabled | ui::kUnitTabStop;
    OpenWindow(kWin, {WindowRecord(kOwn), disabled, plain, At(Unit(4)), windowless});

    EXPECT_FALSE(platform::IsWindowEnabled(HandleOf(kWin, Unit(1))));
    EXPECT_FALSE(platform::GetWindowStyle(HandleOf(kWin, Unit(1))) & platform::WS_TABSTOP);
    EXPECT_FALSE(platform::GetWindowStyle(HandleOf(kWin, Unit(2))) & platform::WS_TABSTOP);
    EXPECT_TRUE(platform::GetWindowStyle(HandleOf(kWin, Unit(4))) & platform::WS_TABSTOP);
    platform::Hwnd none = HandleOf(kWin, Unit(3));
    ASSERT_TRUE(platform::IsWindow(none));
    EXPECT_TRUE(platform::IsWindowEnabled(none));
    EXPECT_FALSE(platform::GetWindowStyle(none) & (platform::WS_TABSTOP | platform::WS_VISIBLE));
}

TEST_F(WindowOpening, UnitsWithPointerDataGetTheirCursor)
{
    auto pointer = At(Unit(1));
    pointer.cursorData = {2, 0, 0, 0};
    auto standard = At(Unit(2));
    standard.cursorData = {0, 0, 0, 0};
    ui::LoadedWindow& w = OpenWindow(kWin, {WindowRecord(kOwn), pointer, standard});
    EXPECT_TRUE(platform::IsCursor(w.find(Unit(1))->cursor));
    EXPECT_EQ(w.find(Unit(2))->cursor, platform::Cursor::Null);
    w.destroyLive();
    EXPECT_EQ(w.find(Unit(1))->cursor, platform::Cursor::Null);
}

TEST_F(WindowOpening, LoadedMovedAndResizedAreRaisedOnceTheUnitsAreShown)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowLoaded, recording(0));
    Bind(own, ui::kWindowMoved, recording(3));
    Bind(own, ui::kWindowResized, recording(4));
    static bool unitShown = false;
    unitShown = false;
    Recorded().during = [] {
        if (Recorded().calls.size() == 1)
            unitShown = platform::IsWindowVisible(HandleOf(kWin, Unit(1)));
    };
    OpenWindow(kWin, {own, At(Unit(1))});
    ASSERT_EQ(Recorded().calls.size(), 3u);
    EXPECT_EQ(Recorded().calls[0].tag, 0);
    EXPECT_EQ(Recorded().calls[1].tag, 3);
    EXPECT_EQ(Recorded().calls[2].tag, 4);
    EXPECT_TRUE(unitShown);
    EXPECT_TRUE(ui::TheFramework().window(kWin)->open().loaded);
}

TEST_F(WindowOpening, UnitsAreToldOfEachStageInReverseRecordOrder)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowLoaded, recording(0));
    Recorded().during = [] { Stages().push_back("loaded event"); };
    auto hidden = BoxRecord(0x16000002, "乙", 0, 0, 10, 10, kRecordingKind);
    hidden.stateFlags = 0;
    OpenWindow(kWin, {own, BoxRecord(0x16000001, "甲", 0, 0, 10, 10, kRecordingKind), hidden,
                      MenuRecord(Item(0), "文件", 0), BoxRecord(0x16000003, "丙", 0, 0, 10, 10, kRecordingKind)});
    EXPECT_EQ(Stages(), (std::vector<std::string>{"load 3", "load 2", "load 1", "show 3", "show 1", "loaded event",
                                                  "shown 3", "shown 2", "shown 1"}));
}

TEST_F(WindowOpening, AGivenOwnerMustBeALiveWindow)
{
    OpenWindow(kOther, {WindowRecord(kOtherOwn)});
    platform::WindowObject* owner = ui::TheFramework().unitObject(kOther, 0);
    ASSERT_NE(owner, nullptr);
    AddWindow(kWin, {WindowRecord(kOwn), At(Unit(1))});
    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, owner, false));
    EXPECT_EQ(platform::GetOwner(HandleOf(kWin)), owner->handle());
    ui::TheFramework().window(kWin)->destroyLive();

    RecordingBox unbound(kOther, 0x16000001, kRecordingKind); // has no window
    std::size_t windows = platform::GetTopLevelWindows().size();
    EXPECT_FALSE(ui::TheFramework().openWindow(kWin, &unbound, false));
    EXPECT_EQ(platform::GetTopLevelWindows().size(), windows);
    EXPECT_FALSE(ui::TheFramework().window(kWin)->isOpen());
}

TEST_F(WindowOpening, AWindowClosedByItsLoadedHandlerStopsTheOpening)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowLoaded, recording(0));
    Bind(own, ui::kWindowMoved, recording(3));
    Recorded().during = [] { platform::DestroyWindow(HandleOf(kWin)); };
    AddWindow(kWin, {own, At(Unit(1))});
    EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_EQ(Recorded().calls.size(), 1u);
    EXPECT_EQ(HandleOf(kWin), platform::Hwnd::Null);
    EXPECT_FALSE(ui::TheFramework().window(kWin)->isOpen());
}

TEST_F(WindowOpening, OpeningAnOpenWindowRestoresItInsteadOfMakingASecond)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowLoaded, recording(0));
    OpenWindow(kWin, {own, At(Unit(1))});
    platform::Hwnd frame = HandleOf(kWin);
    platform::Hwnd unit = HandleOf(kWin, Unit(1));
    std::size_t windows = platform::GetTopLevelWindows().size();
    platform::ShowWindow(frame, platform::SW_MINIMIZE);
    ASSERT_TRUE(platform::IsIconic(frame));

    EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_FALSE(platform::IsIconic(frame));
    EXPECT_EQ(HandleOf(kWin), frame);
    EXPECT_EQ(HandleOf(kWin, Unit(1)), unit);
    EXPECT_EQ(platform::GetTopLevelWindows().size(), windows);
    EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_EQ(HandleOf(kWin), frame);
    EXPECT_EQ(Recorded().calls.size(), 1u);
}

TEST_F(WindowOpening, OnlyAWindowWithMenuRecordsGetsAMenuBar)
{
    ui::LoadedWindow& bare = OpenWindow(kWin, {WindowRecord(kOwn), At(Unit(1))});
    EXPECT_EQ(platform::GetMenu(HandleOf(kWin)), platform::Menu::Null);
    EXPECT_TRUE(platform::testing::MenuBarTitles(HandleOf(kWin)).empty());
    EXPECT_EQ(bare.open().accelerators, platform::Accelerators::Null);

    ui::LoadedWindow& menu = OpenWindow(kOther, {WindowRecord(kOtherOwn), MenuRecord(Item(0), "文件", 0),
                                                 MenuRecord(Item(1), "退出", 1), At(Unit(1))});
    platform::Menu bar = platform::GetMenu(HandleOf(kOther));
    EXPECT_NE(bar, platform::Menu::Null);
    EXPECT_EQ(menu.open().menuBar, bar);
    EXPECT_EQ(platform::testing::MenuBarTitles(HandleOf(kOther)), std::vector<std::string>{"文件"});
}

TEST_F(WindowOpening, AWindowWhoseOwnUnitCannotBeCreatedDoesNotOpen)
{
    auto own = WindowRecord(kOwn);
    own.kindId = kTestMissingKind;
    AddWindow(kWin, {own, MenuRecord(Item(0), "文件", 0), At(Unit(1))});
    std::size_t windows = platform::GetTopLevelWindows().size();
    EXPECT_FALSE(ui::TheFramework().openWindow(kWin, nullptr, false));
    ui::LoadedWindow& w = *ui::TheFramework().window(kWin);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(w.find(Unit(1))->object, nullptr);
    EXPECT_EQ(w.open().menuBar, platform::Menu::Null);
    EXPECT_EQ(platform::GetTopLevelWindows().size(), windows);
    EXPECT_FALSE(ui::TheFramework().openWindow(0x52FFFFFF, nullptr, false));
}

TEST_F(WindowOpening, AModalOpeningDisablesTheOtherWindowsWhileItRuns)
{
    OpenWindow(kOther, {WindowRecord(kOtherOwn)});
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowIdle, recording(0));
    static bool otherEnabled = true;
    static std::uint32_t modalId = 0;
    Recorded().during = [] {
        otherEnabled = platform::IsWindowEnabled(HandleOf(kOther));
        modalId = runtime::TheRuntime().modalWindowId();
        platform::PostMessage(HandleOf(kWin), platform::WM_CLOSE, 0, 0);
    };
    AddWindow(kWin, {own});
    EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, true));
    // The call returns once the modal window has closed.
    EXPECT_FALSE(ui::TheFramework().window(kWin)->isOpen());
    ASSERT_FALSE(Recorded().calls.empty());
    EXPECT_FALSE(otherEnabled);
    EXPECT_EQ(modalId, kWin);
    EXPECT_EQ(runtime::TheRuntime().modalWindowId(), 0u);
}

bool IsRed(platform::ColorRef c)
{
    return (c & 0xFF) > 160 && ((c >> 8) & 0xFF) < 90 && ((c >> 16) & 0xFF) < 90;
}

TEST_F(WindowOpening, AUnitWhoseKindHasNoCodeGetsThePlaceholderPaintedInRed)
{
    auto missing = BoxRecord(Unit(1), "树型框1", 10, 10, 300, 40, kTestMissingKind);
    OpenWindow(kWin, {WindowRecord(kOwn, 360, 200), missing, At(Unit(2))});
    ui::UnitRecord* u = ui::TheFramework().unitRecord(kWin, Unit(1));
    ASSERT_NE(dynamic_cast<ui::PlaceholderUnit*>(u->object), nullptr);
    platform::Hwnd h = u->object->handle();
    EXPECT_EQ(platform::GetClassName(h), ui::kPlaceholderClass);
    EXPECT_TRUE(platform::GetWindowExStyle(h) & platform::WS_EX_TRANSPARENT);
    EXPECT_TRUE(Shown(h));
    EXPECT_TRUE(platform::IsWindow(HandleOf(kWin, Unit(2)))); // the others are made as usual

    Pump(50);
    platform::Rect r = platform::GetClientRect(h);
    bool redNearCentre = false;
    for (int dy : {-4, -2, 0, 2, 4})
        for (int x = r.width() / 2 - 60; x < r.width() / 2 + 60 && !redNearCentre; ++x)
            redNearCentre = IsRed(platform::testing::ClientPixel(h, {x, r.height() / 2 + dy}));
    EXPECT_TRUE(redNearCentre);
    for (platform::Point corner : {platform::Point{1, 1}, platform::Point{r.width() - 2, 1},
                                   platform::Point{1, r.height() - 2}, platform::Point{r.width() - 2, r.height() - 2}})
        EXPECT_FALSE(IsRed(platform::testing::ClientPixel(h, corner))) << corner.x << "," << corner.y;
    // Nothing red at the far left and right of the text's line either: it is centred.
    EXPECT_FALSE(IsRed(platform::testing::ClientPixel(h, {2, r.height() / 2})));
    EXPECT_FALSE(IsRed(platform::testing::ClientPixel(h, {r.width() - 3, r.height() / 2})));
}

} // namespace
