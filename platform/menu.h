// Menus: menu bars and pop-up menus built from items, pop-up tracking, the
// system menu's commands, and keyboard accelerator tables.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Item flags of AppendMenu.
enum : std::uint32_t {
    MF_STRING = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_SEPARATOR = 0x0800,
    MF_BYCOMMAND = 0x0000,
};

// TrackPopupMenu flags.
enum : std::uint32_t {
    TPM_LEFTALIGN = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_RETURNCMD = 0x0100,
};

Menu CreateMenu();       // a menu bar
Menu CreatePopupMenu();  // a pop-up menu
// Appends an item: `idOrPopup` is the command number, or with MF_POPUP the
// pop-up menu that opens from it (which the menu then owns).  Text is GBK;
// a tab separates the caption from the shortcut text shown beside it.
bool AppendMenu(Menu menu, std::uint32_t flags, std::uintptr_t idOrPopup, std::string_view text);
// Destroys the menu and the pop-up menus it owns.
bool DestroyMenu(Menu menu);
bool IsMenu(Menu menu);
int GetMenuItemCount(Menu menu);

struct MenuItemInfo {
    std::uint32_t flags = 0;
    std::uintptr_t id = 0;   // command number; 0 for pop-up owners and separators
    Menu popup = Menu::Null;
    std::string text;        // GBK
};
bool GetMenuItem(Menu menu, int position, MenuItemInfo& out);

// Attaches a menu bar to a top-level window (Null removes it); the window
// keeps its outer size, so its client area shrinks or grows by the bar.
bool SetMenu(Hwnd hwnd, Menu menu);
Menu GetMenu(Hwnd hwnd);
// Redraws the bar after its menu changed.
void DrawMenuBar(Hwnd hwnd);

// Shows a pop-up menu at screen coordinates and tracks it until it closes.
// The chosen command is posted to `owner` as WM_COMMAND, or with
// TPM_RETURNCMD returned (0 for none).
std::uintptr_t TrackPopupMenu(Menu menu, std::uint32_t flags, int x, int y, Hwnd owner);

// The system menu's commands of a top-level window (SC_MOVE, SC_CLOSE, ...).
// A command removed from it is refused when it arrives as WM_SYSCOMMAND.
bool RemoveSystemCommand(Hwnd hwnd, std::uint32_t command);
bool RestoreSystemCommand(Hwnd hwnd, std::uint32_t command);
bool HasSystemCommand(Hwnd hwnd, std::uint32_t command);

// Accelerators.
enum : std::uint8_t {
    FVIRTKEY = 0x01,
    FSHIFT = 0x04,
    FCONTROL = 0x08,
    FALT = 0x10,
};
struct Accelerator {
    std::uint8_t flags = FVIRTKEY;
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};
Accelerators CreateAcceleratorTable(const std::vector<Accelerator>& entries);
bool DestroyAcceleratorTable(Accelerators table);
// Turns a key-down message that matches an entry into WM_COMMAND
// (high word 1) sent to `hwnd`; true when it did.
bool TranslateAccelerator(Hwnd hwnd, Accelerators table, const Msg& msg);

} // namespace platform
