// The stored settings of a TransLabel: version, relief, text colour,
// horizontal and vertical alignment and word wrap (32-bit little-endian
// numbers), then the font and the caption as byte blocks (tree_box_data.h);
// the caption block holds the GBK text without terminator.  Versions 0 and
// 1 are alike.  An empty block gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct TransLabelData {
    static constexpr std::uint32_t kMaxVersion = 1;
    // What writing a property sets going; each ends with the background
    // repaint that takes the old text away.
    enum class Effect { None, Caption, Font, Repaint };
    enum class Live { None };

    std::uint32_t version = kMaxVersion;
    std::int32_t relief = 0; // 0 none, 1 engraved, 2 embossed, 3 shadow
    std::uint32_t textColor = 0x000000;
    std::int32_t horizontalAlignment = 0; // 0 left, 1 centre, 2 right
    std::int32_t verticalAlignment = 1;   // 0 top, 1 middle, 2 bottom
    bool wordWrap = false;
    std::vector<std::uint8_t> font; // empty, or a 60-byte logical font record
    std::string caption = "透明标签";

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<TransLabelData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<TransLabelData>& TransLabelDescription();

} // namespace ui
