// The thread's message queue: posting, sending, retrieval and dispatch, the
// quit message and timers.
//
// Input from the toolkit (mouse, keys, the close button) is turned into
// queued messages for the window it is meant for; when such a message
// reaches DefWindowProc the control behind the window gets the original
// input, so a message removed by pre-translation never reaches the control.
// Waiting for a message sleeps in the toolkit's event dispatcher: an idle
// program uses no CPU.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace platform {

// May be called from any thread; wakes the user-interface thread.
bool PostMessage(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);

// Calls the window's procedure at once on the user-interface thread.  From
// another thread the call waits until the user-interface thread retrieves
// messages and has processed it; returns 0 for a handle that is not a window.
LResult SendMessage(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam);

// Non-blocking look at the queue (PM_NOREMOVE or PM_REMOVE).  Pending toolkit
// events are taken in first.
bool PeekMessage(Msg& msg, std::uint32_t removeMode);
// Blocks until a message arrives; false when it is the quit message (whose
// wParam is the exit code).
bool GetMessage(Msg& msg);
// Sleeps until a message is waiting or the toolkit has handled an event of
// its own (which may have changed what the caller waits for: a window
// closed, a box answered).  Removes nothing.
void WaitMessage();
// Posts the WM_CHAR of a key press, at the front of the queue.
bool TranslateMessage(const Msg& msg);
LResult DispatchMessage(const Msg& msg);

// The message most recently retrieved by GetMessage or PeekMessage(PM_REMOVE).
const Msg& GetCurrentMessage();
// Position of the mouse when the current message was posted, screen coordinates.
Point GetMessagePos();
Point GetCursorPos();
// State of a key (VK_SHIFT, VK_CONTROL, VK_MENU) as of the current message:
// negative when the key was down.
short GetKeyState(int virtualKey);

// Timers post WM_TIMER (wParam = id) while the queue holds none of theirs.
bool SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned milliseconds);
bool KillTimer(Hwnd hwnd, std::uintptr_t id);

// Mouse tracking: with TME_LEAVE, WM_MOUSELEAVE is posted to the window
// once, when the pointer leaves its client area (at once when it is not
// there any more); TME_CANCEL with TME_LEAVE ends the tracking unposted.
// Tracking ends with the message; a window asks again on its next
// WM_MOUSEMOVE.
enum : std::uint32_t { TME_LEAVE = 0x00000002, TME_CANCEL = 0x80000000 };
struct TrackMouseEventInfo {
    std::uint32_t flags = 0;
    Hwnd hwnd = Hwnd::Null;
};
bool TrackMouseEvent(const TrackMouseEventInfo& info);

// Whether the calling thread is the user-interface thread.
bool IsUserInterfaceThread();

} // namespace platform
