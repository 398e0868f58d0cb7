// Where a PicBox draws its picture in its client area, by display mode:
//   0  at the top-left corner, natural size (clipped by the client area);
//   1  stretched over the whole client area;
//   2  natural size, centred; a picture wider or taller than the client
//      area is scaled down by s = min(W'/w, H'/h), where W' is the client
//      width, or the picture's when that is smaller, and H' likewise, to
//      w*s by h*s (whole pixels, cut), then centred in what remains.
#pragma once

#include "platform/types.h"

namespace ui {

// Modes outside 0-2 are taken as the nearest.
platform::Rect PicturePlacement(int mode, platform::Size client, platform::Size picture);

} // namespace ui
