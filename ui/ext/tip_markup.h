// The tip window's markup: text with tags between < and > that switch
// bold, italic, underline, strike-out and the text colour on and off
// (nesting without pairing: each tag sets or clears its attribute), break
// lines and paragraphs, and set the window's background and border
// colours.  Tag names are case-insensitive; a tag of any other name is
// ignored.  Between tags "&lt;" and "&gt;" stand for < and >, "&-lt;" and
// "&-gt;" for the texts "&lt;" and "&gt;".  Texts are GBK, whose second
// bytes never take the values of < > or &, so the text is scanned byte by
// byte.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct TipStyle {
    bool bold = false; // the font's weight with the bits of 700 set
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    platform::ColorRef color = 0;
    friend bool operator==(const TipStyle&, const TipStyle&) = default;
};

struct TipRun {
    enum class Kind : std::uint8_t { Text, LineBreak, ParagraphBreak };
    Kind kind = Kind::Text;
    std::string text; // Text runs: never empty
    TipStyle style;
};

struct TipMarkup {
    std::vector<TipRun> runs;
    std::optional<platform::ColorRef> background; // none: the system's tip background
    std::optional<platform::ColorRef> border;     // none: the default border
};

// Every CR LF, then every line feed left, made a line break: "<br>" for
// markup, the marker "<!br!>" for plain text.
std::string TipLineBreaks(std::string_view text, bool markup);
inline constexpr std::string_view kPlainLineBreak = "<!br!>";

TipMarkup ParseTipMarkup(std::string_view text);
// Plain text: only the line-break markers mean anything.
TipMarkup PlainTip(std::string_view text);

// A colour value, the part of a tag after "=": red, green, blue, gray,
// otherwise a decimal number read as an RGB value (what does not read as
// one is 0); -1 is none.
std::optional<platform::ColorRef> TipColorValue(std::string_view value);

} // namespace ui
