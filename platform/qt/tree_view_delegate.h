// The tree-view control's item delegate.  The control paints its rows
// itself; the delegate gives QTreeView the row height and makes the label
// editor, placed over the label rather than across the whole row.
#pragma once

#include <QStyledItemDelegate>

namespace platform::qt {

class TreeViewWidget;

class TreeViewDelegate : public QStyledItemDelegate {
public:
    explicit TreeViewDelegate(TreeViewWidget& tree);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    TreeViewWidget& m_tree;
};

} // namespace platform::qt
