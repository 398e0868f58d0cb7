// TrackMouseEvent.  The pointer has left a window's client area when the
// toolkit's next pointer input goes to another window (a child window
// included, as the classic interface counts it) or the window's client
// widget is told the pointer left it.  One watcher sees the toolkit's
// input before the input router queues it.

#include "platform/message_queue.h"

#include "platform/messages.h"
#include "platform/qt/registry.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <unordered_set>
#include <vector>

namespace platform {
namespace {

class PointerWatch final : public QObject {
public:
    static PointerWatch& instance()
    {
        static PointerWatch* watch = [] {
            auto* w = new PointerWatch;
            qApp->installEventFilter(w);
            return w;
        }();
        return *watch;
    }

    // The window the last pointer input was for; Null before any.
    Hwnd pointerWindow() const { return m_pointerWindow; }

    void track(Hwnd hwnd) { m_tracked.insert(std::uintptr_t(hwnd)); }
    void cancel(Hwnd hwnd) { m_tracked.erase(std::uintptr_t(hwnd)); }
    bool tracking(Hwnd hwnd) const { return m_tracked.count(std::uintptr_t(hwnd)) != 0; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!object->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(object);
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (event->spontaneous()) {
                m_pointerWindow = qt::Registry::windowOf(widget);
                leaveAllBut(m_pointerWindow);
            }
            break;
        case QEvent::Leave:
            if (Hwnd h = qt::Registry::windowOf(widget); tracking(h))
                if (qt::WindowRecord* r = qt::findWindow(h); r && r->client == widget)
                    left(h);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void left(Hwnd hwnd)
    {
        m_tracked.erase(std::uintptr_t(hwnd));
        PostMessage(hwnd, WM_MOUSELEAVE, 0, 0);
    }

    void leaveAllBut(Hwnd hwnd)
    {
        std::vector<Hwnd> gone;
        for (std::uintptr_t t : m_tracked)
            if (Hwnd(t) != hwnd)
                gone.push_back(Hwnd(t));
        for (Hwnd h : gone)
            left(h);
    }

    std::unordered_set<std::uintptr_t> m_tracked;
    Hwnd m_pointerWindow = Hwnd::Null;
};

} // namespace

bool TrackMouseEvent(const TrackMouseEventInfo& info)
{
    if (!IsWindow(info.hwnd) || !(info.flags & TME_LEAVE))
        return false;
    PointerWatch& watch = PointerWatch::instance();
    if (info.flags & TME_CANCEL) {
        watch.cancel(info.hwnd);
        return true;
    }
    // The pointer may have moved on before the window handled the move
    // that asks for tracking (input waits in the queue; the toolkit does
    // not).  Before the watcher has seen any input the caller is believed.
    if (watch.pointerWindow() != Hwnd::Null && watch.pointerWindow() != info.hwnd) {
        watch.cancel(info.hwnd);
        PostMessage(info.hwnd, WM_MOUSELEAVE, 0, 0);
        return true;
    }
    watch.track(info.hwnd);
    return true;
}

} // namespace platform
