// The basic commands of the core library.  Each takes its arguments as
// typed values (an argument left out is an empty value) and gives back one
// typed value; texts and bytes given back are fresh heap blocks.
#pragma once

#include "runtime/typed_value.h"

#include <span>
#include <string>
#include <string_view>

namespace runtime::commands {

using Args = std::span<const TypedValue>;

TypedValue LoadWindow(Args args);       // window, [owner window], [modal]
TypedValue ProgramDirectory(Args args); //
TypedValue RightText(Args args);        // text, count
TypedValue ToText(Args args);           // value
TypedValue CurrentDateTime(Args args);  //
TypedValue InfoBox(Args args);          // message, flags, [caption], [owner]
TypedValue RefreshDisplay(Args args);   // unit
TypedValue CloseDatabaseFile(Args args); // [name]

// The text ToText gives for a value ("" for the null text).
std::string ToTextOf(const TypedValue& value);
// The answer InfoBox gives for a message box button.
int InfoBoxResultFor(int button);

} // namespace runtime::commands
