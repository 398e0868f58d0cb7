// The ListView's commands.  Each takes the unit first; arguments left out
// take the defaults shown.  Rows and columns that do not exist leave the
// control as it is and give the control's answer (an empty text, -1).
#pragma once

#include "runtime/typed_value.h"

#include <span>

namespace ui {

using runtime::TypedValue;

// (unit, row, [column = 0]) -> text: the cell's whole text.
TypedValue ListViewGetCellText(std::span<const TypedValue> args);
// (unit, row, [column = 0], [text = empty]) -> nothing.
TypedValue ListViewSetCellText(std::span<const TypedValue> args);
// (unit, row, [column = 0], [image = -1; below -1 is -1]) -> nothing.
TypedValue ListViewSetCellImage(std::span<const TypedValue> args);
// (unit, [position: after the last], [text], [image = -1], [state image],
// [indent], [item data]) -> integer: the new row, -1 on failure.
TypedValue ListViewInsertRow(std::span<const TypedValue> args);
// (unit) -> nothing.
TypedValue ListViewDeleteAllRows(std::span<const TypedValue> args);
// (unit) -> integer.
TypedValue ListViewGetColumnCount(std::span<const TypedValue> args);
// (unit, column) -> nothing.
TypedValue ListViewDeleteColumn(std::span<const TypedValue> args);
// (unit, [position: after the last], [caption], [width = 50; negative 0],
// [alignment: 0 left, 1 centre, 2 right], [header image = none],
// [image on the right]) -> integer: the new column.
TypedValue ListViewInsertColumn(std::span<const TypedValue> args);

} // namespace ui
