#include "ui/ext/page_scroll_button.h"

#include "platform/gdi.h"
#include "platform/message_queue.h"
#include "platform/window.h"
#include "ui/ext/page_scroll_images.h"
#include "ui/ext/tip_window.h"
#include "ui/framework/unit_window.h"

namespace ui {

using namespace platform;

PageScrollButton* PageScrollButton::create(Hwnd parent, bool forward, const ScrollButtonLook* look, Hwnd tip)
{
    RegisterUnitWindowClass(kClassName);
    auto* button = new PageScrollButton(forward, look, tip);
    WindowCreateParams w;
    w.className = kClassName;
    w.text = forward ? ">" : "<";
    w.style = WS_CHILD | WS_CLIPSIBLINGS;
    w.parent = parent;
    w.controlId = forward ? kScrollOnId : kScrollBackId;
    if (CreateWindowEx(w, button) == Hwnd::Null) {
        delete button;
        return nullptr;
    }
    return button;
}

void PageScrollButton::onWindowGone()
{
    DeleteWindowObjectLater(this);
}

void PageScrollButton::setState(bool hot, bool pressed)
{
    if (hot == m_hot && pressed == m_pressed)
        return;
    m_hot = hot;
    m_pressed = pressed;
    InvalidateRect(handle(), nullptr, false);
}

void PageScrollButton::paint()
{
    PaintStruct ps;
    Hdc dc = BeginPaint(handle(), ps);
    Rect client = GetClientRect(handle());
    FillRect(dc, client, m_look->background);
    ScrollButtonState state = !IsWindowEnabled(handle()) ? ScrollButtonState::Disabled
                              : m_pressed                ? ScrollButtonState::Pressed
                              : m_hot                    ? ScrollButtonState::Hot
                                                         : ScrollButtonState::Normal;
    Size size = ImageListImageSize(m_look->images);
    ImageListDraw(m_look->images, ScrollImageIndex(m_forward, state), dc, (client.width() - size.cx) / 2,
                  (client.height() - size.cy) / 2);
    EndPaint(handle(), ps);
}

LResult PageScrollButton::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_MOUSEMOVE:
        if (!m_hot)
            SendMessage(GetParent(handle()), kScrollButtonEnteredMessage, 0, 0);
        setState(true, m_pressed);
        TrackMouseEvent({.flags = TME_LEAVE, .hwnd = handle()});
        if (TipWindow* tip = TipWindow::of(m_tip))
            tip->toolHovered(handle());
        return 0;
    case WM_MOUSELEAVE:
        setState(false, false);
        if (TipWindow* tip = TipWindow::of(m_tip))
            tip->hide();
        return 0;
    case WM_LBUTTONDOWN:
        if (TipWindow* tip = TipWindow::of(m_tip))
            tip->hide();
        setState(true, true);
        SendMessage(GetParent(handle()), kScrollHeadersMessage, m_forward ? 1 : 0, 0);
        return 0;
    case WM_LBUTTONUP:
        setState(m_hot, false);
        return 0;
    case WM_ENABLE:
        setState(false, false);
        InvalidateRect(handle(), nullptr, false);
        break;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace ui
