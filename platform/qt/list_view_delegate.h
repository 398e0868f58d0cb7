// Draws the cells of a list-view control in every view, and runs the
// editing of row labels with its begin and end notifications.
#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace platform::qt {

class ListViewControl;
struct ListCellLayout;

class ListViewDelegate : public QStyledItemDelegate {
public:
    explicit ListViewDelegate(ListViewControl& control);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Label editing: LVN_ENDLABELEDIT decides whether the edited text
    // becomes the label; a cancelled edit reports no text.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // Ends an open edit as the user's Escape would.
    void cancelEditing();
    // The dotted frame around the focused row's highlight.
    static void drawCaret(QPainter* painter, const QStyleOptionViewItem& option, const QRect& area);

private:
    struct RowLook {
        bool selected = false;
        bool caret = false;
        bool hot = false;
    };
    RowLook lookOf(int row) const;
    bool selectionShown(const RowLook& look) const;
    QRect highlightArea(const QRect& cell, const ListCellLayout& layout, int column) const;
    void paintBackground(QPainter* painter, const QRect& cell, const ListCellLayout& layout) const;
    void paintStateImage(QPainter* painter, const QStyleOptionViewItem& option, const ListCellLayout& layout) const;
    void paintImage(QPainter* painter, const ListCellLayout& layout) const;
    void paintText(QPainter* painter, const QStyleOptionViewItem& option, const ListCellLayout& layout, const RowLook& look,
                   bool onHighlight) const;
    bool underlined(const RowLook& look) const;

    ListViewControl& m_control;
    // The one label being edited.  Mutable: the toolkit's editor hooks are
    // const, yet the edit's course (committed or not) must be remembered.
    struct Edit {
        QPointer<QWidget> editor;
        int row = -1;
        bool committed = false;
    };
    mutable Edit m_edit;
};

} // namespace platform::qt
