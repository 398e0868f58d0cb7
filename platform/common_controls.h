// What the common controls (the tree view, the list view) share: the
// notification codes every control sends, the "system colour" value of
// their colour settings, and how their borders follow the window styles.
//
// A control tells its parent what the user did by sending WM_NOTIFY: wParam
// the control number, lParam a record that starts with a NotifyHeader.  The
// record lives only during the call.  Where a notification can be vetoed
// the parent's answer says so (see each code).
//
// Borders: a control draws the border its styles ask for, at creation and
// whenever they change (SetWindowStyle / SetWindowExStyle send
// WM_STYLECHANGED): WS_BORDER a thin line, WS_EX_CLIENTEDGE a sunken edge,
// WS_EX_DLGMODALFRAME a raised frame, WS_EX_STATICEDGE a thin sunken edge;
// client edge and modal frame together draw both.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace platform {

// The colour setting that means "the system's colour for this".
inline constexpr ColorRef CLR_DEFAULT = 0xFF000000;

// Sent after SetWindowStyle (wParam GWL_STYLE) or SetWindowExStyle
// (wParam GWL_EXSTYLE) changed a window's styles.
inline constexpr std::uint32_t WM_STYLECHANGED = 0x007D;
enum : int { GWL_EXSTYLE = -20, GWL_STYLE = -16 };

// Notification codes all controls send.  Codes are negative numbers,
// carried as their 32-bit two's complement.
enum : std::uint32_t {
    NM_CLICK = std::uint32_t(-2),
    NM_DBLCLK = std::uint32_t(-3),
    NM_RCLICK = std::uint32_t(-5),
};

} // namespace platform
