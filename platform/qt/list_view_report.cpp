#include "platform/qt/list_view_report.h"

#include "platform/qt/list_view_delegate.h"
#include "platform/qt/list_view_header.h"

#include <QPainter>
#include <QScrollBar>

namespace platform::qt {
namespace {

const QColor kGridLine(0xD0, 0xD0, 0xD0);

} // namespace

ListReportView::ListReportView(ListViewControl& control)
    : ListPane<QTreeView>(control), m_header(new ListViewHeader(control.settings(), this))
{
    setHeader(m_header);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(0);
    // One height for all rows: the view then places rows by arithmetic and
    // lays 100,000 of them out without measuring each.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int column) { m_control.columnClicked(column); });
    connect(m_header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_syncing && m_control.model().hasColumn(column))
            m_control.model().setColumnWidth(column, width); // the user dragged a divider
    });
}

void ListReportView::applySettings(const ListViewSettings& settings)
{
    applyCommonSettings(settings);
    m_header->setVisible(!(settings.style & LVS_NOCOLUMNHEADER));
    m_header->setSectionsClickable(!(settings.style & LVS_NOSORTHEADER));
    m_header->setSectionsMovable(settings.has(LVS_EX_HEADERDRAGDROP));
    m_header->setFirstSectionMovable(settings.has(LVS_EX_HEADERDRAGDROP));
    m_header->viewport()->update();
}

void ListReportView::syncColumns(const ListViewModel& model)
{
    // The header reports its own resizing (a section shown again comes
    // back in its old size); here the widths go the other way.
    m_syncing = true;
    for (int i = 0; i < m_header->count(); ++i) {
        // Without any column the view still has its column 0, with no header.
        bool real = model.hasColumn(i);
        m_header->setSectionHidden(i, !real);
        if (real && m_header->sectionSize(i) != model.column(i).width)
            m_header->resizeSection(i, model.column(i).width);
    }
    m_syncing = false;
    m_header->viewport()->update();
}

int ListReportView::topRow()
{
    // Rows scroll one by one, so the scroll position is the first row shown.
    executeDelayedItemsLayout();
    return model() && model()->rowCount() > 0 ? verticalScrollBar()->value() : 0;
}

void ListReportView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Cells in the header's visual order, each drawn whole by the delegate:
    // the style's own row background and selection would fight with the
    // control's colours.
    QStyleOptionViewItem cell = option;
    QRect rowArea;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        int column = m_header->logicalIndex(visual);
        int width = m_header->sectionSize(column);
        if (m_header->isSectionHidden(column) || width <= 0)
            continue;
        cell.rect = QRect(m_header->sectionViewportPosition(column), option.rect.top(), width, option.rect.height());
        if (cell.rect.right() < 0 || cell.rect.left() > viewport()->width())
            continue;
        itemDelegate()->paint(painter, cell, model()->index(index.row(), column));
        rowArea |= cell.rect;
    }
    bool caret = m_control.states().rowState(index.row()) & LVIS_FOCUSED;
    if (caret && m_control.settings().fullRowSelect() && m_control.showsFocus() && !rowArea.isEmpty())
        ListViewDelegate::drawCaret(painter, option, rowArea);
}

void ListReportView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!m_control.settings().has(LVS_EX_GRIDLINES))
        return;
    QPainter painter(viewport());
    paintGridLines(painter);
}

void ListReportView::paintGridLines(QPainter& painter) const
{
    // A line under every row, below the last one too, and one right of
    // every column, down the whole view.
    painter.setPen(kGridLine);
    int height = m_control.layouter().rowHeight(font());
    int top = 0;
    if (model()->rowCount() > 0) {
        QModelIndex first = indexAt(QPoint(0, 0));
        height = rowHeight(model()->index(0, 0));
        if (first.isValid())
            top = visualRect(first).top();
    }
    int right = viewport()->width();
    int bottom = viewport()->height();
    for (int y = top + height - 1; height > 0 && y < bottom; y += height)
        painter.drawLine(0, y, right, y);
    for (int visual = 0; visual < m_header->count(); ++visual) {
        int column = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(column) || m_header->sectionSize(column) <= 0)
            continue;
        int x = m_header->sectionViewportPosition(column) + m_header->sectionSize(column) - 1;
        painter.drawLine(x, 0, x, bottom);
    }
}

} // namespace platform::qt
