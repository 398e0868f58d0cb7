#include "platform/qt/list_view_input.h"

#include "platform/qt/list_view_control.h"
#include "platform/qt/list_view_notify.h"
#include "platform/qt/qt_text.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace platform::qt {

ListViewInput::ListViewInput(ListViewControl& control) : QObject(&control), m_control(control)
{
    m_hover.setSingleShot(true);
    m_hover.setInterval(kHoverSelectMs);
    connect(&m_hover, &QTimer::timeout, this, [this] { hoverRested(); });
}

void ListViewInput::attach(QAbstractItemView* view)
{
    if (m_view) {
        m_view->removeEventFilter(this);
        m_view->viewport()->removeEventFilter(this);
    }
    m_view = view;
    m_hot = -1;
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    settingsChanged();
}

void ListViewInput::settingsChanged()
{
    bool tracking = m_control.settings().has(LVS_EX_TRACKSELECT);
    if (!tracking) {
        m_hot = -1;
        m_hover.stop();
    }
    // Moves without a button pressed reach the view only while it tracks.
    if (m_view)
        m_view->viewport()->setMouseTracking(tracking);
}

void ListViewInput::setHotCursor(std::optional<QCursor> cursor)
{
    m_hotCursor = std::move(cursor);
}

bool ListViewInput::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_view)
        return false;
    if (watched == m_view->viewport())
        return viewportEvent(event);
    if (watched == m_view && event->type() == QEvent::KeyPress)
        return keyPressed(static_cast<QKeyEvent*>(event));
    return false;
}

bool ListViewInput::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return pressed(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return released(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick:
        return doubleClicked(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        moved(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::Leave:
        setHot(-1);
        return false;
    case QEvent::ToolTip:
        return tipWanted(static_cast<QHelpEvent*>(event));
    default:
        return false;
    }
}

QPoint ListViewInput::clientOf(QMouseEvent* event) const
{
    return m_view->viewport()->mapTo(&m_control, event->position().toPoint());
}

bool ListViewInput::togglesCheckBox(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_control.settings().has(LVS_EX_CHECKBOXES))
        return false;
    ListHitTestInfo hit = m_control.hitTest(clientOf(event));
    if (hit.item < 0 || !(hit.flags & LVHT_ONITEMSTATEICON))
        return false;
    m_control.states().toggleCheckBox(hit.item);
    return true;
}

bool ListViewInput::pressed(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return false;
    m_releaseEndsDoubleClick = false;
    m_pressSwallowed = togglesCheckBox(event);
    if (m_pressSwallowed)
        return true;
    ListHitTestInfo hit = m_control.hitTest(clientOf(event));
    bool onRow = hit.item >= 0 && (hit.subItem == 0 || m_control.settings().fullRowSelect());
    if (onRow || !m_view->indexAt(event->position().toPoint()).isValid())
        return false; // the view selects rows, and deselects on empty space, itself
    // Inside a row's cell but on none of its parts: as on empty space.
    if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        m_control.states().setRowState(-1, 0, LVIS_SELECTED);
    m_pressSwallowed = true;
    return true;
}

bool ListViewInput::released(QMouseEvent* event)
{
    // The view never saw the press of a release it must not see either.
    bool swallow = std::exchange(m_pressSwallowed, false);
    if (std::exchange(m_releaseEndsDoubleClick, false))
        return swallow;
    bool left = event->button() == Qt::LeftButton;
    if (!left && event->button() != Qt::RightButton)
        return swallow;
    QPoint client = clientOf(event);
    ListHitTestInfo hit = m_control.hitTest(client);
    if (!notifyRow(left ? NM_CLICK : NM_RCLICK, hit.item, hit.subItem, client))
        return true;
    bool activates = left && hit.item >= 0 && m_control.settings().has(LVS_EX_ONECLICKACTIVATE);
    if (activates && !notifyRow(LVN_ITEMACTIVATE, hit.item, hit.subItem, client))
        return true;
    return swallow;
}

bool ListViewInput::doubleClicked(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_releaseEndsDoubleClick = true;
    // Each press on a check box toggles it, the second of a double click too.
    m_pressSwallowed = togglesCheckBox(event);
    if (m_pressSwallowed)
        return true;
    QPoint client = clientOf(event);
    ListHitTestInfo hit = m_control.hitTest(client);
    if (!notifyRow(NM_DBLCLK, hit.item, hit.subItem, client))
        return true;
    if (hit.item >= 0 && !notifyRow(LVN_ITEMACTIVATE, hit.item, hit.subItem, client))
        return true;
    return false;
}

void ListViewInput::moved(QMouseEvent* event)
{
    if (m_control.settings().has(LVS_EX_TRACKSELECT))
        setHot(m_control.hitTest(clientOf(event)).item);
}

void ListViewInput::setHot(int row)
{
    if (row == m_hot)
        return;
    m_hot = row;
    if (m_view) {
        m_view->viewport()->update();
        if (row >= 0 && m_hotCursor)
            m_view->viewport()->setCursor(*m_hotCursor);
        else
            m_view->viewport()->unsetCursor(); // the control's own cursor shows through
    }
    if (row >= 0)
        m_hover.start();
    else
        m_hover.stop();
    NmListView notice = rowNotice(row);
    notifyListParent(&m_control, LVN_HOTTRACK, notice.hdr);
}

void ListViewInput::hoverRested()
{
    if (m_hot >= 0 && m_control.model().hasRow(m_hot) && m_control.isAlive())
        m_control.states().focusAndSelectOnly(m_hot);
}

bool ListViewInput::keyPressed(QKeyEvent* event)
{
    int focused = m_control.states().focusedRow();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focused >= 0)
            notifyRow(LVN_ITEMACTIVATE, focused, 0, {});
        return true;
    case Qt::Key_Space:
        if (!m_control.settings().has(LVS_EX_CHECKBOXES) || focused < 0)
            return false;
        m_control.states().toggleCheckBox(focused);
        return !m_control.isAlive(); // the view selects the row as well
    default:
        return false;
    }
}

bool ListViewInput::tipWanted(QHelpEvent* event)
{
    if (!m_control.settings().has(LVS_EX_INFOTIP))
        return false;
    QPoint client = m_view->viewport()->mapTo(&m_control, event->pos());
    ListHitTestInfo hit = m_control.hitTest(client);
    if (hit.item < 0) {
        QToolTip::hideText();
        return true;
    }
    NmLvGetInfoTip tip{.hdr = {}, .item = hit.item, .subItem = hit.subItem};
    if (!notifyListParent(&m_control, LVN_GETINFOTIP, tip.hdr).alive)
        return true;
    if (tip.tip.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), fromGbk(tip.tip), m_view->viewport());
    return true;
}

bool ListViewInput::notifyRow(std::uint32_t code, int row, int subItem, QPoint client)
{
    NmListView notice = rowNotice(row, subItem, {client.x(), client.y()});
    return notifyListParent(&m_control, code, notice.hdr).alive;
}

} // namespace platform::qt
