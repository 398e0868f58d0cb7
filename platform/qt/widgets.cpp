#include "platform/qt/widgets.h"

#include "platform/gdi.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/device_context.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPaintEvent>

namespace platform::qt {

void paintThroughProcedure(Hwnd hwnd, QWidget* widget, const QRect& area)
{
    if (!findWindow(hwnd))
        return;
    ToolkitScope scope;
    QPainter painter(widget);
    DeviceContext dc(&painter, widget, hwnd);
    PaintSession session(hwnd, &dc, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    SendMessage(hwnd, WM_ERASEBKGND, WParam(dc.handle()), 0);
    if (!findWindow(hwnd))
        return;
    SendMessage(hwnd, WM_PAINT, 0, 0);
}

void reportGeometry(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->destroying)
        return;
    Rect client = GetClientRect(hwnd);
    Point origin = ClientToScreen(hwnd, {0, 0});
    if (r->isChild()) {
        Rect inParent = GetWindowRectInParent(hwnd);
        origin = {inParent.left, inParent.top};
    }
    Rect now = Rect::fromSize(origin.x, origin.y, client.width(), client.height());
    bool moved = !r->reportedGeometry || now.left != r->lastClient.left || now.top != r->lastClient.top;
    bool sized = !r->reportedGeometry || now.width() != r->lastClient.width() || now.height() != r->lastClient.height();
    r->lastClient = now;
    r->reportedGeometry = true;
    ToolkitScope scope;
    if (moved)
        SendMessage(hwnd, WM_MOVE, 0, MakeLParam(origin.x, origin.y));
    if (sized && findWindow(hwnd)) {
        WParam kind = IsIconic(hwnd) ? SIZE_MINIMIZED : IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(hwnd, WM_SIZE, kind, MakeLParam(client.width(), client.height()));
    }
}

FrameWidget::FrameWidget(Hwnd hwnd) : QWidget(nullptr, Qt::Window), m_hwnd(hwnd)
{
    m_client = new ClientWidget(hwnd, this);
    setAttribute(Qt::WA_QuitOnClose, false);
    Registry::tagWidget(this, hwnd);
}

void FrameWidget::setMenuBar(QMenuBar* bar)
{
    if (m_menuBar == bar)
        return;
    if (m_menuBar) {
        m_menuBar->hide();
        m_menuBar->deleteLater();
    }
    m_menuBar = bar;
    if (m_menuBar) {
        m_menuBar->setParent(this);
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->setProperty("velmoraNonClient", true);
        m_menuBar->show();
    }
    layoutChildren();
}

void FrameWidget::layoutChildren()
{
    int top = 0;
    if (m_menuBar) {
        m_menuBar->setGeometry(0, 0, width(), kMenuBarHeight);
        top = kMenuBarHeight;
    }
    m_client->setGeometry(0, top, width(), std::max(0, height() - top));
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    // The window decides for itself: a close request becomes the system
    // command it would have been.  The platform never closes a frame
    // through the toolkit (DestroyWindow hides and deletes it), so every
    // close event here is a request from outside: the window manager's
    // close button, or the toolkit's QWindow::close(), which Qt delivers
    // as a non-spontaneous event.
    // A disabled window takes no input, the close button included: while a
    // modal window runs, its owner's close button must not end the program.
    event->ignore();
    if (findWindow(m_hwnd) && IsWindowEnabled(m_hwnd))
        PostMessage(m_hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void FrameWidget::resizeEvent(QResizeEvent*)
{
    layoutChildren();
    reportGeometry(m_hwnd);
}

void FrameWidget::moveEvent(QMoveEvent*)
{
    reportGeometry(m_hwnd);
}

void FrameWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && findWindow(m_hwnd)) {
        ToolkitScope scope;
        SendMessage(m_hwnd, WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    } else if (event->type() == QEvent::WindowStateChange) {
        if (WindowRecord* r = findWindow(m_hwnd))
            r->reportedGeometry = false;
        reportGeometry(m_hwnd);
    }
}

ClientWidget::ClientWidget(Hwnd hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Registry::tagWidget(this, hwnd);
}

void ClientWidget::paintEvent(QPaintEvent* event)
{
    paintThroughProcedure(m_hwnd, this, event->rect());
}

ChildWidget::ChildWidget(Hwnd hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd)
{
    setMouseTracking(true);
    Registry::tagWidget(this, hwnd);
}

void ChildWidget::paintEvent(QPaintEvent* event)
{
    paintThroughProcedure(m_hwnd, this, event->rect());
}

void ChildWidget::resizeEvent(QResizeEvent*)
{
    reportGeometry(m_hwnd);
}

void ChildWidget::moveEvent(QMoveEvent*)
{
    reportGeometry(m_hwnd);
}

} // namespace platform::qt
