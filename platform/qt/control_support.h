// What the platform's controls share: telling the parent through WM_NOTIFY
// or WM_COMMAND, drawing the border their styles ask for, their colour
// settings as Qt colours, and handing out their window text.
#pragma once

#include "platform/common_controls.h"
#include "platform/types.h"

#include <QColor>

#include <optional>
#include <string_view>

class QFrame;

namespace platform::qt {

// Sends WM_NOTIFY to the control's parent, with the header's hwndFrom and
// idFrom filled in; the parent's answer, 0 when the control has no parent.
// The parent's handler may destroy the control: callers look the window up
// again before touching it.
LResult notifyParent(Hwnd control, NotifyHeader& header);

// Sends WM_COMMAND to the control's parent: wParam the control number in
// the low word and `code` in the high word, lParam the control.  True while
// the control still exists afterwards: the parent's handler may destroy it,
// and callers touch nothing of it when this is false.
bool commandParent(Hwnd control, std::uint32_t code);

// Answers WM_GETTEXT for a control that keeps its own text: copies what
// fits into the caller's buffer of `size` bytes, NUL-terminated, and
// returns the bytes copied.
LResult copyWindowText(std::string_view text, WParam size, LParam buffer);

// The frame a control's styles ask for (see common_controls.h).
void applyBorderStyles(QFrame* frame, std::uint32_t style, std::uint32_t exStyle);

// A colour setting as a Qt colour; CLR_DEFAULT and CLR_NONE give `system`.
QColor colorOrSystem(ColorRef color, const QColor& system);

// What a control's parent answers to its colour request (WM_CTLCOLOREDIT
// and the like): the text and text background colours it set on the
// context, and the colour of the brush it gave to fill with.  Nothing where
// the parent left the control's own.
struct ControlColors {
    std::optional<QColor> text;
    std::optional<QColor> textBackground;
    std::optional<QColor> fill;
};
ControlColors askParentForColors(Hwnd control, std::uint32_t message);

} // namespace platform::qt
