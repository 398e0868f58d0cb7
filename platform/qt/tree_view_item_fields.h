// Moving an item's fields between the program's TreeViewItem records and
// the control's own TreeItemData, as the record's mask says.
#pragma once

#include "platform/qt/tree_view_items.h"
#include "platform/tree_view.h"

namespace platform::qt {

// Copies the fields the mask names into `data`; of the state only the bits
// of stateMask, and never TVIS_SELECTED (the selection is the control's).
void applyItemFields(TreeItemData& data, const TreeViewItem& item);
// Fills the fields the mask names from `data`.
void readItemFields(TreeViewItem& item, const TreeItemData& data, bool selected);

} // namespace platform::qt
