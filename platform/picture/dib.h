// Device-independent bitmaps: an info header, its colour masks and
// palette, then the pixel rows.  BMP files hold one after a file header;
// icon and cursor files hold them with an AND mask after the colour rows
// and the header's height doubled to cover both.
#pragma once

#include "platform/picture/decoders.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::pictures {

struct DibSource {
    std::span<const std::uint8_t> data;
    std::size_t headerAt = 0;
    // Where the pixel rows start (a BMP file header says); else right
    // after the palette.
    std::optional<std::size_t> bitsAt;
    bool iconMasks = false;
    std::string_view format; // names the format in messages
};

struct DibImage {
    std::optional<PictureImage> image;
    std::string error;
};

DibImage DecodeDib(const DibSource& source, const Limits& limits);

} // namespace platform::pictures
