// Turning values into text, and the calendar arithmetic of date-time values
// (days since 30 December 1899, the fraction being the time of day).
#pragma once

#include "runtime/typed_value.h"

#include <string>

namespace runtime {

// The value-to-text rules: numbers in decimal (a float to 6 significant
// digits, a double "%.13g"), logical values as 真/假, date-times as
// "2020年1月1日8时5分", texts as themselves; "" for any other type.
std::string ValueToText(const TypedValue& value);

// A float rounded to 6 significant digits, so that 0.1f reads 0.1.
double RoundFloatToSixDigits(float x);

struct DateTimeFields {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

inline constexpr double kMinDateTime = -657434.0; // 1 January 100
inline constexpr double kMaxDateTime = 2958465.0; // 31 December 9999

// Clamped to the range above and rounded to the second.
DateTimeFields SplitDateTime(double value);
double MakeDateTime(const DateTimeFields& fields);
std::string DateTimeToText(double value);

} // namespace runtime
