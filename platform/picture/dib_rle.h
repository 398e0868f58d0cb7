// The run-length encodings of 4- and 8-bit bitmaps.  Rows run bottom-up;
// a run is a count and a colour (two alternating colours at 4 bits), an
// escape ends a line, ends the picture, jumps right and up, or introduces
// literal pixels.  Pixels the codes jump over keep what the target holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform::pictures {

struct RleTarget {
    std::uint32_t* pixels = nullptr; // width * height, rows top-down
    int width = 0;
    int height = 0;
};

// Expands the codes starting at `at`; colours come from `palette`, an
// index past it is opaque black.  Runs past a row's end are cut off there.
// False, with what is wrong and where, when the codes stop before the end
// of the picture (its code, or the last row's end) or break off.
bool ExpandRle(std::span<const std::uint8_t> data, std::size_t at, int bitsPerPixel,
               std::span<const std::uint32_t> palette, const RleTarget& target, std::string& what,
               std::size_t& where);

} // namespace platform::pictures
