// Numeric conversions shared by the services, the commands and handlers.
#pragma once

#include "runtime/typed_value.h"

#include <cstdint>
#include <optional>

namespace runtime {

// A double toward zero, to 64 bits, whatever the rounding mode; values
// beyond the range saturate and NaN gives 0.
std::int64_t TruncateToInteger(double value);
// The same to 32 bits.
std::int32_t TruncateToInt32(double value);

// A numeric value to a 32-bit integer: byte zero-extended, short
// sign-extended, integer and long their low 32 bits, float and double
// truncated toward zero.  Empty for any other type.
std::optional<std::int32_t> ToInteger(const TypedValue& value);
// As ToInteger, but a value that is not numeric is the runtime error
// "欲转换数据类型不是数值".
std::int32_t ConvertToInteger(const TypedValue& value);

} // namespace runtime
