#include "db/date_time.h"

#include <algorithm>

namespace db {
namespace {

// Days from 1 January 1970 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

} // namespace

double ClampedDays(int year, int month, int day, int hour, int minute, int second, std::uint32_t nanoseconds)
{
    month = std::clamp(month, 1, 12);
    day = std::clamp(day, 1, 31);
    double days = double(daysFromCivil(year, unsigned(month), unsigned(day)) - daysFromCivil(1899, 12, 30));
    double fraction = (hour * 3600.0 + minute * 60.0 + second + nanoseconds / 1e9) / 86400.0;
    double value = days >= 0 ? days + fraction : days - fraction;
    return std::clamp(value, kEarliestDay, kLatestDay);
}

} // namespace db
