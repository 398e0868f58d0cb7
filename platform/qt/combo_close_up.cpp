#include "platform/qt/combo_close_up.h"

#include "platform/combo_box.h"
#include "platform/qt/combo_box_control.h"

#include <QEvent>
#include <QWidget>

namespace platform::qt {

ComboCloseUp::ComboCloseUp(ComboBoxControl& control, QWidget* popup) : QObject(&control), m_control(control)
{
    popup->installEventFilter(this);
}

bool ComboCloseUp::takeChoice()
{
    if (!m_closing)
        return false;
    m_chosen = true;
    return true;
}

bool ComboCloseUp::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Hide && !m_closing) {
        // Qt tells of the choice only after the list is hidden, and the
        // parent hears of everything once the list has closed: later.
        m_closing = true;
        QMetaObject::invokeMethod(this, [this] { finish(); }, Qt::QueuedConnection);
    }
    return false;
}

void ComboCloseUp::finish()
{
    bool chosen = std::exchange(m_chosen, false);
    bool byProgram = std::exchange(m_byProgram, false);
    m_closing = false;
    bool alive = true;
    if (chosen)
        alive = m_control.notify(CBN_SELENDOK) && m_control.notify(CBN_SELCHANGE);
    else if (!byProgram)
        alive = m_control.notify(CBN_SELENDCANCEL);
    if (alive)
        m_control.notify(CBN_CLOSEUP);
}

} // namespace platform::qt
