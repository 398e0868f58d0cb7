// The tree-view widget's handling of the user's input: what the classic
// control does itself (buttons, check boxes, expansion keys) happens here
// before, or instead of, QTreeView's own handling, and every selection
// change is tagged with the input that caused it.

#include "platform/qt/tree_view_widget.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/tree_view_model.h"
#include "platform/qt/tree_view_notify.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <utility>

namespace platform::qt {

// ---- mouse ----

bool TreeViewWidget::pressOnRow(const RowHit& hit)
{
    if (!hit.slot)
        return false;
    if (hit.flags == TVHT_ONITEMBUTTON) {
        changeExpansion(*hit.slot, !items().data(*hit.slot).expanded);
        return true;
    }
    if (hit.flags == TVHT_ONITEMSTATEICON && (m_style & TVS_CHECKBOXES)) {
        advanceStateImage(*hit.slot);
        return true;
    }
    return false;
}

void TreeViewWidget::mousePressEvent(QMouseEvent* event)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_BYMOUSE);
    m_pressReachedView = false;
    // Only a left press on the item itself selects; the classic control
    // ignores presses beside the label and keeps the selection on others.
    if (event->button() != Qt::LeftButton)
        return;
    const RowHit hit = hitAt(event->position().toPoint());
    if (pressOnRow(hit) || !(hit.flags & TVHT_ONITEM))
        return;
    m_pressReachedView = true;
    QTreeView::mousePressEvent(event);
}

void TreeViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_BYMOUSE);
    if (std::exchange(m_pressReachedView, false))
        QTreeView::mouseReleaseEvent(event);
}

void TreeViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging does not carry the selection along in the classic control.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
}

void TreeViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_BYMOUSE);
    if (event->button() != Qt::LeftButton)
        return;
    const RowHit hit = hitAt(event->position().toPoint());
    if (!pressOnRow(hit) && (hit.flags & TVHT_ONITEM)) {
        const TreeItem item = items().handleOf(hit.slot);
        m_pressReachedView = true;
        // Selects the item when the first press did not, and keeps the
        // release that follows from starting a label edit.
        QTreeView::mouseDoubleClickEvent(event);
        if (!alive())
            return;
        if (std::optional<TreeSlot> slot = slotOf(item))
            changeExpansion(*slot, !items().data(*slot).expanded);
        if (!alive())
            return;
    }
    notifyDoubleClick(handle());
}

// ---- keys ----

void TreeViewWidget::keyPressEvent(QKeyEvent* event)
{
    QScopedValueRollback<std::uint32_t> cause(m_cause, TVC_BYKEYBOARD);
    if (handleTreeKey(event)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool TreeViewWidget::handleTreeKey(QKeyEvent* event)
{
    struct KeyAction {
        int key;
        bool keypadOnly; // + - * of the numeric keypad, not of the main keys
        void (TreeViewWidget::*act)();
    };
    static constexpr KeyAction kActions[] = {
        {Qt::Key_Right, false, &TreeViewWidget::expandOrEnterCaret},
        {Qt::Key_Left, false, &TreeViewWidget::collapseOrLeaveCaret},
        {Qt::Key_Plus, true, &TreeViewWidget::expandCaret},
        {Qt::Key_Minus, true, &TreeViewWidget::collapseCaret},
        {Qt::Key_Asterisk, true, &TreeViewWidget::expandCaretSubtree},
        {Qt::Key_Space, false, &TreeViewWidget::toggleCaretCheck},
    };
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    for (const KeyAction& action : kActions) {
        if (action.key == event->key() && (keypad || !action.keypadOnly)) {
            (this->*action.act)();
            return true;
        }
    }
    return false;
}

void TreeViewWidget::expandOrEnterCaret()
{
    std::optional<TreeSlot> slot = selectedSlot();
    if (!slot || !hasChildren(*slot))
        return;
    if (items().data(*slot).expanded)
        selectSlot(items().child(*slot, 0));
    else
        changeExpansion(*slot, true);
}

void TreeViewWidget::collapseOrLeaveCaret()
{
    std::optional<TreeSlot> slot = selectedSlot();
    if (!slot)
        return;
    if (hasChildren(*slot) && items().data(*slot).expanded)
        changeExpansion(*slot, false);
    else if (items().parent(*slot) != TreeItems::kRoot)
        selectSlot(items().parent(*slot));
}

void TreeViewWidget::expandCaret()
{
    if (std::optional<TreeSlot> slot = selectedSlot())
        changeExpansion(*slot, true);
}

void TreeViewWidget::collapseCaret()
{
    if (std::optional<TreeSlot> slot = selectedSlot())
        changeExpansion(*slot, false);
}

void TreeViewWidget::expandCaretSubtree()
{
    std::optional<TreeSlot> caret = selectedSlot();
    if (!caret)
        return;
    // Handles, parents before their children: every notification's handler
    // may change the items, so each one is looked up again.
    std::vector<TreeItem> parents;
    std::vector<TreeSlot> pending{*caret};
    while (!pending.empty()) {
        const TreeSlot s = pending.back();
        pending.pop_back();
        if (!hasChildren(s))
            continue;
        parents.push_back(items().handleOf(s));
        for (int i = items().childCount(s) - 1; i >= 0; --i)
            pending.push_back(items().child(s, i));
    }
    for (TreeItem item : parents) {
        std::optional<TreeSlot> slot = slotOf(item);
        if (!slot)
            return;
        changeExpansion(*slot, true);
        if (!alive())
            return;
    }
}

void TreeViewWidget::toggleCaretCheck()
{
    std::optional<TreeSlot> slot = selectedSlot();
    if (slot && (m_style & TVS_CHECKBOXES))
        advanceStateImage(*slot);
}

void TreeViewWidget::focusInEvent(QFocusEvent* event)
{
    // QAbstractItemView would make the first item the caret here; the
    // control's selection changes only by the user's or the program's act.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

// ---- label editing ----

bool TreeViewWidget::isLabelClick(const QEvent* event) const
{
    if (!event || (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonPress))
        return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    return hitAt(mouse->position().toPoint()).flags == TVHT_ONITEMLABEL;
}

bool TreeViewWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // A click edits only on the label (Qt would take the whole row), and
    // then only after the double-click time, through AllEditTriggers.
    if (trigger == SelectedClicked && !isLabelClick(event))
        return false;
    const bool opensNow = trigger == EditKeyPressed || trigger == AllEditTriggers;
    if (!opensNow || state() == EditingState)
        return QTreeView::edit(index, trigger, event);
    // AllEditTriggers would open an editor whatever the edit triggers say.
    if (!(m_style & TVS_EDITLABELS))
        return false;
    std::optional<TreeSlot> slot = m_model->slotAt(index);
    if (!slot)
        return false;
    const TreeItem item = items().handleOf(*slot);
    const std::string text = items().data(*slot).text;
    std::optional<LResult> refused = notifyLabelEdit(handle(), TVN_BEGINLABELEDIT, item, text.c_str());
    if (!refused || *refused || !(slot = slotOf(item)))
        return false;
    m_editing = item;
    if (QTreeView::edit(m_model->indexOf(*slot), trigger, event))
        return true;
    // Qt would not open the editor after all: the edit that began ends.
    cancelLabelEdit();
    return false;
}

void TreeViewWidget::commitData(QWidget* editor)
{
    // The label changes only when the parent accepts the text; the model
    // never hears of the editor (QAbstractItemView would set its data).
    const auto* line = dynamic_cast<QLineEdit*>(editor);
    if (!line || m_editing == TreeItem::Null)
        return;
    const TreeItem item = std::exchange(m_editing, TreeItem::Null);
    const std::string text = toGbk(line->text());
    std::optional<LResult> accepted = notifyLabelEdit(handle(), TVN_ENDLABELEDIT, item, text.c_str());
    if (!accepted || !*accepted)
        return;
    if (std::optional<TreeSlot> slot = slotOf(item))
        m_model->change(*slot, [&](TreeItemData& d) { d.text = text; });
}

void TreeViewWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Closed without a commit (Escape, or the items went away): cancelled.
    cancelLabelEdit();
    // Editing ends where it began: the classic control never moves on to
    // the next label (Tab).
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    QTreeView::closeEditor(editor, hint);
}

void TreeViewWidget::cancelLabelEdit()
{
    const TreeItem item = std::exchange(m_editing, TreeItem::Null);
    if (item != TreeItem::Null)
        notifyLabelEdit(handle(), TVN_ENDLABELEDIT, item, nullptr);
}

} // namespace platform::qt
