// The pixel work on a header drawn off screen: the slanted ends of
// overlapping headers, and turning a header drawn in the horizontal
// orientation to the edge it lies along.
#pragma once

#include "platform/types.h"
#include "ui/ext/page_header_layout.h"

#include <cstdint>
#include <vector>

namespace ui {

// Pixels 0xAARRGGBB, rows top-down.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool valid() const { return width >= 0 && height >= 0 && pixels.size() == std::size_t(width) * std::size_t(height); }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

std::uint32_t OpaquePixel(platform::ColorRef color);

// Bottom headers mirrored top to bottom; left headers turned a quarter
// counter-clockwise (the outer edge to the left, text read upwards), right
// headers clockwise (outer edge to the right, read downwards); top headers
// as drawn.
PixelImage OrientHeader(const PixelImage& drawn, HeaderPosition position);

// An overlapping header is a trapezoid: `slant` pixels narrower at each
// end along its outer edge (the top row) than along the page area.  What
// lies outside becomes transparent, and the slanted sides are outlined.
void CutSlants(PixelImage& drawn, int slant, platform::ColorRef outline);

} // namespace ui
