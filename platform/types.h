// Basic value types of the windowing interface: handles, geometry and the
// queued message record.  Values and layouts follow the window system the
// upper layers were written against; the implementation behind them is Qt.
#pragma once

#include <cstdint>

namespace platform {

// Opaque handles.  Values are small integers handed out once and never
// reused, so a stale handle is reliably "not a window" and fits the 32-bit
// integer slots through which handlers may pass one.
enum class Hwnd : std::uintptr_t { Null = 0 };
enum class Menu : std::uintptr_t { Null = 0 };
enum class Cursor : std::uintptr_t { Null = 0 };
enum class Icon : std::uintptr_t { Null = 0 };
enum class Font : std::uintptr_t { Null = 0 };
enum class Accelerators : std::uintptr_t { Null = 0 };

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// 0x00BBGGRR, red in the low byte.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(int r, int g, int b)
{
    return ColorRef(r & 0xFF) | ColorRef(g & 0xFF) << 8 | ColorRef(b & 0xFF) << 16;
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    static Rect fromSize(int x, int y, int cx, int cy) { return {x, y, x + cx, y + cy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Msg {
    Hwnd hwnd = Hwnd::Null;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::uint32_t time = 0;
    Point pt;
    // Identifies toolkit data carried along with an input message (the
    // original input event, replayed to a control when the message reaches
    // its default processing).  0 for messages posted by the program.
    std::uint64_t inputSerial = 0;
};

// The header of a WM_NOTIFY notification a control sends its parent.
struct NotifyHeader {
    Hwnd hwndFrom = Hwnd::Null;
    std::uintptr_t idFrom = 0;
    std::uint32_t code = 0;
};

// Packing of coordinates into an LParam, 16 signed bits each.
constexpr LParam MakeLParam(int lo, int hi)
{
    return LParam(std::uint32_t(std::uint16_t(lo)) | std::uint32_t(std::uint16_t(hi)) << 16);
}
constexpr int LoWord(std::uintptr_t v) { return int(v & 0xFFFF); }
constexpr int HiWord(std::uintptr_t v) { return int((v >> 16) & 0xFFFF); }
constexpr int SignedLoWord(std::uintptr_t v) { return std::int16_t(v & 0xFFFF); }
constexpr int SignedHiWord(std::uintptr_t v) { return std::int16_t((v >> 16) & 0xFFFF); }
constexpr Point PointFromLParam(LParam lp) { return {SignedLoWord(std::uintptr_t(lp)), SignedHiWord(std::uintptr_t(lp))}; }

} // namespace platform
