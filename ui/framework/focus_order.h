// The order in which the Tab key moves the focus among a window's units:
// visible, enabled units with the tab-stop flag, by ascending tab order
// (record order among equals).
#pragma once

#include "platform/types.h"
#include "ui/framework/loaded_window.h"

namespace ui {

// The next (or, backwards, the previous) tab stop after the unit whose
// window is `current` (or holds it); the first one when `current` is none
// of them.  Null when the window has no tab stop.
platform::Hwnd NextTabStop(const LoadedWindow& window, platform::Hwnd current, bool backwards);
platform::Hwnd FirstTabStop(const LoadedWindow& window);

} // namespace ui
