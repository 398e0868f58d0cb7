// Turns Qt's input events for our windows into queued messages, and Qt's
// focus changes into WM_SETFOCUS / WM_KILLFOCUS.

#include "platform/qt/input_router.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/input.h"
#include "platform/qt/keys.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace platform::qt {
namespace {

bool isNonClient(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        if (w->property("velmoraNonClient").toBool())
            return true;
        if (w->isWindow())
            return false;
    }
    return false;
}

std::uint32_t keyStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    std::uint32_t s = 0;
    if (mods & Qt::ShiftModifier)
        s |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        s |= MK_CONTROL;
    if (mods & Qt::AltModifier)
        s |= kAltDown;
    if (buttons & Qt::LeftButton)
        s |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        s |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        s |= MK_MBUTTON;
    return s;
}

std::uint32_t mouseMessage(const QMouseEvent& e, bool classDoubleClicks)
{
    auto pick = [&](std::uint32_t left, std::uint32_t right, std::uint32_t middle) {
        switch (e.button()) {
        case Qt::LeftButton: return left;
        case Qt::RightButton: return right;
        case Qt::MiddleButton: return middle;
        default: return 0u;
        }
    };
    switch (e.type()) {
    case QEvent::MouseButtonPress:
        return pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    case QEvent::MouseButtonRelease:
        return pick(WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
    case QEvent::MouseButtonDblClick:
        return classDoubleClicks ? pick(WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK)
                                 : pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    default:
        return 0;
    }
}

bool classHasDoubleClicks(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return false;
    // Built-in controls always report double clicks.
    return r->windowClass->factory || (r->windowClass->windowClass.style & CS_DBLCLKS);
}

QPoint toClient(Hwnd hwnd, QWidget* source, QPointF local)
{
    WindowRecord* r = findWindow(hwnd);
    QWidget* client = r ? r->client.data() : nullptr;
    QPoint p = local.toPoint();
    if (!client || client == source)
        return p;
    if (client->isAncestorOf(source))
        return source->mapTo(client, p);
    return client->mapFromGlobal(source->mapToGlobal(p));
}

std::shared_ptr<InputPayload> payloadOf(QWidget* target, QEvent* event)
{
    auto p = std::make_shared<InputPayload>();
    p->target = target;
    p->event.reset(event->clone());
    return p;
}

bool routeMouse(QWidget* widget, Hwnd hwnd, QMouseEvent* e)
{
    std::uint32_t message = mouseMessage(*e, classHasDoubleClicks(hwnd));
    if (!message)
        return false;
    std::uint32_t state = keyStateOf(e->modifiers(), e->buttons());
    QPoint client = toClient(hwnd, widget, e->position());
    QPoint global = e->globalPosition().toPoint();
    Msg m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = state & 0xFFFF;
    m.lParam = MakeLParam(client.x(), client.y());
    m.pt = {global.x(), global.y()};
    postInputMessage(m, payloadOf(widget, e), state);
    return true;
}

bool routeWheel(QWidget* widget, Hwnd hwnd, QWheelEvent* e)
{
    std::uint32_t state = keyStateOf(e->modifiers(), e->buttons());
    int delta = e->angleDelta().y();
    QPoint global = e->globalPosition().toPoint();
    Msg m;
    m.hwnd = hwnd;
    m.message = WM_MOUSEWHEEL;
    m.wParam = WParam((state & 0xFFFF) | (std::uint32_t(std::uint16_t(std::int16_t(delta))) << 16));
    m.lParam = MakeLParam(global.x(), global.y());
    m.pt = {global.x(), global.y()};
    postInputMessage(m, payloadOf(widget, e), state);
    return true;
}

bool routeKey(QWidget* widget, Hwnd hwnd, QKeyEvent* e)
{
    std::uint32_t vk = virtualKeyOf(*e);
    if (!vk) {
        QList<uint> characters = e->text().toUcs4();
        if (!characters.isEmpty() && QChar::isPrint(char32_t(characters.front())))
            vk = VK_PACKET;
    }
    if (!vk)
        return false;
    bool down = e->type() == QEvent::KeyPress;
    Qt::KeyboardModifiers mods = e->modifiers();
    bool alt = mods & Qt::AltModifier;
    bool ctrl = mods & Qt::ControlModifier;
    std::uint32_t message;
    if (down)
        message = (alt && !ctrl) || vk == 0x79 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    else
        message = (alt && !ctrl) || vk == 0x79 ? WM_SYSKEYUP : WM_KEYUP;
    std::uint32_t lp = 1 | (std::uint32_t(e->nativeScanCode() & 0xFF) << 16);
    if (alt)
        lp |= 1u << 29;
    if (!down)
        lp |= 3u << 30;
    else if (e->isAutoRepeat())
        lp |= 1u << 30;
    Msg m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = vk;
    m.lParam = LParam(lp);
    Point cursor = GetCursorPos();
    m.pt = cursor;
    postInputMessage(m, payloadOf(widget, e), keyStateOf(mods, QApplication::mouseButtons()));
    return true;
}

bool routeInput(QWidget* widget, QEvent* event);

Hwnd g_focus = Hwnd::Null;

void focusMovedTo(Hwnd newFocus)
{
    if (newFocus == g_focus)
        return;
    Hwnd old = g_focus;
    g_focus = newFocus;
    ToolkitScope scope;
    if (IsWindow(old))
        SendMessage(old, WM_KILLFOCUS, WParam(newFocus), 0);
    if (IsWindow(newFocus) && g_focus == newFocus)
        SendMessage(newFocus, WM_SETFOCUS, WParam(old), 0);
}

} // namespace

bool InputRouter::eventFilter(QObject* object, QEvent* event)
{
    if (!event->spontaneous() && event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    return object->isWidgetType() && routeInput(static_cast<QWidget*>(object), event);
}

bool routeInjectedInput(QWidget* target, QEvent* event)
{
    return target && routeInput(target, event);
}

namespace {

bool routeInput(QWidget* widget, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        QWidget* now = QApplication::focusWidget();
        focusMovedTo(now ? Registry::windowOf(now) : Hwnd::Null);
        return false;
    }
    default:
        return false;
    }
    if (replaying())
        return false;
    if (isNonClient(widget))
        return false;
    Hwnd hwnd = Registry::windowOf(widget);
    if (hwnd == Hwnd::Null)
        return false;
    if (!widget->isEnabled())
        return true; // disabled windows get no input
    switch (event->type()) {
    case QEvent::Wheel:
        return routeWheel(widget, hwnd, static_cast<QWheelEvent*>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return routeKey(widget, hwnd, static_cast<QKeyEvent*>(event));
    default:
        return routeMouse(widget, hwnd, static_cast<QMouseEvent*>(event));
    }
}

} // namespace
} // namespace platform::qt
