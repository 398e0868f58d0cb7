// Drawing one PageControl header off screen: its background (a picture,
// a style's gradient, or its colour, flat or shaded), outline, highlight,
// image and caption, in the horizontal orientation with the outer edge at
// the top; then cut to shape and turned to the edge it lies along.  The
// result is a bitmap the unit keeps and copies to the screen until the
// header's look changes.
#pragma once

#include "platform/gdi.h"
#include "platform/image_list.h"
#include "ui/ext/page_header_colors.h"
#include "ui/ext/page_header_layout.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Everything a header is drawn from, its colours already chosen.
struct HeaderArt {
    int length = 0;    // along the strip
    int thickness = 0; // across it
    HeaderPosition position = HeaderPosition::Top;
    HeaderFill fill;
    std::optional<Highlight> highlight;
    platform::ColorRef border = 0;
    bool openToPage = false; // the current header has no line along the page area
    int slant = 0;           // overlapping headers: how far each end slants

    platform::ImageList backgrounds = platform::ImageList::Null;
    int background = -1;
    platform::ColorRef underBackground = 0; // the page area colour, under the picture

    platform::ImageList images = platform::ImageList::Null;
    int image = -1;
    std::string caption; // GBK
    platform::Font font = platform::Font::Null;
    platform::ColorRef textColor = 0;
    bool leftAligned = false;
    bool verticalText = false; // left and right headers: characters upright, one under another
};

// Pixels between the outline and a left-aligned caption or image, and
// between an image and its caption.
inline constexpr int kHeaderInset = 5;
inline constexpr int kImageGap = 3;

class HeaderCanvas {
public:
    HeaderCanvas();
    ~HeaderCanvas();
    HeaderCanvas(const HeaderCanvas&) = delete;
    HeaderCanvas& operator=(const HeaderCanvas&) = delete;

    // A new bitmap (the caller deletes it) in the header's final
    // orientation; Null for an empty size.
    platform::Bitmap render(const HeaderArt& art);

    // Text measured in a font: one line's size, and the length of text
    // written one character under another.
    platform::Size textSize(std::string_view text, platform::Font font);
    int verticalTextLength(std::string_view text, platform::Font font);

private:
    void drawBackground(const HeaderArt& art, int w, int h);
    void drawOutline(const HeaderArt& art, int w, int h);
    void drawContent(const HeaderArt& art, int w, int h);
    void drawVerticalContent(const HeaderArt& art, int w);
    void line(int x, int y, int w, int h, platform::ColorRef color);

    platform::Hdc m_dc = platform::Hdc::Null;
};

// Whether an image list holds image `index`.
bool HasImage(platform::ImageList list, int index);

} // namespace ui
