// Turns Qt's input events for our windows into queued messages (text an
// input method commits included), and Qt's focus changes into
// WM_SETFOCUS / WM_KILLFOCUS.

#include "platform/qt/input_router.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/input.h"
#include "platform/qt/keys.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QApplication>
#include <QInputMethodEvent>
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

// The characters of a text, a surrogate pair kept together.
QStringList charactersOf(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        out.push_back(text.mid(i, units));
        i += units;
    }
    return out;
}

// Text an input method commits comes as characters without keys of their
// own: one WM_CHAR each, so that the program sees every character (and may
// replace or swallow it) as it sees typed ones.  Each carries a commit of
// its one character, replayed to the widget when the WM_CHAR reaches
// DefWindowProc.  The first takes over what the commit replaces, the last
// the composition that follows it.
bool routeInputMethod(QWidget* widget, Hwnd hwnd, QInputMethodEvent* e)
{
    QStringList characters = charactersOf(e->commitString());
    if (characters.isEmpty())
        return false; // a composition only: the widget shows it, the program hears nothing
    std::uint32_t state = keyStateOf(QApplication::keyboardModifiers(), QApplication::mouseButtons());
    for (qsizetype i = 0; i < characters.size(); ++i) {
        bool first = i == 0;
        bool last = i + 1 == characters.size();
        auto commit = std::make_unique<QInputMethodEvent>(last ? e->preeditString() : QString(),
                                                          last ? e->attributes() : QList<QInputMethodEvent::Attribute>());
        commit->setCommitString(characters[i], first ? e->replacementStart() : 0, first ? e->replacementLength() : 0);
        auto payload = std::make_shared<InputPayload>();
        payload->target = widget;
        payload->event = std::move(commit);
        Msg m;
        m.hwnd = hwnd;
        m.message = WM_CHAR;
        m.wParam = packCharCode(characters[i]);
        m.lParam = 1;
        m.pt = GetCursorPos();
        postInputMessage(m, std::move(payload), state);
    }
    return true;
}

// A pop-up without a window of its own (a combo box's dropped list, a
// menu) takes Qt's focus while it is up; the window keeps the focus, as
// the window system's did.
bool isWindowlessPopup(const QWidget* w)
{
    return w && w->window()->windowType() == Qt::Popup && Registry::windowOf(w) == Hwnd::Null;
}

bool routeInput(QWidget* widget, QEvent* event);

Hwnd g_focus = Hwnd::Null;

// Gives the activation back to the window with the focus.
void returnActivation()
{
    WindowRecord* r = findWindow(GetTopLevel(g_focus));
    if (r && r->widget && r->widget->isVisible() && QApplication::activeWindow() != r->widget)
        r->widget->activateWindow();
}

// Some window systems activate a pop-up as it shows, or only after it has
// closed again.  A pop-up without a window of its own never keeps the
// activation: once it is gone, the window with the focus has it again.
void watchPopupActivation(QObject* object, QEvent* event)
{
    if (!object->isWidgetType())
        return;
    auto* w = static_cast<QWidget*>(object);
    if (!w->isWindow() || !isWindowlessPopup(w))
        return;
    bool staleActivation = event->type() == QEvent::WindowActivate && !w->isVisible();
    bool activeOneCloses = event->type() == QEvent::Hide && QApplication::activeWindow() == w;
    if (staleActivation || activeOneCloses)
        QMetaObject::invokeMethod(qApp, returnActivation, Qt::QueuedConnection);
}

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
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Hide)
        watchPopupActivation(object, event);
    // Input methods send their events as the program would; focus changes
    // come either way.
    bool anyOrigin = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut ||
                     event->type() == QEvent::InputMethod;
    if (!event->spontaneous() && !anyOrigin)
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
    case QEvent::InputMethod:
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        QWidget* now = QApplication::focusWidget();
        if (!isWindowlessPopup(now) && !(!now && isWindowlessPopup(QApplication::activeWindow())))
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
    case QEvent::InputMethod:
        return routeInputMethod(widget, hwnd, static_cast<QInputMethodEvent*>(event));
    default:
        return routeMouse(widget, hwnd, static_cast<QMouseEvent*>(event));
    }
}

} // namespace
} // namespace platform::qt
