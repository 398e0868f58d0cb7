// Writing icon files: the directory, then per image a 32-bit bitmap whose
// info header gives twice the image height (colour rows, then the AND mask
// rows) as icon files store them.  CreateIconFromFile reads the result.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct IconImage {
    int width = 0;  // 1..256
    int height = 0; // 1..256
    // width*height pixels, rows top-down, 0xAARRGGBB with straight alpha.
    std::vector<std::uint32_t> pixels;
};

// The icon file holding the images in the order given.  The AND mask marks
// the pixels whose alpha is 0, for readers that ignore alpha.  Empty when
// there is no image, more than 65535 of them, or one whose size is outside
// 1..256 or whose pixel count does not match it.
std::vector<std::uint8_t> WriteIconFile(const std::vector<IconImage>& images);

} // namespace platform
