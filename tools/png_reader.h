// PNG pictures for the build tools: decoding to 8-bit RGBA, and turning
// pictures into the image-list blocks and icon files that templates hold.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tools {

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // width*height*4 bytes, rows top-down, straight alpha
};

// Either an image or the reason there is none.
struct PngResult {
    std::optional<PngImage> image;
    std::string error;
};

// Pictures above this many pixels are refused before anything is allocated.
inline constexpr std::uint64_t kMostPngPixels = 1u << 24;

PngResult ReadPng(std::span<const std::uint8_t> data);
PngResult ReadPngFile(const std::string& path);

// Pixels as 0xAARRGGBB, the layout of image lists and icon images.
std::vector<std::uint32_t> ToArgb(const PngImage& image);

// Either the bytes made or the reason they could not be made.
struct BytesResult {
    std::vector<std::uint8_t> bytes;
    std::string error;
};

// An image list block ("MITL" and stream) of the pictures in order; they
// must all have the size of the first.
BytesResult ImageListBlockFromPngFiles(const std::vector<std::string>& paths);
// An icon file with one 32-bit image per picture (each at most 256 x 256).
BytesResult IconFileFromPngFiles(const std::vector<std::string>& paths);

} // namespace tools
