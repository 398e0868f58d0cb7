// Windows on Qt widgets.  The platform keeps its own records (styles, the
// parent/owner tree, z-order, text) and mirrors them onto the widgets.

#include "platform/window.h"

#include "platform/common_controls.h"
#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/qt/widgets.h"
#include "platform/window_object.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace platform {
namespace qt {
void purgeMessagesFor(Hwnd hwnd);
void killTimersOf(Hwnd hwnd);
void unbindObject(WindowRecord& r);
void attachMenuBar(Hwnd hwnd, Menu menu);

namespace {

// What lies between the outer rectangle and the Qt window of a top-level
// window: the emulated border and caption.  The menu bar is drawn inside
// the Qt window, above the client widget.
FrameMetrics qtInsets(const WindowRecord& r)
{
    return FrameMetricsFor(r.style, r.exStyle, false);
}

void applyTopLevelFlags(WindowRecord& r)
{
    QWidget* w = r.widget;
    if (!w)
        return;
    // Window systems keep a dialog above the window it is transient for;
    // a plain window gets no such hint from the toolkit.
    Qt::WindowFlags f = (r.modal ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if (r.exStyle & WS_EX_TOOLWINDOW)
        f = Qt::Tool | Qt::CustomizeWindowHint;
    // The toolkit's one kind of window that window systems never activate.
    if ((r.exStyle & WS_EX_NOACTIVATE) && (r.style & WS_CAPTION) != WS_CAPTION)
        f = Qt::ToolTip | Qt::CustomizeWindowHint;
    bool caption = (r.style & WS_CAPTION) == WS_CAPTION;
    if (caption)
        f |= Qt::WindowTitleHint;
    if (r.style & WS_SYSMENU)
        f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (r.style & WS_MINIMIZEBOX)
        f |= Qt::WindowMinimizeButtonHint;
    if (r.style & WS_MAXIMIZEBOX)
        f |= Qt::WindowMaximizeButtonHint;
    if (!caption && !(r.style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER)))
        f |= Qt::FramelessWindowHint;
    if (r.exStyle & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    if (r.exStyle & WS_EX_NOACTIVATE)
        f |= Qt::WindowDoesNotAcceptFocus;
    if (w->windowFlags() == f)
        return;
    bool visible = w->isVisible();
    QRect g = w->geometry();
    w->setWindowFlags(f);
    w->setGeometry(g);
    if (visible)
        w->show();
}

// Sets the Qt geometry of a top-level window from its outer rectangle.
void setOuterGeometry(WindowRecord& r, int x, int y, int width, int height)
{
    FrameMetrics m = qtInsets(r);
    int w = std::max(0, width - m.left - m.right);
    int h = std::max(0, height - m.top - m.bottom);
    QWidget* widget = r.widget;
    // A fixed frame pins its size against the window manager; the pin of an
    // earlier size (or of the frame before a style change) must go first.
    widget->setMinimumSize(0, 0);
    widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget->setGeometry(x + m.left, y + m.top, w, h);
    if (!(r.style & WS_THICKFRAME))
        widget->setFixedSize(w, h);
    // Qt holds back resize events of hidden widgets until they are shown;
    // the client area must have its size at once.
    static_cast<FrameWidget*>(widget)->layoutChildren();
}

// Children are shown and hidden explicitly, so that one without WS_VISIBLE
// stays hidden when its parent is shown (Qt would show it along).
void setChildVisible(QWidget* widget, bool visible)
{
    if (visible)
        widget->show();
    else
        widget->hide();
}

// Mirrors the record's z-order of children onto the Qt stacking order.
void restack(WindowRecord& parent)
{
    // Qt stacks later raises above earlier ones: raise from the bottom up.
    for (auto it = parent.children.rbegin(); it != parent.children.rend(); ++it)
        if (WindowRecord* c = findWindow(*it); c && c->widget)
            c->widget->raise();
}

void sendDestroy(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return;
    r->destroying = true;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    if (!(r = findWindow(hwnd)))
        return;
    std::vector<Hwnd> children = r->children;
    for (Hwnd c : children)
        sendDestroy(c);
}

void finalize(Hwnd hwnd, bool rootOfTree)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return;
    std::vector<Hwnd> children = r->children;
    for (Hwnd c : children)
        finalize(c, false);
    if (!(r = findWindow(hwnd)))
        return;
    if (!r->ncDestroyed) {
        r->ncDestroyed = true;
        SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    }
    if (!(r = findWindow(hwnd)))
        return;
    killTimersOf(hwnd);
    purgeMessagesFor(hwnd);
    // A menu bar still attached goes with its window.
    if (r->menu != Menu::Null)
        DestroyMenu(std::exchange(r->menu, Menu::Null));
    if (WindowRecord* p = findWindow(r->parent))
        std::erase(p->children, hwnd);
    QPointer<QWidget> widget = r->widget;
    unbindObject(*r);
    Registry::instance().remove(hwnd);
    if (rootOfTree && widget) {
        widget->hide();
        widget->deleteLater();
    }
}

} // namespace
} // namespace qt

using namespace qt;

bool RegisterWindowClass(const WindowClass& windowClass)
{
    return Registry::instance().addClass(ClassInfo{windowClass, {}});
}

bool IsWindowClassRegistered(std::string_view name)
{
    return Registry::instance().findClass(name) != nullptr;
}

FrameMetrics FrameMetricsFor(std::uint32_t style, std::uint32_t exStyle, bool hasMenu)
{
    if (style & WS_CHILD)
        return {};
    int border = 0;
    if (style & WS_THICKFRAME)
        border = 4;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = 3;
    else if (style & WS_BORDER)
        border = 1;
    if (exStyle & WS_EX_CLIENTEDGE)
        border += 2;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? 22 : 0;
    int menu = hasMenu ? FrameWidget::kMenuBarHeight : 0;
    return {border, border + caption + menu, border, border};
}

Hwnd CreateWindowEx(const WindowCreateParams& p, WindowObject* object)
{
    const ClassInfo* cls = Registry::instance().findClass(p.className);
    if (!cls)
        return Hwnd::Null;
    bool child = p.style & WS_CHILD;
    WindowRecord* parent = findWindow(p.parent);
    if (child && !parent)
        return Hwnd::Null;
    if (object && object->handle() != Hwnd::Null)
        return Hwnd::Null;

    auto record = std::make_unique<WindowRecord>();
    Hwnd hwnd = Registry::instance().nextHandle();
    record->hwnd = hwnd;
    record->windowClass = cls;
    record->proc = cls->windowClass.proc;
    record->style = p.style & ~(WS_VISIBLE | WS_DISABLED);
    record->exStyle = p.exStyle;
    record->text = std::string(p.text);
    if (child) {
        record->parent = p.parent;
        record->controlId = p.controlId;
    } else {
        record->owner = parent ? GetTopLevel(p.parent) : Hwnd::Null;
    }

    CreateStruct cs;
    cs.createParam = p.createParam;
    cs.parent = p.parent;
    cs.x = p.x;
    cs.y = p.y;
    cs.width = p.width;
    cs.height = p.height;
    cs.style = p.style;
    cs.exStyle = p.exStyle;
    cs.className = p.className;
    cs.text = p.text;

    QWidget* widget = nullptr;
    if (cls->factory) {
        if (!child)
            return Hwnd::Null;
        widget = cls->factory(parent->client, cs);
        if (!widget)
            return Hwnd::Null;
        record->client = widget;
    } else if (child) {
        widget = new ChildWidget(hwnd, parent->client);
        record->client = widget;
    } else {
        auto* frame = new FrameWidget(hwnd);
        widget = frame;
        record->client = frame->client();
    }
    Registry::tagWidget(widget, hwnd);
    record->widget = widget;
    WindowRecord& r = Registry::instance().add(std::move(record));
    if (object)
        object->attach(hwnd);

    if (child) {
        parent->children.push_back(hwnd);
        widget->lower();
        widget->setGeometry(p.x, p.y, std::max(0, p.width), std::max(0, p.height));
        widget->hide();
    } else {
        applyTopLevelFlags(r);
        widget->setWindowTitle(windowTitleFor(r.text));
        if (p.menu != Menu::Null)
            attachMenuBar(hwnd, p.menu);
        setOuterGeometry(r, p.x, p.y, p.width, p.height);
    }
    if (p.style & WS_DISABLED)
        widget->setEnabled(false);

    if (!SendMessage(hwnd, WM_NCCREATE, 0, LParam(&cs)) || !IsWindow(hwnd)) {
        DestroyWindow(hwnd);
        return Hwnd::Null;
    }
    if (SendMessage(hwnd, WM_CREATE, 0, LParam(&cs)) == -1 || !IsWindow(hwnd)) {
        DestroyWindow(hwnd);
        return Hwnd::Null;
    }
    reportGeometry(hwnd);
    if ((p.style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : Hwnd::Null;
}

bool DestroyWindow(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->destroying)
        return false;
    for (Hwnd owned : Registry::instance().topLevels())
        if (WindowRecord* o = findWindow(owned); o && o->owner == hwnd)
            DestroyWindow(owned);
    if (!(r = findWindow(hwnd)))
        return true;
    if (r->widget && r->widget->isVisible()) {
        SendMessage(hwnd, WM_SHOWWINDOW, 0, 0);
        if ((r = findWindow(hwnd)) && r->widget)
            r->widget->hide();
    }
    sendDestroy(hwnd);
    finalize(hwnd, true);
    return true;
}

bool IsWindow(Hwnd hwnd)
{
    return hwnd != Hwnd::Null && findWindow(hwnd) != nullptr;
}

bool IsChild(Hwnd parent, Hwnd hwnd)
{
    for (WindowRecord* r = findWindow(hwnd); r && r->isChild(); r = findWindow(r->parent))
        if (r->parent == parent)
            return true;
    return false;
}

Hwnd GetParent(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && r->isChild() ? r->parent : Hwnd::Null;
}

Hwnd GetOwner(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && !r->isChild() ? r->owner : Hwnd::Null;
}

Hwnd GetTopLevel(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    while (r && r->isChild())
        r = findWindow(r->parent);
    return r ? r->hwnd : Hwnd::Null;
}

std::vector<Hwnd> GetChildWindows(Hwnd parent)
{
    WindowRecord* r = findWindow(parent);
    return r ? r->children : std::vector<Hwnd>{};
}

bool SetParent(Hwnd child, Hwnd newParent)
{
    WindowRecord* r = findWindow(child);
    WindowRecord* p = findWindow(newParent);
    if (!r || !p || !r->isChild() || child == newParent || IsChild(child, newParent) || !r->widget || !p->client)
        return false;
    if (r->parent == newParent)
        return true;
    if (WindowRecord* old = findWindow(r->parent))
        std::erase(old->children, child);
    r->parent = newParent;
    p->children.insert(p->children.begin(), child);
    QWidget* w = r->widget;
    bool shown = !w->isHidden();
    QRect g = w->geometry();
    w->setParent(p->client);
    w->setGeometry(g);
    setChildVisible(w, shown);
    w->raise();
    return true;
}

std::vector<Hwnd> GetTopLevelWindows()
{
    return Registry::instance().topLevels();
}

std::string GetClassName(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->windowClass->windowClass.name : std::string();
}

int GetDlgCtrlID(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->controlId : 0;
}

std::uint32_t GetWindowStyle(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return 0;
    std::uint32_t s = r->style;
    if (r->widget && !r->widget->isHidden())
        s |= WS_VISIBLE;
    if (r->widget && r->widget->testAttribute(Qt::WA_ForceDisabled))
        s |= WS_DISABLED;
    if (IsIconic(hwnd))
        s |= WS_MINIMIZE;
    if (IsZoomed(hwnd))
        s |= WS_MAXIMIZE;
    return s;
}

std::uint32_t GetWindowExStyle(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->exStyle : 0;
}

void SetWindowStyle(Hwnd hwnd, std::uint32_t style)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return;
    Rect outer = GetWindowRect(hwnd);
    std::uint32_t kept = WS_CHILD;
    r->style = (style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | kept)) | (r->style & kept);
    if (!r->isChild()) {
        applyTopLevelFlags(*r);
        setOuterGeometry(*r, outer.left, outer.top, outer.width(), outer.height());
    }
    SendMessage(hwnd, WM_STYLECHANGED, WParam(GWL_STYLE), 0);
}

void SetWindowExStyle(Hwnd hwnd, std::uint32_t exStyle)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return;
    Rect outer = GetWindowRect(hwnd);
    r->exStyle = exStyle;
    if (!r->isChild()) {
        applyTopLevelFlags(*r);
        setOuterGeometry(*r, outer.left, outer.top, outer.width(), outer.height());
    }
    SendMessage(hwnd, WM_STYLECHANGED, WParam(GWL_EXSTYLE), 0);
}

bool ShowWindow(Hwnd hwnd, int command)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget)
        return false;
    QWidget* w = r->widget;
    bool wasVisible = !w->isHidden();
    bool show = command != SW_HIDE;
    if (show != wasVisible) {
        SendMessage(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
        if (!(r = findWindow(hwnd)) || !(w = r->widget))
            return wasVisible;
    }
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                    !(r->exStyle & WS_EX_NOACTIVATE);
    if (!r->isChild())
        w->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    switch (command) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        r->isChild() ? w->show() : w->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        r->isChild() ? w->show() : w->showMaximized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        r->isChild() ? w->show() : w->showNormal();
        break;
    default:
        w->show();
        break;
    }
    if (!r->isChild() && activate && show && command != SW_MINIMIZE && command != SW_SHOWMINIMIZED) {
        w->raise();
        w->activateWindow();
    }
    return wasVisible;
}

bool IsWindowVisible(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && r->widget && r->widget->isVisible();
}

bool IsIconic(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && !r->isChild() && r->widget && r->widget->isMinimized();
}

bool IsZoomed(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && !r->isChild() && r->widget && r->widget->isMaximized();
}

bool EnableWindow(Hwnd hwnd, bool enable)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget)
        return false;
    // The window's own state: Qt's WA_Disabled also follows the parents.
    bool wasDisabled = r->widget->testAttribute(Qt::WA_ForceDisabled);
    if (wasDisabled == !enable)
        return wasDisabled;
    r->widget->setEnabled(enable);
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsWindowEnabled(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && r->widget && !r->widget->testAttribute(Qt::WA_ForceDisabled);
}

namespace {

WindowRecord* windowBelowModal(Hwnd modal)
{
    auto eligible = [modal](WindowRecord* r) {
        return r && r->hwnd != modal && r->widget && !r->isChild() && r->widget->isVisible();
    };
    if (WindowRecord* active = findWindow(GetActiveWindow()); eligible(active))
        return active;
    std::vector<Hwnd> windows = GetTopLevelWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (WindowRecord* r = findWindow(*it); eligible(r))
            return r;
    return nullptr;
}

} // namespace

void SetWindowModal(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget || r->isChild() || r->modal)
        return;
    // Modal to the program's window group, and a dialog transient for the
    // window that was active when it opened (or, with no window active,
    // the newest one shown): window managers that ignore group modality
    // still keep a dialog above the window it is transient for.  The
    // toolkit reads both when the window is mapped: a visible window is
    // mapped again.
    QWidget* w = r->widget;
    bool visible = w->isVisible();
    if (visible)
        w->hide();
    r->modal = true;
    applyTopLevelFlags(*r);
    w->setWindowModality(Qt::ApplicationModal);
    if (WindowRecord* below = windowBelowModal(hwnd)) {
        w->winId();
        below->widget->winId();
        w->windowHandle()->setTransientParent(below->widget->windowHandle());
    }
    if (visible)
        w->show();
}

Rect GetClientRect(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return {};
    return {0, 0, r->client->width(), r->client->height()};
}

Point ClientToScreen(Hwnd hwnd, Point p)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return p;
    QWidget* c = r->client;
    // mapToGlobal is only exact for shown windows; compose from geometry so
    // hidden windows answer the same.
    // For the top-level widget pos() would be the window manager's frame;
    // geometry() is where its contents start.
    QPoint offset(p.x, p.y);
    for (QWidget* w = c; w; w = w->parentWidget()) {
        offset += w->geometry().topLeft();
        if (w->isWindow())
            break;
    }
    return {offset.x(), offset.y()};
}

Point ScreenToClient(Hwnd hwnd, Point p)
{
    Point origin = ClientToScreen(hwnd, {0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

Rect GetWindowRect(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget)
        return {};
    QWidget* w = r->widget;
    if (!r->isChild()) {
        FrameMetrics m = qtInsets(*r);
        QRect g = w->isMinimized() ? w->normalGeometry() : w->geometry();
        if (!g.isValid())
            g = w->geometry();
        return {g.left() - m.left, g.top() - m.top, g.left() + g.width() + m.right, g.top() + g.height() + m.bottom};
    }
    Point origin = ClientToScreen(r->parent, {w->x(), w->y()});
    return Rect::fromSize(origin.x, origin.y, w->width(), w->height());
}

Rect GetWindowRectInParent(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget)
        return {};
    if (!r->isChild())
        return GetWindowRect(hwnd);
    QRect g = r->widget->geometry();
    return Rect::fromSize(g.x(), g.y(), g.width(), g.height());
}

bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool)
{
    return SetWindowPos(hwnd, Hwnd::Null, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int width, int height, std::uint32_t flags)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget)
        return false;
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            if (!r->isChild()) {
                std::uint32_t ex = insertAfter == HWND_TOPMOST ? (r->exStyle | WS_EX_TOPMOST) : (r->exStyle & ~WS_EX_TOPMOST);
                if (ex != r->exStyle) {
                    Rect outer = GetWindowRect(hwnd);
                    r->exStyle = ex;
                    applyTopLevelFlags(*r);
                    setOuterGeometry(*r, outer.left, outer.top, outer.width(), outer.height());
                }
            }
        } else if (r->isChild()) {
            WindowRecord* parent = findWindow(r->parent);
            auto& siblings = parent->children;
            std::erase(siblings, hwnd);
            if (insertAfter == HWND_TOP) {
                siblings.insert(siblings.begin(), hwnd);
            } else if (insertAfter == HWND_BOTTOM) {
                siblings.push_back(hwnd);
            } else {
                auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
                siblings.insert(it == siblings.end() ? siblings.begin() : it + 1, hwnd);
            }
            restack(*parent);
        } else if (insertAfter == HWND_TOP) {
            r->widget->raise();
        } else if (insertAfter == HWND_BOTTOM) {
            r->widget->lower();
        }
    }
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        Rect cur = GetWindowRectInParent(hwnd);
        int nx = (flags & SWP_NOMOVE) ? cur.left : x;
        int ny = (flags & SWP_NOMOVE) ? cur.top : y;
        int nw = (flags & SWP_NOSIZE) ? cur.width() : width;
        int nh = (flags & SWP_NOSIZE) ? cur.height() : height;
        if (r->isChild())
            r->widget->setGeometry(nx, ny, std::max(0, nw), std::max(0, nh));
        else
            setOuterGeometry(*r, nx, ny, nw, nh);
        reportGeometry(hwnd);
    }
    if ((r = findWindow(hwnd))) {
        if (flags & SWP_SHOWWINDOW)
            ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
        else if (flags & SWP_HIDEWINDOW)
            ShowWindow(hwnd, SW_HIDE);
    }
    return true;
}

Hwnd GetFocus()
{
    QWidget* w = QApplication::focusWidget();
    return w ? Registry::windowOf(w) : Hwnd::Null;
}

Hwnd SetFocus(Hwnd hwnd)
{
    Hwnd previous = GetFocus();
    if (hwnd == Hwnd::Null) {
        if (QWidget* w = QApplication::focusWidget())
            w->clearFocus();
        return previous;
    }
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return Hwnd::Null;
    QWidget* target = r->isChild() ? r->widget.data() : r->client.data();
    if (!target)
        return previous;
    if (target->focusPolicy() == Qt::NoFocus)
        target->setFocusPolicy(Qt::ClickFocus);
    QWidget* top = target->window();
    if (top && top->isVisible() && !top->isActiveWindow())
        top->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
    return previous;
}

Hwnd GetActiveWindow()
{
    QWidget* w = QApplication::activeWindow();
    return w ? Registry::windowOf(w) : Hwnd::Null;
}

bool SetForegroundWindow(Hwnd hwnd)
{
    WindowRecord* r = findWindow(GetTopLevel(hwnd));
    if (!r || !r->widget)
        return false;
    r->widget->raise();
    r->widget->activateWindow();
    return true;
}

bool SetWindowText(Hwnd hwnd, std::string_view text)
{
    if (!IsWindow(hwnd))
        return false;
    std::string copy(text);
    return SendMessage(hwnd, WM_SETTEXT, 0, LParam(copy.c_str())) != 0;
}

std::string GetWindowText(Hwnd hwnd)
{
    if (!IsWindow(hwnd))
        return {};
    LResult length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::string buffer(size_t(length) + 1, '\0');
    LResult got = SendMessage(hwnd, WM_GETTEXT, WParam(buffer.size()), LParam(buffer.data()));
    buffer.resize(size_t(std::clamp<LResult>(got, 0, length)));
    return buffer;
}

void SetWindowUserData(Hwnd hwnd, std::uintptr_t value)
{
    if (WindowRecord* r = findWindow(hwnd))
        r->userData = value;
}

std::uintptr_t GetWindowUserData(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->userData : 0;
}

WndProc SetWindowProc(Hwnd hwnd, WndProc proc)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return nullptr;
    WndProc old = r->proc;
    r->proc = proc;
    return old;
}

WndProc GetWindowProc(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->proc : nullptr;
}

LResult CallWindowProc(WndProc proc, Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    return proc ? proc(hwnd, message, wParam, lParam) : DefWindowProc(hwnd, message, wParam, lParam);
}

void InvalidateRect(Hwnd hwnd, const Rect* rect, bool)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return;
    if (rect)
        r->client->update(rect->left, rect->top, rect->width(), rect->height());
    else
        r->client->update();
}

void UpdateWindow(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client || !r->client->isVisible())
        return;
    ToolkitScope scope;
    r->client->repaint();
}

Size GetScreenSize()
{
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return {800, 600};
    QRect g = s->geometry();
    return {g.width(), g.height()};
}

} // namespace platform
