// The catalogue's windows opened from the program's own templates.

#include "app/catalogue_support.h"

#include "app/ids.h"
#include "app/libraries.h"
#include "app/program.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"
#include "ui/framework/framework.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/placeholder_unit.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace app::ids;
using testsupport::PumpUntil;

platform::Hwnd liveHandle(std::uint32_t windowId)
{
    auto* w = ui::TheFramework().window(windowId);
    return w ? w->liveHandle() : platform::Hwnd::Null;
}

class CatalogueWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        cataloguetest::EnsureStarterCatalogue();
        cataloguetest::StartCatalogueInProcess();
        ASSERT_TRUE(ui::TheFramework().openWindow(kMainWindow.window, nullptr, false));
        main = liveHandle(kMainWindow.window);
        ASSERT_TRUE(platform::IsWindow(main));
    }
    void TearDown() override
    {
        for (std::uint32_t id : {kAboutWindow.window, kNodeWindow.window, kContentWindow.window, kMainWindow.window})
            if (auto* w = ui::TheFramework().window(id))
                w->destroyLive();
        testsupport::Pump(20);
    }
    platform::Hwnd main = platform::Hwnd::Null;
};

TEST_F(CatalogueWindows, MainWindowIsCentredWithItsOuterSizeAndOneMenu)
{
    platform::Rect outer = platform::GetWindowRect(main);
    EXPECT_EQ(outer.width(), 706);
    EXPECT_EQ(outer.height(), 453);
    platform::Size screen = platform::GetScreenSize();
    EXPECT_EQ(outer.left, (screen.cx - 706) / 2);
    EXPECT_EQ(outer.top, (screen.cy - 453) / 2);
    // Fixed frame 3 px a side, caption 22, menu bar 20.
    platform::Rect client = platform::GetClientRect(main);
    EXPECT_EQ(client.width(), 700);
    EXPECT_EQ(client.height(), 405);
    EXPECT_EQ(platform::GetWindowText(main), "Velmora v1.0");
    EXPECT_EQ(platform::testing::MenuBarTitles(main), std::vector<std::string>{"关于作者"});
    // A look at the window for whoever asks for it.
    if (const char* dir = std::getenv("VELMORA_SNAPSHOT_DIR")) {
        testsupport::Pump(100);
        platform::testing::SaveWindowImage(main, std::string(dir) + "/main_window.png");
    }

    // Every unit fits inside the client area.
    for (const auto& u : ui::TheFramework().window(kMainWindow.window)->units()) {
        if (u.isMenuItem() || u.isOwnUnit())
            continue;
        EXPECT_LE(u.left + u.width, client.width()) << u.name;
        EXPECT_LE(u.top + u.height, client.height()) << u.name;
    }
}

TEST_F(CatalogueWindows, HiddenMenusArePopUpsWithTheirCommandNumbers)
{
    auto* w = ui::TheFramework().window(kMainWindow.window);
    struct Expect {
        std::uint32_t menu;
        std::vector<std::uintptr_t> commands; // 0 for separators
    };
    for (const Expect& e : {Expect{kNodeMenu, {20003, 20004, 0, 20006, 20007}}, Expect{kContentMenu, {20009, 20010, 0}},
                            Expect{kContentAddMenu, {20013, 20014}}}) {
        platform::Menu popup = ui::BuildPopupMenu(*w, w->menuPosition(e.menu));
        ASSERT_NE(popup, platform::Menu::Null);
        ASSERT_EQ(platform::GetMenuItemCount(popup), int(e.commands.size()));
        for (int i = 0; i < int(e.commands.size()); ++i) {
            platform::MenuItemInfo item;
            ASSERT_TRUE(platform::GetMenuItem(popup, i, item));
            EXPECT_EQ(item.id, e.commands[std::size_t(i)]);
        }
        platform::DestroyMenu(popup);
    }
    // 修改菜单 owns no items: nothing to pop up.
    EXPECT_EQ(ui::BuildPopupMenu(*w, w->menuPosition(kRenameNodeItem)), platform::Menu::Null);
}

TEST_F(CatalogueWindows, PopupMenuCommandShowsTheHiddenNodeMenu)
{
    std::vector<std::string> shown;
    platform::testing::AnswerPopupMenus([&](const platform::testing::PopupMenuInfo& info) {
        shown = info.items;
        return std::string();
    });
    runtime::TypedValue args[] = {runtime::TypedValue::unit({kMainWindow.window, kMainWindow.ownUnit}, 0x00010001),
                                  runtime::TypedValue::unit({kMainWindow.window, kNodeMenu}, 0x00010003)};
    runtime::CallCommand(app::Command(app::CoreCommand::PopupMenu), args);
    platform::testing::StopAnsweringPopupMenus();
    EXPECT_EQ(shown, (std::vector<std::string>{"&A.添加父节点", "&B.添加子节点", "-", "&X.修改菜单", "&D.删除菜单"}));
}

TEST_F(CatalogueWindows, AuthorOpensTheAboutWindowModally)
{
    bool sawModal = false;
    bool mainWasDisabled = false;
    bool keptAbove = false;
    bool mainSurvived = false;
    bool closeRequested = false;
    std::string title = "unset";
    platform::testing::RunWhen([&] {
        platform::Hwnd about = liveHandle(kAboutWindow.window);
        if (!platform::IsWindow(about) || !ui::TheFramework().window(kAboutWindow.window)->open().loaded)
            return false;
        if (!closeRequested) {
            sawModal = runtime::TheRuntime().modalWindowId() == kAboutWindow.window;
            mainWasDisabled = !platform::IsWindowEnabled(main);
            keptAbove = platform::testing::ToolkitModalWindow() == about &&
                        platform::testing::KeptAbove(about) == main;
            title = platform::testing::TitleBarText(about);
            // The window manager's close button of the locked main window
            // does nothing while the about window is open; the modal loop
            // runs before the next check.
            platform::testing::RequestClose(main);
            closeRequested = true;
            return false;
        }
        mainSurvived = platform::IsWindow(main);
        platform::testing::RequestClose(about);
        return true;
    });
    ASSERT_TRUE(platform::testing::ChooseMenuBarItem(main, {"关于作者", "作者"}));
    ASSERT_TRUE(PumpUntil([&] { return sawModal; }));
    ASSERT_TRUE(PumpUntil([&] { return !platform::IsWindow(liveHandle(kAboutWindow.window)); }));
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(keptAbove);
    EXPECT_TRUE(mainSurvived);
    EXPECT_EQ(title, "");  // the window has no caption
    EXPECT_TRUE(platform::IsWindowEnabled(main));
    EXPECT_EQ(platform::testing::ToolkitModalWindow(), platform::Hwnd::Null);
    EXPECT_EQ(runtime::TheRuntime().modalWindowId(), 0u);
}

TEST_F(CatalogueWindows, OpeningAnOpenMinimisedWindowRestoresIt)
{
    platform::ShowWindow(main, platform::SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return platform::IsIconic(main); }));
    ASSERT_TRUE(ui::TheFramework().openWindow(kMainWindow.window, nullptr, false));
    EXPECT_EQ(liveHandle(kMainWindow.window), main);
    EXPECT_TRUE(PumpUntil([&] { return !platform::IsIconic(main); }));
}

TEST_F(CatalogueWindows, DestroyUnitWithoutImmediateWaitsForTheMessage)
{
    runtime::TypedValue ref = runtime::TypedValue::unit({kMainWindow.window, kMainWindow.ownUnit}, 0x00010001);
    runtime::CallCommand(app::Command(app::CoreCommand::DestroyUnit), std::span(&ref, 1));
    EXPECT_TRUE(platform::IsWindow(main));
    EXPECT_TRUE(PumpUntil([&] { return !platform::IsWindow(main); }));
}

TEST_F(CatalogueWindows, DestroyUnitImmediateDestroysAtOnce)
{
    runtime::TypedValue args[] = {runtime::TypedValue::unit({kMainWindow.window, kMainWindow.ownUnit}, 0x00010001),
                                  runtime::TypedValue::logical(true)};
    runtime::CallCommand(app::Command(app::CoreCommand::DestroyUnit), args);
    EXPECT_FALSE(platform::IsWindow(main));
}

TEST_F(CatalogueWindows, EveryUnitOfTheFourWindowsHasItsOwnCode)
{
    // The database unit has no window to show.
    EXPECT_FALSE(platform::IsWindowVisible(testsupport::HandleOf(kMainWindow.window, kDatabase)));
    for (WindowIds ids : {kNodeWindow, kContentWindow, kAboutWindow})
        ASSERT_TRUE(ui::TheFramework().openWindow(ids.window, nullptr, false));
    for (WindowIds ids : {kMainWindow, kNodeWindow, kContentWindow, kAboutWindow}) {
        const ui::LoadedWindow* w = ui::TheFramework().window(ids.window);
        ASSERT_NE(w, nullptr);
        for (const ui::UnitRecord& u : w->units()) {
            if (u.isMenuItem())
                continue;
            ASSERT_NE(u.object, nullptr) << std::hex << u.id;
            EXPECT_NE(platform::GetClassName(u.object->handle()), ui::kPlaceholderClass) << std::hex << u.id;
        }
    }
}

TEST(CatalogueProgram, ClosingTheMainWindowEndsTheProgramWithExitCodeZero)
{
    cataloguetest::EnsureStarterCatalogue();
    auto runTheProgram = [] {
            platform::testing::RunWhen([] {
                platform::Hwnd h = liveHandle(kMainWindow.window);
                if (!platform::IsWindow(h) || !runtime::TheRuntime().running())
                    return false;
                platform::testing::RequestClose(h);
                return true;
            });
            for (const ui::KindLibrary& library : app::KindLibraries())
                ui::TheFramework().addKindLibrary(library);
            int argc = 1;
            char name[] = "velmora";
            char* argv[] = {name, nullptr};
            runtime::TheRuntime().processEntry(argc, argv, app::ProgramInformation(), ui::TheFramework(),
                                               app::StartRoutine);
    };
    EXPECT_EXIT(runTheProgram(), ::testing::ExitedWithCode(0), "");
}

} // namespace
