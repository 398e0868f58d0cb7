// The built-in window class "SysListView32".
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class ListViewControl;

ClassInfo listViewClassInfo();
// The control behind a list-view window; null for a handle that is none.
ListViewControl* listViewOf(Hwnd hwnd);

} // namespace platform::qt
