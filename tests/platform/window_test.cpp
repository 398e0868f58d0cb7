#include "platform_test_support.h"

#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"
#include "platform/window_object.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

using namespace platform;
using pt::LogOf;
using pt::Seen;

class Windows : public pt::PlatformTest {};

constexpr std::uint32_t kFixed = WS_CAPTION | WS_SYSMENU;
constexpr std::uint32_t kResizable = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

std::vector<std::pair<Hwnd, std::uint32_t>> lifecycle()
{
    std::vector<std::pair<Hwnd, std::uint32_t>> out;
    for (const Seen& s : LogOf({WM_DESTROY, WM_NCDESTROY}))
        out.emplace_back(s.hwnd, s.message);
    return out;
}

// ---- creation, the window tree and destruction ----

TEST_F(Windows, CreationSendsNcCreateThenCreateWithTheParameters)
{
    int param = 0;
    pt::SetMessageHook([&](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_NCCREATE || s.message == WM_CREATE) {
            auto* cs = reinterpret_cast<const CreateStruct*>(s.lParam);
            EXPECT_EQ(cs->createParam, &param);
            EXPECT_EQ(cs->width, 120);
            EXPECT_EQ(cs->text, "标题");
            EXPECT_EQ(cs->className, pt::RecorderClass());
        }
        return std::nullopt;
    });
    WindowCreateParams p;
    p.className = pt::RecorderClass();
    p.text = "标题";
    p.style = kFixed;
    p.width = 120;
    p.height = 90;
    p.createParam = &param;
    Hwnd h = CreateWindowEx(p);
    ASSERT_TRUE(IsWindow(h));
    auto created = LogOf(h, {WM_NCCREATE, WM_CREATE});
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].message, WM_NCCREATE);
    EXPECT_EQ(created[1].message, WM_CREATE);
    EXPECT_EQ(GetWindowText(h), "标题");
    EXPECT_EQ(GetClassName(h), pt::RecorderClass());
}

TEST_F(Windows, CreationFailsCleanlyForBadClassParentOrRefusal)
{
    WindowCreateParams p;
    p.className = "NoSuchClass";
    EXPECT_EQ(CreateWindowEx(p), Hwnd::Null);
    p.className = pt::RecorderClass();
    p.style = WS_CHILD;
    p.parent = Hwnd(0x7FFFFF01);
    EXPECT_EQ(CreateWindowEx(p), Hwnd::Null);

    std::size_t before = GetTopLevelWindows().size();
    pt::SetMessageHook([](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_NCCREATE)
            return 0;
        return std::nullopt;
    });
    EXPECT_EQ(pt::MakeTopLevel(), Hwnd::Null);
    pt::SetMessageHook([](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_CREATE)
            return -1;
        return std::nullopt;
    });
    EXPECT_EQ(pt::MakeTopLevel(), Hwnd::Null);
    EXPECT_EQ(GetTopLevelWindows().size(), before);
    // The refused window was still told it is destroyed.
    EXPECT_FALSE(LogOf({WM_NCDESTROY}).empty());
}

TEST_F(Windows, ParentOwnerAndTopLevelRelations)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd grandchild = pt::MakeChild(child, {0, 0, 10, 10});
    Hwnd owned = pt::MakeTopLevel(kFixed, 0, {0, 0, 100, 100}, grandchild);

    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetParent(grandchild), child);
    EXPECT_EQ(GetParent(top), Hwnd::Null);
    EXPECT_EQ(GetOwner(owned), top); // the owner is always a top-level window
    EXPECT_EQ(GetParent(owned), Hwnd::Null);
    EXPECT_EQ(GetOwner(child), Hwnd::Null);
    EXPECT_EQ(GetTopLevel(grandchild), top);
    EXPECT_TRUE(IsChild(top, grandchild));
    EXPECT_FALSE(IsChild(grandchild, top));
    EXPECT_FALSE(IsChild(top, owned));
    EXPECT_EQ(GetChildWindows(top), std::vector<Hwnd>{child});

    auto tops = GetTopLevelWindows();
    auto posTop = std::find(tops.begin(), tops.end(), top);
    auto posOwned = std::find(tops.begin(), tops.end(), owned);
    ASSERT_NE(posTop, tops.end());
    EXPECT_LT(posTop, posOwned);
    EXPECT_EQ(std::find(tops.begin(), tops.end(), child), tops.end());
}

TEST_F(Windows, DestroyGoesOwnedFirstThenParentBeforeChildrenThenInnermostOut)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd a = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd a1 = pt::MakeChild(a, {0, 0, 10, 10});
    Hwnd b = pt::MakeChild(top, {60, 0, 50, 50});
    Hwnd owned = pt::MakeTopLevel(kFixed, 0, {0, 0, 100, 100}, top);
    Hwnd ownedChild = pt::MakeChild(owned, {0, 0, 10, 10});
    pt::Log().clear();

    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<Hwnd, std::uint32_t>> expected = {
        {owned, WM_DESTROY},   {ownedChild, WM_DESTROY}, {ownedChild, WM_NCDESTROY}, {owned, WM_NCDESTROY},
        {top, WM_DESTROY},     {a, WM_DESTROY},          {a1, WM_DESTROY},           {b, WM_DESTROY},
        {a1, WM_NCDESTROY},    {a, WM_NCDESTROY},        {b, WM_NCDESTROY},          {top, WM_NCDESTROY},
    };
    EXPECT_EQ(lifecycle(), expected);
    for (Hwnd h : {top, a, a1, b, owned, ownedChild})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(Windows, ChildrenStillExistWhileTheParentHandlesDestroy)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 50, 50});
    bool childAlive = false;
    std::vector<Hwnd> childrenSeen;
    pt::SetMessageHook([&](const Seen& s) -> std::optional<LResult> {
        if (s.hwnd == top && s.message == WM_DESTROY) {
            childAlive = IsWindow(child);
            childrenSeen = GetChildWindows(top);
            EXPECT_FALSE(DestroyWindow(top)); // already going
        }
        return std::nullopt;
    });
    DestroyWindow(top);
    EXPECT_TRUE(childAlive);
    EXPECT_EQ(childrenSeen, std::vector<Hwnd>{child});
}

TEST_F(Windows, DestroyingAChildLeavesTheParentAndItsSiblings)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd a = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd b = pt::MakeChild(top, {60, 0, 50, 50});
    ASSERT_TRUE(DestroyWindow(a));
    EXPECT_TRUE(IsWindow(top));
    EXPECT_TRUE(IsWindow(b));
    EXPECT_EQ(GetChildWindows(top), std::vector<Hwnd>{b});
}

TEST_F(Windows, HandlesAreNeverReused)
{
    std::set<Hwnd> gone;
    for (int i = 0; i < 20; ++i) {
        Hwnd top = pt::MakeTopLevel();
        Hwnd child = pt::MakeChild(top, {0, 0, 5, 5});
        EXPECT_FALSE(gone.count(top));
        EXPECT_FALSE(gone.count(child));
        DestroyWindow(top);
        gone.insert(top);
        gone.insert(child);
    }
    for (Hwnd h : gone) {
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(GetWindowText(h), "");
        EXPECT_EQ(GetWindowRect(h), Rect{});
        EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 0);
    }
    // Handles fit the 32-bit integer slots handlers pass them in.
    EXPECT_LT(std::uintptr_t(pt::MakeTopLevel()), std::uintptr_t(0x7FFFFFFF));
}

TEST_F(Windows, AHiddenOwnerToolWindowHasNoCaptionAndNoSize)
{
    WindowCreateParams p;
    p.className = pt::RecorderClass();
    p.exStyle = WS_EX_TOOLWINDOW;
    p.style = WS_OVERLAPPED;
    Hwnd hidden = CreateWindowEx(p);
    ASSERT_TRUE(IsWindow(hidden));
    EXPECT_EQ(GetWindowRect(hidden), Rect{});
    EXPECT_EQ(GetClientRect(hidden), Rect{});
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowExStyle(hidden) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);

    Hwnd owned = pt::MakeTopLevel(kFixed, 0, {0, 0, 200, 100}, hidden);
    EXPECT_EQ(GetOwner(owned), hidden);
    DestroyWindow(hidden);
    EXPECT_FALSE(IsWindow(owned));
}

// ---- geometry ----

TEST_F(Windows, FixedFrameWithCaption)
{
    Hwnd h = pt::MakeTopLevel(kFixed, 0, {100, 80, 500, 380});
    EXPECT_EQ(GetWindowRect(h), (Rect{100, 80, 500, 380}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 400 - 6, 300 - 6 - 22}));
    EXPECT_EQ(ClientToScreen(h, {0, 0}), (Point{103, 105}));
    EXPECT_EQ(ScreenToClient(h, {113, 125}), (Point{10, 20}));
    ShowWindow(h, SW_SHOW);
    pt::DispatchFor(20);
    EXPECT_EQ(GetWindowRect(h), (Rect{100, 80, 500, 380}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 394, 272}));
}

TEST_F(Windows, ResizableFrameAndSunkenClientEdge)
{
    Hwnd resizable = pt::MakeTopLevel(kResizable, 0, {0, 0, 400, 300});
    EXPECT_EQ(GetWindowRect(resizable), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(GetClientRect(resizable), (Rect{0, 0, 392, 270}));
    Hwnd sunken = pt::MakeTopLevel(kFixed, WS_EX_CLIENTEDGE, {0, 0, 400, 300});
    EXPECT_EQ(GetClientRect(sunken), (Rect{0, 0, 390, 268}));
    Hwnd bare = pt::MakeTopLevel(WS_POPUP, 0, {10, 10, 110, 60});
    EXPECT_EQ(GetClientRect(bare), (Rect{0, 0, 100, 50}));
    EXPECT_EQ(ClientToScreen(bare, {0, 0}), (Point{10, 10}));
}

TEST_F(Windows, AMenuBarTakesTwentyPixelsOfTheClientArea)
{
    Menu bar = CreateMenu();
    Menu file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 100, "打开");
    AppendMenu(bar, MF_POPUP, std::uintptr_t(file), "文件");
    Hwnd h = pt::MakeTopLevel(kFixed, 0, {50, 50, 450, 350}, Hwnd::Null, bar);
    EXPECT_EQ(GetWindowRect(h), (Rect{50, 50, 450, 350}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 394, 252}));
    EXPECT_EQ(ClientToScreen(h, {0, 0}), (Point{53, 50 + 3 + 22 + 20}));
    ShowWindow(h, SW_SHOW);
    pt::DispatchFor(20);
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 394, 252}));
}

TEST_F(Windows, ChangingFrameStylesKeepsTheOuterRectangle)
{
    Hwnd h = pt::MakeTopLevel(kFixed, 0, {10, 10, 410, 310});
    SetWindowStyle(h, kResizable);
    EXPECT_EQ(GetWindowRect(h), (Rect{10, 10, 410, 310}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 392, 270}));
    SetWindowStyle(h, WS_POPUP);
    EXPECT_EQ(GetWindowRect(h), (Rect{10, 10, 410, 310}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 400, 300}));
    SetWindowExStyle(h, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 396, 296}));
}

TEST_F(Windows, MovingATopLevelWindowReportsTheClientArea)
{
    Hwnd h = pt::MakeTopLevel(kFixed, 0, {100, 80, 500, 380});
    pt::Log().clear();
    ASSERT_TRUE(MoveWindow(h, 10, 20, 300, 200));
    EXPECT_EQ(GetWindowRect(h), (Rect{10, 20, 310, 220}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 294, 172}));
    auto sizes = LogOf(h, {WM_SIZE});
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().lParam, MakeLParam(294, 172));
    auto moves = LogOf(h, {WM_MOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(PointFromLParam(moves.back().lParam), (Point{13, 45}));

    // Moving only: no WM_SIZE.
    pt::Log().clear();
    SetWindowPos(h, Hwnd::Null, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(GetWindowRect(h), (Rect{30, 40, 330, 240}));
    EXPECT_TRUE(LogOf(h, {WM_SIZE}).empty());
    EXPECT_EQ(LogOf(h, {WM_MOVE}).size(), 1u);
}

TEST_F(Windows, ChildRectanglesInParentAndScreenCoordinates)
{
    Hwnd top = pt::MakeTopLevel(kFixed, 0, {100, 80, 500, 380});
    Hwnd child = pt::MakeChild(top, {10, 20, 110, 70});
    Hwnd inner = pt::MakeChild(child, {5, 5, 25, 15});
    EXPECT_EQ(GetWindowRectInParent(child), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(GetWindowRect(child), (Rect{113, 125, 213, 175}));
    EXPECT_EQ(GetClientRect(child), (Rect{0, 0, 100, 50}));
    EXPECT_EQ(GetWindowRect(inner), (Rect{118, 130, 138, 140}));
    EXPECT_EQ(ClientToScreen(inner, {1, 2}), (Point{119, 132}));

    pt::Log().clear();
    MoveWindow(child, 30, 40, 60, 30);
    EXPECT_EQ(GetWindowRectInParent(child), (Rect{30, 40, 90, 70}));
    auto sizes = LogOf(child, {WM_SIZE});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MakeLParam(60, 30));
    auto moves = LogOf(child, {WM_MOVE});
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(PointFromLParam(moves[0].lParam), (Point{30, 40}));
}

// ---- parent changes and z-order ----

TEST_F(Windows, SetParentKeepsPositionAndVisibility)
{
    Hwnd first = pt::MakeTopLevel();
    Hwnd second = pt::MakeTopLevel();
    Hwnd existing = pt::MakeChild(second, {0, 0, 10, 10});
    Hwnd shown = pt::MakeChild(first, {10, 20, 60, 50});
    Hwnd hidden = pt::MakeChild(first, {30, 40, 50, 60}, WS_CHILD);

    ASSERT_TRUE(SetParent(shown, second));
    ASSERT_TRUE(SetParent(hidden, second));
    EXPECT_EQ(GetParent(shown), second);
    EXPECT_TRUE(GetChildWindows(first).empty());
    EXPECT_EQ(GetChildWindows(second), (std::vector<Hwnd>{hidden, shown, existing}));
    EXPECT_EQ(GetWindowRectInParent(shown), (Rect{10, 20, 60, 50}));
    EXPECT_EQ(GetWindowRectInParent(hidden), (Rect{30, 40, 50, 60}));
    EXPECT_TRUE(GetWindowStyle(shown) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowStyle(hidden) & WS_VISIBLE);

    // Not into itself or its own descendants.
    Hwnd grandchild = pt::MakeChild(shown, {0, 0, 5, 5});
    EXPECT_FALSE(SetParent(shown, grandchild));
    EXPECT_FALSE(SetParent(shown, shown));
    EXPECT_EQ(GetParent(shown), second);
    // Destroying the new parent takes the moved child along.
    DestroyWindow(second);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_TRUE(IsWindow(first));
}

TEST_F(Windows, SetWindowPosPlacesChildrenInTheZOrder)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd a = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd b = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd c = pt::MakeChild(top, {0, 0, 50, 50});
    constexpr std::uint32_t kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    EXPECT_EQ(GetChildWindows(top), (std::vector<Hwnd>{a, b, c}));
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, kOnlyOrder);
    EXPECT_EQ(GetChildWindows(top), (std::vector<Hwnd>{c, a, b}));
    SetWindowPos(c, a, 0, 0, 0, 0, kOnlyOrder);
    EXPECT_EQ(GetChildWindows(top), (std::vector<Hwnd>{a, c, b}));
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
    EXPECT_EQ(GetChildWindows(top), (std::vector<Hwnd>{c, b, a}));
    SetWindowPos(b, HWND_TOP, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(GetChildWindows(top), (std::vector<Hwnd>{c, b, a}));
    EXPECT_EQ(GetWindowRectInParent(b), (Rect{5, 5, 55, 55}));
}

TEST_F(Windows, TheTopOfTheZOrderGetsTheClick)
{
    Hwnd top = pt::MakeShownTopLevel();
    Hwnd a = pt::MakeChild(top, {10, 10, 60, 60});
    Hwnd b = pt::MakeChild(top, {10, 10, 60, 60});
    pt::DispatchFor(10);
    auto clickedWindow = [&] {
        pt::Log().clear();
        platform::testing::Click(top, {30, 30});
        pt::DispatchUntil([] { return !LogOf({WM_LBUTTONUP}).empty(); }, 1000);
        auto downs = LogOf({WM_LBUTTONDOWN});
        return downs.empty() ? Hwnd::Null : downs.front().hwnd;
    };
    EXPECT_EQ(clickedWindow(), a); // a new child goes below its older siblings
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(clickedWindow(), b);
    SetWindowPos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(clickedWindow(), a);
}

TEST_F(Windows, TopmostPlacementChangesNeitherPositionNorSize)
{
    Hwnd h = pt::MakeTopLevel(kFixed, 0, {20, 30, 220, 230});
    constexpr std::uint32_t kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ASSERT_TRUE(SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder));
    EXPECT_TRUE(GetWindowExStyle(h) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowRect(h), (Rect{20, 30, 220, 230}));
    EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 194, 172}));
    ASSERT_TRUE(SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder));
    EXPECT_FALSE(GetWindowExStyle(h) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowRect(h), (Rect{20, 30, 220, 230}));
}

TEST_F(Windows, MinimizedAndMaximizedStates)
{
    Hwnd h = pt::MakeTopLevel(kResizable | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, {20, 30, 320, 230});
    ShowWindow(h, SW_SHOWMINIMIZED);
    EXPECT_TRUE(pt::DispatchUntil([h] { return IsIconic(h); }, 1000));
    EXPECT_TRUE(GetWindowStyle(h) & WS_MINIMIZE);
    // A minimized window keeps the rectangle it is restored to.
    EXPECT_EQ(GetWindowRect(h), (Rect{20, 30, 320, 230}));
    ShowWindow(h, SW_RESTORE);
    EXPECT_TRUE(pt::DispatchUntil([h] { return !IsIconic(h); }, 1000));
    ShowWindow(h, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(pt::DispatchUntil([h] { return IsZoomed(h); }, 1000));
    EXPECT_TRUE(GetWindowStyle(h) & WS_MAXIMIZE);
    ShowWindow(h, SW_RESTORE);
    EXPECT_TRUE(pt::DispatchUntil([h] { return !IsZoomed(h); }, 1000));
    EXPECT_EQ(GetWindowRect(h), (Rect{20, 30, 320, 230}));
    // Child windows are never minimized or maximized.
    Hwnd child = pt::MakeChild(h, {0, 0, 10, 10}, WS_CHILD);
    ShowWindow(child, SW_SHOWMAXIMIZED);
    EXPECT_FALSE(IsZoomed(child));
    EXPECT_TRUE(GetWindowStyle(child) & WS_VISIBLE);
}

// ---- visibility, enabled state, focus ----

TEST_F(Windows, ShowWindowReportsThePreviousStateAndTellsTheWindow)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 10, 10}, WS_CHILD);
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_TRUE(ShowWindow(top, SW_SHOW));
    EXPECT_FALSE(ShowWindow(child, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(top, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child)); // its parent is hidden
    EXPECT_TRUE(GetWindowStyle(child) & WS_VISIBLE);
    EXPECT_FALSE(ShowWindow(top, SW_HIDE));

    std::vector<std::pair<Hwnd, WParam>> shows;
    for (const Seen& s : LogOf({WM_SHOWWINDOW}))
        shows.emplace_back(s.hwnd, s.wParam);
    EXPECT_EQ(shows, (std::vector<std::pair<Hwnd, WParam>>{{top, 1}, {child, 1}, {top, 0}}));
}

TEST_F(Windows, AChildCreatedWithoutVisibleStaysHiddenWhenItsParentIsShown)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd hidden = pt::MakeChild(top, {0, 0, 10, 10}, WS_CHILD);
    Hwnd shown = pt::MakeChild(top, {0, 0, 10, 10});
    ShowWindow(top, SW_SHOWNA);
    pt::DispatchFor(20);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(IsWindowVisible(shown));
    // A hidden child under a hidden parent keeps its state through both.
    ShowWindow(top, SW_HIDE);
    ShowWindow(shown, SW_HIDE);
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(shown));
    EXPECT_FALSE(IsWindowVisible(hidden));
}

TEST_F(Windows, EnableWindowReportsThePreviousStateAndTellsTheWindow)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 10, 10});
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(EnableWindow(child, false)); // was enabled
    EXPECT_TRUE(EnableWindow(child, false));  // was disabled
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(GetWindowStyle(child) & WS_DISABLED);
    EXPECT_TRUE(EnableWindow(child, true));
    EXPECT_TRUE(IsWindowEnabled(child));
    std::vector<WParam> enables;
    for (const Seen& s : LogOf(child, {WM_ENABLE}))
        enables.push_back(s.wParam);
    EXPECT_EQ(enables, (std::vector<WParam>{0, 1}));

    Hwnd born = pt::MakeChild(top, {0, 0, 10, 10}, WS_CHILD | WS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(born));
}

TEST_F(Windows, AChildKeepsItsOwnEnabledStateWhileItsParentIsDisabled)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 10, 10});
    Hwnd off = pt::MakeChild(top, {0, 0, 10, 10});
    EnableWindow(off, false);
    EnableWindow(top, false);
    EXPECT_FALSE(IsWindowEnabled(top));
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(IsWindowEnabled(off));
    EXPECT_FALSE(EnableWindow(child, true)); // it was not disabled itself
    EnableWindow(top, true);
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(IsWindowEnabled(off));
}

TEST_F(Windows, ADisabledWindowGetsNoInput)
{
    Hwnd top = pt::MakeShownTopLevel();
    Hwnd child = pt::MakeChild(top, {10, 10, 60, 60});
    pt::DispatchFor(10);
    EnableWindow(child, false);
    pt::Log().clear();
    platform::testing::Click(top, {30, 30});
    platform::testing::DoubleClick(top, {30, 30});
    platform::testing::Wheel(child, {5, 5}, 120);
    pt::DispatchFor(100);
    EXPECT_TRUE(LogOf(child, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL}).empty());

    EnableWindow(child, true);
    platform::testing::Click(top, {30, 30});
    EXPECT_TRUE(pt::DispatchUntil([child] { return !LogOf(child, {WM_LBUTTONUP}).empty(); }, 1000));
}

TEST_F(Windows, FocusMovesWithSetFocusAndBothWindowsAreTold)
{
    Hwnd top = pt::MakeShownTopLevel();
    Hwnd a = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd b = pt::MakeChild(top, {60, 0, 50, 50});
    SetFocus(a);
    ASSERT_TRUE(pt::DispatchUntil([a] { return GetFocus() == a; }, 1000));
    pt::Log().clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_TRUE(pt::DispatchUntil([b] { return GetFocus() == b; }, 1000));
    auto kill = LogOf(a, {WM_KILLFOCUS});
    auto set = LogOf(b, {WM_SETFOCUS});
    ASSERT_EQ(kill.size(), 1u);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(Hwnd(kill[0].wParam), b);
    EXPECT_EQ(Hwnd(set[0].wParam), a);
    // A window that goes away loses the focus without a message to it.
    DestroyWindow(b);
    EXPECT_NE(GetFocus(), b);
}

// ---- text, data and procedures ----

TEST_F(Windows, WindowTextRoundTripsGbk)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 10, 10});
    const std::string texts[] = {"", "abc", "节点管理", "内容：𠀀 ok", std::string(3000, 'x') + "尾"};
    for (Hwnd h : {top, child}) {
        for (const std::string& t : texts) {
            EXPECT_TRUE(SetWindowText(h, t));
            EXPECT_EQ(GetWindowText(h), t);
        }
    }
    auto sets = LogOf(top, {WM_SETTEXT});
    EXPECT_EQ(sets.size(), std::size(texts));
    EXPECT_FALSE(SetWindowText(Hwnd(0x7FFFFF03), "x"));
}

TEST_F(Windows, GetWindowTextAsksTheWindow)
{
    Hwnd h = pt::MakeTopLevel();
    static const char kAnswer[] = "代答";
    pt::SetMessageHook([](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_GETTEXTLENGTH)
            return LResult(sizeof kAnswer - 1);
        if (s.message == WM_GETTEXT) {
            std::size_t n = std::min<std::size_t>(sizeof kAnswer - 1, s.wParam - 1);
            std::memcpy(reinterpret_cast<char*>(s.lParam), kAnswer, n);
            reinterpret_cast<char*>(s.lParam)[n] = 0;
            return LResult(n);
        }
        return std::nullopt;
    });
    EXPECT_EQ(GetWindowText(h), kAnswer);
}

TEST_F(Windows, UserDataAndSubclassedProcedures)
{
    Hwnd h = pt::MakeTopLevel();
    SetWindowUserData(h, 0xABCDEF);
    EXPECT_EQ(GetWindowUserData(h), 0xABCDEFu);

    static WndProc previous = nullptr;
    static int seenBySubclass = 0;
    WndProc subclass = [](Hwnd hwnd, std::uint32_t m, WParam w, LParam l) -> LResult {
        if (m == WM_USER + 1) {
            ++seenBySubclass;
            return 99;
        }
        return CallWindowProc(previous, hwnd, m, w, l);
    };
    previous = SetWindowProc(h, subclass);
    EXPECT_EQ(GetWindowProc(h), subclass);
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 99);
    SendMessage(h, WM_USER + 2, 0, 0);
    EXPECT_EQ(seenBySubclass, 1);
    EXPECT_EQ(LogOf(h, {WM_USER + 2}).size(), 1u); // passed on to the class procedure
    EXPECT_TRUE(LogOf(h, {WM_USER + 1}).empty());
    SetWindowProc(h, previous);
}

// ---- window objects ----

class RecordingObject : public WindowObject {
public:
    std::vector<std::uint32_t> messages;
    bool* gone = nullptr;
    bool deleteWhenGone = false;
    Hwnd handleWhenGone = Hwnd(1);

    LResult windowProc(std::uint32_t message, WParam w, LParam l) override
    {
        messages.push_back(message);
        return defaultProc(message, w, l);
    }

protected:
    void onWindowGone() override
    {
        handleWhenGone = handle();
        if (gone)
            *gone = true;
        if (deleteWhenGone)
            delete this;
    }
};

TEST_F(Windows, AnObjectAttachedAtCreationSeesTheFirstMessages)
{
    RecordingObject object;
    WindowCreateParams p;
    p.className = pt::RecorderClass();
    p.style = kFixed;
    Hwnd h = CreateWindowEx(p, &object);
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(object.handle(), h);
    EXPECT_EQ(WindowObject::fromHandle(h), &object);
    ASSERT_GE(object.messages.size(), 2u);
    EXPECT_EQ(object.messages[0], WM_NCCREATE);
    EXPECT_EQ(object.messages[1], WM_CREATE);
    // The class procedure still gets what the object passes on.
    EXPECT_EQ(LogOf(h, {WM_CREATE}).size(), 1u);

    bool gone = false;
    object.gone = &gone;
    DestroyWindow(h);
    EXPECT_TRUE(gone);
    EXPECT_EQ(object.handleWhenGone, Hwnd::Null);
    EXPECT_EQ(object.handle(), Hwnd::Null);
    EXPECT_EQ(object.messages.back(), WM_NCDESTROY);
}

TEST_F(Windows, AttachDetachAndFromHandle)
{
    Hwnd a = pt::MakeTopLevel();
    Hwnd b = pt::MakeTopLevel();
    RecordingObject first, second;
    EXPECT_EQ(WindowObject::fromHandle(a), nullptr);
    ASSERT_TRUE(first.attach(a));
    EXPECT_FALSE(second.attach(a)); // the window is bound already
    EXPECT_FALSE(first.attach(b));  // so is the object
    EXPECT_FALSE(second.attach(Hwnd(0x7FFFFF05)));
    EXPECT_EQ(WindowObject::fromHandle(a), &first);

    SendMessage(a, WM_USER + 3, 0, 0);
    EXPECT_EQ(first.messages, std::vector<std::uint32_t>{WM_USER + 3});
    EXPECT_EQ(first.detach(), a);
    EXPECT_EQ(WindowObject::fromHandle(a), nullptr);
    SendMessage(a, WM_USER + 4, 0, 0);
    EXPECT_EQ(first.messages.size(), 1u);
    EXPECT_EQ(LogOf(a, {WM_USER + 3, WM_USER + 4}).size(), 2u);

    {
        RecordingObject scoped;
        ASSERT_TRUE(scoped.attach(b));
    } // its destructor unbinds it
    EXPECT_EQ(WindowObject::fromHandle(b), nullptr);
    EXPECT_EQ(SendMessage(b, WM_USER + 5, 0, 0), 0);
}

TEST_F(Windows, AnObjectMayDeleteItselfWhenItsWindowIsGone)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 10, 10});
    bool topGone = false, childGone = false;
    auto* topObject = new RecordingObject;
    auto* childObject = new RecordingObject;
    topObject->gone = &topGone;
    childObject->gone = &childGone;
    topObject->deleteWhenGone = childObject->deleteWhenGone = true;
    ASSERT_TRUE(topObject->attach(top));
    ASSERT_TRUE(childObject->attach(child));
    DestroyWindow(top);
    EXPECT_TRUE(topGone);
    EXPECT_TRUE(childGone);
}

TEST_F(Windows, DeferredObjectDeletionWaitsForTheFrameworkIdle)
{
    bool deleted = false;
    struct Flagged : WindowObject {
        bool* flag = nullptr;
        ~Flagged() override { *flag = true; }
    };
    auto* o = new Flagged;
    o->flag = &deleted;
    DeleteWindowObjectLater(o);
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(FrameworkIdle(0));
    EXPECT_TRUE(deleted);
}

} // namespace
