// The built-in window class "msctls_updown32" and the way from a window
// handle to its up-down control.
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class UpDownControl;

ClassInfo upDownClassInfo();
// The control of an up-down window; null for a handle that is none.
UpDownControl* upDownOf(Hwnd hwnd);

} // namespace platform::qt
