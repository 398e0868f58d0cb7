// The decoders behind DecodePicture, one a format, each usable alone (the
// fuzz entries call them directly, with smaller limits so a fuzzer spends
// its time on the parsing rather than on filling large canvases).
//
// Every decoder takes any bytes at all: it checks its own signature, every
// size, count and offset it reads against the bytes that remain, and the
// picture's size against the limits before it allocates any pixels.  A
// failure names the format, what is wrong and the byte where it was found.
#pragma once

#include "platform/picture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform::pictures {

struct Limits {
    int maxSide = 0;              // pixels, either way
    std::uint64_t maxPixels = 0;  // width * height; for an animation, all its frames together
};

inline constexpr Limits kPictureLimits{.maxSide = 32767, .maxPixels = std::uint64_t(1) << 28};

// A decoder's answer: a picture, or why there is none.
struct Decoded {
    std::optional<DecodedPicture> picture;
    std::string error;
};

// "<format> picture: <what> (at byte <at>)".
std::string Describe(std::string_view format, std::string_view what, std::size_t at);
Decoded Refuse(std::string_view format, std::string_view what, std::size_t at);

// Empty when a width x height image fits the limits, else which limit it
// breaks.  Sizes are taken wide so that no claim wraps before the check.
std::string SizeProblem(std::int64_t width, std::int64_t height, const Limits& limits);

// A width x height image (fitting the limits) filled with `fill`.
PictureImage BlankImage(int width, int height, std::uint32_t fill);

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}
inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
inline constexpr std::uint32_t kTransparent = 0x00000000u;

Decoded DecodeBmp(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);
Decoded DecodeJpeg(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);
Decoded DecodePng(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);
// Icon and cursor files; the format follows the file's type field.
Decoded DecodeIconFile(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);
Decoded DecodeGif(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);
// Both PCX kinds; the format follows the header.
Decoded DecodePcx(std::span<const std::uint8_t> bytes, const Limits& limits = kPictureLimits);

} // namespace platform::pictures
