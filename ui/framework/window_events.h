// Events of the window's own unit.
#pragma once

#include <cstdint>

namespace ui {

enum WindowEvent : std::int32_t {
    kWindowLoaded = 0,
    kWindowMayClose = 1,
    kWindowDestroying = 2,
    kWindowMoved = 3,
    kWindowResized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowIdle = 7,
    kWindowFirstActivation = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
    kWindowCloseRequested = 12,
};

} // namespace ui
