// The edit control, window class "EDIT": one line or many of GBK text.
//
// Its text is the window text (SetWindowText / GetWindowText).  Lengths,
// limits and selection positions count bytes of GBK text, as the classic
// narrow interface does: a character outside ASCII counts 2 (4 for the few
// GB18030 characters outside GBK), and no position falls inside one.
//
// It tells its parent through WM_COMMAND (wParam: control number in the
// low word, code in the high word; lParam: the control): EN_SETFOCUS,
// EN_KILLFOCUS, EN_CHANGE after the user changed the text (not for
// SetWindowText), EN_MAXTEXT when input was refused or cut at the limit.
// Before painting it asks its parent for its colours with
// WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only): wParam a device
// context whose text and background colours the parent may set, lParam the
// control; a non-zero answer is a brush that fills the background.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string_view>

namespace platform {

inline constexpr const char* WC_EDIT = "EDIT";

// Styles.
enum : std::uint32_t {
    ES_LEFT = 0x0000,
    ES_CENTER = 0x0001,
    ES_RIGHT = 0x0002,
    ES_MULTILINE = 0x0004,
    ES_UPPERCASE = 0x0008,
    ES_LOWERCASE = 0x0010,
    ES_PASSWORD = 0x0020,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080, // without it a single line takes only what fits
    ES_NOHIDESEL = 0x0100,   // the selection shows without the focus
    ES_READONLY = 0x0800,
    ES_WANTRETURN = 0x1000,  // Enter makes a new line in a multi-line box
};

// Notification codes (the high word of WM_COMMAND's wParam).
enum : std::uint32_t {
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    EN_MAXTEXT = 0x0501,
};

// The most text the user may enter, in bytes; 0 gives the system maximum.
// Typing past it is refused; a paste or an input method's text is cut at
// the last whole character that fits.
void Edit_LimitText(Hwnd edit, int bytes);
int Edit_GetLimitText(Hwnd edit);
// The character shown for each one of a password box (a GBK character
// code, 0: the text shows).
void Edit_SetPasswordChar(Hwnd edit, std::uint16_t character);
// The selection, from `start` to `end` (byte positions, clamped to the
// text; end -1: the end of the text).
void Edit_SetSel(Hwnd edit, int start, int end);
struct EditSelection {
    int start = 0;
    int end = 0;
};
EditSelection Edit_GetSel(Hwnd edit);
void Edit_ScrollCaret(Hwnd edit);
// Replaces the selection with text, as typing would (the limit applies).
void Edit_ReplaceSel(Hwnd edit, std::string_view text);

} // namespace platform
