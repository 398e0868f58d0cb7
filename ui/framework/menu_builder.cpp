#include "ui/framework/menu_builder.h"

#include "platform/messages.h"
#include "platform/window.h"

#include <array>
#include <string>
#include <vector>

namespace ui {
namespace {

// The table is made of five runs of keys and three single keys.
struct ShortcutRun {
    std::uint32_t first, last;
    const char* prefix;
    std::uint16_t firstKey;
    bool function; // F-keys: the name counts from 1
    std::uint8_t modifiers;
};

constexpr std::array<ShortcutRun, 5> kRuns = {{
    {1, 26, "Ctrl+", 'A', false, platform::FCONTROL},
    {27, 38, "", platform::VK_F1, true, 0},
    {39, 50, "Ctrl+", platform::VK_F1, true, platform::FCONTROL},
    {51, 62, "Shift+", platform::VK_F1, true, platform::FSHIFT},
    {63, 74, "Ctrl+Shift+", platform::VK_F1, true, platform::FCONTROL | platform::FSHIFT},
}};

std::string& nameBuffer(std::uint32_t index)
{
    static std::array<std::string, 78> names;
    return names[index];
}

using Records = std::vector<UnitRecord*>;

// One past the last record of the subtree that starts at i.
std::size_t subtreeEnd(const Records& r, std::size_t i)
{
    std::size_t j = i + 1;
    while (j < r.size() && r[j]->level > r[i]->level)
        ++j;
    return j;
}

std::string itemText(const UnitRecord& rec)
{
    std::string text = rec.caption;
    if (auto key = ShortcutFor(rec.shortcut)) {
        text += '\t';
        text += key->name;
    }
    return text;
}

void fillPopup(platform::Menu popup, const Records& r, std::size_t owner)
{
    std::size_t end = subtreeEnd(r, owner);
    for (std::size_t j = owner + 1; j < end; j = subtreeEnd(r, j)) {
        const UnitRecord& rec = *r[j];
        if (rec.itemFlags & kMenuHidden)
            continue;
        std::uint32_t grey = (rec.itemFlags & kMenuDisabled) ? std::uint32_t(platform::MF_GRAYED) : 0u;
        if (rec.caption == "-") {
            platform::AppendMenu(popup, platform::MF_SEPARATOR, 0, {});
        } else if (subtreeEnd(r, j) > j + 1) {
            platform::Menu sub = platform::CreatePopupMenu();
            fillPopup(sub, r, j);
            platform::AppendMenu(popup, platform::MF_POPUP | grey, std::uintptr_t(sub), itemText(rec));
        } else {
            std::uint32_t check = (rec.itemFlags & kMenuChecked) ? std::uint32_t(platform::MF_CHECKED) : 0u;
            platform::AppendMenu(popup, platform::MF_STRING | grey | check, kFirstMenuCommand + j, itemText(rec));
        }
    }
}

} // namespace

std::optional<ShortcutKey> ShortcutFor(std::uint32_t index)
{
    for (const ShortcutRun& run : kRuns) {
        if (index < run.first || index > run.last)
            continue;
        std::uint32_t k = index - run.first;
        std::string& name = nameBuffer(index);
        if (name.empty())
            name = std::string(run.prefix) + (run.function ? "F" + std::to_string(k + 1) : std::string(1, char('A' + k)));
        return ShortcutKey{name, std::uint16_t(run.firstKey + k), run.modifiers};
    }
    if (index == 75)
        return ShortcutKey{"Ins", platform::VK_INSERT, 0};
    if (index == 76)
        return ShortcutKey{"Del", platform::VK_DELETE, 0};
    return std::nullopt;
}

BuiltMenuBar BuildMenuBar(LoadedWindow& window)
{
    Records r = window.menuRecords();
    BuiltMenuBar built;
    if (r.empty())
        return built;
    built.bar = platform::CreateMenu();
    for (std::size_t i = 0; i < r.size(); i = subtreeEnd(r, i)) {
        const UnitRecord& top = *r[i];
        if (top.itemFlags & kMenuHidden)
            continue;
        std::uint32_t grey = (top.itemFlags & kMenuDisabled) ? std::uint32_t(platform::MF_GRAYED) : 0u;
        if (subtreeEnd(r, i) > i + 1) {
            platform::Menu popup = platform::CreatePopupMenu();
            fillPopup(popup, r, i);
            platform::AppendMenu(built.bar, platform::MF_POPUP | grey, std::uintptr_t(popup), itemText(top));
        } else {
            // An entry that owns no items is a command of its own.
            platform::AppendMenu(built.bar, platform::MF_STRING | grey, kFirstMenuCommand + i, itemText(top));
        }
    }
    std::vector<platform::Accelerator> keys;
    for (std::size_t i = 0; i < r.size(); ++i)
        if (auto key = ShortcutFor(r[i]->shortcut))
            keys.push_back({std::uint8_t(platform::FVIRTKEY | key->modifiers), key->virtualKey,
                            std::uint16_t(kFirstMenuCommand + i)});
    if (!keys.empty())
        built.accelerators = platform::CreateAcceleratorTable(keys);
    return built;
}

platform::Menu BuildPopupMenu(LoadedWindow& window, int menuPosition)
{
    Records r = window.menuRecords();
    if (menuPosition < 0 || std::size_t(menuPosition) >= r.size())
        return platform::Menu::Null;
    std::size_t i = std::size_t(menuPosition);
    if (subtreeEnd(r, i) <= i + 1)
        return platform::Menu::Null;
    platform::Menu popup = platform::CreatePopupMenu();
    fillPopup(popup, r, i);
    if (platform::GetMenuItemCount(popup) <= 0) {
        platform::DestroyMenu(popup);
        return platform::Menu::Null;
    }
    return popup;
}

void RebuildMenuBar(LoadedWindow& window)
{
    platform::Hwnd h = window.liveHandle();
    if (!platform::IsWindow(h))
        return;
    OpenWindowState& open = window.open();
    BuiltMenuBar built = BuildMenuBar(window);
    platform::SetMenu(h, built.bar);
    if (open.menuBar != platform::Menu::Null)
        platform::DestroyMenu(open.menuBar);
    if (open.accelerators != platform::Accelerators::Null)
        platform::DestroyAcceleratorTable(open.accelerators);
    open.menuBar = built.bar;
    open.accelerators = built.accelerators;
}

} // namespace ui
