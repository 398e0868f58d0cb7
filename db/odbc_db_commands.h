// The external database unit's operations, as commands of the core
// library.  Each takes the unit's reference first; the arguments after it
// are the operation's own.  No operation reports an error: a failure is the
// operation's default result.
#pragma once

#include "runtime/typed_value.h"

#include <span>

namespace db {

using runtime::TypedValue;

// (unit, file path, [user name], [password], [read-only integer],
// [suppress dialog logical]) -> logical: opened.
TypedValue OpenAccessDatabaseCommand(std::span<const TypedValue> args);
// (unit, SQL text) -> integer result-set handle, 0 on failure.
TypedValue OpenTableCommand(std::span<const TypedValue> args);
// (unit, [result-set handle]) -> nothing; without a handle every set closes.
TypedValue CloseTableCommand(std::span<const TypedValue> args);
// (unit, result-set handle) -> logical.
TypedValue IsEofCommand(std::span<const TypedValue> args);
// (unit, result-set handle) -> nothing.
TypedValue MoveFirstCommand(std::span<const TypedValue> args);
TypedValue MoveNextCommand(std::span<const TypedValue> args);
// (unit, SQL text, parameters: text or bytes ...) -> logical: done.
TypedValue ExecuteSqlCommand(std::span<const TypedValue> args);
// (unit, result-set handle, column name text or position from 1) -> the
// column's value; empty text when there is none.
TypedValue ReadColumnCommand(std::span<const TypedValue> args);
// (unit) -> empty text: this program's engine has no table list.
TypedValue GetTabListCommand(std::span<const TypedValue> args);

} // namespace db
