// The built-in window class "COMBOBOX" and the way from a window handle to
// its combo box control.
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class ComboBoxControl;

ClassInfo comboBoxClassInfo();
// The control of a combo box window; null for a handle that is none.
ComboBoxControl* comboBoxOf(Hwnd hwnd);

} // namespace platform::qt
