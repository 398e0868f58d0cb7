#include "platform/qt/tree_view_delegate.h"

#include "platform/qt/tree_view_widget.h"

#include <QLineEdit>

namespace platform::qt {

TreeViewDelegate::TreeViewDelegate(TreeViewWidget& tree) : QStyledItemDelegate(&tree), m_tree(tree) {}

QSize TreeViewDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    // Every row has the control's item height; the width is the column's.
    return {1, m_tree.itemHeight()};
}

QWidget* TreeViewDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    // A frameless line edit fits in a row of the font's height.
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    return editor;
}

void TreeViewDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const
{
    editor->setGeometry(m_tree.labelEditorRect(index));
}

} // namespace platform::qt
