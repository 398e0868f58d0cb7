// The platform's bookkeeping of windows and window classes, and the bridge
// between window handles and the Qt widgets behind them.
#pragma once

#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/window.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::qt {

// Creates the widget of a window of a built-in control class.
using ControlFactory = std::function<QWidget*(QWidget* parent, const CreateStruct& cs)>;

struct ClassInfo {
    WindowClass windowClass;
    ControlFactory factory; // empty for classes registered by the program
};

struct WindowRecord {
    Hwnd hwnd = Hwnd::Null;
    const ClassInfo* windowClass = nullptr;
    WndProc proc = nullptr;
    WindowObject* object = nullptr;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    Hwnd parent = Hwnd::Null; // child windows
    Hwnd owner = Hwnd::Null;  // top-level windows
    int controlId = 0;
    std::string text; // GBK
    std::uintptr_t userData = 0;
    Menu menu = Menu::Null;
    Font font = Font::Null;
    // The window's own widget: the frame of a top-level window, the control
    // itself for a child.  `client` is where children live and where the
    // client area is painted; the same widget for child windows.
    QPointer<QWidget> widget;
    QPointer<QWidget> client;
    std::vector<Hwnd> children; // z-order, top first
    bool destroying = false;
    bool ncDestroyed = false;
    Rect lastClient{};     // last geometry reported by WM_SIZE/WM_MOVE
    bool reportedGeometry = false;
    bool modal = false; // a top-level window a modal opening runs for

    bool isChild() const { return (style & WS_CHILD) != 0; }
};

class Registry {
public:
    static Registry& instance();

    WindowRecord* find(Hwnd hwnd);
    WindowRecord& add(std::unique_ptr<WindowRecord> record);
    // Drops the record; its handle is never handed out again.
    void remove(Hwnd hwnd);
    Hwnd nextHandle();
    std::vector<Hwnd> topLevels() const { return m_topLevels; }

    const ClassInfo* findClass(std::string_view name) const;
    bool addClass(ClassInfo info);

    // The window a widget belongs to: the nearest ancestor (or the widget
    // itself) that is a window's widget or client widget.
    static Hwnd windowOf(const QWidget* widget);
    static void tagWidget(QWidget* widget, Hwnd hwnd);

private:
    Registry();
    std::unordered_map<std::uintptr_t, std::unique_ptr<WindowRecord>> m_windows;
    std::vector<Hwnd> m_topLevels;
    std::vector<std::unique_ptr<ClassInfo>> m_classes;
    std::uintptr_t m_next = 0x10000;
};

inline WindowRecord* findWindow(Hwnd hwnd)
{
    return Registry::instance().find(hwnd);
}

// Code that runs inside Qt's delivery of an event to one of our widgets
// marks itself, so that deferred deletions wait until it has returned.
class ToolkitScope {
public:
    ToolkitScope() { ++s_depth; }
    ~ToolkitScope() { --s_depth; }
    ToolkitScope(const ToolkitScope&) = delete;
    ToolkitScope& operator=(const ToolkitScope&) = delete;
    static bool active() { return s_depth > 0; }

private:
    static inline int s_depth = 0;
};

// Deletes widgets and window objects whose deletion was deferred, when no
// toolkit code is on the stack.
void flushDeferredDeletions();

} // namespace platform::qt
