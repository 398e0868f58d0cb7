// Icons and mouse cursors.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <span>

namespace platform {

// Creates an icon from the bytes of an icon file (one or more images);
// the image closest to the wanted size is used (0: the first image).
// Null when the data is not an icon file or no image in it decodes.
Icon CreateIconFromFile(std::span<const std::uint8_t> iconFile, int wantedSize = 0);
// An icon of one image: width * height pixels, rows top-down, 0xAARRGGBB.
Icon CreateIconFromPixels(int width, int height, std::span<const std::uint32_t> pixels);
bool DestroyIcon(Icon icon);
bool IsIcon(Icon icon);
Size GetIconSize(Icon icon);

// Sets the icon of a top-level window (Null removes it).
void SetWindowIcon(Hwnd hwnd, Icon icon);
Icon GetWindowIcon(Hwnd hwnd);

// Standard cursors.
enum class StandardCursor : int {
    Arrow = 1,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    No,
    Hand,
    AppStarting,
    Help,
};
Cursor LoadStandardCursor(StandardCursor which);
// A cursor from the bytes of a cursor file (hot spot from its directory).
Cursor CreateCursorFromFile(std::span<const std::uint8_t> cursorFile);
bool DestroyCursor(Cursor cursor);
bool IsCursor(Cursor cursor);
// The cursor shown while the mouse is over the window (Null: the window's
// class cursor, or the parent's).
void SetWindowCursor(Hwnd hwnd, Cursor cursor);

} // namespace platform
