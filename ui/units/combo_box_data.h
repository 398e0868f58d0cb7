// The stored settings of a ComboBox.  Numbers are 32-bit little-endian;
// blocks are counted (a 32-bit length, then the bytes).
//
// Order: version; style; maximum edit length; edit selection start and
// length; sorted; extra item height; text colour; background colour;
// initial selection; then the trailing blocks, in this order:
//   font        - counted block: empty, or a 60-byte logical font record;
//   item texts  - counted block holding the texts one after another, each
//                 ended by a zero byte (an empty block: no items; a
//                 text therefore holds no zero byte);
//   item data   - counted block of 32-bit values, one per item from the
//                 first; items past its end carry no data value;
//   content text - counted GBK text, the edit field's initial text;
//   further settings - (version 2 and up) counted block, opaque, carried
//                 for the unit and written back as read.
//
// A block that is empty gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct ComboBoxData {
    static constexpr std::uint32_t kMaxVersion = 3;
    enum class Effect { None, Select };      // the selection made again
    enum class Live { None, CurrentItem };   // the selection the user left

    std::uint32_t version = kMaxVersion;
    std::int32_t style = 1; // 0 simple, 1 drop-down with edit field, 2 drop-down list
    std::int32_t maxEditLength = 0; // 0 = system maximum
    std::int32_t editSelectionStart = 0;
    std::int32_t editSelectionLength = 0;
    bool sorted = false;
    std::int32_t extraItemHeight = 0; // pixels
    std::uint32_t textColor = 0x000000;
    std::uint32_t backgroundColor = 0xFFFFFF; // also the brush of the list and edit field
    std::int32_t initialSelection = -1; // clamped by the unit to -1 .. item count - 1
    std::vector<std::uint8_t> font;
    std::vector<std::string> itemTexts;
    std::vector<std::int32_t> itemData;
    std::string text;
    std::vector<std::uint8_t> furtherSettings; // (v2)

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<ComboBoxData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<ComboBoxData>& ComboBoxDescription();

} // namespace ui
