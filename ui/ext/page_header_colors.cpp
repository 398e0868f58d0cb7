#include "ui/ext/page_header_colors.h"

#include <cassert>

namespace ui {
namespace {

using platform::ColorRef;

constexpr int channel(ColorRef c, int shift)
{
    return int((c >> shift) & 0xFF);
}

// The fixed gradients of styles 1-3, top to bottom, as stored RGB numbers.
constexpr HeaderFill kStyleGradients[] = {
    {0xFFFFFF, 0xE5EBEB},
    {0xF6FFFF, 0xDAECF2},
    {0xFFFFFF, 0xD8BEBE},
};

constexpr Highlight kHighlights[] = {
    {.edge = 0x2572CF, .inner = 0x5896E3},
    {.edge = 0x2C8BE6, .inner = 0x3CC8FF},
    {.edge = 0x2572CF, .inner = 0x5896E3},
};

constexpr int styleSlot(int style)
{
    return style >= 1 && style <= 3 ? style - 1 : 0;
}

} // namespace

ColorRef Tint(ColorRef color, double fraction)
{
    if (!(fraction > 0.0 && fraction <= 1.0))
        return color;
    auto tint = [&](int v) { return v + int(fraction * (255 - v)); };
    return platform::Rgb(tint(channel(color, 0)), tint(channel(color, 8)), tint(channel(color, 16)));
}

ColorRef GradientRow(ColorRef top, ColorRef bottom, int row, int rows)
{
    if (rows <= 1)
        return top;
    assert(row >= 0 && row < rows);
    auto mix = [&](int shift) {
        int a = channel(top, shift);
        int b = channel(bottom, shift);
        return a + (b - a) * row / (rows - 1);
    };
    return platform::Rgb(mix(0), mix(8), mix(16));
}

HeaderFill StyleFill(int style, bool current)
{
    if (current)
        return {kCurrentHeaderFill, kCurrentHeaderFill};
    return kStyleGradients[styleSlot(style)];
}

HeaderFill PlainStyleFill(ColorRef base, bool shaded, bool customShading, ColorRef shading)
{
    if (!shaded)
        return {base, base};
    return {customShading ? shading : Tint(base, kShadeTint), base};
}

Highlight StyleHighlight(int style)
{
    return kHighlights[styleSlot(style)];
}

ColorRef HeaderTextColor(const HeaderLook& look, const std::array<ColorRef, 3>& colors)
{
    if (look.disabled)
        return kDisabledTextColor;
    return colors[std::size_t(look.state())];
}

} // namespace ui
