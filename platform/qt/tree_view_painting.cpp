#include "platform/qt/tree_view_painting.h"

#include <QPainter>

#include <cassert>

namespace platform::qt {
namespace {

const QColor kLineColor(128, 128, 128);
const QColor kButtonBorder(128, 128, 128);
const QColor kButtonSign(0, 0, 0);

// Classic tree lines are dotted: every other pixel, in step across rows.
void dottedVertical(QPainter& p, int x, int top, int bottom, int phase)
{
    for (int y = top + ((top + phase) & 1); y < bottom; y += 2)
        p.drawPoint(x, y);
}

void dottedHorizontal(QPainter& p, int left, int right, int y)
{
    for (int x = left + (left & 1); x < right; x += 2)
        p.drawPoint(x, y);
}

void paintButton(QPainter& p, const QRect& box, bool expanded, const QColor& background)
{
    p.fillRect(box, background);
    p.setPen(kButtonBorder);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    const int cx = box.left() + box.width() / 2;
    const int cy = box.top() + box.height() / 2;
    p.setPen(kButtonSign);
    p.drawLine(box.left() + 2, cy, box.right() - 2, cy);
    if (!expanded)
        p.drawLine(cx, box.top() + 2, cx, box.bottom() - 2);
}

} // namespace

void paintBranches(QPainter& p, const BranchLook& look)
{
    assert(look.layout);
    const RowLayout& l = *look.layout;
    const QRect& area = l.indent;
    const int columns = look.indentation > 0 ? area.width() / look.indentation : 0;
    if (columns == 0)
        return;
    const int top = area.top();
    const int bottom = top + area.height();
    const int centerY = top + area.height() / 2;
    auto centerX = [&](int column) { return area.left() + column * look.indentation + look.indentation / 2; };
    if (look.lines) {
        p.setPen(kLineColor);
        for (int column = 0; column + 1 < columns && column < int(look.linesThrough.size()); ++column)
            if (look.linesThrough[std::size_t(column)])
                dottedVertical(p, centerX(column), top, bottom, look.dotPhase);
        const int own = centerX(columns - 1);
        if (look.lineAbove)
            dottedVertical(p, own, top, centerY + 1, look.dotPhase);
        if (look.lineBelow)
            dottedVertical(p, own, centerY, bottom, look.dotPhase);
        dottedHorizontal(p, own, area.left() + area.width(), centerY);
    }
    if (!l.buttonBox.isEmpty())
        paintButton(p, l.buttonBox, look.expanded, look.background);
}

void paintRowContents(QPainter& p, const RowLayout& l, const RowLook& look)
{
    if (!look.stateImage.isNull())
        p.drawPixmap(l.stateImage.topLeft(), look.stateImage);
    if (!look.image.isNull())
        p.drawPixmap(l.image.topLeft(), look.image);
    if (look.labelFill.isValid())
        p.fillRect(l.label, look.labelFill);
    p.setFont(look.font);
    p.setPen(look.textColor);
    p.drawText(l.label.adjusted(kLabelPadding, 0, -kLabelPadding, 0),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, look.text);
}

} // namespace platform::qt
