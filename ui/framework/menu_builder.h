// Menus built from a window's menu item records: the menu bar, pop-up
// menus of any item that owns items, command numbers and shortcut keys.
#pragma once

#include "platform/menu.h"
#include "ui/framework/loaded_window.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ui {

// Command number n >= 20000 names the (n - 20000)-th menu record.
inline constexpr std::uint32_t kFirstMenuCommand = 20000;

struct ShortcutKey {
    std::string_view name;   // "Ctrl+A" ... "Del"
    std::uint16_t virtualKey = 0;
    std::uint8_t modifiers = 0; // platform::FCONTROL / FSHIFT
};

// Index 1-77 of the shortcut key table; empty for 0 and unknown indexes
// (77, "-", names no key).
std::optional<ShortcutKey> ShortcutFor(std::uint32_t index);

struct BuiltMenuBar {
    platform::Menu bar = platform::Menu::Null;
    platform::Accelerators accelerators = platform::Accelerators::Null;
};

// Null parts when the window has no menu records (no bar) or no shortcut.
BuiltMenuBar BuildMenuBar(LoadedWindow& window);
// The pop-up menu of the menu record at `menuPosition` (its position among
// the window's menu records); Null when the record owns no items.
platform::Menu BuildPopupMenu(LoadedWindow& window, int menuPosition);
// Rebuilds the open window's bar after a record changed.
void RebuildMenuBar(LoadedWindow& window);

} // namespace ui
