// Where a PageControl's headers lie: one row scrolled along the strip, or
// rows wrapped at the strip's length with the current page's row next to
// the page area (rows rotated, as the platform's tab control does), along
// any of the four edges.  Pure geometry, in the unit's client coordinates.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ui {

enum class HeaderPosition : std::int32_t { Top = 0, Bottom = 1, Left = 2, Right = 3 };

constexpr bool IsSidePosition(HeaderPosition p)
{
    return p == HeaderPosition::Left || p == HeaderPosition::Right;
}

struct HeaderStripInput {
    platform::Size client;
    HeaderPosition position = HeaderPosition::Top;
    bool multiRow = true; // always for left and right
    bool hidden = false;  // no headers at all: the page area is the client area
    int thickness = 20;   // of a row: the header height
    int overlap = 0;      // what each header covers of the next one
    // Per page, the header's length along the strip; 0 for a page whose
    // header is not drawn.
    std::span<const int> lengths;
    int current = -1;
    // One row: how many of the drawn headers are scrolled out before the
    // first one shown.
    int scrolled = 0;
    platform::Size scrollButton{15, 15};
};

struct HeaderStripLayout {
    // Per page; empty for a page whose header is not drawn.  One row's
    // headers may reach under the scroll buttons: `clip` is where they show.
    std::vector<platform::Rect> headers;
    // Pages in the order their headers are drawn: the current one last, on
    // top of overlapping neighbours.
    std::vector<int> drawOrder;
    platform::Rect strip;
    platform::Rect clip;
    platform::Rect pageArea;
    int rows = 0;
    // One row longer than the strip: the scroll buttons show at its end.
    bool scrolling = false;
    platform::Rect backButton, onButton;
    bool canScrollBack = false, canScrollOn = false;
    int scrolled = 0; // as kept within the drawn headers
};

HeaderStripLayout LayOutHeaderStrip(const HeaderStripInput& in);

// The page whose header is under a point, -1 for none: the current header
// first, as it is drawn on top, then the others from the top down.
int HeaderAt(const HeaderStripLayout& layout, platform::Point at);

// One row: the scroll position closest to `in.scrolled` that shows the
// whole header of `page` (as much of it as fits when it is longer than the
// strip).
int ScrolledToReveal(const HeaderStripInput& in, int page);

} // namespace ui
