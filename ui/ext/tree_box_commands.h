// The TreeBox's commands.  Each takes the unit first; item indexes are
// pre-order positions over the whole tree, -1 (or any negative number, or
// an index past the end) for none, which every command answers with its
// default result instead of an error.
#pragma once

#include "runtime/typed_value.h"

#include <span>

namespace ui {

using runtime::TypedValue;

// (unit) -> integer: the number of items.
TypedValue TreeBoxGetItemCount(std::span<const TypedValue> args);
// (unit, index) -> text: the item's text, the empty text for no item.
TypedValue TreeBoxGetItemText(std::span<const TypedValue> args);
// (unit, index) -> integer: the item's data, 0 for no item.
TypedValue TreeBoxGetItemData(std::span<const TypedValue> args);
// (unit, index) -> nothing: the item expanded.
TypedValue TreeBoxExpandItem(std::span<const TypedValue> args);
// (unit, [parent], text, [image], [selected image], [data], [bold],
// [state image]) -> integer: the new item's index, -1 on failure.  With an
// array of texts, one item per element (0 on success).
TypedValue TreeBoxAddItem(std::span<const TypedValue> args);
// (unit) -> nothing: every item deleted.
TypedValue TreeBoxClear(std::span<const TypedValue> args);
// (unit, index) -> integer: the parent's index, -1 for a top-level item.
TypedValue TreeBoxGetParent(std::span<const TypedValue> args);
// (unit, index) -> logical: the item has children.
TypedValue TreeBoxHasChildren(std::span<const TypedValue> args);

} // namespace ui
