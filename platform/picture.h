// Pictures held in stored data: their format told from their first bytes,
// and their decoding into 32-bit pixels.  The decoders need no window
// system (they are fuzzed on their own); every size and offset a picture
// claims is checked against the bytes it came with.
//
// Formats, by their first 8 bytes (a picture shorter than that is none):
//
//   "BM"                                    BMP: 1, 4, 8, 16, 24, 32 bits,
//                                           bottom-up or top-down, RLE4, RLE8
//   FF D8                                   JPEG (libjpeg)
//   32-bit 0x474E5089                       PNG (libpng)
//   16-bit 0, 1, then a non-zero count      icon file
//   16-bit 0, 2, then a non-zero count      cursor file
//   "GIF8", '7' or '9', 'a'                 GIF, every frame with its delay
//   0x0A, version <= 5, RLE 1, 8 bits       PCX of 256 colours
//   0x0A, version 3, RLE 1, 1 bit           PCX, monochrome
//
// From an icon or cursor file the first image whose directory entry gives
// 16 to 255 colours and a width of 32 is taken; when none does, the last.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class PictureFormat {
    None,
    Bmp,
    Jpeg,
    Png,
    Icon,
    Cursor,
    Gif,
    Pcx256,
    PcxMono,
};

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes);

// One image: width * height pixels, rows top-down, each 0xAARRGGBB with
// straight alpha.
struct PictureImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// A frame of an animation: its image covers the whole picture (the frames
// are already composed in order, each frame's disposal applied), shown for
// `delayMs`.
struct PictureFrame {
    PictureImage image;
    int delayMs = 0;
};

struct DecodedPicture {
    PictureFormat format = PictureFormat::None;
    PictureImage image;                // the first frame for an animation
    std::vector<PictureFrame> frames;  // GIF: every frame, composed; empty otherwise
    int loopCount = 0;                 // GIF: 0 for ever, else how many times
    int hotspotX = 0, hotspotY = 0;    // cursor files
};

// Nullopt, with `whyNot` telling why when given, for no picture or one that
// does not decode.  Pictures are at most 32767 pixels a side and 2^28
// pixels in all; larger ones are refused rather than allocated.
std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes, std::string* whyNot = nullptr);

} // namespace platform
