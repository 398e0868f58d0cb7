// The up-down control, window class "msctls_updown32": a pair of arrows
// that step a number, shown in its buddy (an edit control beside it) when
// it sets the buddy's text.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace platform {

inline constexpr const char* WC_UPDOWN = "msctls_updown32";

// Styles.
enum : std::uint32_t {
    UDS_SETBUDDYINT = 0x0002, // the buddy's text shows the position
    UDS_ALIGNRIGHT = 0x0004,  // placed at the buddy's right edge, the buddy narrowed
    UDS_ARROWKEYS = 0x0020,   // Up and Down in the buddy step too
    UDS_NOTHOUSANDS = 0x0080,
};

// Each step of an arrow sends the parent WM_VSCROLL: SB_THUMBPOSITION with
// the new position in the high word of wParam (UpDown_GetPos32 has all
// 32 bits), lParam the control; SB_ENDSCROLL once the arrow is let go.
enum : std::uint32_t {
    SB_THUMBPOSITION = 4,
    SB_ENDSCROLL = 8,
};

void UpDown_SetBuddy(Hwnd upDown, Hwnd buddy);
Hwnd UpDown_GetBuddy(Hwnd upDown);
// The range (the smaller bound is the minimum) and the position, clamped
// to it.
void UpDown_SetRange32(Hwnd upDown, int low, int high);
void UpDown_SetPos32(Hwnd upDown, int position);
int UpDown_GetPos32(Hwnd upDown);

} // namespace platform
