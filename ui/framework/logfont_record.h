// The 60-byte logical font record that stored kind data carries: five
// 32-bit numbers (height, width, escapement, orientation, weight), eight
// bytes (italic, underline, strike-out, character set, output precision,
// clip precision, quality, pitch and family) and a 32-byte face name.
#pragma once

#include "platform/gdi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

inline constexpr std::size_t kLogFontRecordSize = 60;

// A record of any other length is no font (the unit falls back to the
// default GUI font).  The face name bytes are kept as stored, terminated or
// not, so a record written back is the record read.
std::optional<platform::LogFont> ReadLogFont(std::span<const std::uint8_t> record);
std::array<std::uint8_t, kLogFontRecordSize> WriteLogFont(const platform::LogFont& font);

// The face name of a font block handed to `visit` and replaced by its
// answer (cut to 31 bytes); a block that holds no font is left alone.
void VisitFontFace(std::vector<std::uint8_t>& block, const std::function<std::string(std::string_view)>& visit);

} // namespace ui
