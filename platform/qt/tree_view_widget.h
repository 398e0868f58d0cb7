// The tree-view control's widget: a QTreeView over the control's own item
// model, drawing rows in the classic look and doing expansion, selection,
// check boxes and label editing itself so that the parent hears of each
// (and may refuse what can be refused).
//
// The input model puts the program's window procedure between the user and
// the control: Qt's mouse and key events reach this widget only when their
// messages reach DefWindowProc.
#pragma once

#include "platform/image_list.h"
#include "platform/qt/tree_view_items.h"
#include "platform/qt/tree_view_layout.h"
#include "platform/qt/tree_view_painting.h"
#include "platform/tree_view.h"

#include <QTreeView>

#include <optional>

namespace platform::qt {

class TreeViewModel;

class TreeViewWidget : public QTreeView {
public:
    explicit TreeViewWidget(QWidget* parent);
    using QTreeView::edit; // the public slot stays visible beside the override

    // The control's window; Null before the registry has bound it.
    Hwnd handle() const;

    // Settings.
    void applyStyles(std::uint32_t style, std::uint32_t exStyle);
    void setLabelFont(const QFont& font);
    ImageList setImageList(int which, ImageList list);
    ImageList imageList(int which) const;
    int setItemHeight(int height);
    int itemHeight() const;
    ColorRef setTextColor(ColorRef color);
    ColorRef textColor() const { return m_textColor; }
    ColorRef setBkColor(ColorRef color);
    ColorRef bkColor() const { return m_bkColor; }

    // Items.
    const TreeItems& items() const;
    TreeItem insertItem(TreeItem parent, const TreeViewItem& item);
    void deleteAllItems();
    bool getItem(TreeViewItem& item) const;
    bool setItem(const TreeViewItem& item);

    // Selection and expansion.
    TreeItem selection() const;
    bool selectItem(TreeItem item);
    bool expand(TreeItem item, std::uint32_t action);

    // Geometry in client coordinates (the widget's own, frame included).
    TreeHitTestInfo hitTest(Point client) const;
    Rect itemRect(TreeItem item, bool textOnly) const;
    // Where the label editor goes, in viewport coordinates.
    QRect labelEditorRect(const QModelIndex& index) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    struct RowHit {
        std::optional<TreeSlot> slot;
        std::uint32_t flags = TVHT_NOWHERE;
    };

    bool alive() const;
    std::optional<TreeSlot> slotOf(TreeItem item) const;
    std::optional<TreeSlot> selectedSlot() const;
    bool hasChildren(TreeSlot slot) const;
    bool showsButton(TreeSlot slot) const;

    // Geometry and painting (tree_view_widget_paint.cpp).
    RowLayout layoutOf(TreeSlot slot, int top) const;
    RowHit hitAt(QPoint viewportPoint) const;
    RowLook lookOf(TreeSlot slot) const;
    std::vector<bool> linesThrough(TreeSlot slot) const;
    QFont labelFont(const TreeItemData& data) const;
    QColor backgroundColor() const;
    int defaultItemHeight() const;
    void relayoutRows();

    // Expansion and selection.
    bool changeExpansion(TreeSlot slot, bool expand);
    void setExpandedQuietly(TreeSlot slot, bool expanded);
    void revealAncestors(TreeSlot slot);
    void selectSlot(std::optional<TreeSlot> slot);
    void advanceStateImage(TreeSlot slot);

    // Input (tree_view_widget_input.cpp).
    bool handleTreeKey(QKeyEvent* event);
    void expandOrEnterCaret();
    void collapseOrLeaveCaret();
    void expandCaret();
    void collapseCaret();
    void expandCaretSubtree();
    void toggleCaretCheck();
    bool pressOnRow(const RowHit& hit);
    bool isLabelClick(const QEvent* event) const;
    void cancelLabelEdit();

    TreeViewModel* m_model;
    mutable Hwnd m_hwnd = Hwnd::Null;
    std::uint32_t m_style = 0;
    ImageList m_normalList = ImageList::Null;
    ImageList m_stateList = ImageList::Null;
    int m_explicitHeight = 0; // 0: from the font and the images
    ColorRef m_textColor = CLR_DEFAULT;
    ColorRef m_bkColor = CLR_DEFAULT;
    // Why the selection is changing: TVC_* of the input being handled.
    std::uint32_t m_cause = TVC_UNKNOWN;
    // The last left press went on to QTreeView, so its release does too.
    bool m_pressReachedView = false;
    TreeItem m_editing = TreeItem::Null;
};

} // namespace platform::qt
