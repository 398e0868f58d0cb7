#include "ui/units/picture_placement.h"

#include <algorithm>
#include <cstdint>

namespace ui {

platform::Rect PicturePlacement(int mode, platform::Size client, platform::Size picture)
{
    const int W = client.cx, H = client.cy, w = picture.cx, h = picture.cy;
    if (mode <= 0 || w <= 0 || h <= 0)
        return platform::Rect::fromSize(0, 0, w, h);
    if (mode == 1)
        return platform::Rect::fromSize(0, 0, W, H);
    int left = w < W ? (W - w) / 2 : 0;
    int top = h < H ? (H - h) / 2 : 0;
    if (w <= W && h <= H)
        return platform::Rect::fromSize(left, top, w, h);
    // Scaled into the box of the client area and the picture's smaller
    // sides; what is left of that box is split on both sides.
    const int boxW = w < W ? w : W;
    const int boxH = h < H ? h : H;
    const double s = std::min(double(boxW) / w, double(boxH) / h);
    const int scaledW = int(w * s);
    const int scaledH = int(h * s);
    return platform::Rect::fromSize(left + (boxW - scaledW) / 2, top + (boxH - scaledH) / 2, scaledW, scaledH);
}

} // namespace ui
