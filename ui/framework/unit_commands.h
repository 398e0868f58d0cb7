// The core library's commands that act on units through the framework:
// destroying a window or unit, and popping up a window's menu.
#pragma once

#include "runtime/typed_value.h"
#include "ui/framework/loaded_window.h"

#include <span>

namespace ui {

// unit, [immediate]
runtime::TypedValue DestroyUnitCommand(std::span<const runtime::TypedValue> args);
// window, menu item, [x], [y]
runtime::TypedValue PopupMenuCommand(std::span<const runtime::TypedValue> args);

// The private message a window marked for destruction receives; the
// window unit answers it with DestroyMarkedWindow.
void DestroyMarkedWindow(LoadedWindow& window);
// Gives back their enabled state to the windows a modal opening disabled.
void RestoreDisabledWindows(LoadedWindow& window);

} // namespace ui
