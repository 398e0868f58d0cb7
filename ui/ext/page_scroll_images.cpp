#include "ui/ext/page_scroll_images.h"

#include <array>
#include <string_view>

namespace ui {
namespace {

constexpr int kStripWidth = kScrollImageSize * kScrollImageCount;

// One character per pixel: '.' the mask colour, 'K' the arrow, 'G' the
// disabled arrow, 'F' the frame of a hot or pressed button, 'W' a hot
// button's face, 'L' a pressed one's (the arrow moved a pixel down and
// right, as a pressed button's contents move).
constexpr std::array<std::string_view, kScrollImageSize> kStrip = {
    ".............FFFFFFFFFFFFFFFFFFFFFFFFFF..........................FFFFFFFFFFFFFFFFFFFFFFFFFF.............",
    ".............FWWWWWWWWWWWFFLLLLLLLLLLLF..........................FWWWWWWWWWWWFFLLLLLLLLLLLF.............",
    ".............FWWWWWWWWWWWFFLLLLLLLLLLLF..........................FWWWWWWWWWWWFFLLLLLLLLLLLF.............",
    ".......K.....FWWWWWWKWWWWFFLLLLLLLLLLLF.......G..........K.......FWWWWKWWWWWWFFLLLLLLLLLLLF.....G.......",
    "......KK.....FWWWWWKKWWWWFFLLLLLLLKLLLF......GG..........KK......FWWWWKKWWWWWFFLLLLLKLLLLLF.....GG......",
    ".....KKK.....FWWWWKKKWWWWFFLLLLLLKKLLLF.....GGG..........KKK.....FWWWWKKKWWWWFFLLLLLKKLLLLF.....GGG.....",
    "....KKKK.....FWWWKKKKWWWWFFLLLLLKKKLLLF....GGGG..........KKKK....FWWWWKKKKWWWFFLLLLLKKKLLLF.....GGGG....",
    ".....KKK.....FWWWWKKKWWWWFFLLLLKKKKLLLF.....GGG..........KKK.....FWWWWKKKWWWWFFLLLLLKKKKLLF.....GGG.....",
    "......KK.....FWWWWWKKWWWWFFLLLLLKKKLLLF......GG..........KK......FWWWWKKWWWWWFFLLLLLKKKLLLF.....GG......",
    ".......K.....FWWWWWWKWWWWFFLLLLLLKKLLLF.......G..........K.......FWWWWKWWWWWWFFLLLLLKKLLLLF.....G.......",
    ".............FWWWWWWWWWWWFFLLLLLLLKLLLF..........................FWWWWWWWWWWWFFLLLLLKLLLLLF.............",
    ".............FWWWWWWWWWWWFFLLLLLLLLLLLF..........................FWWWWWWWWWWWFFLLLLLLLLLLLF.............",
    ".............FFFFFFFFFFFFFFFFFFFFFFFFFF..........................FFFFFFFFFFFFFFFFFFFFFFFFFF.............",
};

constexpr std::uint32_t kMaskPixel = 0xFFFF00FF;

struct PaletteEntry {
    char key;
    std::uint32_t pixel; // 0xAARRGGBB
};
constexpr PaletteEntry kPalette[] = {
    {'.', kMaskPixel},
    {'K', 0xFF000000},
    {'G', 0xFF808080},
    {'F', 0xFF91A7B4},
    {'W', 0xFFFFFFFF},
    {'L', 0xFFD4D0C8},
};

constexpr std::uint32_t pixelOf(char c)
{
    for (const PaletteEntry& e : kPalette)
        if (e.key == c)
            return e.pixel;
    return kMaskPixel;
}

} // namespace

std::vector<std::uint32_t> DefaultScrollButtonStrip()
{
    static_assert(kStrip[0].size() == std::size_t(kStripWidth));
    std::vector<std::uint32_t> pixels;
    pixels.reserve(std::size_t(kStripWidth * kScrollImageSize));
    for (std::string_view row : kStrip)
        for (char c : row)
            pixels.push_back(pixelOf(c));
    return pixels;
}

platform::ImageList CreateDefaultScrollButtonImages()
{
    std::vector<std::uint32_t> strip = DefaultScrollButtonStrip();
    platform::ImageListImages images;
    images.cx = kScrollImageSize;
    images.cy = kScrollImageSize;
    for (int i = 0; i < kScrollImageCount; ++i) {
        std::vector<std::uint32_t> pixels;
        pixels.reserve(std::size_t(kScrollImageSize * kScrollImageSize));
        for (int y = 0; y < kScrollImageSize; ++y)
            for (int x = 0; x < kScrollImageSize; ++x) {
                std::uint32_t p = strip[std::size_t(y * kStripWidth + i * kScrollImageSize + x)];
                pixels.push_back(p == kMaskPixel ? 0u : p);
            }
        images.images.push_back(std::move(pixels));
    }
    return platform::ImageListCreate(images);
}

} // namespace ui
