// The built-in window class "SysTreeView32" and the way from a window
// handle to its tree-view control.
#pragma once

#include "platform/qt/registry.h"

namespace platform::qt {

class TreeViewWidget;

ClassInfo treeViewClassInfo();
// The control of a tree-view window; null for a handle that is none.
TreeViewWidget* treeViewOf(Hwnd hwnd);

} // namespace platform::qt
