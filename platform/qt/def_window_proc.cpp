// The default processing of messages, and window objects.

#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/button_keys.h"
#include "platform/qt/device_context.h"
#include "platform/qt/input.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/window.h"
#include "platform/window_object.h"

#include <QCoreApplication>

#include <cstring>
#include <vector>

namespace platform {

struct WindowObjectAccess {
    static void setHandle(WindowObject& o, Hwnd h) { o.m_hwnd = h; }
    static void gone(WindowObject& o) { o.onWindowGone(); }
};

namespace qt {
namespace {

bool isInputMessage(std::uint32_t m)
{
    return (m >= WM_KEYDOWN && m <= WM_SYSCHAR) || (m >= WM_MOUSEMOVE && m <= WM_MOUSEWHEEL);
}

std::vector<WindowObject*>& objectsToDelete()
{
    static std::vector<WindowObject*> list;
    return list;
}

} // namespace

void unbindObject(WindowRecord& r)
{
    WindowObject* object = r.object;
    if (!object)
        return;
    r.object = nullptr;
    WindowObjectAccess::setHandle(*object, Hwnd::Null);
    WindowObjectAccess::gone(*object);
}

void flushDeferredDeletions()
{
    auto pending = std::move(objectsToDelete());
    objectsToDelete().clear();
    for (WindowObject* o : pending)
        delete o;
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace qt

using namespace qt;

LResult DefWindowProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return 0;
    if (isInputMessage(message)) {
        replayCurrentInput(hwnd, message, wParam);
        // Alt with a character: the top-level window looks for the button
        // whose access key it is.
        if (message == WM_SYSCHAR)
            routeSystemCharacter(hwnd, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        return 1;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        r->text = text ? text : "";
        if (!r->isChild() && r->widget)
            r->widget->setWindowTitle(windowTitleFor(r->text));
        else if (r->client)
            r->client->update();
        return 1;
    }
    case WM_GETTEXTLENGTH:
        return LResult(r->text.size());
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        size_t n = std::min<size_t>(r->text.size(), wParam - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), r->text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return LResult(n);
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        // A command taken out of the window's system menu is refused.
        if (!HasSystemCommand(hwnd, std::uint32_t(wParam & 0xFFF0)))
            return 0;
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(hwnd, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(hwnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(hwnd, SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            ShowWindow(hwnd, SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_ERASEBKGND: {
        const WindowClass& cls = r->windowClass->windowClass;
        if (cls.nullBrush)
            return 0;
        FillRect(Hdc(wParam), GetClientRect(hwnd), cls.background);
        return 1;
    }
    case WM_PAINT: {
        PaintStruct ps;
        BeginPaint(hwnd, ps);
        EndPaint(hwnd, ps);
        return 0;
    }
    case WM_SETFONT:
        r->font = Font(wParam);
        if (r->widget)
            r->widget->setFont(qfontFor(r->font));
        if (lParam && r->client)
            r->client->update();
        return 0;
    case WM_GETFONT:
        return LResult(r->font);
    case WM_QUERYENDSESSION:
    case WM_MOUSEACTIVATE:
        return 1;
    default:
        return 0;
    }
}

WindowObject::~WindowObject()
{
    if (m_hwnd != Hwnd::Null)
        detach();
}

bool WindowObject::attach(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->object || m_hwnd != Hwnd::Null)
        return false;
    r->object = this;
    m_hwnd = hwnd;
    return true;
}

Hwnd WindowObject::detach()
{
    Hwnd h = m_hwnd;
    if (WindowRecord* r = findWindow(h); r && r->object == this)
        r->object = nullptr;
    m_hwnd = Hwnd::Null;
    return h;
}

WindowObject* WindowObject::fromHandle(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->object : nullptr;
}

bool WindowObject::preTranslateMessage(Msg&)
{
    return false;
}

LResult WindowObject::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    return defaultProc(message, wParam, lParam);
}

LResult WindowObject::defaultProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    WindowRecord* r = findWindow(m_hwnd);
    if (!r)
        return 0;
    return CallWindowProc(r->proc, m_hwnd, message, wParam, lParam);
}

void DeleteWindowObjectLater(WindowObject* object)
{
    if (object)
        objectsToDelete().push_back(object);
}

bool FrameworkIdle(long)
{
    if (!ToolkitScope::active())
        flushDeferredDeletions();
    return false;
}

} // namespace platform
