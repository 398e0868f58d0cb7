// The Qt widgets behind windows of program-registered classes: the frame of
// a top-level window with its menu bar and client area, and plain child
// windows.  They turn Qt's painting, geometry, activation and close requests
// into the messages the window procedures expect.
#pragma once

#include "platform/types.h"

#include <QWidget>

class QMenuBar;

namespace platform::qt {

class ClientWidget;

// Painting of a window's client area through WM_ERASEBKGND and WM_PAINT.
void paintThroughProcedure(Hwnd hwnd, QWidget* widget, const QRect& area);

class FrameWidget : public QWidget {
public:
    explicit FrameWidget(Hwnd hwnd);

    ClientWidget* client() const { return m_client; }
    QMenuBar* menuBar() const { return m_menuBar; }
    // Takes the menu bar (or removes it with null) and lays the frame out.
    void setMenuBar(QMenuBar* bar);
    static constexpr int kMenuBarHeight = 20;
    // Places the menu bar and the client area in the frame's current size.
    void layoutChildren();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Hwnd m_hwnd;
    ClientWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
};

class ClientWidget : public QWidget {
public:
    ClientWidget(Hwnd hwnd, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Hwnd m_hwnd;
};

// A child window of a program-registered class.
class ChildWidget : public QWidget {
public:
    ChildWidget(Hwnd hwnd, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    Hwnd m_hwnd;
};

// Sends WM_MOVE/WM_SIZE when the client rectangle of a window changed since
// it was last reported.
void reportGeometry(Hwnd hwnd);

} // namespace platform::qt
