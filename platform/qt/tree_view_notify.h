// The notifications a tree-view control sends its parent.  Each returns the
// parent's answer, or nothing when the control's window is gone afterwards
// (a handler may destroy it): the caller then touches nothing more.
#pragma once

#include "platform/tree_view.h"

#include <optional>

namespace platform::qt {

std::optional<LResult> notifySelectionChanged(Hwnd tree, std::uint32_t cause, TreeItem before, TreeItem after);
std::optional<LResult> notifyItemExpanding(Hwnd tree, TreeItem item, std::uint32_t action);
// TVN_BEGINLABELEDIT / TVN_ENDLABELEDIT; `text` GBK, null for a cancelled edit.
std::optional<LResult> notifyLabelEdit(Hwnd tree, std::uint32_t code, TreeItem item, const char* text);
std::optional<LResult> notifyDoubleClick(Hwnd tree);

} // namespace platform::qt
