#include "runtime/conversions.h"

#include "runtime/runtime_error.h"

#include <cmath>
#include <limits>

namespace runtime {

std::int64_t TruncateToInteger(double value)
{
    if (std::isnan(value))
        return 0;
    double t = std::trunc(value);
    if (t >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (t < -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(t);
}

std::int32_t TruncateToInt32(double value)
{
    std::int64_t v = TruncateToInteger(value);
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(v);
}

std::optional<std::int32_t> ToInteger(const TypedValue& value)
{
    switch (ValueType(value.type)) {
    case ValueType::Byte: return std::int32_t(value.asByte());
    case ValueType::Short: return std::int32_t(value.asShort());
    case ValueType::Int:
    case ValueType::Long: return std::int32_t(std::uint32_t(value.payload));
    case ValueType::Float: return TruncateToInt32(double(value.asFloat()));
    case ValueType::Double: return TruncateToInt32(value.asDouble());
    default: return std::nullopt;
    }
}

std::int32_t ConvertToInteger(const TypedValue& value)
{
    if (auto v = ToInteger(value))
        return *v;
    ReportRuntimeError(error_text::kNotNumeric, 0, 0, 0);
}

} // namespace runtime
