#include "platform/qt/tree_view_model.h"

#include "platform/qt/qt_text.h"

#include <cassert>

namespace platform::qt {

TreeSlot TreeViewModel::append(TreeSlot parent, TreeItemData data)
{
    const QModelIndex parentIndex = parent == TreeItems::kRoot ? QModelIndex() : indexOf(parent);
    const int row = m_items.childCount(parent);
    beginInsertRows(parentIndex, row, row);
    TreeSlot slot = m_items.append(parent, std::move(data));
    endInsertRows();
    return slot;
}

void TreeViewModel::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

QModelIndex TreeViewModel::indexOf(TreeSlot slot) const
{
    return createIndex(m_items.position(slot), 0, quintptr(slot));
}

std::optional<TreeSlot> TreeViewModel::slotAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return std::nullopt;
    // The view holds no index across a reset, so every index names an item.
    assert(index.internalId() < quintptr(m_items.count()));
    return TreeSlot(index.internalId());
}

TreeSlot TreeViewModel::slotOrRoot(const QModelIndex& index) const
{
    return slotAt(index).value_or(TreeItems::kRoot);
}

QModelIndex TreeViewModel::index(int row, int column, const QModelIndex& parent) const
{
    const TreeSlot p = slotOrRoot(parent);
    if (column != 0 || row < 0 || row >= m_items.childCount(p))
        return {};
    return createIndex(row, 0, quintptr(m_items.child(p, row)));
}

QModelIndex TreeViewModel::parent(const QModelIndex& child) const
{
    std::optional<TreeSlot> slot = slotAt(child);
    if (!slot || m_items.parent(*slot) == TreeItems::kRoot)
        return {};
    return indexOf(m_items.parent(*slot));
}

int TreeViewModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return m_items.childCount(slotOrRoot(parent));
}

int TreeViewModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TreeViewModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant TreeViewModel::data(const QModelIndex& index, int role) const
{
    std::optional<TreeSlot> slot = slotAt(index);
    if (!slot || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return fromGbk(m_items.data(*slot).text);
}

Qt::ItemFlags TreeViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Editable always: whether labels may be edited is the view's edit
    // triggers, which follow TVS_EDITLABELS.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace platform::qt
