// The stored settings of a Button: version, type, horizontal and vertical
// text alignment (32-bit little-endian numbers), then the picture and the
// font as counted blocks (a 32-bit length, then the bytes) and the caption
// as a counted GBK text.  A block that is empty gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct ButtonData {
    static constexpr std::uint32_t kMaxVersion = 1;
    enum class Effect { None };
    enum class Live { None };

    std::uint32_t version = kMaxVersion;
    std::int32_t type = 0;                // 0 normal, 1 default button
    std::int32_t horizontalAlignment = 1; // 0 left, 1 centre, 2 right
    std::int32_t verticalAlignment = 1;   // 0 top, 1 centre, 2 bottom
    std::vector<std::uint8_t> picture;    // empty: a text button
    std::vector<std::uint8_t> font;       // empty: the default font
    std::string caption;

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<ButtonData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<ButtonData>& ButtonDescription();

} // namespace ui
