// The default state images of the extended units: an empty check box, a
// ticked box and a grey ticked box, 13 by 13 pixels each, drawn in 16
// colours as one 39 by 13 strip.
#pragma once

#include "platform/image_list.h"

namespace ui {

inline constexpr int kStateImageSize = 13;

// A new list of the three images, cut from the strip 13 pixels wide with a
// growth of 4 and no mask colour; the caller destroys it.
platform::ImageList CreateDefaultStateImages();

} // namespace ui
