// The keys that click buttons without the focus: Alt with a button's access
// character anywhere in its top-level window, and Enter in a window with a
// default push button.
#pragma once

#include "platform/types.h"

class QWidget;

namespace platform::qt {

// The default processing of WM_SYSCHAR: a child window hands the
// character on to its parent; the top-level window clicks the first
// enabled, visible button below it whose access character it is.
void routeSystemCharacter(Hwnd hwnd, WParam character, LParam lParam);

// Enter that reaches the top-level window, because the control with the
// focus left it alone, clicks the window's enabled, visible default push
// button.  Called for each default push button; watches each window once.
void watchForDefaultButton(QWidget* topLevel);

} // namespace platform::qt
