// The PageControl's look: the header lengths and layout, the headers
// drawn off screen and kept until their look changes, and the painting of
// the strip and the page area.

#include "ui/ext/page_control_unit.h"

#include "platform/gdi.h"
#include "platform/window.h"
#include "ui/ext/page_scroll_images.h"

#include <algorithm>
#include <cassert>

namespace ui {

using namespace platform;

namespace {

// A header's length beyond its caption and image, and its least length.
constexpr int kHeaderPadding = 11;
constexpr int kMinHeaderLength = 50;
constexpr int kMinOverlappingLength = 25;
constexpr int kOverlappingPadding = 5;

Rect intersection(const Rect& a, const Rect& b)
{
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return r.isEmpty() ? Rect{} : r;
}

// The image of a state, or the plain one when the state has none.
int imageForState(const std::array<std::int32_t, 3>& images, HeaderState state)
{
    std::int32_t i = images[std::size_t(state)];
    return i == -1 ? images[0] : i;
}

} // namespace

HeaderStripInput PageControlUnit::stripInput() const
{
    Rect client = GetClientRect(handle());
    auto position = HeaderPosition(std::clamp(m_settings.headerPosition, 0, 3));
    int thickness = std::max(1, m_settings.headerHeight);
    return {.client = {client.width(), client.height()},
            .position = position,
            .multiRow = m_settings.multiRow || IsSidePosition(position),
            .hidden = m_settings.hideHeaders,
            .thickness = thickness,
            .overlap = m_settings.overlappingHeaders ? thickness * 3 / 8 : 0,
            .lengths = m_lengths,
            .current = m_current,
            .scrolled = m_scrolled,
            .scrollButton = {kScrollImageSize + 2, kScrollImageSize + 2}};
}

Font PageControlUnit::font() const
{
    return m_font.get() != Font::Null ? m_font.get() : GetStockFont(DEFAULT_GUI_FONT);
}

void PageControlUnit::applyFont()
{
    m_font.reset(m_settings.font ? CreateFontIndirect(*m_settings.font) : Font::Null);
    fitHeaderHeight();
}

// Headers are never lower than the font's text.
void PageControlUnit::fitHeaderHeight()
{
    int fontHeight = m_canvas.textSize("W", font()).cy;
    m_settings.headerHeight = std::max(m_settings.headerHeight, fontHeight);
}

// An image list that cannot be read falls back to the built-in buttons.
void PageControlUnit::applyScrollImages()
{
    ImageList list = ImageListCreateFromBlock(m_settings.scrollButtonImageList);
    m_scrollImages.reset(list != ImageList::Null ? list : CreateDefaultScrollButtonImages());
    m_scrollLook = {.images = m_scrollImages.get(), .background = ColorOfSetting(m_settings.pageAreaColor)};
    for (Hwnd button : m_scrollButtons)
        InvalidateRect(button, nullptr, false);
}

// Caption and image, a gap between them, and the padding; left and right
// headers with vertical text measure their characters one under another.
void PageControlUnit::measureHeaders()
{
    HeaderStripInput in = stripInput();
    bool vertical = m_settings.verticalHeaderText && IsSidePosition(in.position);
    bool overlapping = m_settings.overlappingHeaders;
    Size imageSize = ImageListImageSize(m_headerImages.get());
    PageRules r = rules();
    m_lengths.assign(m_pages.size(), 0);
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const PageRecord& p = m_pages[i];
        if (!HeaderShown(p, r))
            continue;
        bool image = std::any_of(p.headerImages.begin(), p.headerImages.end(),
                                 [&](int index) { return HasImage(m_headerImages.get(), index); });
        int text = vertical ? m_canvas.verticalTextLength(p.caption, font()) : m_canvas.textSize(p.caption, font()).cx;
        int imageLength = image ? (vertical ? imageSize.cy : imageSize.cx) : 0;
        int gap = image && text > 0 ? kImageGap : 0;
        int padding = overlapping ? in.thickness * 3 / 4 + kOverlappingPadding : kHeaderPadding;
        m_lengths[i] = std::max(text + imageLength + gap + padding, overlapping ? kMinOverlappingLength : kMinHeaderLength);
    }
}

void PageControlUnit::relayout()
{
    m_layout = LayOutHeaderStrip(stripInput());
    m_scrolled = m_layout.scrolled;
    const Rect* places[2] = {&m_layout.backButton, &m_layout.onButton};
    bool enabled[2] = {m_layout.canScrollBack, m_layout.canScrollOn};
    for (int i = 0; i < 2; ++i) {
        Hwnd button = m_scrollButtons[i];
        if (!IsWindow(button))
            continue;
        if (!m_layout.scrolling) {
            ShowWindow(button, SW_HIDE);
            continue;
        }
        const Rect& r = *places[i];
        MoveWindow(button, r.left, r.top, r.width(), r.height());
        EnableWindow(button, enabled[i]);
        ShowWindow(button, SW_SHOWNA);
    }
    InvalidateRect(handle(), nullptr, false);
}

// Colours changed: every header is drawn again, and the scroll buttons
// take the page area colour.
void PageControlUnit::repaint()
{
    restyle();
    m_scrollLook.background = ColorOfSetting(m_settings.pageAreaColor);
    InvalidateRect(handle(), nullptr, false);
    for (Hwnd button : m_scrollButtons)
        InvalidateRect(button, nullptr, false);
}

void PageControlUnit::refresh()
{
    restyle();
    measureHeaders();
    relayout();
}

void PageControlUnit::invalidateHeader(int page)
{
    if (page < 0 || page >= int(m_layout.headers.size()) || m_layout.headers[std::size_t(page)].isEmpty())
        return;
    Rect r = m_layout.headers[std::size_t(page)];
    InvalidateRect(handle(), &r, false);
}

// Overlapping headers cover part of the headers drawn beside them.
void PageControlUnit::invalidateNeighbours(int page)
{
    auto& order = m_layout.drawOrder;
    for (int neighbour : {page - 1, page + 1})
        if (std::find(order.begin(), order.end(), neighbour) != order.end())
            invalidateHeader(neighbour);
}

HeaderLook PageControlUnit::lookOf(int page) const
{
    return {.current = page == m_current,
            .hot = page == m_hot,
            .disabled = !IsWindowEnabled(handle()) || !m_pages[std::size_t(page)].enabled};
}

HeaderArt PageControlUnit::artFor(int page, const HeaderLook& look) const
{
    const PageRecord& p = m_pages[std::size_t(page)];
    const PageControlData& s = m_settings;
    HeaderState state = look.state();
    auto slot = std::size_t(state);
    int style = std::clamp(s.headerStyle, 0, 3);
    HeaderStripInput in = stripInput();

    HeaderArt art{.length = m_lengths[std::size_t(page)],
                  .thickness = in.thickness,
                  .position = in.position,
                  .border = ColorOfSetting(s.borderColor),
                  .openToPage = look.current,
                  .slant = in.overlap,
                  .backgrounds = m_backgroundImages.get(),
                  .background = imageForState(p.backgroundImages, state),
                  .underBackground = ColorOfSetting(s.pageAreaColor),
                  .images = m_headerImages.get(),
                  .image = imageForState(p.headerImages, state),
                  .caption = p.caption,
                  .font = font(),
                  .leftAligned = s.headerTextAlignment == 1,
                  .verticalText = s.verticalHeaderText};
    if (style == 0) {
        std::int32_t own = p.headerColors[slot];
        ColorRef base = ColorOfSetting(own != -1 ? std::uint32_t(own) : s.headerBackgroundColors[slot]);
        art.fill = PlainStyleFill(base, s.shadedHeaders, s.customShading, ColorOfSetting(s.shadingColors[slot]));
    } else {
        art.fill = StyleFill(style, look.current);
        if (look.hot || look.current)
            art.highlight = StyleHighlight(style);
    }
    std::array<ColorRef, 3> text{};
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = ColorOfSetting(s.headerTextColors[i]);
    art.textColor = HeaderTextColor(look, text);
    return art;
}

// The kept bitmap while the header's look, size and the unit's settings
// are what it was drawn for; drawn again otherwise.
Bitmap PageControlUnit::headerBitmap(int page)
{
    assert(page >= 0 && std::size_t(page) < m_cache.size());
    CachedHeader& c = m_cache[std::size_t(page)];
    const Rect& r = m_layout.headers[std::size_t(page)];
    Size size{r.width(), r.height()};
    HeaderLook look = lookOf(page);
    if (c.bitmap.get() != Bitmap::Null && c.look == look && c.size == size && c.generation == m_generation)
        return c.bitmap.get();
    c.bitmap.reset(m_canvas.render(artFor(page, look)));
    c.look = look;
    c.size = size;
    c.generation = m_generation;
    ++m_headersDrawn;
    return c.bitmap.get();
}

// The page area's colour inside a line of the border colour; the line
// next to the headers opens under the current one.
void PageControlUnit::paintPageArea(Hdc dc)
{
    const Rect& a = m_layout.pageArea;
    if (a.isEmpty())
        return;
    ColorRef border = ColorOfSetting(m_settings.borderColor);
    FillRect(dc, a, border);
    FillRect(dc, {a.left + 1, a.top + 1, a.right - 1, a.bottom - 1}, ColorOfSetting(m_settings.pageAreaColor));
    if (m_current < 0 || m_layout.rows == 0)
        return;
    Rect cur = intersection(m_layout.headers[std::size_t(m_current)], m_layout.clip);
    if (cur.isEmpty())
        return;
    ColorRef page = ColorOfSetting(m_settings.pageAreaColor);
    switch (stripInput().position) {
    case HeaderPosition::Top: FillRect(dc, {cur.left + 1, a.top, cur.right - 1, a.top + 1}, page); break;
    case HeaderPosition::Bottom: FillRect(dc, {cur.left + 1, a.bottom - 1, cur.right - 1, a.bottom}, page); break;
    case HeaderPosition::Left: FillRect(dc, {a.left, cur.top + 1, a.left + 1, cur.bottom - 1}, page); break;
    case HeaderPosition::Right: FillRect(dc, {a.right - 1, cur.top + 1, a.right, cur.bottom - 1}, page); break;
    }
}

void PageControlUnit::paint()
{
    PaintStruct ps;
    Hdc dc = BeginPaint(handle(), ps);
    Rect client = GetClientRect(handle());
    FillRect(dc, client, ColorOfSetting(m_settings.color));
    paintPageArea(dc);
    for (int page : m_layout.drawOrder) {
        const Rect& r = m_layout.headers[std::size_t(page)];
        Rect shown = intersection(intersection(r, m_layout.clip), ps.rcPaint);
        if (shown.isEmpty())
            continue;
        Bitmap bitmap = headerBitmap(page);
        Rect visible = intersection(r, m_layout.clip);
        Rect from = Rect::fromSize(visible.left - r.left, visible.top - r.top, visible.width(), visible.height());
        StretchDrawBitmap(dc, bitmap, visible, from, false);
    }
    EndPaint(handle(), ps);
}

} // namespace ui
