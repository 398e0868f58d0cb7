// PageControl headers apart from the unit: which pages can be current,
// where headers lie along each edge, their colours, and the pixels of a
// header drawn off screen and turned to its edge.

#include "platform/gdi.h"
#include "platform/image_list.h"
#include "ui/ext/page_header_colors.h"
#include "ui/ext/page_header_drawing.h"
#include "ui/ext/page_header_layout.h"
#include "ui/ext/page_header_pixels.h"
#include "ui/ext/page_model.h"
#include "ui/ext/page_scroll_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using platform::Rect;
using ui::HeaderPosition;

TEST(PageModel, SelectablePages)
{
    ui::PageRecord page;
    struct Case {
        bool visible, enabled, hiddenOk, disabledOk, selectable, shown;
    };
    const Case cases[] = {
        {true, true, false, false, true, true},    {true, false, false, false, false, true},
        {true, false, false, true, true, true},    {false, true, false, false, false, false},
        {false, true, true, false, true, true},    {false, false, true, false, false, true},
        {false, false, false, true, false, false}, {false, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        page.visible = c.visible;
        page.enabled = c.enabled;
        ui::PageRules rules{.hiddenSelectable = c.hiddenOk, .disabledSelectable = c.disabledOk};
        EXPECT_EQ(ui::IsSelectable(page, rules), c.selectable) << c.visible << c.enabled << c.hiddenOk << c.disabledOk;
        EXPECT_EQ(ui::HeaderShown(page, rules), c.shown);
        EXPECT_TRUE(ui::IsSelectable(page, {.designTime = true}));
    }
    std::vector<ui::PageRecord> pages(3);
    pages[0].enabled = false;
    pages[1].visible = false;
    EXPECT_EQ(ui::FirstSelectable(pages, {}), 2);
    EXPECT_EQ(ui::FirstSelectable(pages, {.hiddenSelectable = true}), 1);
    pages[2].enabled = false;
    EXPECT_EQ(ui::FirstSelectable(pages, {}), -1);
}

ui::HeaderStripInput strip(HeaderPosition position, const std::vector<int>& lengths, bool multiRow = true)
{
    return {.client = {200, 100},
            .position = position,
            .multiRow = multiRow,
            .thickness = 20,
            .lengths = lengths,
            .current = 0};
}

TEST(HeaderLayout, EachEdge)
{
    std::vector<int> lengths{40, 50};
    ui::HeaderStripLayout top = ui::LayOutHeaderStrip(strip(HeaderPosition::Top, lengths));
    EXPECT_EQ(top.headers[1], (Rect{40, 0, 90, 20}));
    EXPECT_EQ(top.pageArea, (Rect{0, 20, 200, 100}));
    ui::HeaderStripLayout bottom = ui::LayOutHeaderStrip(strip(HeaderPosition::Bottom, lengths));
    EXPECT_EQ(bottom.headers[1], (Rect{40, 80, 90, 100}));
    EXPECT_EQ(bottom.pageArea, (Rect{0, 0, 200, 80}));
    ui::HeaderStripLayout left = ui::LayOutHeaderStrip(strip(HeaderPosition::Left, lengths));
    EXPECT_EQ(left.headers[1], (Rect{0, 40, 20, 90}));
    EXPECT_EQ(left.pageArea, (Rect{20, 0, 200, 100}));
    ui::HeaderStripLayout right = ui::LayOutHeaderStrip(strip(HeaderPosition::Right, lengths));
    EXPECT_EQ(right.headers[1], (Rect{180, 40, 200, 90}));
    EXPECT_EQ(right.pageArea, (Rect{0, 0, 180, 100}));

    ui::HeaderStripInput hidden = strip(HeaderPosition::Top, lengths);
    hidden.hidden = true;
    EXPECT_EQ(ui::LayOutHeaderStrip(hidden).pageArea, (Rect{0, 0, 200, 100}));
    EXPECT_TRUE(ui::LayOutHeaderStrip(hidden).drawOrder.empty());
}

TEST(HeaderLayout, RowsRotateSoTheCurrentRowTouchesThePageArea)
{
    // Left headers along 100 pixels: rows (0, 1), (2), (3).
    std::vector<int> lengths{50, 50, 60, 90};
    ui::HeaderStripInput in = strip(HeaderPosition::Left, lengths, false); // left always wraps
    in.current = 2;
    ui::HeaderStripLayout l = ui::LayOutHeaderStrip(in);
    EXPECT_EQ(l.rows, 3);
    EXPECT_EQ(l.headers[2].left, 40); // next to the page area
    EXPECT_EQ(l.headers[3].left, 20);
    EXPECT_EQ(l.headers[0].left, 0);
    EXPECT_EQ(l.headers[1].top, 50);
    EXPECT_EQ(l.pageArea.left, 60);
    EXPECT_EQ(l.drawOrder.back(), 2);
    EXPECT_EQ(ui::HeaderAt(l, {45, 10}), 2);
    EXPECT_EQ(ui::HeaderAt(l, {5, 55}), 1);
    EXPECT_EQ(ui::HeaderAt(l, {100, 50}), -1);
}

TEST(HeaderLayout, OneRowScrollsBehindItsButtons)
{
    std::vector<int> lengths{60, 0, 60, 60, 60}; // page 1 has no header
    ui::HeaderStripInput in = strip(HeaderPosition::Top, lengths, false);
    ui::HeaderStripLayout l = ui::LayOutHeaderStrip(in);
    ASSERT_TRUE(l.scrolling);
    EXPECT_EQ(l.clip, (Rect{0, 0, 170, 20}));
    EXPECT_EQ(l.backButton, (Rect{170, 2, 185, 17}));
    EXPECT_EQ(l.onButton, (Rect{185, 2, 200, 17}));
    EXPECT_FALSE(l.canScrollBack);
    EXPECT_TRUE(l.canScrollOn);
    EXPECT_TRUE(l.headers[1].isEmpty());

    // Revealing page 4 scrolls two headers out: 60 + 60 fit in 170.
    EXPECT_EQ(ui::ScrolledToReveal(in, 4), 2);
    in.scrolled = 2;
    l = ui::LayOutHeaderStrip(in);
    EXPECT_EQ(l.headers[3], (Rect{0, 0, 60, 20}));
    EXPECT_FALSE(l.canScrollOn);
    EXPECT_TRUE(ui::HeaderAt(l, {0, 0}) == 3);
    EXPECT_EQ(ui::ScrolledToReveal(in, 0), 0);
    in.scrolled = 99;
    EXPECT_EQ(ui::LayOutHeaderStrip(in).scrolled, 3);

    // Overlapping headers advance by their length less the overlap.
    std::vector<int> three{50, 50, 50};
    ui::HeaderStripInput overlapped = strip(HeaderPosition::Top, three);
    overlapped.overlap = 7;
    EXPECT_EQ(ui::LayOutHeaderStrip(overlapped).headers[2].left, 86);
}

TEST(HeaderColors, TintAndFills)
{
    EXPECT_EQ(ui::Tint(0x000000, 0.7), platform::Rgb(178, 178, 178));
    EXPECT_EQ(ui::Tint(platform::Rgb(100, 200, 255), 0.3), platform::Rgb(146, 216, 255));
    EXPECT_EQ(ui::Tint(0x123456, 0.0), 0x123456u);
    EXPECT_EQ(ui::Tint(0x123456, 1.5), 0x123456u);
    EXPECT_EQ(ui::Tint(0x123456, 1.0), 0xFFFFFFu);

    ui::HeaderFill shaded = ui::PlainStyleFill(0x000080, true, false, 0xECECEC);
    EXPECT_EQ(shaded.top, ui::Tint(0x000080, 0.7));
    EXPECT_EQ(shaded.bottom, 0x000080u);
    EXPECT_EQ(ui::PlainStyleFill(0x000080, true, true, 0x00FF00).top, 0x00FF00u);
    EXPECT_EQ(ui::PlainStyleFill(0x000080, false, true, 0x00FF00).top, 0x000080u);
    EXPECT_EQ(ui::StyleFill(0, false).top, ui::StyleFill(1, false).top); // out of range: style 1's
    EXPECT_EQ(ui::GradientRow(0x000000, 0x0000FF, 2, 3), 0x0000FFu);
    EXPECT_EQ(ui::GradientRow(0x000000, 0x0000FE, 1, 3), 0x00007Fu);

    std::array<platform::ColorRef, 3> text{1, 2, 3};
    EXPECT_EQ(ui::HeaderTextColor({}, text), 1u);
    EXPECT_EQ(ui::HeaderTextColor({.current = true, .hot = true}, text), 2u);
    EXPECT_EQ(ui::HeaderTextColor({.current = true}, text), 3u);
    EXPECT_EQ(ui::HeaderTextColor({.current = true, .disabled = true}, text), ui::kDisabledTextColor);
}

ui::PixelImage numbered(int w, int h)
{
    ui::PixelImage image{.width = w, .height = h};
    for (int i = 0; i < w * h; ++i)
        image.pixels.push_back(std::uint32_t(i));
    return image;
}

TEST(HeaderPixels, TurnedToTheirEdge)
{
    ui::PixelImage in = numbered(3, 2); // 0 1 2 / 3 4 5; the top row is the outer edge
    EXPECT_EQ(ui::OrientHeader(in, HeaderPosition::Top).pixels, in.pixels);
    EXPECT_EQ(ui::OrientHeader(in, HeaderPosition::Bottom).pixels, (std::vector<std::uint32_t>{3, 4, 5, 0, 1, 2}));
    ui::PixelImage left = ui::OrientHeader(in, HeaderPosition::Left);
    EXPECT_EQ(left.width, 2);
    EXPECT_EQ(left.pixels, (std::vector<std::uint32_t>{2, 5, 1, 4, 0, 3}));
    ui::PixelImage right = ui::OrientHeader(in, HeaderPosition::Right);
    EXPECT_EQ(right.pixels, (std::vector<std::uint32_t>{3, 0, 4, 1, 5, 2}));

    ui::PixelImage cut = numbered(10, 5);
    ui::CutSlants(cut, 4, 0x0000FF);
    EXPECT_EQ(cut.at(3, 0), 0u);       // outside the slant at the outer edge
    EXPECT_EQ(cut.at(4, 0), 0xFFFF0000u); // its outline
    EXPECT_EQ(cut.at(0, 4), 0xFFFF0000u); // full width along the page area
    EXPECT_EQ(cut.at(5, 2), 25u);
}

TEST(ScrollButtonImages, TheDefaultResource)
{
    EXPECT_EQ(ui::DefaultScrollButtonStrip().size(), std::size_t(104 * 13));
    platform::ImageList list = ui::CreateDefaultScrollButtonImages();
    EXPECT_EQ(platform::ImageListCount(list), 8);
    EXPECT_EQ(platform::ImageListImageSize(list), (platform::Size{13, 13}));
    // The mask colour is transparent; the arrow of "<" points left.
    std::vector<std::uint32_t> normal = platform::ImageListGetImage(list, 0);
    EXPECT_EQ(normal[0], 0u);
    EXPECT_EQ(normal[6 * 13 + 4], 0xFF000000u);
    EXPECT_EQ(platform::ImageListGetImage(list, ui::ScrollImageIndex(true, ui::ScrollButtonState::Normal))[6 * 13 + 8],
              0xFF000000u);
    platform::ImageListDestroy(list);
}

// A header drawn through the platform's memory contexts.
std::vector<std::uint32_t> render(ui::HeaderCanvas& canvas, const ui::HeaderArt& art, platform::Size& size)
{
    platform::Bitmap b = canvas.render(art);
    size = platform::GetBitmapSize(b);
    std::vector<std::uint32_t> pixels = platform::GetBitmapPixels(b);
    platform::DeleteBitmap(b);
    return pixels;
}

TEST(HeaderDrawing, StyleHighlightAndOrientation)
{
    ui::HeaderCanvas canvas;
    ui::HeaderArt art{.length = 40,
                      .thickness = 10,
                      .fill = ui::StyleFill(1, true),
                      .highlight = ui::StyleHighlight(1),
                      .border = 0x808080,
                      .openToPage = true};
    platform::Size size;
    std::vector<std::uint32_t> top = render(canvas, art, size);
    ASSERT_EQ(size, (platform::Size{40, 10}));
    EXPECT_EQ(top[20], ui::OpaquePixel(0x2572CF));                  // the edge line
    EXPECT_EQ(top[0], ui::OpaquePixel(ui::StyleHighlight(1).corner())); // its corners tinted
    EXPECT_EQ(top[40 + 20], ui::OpaquePixel(0x5896E3));             // two inner lines
    EXPECT_EQ(top[2 * 40 + 20], ui::OpaquePixel(0x5896E3));
    EXPECT_EQ(top[5 * 40 + 20], ui::OpaquePixel(ui::kCurrentHeaderFill));
    EXPECT_EQ(top[9 * 40 + 20], ui::OpaquePixel(ui::kCurrentHeaderFill)); // open to the page

    art.position = HeaderPosition::Left;
    std::vector<std::uint32_t> left = render(canvas, art, size);
    ASSERT_EQ(size, (platform::Size{10, 40}));
    EXPECT_EQ(left[20 * 10 + 0], ui::OpaquePixel(0x2572CF)); // the outer edge is the left one
    art.position = HeaderPosition::Bottom;
    art.openToPage = false;
    std::vector<std::uint32_t> bottom = render(canvas, art, size);
    EXPECT_EQ(bottom[9 * 40 + 20], ui::OpaquePixel(0x2572CF));
    EXPECT_EQ(bottom[0 * 40 + 20], ui::OpaquePixel(0x808080)); // closed towards the page
}

TEST(HeaderDrawing, ShadedBackgroundAndGreyCaption)
{
    ui::HeaderCanvas canvas;
    ui::HeaderArt art{.length = 60,
                      .thickness = 20,
                      .fill = ui::PlainStyleFill(0x000080, true, false, 0),
                      .border = 0x000000};
    platform::Size size;
    std::vector<std::uint32_t> pixels = render(canvas, art, size);
    platform::ColorRef light = ui::Tint(0x000080, 0.7);
    EXPECT_EQ(pixels[1 * 60 + 2], ui::OpaquePixel(ui::GradientRow(light, 0x000080, 1, 20)));
    EXPECT_EQ(pixels[18 * 60 + 2], ui::OpaquePixel(ui::GradientRow(light, 0x000080, 18, 20)));

    // Over white, a caption's pixels are shades of its colour: a grey one
    // has none darker than the grey.
    art.fill = {0xFFFFFF, 0xFFFFFF};
    art.caption = "WWWW";
    art.font = platform::GetStockFont(platform::DEFAULT_GUI_FONT);
    art.textColor = ui::kDisabledTextColor;
    pixels = render(canvas, art, size);
    int inked = 0;
    int darkest = 0xFF;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 58; ++x) {
            int v = int(pixels[std::size_t(y * 60 + x)] & 0xFF);
            inked += v < 0xF0;
            darkest = std::min(darkest, v);
        }
    EXPECT_GT(inked, 10);
    EXPECT_GE(darkest, 0x7C);
}

} // namespace
