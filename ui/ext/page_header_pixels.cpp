#include "ui/ext/page_header_pixels.h"

#include <cassert>

namespace ui {

std::uint32_t OpaquePixel(platform::ColorRef c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

PixelImage OrientHeader(const PixelImage& in, HeaderPosition position)
{
    assert(in.valid());
    PixelImage out;
    out.pixels.resize(in.pixels.size());
    const int w = in.width;
    const int h = in.height;
    switch (position) {
    case HeaderPosition::Top:
        return in;
    case HeaderPosition::Bottom:
        out.width = w;
        out.height = h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.at(x, h - 1 - y) = in.at(x, y);
        return out;
    case HeaderPosition::Left:
        out.width = h;
        out.height = w;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.at(y, w - 1 - x) = in.at(x, y);
        return out;
    case HeaderPosition::Right:
        out.width = h;
        out.height = w;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.at(h - 1 - y, x) = in.at(x, y);
        return out;
    }
    return in;
}

void CutSlants(PixelImage& image, int slant, platform::ColorRef outline)
{
    assert(image.valid());
    if (slant <= 0 || image.height <= 0)
        return;
    const std::uint32_t line = OpaquePixel(outline);
    const int last = image.height - 1;
    for (int y = 0; y < image.height; ++y) {
        int inset = last > 0 ? slant * (last - y) / last : 0;
        int left = inset;
        int right = image.width - 1 - inset;
        for (int x = 0; x < image.width; ++x) {
            if (x < left || x > right)
                image.at(x, y) = 0;
            else if (x == left || x == right)
                image.at(x, y) = line;
        }
    }
}

} // namespace ui
