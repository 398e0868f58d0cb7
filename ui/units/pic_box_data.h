// The stored settings of a PicBox: version, border style, background
// colour, display mode and animation setting (32-bit little-endian
// numbers), then the picture as a counted block (a 32-bit length, then the
// bytes) in any of the picture formats the unit recognises.  A block that is
// empty gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ui {

struct PicBoxData {
    static constexpr std::uint32_t kMaxVersion = 2;
    // What writing a property sets going.
    enum class Effect {
        None,
        Border,
        Repaint,   // the background, or the same picture placed anew
        Picture,   // the picture decoded again (and its animation started)
        Animation, // the animation started or stopped
    };
    enum class Live { None };

    std::uint32_t version = kMaxVersion;
    std::int32_t borderStyle = 0; // as for EditBox, 0-5
    std::uint32_t backgroundColor = 0xFF000000; // 0xFF000000: the button-face colour
    std::int32_t displayMode = 0; // 0 top-left, 1 stretched, 2 centred and scaled down to fit
    std::int32_t animation = 1;   // for animated GIF pictures
    std::vector<std::uint8_t> picture;

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<PicBoxData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<PicBoxData>& PicBoxDescription();

} // namespace ui
