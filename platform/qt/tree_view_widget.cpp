#include "platform/qt/tree_view_widget.h"

#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/registry.h"
#include "platform/qt/tree_view_delegate.h"
#include "platform/qt/tree_view_item_fields.h"
#include "platform/qt/tree_view_model.h"
#include "platform/qt/tree_view_notify.h"

#include <QHeaderView>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace platform::qt {
namespace {

// The classic control's indentation step.
constexpr int kIndentation = 19;

} // namespace

TreeViewWidget::TreeViewWidget(QWidget* parent) : QTreeView(parent), m_model(new TreeViewModel(this))
{
    setModel(m_model);
    setItemDelegate(new TreeViewDelegate(*this));
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setUniformRowHeights(true);
    setIndentation(kIndentation);
    // Expansion is the control's own, so that the parent can refuse it.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setAnimated(false);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    // A control's font is its own (WM_SETFONT), not its parent's.
    setFont(qfontFor(Font::Null));
    setBkColor(CLR_DEFAULT);
    applyStyles(0, 0);
}

Hwnd TreeViewWidget::handle() const
{
    if (m_hwnd == Hwnd::Null) {
        Hwnd h = Registry::windowOf(this);
        if (WindowRecord* r = findWindow(h); r && r->widget == this)
            m_hwnd = h;
    }
    return m_hwnd;
}

bool TreeViewWidget::alive() const
{
    return IsWindow(handle());
}

// ---- settings ----

void TreeViewWidget::applyStyles(std::uint32_t style, std::uint32_t exStyle)
{
    m_style = style;
    setRootIsDecorated(style & TVS_LINESATROOT);
    setEditTriggers((style & TVS_EDITLABELS) ? EditTriggers(SelectedClicked | EditKeyPressed) : NoEditTriggers);
    applyBorderStyles(this, style, exStyle);
    viewport()->update();
}

void TreeViewWidget::setLabelFont(const QFont& font)
{
    setFont(font);
    relayoutRows();
}

ImageList TreeViewWidget::setImageList(int which, ImageList list)
{
    ImageList* target = which == TVSIL_NORMAL ? &m_normalList : which == TVSIL_STATE ? &m_stateList : nullptr;
    if (!target)
        return ImageList::Null;
    ImageList previous = std::exchange(*target, list);
    relayoutRows();
    return previous;
}

ImageList TreeViewWidget::imageList(int which) const
{
    return which == TVSIL_NORMAL ? m_normalList : which == TVSIL_STATE ? m_stateList : ImageList::Null;
}

int TreeViewWidget::setItemHeight(int height)
{
    const int previous = itemHeight();
    m_explicitHeight = height == -1 ? 0 : std::max(1, height);
    relayoutRows();
    return previous;
}

int TreeViewWidget::itemHeight() const
{
    return m_explicitHeight > 0 ? m_explicitHeight : defaultItemHeight();
}

ColorRef TreeViewWidget::setTextColor(ColorRef color)
{
    ColorRef previous = std::exchange(m_textColor, color);
    viewport()->update();
    return previous;
}

ColorRef TreeViewWidget::setBkColor(ColorRef color)
{
    ColorRef previous = std::exchange(m_bkColor, color);
    // The viewport fills itself with the Base colour before rows are drawn.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, backgroundColor());
    setPalette(pal);
    viewport()->update();
    return previous;
}

// ---- items ----

const TreeItems& TreeViewWidget::items() const
{
    return m_model->items();
}

std::optional<TreeSlot> TreeViewWidget::slotOf(TreeItem item) const
{
    return items().slotOf(item);
}

std::optional<TreeSlot> TreeViewWidget::selectedSlot() const
{
    return m_model->slotAt(currentIndex());
}

bool TreeViewWidget::hasChildren(TreeSlot slot) const
{
    return items().childCount(slot) > 0;
}

bool TreeViewWidget::showsButton(TreeSlot slot) const
{
    return (m_style & TVS_HASBUTTONS) && hasChildren(slot);
}

TreeItem TreeViewWidget::insertItem(TreeItem parent, const TreeViewItem& item)
{
    TreeSlot parentSlot = TreeItems::kRoot;
    if (parent != TreeItem::Null) {
        std::optional<TreeSlot> found = slotOf(parent);
        if (!found)
            return TreeItem::Null;
        parentSlot = *found;
    }
    TreeItemData data;
    applyItemFields(data, item);
    const bool expanded = std::exchange(data.expanded, false);
    const TreeSlot slot = m_model->append(parentSlot, std::move(data));
    if (expanded)
        setExpandedQuietly(slot, true);
    return items().handleOf(slot);
}

void TreeViewWidget::deleteAllItems()
{
    cancelLabelEdit();
    if (alive())
        m_model->clear();
}

bool TreeViewWidget::getItem(TreeViewItem& item) const
{
    std::optional<TreeSlot> slot = slotOf(item.item);
    if (!slot)
        return false;
    readItemFields(item, items().data(*slot), slot == selectedSlot());
    return true;
}

bool TreeViewWidget::setItem(const TreeViewItem& item)
{
    std::optional<TreeSlot> slot = slotOf(item.item);
    if (!slot)
        return false;
    TreeItemData changed = items().data(*slot);
    applyItemFields(changed, item);
    const bool expanded = changed.expanded;
    changed.expanded = items().data(*slot).expanded;
    m_model->change(*slot, [&](TreeItemData& d) { d = std::move(changed); });
    setExpandedQuietly(*slot, expanded);
    return true;
}

// ---- selection and expansion ----

TreeItem TreeViewWidget::selection() const
{
    return items().handleOf(selectedSlot());
}

bool TreeViewWidget::selectItem(TreeItem item)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_UNKNOWN);
    if (item == TreeItem::Null) {
        selectSlot(std::nullopt);
        return true;
    }
    std::optional<TreeSlot> slot = slotOf(item);
    if (!slot)
        return false;
    revealAncestors(*slot);
    selectSlot(*slot);
    if (alive() && (slot = slotOf(item)))
        scrollTo(m_model->indexOf(*slot));
    return true;
}

bool TreeViewWidget::expand(TreeItem item, std::uint32_t action)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_UNKNOWN);
    std::optional<TreeSlot> slot = slotOf(item);
    if (!slot || action < TVE_COLLAPSE || action > TVE_TOGGLE)
        return false;
    const bool expanded = items().data(*slot).expanded;
    return changeExpansion(*slot, action == TVE_TOGGLE ? !expanded : action == TVE_EXPAND);
}

bool TreeViewWidget::changeExpansion(TreeSlot slot, bool expand)
{
    auto isChange = [&](TreeSlot s) { return hasChildren(s) && items().data(s).expanded != expand; };
    if (!isChange(slot))
        return false;
    const TreeItem item = items().handleOf(slot);
    std::optional<LResult> refused = notifyItemExpanding(handle(), item, expand ? TVE_EXPAND : TVE_COLLAPSE);
    if (!refused || *refused)
        return false;
    // The handler may have changed the items or expanded the item itself.
    std::optional<TreeSlot> again = slotOf(item);
    if (!again || !isChange(*again))
        return false;
    setExpandedQuietly(*again, expand);
    // A caret hidden under a collapsed item moves up to it.
    std::optional<TreeSlot> selected = selectedSlot();
    if (!expand && selected && items().isDescendant(*selected, *again))
        selectSlot(*again);
    return true;
}

void TreeViewWidget::setExpandedQuietly(TreeSlot slot, bool expanded)
{
    if (items().data(slot).expanded != expanded)
        m_model->change(slot, [&](TreeItemData& d) { d.expanded = expanded; });
    const QModelIndex index = m_model->indexOf(slot);
    if (isExpanded(index) != expanded)
        setExpanded(index, expanded);
}

void TreeViewWidget::revealAncestors(TreeSlot slot)
{
    for (TreeSlot s = items().parent(slot); s != TreeItems::kRoot; s = items().parent(s))
        setExpandedQuietly(s, true);
}

void TreeViewWidget::selectSlot(std::optional<TreeSlot> slot)
{
    if (slot)
        selectionModel()->setCurrentIndex(m_model->indexOf(*slot), selectionCommand(m_model->indexOf(*slot), nullptr));
    else
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
}

void TreeViewWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    const TreeItem before = items().handleOf(m_model->slotAt(previous));
    const TreeItem after = items().handleOf(m_model->slotAt(current));
    if (before != after && alive())
        notifySelectionChanged(handle(), m_cause, before, after);
}

QItemSelectionModel::SelectionFlags TreeViewWidget::selectionCommand(const QModelIndex& index, const QEvent*) const
{
    // One selected item, the caret, whatever modifiers the input carried.
    return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::NoUpdate;
}

void TreeViewWidget::advanceStateImage(TreeSlot slot)
{
    // Slot k shows image k of the state list; image 0 stands for "none",
    // so the cycle runs 1 .. the last image (at most the 4 bits of state).
    const int last = std::min(ImageListCount(m_stateList) - 1, 15);
    if (last < 1)
        return;
    m_model->change(slot, [&](TreeItemData& d) {
        d.stateSlot = std::uint8_t(d.stateSlot >= last ? 1 : d.stateSlot + 1);
    });
}

} // namespace platform::qt
