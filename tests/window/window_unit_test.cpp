// The window unit: its frame, its closing and destroying, menus and
// accelerators, the Tab key, and its properties.

#include "platform/icon.h"
#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/unit_commands.h"
#include "ui/framework/window_events.h"
#include "ui/units/window_unit.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using runtime::HandlerResult;
using runtime::TypedValue;

constexpr std::uint32_t kWin = 0x52000501;
constexpr std::uint32_t kOwn = 0x06000501;

std::vector<std::int32_t> g_events;
HandlerResult g_closeAnswer;
HandlerResult g_mayCloseAnswer;
std::string g_captionWhileDestroying;

HandlerResult onCloseRequested(std::span<const TypedValue>)
{
    g_events.push_back(ui::kWindowCloseRequested);
    return g_closeAnswer;
}
HandlerResult onMayClose(std::span<const TypedValue>)
{
    g_events.push_back(ui::kWindowMayClose);
    return g_mayCloseAnswer;
}
HandlerResult onDestroying(std::span<const TypedValue>)
{
    g_events.push_back(ui::kWindowDestroying);
    TypedValue caption = runtime::ReadProperty(kWin, 0, 8);
    g_captionWhileDestroying = runtime::TextOf(caption.asText());
    runtime::FreeValue(caption);
    return HandlerResult::none();
}
std::vector<std::string> g_chosen;
HandlerResult onOpen(std::span<const TypedValue>)
{
    g_chosen.push_back("open");
    return HandlerResult::none();
}
HandlerResult onQuit(std::span<const TypedValue>)
{
    g_chosen.push_back("quit");
    return HandlerResult::none();
}

ui::UnitRecord ownRecord(const ui::WindowKindData& settings, int width = 320, int height = 240)
{
    ui::UnitRecord r = WindowRecord(kOwn, width, height);
    r.kindId = ui::kinds::Window.value;
    r.kindData = settings.Write();
    return r;
}

class WindowUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRuntimeInProcess(&ui::kWindowKind);
        g_events.clear();
        g_chosen.clear();
        g_closeAnswer = HandlerResult::none();
        g_mayCloseAnswer = HandlerResult::none();
    }
    void TearDown() override
    {
        if (auto* w = ui::TheFramework().window(kWin))
            w->destroyLive();
        Pump(10);
    }
    platform::Hwnd open(std::vector<ui::UnitRecord> records, bool modal = false)
    {
        AddWindow(kWin, std::move(records));
        EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, modal));
        return HandleOf(kWin);
    }
    Handlers handlers;
};

TEST(WindowStyles, FrameFollowsTheBorderStyle)
{
    using namespace platform;
    ui::WindowKindData s;
    s.caption = "x";
    s.borderStyle = 0;
    EXPECT_TRUE(ui::StylesFor(s).style & WS_POPUP);
    EXPECT_EQ(ui::StylesFor(s).style & WS_CAPTION, 0u);
    s.borderStyle = 1;
    EXPECT_EQ(ui::StylesFor(s).style & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME);
    s.borderStyle = 2;
    EXPECT_EQ(ui::StylesFor(s).style & WS_THICKFRAME, 0u);
    EXPECT_EQ(ui::StylesFor(s).style & WS_CAPTION, WS_CAPTION);
    s.borderStyle = 4;
    EXPECT_TRUE(ui::StylesFor(s).exStyle & WS_EX_TOOLWINDOW);
    s.borderStyle = 5;
    EXPECT_TRUE(ui::StylesFor(s).exStyle & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(ui::StylesFor(s).style & WS_THICKFRAME);
    // No caption text and no control box: no caption bar; the control box
    // alone brings one, with an empty title.
    s.borderStyle = 2;
    s.caption.clear();
    s.controlBox = false;
    EXPECT_NE(ui::StylesFor(s).style & WS_CAPTION, WS_CAPTION);
    s.controlBox = true;
    EXPECT_EQ(ui::StylesFor(s).style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    s.minimizeButton = true;
    s.maximizeButton = false;
    EXPECT_TRUE(ui::StylesFor(s).style & WS_MINIMIZEBOX);
    EXPECT_FALSE(ui::StylesFor(s).style & WS_MAXIMIZEBOX);
}

TEST_F(WindowUnitTest, OuterSizeAndClientAreaFollowTheClassicFrame)
{
    ui::WindowKindData s;
    s.caption = "窗口";
    s.startPosition = 0;
    platform::Hwnd h = open({ownRecord(s, 400, 300)});
    platform::Rect outer = platform::GetWindowRect(h);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 40);
    EXPECT_EQ(outer.width(), 400);
    EXPECT_EQ(outer.height(), 300);
    EXPECT_EQ(platform::GetClientRect(h), (platform::Rect{0, 0, 394, 272}));
    EXPECT_EQ(platform::GetWindowText(h), "窗口");
    EXPECT_EQ(platform::GetClassName(h), ui::kDefaultWindowClass);
}

TEST_F(WindowUnitTest, CloseRequestVetoedByEventTwelveRaisesNoEventOne)
{
    ui::UnitRecord own = ownRecord({});
    Bind(own, ui::kWindowCloseRequested, handlers.at(handlers.add("close?", onCloseRequested)));
    Bind(own, ui::kWindowMayClose, handlers.at(handlers.add("may", onMayClose)));
    Bind(own, ui::kWindowDestroying, handlers.at(handlers.add("destroying", onDestroying)));
    platform::Hwnd h = open({own});

    g_closeAnswer = HandlerResult::logical(false);
    platform::testing::RequestClose(h);
    Pump(50);
    EXPECT_TRUE(platform::IsWindow(h));
    EXPECT_EQ(g_events, std::vector<std::int32_t>{ui::kWindowCloseRequested});

    g_closeAnswer = HandlerResult::logical(true);
    g_mayCloseAnswer = HandlerResult::logical(false);
    g_events.clear();
    platform::testing::RequestClose(h);
    Pump(50);
    EXPECT_TRUE(platform::IsWindow(h));
    EXPECT_EQ(g_events, (std::vector<std::int32_t>{ui::kWindowCloseRequested, ui::kWindowMayClose}));

    g_mayCloseAnswer = HandlerResult::none();
    g_events.clear();
    platform::SetWindowText(h, "still here");
    platform::testing::RequestClose(h);
    ASSERT_TRUE(PumpUntil([&] { return !platform::IsWindow(h); }));
    EXPECT_EQ(g_events, (std::vector<std::int32_t>{ui::kWindowCloseRequested, ui::kWindowMayClose, ui::kWindowDestroying}));
    EXPECT_EQ(g_captionWhileDestroying, "still here");
}

TEST_F(WindowUnitTest, MenuBarSkipsHiddenEntriesButKeepsTheirNumbers)
{
    ui::UnitRecord file = MenuRecord(0x26000502, "文件", 0);
    ui::UnitRecord hidden = MenuRecord(0x26000503, "隐藏", 0, ui::kMenuHidden);
    ui::UnitRecord hiddenItem = MenuRecord(0x26000504, "里面", 1);
    ui::UnitRecord tools = MenuRecord(0x26000505, "工具", 0);
    ui::UnitRecord openItem = MenuRecord(0x26000506, "打开", 1);
    openItem.shortcut = 15; // Ctrl+O
    ui::UnitRecord quitItem = MenuRecord(0x26000507, "退出", 1, ui::kMenuDisabled);
    ui::UnitRecord fileOpen = MenuRecord(0x26000508, "新建", 1);
    Bind(openItem, 0, handlers.at(handlers.add("open", onOpen)));
    Bind(quitItem, 0, handlers.at(handlers.add("quit", onQuit)));
    platform::Hwnd h = open({ownRecord({}), file, fileOpen, hidden, hiddenItem, tools, openItem, quitItem});

    EXPECT_EQ(platform::testing::MenuBarTitles(h), (std::vector<std::string>{"文件", "工具"}));
    platform::Menu bar = platform::GetMenu(h);
    platform::MenuItemInfo toolsEntry, openEntry;
    ASSERT_TRUE(platform::GetMenuItem(bar, 1, toolsEntry));
    ASSERT_TRUE(platform::GetMenuItem(toolsEntry.popup, 0, openEntry));
    EXPECT_EQ(openEntry.id, ui::kFirstMenuCommand + 5);
    EXPECT_EQ(openEntry.text, "打开\tCtrl+O");

    ASSERT_TRUE(platform::testing::ChooseMenuBarItem(h, {"工具", "打开"}));
    ASSERT_TRUE(PumpUntil([] { return !g_chosen.empty(); }));
    EXPECT_EQ(g_chosen, std::vector<std::string>{"open"});
    EXPECT_FALSE(platform::testing::ChooseMenuBarItem(h, {"工具", "退出"}));

    // The accelerator of 打开; a disabled item's command is refused.
    g_chosen.clear();
    platform::testing::Key(h, 'O', platform::testing::kControl);
    ASSERT_TRUE(PumpUntil([] { return !g_chosen.empty(); }));
    EXPECT_EQ(g_chosen, std::vector<std::string>{"open"});
    platform::SendMessage(h, platform::WM_COMMAND, ui::kFirstMenuCommand + 6, 0);
    platform::SendMessage(h, platform::WM_COMMAND, ui::kFirstMenuCommand + 99, 0);
    EXPECT_EQ(g_chosen, std::vector<std::string>{"open"});
}

TEST_F(WindowUnitTest, NoMenuRecordsNoMenuBar)
{
    platform::Hwnd h = open({ownRecord({})});
    EXPECT_EQ(platform::GetMenu(h), platform::Menu::Null);
    EXPECT_TRUE(platform::testing::MenuBarTitles(h).empty());
}

TEST_F(WindowUnitTest, TabMovesTheFocusByTabOrder)
{
    ui::UnitRecord a = BoxRecord(0x16000511, "a", 10, 10, 40, 20);
    ui::UnitRecord b = BoxRecord(0x16000512, "b", 60, 10, 40, 20);
    ui::UnitRecord c = BoxRecord(0x16000513, "c", 110, 10, 40, 20);
    ui::UnitRecord hidden = BoxRecord(0x16000514, "d", 160, 10, 40, 20);
    a.tabOrder = 2;
    b.tabOrder = 0;
    c.tabOrder = 1;
    hidden.tabOrder = 3;
    hidden.stateFlags = ui::kUnitTabStop; // not visible
    platform::Hwnd h = open({ownRecord({}), a, b, c, hidden});
    platform::Hwnd ha = HandleOf(kWin, a.id), hb = HandleOf(kWin, b.id), hc = HandleOf(kWin, c.id);
    platform::SetFocus(hb);
    ASSERT_TRUE(PumpUntil([&] { return platform::GetFocus() == hb; }));
    platform::testing::Key(h, platform::VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return platform::GetFocus() == hc; }));
    platform::testing::Key(h, platform::VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return platform::GetFocus() == ha; }));
    platform::testing::Key(h, platform::VK_TAB); // the hidden one is skipped
    EXPECT_TRUE(PumpUntil([&] { return platform::GetFocus() == hb; }));
    platform::testing::Key(h, platform::VK_TAB, platform::testing::kShift);
    EXPECT_TRUE(PumpUntil([&] { return platform::GetFocus() == ha; }));
}

TEST_F(WindowUnitTest, PropertiesTakeEffectAtOnce)
{
    ui::WindowKindData s;
    s.caption = "before";
    s.startPosition = 0;
    platform::Hwnd h = open({ownRecord(s, 300, 200)});
    runtime::WriteProperty(kWin, 0, 8, -1, TypedValue::text("after"));
    EXPECT_EQ(platform::GetWindowText(h), "after");
    TypedValue caption = runtime::ReadProperty(kWin, 0, 8);
    EXPECT_STREQ(caption.asText(), "after");
    runtime::FreeValue(caption);

    // A resizable frame is 1 px wider a side than the fixed one.
    int fixedWidth = platform::GetClientRect(h).width();
    runtime::WriteProperty(kWin, 0, 9, -1, TypedValue::integer(1));
    EXPECT_EQ(platform::GetClientRect(h).width(), fixedWidth - 2);
    EXPECT_EQ(platform::GetWindowRect(h).width(), 300);
    EXPECT_EQ(runtime::ReadProperty(kWin, 0, 9).asInt(), 1);

    runtime::WriteProperty(kWin, 0, 19, -1, TypedValue::logical(false));
    EXPECT_FALSE(platform::HasSystemCommand(h, platform::SC_MOVE));
    runtime::WriteProperty(kWin, 0, 29, -1, TypedValue::logical(true));
    EXPECT_TRUE(platform::GetWindowExStyle(h) & platform::WS_EX_TOPMOST);

    runtime::WriteProperty(kWin, 0, 18, -1, TypedValue::integer(1));
    platform::Rect r = platform::GetWindowRect(h);
    platform::Size screen = platform::GetScreenSize();
    EXPECT_EQ(r.left, (screen.cx - 300) / 2);
    EXPECT_EQ(r.top, (screen.cy - 200) / 2);
}

TEST_F(WindowUnitTest, AModalWindowIsOwnedByTheHiddenOwnerAndGivesTheOthersBack)
{
    constexpr std::uint32_t kOther = 0x52000601;
    AddWindow(kOther, {ownRecord({})});
    ui::TheFramework().window(kOther)->units()[0].id = 0x06000601;
    ASSERT_TRUE(ui::TheFramework().openWindow(kOther, nullptr, false));
    platform::Hwnd other = HandleOf(kOther);

    bool checked = false;
    platform::testing::RunWhen([&] {
        platform::Hwnd h = HandleOf(kWin);
        if (!platform::IsWindow(h) || !ui::TheFramework().window(kWin)->open().loaded)
            return false;
        EXPECT_EQ(platform::GetOwner(h), runtime::TheRuntime().hiddenOwner());
        EXPECT_FALSE(platform::IsWindowEnabled(other));
        checked = true;
        platform::testing::RequestClose(h);
        return true;
    });
    AddWindow(kWin, {ownRecord({})});
    EXPECT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, true)); // returns once closed
    EXPECT_TRUE(checked);
    EXPECT_FALSE(platform::IsWindow(HandleOf(kWin)));
    EXPECT_TRUE(platform::IsWindowEnabled(other));
    ui::TheFramework().window(kOther)->destroyLive();
}

TEST_F(WindowUnitTest, DestroyingAUnitRemovesItUntilTheWindowLoadsAgain)
{
    ui::UnitRecord box = BoxRecord(0x16000521, "框", 10, 10, 40, 20);
    ui::UnitRecord holder = BoxRecord(0x16000522, "容器", 60, 10, 80, 60, kTestComboKind); // has a child window
    holder.children = {0x16000521};
    open({ownRecord({}), box, holder});
    auto destroy = [](std::uint32_t unit) {
        TypedValue ref = TypedValue::unit({kWin, unit}, kTestBoxKind);
        ui::DestroyUnitCommand(std::span(&ref, 1));
    };
    destroy(0x16000521);
    auto* w = ui::TheFramework().window(kWin);
    EXPECT_EQ(w->find(0x16000521), nullptr);
    EXPECT_TRUE(w->find(0x16000522)->children.empty());
    // A unit whose window holds windows of its own keeps its record.
    destroy(0x16000522);
    ASSERT_NE(w->find(0x16000522), nullptr);
    EXPECT_EQ(HandleOf(kWin, 0x16000522), platform::Hwnd::Null);

    w->destroyLive();
    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_TRUE(platform::IsWindow(HandleOf(kWin, 0x16000521)));
}

TEST_F(WindowUnitTest, PopupMenuOpensThreePixelsFromTheMouseUnlessToldWhere)
{
    ui::UnitRecord top = MenuRecord(0x26000531, "隐", 0, ui::kMenuHidden);
    ui::UnitRecord item = MenuRecord(0x26000532, "项", 1);
    platform::Hwnd h = open({ownRecord({}), top, item});
    std::vector<platform::Point> at;
    platform::testing::AnswerPopupMenus([&](const platform::testing::PopupMenuInfo& info) {
        at.push_back(info.position);
        return std::string();
    });
    TypedValue args[] = {TypedValue::unit({kWin, kOwn}, ui::kinds::Window.value),
                         TypedValue::unit({kWin, 0x26000531}, ui::kinds::Menu.value), TypedValue::integer(200),
                         TypedValue::integer(150)};
    ui::PopupMenuCommand(args);
    platform::Point mouse = platform::GetCursorPos();
    ui::PopupMenuCommand(std::span(args, 2));
    // An item that owns no items shows nothing.
    TypedValue none[] = {args[0], TypedValue::unit({kWin, 0x26000532}, ui::kinds::Menu.value)};
    ui::PopupMenuCommand(none);
    platform::testing::StopAnsweringPopupMenus();
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0], (platform::Point{200, 150}));
    EXPECT_EQ(at[1], (platform::Point{mouse.x + 3, mouse.y + 3}));
    (void)h;
}

TEST_F(WindowUnitTest, WritesWhileClosedAreWhatTheNextOpeningUses)
{
    ui::UnitRecord box = BoxRecord(0x16000541, "框", 10, 10, 40, 20);
    AddWindow(kWin, {ownRecord({}), box});
    runtime::WriteProperty(kWin, 0x16000541, 0, -1, TypedValue::integer(77));
    runtime::WriteProperty(kWin, 0x16000541, 4, -1, TypedValue::text("标记"));
    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_EQ(platform::GetWindowRectInParent(HandleOf(kWin, 0x16000541)).left, 77);
    // Once the window has closed, its units go back to the template.
    ui::TheFramework().window(kWin)->destroyLive();
    EXPECT_EQ(runtime::ReadProperty(kWin, 0x16000541, 0).asInt(), 10);
    TypedValue tag = runtime::ReadProperty(kWin, 0x16000541, 4);
    EXPECT_EQ(tag.asText(), nullptr);
}

} // namespace
