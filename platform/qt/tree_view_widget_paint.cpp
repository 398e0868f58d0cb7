// The tree-view widget's geometry and painting: every position comes from
// layoutOf(), which hands the row's facts to layoutRow().

#include "platform/qt/tree_view_widget.h"

#include "platform/gdi.h"
#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/image_list_pixmaps.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/tree_view_model.h"

#include <QPainter>

#include <algorithm>

namespace platform::qt {
namespace {

const QColor kHighlight(0, 120, 215);
const QColor kHighlightText(255, 255, 255);

// Room above and below the text of a row.
constexpr int kRowTextMargin = 3;
// The label editor is a little wider than the label, room to type.
constexpr int kEditorSlack = 16;

QColor systemColor(int index)
{
    return toQColor(GetSysColor(index));
}

QSize sizeOf(Size s)
{
    return {s.cx, s.cy};
}

// TVHT_ABOVE / BELOW / TOLEFT / TORIGHT for a point outside the client area.
std::uint32_t outsideFlags(Point p, const QSize& client)
{
    const struct {
        bool outside;
        std::uint32_t flag;
    } sides[] = {
        {p.x < 0, TVHT_TOLEFT},
        {p.x >= client.width(), TVHT_TORIGHT},
        {p.y < 0, TVHT_ABOVE},
        {p.y >= client.height(), TVHT_BELOW},
    };
    std::uint32_t flags = 0;
    for (const auto& side : sides)
        if (side.outside)
            flags |= side.flag;
    return flags;
}

} // namespace

int TreeViewWidget::defaultItemHeight() const
{
    return std::max(QFontMetrics(font()).height() + kRowTextMargin, ImageListImageSize(m_normalList).cy);
}

void TreeViewWidget::relayoutRows()
{
    // With uniform row heights QTreeView takes the height once per layout.
    doItemsLayout();
    viewport()->update();
}

QFont TreeViewWidget::labelFont(const TreeItemData& data) const
{
    QFont f = font();
    if (data.bold)
        f.setBold(true);
    return f;
}

QColor TreeViewWidget::backgroundColor() const
{
    return colorOrSystem(m_bkColor, systemColor(COLOR_WINDOW));
}

RowLayout TreeViewWidget::layoutOf(TreeSlot slot, int top) const
{
    const TreeItemData& d = items().data(slot);
    const bool showsState = d.stateSlot > 0 && IsImageList(m_stateList);
    return layoutRow({
        .left = columnViewportPosition(0),
        .top = top,
        .height = itemHeight(),
        .indentColumns = items().depth(slot) + (rootIsDecorated() ? 1 : 0),
        .indentation = indentation(),
        .button = showsButton(slot),
        .stateImage = showsState ? sizeOf(ImageListImageSize(m_stateList)) : QSize(),
        .image = sizeOf(ImageListImageSize(m_normalList)),
        .textWidth = QFontMetrics(labelFont(d)).horizontalAdvance(fromGbk(d.text)),
    });
}

TreeViewWidget::RowHit TreeViewWidget::hitAt(QPoint p) const
{
    const QModelIndex index = indexAt(QPoint(std::max(0, columnViewportPosition(0)), p.y()));
    std::optional<TreeSlot> slot = m_model->slotAt(index);
    if (!slot)
        return {};
    return {.slot = slot, .flags = hitRegion(layoutOf(*slot, visualRect(index).top()), p.x())};
}

TreeHitTestInfo TreeViewWidget::hitTest(Point client) const
{
    if (std::uint32_t outside = outsideFlags(client, size()))
        return {.flags = outside};
    const QPoint p = viewport()->mapFrom(this, QPoint(client.x, client.y));
    if (!viewport()->rect().contains(p))
        return {}; // the frame or a scroll bar
    const RowHit hit = hitAt(p);
    return {.item = items().handleOf(hit.slot), .flags = hit.flags};
}

Rect TreeViewWidget::itemRect(TreeItem item, bool textOnly) const
{
    std::optional<TreeSlot> slot = slotOf(item);
    if (!slot)
        return {};
    // Empty for an item under a collapsed parent.
    const QRect row = visualRect(m_model->indexOf(*slot));
    if (row.isEmpty())
        return {};
    QRect r = textOnly ? layoutOf(*slot, row.top()).label : QRect(0, row.top(), viewport()->width(), row.height());
    r.translate(viewport()->mapTo(this, QPoint(0, 0)));
    return Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

QRect TreeViewWidget::labelEditorRect(const QModelIndex& index) const
{
    std::optional<TreeSlot> slot = m_model->slotAt(index);
    if (!slot)
        return {};
    const QRect label = layoutOf(*slot, visualRect(index).top()).label;
    const int room = viewport()->width() - label.left();
    return {label.left(), label.top(), std::max(label.width(), std::min(label.width() + kEditorSlack, room)),
            label.height()};
}

std::vector<bool> TreeViewWidget::linesThrough(TreeSlot slot) const
{
    // Column c of the indentation belongs to the ancestor at depth c, or
    // c + 1 when the top level has no column of its own.
    const int firstDepth = rootIsDecorated() ? 0 : 1;
    std::vector<bool> through(std::size_t(std::max(0, items().depth(slot) - firstDepth)), false);
    for (TreeSlot a = items().parent(slot); a != TreeItems::kRoot; a = items().parent(a)) {
        const int column = items().depth(a) - firstDepth;
        if (column >= 0 && std::size_t(column) < through.size())
            through[std::size_t(column)] = items().nextSibling(a).has_value();
    }
    return through;
}

RowLook TreeViewWidget::lookOf(TreeSlot slot) const
{
    const TreeItemData& d = items().data(slot);
    const bool selected = slot == selectedSlot();
    QColor text = isEnabled() ? colorOrSystem(m_textColor, systemColor(COLOR_WINDOWTEXT)) : systemColor(COLOR_GRAYTEXT);
    QColor fill;
    if (selected && hasFocus()) {
        fill = kHighlight;
        text = kHighlightText;
    } else if (selected && (m_style & TVS_SHOWSELALWAYS)) {
        fill = systemColor(COLOR_BTNFACE);
    }
    return {
        .stateImage = d.stateSlot > 0 ? imageListPixmap(m_stateList, d.stateSlot) : QPixmap(),
        .image = imageListPixmap(m_normalList, selected ? d.selectedImage : d.image),
        .text = fromGbk(d.text),
        .font = labelFont(d),
        .textColor = text,
        .labelFill = fill,
    };
}

void TreeViewWidget::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    std::optional<TreeSlot> slot = m_model->slotAt(index);
    if (!slot)
        return;
    const RowLayout layout = layoutOf(*slot, option.rect.top());
    drawBranches(painter, layout.indent, index);
    paintRowContents(*painter, layout, lookOf(*slot));
}

void TreeViewWidget::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    std::optional<TreeSlot> slot = m_model->slotAt(index);
    if (!slot)
        return;
    const RowLayout layout = layoutOf(*slot, rect.top());
    paintBranches(*painter, {
        .layout = &layout,
        .indentation = indentation(),
        .linesThrough = linesThrough(*slot),
        .lines = (m_style & TVS_HASLINES) != 0,
        .lineAbove = items().depth(*slot) > 0 || items().position(*slot) > 0,
        .lineBelow = items().nextSibling(*slot).has_value(),
        .expanded = items().data(*slot).expanded,
        .background = backgroundColor(),
        .dotPhase = verticalOffset() & 1,
    });
}

} // namespace platform::qt
