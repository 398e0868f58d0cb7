// Drawing: device contexts for painting a window, colours, text and fonts.
//
// A device context exists only while a window handles WM_PAINT (between
// BeginPaint and EndPaint) or as a memory context made for measuring.
#pragma once

#include "platform/types.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

enum class Hdc : std::uintptr_t { Null = 0 };
enum class Brush : std::uintptr_t { Null = 0 };
enum class Bitmap : std::uintptr_t { Null = 0 };

struct PaintStruct {
    Hdc hdc = Hdc::Null;
    bool erase = false;
    Rect rcPaint;
};

Hdc BeginPaint(Hwnd hwnd, PaintStruct& ps);
void EndPaint(Hwnd hwnd, const PaintStruct& ps);

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// DrawText formats.
enum : std::uint32_t {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_NOCLIP = 0x0100,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
};

// System colours.
enum : int {
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_BTNFACE = 15,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INFOBK = 24,
};
ColorRef GetSysColor(int index);

// Brushes: a solid colour to fill with, as a control's parent answers a
// colour request.
Brush CreateSolidBrush(ColorRef color);
bool DeleteBrush(Brush brush);
// The brush's colour; false for a handle that is no brush.
bool GetBrushColor(Brush brush, ColorRef& color);

// Bitmaps: width * height pixels, rows top-down, each 0xAARRGGBB.
Bitmap CreateBitmapFromPixels(int width, int height, std::span<const std::uint32_t> pixels);
bool DeleteBitmap(Bitmap bitmap);
Size GetBitmapSize(Bitmap bitmap); // {0, 0} for a handle that is no bitmap
// Draws the `source` part of a bitmap into `destination`, stretched to
// fit; `smooth` filters as the halftone stretch mode does, otherwise pixels
// are repeated or dropped.  Alpha blends over what the context shows.
bool StretchDrawBitmap(Hdc hdc, Bitmap bitmap, const Rect& destination, const Rect& source, bool smooth);
// A new bitmap of the given size from a whole bitmap; `smooth` averages
// the pixels that fall together, as halftone stretching does.  Null when
// the bitmap is none or the size is empty.
Bitmap CreateScaledBitmap(Bitmap bitmap, Size size, bool smooth);

// Memory device contexts: a context that draws into the bitmap selected
// into it, so a picture can be put together off screen and copied to a
// window in one piece.  A new context has no bitmap and draws nothing
// until one is selected; `hdc` (which may be Null) is not consulted, all
// contexts being alike here.
Hdc CreateCompatibleDC(Hdc hdc);
// Deselects the context's bitmap; false for a handle that is no memory
// context.
bool DeleteDC(Hdc hdc);
// A bitmap of the given size for a memory context, every pixel fully
// transparent until drawn; Null when the size is empty.
Bitmap CreateCompatibleBitmap(Hdc hdc, int width, int height);
// Selects a bitmap into a memory context (Null deselects); returns the
// bitmap selected before.  A bitmap is in at most one context at a time:
// selecting one that another context holds fails and returns Null.  A
// selected bitmap cannot be deleted (DeleteBitmap answers false).
Bitmap SelectBitmap(Hdc hdc, Bitmap bitmap);
// Copies a part of a memory context's bitmap to another context, pixels
// as they are (alpha included), as SRCCOPY does.
bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY);
// A bitmap's pixels (0xAARRGGBB, rows top-down) copied out and back in,
// as GetDIBits and SetDIBits do; the copy is empty for a handle that is no
// bitmap, and setting needs exactly width * height pixels.
std::vector<std::uint32_t> GetBitmapPixels(Bitmap bitmap);
bool SetBitmapPixels(Bitmap bitmap, std::span<const std::uint32_t> pixels);

ColorRef SetTextColor(Hdc hdc, ColorRef color);
ColorRef SetBkColor(Hdc hdc, ColorRef color);
int SetBkMode(Hdc hdc, int mode);
ColorRef GetTextColor(Hdc hdc);
ColorRef GetBkColor(Hdc hdc);
void FillRect(Hdc hdc, const Rect& rect, ColorRef color);
// Draws GBK text; returns the height of the text drawn.  With DT_CALCRECT
// only measures, widening or heightening `rect` to fit.
int DrawText(Hdc hdc, std::string_view text, Rect& rect, std::uint32_t format);

// The 60-byte logical font record of stored data.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, 32> faceName{}; // GBK, NUL terminated
};
inline constexpr std::size_t kLogFontSize = 60;

enum : int { DEFAULT_GUI_FONT = 17 };
Font GetStockFont(int which);
Font CreateFontIndirect(const LogFont& logFont);
bool DeleteFont(Font font);
bool GetFontDescription(Font font, LogFont& out);
Font SelectFont(Hdc hdc, Font font);
// WM_SETFONT for windows: the font the window draws its text with.
void SetWindowFont(Hwnd hwnd, Font font);
Font GetWindowFont(Hwnd hwnd);
// Pixels per logical inch of the screen, for point sizes.
int LogPixelsY();

} // namespace platform
