// Menus from menu item records: command numbers by record position, hidden
// subtrees, separators, check marks, grey items, shortcut captions and the
// accelerator table; pop-up menus of single items.

#include "ui_fixture.h"

#include "platform/menu.h"
#include "platform/messages.h"
#include "ui/framework/menu_builder.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using namespace uitest;

constexpr std::uint32_t kWin = 0x52000501;
constexpr std::uint32_t kOwn = 0x06000501;

ui::UnitRecord Item(std::uint32_t n, const char* caption, int level, std::uint32_t flags = 0,
                    std::uint32_t shortcut = 0)
{
    auto r = MenuRecord(0x26000500 + n, caption, level, flags);
    r.shortcut = shortcut;
    return r;
}

// What one entry of a built menu holds.
struct Entry {
    std::string text;
    std::uintptr_t id = 0;
    bool popup = false;
    bool grey = false;
    bool checked = false;
    bool separator = false;
    friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e)
{
    return out << "{" << e.text << ", " << e.id << (e.popup ? ", popup" : "") << (e.grey ? ", grey" : "")
               << (e.checked ? ", checked" : "") << (e.separator ? ", separator" : "") << "}";
}

std::vector<Entry> Entries(platform::Menu menu)
{
    std::vector<Entry> out;
    for (int i = 0; i < platform::GetMenuItemCount(menu); ++i) {
        platform::MenuItemInfo info;
        EXPECT_TRUE(platform::GetMenuItem(menu, i, info));
        out.push_back({info.text, info.id, info.popup != platform::Menu::Null, (info.flags & platform::MF_GRAYED) != 0,
                       (info.flags & platform::MF_CHECKED) != 0, (info.flags & platform::MF_SEPARATOR) != 0});
    }
    return out;
}

platform::Menu PopupAt(platform::Menu menu, int position)
{
    platform::MenuItemInfo info;
    return platform::GetMenuItem(menu, position, info) ? info.popup : platform::Menu::Null;
}

std::vector<ui::UnitRecord> Records()
{
    // Menu positions are the numbers passed to Item.
    return {WindowRecord(kOwn),
            Item(0, "文件", 0),
            Item(1, "新建", 1, 0, 14), // Ctrl+N
            Item(2, "-", 1),
            Item(3, "隐藏", 1, ui::kMenuHidden),
            Item(4, "隐藏之下", 2),
            Item(5, "选中", 1, ui::kMenuChecked),
            BoxRecord(0x16000599, "框", 0, 0, 10, 10), // units between menu records change nothing
            Item(6, "灰", 1, ui::kMenuDisabled),
            Item(7, "最近", 1),
            Item(8, "一", 2, 0, 40), // Ctrl+F2
            Item(9, "隐藏顶", 0, ui::kMenuHidden),
            Item(10, "其下", 1, 0, 76), // Del
            Item(11, "编辑", 0, ui::kMenuDisabled),
            Item(12, "撤销", 1, 0, 77), // "-": no key
            Item(13, "单独", 0)};
}

class MenuBuilder : public UiTest {};

TEST_F(MenuBuilder, BarNumbersItemsByRecordAndSkipsHiddenSubtrees)
{
    ui::LoadedWindow& w = AddWindow(kWin, Records());
    ui::BuiltMenuBar built = ui::BuildMenuBar(w);
    ASSERT_NE(built.bar, platform::Menu::Null);
    EXPECT_EQ(Entries(built.bar), (std::vector<Entry>{{"文件", 0, true}, {"编辑", 0, true, true}, {"单独", 20013}}));

    EXPECT_EQ(Entries(PopupAt(built.bar, 0)), (std::vector<Entry>{{"新建\tCtrl+N", 20001},
                                                                  {"", 0, false, false, false, true},
                                                                  {"选中", 20005, false, false, true},
                                                                  {"灰", 20006, false, true},
                                                                  {"最近", 0, true}}));
    EXPECT_EQ(Entries(PopupAt(PopupAt(built.bar, 0), 4)), (std::vector<Entry>{{"一\tCtrl+F2", 20008}}));
    EXPECT_EQ(Entries(PopupAt(built.bar, 1)), (std::vector<Entry>{{"撤销", 20012}}));

    // Shortcuts made an accelerator table (Ctrl+N, Ctrl+F2, and Del under
    // the hidden entry, which keeps its number).
    EXPECT_NE(built.accelerators, platform::Accelerators::Null);
    platform::DestroyMenu(built.bar);
    platform::DestroyAcceleratorTable(built.accelerators);
}

TEST_F(MenuBuilder, HidingAnEntryKeepsTheNumbersOfTheOthers)
{
    auto records = Records();
    records[1].itemFlags = ui::kMenuHidden; // 文件 and its subtree
    ui::LoadedWindow& w = AddWindow(kWin, records);
    ui::BuiltMenuBar built = ui::BuildMenuBar(w);
    EXPECT_EQ(Entries(built.bar), (std::vector<Entry>{{"编辑", 0, true, true}, {"单独", 20013}}));
    EXPECT_EQ(Entries(PopupAt(built.bar, 0)), (std::vector<Entry>{{"撤销", 20012}}));
    platform::DestroyMenu(built.bar);
    platform::DestroyAcceleratorTable(built.accelerators);
}

TEST_F(MenuBuilder, NoMenuRecordsNoBarAndNoShortcutsNoAccelerators)
{
    ui::LoadedWindow& bare = AddWindow(kWin, {WindowRecord(kOwn), BoxRecord(0x16000599, "框", 0, 0, 10, 10)});
    ui::BuiltMenuBar none = ui::BuildMenuBar(bare);
    EXPECT_EQ(none.bar, platform::Menu::Null);
    EXPECT_EQ(none.accelerators, platform::Accelerators::Null);

    ui::LoadedWindow& plain = AddWindow(kWin, {WindowRecord(kOwn), Item(0, "文件", 0), Item(1, "退出", 1, 0, 77)});
    ui::BuiltMenuBar built = ui::BuildMenuBar(plain);
    EXPECT_NE(built.bar, platform::Menu::Null);
    EXPECT_EQ(built.accelerators, platform::Accelerators::Null);
    platform::DestroyMenu(built.bar);
}

TEST_F(MenuBuilder, PopupMenusOfSingleItemsUseTheBarsNumbers)
{
    ui::LoadedWindow& w = AddWindow(kWin, Records());
    platform::Menu file = ui::BuildPopupMenu(w, 0);
    ASSERT_NE(file, platform::Menu::Null);
    EXPECT_EQ(Entries(file).size(), 5u);
    EXPECT_EQ(Entries(file)[0], (Entry{"新建\tCtrl+N", 20001}));
    platform::DestroyMenu(file);

    // The pop-up of a hidden entry still shows what is under it.
    platform::Menu hidden = ui::BuildPopupMenu(w, 3);
    EXPECT_EQ(Entries(hidden), (std::vector<Entry>{{"隐藏之下", 20004}}));
    platform::DestroyMenu(hidden);

    EXPECT_EQ(ui::BuildPopupMenu(w, 1), platform::Menu::Null);  // owns nothing
    EXPECT_EQ(ui::BuildPopupMenu(w, 13), platform::Menu::Null); // the last record
    EXPECT_EQ(ui::BuildPopupMenu(w, 14), platform::Menu::Null);
    EXPECT_EQ(ui::BuildPopupMenu(w, -1), platform::Menu::Null);

    // An owner whose items are all hidden shows nothing.
    ui::LoadedWindow& empty = AddWindow(kWin, {WindowRecord(kOwn), Item(0, "文件", 0),
                                               Item(1, "一", 1, ui::kMenuHidden), Item(2, "二", 1, ui::kMenuHidden)});
    EXPECT_EQ(ui::BuildPopupMenu(empty, 0), platform::Menu::Null);
}

TEST(ShortcutKeys, TheTableNamesEveryKeyWithItsModifiers)
{
    struct Case {
        std::uint32_t index;
        const char* name;
        std::uint16_t key;
        std::uint8_t modifiers;
    };
    const Case cases[] = {
        {1, "Ctrl+A", 'A', platform::FCONTROL},
        {26, "Ctrl+Z", 'Z', platform::FCONTROL},
        {27, "F1", platform::VK_F1, 0},
        {38, "F12", platform::VK_F12, 0},
        {39, "Ctrl+F1", platform::VK_F1, platform::FCONTROL},
        {50, "Ctrl+F12", platform::VK_F12, platform::FCONTROL},
        {51, "Shift+F1", platform::VK_F1, platform::FSHIFT},
        {62, "Shift+F12", platform::VK_F12, platform::FSHIFT},
        {63, "Ctrl+Shift+F1", platform::VK_F1, platform::FCONTROL | platform::FSHIFT},
        {74, "Ctrl+Shift+F12", platform::VK_F12, platform::FCONTROL | platform::FSHIFT},
        {75, "Ins", platform::VK_INSERT, 0},
        {76, "Del", platform::VK_DELETE, 0},
    };
    for (const Case& c : cases) {
        auto key = ui::ShortcutFor(c.index);
        ASSERT_TRUE(key) << c.index;
        EXPECT_EQ(key->name, c.name);
        EXPECT_EQ(key->virtualKey, c.key) << c.name;
        EXPECT_EQ(key->modifiers, c.modifiers) << c.name;
    }
    for (std::uint32_t none : {0u, 77u, 78u, 0xFFFFFFFFu})
        EXPECT_FALSE(ui::ShortcutFor(none)) << none;
}

} // namespace
