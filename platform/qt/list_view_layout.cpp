#include "platform/qt/list_view_layout.h"

#include "platform/qt/qt_text.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace platform::qt {
namespace {

constexpr int kDefaultIndentStep = 16; // without a small image list

int labelLeft(int x, int available, int width, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return x + available - width;
    if (alignment & Qt::AlignHCenter)
        return x + (available - width) / 2;
    return x;
}

ListCellParts placeInRow(const QRect& cell, const ListCellMeasure& m)
{
    ListCellParts parts;
    int x = cell.left() + m.indent;
    auto centred = [&](QSize s) { return QRect(QPoint(x, cell.top() + (cell.height() - s.height()) / 2), s); };
    if (!m.stateSlot.isEmpty()) {
        parts.stateIcon = centred(m.stateSlot);
        x += m.stateSlot.width();
    }
    if (!m.imageSlot.isEmpty()) {
        parts.icon = centred(m.imageSlot);
        x += m.imageSlot.width();
    }
    if (!m.stateSlot.isEmpty() || !m.imageSlot.isEmpty())
        x += kIconGap;
    int available = std::max(0, cell.right() + 1 - x);
    int width = std::min(m.textSize.width() + 2 * kLabelMargin, available);
    parts.label = QRect(labelLeft(x, available, width, m.alignment), cell.top(), width, cell.height());
    return parts;
}

// The state icon and the icon side by side, centred over the label.
ListCellParts placeAsIcon(const QRect& cell, const ListCellMeasure& m)
{
    ListCellParts parts;
    int groupWidth = m.stateSlot.width() + m.imageSlot.width();
    int groupHeight = std::max(m.stateSlot.height(), m.imageSlot.height());
    int x = cell.left() + (cell.width() - groupWidth) / 2;
    int top = cell.top() + kIconGap;
    if (!m.stateSlot.isEmpty())
        parts.stateIcon = QRect(QPoint(x, top + groupHeight - m.stateSlot.height()), m.stateSlot);
    if (!m.imageSlot.isEmpty())
        parts.icon = QRect(QPoint(x + m.stateSlot.width(), top), m.imageSlot);
    int labelTop = groupHeight > 0 ? top + groupHeight + kIconGap : top;
    int width = std::min(m.textSize.width() + 2 * kLabelMargin, cell.width());
    parts.label = QRect(cell.left() + (cell.width() - width) / 2, labelTop, width, m.textSize.height());
    return parts;
}

} // namespace

ListCellParts placeCellParts(const QRect& cell, const ListCellMeasure& measure, ListArrangement arrangement)
{
    ListCellParts parts = arrangement == ListArrangement::Icon ? placeAsIcon(cell, measure) : placeInRow(cell, measure);
    parts.stateIcon = parts.stateIcon.intersected(cell);
    parts.icon = parts.icon.intersected(cell);
    parts.label = parts.label.intersected(cell);
    return parts;
}

QSize cellExtent(const ListCellMeasure& m, ListArrangement arrangement)
{
    int labelWidth = m.textSize.width() + 2 * kLabelMargin;
    if (arrangement == ListArrangement::Icon) {
        int groupWidth = m.stateSlot.width() + m.imageSlot.width();
        int groupHeight = std::max(m.stateSlot.height(), m.imageSlot.height());
        int height = kIconGap + (groupHeight > 0 ? groupHeight + kIconGap : 0) + m.textSize.height() + kIconGap;
        return {std::max(groupWidth, labelWidth), height};
    }
    bool icons = !m.stateSlot.isEmpty() || !m.imageSlot.isEmpty();
    int width = m.indent + m.stateSlot.width() + m.imageSlot.width() + (icons ? kIconGap : 0) + labelWidth;
    int height = std::max({m.textSize.height() + 2, m.stateSlot.height() + 1, m.imageSlot.height() + 1});
    return {width, height};
}

ListArrangement ListCellLayouter::arrangement() const
{
    return m_settings.view() == LVS_ICON ? ListArrangement::Icon : ListArrangement::Row;
}

QSize ListCellLayouter::stateSlot() const
{
    if (m_settings.has(LVS_EX_CHECKBOXES))
        return kCheckBoxSlot;
    Size s = ImageListImageSize(m_settings.stateImages);
    return {s.cx, s.cy};
}

QSize ListCellLayouter::imageSlot(int row, int column) const
{
    Size s = ImageListImageSize(m_settings.viewImages());
    if (column == 0)
        return {s.cx, s.cy}; // reserved even for rows without an image, so labels line up
    bool subItemImage = m_settings.report() && m_settings.has(LVS_EX_SUBITEMIMAGES) && m_model.cellImage(row, column) >= 0;
    return subItemImage ? QSize(s.cx, s.cy) : QSize();
}

ListCellMeasure ListCellLayouter::measure(int row, int column, const QString& text, const QFont& font) const
{
    ListCellMeasure m;
    if (column == 0) {
        m.stateSlot = stateSlot();
        if (m_settings.report()) {
            int step = ImageListImageSize(m_settings.smallImages).cx;
            m.indent = m_model.row(row).indent * (step > 0 ? step : kDefaultIndentStep);
        }
    }
    m.imageSlot = imageSlot(row, column);
    QFontMetrics metrics(font);
    if (arrangement() == ListArrangement::Icon && !(m_settings.style & LVS_NOLABELWRAP)) {
        QRect wrapped(0, 0, kIconLabelWidth - 2 * kLabelMargin, 1 << 20);
        m.textSize = metrics.boundingRect(wrapped, Qt::TextWordWrap | Qt::AlignHCenter, text).size();
    } else {
        int width = int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
        m.textSize = QSize(width, metrics.height());
    }
    if (arrangement() == ListArrangement::Icon)
        m.alignment = Qt::AlignHCenter;
    else if (m_settings.report() && m_model.hasColumn(column))
        m.alignment = alignmentForFormat(m_model.column(column).format);
    return m;
}

ListCellLayout ListCellLayouter::layout(const QRect& cell, int row, int column, const QFont& font) const
{
    ListCellLayout out;
    out.text = fromGbk(m_model.cellText(row, column));
    out.image = m_model.cellImage(row, column);
    out.stateSlot = column == 0 ? m_model.row(row).stateImage : 0;
    out.parts = placeCellParts(cell, measure(row, column, out.text, font), arrangement());
    return out;
}

QSize ListCellLayouter::itemSize(int row, const QFont& font) const
{
    QString text = fromGbk(m_model.cellText(row, 0));
    QSize extent = cellExtent(measure(row, 0, text, font), arrangement());
    if (arrangement() == ListArrangement::Icon && !(m_settings.style & LVS_NOLABELWRAP))
        extent.setWidth(std::max(extent.width(), kIconLabelWidth)); // a regular grid, as icon spacing gives
    return extent;
}

int ListCellLayouter::rowHeight(const QFont& font) const
{
    Size image = ImageListImageSize(m_settings.smallImages);
    return std::max({QFontMetrics(font).height() + 2, stateSlot().height() + 1, image.cy + 1});
}

} // namespace platform::qt
