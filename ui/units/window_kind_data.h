// The stored settings of the window unit: the kind data of a window's own
// record, and the description of the window kind (window_kind_data.cpp)
// from which its stored form, its properties 8-31 and its description keys
// are derived.
//
// A block that is empty gives the defaults below, which are the settings
// most windows of this program carry.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct WindowKindData {
    static constexpr std::uint32_t kMaxVersion = 6;

    // What writing a property sets going.
    enum class Effect {
        None,
        Caption,       // the frame's title
        FrameStyles,   // frame, caption bar and its buttons
        Repaint,       // the background
        Sound,         // the background sound restarted
        StartPosition, // the window placed again
        Movable,
        Icon,
        Topmost,
    };
    // What is read from the running window.
    enum class Live { None, Caption };

    std::uint32_t version = kMaxVersion;
    std::int32_t borderStyle = 2;         // 0 none .. 6 fixed with sunken client edge
    std::int32_t backgroundPlacement = 1; // 0-3
    std::uint32_t backgroundColor = 0xFF000000; // 0xFF000000: the button-face colour
    bool maximizeButton = false;
    bool minimizeButton = true;
    bool controlBox = true;     // caption bar with system menu and close button
    std::int32_t startPosition = 1; // 0 as stored, 1 centred, 2 minimized, 3 maximized
    bool movable = true;
    std::int32_t soundPlayMode = 0; // 0 repeat, 1 once, 2 not played automatically
    bool logicalSetting21 = false;
    bool logicalSetting22 = true;
    bool logicalSetting23 = false;
    std::int32_t integerSetting25 = 0;
    // (v2) false: a window opened without an owner gets the hidden owner
    // window; a modal window gets it regardless.
    bool keepOwnerless = true;
    bool logicalSetting27 = true; // (v3)
    std::int32_t windowShape = 0; // (v3) 0 rectangular, 1-29 other outlines
    bool alwaysOnTop = false;     // (v4)
    bool logicalSetting30 = false; // (v5)
    std::string className;         // (v6) empty: "WTWindow"
    std::vector<std::uint8_t> backgroundPicture;
    std::vector<std::uint8_t> icon; // icon-file format
    std::vector<std::uint8_t> backgroundSound; // WAV or MIDI
    std::string caption;
    std::string textSetting24;

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<WindowKindData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<WindowKindData>& WindowDescription();

} // namespace ui
