#include "platform_test_support.h"

#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"

namespace {

using namespace platform;
namespace drive = platform::testing;
using pt::LogOf;
using pt::Seen;

class Menus : public pt::PlatformTest {
protected:
    void SetUp() override
    {
        pt::PlatformTest::SetUp();
        owner = pt::MakeShownTopLevel();
    }

    // 新建 (100), a separator, 删除 (101, greyed), 选中 (102, checked),
    // and 更多 opening a submenu with 甲 (103).
    Menu contextMenu()
    {
        Menu more = CreatePopupMenu();
        AppendMenu(more, MF_STRING, 103, "甲");
        Menu menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, 100, "新建");
        AppendMenu(menu, MF_SEPARATOR, 0, "");
        AppendMenu(menu, MF_STRING | MF_GRAYED, 101, "删除");
        AppendMenu(menu, MF_STRING | MF_CHECKED, 102, "选中\tCtrl+D");
        AppendMenu(menu, MF_POPUP, std::uintptr_t(more), "更多");
        return menu;
    }

    // The WM_COMMAND numbers waiting in the queue for the owner, removed.
    std::vector<WParam> queuedCommands()
    {
        std::vector<WParam> out;
        Msg m;
        while (PeekMessage(m, PM_REMOVE))
            if (m.message == WM_COMMAND && m.hwnd == owner)
                out.push_back(m.wParam);
        return out;
    }

    Hwnd owner = Hwnd::Null;
};

TEST_F(Menus, APopupMenuPostsTheChosenCommandToItsOwner)
{
    Menu menu = contextMenu();
    drive::PopupMenuInfo seen;
    drive::AnswerPopupMenus([&](const drive::PopupMenuInfo& info) {
        seen = info;
        return std::string("新建");
    });
    EXPECT_NE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 150, 160, owner), 0u);
    EXPECT_EQ(queuedCommands(), std::vector<WParam>{100});
    EXPECT_EQ(seen.items, (std::vector<std::string>{"新建", "-", "删除", "选中\tCtrl+D", "更多"}));
    EXPECT_EQ(seen.enabled, (std::vector<bool>{true, true, false, true, true}));
    EXPECT_EQ(seen.checked, (std::vector<bool>{false, false, false, true, false}));
    EXPECT_EQ(seen.submenu, (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(seen.position, (Point{150, 160}));
    DestroyMenu(menu);
}

TEST_F(Menus, ReturnCmdAnswersTheCommandInsteadOfPostingIt)
{
    Menu menu = contextMenu();
    drive::AnswerPopupMenus([](const drive::PopupMenuInfo&) { return std::string("选中\tCtrl+D"); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 10, 10, owner), 102u);
    EXPECT_TRUE(queuedCommands().empty());
    DestroyMenu(menu);
}

TEST_F(Menus, NothingChosenOrAGreyedItemGivesNoCommand)
{
    Menu menu = contextMenu();
    for (const char* choice : {"", "删除", "更多"}) {
        drive::AnswerPopupMenus([choice](const drive::PopupMenuInfo&) { return std::string(choice); });
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, owner), 0u) << choice;
        EXPECT_EQ(TrackPopupMenu(menu, 0, 10, 10, owner), 0u) << choice;
        EXPECT_TRUE(queuedCommands().empty()) << choice;
    }
    DestroyMenu(menu);
}

TEST_F(Menus, AnEmptyOrUnknownMenuShowsNothing)
{
    bool shown = false;
    drive::AnswerPopupMenus([&](const drive::PopupMenuInfo&) {
        shown = true;
        return std::string();
    });
    Menu empty = CreatePopupMenu();
    EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, owner), 0u);
    DestroyMenu(empty);
    EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, owner), 0u);
    EXPECT_FALSE(shown);
}

TEST_F(Menus, MenuRecordsAndTheirOwnership)
{
    Menu sub = CreatePopupMenu();
    Menu bar = CreateMenu();
    EXPECT_TRUE(AppendMenu(sub, MF_STRING, 7, "项"));
    EXPECT_TRUE(AppendMenu(bar, MF_POPUP | MF_GRAYED, std::uintptr_t(sub), "文件"));
    EXPECT_FALSE(AppendMenu(bar, MF_POPUP, std::uintptr_t(bar), "自己")); // not into itself
    EXPECT_FALSE(AppendMenu(bar, MF_POPUP, 0x7FFFFF, "无"));
    EXPECT_FALSE(AppendMenu(Menu(0x7FFFFF), MF_STRING, 1, "x"));
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    MenuItemInfo item;
    ASSERT_TRUE(GetMenuItem(bar, 0, item));
    EXPECT_EQ(item.popup, sub);
    EXPECT_EQ(item.id, 0u);
    EXPECT_EQ(item.text, "文件");
    EXPECT_TRUE(item.flags & MF_GRAYED);
    ASSERT_TRUE(GetMenuItem(sub, 0, item));
    EXPECT_EQ(item.id, 7u);
    EXPECT_FALSE(GetMenuItem(sub, 1, item));
    EXPECT_FALSE(GetMenuItem(sub, -1, item));
    // Destroying a menu takes the pop-up menus it owns along.
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetMenuItemCount(bar), -1);
}

TEST_F(Menus, AMenuBarKeepsTheOuterSizeAndTakesTwentyPixelsOfTheClient)
{
    Rect outer = GetWindowRect(owner);
    Rect client = GetClientRect(owner);
    Menu bar = CreateMenu();
    Menu file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 20000, "打开\tCtrl+O");
    AppendMenu(bar, MF_POPUP, std::uintptr_t(file), "文件");
    Menu edit = CreatePopupMenu();
    AppendMenu(edit, MF_STRING, 20001, "复制");
    AppendMenu(bar, MF_POPUP | MF_GRAYED, std::uintptr_t(edit), "编辑");

    ASSERT_TRUE(SetMenu(owner, bar));
    EXPECT_EQ(GetMenu(owner), bar);
    EXPECT_EQ(GetWindowRect(owner), outer);
    EXPECT_EQ(GetClientRect(owner), (Rect{0, 0, client.width(), client.height() - 20}));
    EXPECT_EQ(drive::MenuBarTitles(owner), (std::vector<std::string>{"文件", "编辑"}));

    ASSERT_TRUE(SetMenu(owner, Menu::Null));
    EXPECT_EQ(GetWindowRect(owner), outer);
    EXPECT_EQ(GetClientRect(owner), client);
    EXPECT_TRUE(drive::MenuBarTitles(owner).empty());
    // Not attached any more: the menu is the caller's to destroy.
    EXPECT_TRUE(IsMenu(bar));
    DestroyMenu(bar);
    EXPECT_FALSE(SetMenu(owner, bar));
    Hwnd child = pt::MakeChild(owner, {0, 0, 10, 10});
    EXPECT_FALSE(SetMenu(child, CreateMenu()));
}

TEST_F(Menus, AWindowDestroysItsAttachedMenuBar)
{
    Menu bar = CreateMenu();
    Menu file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 1, "x");
    AppendMenu(bar, MF_POPUP, std::uintptr_t(file), "文件");
    Hwnd h = pt::MakeTopLevel(WS_CAPTION, 0, {0, 0, 200, 200}, Hwnd::Null, bar);
    DestroyWindow(h);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(file));
}

TEST_F(Menus, ChoosingFromTheMenuBarPostsTheCommand)
{
    Menu bar = CreateMenu();
    Menu file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 20000, "打开\tCtrl+O");
    AppendMenu(file, MF_STRING, 20001, "关闭");
    AppendMenu(bar, MF_POPUP, std::uintptr_t(file), "文件");
    ASSERT_TRUE(SetMenu(owner, bar));
    pt::DispatchFor(20);
    std::vector<std::string> offered;
    drive::AnswerPopupMenus([&](const drive::PopupMenuInfo& info) {
        offered = info.items;
        return std::string("关闭");
    });
    // The bar lies above the client area.
    drive::Click(owner, {12, -10});
    EXPECT_TRUE(pt::DispatchUntil([this] { return !LogOf(owner, {WM_COMMAND}).empty(); }, 2000));
    auto commands = LogOf(owner, {WM_COMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 20001u);
    EXPECT_EQ(offered, (std::vector<std::string>{"打开\tCtrl+O", "关闭"}));
    // A click on the bar is no client input.
    EXPECT_TRUE(LogOf(owner, {WM_LBUTTONDOWN}).empty());
}

// ---- accelerators ----

class AcceleratorTables : public Menus {
protected:
    void SetUp() override
    {
        Menus::SetUp();
        child = pt::MakeChild(owner, {0, 0, 100, 100});
        SetFocus(child);
        ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == child; }, 1000));
        table = CreateAcceleratorTable({
            {FVIRTKEY | FCONTROL, 'N', 100},
            {FVIRTKEY | FCONTROL | FSHIFT, VK_F1 + 4, 101},
            {FVIRTKEY, VK_DELETE, 102},
            {FVIRTKEY | FALT, 'X', 103},
            {FVIRTKEY | FSHIFT, VK_INSERT, 104},
        });
        ASSERT_NE(table, platform::Accelerators::Null);
        pt::Log().clear();
    }
    void TearDown() override
    {
        DestroyAcceleratorTable(table);
        Menus::TearDown();
    }

    // Presses a key and runs a loop that offers every message to the table
    // first; returns the commands it produced.
    std::vector<WParam> press(std::uint32_t vk, unsigned modifiers)
    {
        pt::Log().clear();
        drive::Key(child, vk, modifiers);
        Msg m;
        bool up = false;
        for (int i = 0; i < 300 && !up; ++i) {
            while (PeekMessage(m, PM_REMOVE)) {
                if ((m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && m.wParam == vk)
                    up = true;
                if (TranslateAccelerator(owner, table, m))
                    continue;
                TranslateMessage(m);
                DispatchMessage(m);
            }
            drive::ProcessToolkitEvents(2);
        }
        pt::DispatchFor(10);
        std::vector<WParam> commands;
        for (const Seen& s : LogOf(owner, {WM_COMMAND}))
            commands.push_back(s.wParam);
        return commands;
    }

    Hwnd child = Hwnd::Null;
    platform::Accelerators table = platform::Accelerators::Null;
};

TEST_F(AcceleratorTables, KeysWithExactlyTheirModifiersBecomeCommands)
{
    constexpr WParam kFromAccelerator = WParam(1) << 16;
    EXPECT_EQ(press('N', drive::kControl), std::vector<WParam>{kFromAccelerator | 100});
    // The key went to the table instead of the window.
    for (const Seen& s : LogOf(child, {WM_KEYDOWN}))
        EXPECT_NE(s.wParam, WParam('N'));
    EXPECT_EQ(press(VK_F1 + 4, drive::kControl | drive::kShift), std::vector<WParam>{kFromAccelerator | 101});
    EXPECT_EQ(press(VK_DELETE, 0), std::vector<WParam>{kFromAccelerator | 102});
    EXPECT_EQ(press('X', drive::kAlt), std::vector<WParam>{kFromAccelerator | 103});
    EXPECT_EQ(press(VK_INSERT, drive::kShift), std::vector<WParam>{kFromAccelerator | 104});
}

TEST_F(AcceleratorTables, OtherModifierCombinationsAreOrdinaryKeys)
{
    EXPECT_TRUE(press('N', 0).empty());
    EXPECT_TRUE(press('N', drive::kControl | drive::kShift).empty());
    EXPECT_TRUE(press(VK_F1 + 4, drive::kControl).empty());
    EXPECT_TRUE(press(VK_F1 + 4, drive::kShift).empty());
    EXPECT_TRUE(press(VK_DELETE, drive::kControl).empty());
    EXPECT_TRUE(press('X', 0).empty());
    EXPECT_TRUE(press(VK_INSERT, 0).empty());
    // They reach the window as keys.
    press('N', 0);
    EXPECT_FALSE(LogOf(child, {WM_KEYDOWN}).empty());
}

TEST_F(AcceleratorTables, ADestroyedOrEmptyTableTranslatesNothing)
{
    EXPECT_EQ(CreateAcceleratorTable({}), platform::Accelerators::Null);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_TRUE(press('N', drive::kControl).empty());
    table = platform::Accelerators::Null;
}

// ---- the system menu's commands ----

TEST_F(Menus, TheCloseButtonBecomesTheCloseSystemCommand)
{
    drive::RequestClose(owner);
    EXPECT_TRUE(pt::DispatchUntil([this] { return !IsWindow(owner); }, 1000));
    std::vector<std::uint32_t> seen;
    for (const Seen& s : LogOf(owner, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}))
        seen.push_back(s.message);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    ASSERT_FALSE(LogOf({WM_SYSCOMMAND}).empty());
    EXPECT_EQ(LogOf({WM_SYSCOMMAND}).front().wParam & 0xFFF0, SC_CLOSE);
}

TEST_F(Menus, AWindowThatKeepsWmCloseStaysOpen)
{
    pt::SetMessageHook([](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_CLOSE)
            return 0;
        return std::nullopt;
    });
    drive::RequestClose(owner);
    EXPECT_TRUE(pt::DispatchUntil([] { return !LogOf({WM_CLOSE}).empty(); }, 1000));
    EXPECT_TRUE(IsWindow(owner));
}

TEST_F(Menus, ARemovedSystemCommandIsRefused)
{
    EXPECT_TRUE(HasSystemCommand(owner, SC_CLOSE));
    EXPECT_TRUE(RemoveSystemCommand(owner, SC_CLOSE));
    EXPECT_FALSE(RemoveSystemCommand(owner, SC_CLOSE));
    EXPECT_FALSE(HasSystemCommand(owner, SC_CLOSE));
    EXPECT_TRUE(HasSystemCommand(owner, SC_MOVE));
    SendMessage(owner, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_TRUE(LogOf({WM_CLOSE}).empty());

    EXPECT_TRUE(RestoreSystemCommand(owner, SC_CLOSE));
    EXPECT_FALSE(RestoreSystemCommand(owner, SC_CLOSE));
    SendMessage(owner, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(HasSystemCommand(owner, SC_CLOSE)); // no window, no commands
}

TEST_F(Menus, MinimizeAndRestoreSystemCommands)
{
    Hwnd h = pt::MakeTopLevel(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX);
    ShowWindow(h, SW_SHOW);
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(pt::DispatchUntil([h] { return IsIconic(h); }, 1000));
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(pt::DispatchUntil([h] { return !IsIconic(h); }, 1000));
    RemoveSystemCommand(h, SC_MAXIMIZE);
    SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    pt::DispatchFor(30);
    EXPECT_FALSE(IsZoomed(h));
}

} // namespace
