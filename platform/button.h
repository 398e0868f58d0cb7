// The button control, window class "BUTTON": a push button with a text, a
// bitmap or an icon.
//
// Its caption is the window text; an "&" makes the next character its
// access key, underlined ("&&" is a plain "&"), and Alt with that
// character's key clicks the button anywhere in its top-level window.  A
// click tells the parent with WM_COMMAND, code BN_CLICKED; so do Space and
// Enter while the button has the focus.
#pragma once

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/types.h"

#include <cstdint>

namespace platform {

inline constexpr const char* WC_BUTTON = "BUTTON";

// Styles.
enum : std::uint32_t {
    BS_PUSHBUTTON = 0x0000,
    BS_DEFPUSHBUTTON = 0x0001, // drawn with a heavier frame; Enter in its window clicks it
    BS_ICON = 0x0040,
    BS_BITMAP = 0x0080,
    BS_LEFT = 0x0100,
    BS_RIGHT = 0x0200,
    BS_CENTER = 0x0300,
    BS_TOP = 0x0400,
    BS_BOTTOM = 0x0800,
    BS_VCENTER = 0x0C00,
    BS_MULTILINE = 0x2000, // the caption wraps at the button's width
};

// Notification code.
enum : std::uint32_t { BN_CLICKED = 0 };

// The image a BS_BITMAP or BS_ICON button shows in place of its caption;
// the button draws it but does not own it.
void Button_SetBitmap(Hwnd button, Bitmap bitmap);
void Button_SetIcon(Hwnd button, Icon icon);
// Clicks the button as the user would.
void Button_Click(Hwnd button);

} // namespace platform
