#include "platform/qt/up_down_control.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/classic_style.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/up_down.h"
#include "platform/window.h"

#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace platform::qt {
namespace {

// Held down, an arrow steps again after this wait, then at this pace.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setStyle(ClassicStyle::get());
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QString formatNumber(int value, bool thousands)
{
    QString digits = QString::number(qint64(value) < 0 ? -qint64(value) : qint64(value));
    if (thousands)
        for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
            digits.insert(i, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

UpDownControl::UpDownControl(QWidget* parent, const CreateStruct& cs)
    : QWidget(parent), m_up(makeArrow(this, Qt::UpArrow)), m_down(makeArrow(this, Qt::DownArrow)), m_style(cs.style)
{
    // An arrow steps as it is pressed, and again while it is held.
    m_repeat = new QTimer(this);
    connect(m_repeat, &QTimer::timeout, this, [this] {
        m_repeat->setInterval(kRepeatIntervalMs);
        if (m_up->isDown() || m_down->isDown())
            step(m_up->isDown() ? +1 : -1);
    });
    for (QToolButton* arrow : {m_up, m_down}) {
        int delta = arrow == m_up ? +1 : -1;
        connect(arrow, &QToolButton::pressed, this, [this, delta] {
            m_repeat->start(kRepeatDelayMs);
            step(delta);
        });
        connect(arrow, &QToolButton::released, this, [this] {
            m_repeat->stop();
            endSteps();
        });
    }
}

void UpDownControl::setBuddy(Hwnd buddy)
{
    watchBuddyKeys(false);
    m_buddy = IsWindow(buddy) ? buddy : Hwnd::Null;
    WindowRecord* r = findWindow(m_buddy);
    m_buddyWidget = r ? r->widget.data() : nullptr;
    if (m_style & UDS_ARROWKEYS)
        watchBuddyKeys(true);
    if (m_style & UDS_ALIGNRIGHT)
        alignWithBuddy();
}

void UpDownControl::setRange(int low, int high)
{
    m_minimum = std::min(low, high);
    m_maximum = std::max(low, high);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

void UpDownControl::setPosition(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
    showInBuddy();
}

void UpDownControl::step(int delta)
{
    takeBuddyNumber();
    int next = std::clamp(m_position + delta, m_minimum, m_maximum);
    if (next == m_position)
        return;
    m_position = next;
    showInBuddy();
    Hwnd hwnd = handle();
    if (Hwnd parent = GetParent(hwnd); IsWindow(parent)) {
        ToolkitScope scope;
        auto code = std::uint32_t(SB_THUMBPOSITION) | std::uint32_t(std::uint16_t(m_position)) << 16;
        SendMessage(parent, WM_VSCROLL, WParam(code), LParam(hwnd));
    }
}

void UpDownControl::endSteps()
{
    Hwnd hwnd = handle();
    if (Hwnd parent = GetParent(hwnd); IsWindow(parent)) {
        ToolkitScope scope;
        SendMessage(parent, WM_VSCROLL, WParam(SB_ENDSCROLL), LParam(hwnd));
    }
}

void UpDownControl::takeBuddyNumber()
{
    if (!(m_style & UDS_SETBUDDYINT) || !IsWindow(m_buddy))
        return;
    QString text = fromGbk(GetWindowText(m_buddy)).trimmed().remove(QLatin1Char(','));
    bool ok = false;
    int value = text.toInt(&ok);
    if (ok)
        m_position = std::clamp(value, m_minimum, m_maximum);
}

void UpDownControl::showInBuddy()
{
    if (!(m_style & UDS_SETBUDDYINT) || !IsWindow(m_buddy))
        return;
    SetWindowText(m_buddy, toGbk(formatNumber(m_position, !(m_style & UDS_NOTHOUSANDS))));
}

void UpDownControl::watchBuddyKeys(bool watch)
{
    if (!m_buddyWidget)
        return;
    // Keys reach the buddy's focused part first and come up to its window
    // widget when that part leaves them alone.
    for (QWidget* w : {m_buddyWidget.data(), m_buddyWidget->focusProxy()}) {
        if (!w)
            continue;
        if (watch)
            w->installEventFilter(this);
        else
            w->removeEventFilter(this);
    }
}

void UpDownControl::alignWithBuddy()
{
    if (!IsWindow(m_buddy) || GetParent(m_buddy) != GetParent(handle()))
        return;
    Rect b = GetWindowRectInParent(m_buddy);
    int w = width();
    MoveWindow(m_buddy, b.left, b.top, std::max(0, b.width() - w), b.height());
    MoveWindow(handle(), b.right - w, b.top, w, b.height());
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

Hwnd UpDownControl::handle() const
{
    return Registry::windowOf(this);
}

} // namespace platform::qt
