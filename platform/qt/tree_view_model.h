// The tree-view control's items as a Qt item model, so that QTreeView can
// lay them out, scroll them and keep the caret.  The model owns the items;
// the view reads them through it and the control changes them only through
// it, so that the view hears of every change.
#pragma once

#include "platform/qt/tree_view_items.h"

#include <QAbstractItemModel>

namespace platform::qt {

class TreeViewModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    const TreeItems& items() const { return m_items; }

    TreeSlot append(TreeSlot parent, TreeItemData data);
    void clear();
    // Changes an item's data and repaints it.
    template <typename Change>
    void change(TreeSlot slot, Change&& apply)
    {
        apply(m_items.data(slot));
        QModelIndex index = indexOf(slot);
        emit dataChanged(index, index);
    }

    QModelIndex indexOf(TreeSlot slot) const;
    std::optional<TreeSlot> slotAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TreeSlot slotOrRoot(const QModelIndex& index) const;

    TreeItems m_items;
};

} // namespace platform::qt
