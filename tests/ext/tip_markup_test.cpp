// The tip markup: tags, entities, colour values and line breaks as the
// parser reads them, and the layout's limits and the window's placement.

#include "ui/ext/tip_layout.h"
#include "ui/ext/tip_markup.h"

#include <gtest/gtest.h>

namespace {

using ui::TipRun;

std::string textOf(const ui::TipMarkup& m)
{
    std::string out;
    for (const TipRun& r : m.runs)
        out += r.kind == TipRun::Kind::Text ? r.text : r.kind == TipRun::Kind::LineBreak ? "|" : "\\P";
    return out;
}

TEST(TipMarkup, EntitiesStandForTheirCharacters)
{
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a&lt;b")), "a<b");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a&gt;b")), "a>b");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a&-lt;b")), "a&lt;b");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a&-gt;b&")), "a&gt;b&");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("&amp; &lt &lt;&lt;")), "&amp; &lt <<");
    // An entity is never read as a tag.
    ui::TipMarkup m = ui::ParseTipMarkup("&lt;b&gt;x");
    ASSERT_EQ(m.runs.size(), 1u);
    EXPECT_FALSE(m.runs[0].style.bold);
}

TEST(TipMarkup, TagsAreCaseInsensitiveAndNeedNoPairs)
{
    ui::TipMarkup m = ui::ParseTipMarkup("x<COLOR=RED>red<B>both</color>bold<b>still</B>plain");
    ASSERT_EQ(m.runs.size(), 6u);
    EXPECT_EQ(m.runs[0].style, ui::TipStyle{});
    EXPECT_EQ(m.runs[1].text, "red");
    EXPECT_EQ(m.runs[1].style.color, 0x0000FFu);
    EXPECT_TRUE(m.runs[2].style.bold);
    EXPECT_EQ(m.runs[2].style.color, 0x0000FFu);
    // Closing the colour restores black; bold twice is bold once.
    EXPECT_EQ(m.runs[3].style, (ui::TipStyle{.bold = true}));
    EXPECT_TRUE(m.runs[4].style.bold);
    EXPECT_EQ(m.runs[5].style, ui::TipStyle{});

    ui::TipMarkup all = ui::ParseTipMarkup("<italic><u><strikeout><c=blue>x< /i ></underline><s>y");
    ASSERT_EQ(all.runs.size(), 2u);
    EXPECT_EQ(all.runs[0].style,
              (ui::TipStyle{.italic = true, .underline = true, .strikeOut = true, .color = 0xFF0000}));
    EXPECT_EQ(all.runs[1].style, (ui::TipStyle{.strikeOut = true, .color = 0xFF0000}));
}

TEST(TipMarkup, OtherTagsAreIgnoredAndAnOpenTagIsText)
{
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a<font size=3>b<>c</p>d<!br!>e")), "abcde");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a<b")), "a<b");
    EXPECT_EQ(textOf(ui::ParseTipMarkup("a>b")), "a>b");
    ui::TipMarkup m = ui::ParseTipMarkup("<b");
    ASSERT_EQ(m.runs.size(), 1u);
    EXPECT_FALSE(m.runs[0].style.bold);
    EXPECT_TRUE(ui::ParseTipMarkup("").runs.empty());
    EXPECT_TRUE(ui::ParseTipMarkup("<b></b>").runs.empty());
}

TEST(TipMarkup, ColourValues)
{
    EXPECT_EQ(ui::TipColorValue("red"), 0x0000FFu);
    EXPECT_EQ(ui::TipColorValue("GREEN"), 0x00FF00u);
    EXPECT_EQ(ui::TipColorValue("blue"), 0xFF0000u);
    EXPECT_EQ(ui::TipColorValue(" gray "), 0x808080u);
    EXPECT_EQ(ui::TipColorValue("-1"), std::nullopt);
    EXPECT_EQ(ui::TipColorValue("255"), 0x0000FFu);
    EXPECT_EQ(ui::TipColorValue("65280xyz"), 0x00FF00u);
    EXPECT_EQ(ui::TipColorValue("purple"), 0u);
    EXPECT_EQ(ui::TipColorValue("99999999999999999999"), 0xFFFFFFu);

    // The window's colours; a tag without "=" gives 0; -1 the default.
    ui::TipMarkup m = ui::ParseTipMarkup("<backcolor=255><BorderColor=green>x");
    EXPECT_EQ(m.background, 0x0000FFu);
    EXPECT_EQ(m.border, 0x00FF00u);
    EXPECT_EQ(ui::ParseTipMarkup("<backcolor>").background, 0u);
    EXPECT_EQ(ui::ParseTipMarkup("<backcolor=red><backcolor=-1>").background, std::nullopt);
    EXPECT_EQ(ui::ParseTipMarkup("<c=red><color>x").runs[0].style.color, 0u);
}

TEST(TipMarkup, LineBreaks)
{
    EXPECT_EQ(ui::TipLineBreaks("a\r\nb\nc\rd", true), "a<br>b<br>c\rd");
    EXPECT_EQ(ui::TipLineBreaks("a\r\n\nb", false), "a<!br!><!br!>b");
    EXPECT_EQ(textOf(ui::ParseTipMarkup(ui::TipLineBreaks("a\r\nb<p>c", true))), "a|b\\Pc");
    // In plain text only the marker breaks; tags and entities are text.
    EXPECT_EQ(textOf(ui::PlainTip("<b>a&lt;<!br!><!br!>b")), "<b>a&lt;||b");
    EXPECT_EQ(textOf(ui::PlainTip("<!br!>")), "|");
}

// Every character 10 pixels wide, bold ones 12.
int measure(std::string_view text, const ui::TipStyle& style)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size(); i += ui::GbkCharacterLength(text, i))
        ++n;
    return n * (style.bold ? 12 : 10);
}

TEST(TipLayout, LimitsComeFromTheScreen)
{
    EXPECT_EQ(ui::TipLimitsFor({1024, 768}, 8, 12).lineCharacters, 123);
    EXPECT_EQ(ui::TipLimitsFor({1024, 768}, 8, 12).lines, 20);
    EXPECT_EQ(ui::TipLimitsFor({40, 100}, 8, 12).lineCharacters, 10);
    EXPECT_EQ(ui::TipLimitsFor({40, 100}, 8, 12).lines, 5);
    EXPECT_EQ(ui::TipLimitsFor({40, 10}, 0, 12).lines, 1);
    EXPECT_EQ(ui::TipLimitsFor({40, 10}, 0, 12).lineCharacters, 10);
}

TEST(TipLayout, LinesBreakAtTagsAndAtTheCharacterLimit)
{
    ui::TipLimits limits{.lineCharacters = 4, .lines = 20};
    ui::TipLayout l = ui::LayOutTip(ui::ParseTipMarkup("ab<b>cdef</b>g<br>h<p>i"), limits, 10, measure);
    ASSERT_EQ(l.fragments.size(), 6u);
    EXPECT_EQ(l.fragments[1].text, "cd"); // the line's four characters
    EXPECT_EQ(l.fragments[1].x, 20);
    EXPECT_EQ(l.fragments[2].text, "ef");
    EXPECT_EQ(l.fragments[2].y, 10);
    EXPECT_EQ(l.fragments[3].x, 24);
    EXPECT_EQ(l.fragments[4].y, 20); // after <br>
    EXPECT_EQ(l.fragments[5].y, 35); // a paragraph is one and a half lines
    EXPECT_EQ(l.size, (platform::Size{44, 45}));
    EXPECT_EQ(l.lines, 4);

    // A GBK character counts once and is never split.
    ui::TipLayout wide = ui::LayOutTip(ui::PlainTip("\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1"), limits, 10, measure);
    ASSERT_EQ(wide.fragments.size(), 2u);
    EXPECT_EQ(wide.fragments[0].text.size(), 8u);
}

TEST(TipLayout, LayoutStopsAtTheLineLimit)
{
    ui::TipLimits limits{.lineCharacters = 10, .lines = 2};
    ui::TipLayout l = ui::LayOutTip(ui::ParseTipMarkup("a<br>b<br>c<br>d"), limits, 10, measure);
    ASSERT_EQ(l.fragments.size(), 2u);
    EXPECT_TRUE(l.truncated);
    EXPECT_EQ(l.size.cy, 20);
    EXPECT_TRUE(ui::LayOutTip(ui::ParseTipMarkup("<b></b>"), limits, 10, measure).fragments.empty());
}

TEST(TipLayout, PlacedBelowThePointerAndInsideTheScreen)
{
    platform::Size screen{800, 600};
    EXPECT_EQ(ui::PlaceTip({100, 100}, {50, 20}, screen), (platform::Point{100, 121}));
    EXPECT_EQ(ui::PlaceTip({790, 590}, {50, 20}, screen), (platform::Point{750, 580}));
    EXPECT_EQ(ui::PlaceTip({0, 0}, {900, 700}, screen), (platform::Point{0, 0}));
    EXPECT_EQ(ui::PlaceTip({100, 100}, {50, 20}, screen, platform::Point{-5, 30}), (platform::Point{0, 30}));
}

} // namespace
