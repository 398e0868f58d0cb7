// Window objects: a C++ object bound to a window handle that receives the
// window's messages through a virtual procedure, takes part in the
// pre-translation of queued messages, and is told when its window is gone.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace platform {

class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject();

    Hwnd handle() const { return m_hwnd; }

    // Binds the object to an existing window: from now on the window's
    // messages go through windowProc, whose default processing calls the
    // procedure the window had.  False when either side is bound already.
    bool attach(Hwnd hwnd);
    // Unbinds without destroying the window; returns the handle.
    Hwnd detach();

    // The object bound to a window, or null.
    static WindowObject* fromHandle(Hwnd hwnd);

    // Called for every queued message whose window is this object's window
    // or one of its descendants, innermost window first, before the message
    // is translated and dispatched.  True removes the message.
    virtual bool preTranslateMessage(Msg& msg);

    // The object's window procedure.  The default passes everything on.
    virtual LResult windowProc(std::uint32_t message, WParam wParam, LParam lParam);
    // The processing the window would have had without the object.
    LResult defaultProc(std::uint32_t message, WParam wParam, LParam lParam);

protected:
    // Called after the window's last message (WM_NCDESTROY), once the
    // object has been unbound.  The object may delete itself here.
    virtual void onWindowGone() {}

private:
    friend struct WindowObjectAccess;
    Hwnd m_hwnd = Hwnd::Null;
};

// Objects whose deletion must wait until no code of theirs is on the stack
// are handed over here; they are deleted when the message loop is idle or
// about to wait (see FrameworkIdle).
void DeleteWindowObjectLater(WindowObject* object);

// The window framework's own idle work (deferred deletions).  Returns true
// while it wants more idle calls.
bool FrameworkIdle(long idleCount);

} // namespace platform
