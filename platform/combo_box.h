// The combo box control, window class "COMBOBOX": a list of GBK items with
// an edit field (simple and drop-down styles) or without (drop-down list),
// each item with a 32-bit datum.
//
// The window's height includes the list's: a drop-down box shows only its
// edit field (or selection field) and drops its list down below it, the
// list as tall as the window's height less the field's.
//
// It tells its parent with WM_COMMAND (code in the high word of wParam):
// CBN_SELCHANGE when the user moved the selection, CBN_DBLCLK, CBN_SETFOCUS,
// CBN_KILLFOCUS, CBN_EDITCHANGE after the user changed the edit text,
// CBN_DROPDOWN before the list drops down, CBN_CLOSEUP after it closed,
// CBN_SELENDOK when the user chose an item (before the list closes),
// CBN_SELENDCANCEL when the list closed without a choice.  Before painting
// it asks its parent for colours: WM_CTLCOLOREDIT for the field,
// WM_CTLCOLORLISTBOX for the list (as the edit control does).  Its edit
// field takes the same limits as an edit control (bytes of GBK text).
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr const char* WC_COMBOBOX = "COMBOBOX";

// Styles.
enum : std::uint32_t {
    CBS_SIMPLE = 0x0001,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    CBS_TYPEMASK = 0x0003,
    CBS_AUTOHSCROLL = 0x0040,
    CBS_SORT = 0x0100, // items are kept in order of their texts
};

// Notification codes.
enum : std::uint32_t {
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
};

// The new item's index (its sorted place with CBS_SORT).
int ComboBox_AddString(Hwnd combo, std::string_view text);
int ComboBox_GetCount(Hwnd combo);
// The item's text; empty for an index with no item.
std::string ComboBox_GetLBText(Hwnd combo, int index);
bool ComboBox_SetItemData(Hwnd combo, int index, LParam data);
LParam ComboBox_GetItemData(Hwnd combo, int index); // 0 for no item
bool ComboBox_ResetContent(Hwnd combo);
// Selects an item (-1: none) and shows its text in the field; no
// notification.  The index selected, -1 for none.
int ComboBox_SetCurSel(Hwnd combo, int index);
int ComboBox_GetCurSel(Hwnd combo);
// Item heights: -1 the field, 0 the list's items.
bool ComboBox_SetItemHeight(Hwnd combo, int which, int height);
int ComboBox_GetItemHeight(Hwnd combo, int which);
// The edit field's limit in bytes (0: the system maximum) and selection.
void ComboBox_LimitText(Hwnd combo, int bytes);
void ComboBox_SetEditSel(Hwnd combo, int start, int end);
void ComboBox_ShowDropdown(Hwnd combo, bool show);
bool ComboBox_GetDroppedState(Hwnd combo);
// Where the list drops (screen coordinates), shown or not; for the simple
// style the list below the field.
Rect ComboBox_GetDroppedControlRect(Hwnd combo);

} // namespace platform
