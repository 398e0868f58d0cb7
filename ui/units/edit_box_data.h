// The stored settings of an EditBox.  Numbers are 32-bit little-endian
// except the 16-bit password character; blocks are counted (a 32-bit
// length, then the bytes).
//
// Order: version; border style; text colour; background colour; hide
// selection; maximum length; multi-line; scroll bars; alignment; input
// mode; password character (16 bits); case conversion; spin button kind;
// spin minimum; spin maximum; selection start; selection length; then three
// counted blocks, in this order and in every version:
//   content text  - the initial text, GBK without terminator;
//   font          - empty, or a 60-byte logical font record;
//   further settings - opaque, carried for the unit and written back as read.
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

struct EditBoxData {
    static constexpr std::uint32_t kMaxVersion = 2;
    enum class Effect { None, Text };  // the text shown again
    enum class Live { None, Text };    // the text as the user left it

    std::uint32_t version = kMaxVersion;
    std::int32_t borderStyle = 1; // 0 none, 1 sunken, 2 raised, 3 shallow, 4 raised and sunken, 5 single line
    std::uint32_t textColor = 0x000000;
    std::uint32_t backgroundColor = 0xFFFFFF;
    bool hideSelection = true; // when unfocused
    std::int32_t maxLength = 0; // bytes of GBK text; 0 = system maximum
    bool multiLine = false;
    std::int32_t scrollBars = 0; // 0 none, 1 horizontal, 2 vertical, 3 both
    std::int32_t alignment = 0;  // 0 left, 1 centre, 2 right
    std::int32_t inputMode = 0;  // 0 normal, 1 read-only, 2 password
    std::uint16_t passwordChar = '*';
    std::int32_t caseConversion = 0; // 0 none, 1 lower, 2 upper
    std::int32_t spinKind = 0;       // 0 none
    std::int32_t spinMin = 0;
    std::int32_t spinMax = 100;
    std::int32_t selectionStart = 0;
    std::int32_t selectionLength = 0;
    std::string text;
    std::vector<std::uint8_t> font;
    std::vector<std::uint8_t> furtherSettings;

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<EditBoxData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<EditBoxData>& EditBoxDescription();

} // namespace ui
