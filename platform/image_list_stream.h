// Image lists as bytes: the stream that the common controls' image-list
// write and read calls produce and accept, and the "MITL" block in which
// units store one.  No toolkit types: the build tools use this too.
//
// Stream layout (all numbers little-endian):
//
//   header, 28 bytes
//     0  u16  magic, the bytes 'I' 'L'
//     2  u16  version; written 0x0101, read: 0x0101 and 0x0600 (same layout)
//     4  u16  image count
//     6  u16  capacity; written as the count rounded up to a multiple of 4
//             (at least 4); not needed to read: the strip's size is taken
//             from its bitmap
//     8  u16  growth
//    10  u16  image width  cx (at least 1)
//    12  u16  image height cy (at least 1)
//    14  u32  background colour, 0x00BBGGRR or CLR_NONE
//    18  u16  flags: ILC_MASK (1) and one ILC_COLORn depth; written
//             ILC_COLOR32 | ILC_MASK
//    20  i16  four overlay image indexes (-1: none)
//   the image strip: a bitmap file image, that is the 14-byte file header
//     ("BM", size, two reserved words, pixel offset), a BITMAPINFOHEADER
//     (40 bytes or one of its longer successors), the colour table, then the
//     pixel rows bottom-up (top-down for a negative height), each padded to
//     4 bytes.  Images run left to right and then row by row, 4 to a row, so
//     the strip is 4*cx wide and rows*cy high.
//   when ILC_MASK: the mask, a bitmap of the same form and the same size;
//     a pixel whose colour is not black is transparent.  Written as 1 bit
//     per pixel with the colour table black, white.
//
// Reading takes the pixel data to follow the colour table directly: the
// file header's size and pixel offset, and the info header's image size,
// are written correctly but never trusted.  Colour depths 1, 4, 8 (with a
// colour table), 16 (5-5-5), 24 and 32 bits, uncompressed, are read.  A
// 32-bit image that has any non-zero alpha byte keeps its alpha; every
// other image is opaque.  The mask then makes its transparent pixels
// 0x00000000.
//
// Writing stores 32-bit colour with straight (not premultiplied) alpha and
// a mask that marks the pixels whose alpha is 0; such pixels are stored, and
// therefore read back, as 0x00000000.
#pragma once

#include "platform/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The background colour that is no colour: images are drawn over what is
// already there.
inline constexpr ColorRef CLR_NONE = 0xFFFFFFFF;

// Creation flags of an image list.
enum : std::uint16_t { ILC_MASK = 0x0001, ILC_COLOR32 = 0x0020 };

struct ImageListImages {
    int cx = 0;
    int cy = 0;
    // One entry per image, cx*cy pixels each, rows top-down, every pixel
    // 0xAARRGGBB with straight alpha.
    std::vector<std::vector<std::uint32_t>> images;
    ColorRef background = CLR_NONE;
    int grow = 4;
    std::array<int, 4> overlays{-1, -1, -1, -1};
};

// Nullopt when the bytes are not a readable image-list stream; `whyNot`
// then tells what was wrong.  Bytes after the stream are ignored.
std::optional<ImageListImages> ReadImageListStream(std::span<const std::uint8_t> stream,
                                                   std::string* whyNot = nullptr);
// Empty when the images cannot be written: a size outside 1..32767, an
// image of the wrong pixel count, more than 65535 images.
std::vector<std::uint8_t> WriteImageListStream(const ImageListImages& images);

// The block of unit data: "MITL", four bytes nobody reads (written as the
// stream's length), then the stream.  A block of 8 bytes or less, one not
// beginning with "MITL" or one whose stream cannot be read is no image list.
std::optional<ImageListImages> ReadImageListBlock(std::span<const std::uint8_t> block,
                                                  std::string* whyNot = nullptr);
std::vector<std::uint8_t> WriteImageListBlock(const ImageListImages& images);

// A bitmap file cut into images `cx` pixels wide and as high as the bitmap,
// left to right (a partial image at the right edge is dropped), all opaque:
// the way a strip resource becomes an image list.
std::optional<ImageListImages> ReadBitmapStrip(std::span<const std::uint8_t> bitmapFile, int cx,
                                               std::string* whyNot = nullptr);

} // namespace platform
