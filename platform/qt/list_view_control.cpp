#include "platform/qt/list_view_control.h"

#include "platform/icon.h"
#include "platform/qt/handle_images.h"
#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/list_view_delegate.h"
#include "platform/qt/list_view_icons.h"
#include "platform/qt/list_view_input.h"
#include "platform/qt/list_view_notify.h"
#include "platform/qt/list_view_report.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QMouseEvent>

#include <cassert>
#include <utility>

namespace platform::qt {
namespace {

// The settings behind LVSIL_NORMAL, LVSIL_SMALL and LVSIL_STATE.
constexpr ImageList ListViewSettings::*kImageLists[] = {
    &ListViewSettings::normalImages,
    &ListViewSettings::smallImages,
    &ListViewSettings::stateImages,
};

bool isImageListSlot(int which)
{
    return which >= 0 && which < int(std::size(kImageLists));
}

} // namespace

ListViewControl::ListViewControl(QWidget* parent, std::uint32_t style, std::uint32_t exStyle)
    : QFrame(parent),
      m_model(new ListViewModel(this)),
      m_states(new ListViewStates(*m_model, *this)),
      m_layouter(*m_model, m_settings),
      m_delegate(new ListViewDelegate(*this)),
      m_input(new ListViewInput(*this))
{
    setFont(qfontFor(Font::Null)); // the default GUI font until WM_SETFONT
    applyWindowStyles(style, exStyle);
}

ListViewControl::~ListViewControl() = default;

Hwnd ListViewControl::handle() const
{
    return Registry::windowOf(this);
}

bool ListViewControl::isAlive() const
{
    return IsWindow(handle());
}

QAbstractItemView* ListViewControl::view() const
{
    assert(m_pane);
    return m_pane->itemView();
}

void ListViewControl::fitView() const
{
    // Done on demand as well as on resizing: a hidden control is resized
    // without resize events, yet its geometry is asked for.
    if (m_pane && view()->geometry() != contentsRect())
        view()->setGeometry(contentsRect());
}

void ListViewControl::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitView();
}

void ListViewControl::applyWindowStyles(std::uint32_t style, std::uint32_t exStyle)
{
    applyBorderStyles(this, style, exStyle);
    fitView();
    bool newView = !m_pane || (style & LVS_TYPEMASK) != m_settings.view();
    m_settings.style = style;
    m_states->setSingleSelection(style & LVS_SINGLESEL);
    m_model->setLabelsEditable(style & LVS_EDITLABELS);
    if (newView)
        createView(style & LVS_TYPEMASK);
    else
        settingsChanged();
}

void ListViewControl::createView(std::uint32_t viewType)
{
    bool hadFocus = m_pane && view()->hasFocus();
    if (m_pane) {
        retireView();
        if (!isAlive())
            return;
    }
    ListViewPane* pane = viewType == LVS_REPORT ? static_cast<ListViewPane*>(new ListReportView(*this))
                                                : static_cast<ListViewPane*>(new ListIconView(*this));
    QAbstractItemView* shown = pane->itemView();
    shown->setFrameShape(QFrame::NoFrame); // the control draws the border
    shown->setModel(m_model);
    // Rows, selection and focus stay with the control when the view changes.
    shown->setSelectionModel(m_states->selection());
    shown->setItemDelegate(m_delegate);
    m_pane = pane;
    fitView();
    shown->show();
    setFocusProxy(shown);
    m_input->attach(shown);
    pane->syncColumns(*m_model);
    pane->applySettings(m_settings);
    if (hadFocus)
        shown->setFocus(Qt::OtherFocusReason);
    if (int focused = m_states->focusedRow(); focused >= 0)
        shown->scrollTo(m_model->index(focused, 0));
}

void ListViewControl::retireView()
{
    // An open label edit ends as cancelled; its notification may be the
    // parent's occasion to destroy the control.
    m_delegate->cancelEditing();
    QAbstractItemView* old = view();
    old->hide();
    // The old view may be the one delivering the event that got us here.
    old->deleteLater();
    m_pane = nullptr;
}

void ListViewControl::settingsChanged()
{
    m_pane->applySettings(m_settings);
    m_input->settingsChanged();
    update();
}

std::uint32_t ListViewControl::setExtendedStyle(std::uint32_t mask, std::uint32_t style)
{
    std::uint32_t previous = m_settings.exStyle;
    std::uint32_t affected = mask == 0 ? ~std::uint32_t(0) : mask;
    m_settings.exStyle = (previous & ~affected) | (style & affected);
    // Check boxes show on every row: an empty box where there was no state image.
    if (!(previous & LVS_EX_CHECKBOXES) && (m_settings.exStyle & LVS_EX_CHECKBOXES))
        m_model->fillEmptyStateImages(1);
    settingsChanged();
    return previous;
}

ColorRef ListViewControl::setColor(ColorRef ListViewSettings::*which, ColorRef color)
{
    ColorRef previous = std::exchange(m_settings.*which, color);
    settingsChanged();
    return previous;
}

ImageList ListViewControl::setImageList(int which, ImageList images)
{
    if (!isImageListSlot(which))
        return ImageList::Null;
    ImageList previous = std::exchange(m_settings.*kImageLists[which], images);
    settingsChanged();
    return previous;
}

ImageList ListViewControl::imageList(int which) const
{
    return isImageListSlot(which) ? m_settings.*kImageLists[which] : ImageList::Null;
}

ImageList ListViewControl::setHeaderImages(ImageList images, ColorRef background)
{
    ImageList previous = std::exchange(m_settings.headerImages, images);
    m_settings.headerImageBk = background;
    settingsChanged();
    return previous;
}

Cursor ListViewControl::setHotCursor(Cursor cursor)
{
    Cursor previous = std::exchange(m_hotCursor, cursor);
    m_input->setHotCursor(qcursorFor(cursor));
    return previous;
}

void ListViewControl::setListFont(const QFont& font)
{
    setFont(font);
    settingsChanged();
}

void ListViewControl::insertColumn(int position, ListColumn column)
{
    m_states->acrossColumnChange([&] { m_model->insertColumn(position, std::move(column)); });
    m_pane->syncColumns(*m_model);
}

void ListViewControl::removeColumn(int column)
{
    m_states->acrossColumnChange([&] { m_model->removeColumn(column); });
    m_pane->syncColumns(*m_model);
}

void ListViewControl::changeColumn(int column, ListColumn changed)
{
    m_model->setColumn(column, std::move(changed));
    m_pane->syncColumns(*m_model);
}

void ListViewControl::columnClicked(int column)
{
    NmListView notice = rowNotice(-1, column);
    notifyListParent(this, LVN_COLUMNCLICK, notice.hdr);
}

QPoint ListViewControl::clientFromViewport(QPoint viewportPoint) const
{
    return view()->viewport()->mapTo(this, viewportPoint);
}

QRect ListViewControl::cellRect(int row, int column) const
{
    return view()->visualRect(m_model->index(row, column));
}

ListCellLayout ListViewControl::cellLayout(const QRect& cell, int row, int column) const
{
    return m_layouter.layout(cell, row, column, view()->font());
}

ListHitTestInfo ListViewControl::hitTest(QPoint client) const
{
    fitView();
    QWidget* viewport = view()->viewport();
    QPoint at = viewport->mapFrom(this, client);
    if (!viewport->rect().contains(at))
        return {}; // the border, the header, a scroll bar
    QModelIndex index = view()->indexAt(at);
    if (!index.isValid())
        return {};
    ListCellParts parts = cellLayout(cellRect(index.row(), index.column()), index.row(), index.column()).parts;
    std::uint32_t flags = 0;
    if (parts.stateIcon.contains(at))
        flags = LVHT_ONITEMSTATEICON;
    else if (parts.icon.contains(at))
        flags = LVHT_ONITEMICON;
    else if (parts.label.contains(at) || m_settings.fullRowSelect())
        flags = LVHT_ONITEMLABEL;
    if (!flags)
        return {};
    return {.item = index.row(), .subItem = index.column(), .flags = flags};
}

QRect ListViewControl::subItemRect(int row, int column) const
{
    bool exists = m_settings.report() ? m_model->hasColumn(column) : column == 0;
    if (!m_model->hasRow(row) || !exists)
        return {};
    fitView();
    QRect cell = cellRect(row, column);
    return QRect(clientFromViewport(cell.topLeft()), cell.size());
}

int ListViewControl::topRow() const
{
    fitView();
    return m_pane->topRow();
}

void ListViewControl::ensureVisible(int row)
{
    fitView();
    view()->scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
}

bool ListViewControl::showsFocus() const
{
    return m_pane && view()->hasFocus();
}

int ListViewControl::hotRow() const
{
    return m_input->hotRow();
}

bool ListViewControl::mayEditLabel(const QModelIndex& index, int trigger, const QEvent* event) const
{
    // A click on the selected row edits only when it hits the label, not
    // the icons beside it.
    if (trigger != QAbstractItemView::SelectedClicked || !event)
        return true;
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonPress)
        return true;
    QPoint at = static_cast<const QMouseEvent*>(event)->position().toPoint();
    ListHitTestInfo hit = hitTest(clientFromViewport(at));
    return hit.item == index.row() && hit.subItem == 0 && (hit.flags & LVHT_ONITEMLABEL);
}

bool ListViewControl::beginLabelEdit(int row)
{
    std::string label(m_model->cellText(row, 0));
    NmLvDispInfo info{.hdr = {}, .item = row, .text = label.c_str()};
    ListNotifyResult answer = notifyListParent(this, LVN_BEGINLABELEDIT, info.hdr);
    return answer.alive && answer.answer == 0 && m_model->hasRow(row);
}

} // namespace platform::qt
