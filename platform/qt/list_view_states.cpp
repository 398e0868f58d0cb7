#include "platform/qt/list_view_states.h"

#include "platform/qt/list_view_notify.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <algorithm>
#include <climits>

namespace platform::qt {
namespace {

constexpr int kStateImageShift = 12;
constexpr auto kWholeRow = QItemSelectionModel::Rows;

} // namespace

ListViewStates::ListViewStates(ListViewModel& model, QWidget& control)
    : QObject(&control), m_model(model), m_control(control), m_selection(new QItemSelectionModel(&model, this))
{
    connect(m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) { focusMoved(now, before); });
    connect(m_selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                selectionMoved(selected, deselected);
            });
}

bool ListViewStates::alive() const
{
    return IsWindow(Registry::windowOf(&m_control));
}

bool ListViewStates::isSelected(int row) const
{
    return m_selection->isSelected(m_model.index(row, 0));
}

int ListViewStates::focusedRow() const
{
    QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::uint32_t ListViewStates::rowState(int row) const
{
    std::uint32_t state = std::uint32_t(m_model.row(row).stateImage) << kStateImageShift;
    if (isSelected(row))
        state |= LVIS_SELECTED;
    if (focusedRow() == row)
        state |= LVIS_FOCUSED;
    return state;
}

void ListViewStates::setRowState(int row, std::uint32_t state, std::uint32_t mask)
{
    if (row == -1) {
        setEveryRow(state, mask);
        return;
    }
    if (!m_model.hasRow(row))
        return;
    if (mask & LVIS_STATEIMAGEMASK) {
        setStateImage(row, int((state & LVIS_STATEIMAGEMASK) >> kStateImageShift));
        if (!alive())
            return;
    }
    if (mask & LVIS_FOCUSED) {
        setFocus(row, state & LVIS_FOCUSED);
        if (!alive())
            return;
    }
    if (mask & LVIS_SELECTED)
        setSelected(row, state & LVIS_SELECTED);
}

void ListViewStates::setEveryRow(std::uint32_t state, std::uint32_t mask)
{
    if (mask & LVIS_STATEIMAGEMASK) {
        int slot = int((state & LVIS_STATEIMAGEMASK) >> kStateImageShift);
        for (int row = 0; row < m_model.rows(); ++row) {
            setStateImage(row, slot);
            if (!alive())
                return;
        }
    }
    if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED)) {
        m_selection->clearCurrentIndex(); // one row can have the focus, not all of them
        if (!alive())
            return;
    }
    if (!(mask & LVIS_SELECTED))
        return;
    if (!(state & LVIS_SELECTED))
        m_selection->clearSelection();
    else if (!m_single && m_model.rows() > 0)
        m_selection->select(QItemSelection(m_model.index(0, 0), m_model.index(m_model.rows() - 1, 0)),
                            QItemSelectionModel::Select | kWholeRow);
}

void ListViewStates::setStateImage(int row, int slot)
{
    std::uint32_t before = rowState(row);
    if (m_model.row(row).stateImage == slot)
        return;
    m_model.setStateImage(row, slot);
    announce(row, before, rowState(row));
}

void ListViewStates::setFocus(int row, bool focused)
{
    if (focused)
        m_selection->setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::NoUpdate);
    else if (focusedRow() == row)
        m_selection->clearCurrentIndex();
}

void ListViewStates::setSelected(int row, bool selected)
{
    QModelIndex index = m_model.index(row, 0);
    if (!selected)
        m_selection->select(index, QItemSelectionModel::Deselect | kWholeRow);
    else
        m_selection->select(index, (m_single ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) | kWholeRow);
}

int ListViewStates::nextRow(int start, std::uint32_t flags) const
{
    int from = std::max(start + 1, 0);
    if (from >= m_model.rows())
        return -1;
    if (flags & LVNI_FOCUSED) {
        int focused = focusedRow();
        bool matches = focused >= from && (!(flags & LVNI_SELECTED) || isSelected(focused));
        return matches ? focused : -1;
    }
    if (!(flags & LVNI_SELECTED))
        return from;
    // From the ranges, not row by row: a list of 100,000 rows with one
    // selected row answers at once.
    int best = INT_MAX;
    for (const QItemSelectionRange& range : m_selection->selection())
        if (range.left() == 0 && range.bottom() >= from)
            best = std::min(best, std::max(range.top(), from));
    return best == INT_MAX ? -1 : best;
}

void ListViewStates::toggleCheckBox(int row)
{
    setStateImage(row, m_model.row(row).stateImage == 2 ? 1 : 2);
}

void ListViewStates::focusAndSelectOnly(int row)
{
    m_selection->setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::ClearAndSelect | kWholeRow);
}

void ListViewStates::selectWholeRows()
{
    QItemSelection selected = m_selection->selection();
    if (!selected.isEmpty())
        m_selection->select(selected, QItemSelectionModel::Select | kWholeRow);
}

void ListViewStates::focusMoved(const QModelIndex& now, const QModelIndex& before)
{
    int to = now.isValid() ? now.row() : -1;
    int from = before.isValid() ? before.row() : -1;
    if (m_quiet || to == from)
        return;
    if (m_model.hasRow(from)) {
        std::uint32_t state = rowState(from);
        if (!announce(from, state | LVIS_FOCUSED, state))
            return;
    }
    if (m_model.hasRow(to)) {
        std::uint32_t state = rowState(to);
        announce(to, state & ~LVIS_FOCUSED, state);
    }
}

void ListViewStates::selectionMoved(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (m_quiet)
        return;
    if (announceRanges(deselected, false))
        announceRanges(selected, true);
}

bool ListViewStates::announceRanges(const QItemSelection& ranges, bool nowSelected)
{
    for (const QItemSelectionRange& range : ranges) {
        if (range.left() != 0)
            continue; // the rest of a row whose column 0 is reported in another range
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!m_model.hasRow(row))
                continue;
            std::uint32_t state = rowState(row);
            if (bool(state & LVIS_SELECTED) != nowSelected)
                continue;
            std::uint32_t before = nowSelected ? state & ~LVIS_SELECTED : state | LVIS_SELECTED;
            if (!announce(row, before, state))
                return false;
        }
    }
    return true;
}

bool ListViewStates::announce(int row, std::uint32_t oldState, std::uint32_t newState)
{
    NmListView notice = rowNotice(row);
    notice.newState = newState;
    notice.oldState = oldState;
    notice.changed = LVIF_STATE;
    notice.param = m_model.row(row).param;
    return notifyListParent(&m_control, LVN_ITEMCHANGED, notice.hdr).alive;
}

} // namespace platform::qt
