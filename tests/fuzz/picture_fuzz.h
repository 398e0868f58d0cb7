// What every picture fuzz entry checks of its decoder's answer, whatever
// the bytes: a refusal gives a reason; a picture has a size within the
// limits and exactly its pixels, the format its signature tells, frames
// only when it is a GIF (each the whole picture, the first being the
// picture itself) and a hotspot only when it is a cursor.
//
// The entries decode with smaller limits than DecodePicture does, so a
// fuzzer spends its time in the parsers, not in filling large canvases;
// the checks of the limits are the same code either way.
#pragma once

#include "platform/picture.h"
#include "platform/picture/decoders.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <span>

namespace picturefuzz {

using platform::PictureFormat;
using platform::PictureImage;

inline constexpr platform::pictures::Limits kLimits{.maxSide = 4096, .maxPixels = std::uint64_t(1) << 22};

// Decodes `bytes` with the entry's decoder and checks the answer, aborting
// on a broken invariant; true when it decoded.  Each entry defines it.
bool DecodeAndCheck(std::span<const std::uint8_t> bytes);

[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "picture fuzz: %s\n", what);
    std::abort();
}

inline void CheckImage(const PictureImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.width > kLimits.maxSide || image.height > kLimits.maxSide)
        Fail("a picture of a size outside the limits");
    if (image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        Fail("a picture whose pixels do not match its size");
    if (image.pixels.size() > kLimits.maxPixels)
        Fail("a picture of more pixels than the limit");
}

// The common checks; true when the answer is a picture of one of `formats`.
inline bool CheckAnswer(std::span<const std::uint8_t> bytes, const platform::pictures::Decoded& d,
                        std::initializer_list<PictureFormat> formats)
{
    if (!d.picture) {
        if (d.error.empty())
            Fail("a refusal without a reason");
        return false;
    }
    const platform::DecodedPicture& p = *d.picture;
    if (!d.error.empty())
        Fail("a picture with an error");
    bool known = false;
    for (PictureFormat f : formats)
        known = known || p.format == f;
    if (!known)
        Fail("a picture of another decoder's format");
    if (platform::DetectPictureFormat(bytes) != p.format)
        Fail("a picture whose signature tells another format");
    CheckImage(p.image);
    if (p.format == PictureFormat::Gif) {
        if (p.frames.empty() || p.frames.front().image.pixels != p.image.pixels)
            Fail("an animation whose first frame is not its picture");
        std::uint64_t all = 0;
        for (const platform::PictureFrame& f : p.frames) {
            if (f.image.width != p.image.width || f.image.height != p.image.height || f.delayMs < 0)
                Fail("a frame not the size of the picture, or with a negative delay");
            all += f.image.pixels.size();
        }
        if (all > kLimits.maxPixels || p.loopCount < 0 || p.loopCount > 0xFFFF)
            Fail("frames over the limit, or a loop count out of range");
    } else if (!p.frames.empty() || p.loopCount != 0) {
        Fail("frames or a loop count for a still picture");
    }
    if (p.format != PictureFormat::Cursor && (p.hotspotX != 0 || p.hotspotY != 0))
        Fail("a hotspot for a picture that is no cursor");
    return true;
}

// For formats without transparency.
inline void CheckOpaque(const PictureImage& image)
{
    for (std::uint32_t px : image.pixels)
        if (px >> 24 != 0xFF)
            Fail("a pixel not opaque in a picture without transparency");
}

} // namespace picturefuzz
