#pragma once

#include <QObject>
#include <QWidget>

namespace platform::qt {

// Application-wide filter; installed once by the platform's initialisation.
class InputRouter : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override;
};

// Routes an input event as if the window system had delivered it to
// `target`, for input that Qt offers no public way to inject (the wheel).
// True when it became a queued message.
bool routeInjectedInput(QWidget* target, QEvent* event);

} // namespace platform::qt
