// The built-in window class "EDIT" and the way from a window handle to its
// edit control.
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class EditControl;

ClassInfo editClassInfo();
// The control of an edit window; null for a handle that is none.
EditControl* editOf(Hwnd hwnd);

} // namespace platform::qt
