#include "platform/qt/control_support.h"

#include "platform/gdi.h"
#include "platform/image_list_stream.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/device_context.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QFrame>

#include <algorithm>
#include <cstring>

namespace platform::qt {

LResult notifyParent(Hwnd control, NotifyHeader& header)
{
    Hwnd parent = GetParent(control);
    if (!IsWindow(parent))
        return 0;
    header.hwndFrom = control;
    header.idFrom = std::uintptr_t(GetDlgCtrlID(control));
    // The parent's handler runs inside the toolkit's delivery of whatever
    // event the control is handling; deletions wait until it has returned.
    ToolkitScope scope;
    return SendMessage(parent, WM_NOTIFY, WParam(header.idFrom), LParam(&header));
}

bool commandParent(Hwnd control, std::uint32_t code)
{
    Hwnd parent = GetParent(control);
    if (!IsWindow(parent))
        return IsWindow(control);
    auto id = std::uint32_t(GetDlgCtrlID(control)) & 0xFFFF;
    // As for WM_NOTIFY: deletions wait until the toolkit's delivery of the
    // event being handled has returned.
    ToolkitScope scope;
    SendMessage(parent, WM_COMMAND, WParam(id | code << 16), LParam(control));
    return IsWindow(control);
}

LResult copyWindowText(std::string_view text, WParam size, LParam buffer)
{
    if (size == 0 || !buffer)
        return 0;
    std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    auto* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return LResult(n);
}

void applyBorderStyles(QFrame* frame, std::uint32_t style, std::uint32_t exStyle)
{
    bool clientEdge = exStyle & WS_EX_CLIENTEDGE;
    bool modalFrame = exStyle & WS_EX_DLGMODALFRAME;
    int shape = QFrame::NoFrame;
    int lineWidth = 0;
    int midLineWidth = 0;
    if (clientEdge && modalFrame) {
        // A raised frame outside a sunken edge, five pixels in all.
        shape = QFrame::Box | QFrame::Sunken;
        lineWidth = 1;
        midLineWidth = 3;
    } else if (clientEdge) {
        shape = QFrame::WinPanel | QFrame::Sunken; // two pixels
        lineWidth = 2;
    } else if (modalFrame) {
        shape = QFrame::WinPanel | QFrame::Raised;
        lineWidth = 2;
    } else if (exStyle & WS_EX_STATICEDGE) {
        shape = QFrame::Panel | QFrame::Sunken;
        lineWidth = 1;
    } else if (style & WS_BORDER) {
        shape = QFrame::Box | QFrame::Plain;
        lineWidth = 1;
    }
    frame->setFrameStyle(shape);
    frame->setLineWidth(lineWidth);
    frame->setMidLineWidth(midLineWidth);
}

QColor colorOrSystem(ColorRef color, const QColor& system)
{
    if (color == CLR_DEFAULT || color == CLR_NONE)
        return system;
    return toQColor(color);
}

ControlColors askParentForColors(Hwnd control, std::uint32_t message)
{
    ControlColors colors;
    Hwnd parent = GetParent(control);
    if (!IsWindow(parent))
        return colors;
    // A context that only carries colours: the parent sets them, nothing
    // is drawn with it.  The sentinels tell what the parent left alone.
    constexpr ColorRef kUnset = 0xFFFFFFFF;
    DeviceContext dc(nullptr, nullptr, control);
    dc.textColor = kUnset;
    dc.bkColor = kUnset;
    ToolkitScope scope;
    LResult brush = SendMessage(parent, message, WParam(dc.handle()), LParam(control));
    if (dc.textColor != kUnset)
        colors.text = toQColor(dc.textColor);
    if (dc.bkColor != kUnset)
        colors.textBackground = toQColor(dc.bkColor);
    ColorRef fill = 0;
    if (brush != 0 && GetBrushColor(Brush(brush), fill))
        colors.fill = toQColor(fill);
    return colors;
}

} // namespace platform::qt
