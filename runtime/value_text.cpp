#include "runtime/value_text.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace runtime {
namespace {

std::string format(const char* fmt, auto... args)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar and
// back (after H. Hinnant's civil-date algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = unsigned(y - era * 400);
    unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = unsigned(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t year = std::int64_t(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(year + (m <= 2));
}

// 30 December 1899 in days since the Unix epoch.
const std::int64_t kDateTimeEpoch = daysFromCivil(1899, 12, 30);

} // namespace

double RoundFloatToSixDigits(float x)
{
    std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    int e = std::int8_t(std::uint8_t(((bits >> 23) & 0xFF) - 127));
    int d = int(std::trunc(e * 0.30102999566398120));
    double s = std::pow(10.0, std::abs(d));
    double ax = std::fabs(double(x));
    double m = d > 0 ? ax / s : ax * s;
    if (m >= 10) {
        s *= 10;
        d += 1;
        m *= 1e4;
    } else if (m < 1) {
        s *= 10;
        d -= 1;
        m *= 1e6;
    } else {
        m *= 1e5;
    }
    double i;
    double f = std::modf(m, &i);
    if (f >= 0.5)
        i += 1;
    if (std::signbit(x))
        s = -s;
    return d > 0 ? i * s * 1e-5 : i / (s * 1e5);
}

DateTimeFields SplitDateTime(double value)
{
    if (std::isnan(value))
        value = 0;
    value = std::fmin(std::fmax(value, kMinDateTime), kMaxDateTime);
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    std::int64_t day = std::int64_t(whole);
    std::int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    DateTimeFields f;
    civilFromDays(kDateTimeEpoch + day, f.year, f.month, f.day);
    f.hour = int(seconds / 3600);
    f.minute = int(seconds / 60 % 60);
    f.second = int(seconds % 60);
    return f;
}

double MakeDateTime(const DateTimeFields& f)
{
    double day = double(daysFromCivil(f.year, unsigned(f.month), unsigned(f.day)) - kDateTimeEpoch);
    double time = (f.hour * 3600.0 + f.minute * 60.0 + f.second) / 86400.0;
    // Before the epoch the time of day still counts forward from midnight.
    return day >= 0 ? day + time : day - time;
}

std::string DateTimeToText(double value)
{
    DateTimeFields f = SplitDateTime(value);
    std::string text = format("%d年%d月%d日", f.year, f.month, f.day);
    if (f.second != 0)
        text += format("%d时%d分%d秒", f.hour, f.minute, f.second);
    else if (f.minute != 0)
        text += format("%d时%d分", f.hour, f.minute);
    else if (f.hour != 0)
        text += format("%d时", f.hour);
    return text;
}

std::string ValueToText(const TypedValue& v)
{
    if (v.isArray())
        return {};
    switch (ValueType(v.type)) {
    case ValueType::Byte: return format("%u", unsigned(v.asByte()));
    case ValueType::Short: return format("%d", int(v.asShort()));
    case ValueType::Int: return format("%d", v.asInt());
    case ValueType::Long: return format("%" PRId64, v.asLong());
    case ValueType::Float: return format("%.6g", RoundFloatToSixDigits(v.asFloat()));
    case ValueType::Double: return format("%.13g", v.asDouble());
    case ValueType::Logical: return v.asLogical() ? "真" : "假";
    case ValueType::DateTime: return DateTimeToText(v.asDateTime());
    case ValueType::Text: return std::string(TextOf(v.asText()));
    default: return {};
    }
}

} // namespace runtime
