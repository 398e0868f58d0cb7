// What a list-view control does with the user's input before (or instead
// of) its view: the notifications of clicks, double clicks and Enter, check
// boxes toggled by a click or Space, hot tracking, and info tips.  It sees
// the events the platform replays to the view, so a window procedure that
// swallowed a message has kept it from the control.
#pragma once

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class QAbstractItemView;
class QHelpEvent;
class QKeyEvent;
class QMouseEvent;

namespace platform::qt {

class ListViewControl;

class ListViewInput : public QObject {
public:
    explicit ListViewInput(ListViewControl& control);

    // Watches a new view of the control.
    void attach(QAbstractItemView* view);
    void settingsChanged();
    void setHotCursor(std::optional<QCursor> cursor);
    int hotRow() const { return m_hot; }

    // How long the pointer rests on a hot row before it is selected.
    static constexpr int kHoverSelectMs = 400;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool viewportEvent(QEvent* event);
    bool pressed(QMouseEvent* event);
    bool released(QMouseEvent* event);
    bool doubleClicked(QMouseEvent* event);
    void moved(QMouseEvent* event);
    bool keyPressed(QKeyEvent* event);
    bool tipWanted(QHelpEvent* event);
    bool togglesCheckBox(QMouseEvent* event);
    void setHot(int row);
    void hoverRested();
    // Sends a row notification; false when the control is gone after it.
    bool notifyRow(std::uint32_t code, int row, int subItem, QPoint client);
    QPoint clientOf(QMouseEvent* event) const;

    ListViewControl& m_control;
    QPointer<QAbstractItemView> m_view;
    QTimer m_hover;
    int m_hot = -1;
    std::optional<QCursor> m_hotCursor;
    // The release that ends a double click is no click of its own.
    bool m_releaseEndsDoubleClick = false;
    // A press kept from the view: its release is kept from it as well.
    bool m_pressSwallowed = false;
};

} // namespace platform::qt
