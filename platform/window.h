// Windows: creation and destruction, the parent/owner tree, visibility,
// enabled state, geometry, z-order, focus and window text.
//
// Every window belongs to the user-interface thread; none of these functions
// may be called from another thread (see message_queue.h for the few that
// may).  Texts are GBK bytes.
#pragma once

#include "platform/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class WindowObject;

using WndProc = LResult (*)(Hwnd, std::uint32_t message, WParam, LParam);

// Special "insert after" values of SetWindowPos.
inline constexpr Hwnd HWND_TOP = Hwnd(0);
inline constexpr Hwnd HWND_BOTTOM = Hwnd(1);
inline constexpr Hwnd HWND_TOPMOST = Hwnd(~std::uintptr_t(0));
inline constexpr Hwnd HWND_NOTOPMOST = Hwnd(~std::uintptr_t(0) - 1);

// A registered window class.  Windows of a class share its procedure,
// class styles, cursor and background.
struct WindowClass {
    std::string name;
    std::uint32_t style = 0; // CS_*
    WndProc proc = nullptr;  // null: DefWindowProc
    Cursor cursor = Cursor::Null;
    bool nullBrush = true;                // paint no background of its own
    ColorRef background = 0xFFFFFFFF;     // used when nullBrush is false
};

// Registers a class; false when a class of that name exists already
// (the built-in control classes count as existing).
bool RegisterWindowClass(const WindowClass& windowClass);
bool IsWindowClassRegistered(std::string_view name);

// Handed to WM_NCCREATE and WM_CREATE through the lParam.
struct CreateStruct {
    void* createParam = nullptr;
    Hwnd parent = Hwnd::Null;
    int x = 0, y = 0, width = 0, height = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string_view className;
    std::string_view text;
};

struct WindowCreateParams {
    std::uint32_t exStyle = 0;
    std::string_view className;
    std::string_view text;     // GBK
    std::uint32_t style = 0;   // WS_*
    int x = 0, y = 0, width = 0, height = 0;
    // The parent of a child window (WS_CHILD), the owner of a top-level one.
    Hwnd parent = Hwnd::Null;
    Menu menu = Menu::Null;    // top-level windows: the menu bar
    int controlId = 0;         // child windows
    void* createParam = nullptr;
};

// Creates a window.  When `object` is given it is attached before the first
// message, so it sees WM_NCCREATE and WM_CREATE (see window_object.h).
// Returns Hwnd::Null when the class is unknown or WM_NCCREATE/WM_CREATE
// refused the creation.
Hwnd CreateWindowEx(const WindowCreateParams& params, WindowObject* object = nullptr);

// Destroys the window, the windows it owns and its children, in the order
// the owned windows first, then WM_DESTROY to the window and (parent first)
// its children, then WM_NCDESTROY from the innermost child out.  Messages
// still queued for the destroyed windows are dropped.
bool DestroyWindow(Hwnd hwnd);

bool IsWindow(Hwnd hwnd);
bool IsChild(Hwnd parent, Hwnd hwnd);
Hwnd GetParent(Hwnd hwnd);  // parent of a child window; Null for top-level windows
Hwnd GetOwner(Hwnd hwnd);   // owner of a top-level window; Null for child windows
Hwnd GetTopLevel(Hwnd hwnd); // the top-level window that contains hwnd
std::vector<Hwnd> GetChildWindows(Hwnd parent);   // direct children, top of the z-order first
// Moves a child window under another parent, keeping its position in the
// new parent's client coordinates and its visibility; it goes to the top
// of its new siblings.
bool SetParent(Hwnd child, Hwnd newParent);
std::vector<Hwnd> GetTopLevelWindows();           // in creation order
std::string GetClassName(Hwnd hwnd);
int GetDlgCtrlID(Hwnd hwnd);

std::uint32_t GetWindowStyle(Hwnd hwnd);
std::uint32_t GetWindowExStyle(Hwnd hwnd);
// Changes style bits in place, then sends the window WM_STYLECHANGED.
// Frame bits of a top-level window change its frame metrics and therefore
// its client area; the outer rectangle stays.
void SetWindowStyle(Hwnd hwnd, std::uint32_t style);
void SetWindowExStyle(Hwnd hwnd, std::uint32_t exStyle);

// Show commands SW_*.  Returns whether the window was visible before.
bool ShowWindow(Hwnd hwnd, int command);
bool IsWindowVisible(Hwnd hwnd);  // the window and all its parents are shown
bool IsIconic(Hwnd hwnd);
bool IsZoomed(Hwnd hwnd);

// Returns whether the window was disabled before.
bool EnableWindow(Hwnd hwnd, bool enable);
bool IsWindowEnabled(Hwnd hwnd);  // the window's own state, not its parents'

// Marks a top-level window as the one a modal opening runs for, before it
// is shown: it stays above the program's other windows, which it has
// disabled, and takes their activation while it is open.  Windows keeps a
// disabled window from coming forward by itself; a window manager raises
// whatever is clicked, so the toolkit's modality (the transient-for hint)
// has to say it.  A disabled top-level window also ignores the window
// manager's close request.
void SetWindowModal(Hwnd hwnd);

// Rectangles.  The window rectangle is in screen coordinates and, for a
// top-level window, includes its frame, caption and menu bar as the classic
// frame metrics give them (fixed frame 3 px a side, resizable frame 4 px,
// caption bar 22 px, menu bar 20 px), whatever the window manager adds.
Rect GetWindowRect(Hwnd hwnd);
Rect GetClientRect(Hwnd hwnd);
Point ClientToScreen(Hwnd hwnd, Point p);
Point ScreenToClient(Hwnd hwnd, Point p);
// The window rectangle in the client coordinates of the parent (screen
// coordinates for a top-level window).
Rect GetWindowRectInParent(Hwnd hwnd);
// Size of the frame around the client area for the given styles and menu.
struct FrameMetrics {
    int left = 0, top = 0, right = 0, bottom = 0;
};
FrameMetrics FrameMetricsFor(std::uint32_t style, std::uint32_t exStyle, bool hasMenu);

// Moves and sizes a window; coordinates as GetWindowRectInParent.
bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint = true);
bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int width, int height, std::uint32_t flags);

// Focus and activation.
Hwnd SetFocus(Hwnd hwnd);  // returns the window that had the focus
Hwnd GetFocus();
Hwnd GetActiveWindow();
bool SetForegroundWindow(Hwnd hwnd);

// Window text, GBK.
bool SetWindowText(Hwnd hwnd, std::string_view text);
std::string GetWindowText(Hwnd hwnd);

// Per-window user data slot.
void SetWindowUserData(Hwnd hwnd, std::uintptr_t value);
std::uintptr_t GetWindowUserData(Hwnd hwnd);

// Replaces the window procedure; returns the previous one.
WndProc SetWindowProc(Hwnd hwnd, WndProc proc);
WndProc GetWindowProc(Hwnd hwnd);
LResult CallWindowProc(WndProc proc, Hwnd hwnd, std::uint32_t message, WParam, LParam);
// The default processing of every message no procedure handles.
LResult DefWindowProc(Hwnd hwnd, std::uint32_t message, WParam, LParam);

// Repainting.
void InvalidateRect(Hwnd hwnd, const Rect* rect, bool erase);
void UpdateWindow(Hwnd hwnd);

// Screen.
Size GetScreenSize();

} // namespace platform
