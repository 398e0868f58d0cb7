#pragma once

#include <QObject>

namespace platform::qt {

// Application-wide filter; installed once by the platform's initialisation.
class InputRouter : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace platform::qt
