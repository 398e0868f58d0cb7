#include "ui/ext/page_header_layout.h"

#include <algorithm>
#include <cassert>

namespace ui {
namespace {

using platform::Rect;

// Headers are placed along the strip (a, from its start) and across it
// (c, from the outer edge); the frame turns that into client coordinates
// for the edge the strip lies along.
struct Frame {
    HeaderPosition position;
    int width;
    int height;

    int length() const { return IsSidePosition(position) ? height : width; }
    int depth() const { return IsSidePosition(position) ? width : height; }

    Rect map(int a, int c, int len, int thick) const
    {
        switch (position) {
        case HeaderPosition::Top: return Rect::fromSize(a, c, len, thick);
        case HeaderPosition::Bottom: return Rect::fromSize(a, height - c - thick, len, thick);
        case HeaderPosition::Left: return Rect::fromSize(c, a, thick, len);
        case HeaderPosition::Right: return Rect::fromSize(width - c - thick, a, thick, len);
        }
        return {};
    }

    // What is left of the client area once a band of `band` pixels along
    // the edge is taken.
    Rect rest(int band) const
    {
        int b = std::clamp(band, 0, depth());
        switch (position) {
        case HeaderPosition::Top: return {0, b, width, height};
        case HeaderPosition::Bottom: return {0, 0, width, height - b};
        case HeaderPosition::Left: return {b, 0, width, height};
        case HeaderPosition::Right: return {0, 0, width - b, height};
        }
        return {};
    }
};

std::vector<int> drawnPages(std::span<const int> lengths)
{
    std::vector<int> drawn;
    for (std::size_t i = 0; i < lengths.size(); ++i)
        if (lengths[i] > 0)
            drawn.push_back(int(i));
    return drawn;
}

struct OneRow {
    std::vector<int> drawn;
    bool scrolling = false;
    int visible = 0; // the strip's length the headers show in
    int scrolled = 0;
};

OneRow oneRowOf(const HeaderStripInput& in, const Frame& frame)
{
    OneRow r;
    r.drawn = drawnPages(in.lengths);
    int total = 0;
    for (int page : r.drawn)
        total += in.lengths[std::size_t(page)] - in.overlap;
    if (!r.drawn.empty())
        total += in.overlap;
    r.scrolling = total > frame.length();
    r.visible = r.scrolling ? std::max(0, frame.length() - 2 * in.scrollButton.cx) : frame.length();
    r.scrolled = r.drawn.empty() ? 0 : std::clamp(in.scrolled, 0, int(r.drawn.size()) - 1);
    return r;
}

// Where the header in slot `last` ends when slot `first` starts the strip.
int endOf(const HeaderStripInput& in, const OneRow& r, int first, int last)
{
    int end = 0;
    for (int slot = first; slot <= last; ++slot)
        end += in.lengths[std::size_t(r.drawn[std::size_t(slot)])] - in.overlap;
    return end + in.overlap;
}

void layOutOneRow(const HeaderStripInput& in, const Frame& frame, HeaderStripLayout& out)
{
    assert(!IsSidePosition(in.position) && "left and right headers always wrap");
    OneRow r = oneRowOf(in, frame);
    int t = in.thickness;
    out.rows = 1;
    out.scrolling = r.scrolling;
    out.scrolled = r.scrolled;
    int a = 0;
    for (std::size_t slot = std::size_t(r.scrolled); slot < r.drawn.size(); ++slot) {
        int page = r.drawn[slot];
        int len = in.lengths[std::size_t(page)];
        out.headers[std::size_t(page)] = frame.map(a, 0, len, t);
        a += len - in.overlap;
    }
    out.clip = frame.map(0, 0, r.visible, t);
    out.canScrollBack = r.scrolled > 0;
    out.canScrollOn = !r.drawn.empty() && endOf(in, r, r.scrolled, int(r.drawn.size()) - 1) > r.visible;
    if (r.scrolling) {
        platform::Size b = in.scrollButton;
        int across = std::max(0, (t - b.cy) / 2);
        out.backButton = frame.map(r.visible, across, b.cx, b.cy);
        out.onButton = frame.map(r.visible + b.cx, across, b.cx, b.cy);
    }
}

void layOutRows(const HeaderStripInput& in, const Frame& frame, HeaderStripLayout& out)
{
    struct Placed {
        int page;
        int along;
    };
    std::vector<std::vector<Placed>> rows;
    int a = 0;
    for (int page : drawnPages(in.lengths)) {
        int len = in.lengths[std::size_t(page)];
        if (rows.empty() || (!rows.back().empty() && a + len > frame.length())) {
            rows.emplace_back();
            a = 0;
        }
        rows.back().push_back({page, a});
        a += len - in.overlap;
    }
    int n = int(rows.size());
    out.rows = n;
    int currentRow = 0;
    for (int r = 0; r < n; ++r)
        for (const Placed& p : rows[std::size_t(r)])
            if (p.page == in.current)
                currentRow = r;
    // The current row lies next to the page area, the rows after it
    // further out, wrapping round to those before it.
    for (int r = 0; r < n; ++r) {
        int distance = (r - currentRow + n) % n;
        int across = (n - 1 - distance) * in.thickness;
        for (const Placed& p : rows[std::size_t(r)])
            out.headers[std::size_t(p.page)] =
                frame.map(p.along, across, in.lengths[std::size_t(p.page)], in.thickness);
    }
}

} // namespace

HeaderStripLayout LayOutHeaderStrip(const HeaderStripInput& in)
{
    HeaderStripLayout out;
    out.headers.assign(in.lengths.size(), Rect{});
    Frame frame{in.position, std::max(0, in.client.cx), std::max(0, in.client.cy)};
    if (in.hidden || in.thickness <= 0 || drawnPages(in.lengths).empty()) {
        out.pageArea = frame.rest(0);
        return out;
    }
    bool oneRow = !in.multiRow && !IsSidePosition(in.position);
    if (oneRow)
        layOutOneRow(in, frame, out);
    else
        layOutRows(in, frame, out);
    out.strip = frame.map(0, 0, frame.length(), out.rows * in.thickness);
    if (!oneRow)
        out.clip = out.strip;
    out.pageArea = frame.rest(out.rows * in.thickness);
    bool currentDrawn = false;
    for (std::size_t page = 0; page < out.headers.size(); ++page) {
        if (out.headers[page].isEmpty())
            continue;
        if (int(page) == in.current)
            currentDrawn = true;
        else
            out.drawOrder.push_back(int(page));
    }
    if (currentDrawn)
        out.drawOrder.push_back(in.current);
    return out;
}

int HeaderAt(const HeaderStripLayout& layout, platform::Point at)
{
    if (!layout.clip.contains(at))
        return -1;
    for (auto it = layout.drawOrder.rbegin(); it != layout.drawOrder.rend(); ++it)
        if (layout.headers[std::size_t(*it)].contains(at))
            return *it;
    return -1;
}

int ScrolledToReveal(const HeaderStripInput& in, int page)
{
    Frame frame{in.position, std::max(0, in.client.cx), std::max(0, in.client.cy)};
    OneRow r = oneRowOf(in, frame);
    auto it = std::find(r.drawn.begin(), r.drawn.end(), page);
    if (it == r.drawn.end())
        return r.scrolled;
    int slot = int(it - r.drawn.begin());
    if (slot < r.scrolled)
        return slot;
    int first = r.scrolled;
    while (first < slot && endOf(in, r, first, slot) > r.visible)
        ++first;
    return first;
}

} // namespace ui
