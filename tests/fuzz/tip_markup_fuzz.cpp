// Fuzz entry for the tip markup: parsing in markup and plain-text mode,
// line breaks, layout within limits and placement.  Whatever the text:
// parsing never yields more text than it was given, no text run is empty,
// the laid-out fragments are the parsed text in order (all of it unless
// the line limit cut it short), no line holds more characters or lies
// further down than the limits allow, and a tip that fits the screen is
// placed inside it.
//
// The first two bytes choose the limits and the screen; the rest is the
// tip text.

#include "ui/ext/tip_layout.h"
#include "ui/ext/tip_markup.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "tip markup fuzz: %s\n", what);
    std::abort();
}

int characters(std::string_view text)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size(); i += ui::GbkCharacterLength(text, i))
        ++n;
    return n;
}

// Every character 7 pixels wide, bold ones 8.
int measure(std::string_view text, const ui::TipStyle& style)
{
    return characters(text) * (style.bold ? 8 : 7);
}

void check(const ui::TipMarkup& markup, std::size_t given, int widthOfW, platform::Size screen)
{
    std::string all;
    for (const ui::TipRun& run : markup.runs) {
        if (run.kind == ui::TipRun::Kind::Text && run.text.empty())
            fail("an empty text run");
        if (run.kind != ui::TipRun::Kind::Text && !run.text.empty())
            fail("a break with text");
        all += run.text;
    }
    if (all.size() > given)
        fail("more text out than in");

    const int lineHeight = 13;
    ui::TipLimits limits = ui::TipLimitsFor(screen, widthOfW, lineHeight);
    if (limits.lineCharacters < 1 || limits.lines < 1 || limits.lines > ui::kMaxTipLines)
        fail("limits out of range");
    ui::TipLayout layout = ui::LayOutTip(markup, limits, lineHeight, measure);
    std::string laid;
    int lastY = -1, lineCharacters = 0;
    for (const ui::TipFragment& f : layout.fragments) {
        if (f.text.empty())
            fail("an empty fragment");
        if (f.y != lastY)
            lineCharacters = 0;
        lastY = f.y;
        lineCharacters += characters(f.text);
        if (lineCharacters > limits.lineCharacters)
            fail("a line over its character limit");
        if (f.y < 0 || f.y > (limits.lines - 1) * lineHeight * 3 / 2)
            fail("a line below the line limit");
        if (f.x < 0 || f.x + f.width > layout.size.cx || f.y + lineHeight > layout.size.cy)
            fail("a fragment outside the tip");
        laid += f.text;
    }
    if (layout.lines > limits.lines)
        fail("more lines than the limit");
    if (!std::string_view(all).starts_with(laid) || (!layout.truncated && laid != all))
        fail("the fragments are not the text");

    platform::Size tip{layout.size.cx + 8, layout.size.cy + 8};
    platform::Point at = ui::PlaceTip({screen.cx - 3, screen.cy - 2}, tip, screen);
    if (tip.cx <= screen.cx && tip.cy <= screen.cy &&
        (at.x < 0 || at.y < 0 || at.x + tip.cx > screen.cx || at.y + tip.cy > screen.cy))
        fail("a tip that fits placed outside the screen");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    int widthOfW = data[0] % 17;                          // 0 (no font) to 16 pixels
    platform::Size screen{160 + data[1] * 8, 120 + data[1] * 6};
    std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    for (bool markup : {true, false}) {
        std::string lines = ui::TipLineBreaks(text, markup);
        if (lines.find('\n') != std::string::npos)
            fail("a line feed left");
        ui::TipMarkup parsed = markup ? ui::ParseTipMarkup(lines) : ui::PlainTip(lines);
        check(parsed, lines.size(), widthOfW, screen);
    }
    return 0;
}
