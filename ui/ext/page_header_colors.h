// The colours of a PageControl header: the background of each style, the
// shading and highlight colours, the text colour of each state.
#pragma once

#include "platform/types.h"

#include <array>
#include <cstdint>

namespace ui {

// Moves each of red, green and blue a fraction of the way to white:
// v + x * (255 - v), for 0 < x <= 1; other fractions change nothing.
platform::ColorRef Tint(platform::ColorRef color, double fraction);

// Row `row` of `rows` of a vertical gradient from `top` to `bottom`.
platform::ColorRef GradientRow(platform::ColorRef top, platform::ColorRef bottom, int row, int rows);

// The state a header is drawn in; its index picks the page's image,
// background image and colour for it, and the unit's colour triples.
enum class HeaderState : int { Plain = 0, Hot = 1, Current = 2 };

struct HeaderLook {
    bool current = false;
    bool hot = false;      // the pointer is on it (and it may show that)
    bool disabled = false; // the unit or the page
    HeaderState state() const { return hot ? HeaderState::Hot : current ? HeaderState::Current : HeaderState::Plain; }
    friend bool operator==(const HeaderLook&, const HeaderLook&) = default;
};

// A background filled top to bottom from `top` to `bottom` (equal for a
// flat fill).
struct HeaderFill {
    platform::ColorRef top = 0;
    platform::ColorRef bottom = 0;
};

// Styles 1-3: their fixed gradient, the current header's flat fill.
HeaderFill StyleFill(int style, bool current);
inline constexpr platform::ColorRef kCurrentHeaderFill = 0xFEFCFC;

// Style 0: the base colour flat, or shaded from the second colour (the
// shading colour, or the base tinted 70 % towards white) at the outer
// edge down to the base.
HeaderFill PlainStyleFill(platform::ColorRef base, bool shaded, bool customShading, platform::ColorRef shading);
inline constexpr double kShadeTint = 0.7;

// The highlight along the outer edge of a hot or current header in styles
// 1-3: one line of the edge colour, two of the inner colour beneath it;
// the edge line's two end pixels are the edge colour tinted 30 %.
struct Highlight {
    platform::ColorRef edge = 0;
    platform::ColorRef inner = 0;
    platform::ColorRef corner() const { return Tint(edge, kCornerTint); }
    static constexpr double kCornerTint = 0.3;
};
Highlight StyleHighlight(int style);

// Hot, current or normal text colour, grey for a disabled unit or page.
platform::ColorRef HeaderTextColor(const HeaderLook& look, const std::array<platform::ColorRef, 3>& colors);
inline constexpr platform::ColorRef kDisabledTextColor = 0x808080;

} // namespace ui
