// The built-in window class "BUTTON" and the way from a window handle to
// its button control.
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class ButtonControl;

ClassInfo buttonClassInfo();
// The control of a button window; null for a handle that is none.
ButtonControl* buttonOf(Hwnd hwnd);

} // namespace platform::qt
