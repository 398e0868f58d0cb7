// The states of a list-view control's rows.  Selection and focus live in
// the toolkit's selection model, their one source of truth, which every
// view of the control shares; state images live in the rows.  Every change
// of either, by the user or by the program, reaches the parent as
// LVN_ITEMCHANGED.
#pragma once

#include "platform/qt/list_view_model.h"

#include <QItemSelectionModel>
#include <QObject>

namespace platform::qt {

class ListViewStates : public QObject {
public:
    // `control` is the widget whose window the notifications come from.
    ListViewStates(ListViewModel& model, QWidget& control);

    QItemSelectionModel* selection() const { return m_selection; }
    void setSingleSelection(bool single) { m_single = single; }

    // LVIS_FOCUSED, LVIS_SELECTED and the state image slot of a row.
    std::uint32_t rowState(int row) const;
    int focusedRow() const;
    // Sets the bits of `mask` to those of `state`; row -1: every row.
    void setRowState(int row, std::uint32_t state, std::uint32_t mask);
    // The first row after `start` with every state of `flags` (LVNI_*).
    int nextRow(int start, std::uint32_t flags) const;

    // The user's own ways of changing states.
    void toggleCheckBox(int row);
    void focusAndSelectOnly(int row);

    // Runs a change of the table's columns, which moves selection ranges
    // without selecting or deselecting any row, and then makes every
    // selected row selected in all its columns again.
    template <class Change>
    void acrossColumnChange(Change change)
    {
        m_quiet = true;
        change();
        selectWholeRows();
        m_quiet = false;
    }

private:
    bool isSelected(int row) const;
    void setStateImage(int row, int slot);
    void setFocus(int row, bool focused);
    void setSelected(int row, bool selected);
    void setEveryRow(std::uint32_t state, std::uint32_t mask);
    void selectWholeRows();
    void focusMoved(const QModelIndex& now, const QModelIndex& before);
    void selectionMoved(const QItemSelection& selected, const QItemSelection& deselected);
    // Each row of the ranges that changed its selected state, announced;
    // false once the control is gone.
    bool announceRanges(const QItemSelection& ranges, bool nowSelected);
    bool announce(int row, std::uint32_t oldState, std::uint32_t newState);
    bool alive() const;

    ListViewModel& m_model;
    QWidget& m_control;
    QItemSelectionModel* m_selection;
    bool m_single = false;
    bool m_quiet = false;
};

} // namespace platform::qt
