#include "platform/qt/list_view_delegate.h"

#include "platform/gdi.h"
#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/image_list_pixmaps.h"
#include "platform/qt/list_view_control.h"
#include "platform/qt/list_view_notify.h"
#include "platform/qt/qt_text.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace platform::qt {
namespace {

QColor systemColor(int index)
{
    return toQColor(GetSysColor(index));
}

// Draws as much of the pixmap as fits the part it was placed in.
void drawClipped(QPainter* painter, const QRect& part, const QPixmap& pixmap)
{
    if (!pixmap.isNull() && !part.isEmpty())
        painter->drawPixmap(part.topLeft(), pixmap, QRect(QPoint(0, 0), part.size()));
}

} // namespace

ListViewDelegate::ListViewDelegate(ListViewControl& control) : QStyledItemDelegate(&control), m_control(control) {}

ListViewDelegate::RowLook ListViewDelegate::lookOf(int row) const
{
    std::uint32_t state = m_control.states().rowState(row);
    return {.selected = (state & LVIS_SELECTED) != 0,
            .caret = (state & LVIS_FOCUSED) != 0,
            .hot = m_control.hotRow() == row};
}

bool ListViewDelegate::selectionShown(const RowLook& look) const
{
    return look.selected && (m_control.showsFocus() || (m_control.settings().style & LVS_SHOWSELALWAYS));
}

QRect ListViewDelegate::highlightArea(const QRect& cell, const ListCellLayout& layout, int column) const
{
    if (m_control.settings().fullRowSelect())
        return cell;
    return column == 0 ? layout.parts.label : QRect();
}

void ListViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!m_control.model().hasRow(index.row()))
        return;
    ListCellLayout layout = m_control.cellLayout(option.rect, index.row(), index.column());
    RowLook look = lookOf(index.row());
    QRect highlight = highlightArea(option.rect, layout, index.column());
    bool highlighted = selectionShown(look) && !highlight.isEmpty();
    bool focused = m_control.showsFocus();
    painter->save();
    paintBackground(painter, option.rect, layout);
    if (highlighted)
        painter->fillRect(highlight, focused ? option.palette.color(QPalette::Active, QPalette::Highlight)
                                             : systemColor(COLOR_BTNFACE));
    paintStateImage(painter, option, layout);
    paintImage(painter, layout);
    paintText(painter, option, layout, look, highlighted && focused);
    // A full-row caret is drawn by the report view, across the whole row.
    if (look.caret && focused && !m_control.settings().fullRowSelect() && !highlight.isEmpty())
        drawCaret(painter, option, highlight);
    painter->restore();
}

void ListViewDelegate::drawCaret(QPainter* painter, const QStyleOptionViewItem& option, const QRect& area)
{
    QStyleOptionFocusRect focus;
    focus.rect = area;
    focus.state = QStyle::State_KeyboardFocusChange;
    if (option.widget)
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
}

void ListViewDelegate::paintBackground(QPainter* painter, const QRect& cell, const ListCellLayout& layout) const
{
    const ListViewSettings& s = m_control.settings();
    if (s.textBkColor == CLR_NONE)
        return; // the control's background shows through
    // Report rows are filled cell by cell; in the other views only the
    // label has a background, the icons stand on the control's own.
    QRect area = s.report() ? cell : layout.parts.label;
    painter->fillRect(area, colorOrSystem(s.textBkColor, systemColor(COLOR_WINDOW)));
}

void ListViewDelegate::paintStateImage(QPainter* painter, const QStyleOptionViewItem& option, const ListCellLayout& layout) const
{
    const QRect& part = layout.parts.stateIcon;
    if (layout.stateSlot <= 0 || part.isEmpty())
        return;
    const ListViewSettings& s = m_control.settings();
    if (!s.has(LVS_EX_CHECKBOXES)) {
        drawClipped(painter, part, imageListPixmap(s.stateImages, layout.stateSlot - 1));
        return;
    }
    // The control's own two state images: slot 1 an empty box, slot 2 a ticked one.
    QStyleOptionButton box;
    box.rect = QRect(0, 0, kCheckBoxSize, kCheckBoxSize);
    box.rect.moveCenter(part.center());
    box.state = QStyle::State_Enabled | (layout.stateSlot == 2 ? QStyle::State_On : QStyle::State_Off);
    QStyle* style = option.widget ? option.widget->style() : nullptr;
    if (style)
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);
}

void ListViewDelegate::paintImage(QPainter* painter, const ListCellLayout& layout) const
{
    if (layout.image >= 0)
        drawClipped(painter, layout.parts.icon, imageListPixmap(m_control.settings().viewImages(), layout.image));
}

bool ListViewDelegate::underlined(const RowLook& look) const
{
    const ListViewSettings& s = m_control.settings();
    if (!s.has(LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE))
        return false;
    return look.hot ? s.has(LVS_EX_UNDERLINEHOT) : s.has(LVS_EX_UNDERLINECOLD);
}

void ListViewDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& option, const ListCellLayout& layout,
                                 const RowLook& look, bool onHighlight) const
{
    const ListViewSettings& s = m_control.settings();
    QRect area = layout.parts.label.adjusted(kLabelMargin, 0, -kLabelMargin, 0);
    if (layout.text.isEmpty() || area.isEmpty())
        return;
    QFont font = option.font;
    font.setUnderline(underlined(look));
    painter->setFont(font);
    painter->setPen(onHighlight ? option.palette.color(QPalette::Active, QPalette::HighlightedText)
                                : colorOrSystem(s.textColor, systemColor(COLOR_WINDOWTEXT)));
    if (s.view() == LVS_ICON && !(s.style & LVS_NOLABELWRAP)) {
        painter->drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, layout.text);
        return;
    }
    QFontMetrics metrics(font);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(layout.text, Qt::ElideRight, area.width()));
}

QSize ListViewDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!m_control.model().hasRow(index.row()))
        return {};
    const ListCellLayouter& layouter = m_control.layouter();
    QSize item = layouter.itemSize(index.row(), option.font);
    if (m_control.settings().report())
        item.setHeight(layouter.rowHeight(option.font)); // one height for every row
    return item;
}

QWidget* ListViewDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    // The view has asked the parent (LVN_BEGINLABELEDIT) already.
    if (index.column() != 0 || !m_control.model().hasRow(index.row()))
        return nullptr;
    auto* editor = new QLineEdit(parent);
    m_edit = {.editor = editor, .row = index.row(), .committed = false};
    return editor;
}

void ListViewDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = static_cast<QLineEdit*>(editor);
    line->setText(fromGbk(m_control.model().cellText(index.row(), 0)));
    line->selectAll();
}

void ListViewDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (editor != m_edit.editor)
        return;
    m_edit.committed = true;
    std::string text = toGbk(static_cast<QLineEdit*>(editor)->text());
    NmLvDispInfo info{.hdr = {}, .item = index.row(), .text = text.c_str()};
    ListNotifyResult answer = notifyListParent(&m_control, LVN_ENDLABELEDIT, info.hdr);
    ListViewModel& model = m_control.model();
    if (answer.alive && answer.answer != 0 && model.hasRow(index.row()))
        model.setCellText(index.row(), 0, text);
}

void ListViewDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    ListCellLayout layout = m_control.cellLayout(option.rect, index.row(), index.column());
    QRect area = layout.parts.label;
    // Room to type: the rest of the cell, and a line's height at least.
    area.setRight(std::max(area.right(), option.rect.right()));
    area.setHeight(std::max(area.height(), editor->sizeHint().height()));
    editor->setGeometry(area);
}

void ListViewDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == m_edit.editor && !m_edit.committed) {
        int row = index.isValid() ? index.row() : m_edit.row;
        m_edit = {};
        NmLvDispInfo info{.hdr = {}, .item = row, .text = nullptr};
        notifyListParent(&m_control, LVN_ENDLABELEDIT, info.hdr);
    }
    if (editor == m_edit.editor)
        m_edit = {};
    QStyledItemDelegate::destroyEditor(editor, index);
}

void ListViewDelegate::cancelEditing()
{
    if (m_edit.editor)
        emit closeEditor(m_edit.editor, QAbstractItemDelegate::RevertModelCache);
}

} // namespace platform::qt
