#include "ui/ext/page_header_drawing.h"

#include "ui/ext/page_header_pixels.h"
#include "ui/ext/tip_layout.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace ui {

using namespace platform;

namespace {

constexpr std::uint32_t kLineText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

// Deselects the canvas's bitmap however the drawing ends.
class Selection {
public:
    Selection(Hdc dc, Bitmap bitmap) : m_dc(dc) { SelectBitmap(dc, bitmap); }
    ~Selection() { SelectBitmap(m_dc, Bitmap::Null); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    Hdc m_dc;
};

std::vector<std::string_view> characters(std::string_view text)
{
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = GbkCharacterLength(text, i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace

bool HasImage(ImageList list, int index)
{
    return list != ImageList::Null && index >= 0 && index < ImageListCount(list);
}

HeaderCanvas::HeaderCanvas() : m_dc(CreateCompatibleDC(Hdc::Null)) {}

HeaderCanvas::~HeaderCanvas()
{
    DeleteDC(m_dc);
}

Size HeaderCanvas::textSize(std::string_view text, Font font)
{
    if (text.empty())
        return {};
    Font old = SelectFont(m_dc, font);
    Rect r{};
    DrawText(m_dc, text, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectFont(m_dc, old);
    return {r.width(), r.height()};
}

int HeaderCanvas::verticalTextLength(std::string_view text, Font font)
{
    int length = 0;
    for (std::string_view c : characters(text))
        length += textSize(c, font).cy;
    return length;
}

void HeaderCanvas::line(int x, int y, int w, int h, ColorRef color)
{
    FillRect(m_dc, Rect::fromSize(x, y, w, h), color);
}

void HeaderCanvas::drawBackground(const HeaderArt& art, int w, int h)
{
    if (HasImage(art.backgrounds, art.background)) {
        FillRect(m_dc, {0, 0, w, h}, art.underBackground);
        Size size = ImageListImageSize(art.backgrounds);
        Bitmap picture = CreateBitmapFromPixels(size.cx, size.cy, ImageListGetImage(art.backgrounds, art.background));
        StretchDrawBitmap(m_dc, picture, {0, 0, w, h}, {0, 0, size.cx, size.cy}, false);
        DeleteBitmap(picture);
        return;
    }
    for (int y = 0; y < h; ++y)
        line(0, y, w, 1, GradientRow(art.fill.top, art.fill.bottom, y, h));
}

// The outline in the border colour; the highlight of a hot or current
// header in styles 1-3 lies over its outer edge.
void HeaderCanvas::drawOutline(const HeaderArt& art, int w, int h)
{
    line(0, 0, w, 1, art.border);
    line(0, 0, 1, h, art.border);
    line(w - 1, 0, 1, h, art.border);
    if (!art.openToPage)
        line(0, h - 1, w, 1, art.border);
    if (!art.highlight || h < 3)
        return;
    const Highlight& hl = *art.highlight;
    line(0, 0, w, 1, hl.edge);
    line(0, 0, 1, 1, hl.corner());
    line(w - 1, 0, 1, 1, hl.corner());
    line(1, 1, std::max(0, w - 2), 2, hl.inner);
}

void HeaderCanvas::drawContent(const HeaderArt& art, int w, int h)
{
    bool image = HasImage(art.images, art.image);
    Size imageSize = image ? ImageListImageSize(art.images) : Size{};
    Size text = textSize(art.caption, art.font);
    int gap = image && text.cx > 0 ? kImageGap : 0;
    int group = imageSize.cx + gap + text.cx;
    int x = art.leftAligned ? kHeaderInset + art.slant : (w - group) / 2;
    if (image)
        ImageListDraw(art.images, art.image, m_dc, x, (h - imageSize.cy) / 2);
    if (art.caption.empty())
        return;
    Font old = SelectFont(m_dc, art.font);
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, art.textColor);
    Rect r{x + imageSize.cx + gap, 0, w - 1, h};
    DrawText(m_dc, art.caption, r, kLineText | DT_LEFT);
    SelectFont(m_dc, old);
}

// Left and right headers with vertical text: after turning, the image
// at the top, then the characters upright, each centred across the header.
void HeaderCanvas::drawVerticalContent(const HeaderArt& art, int across)
{
    int y = kHeaderInset;
    if (HasImage(art.images, art.image)) {
        Size size = ImageListImageSize(art.images);
        ImageListDraw(art.images, art.image, m_dc, (across - size.cx) / 2, y);
        y += size.cy + kImageGap;
    }
    Font old = SelectFont(m_dc, art.font);
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, art.textColor);
    for (std::string_view c : characters(art.caption)) {
        int height = textSize(c, art.font).cy;
        Rect r{0, y, across, y + height};
        DrawText(m_dc, c, r, kLineText | DT_CENTER);
        y += height;
    }
    SelectFont(m_dc, old);
}

Bitmap HeaderCanvas::render(const HeaderArt& art)
{
    const int w = art.length;
    const int h = art.thickness;
    if (w <= 0 || h <= 0)
        return Bitmap::Null;
    const bool vertical = art.verticalText && IsSidePosition(art.position);
    Bitmap drawn = CreateCompatibleBitmap(m_dc, w, h);
    {
        Selection select(m_dc, drawn);
        drawBackground(art, w, h);
        drawOutline(art, w, h);
        if (!vertical)
            drawContent(art, w, h);
    }
    if (art.position == HeaderPosition::Top && art.slant == 0)
        return drawn;

    PixelImage image{.width = w, .height = h, .pixels = GetBitmapPixels(drawn)};
    DeleteBitmap(drawn);
    assert(image.valid());
    CutSlants(image, art.slant, art.border);
    PixelImage turned = OrientHeader(image, art.position);
    Bitmap result = CreateBitmapFromPixels(turned.width, turned.height, turned.pixels);
    if (vertical && result != Bitmap::Null) {
        Selection select(m_dc, result);
        drawVerticalContent(art, turned.width);
    }
    return result;
}

} // namespace ui
