#include "ui/ext/state_images.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ui {
namespace {

// The strip, one character per pixel: the box has the classic sunken
// edge (dark grey and black above and left, light grey and white below
// and right) around a white field.
constexpr std::array<std::string_view, kStateImageSize> kStrip = {
    "GGGGGGGGGGGGWGGGGGGGGGGGGWGGGGGGGGGGGGW",
    "GKKKKKKKKKKLWGKKKKKKKKKKLWGKKKKKKKKKKLW",
    "GK.........LWGK.........LWGK.........LW",
    "GK.........LWGK.......k.LWGK.......g.LW",
    "GK.........LWGK......kk.LWGK......gg.LW",
    "GK.........LWGK.k...kkk.LWGK.g...ggg.LW",
    "GK.........LWGK.kk.kkk..LWGK.gg.ggg..LW",
    "GK.........LWGK.kkkkk...LWGK.ggggg...LW",
    "GK.........LWGK..kkk....LWGK..ggg....LW",
    "GK.........LWGK...k.....LWGK...g.....LW",
    "GK.........LWGK.........LWGK.........LW",
    "GLLLLLLLLLLLWGLLLLLLLLLLLWGLLLLLLLLLLLW",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
};

// Colours of the 16-colour palette the strip uses, 0xAARRGGBB.
constexpr std::uint32_t colorOf(char c)
{
    switch (c) {
    case 'G': return 0xFF808080; // dark grey
    case 'K': return 0xFF000000; // black
    case 'L': return 0xFFC0C0C0; // light grey
    case 'k': return 0xFF000000; // the tick
    case 'g': return 0xFF808080; // the grey tick
    default: return 0xFFFFFFFF;  // white
    }
}

constexpr int kImages = 3;
constexpr int kGrowth = 4;

} // namespace

platform::ImageList CreateDefaultStateImages()
{
    static_assert(kStrip[0].size() == std::size_t(kStateImageSize * kImages));
    platform::ImageListImages images;
    images.cx = kStateImageSize;
    images.cy = kStateImageSize;
    images.grow = kGrowth;
    for (int i = 0; i < kImages; ++i) {
        std::vector<std::uint32_t> pixels;
        pixels.reserve(std::size_t(kStateImageSize * kStateImageSize));
        for (std::string_view row : kStrip)
            for (int x = 0; x < kStateImageSize; ++x)
                pixels.push_back(colorOf(row[std::size_t(i * kStateImageSize + x)]));
        images.images.push_back(std::move(pixels));
    }
    return platform::ImageListCreate(images);
}

} // namespace ui
