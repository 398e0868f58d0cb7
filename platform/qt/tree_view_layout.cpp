#include "platform/qt/tree_view_layout.h"

#include "platform/tree_view.h"

#include <cassert>

namespace platform::qt {
namespace {

// An image of `size` at x, centred in the row.
QRect imageAt(int x, const RowFacts& f, QSize size)
{
    return {x, f.top + (f.height - size.height()) / 2, size.width(), size.height()};
}

int endOf(const QRect& r)
{
    return r.left() + r.width();
}

} // namespace

RowLayout layoutRow(const RowFacts& f)
{
    assert(f.indentColumns >= 0 && f.height >= 0);
    RowLayout l;
    const int indentEnd = f.left + f.indentColumns * f.indentation;
    l.indent = QRect(f.left, f.top, indentEnd - f.left, f.height);
    if (f.button && f.indentColumns > 0) {
        l.buttonCell = QRect(indentEnd - f.indentation, f.top, f.indentation, f.height);
        l.buttonBox = QRect(l.buttonCell.left() + (f.indentation - kButtonBoxSize) / 2,
                            f.top + (f.height - kButtonBoxSize) / 2, kButtonBoxSize, kButtonBoxSize);
    }
    l.stateImage = imageAt(indentEnd, f, f.stateImage);
    l.image = imageAt(endOf(l.stateImage), f, f.image);
    const bool anyImage = !f.stateImage.isEmpty() || !f.image.isEmpty();
    const int labelLeft = endOf(l.image) + (anyImage ? kImageGap : 0);
    l.label = QRect(labelLeft, f.top, f.textWidth + 2 * kLabelPadding, f.height);
    return l;
}

std::uint32_t hitRegion(const RowLayout& l, int x)
{
    if (l.buttonCell.contains(x, l.buttonCell.top()))
        return TVHT_ONITEMBUTTON;
    // The regions follow each other without gaps; the gap before the label
    // counts to the image.
    const struct {
        int end;
        std::uint32_t flag;
    } regions[] = {
        {endOf(l.indent), TVHT_ONITEMINDENT},
        {endOf(l.stateImage), TVHT_ONITEMSTATEICON},
        {l.label.left(), TVHT_ONITEMICON},
        {endOf(l.label), TVHT_ONITEMLABEL},
    };
    for (const auto& region : regions)
        if (x < region.end)
            return region.flag;
    return TVHT_ONITEMRIGHT;
}

} // namespace platform::qt
