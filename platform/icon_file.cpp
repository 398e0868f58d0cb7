#include "platform/icon_file.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kLargestSide = 256;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::size_t maskStride(int width)
{
    return (std::size_t(width) + 31) / 32 * 4;
}

std::size_t imageBytes(const IconImage& image)
{
    std::size_t h = std::size_t(image.height);
    return kInfoHeaderSize + std::size_t(image.width) * 4 * h + maskStride(image.width) * h;
}

bool writable(const IconImage& image)
{
    return image.width >= 1 && image.height >= 1 && image.width <= kLargestSide && image.height <= kLargestSide &&
           image.pixels.size() == std::size_t(image.width) * std::size_t(image.height);
}

void writeImage(std::vector<std::uint8_t>& out, const IconImage& image)
{
    int w = image.width, h = image.height;
    put32(out, kInfoHeaderSize);
    put32(out, std::uint32_t(w));
    put32(out, std::uint32_t(2 * h)); // colour rows and mask rows together
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, std::uint32_t(imageBytes(image) - kInfoHeaderSize));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    // Bottom-up BGRA rows, then the bottom-up AND mask (1: transparent).
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = image.pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            put32(out, p);
        }
    std::size_t stride = maskStride(w);
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x)
            if ((image.pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] >> 24) == 0)
                row[std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<std::uint8_t> WriteIconFile(const std::vector<IconImage>& images)
{
    if (images.empty() || images.size() > 0xFFFF || !std::all_of(images.begin(), images.end(), writable))
        return {};
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1); // icon, not cursor
    put16(out, std::uint32_t(images.size()));
    std::size_t offset = kDirectorySize + kEntrySize * images.size();
    for (const IconImage& image : images) {
        // A side of 256 is written as 0, the directory's byte holding less.
        out.push_back(std::uint8_t(image.width % kLargestSide));
        out.push_back(std::uint8_t(image.height % kLargestSide));
        out.push_back(0); // colour count: none below 8 bits per pixel
        out.push_back(0);
        put16(out, 1);  // planes
        put16(out, 32); // bits per pixel
        put32(out, std::uint32_t(imageBytes(image)));
        put32(out, std::uint32_t(offset));
        offset += imageBytes(image);
    }
    for (const IconImage& image : images)
        writeImage(out, image);
    return out;
}

} // namespace platform
