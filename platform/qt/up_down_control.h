// The up-down control's widget: two arrow buttons that step a position
// within a range, show it in the buddy window and tell the parent with
// WM_VSCROLL.
#pragma once

#include "platform/types.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QTimer;
class QToolButton;

namespace platform {
struct CreateStruct;
}

namespace platform::qt {

class UpDownControl : public QWidget {
public:
    UpDownControl(QWidget* parent, const CreateStruct& cs);

    void applyStyles(std::uint32_t style) { m_style = style; }
    void setBuddy(Hwnd buddy);
    Hwnd buddy() const { return m_buddy; }
    void setRange(int low, int high);
    void setPosition(int position);
    int position() const { return m_position; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Hwnd handle() const;
    void step(int delta);
    void endSteps();
    // The buddy's number when it shows one (the user may have typed it).
    void takeBuddyNumber();
    void showInBuddy();
    void watchBuddyKeys(bool watch);
    void alignWithBuddy();

    QToolButton* m_up;
    QToolButton* m_down;
    QTimer* m_repeat;
    std::uint32_t m_style = 0;
    Hwnd m_buddy = Hwnd::Null;
    QPointer<QWidget> m_buddyWidget;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

} // namespace platform::qt
