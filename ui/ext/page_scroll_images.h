// The PageControl's default scroll-button images, the bitmap resource
// QX3_IDB_SCROLLBTNS: 104 by 13 pixels, eight images of 13 by 13 with
// 0xFF00FF as the mask colour.  The "<" button's images come first, then
// the ">" button's, each normal, hot, pressed, disabled.
#pragma once

#include "platform/image_list.h"

namespace ui {

inline constexpr int kScrollImageSize = 13;
inline constexpr int kScrollImageCount = 8;
inline constexpr platform::ColorRef kScrollImageMask = 0xFF00FF;

enum class ScrollButtonState : int { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3 };

// The image of a button in a state: the back ("<") button's four, then
// the forward (">") button's.
constexpr int ScrollImageIndex(bool forward, ScrollButtonState state)
{
    return (forward ? 4 : 0) + int(state);
}

// The resource's pixels, 0xAARRGGBB rows top-down, the mask colour opaque
// as stored.
std::vector<std::uint32_t> DefaultScrollButtonStrip();

// A list of the strip's images cut at 13 pixels, mask-coloured pixels
// transparent; the caller destroys it.
platform::ImageList CreateDefaultScrollButtonImages();

} // namespace ui
