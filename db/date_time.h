// Dates as the engine hands them out: days since 30 December 1899, the
// fraction being the time of day.
#pragma once

#include <cstdint>

namespace db {

inline constexpr double kEarliestDay = -657434; // 1 January 100
inline constexpr double kLatestDay = 2958465;   // 31 December 9999

// The day count of a civil date and time, limited to the range above.
// Before the epoch the fraction counts forward from the day, as the
// program's date values do (-1.25 is 29 December 1899, 06:00).
double ClampedDays(int year, int month, int day, int hour, int minute, int second, std::uint32_t nanoseconds);

} // namespace db
