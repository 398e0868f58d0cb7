// Laying out a tip's markup in lines within the tip window's limits, and
// placing the window on the screen.
#pragma once

#include "platform/types.h"
#include "ui/ext/tip_markup.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A line holds at most (screen width / width of "W") - 5 characters (10
// when that is not positive); there are at most screen height / (text
// height + 5) lines, 1 to 20.
struct TipLimits {
    int lineCharacters = 10;
    int lines = 1;
};
TipLimits TipLimitsFor(platform::Size screen, int widthOfW, int textHeight);
inline constexpr int kMinLineCharacters = 10;
inline constexpr int kMaxTipLines = 20;

struct TipFragment {
    int x = 0;
    int y = 0;
    int width = 0;
    std::string text; // GBK
    TipStyle style;
};

struct TipLayout {
    std::vector<TipFragment> fragments;
    platform::Size size; // of the text, without the window's margins
    int lines = 0;
    bool truncated = false; // the line limit cut the text short
};

// The width a text takes in a style.
using TipMeasure = std::function<int(std::string_view text, const TipStyle& style)>;

// Text flows from the left margin; a line break starts the next line one
// line height down, a paragraph break one and a half; a line that reaches
// its character limit goes on in the next.  Layout stops at the line limit.
TipLayout LayOutTip(const TipMarkup& markup, const TipLimits& limits, int lineHeight, const TipMeasure& measure);

// 21 pixels below the pointer unless the caller gives the place, moved
// back inside the screen where it would overflow.
inline constexpr int kTipBelowPointer = 21;
platform::Point PlaceTip(platform::Point pointer, platform::Size tip, platform::Size screen,
                         std::optional<platform::Point> at = std::nullopt);

// The bytes of the GBK character starting at `at`: 2 for a lead byte with
// a byte after it, else 1.
std::size_t GbkCharacterLength(std::string_view text, std::size_t at);

} // namespace ui
