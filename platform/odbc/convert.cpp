#include "platform/odbc/convert.h"

#include "platform/odbc/sql_types.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace access_odbc {
namespace {

using Outcome = Conversion::Outcome;

// Offset that marks a fixed-size or NULL value as delivered.
constexpr size_t kDelivered = std::numeric_limits<size_t>::max();

Conversion error(const char* state, const char* message)
{
    return {Outcome::Error, state, message};
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string formatReal(double v, SQLSMALLINT sqlType)
{
    char buffer[40];
    // The shortest form that reads back as the same number.
    int precision = sqlType == SQL_REAL ? 7 : 15;
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, v);
    if (sqlType != SQL_REAL && std::strtod(buffer, nullptr) != v)
        std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// A number read from a value: exact integer when possible.
struct Number {
    bool isInteger = true;
    std::int64_t integer = 0;
    double real = 0;
};

Conversion readNumber(const Value& v, Number& n)
{
    switch (v.kind) {
    case Value::Kind::Integer:
        n.integer = v.integer;
        n.real = double(v.integer);
        return {};
    case Value::Kind::Real:
        n.isInteger = false;
        n.real = v.real;
        return {};
    case Value::Kind::Text: {
        std::string t = trimmed(v.bytes);
        if (t.empty())
            return error("22018", "Invalid character value for cast specification");
        errno = 0;
        char* end = nullptr;
        long long i = std::strtoll(t.c_str(), &end, 10);
        if (*end == '\0' && errno == 0) {
            n.integer = i;
            n.real = double(i);
            return {};
        }
        errno = 0;
        double d = std::strtod(t.c_str(), &end);
        if (*end != '\0' || !std::isfinite(d))
            return error("22018", "Invalid character value for cast specification");
        n.isInteger = false;
        n.real = d;
        return {};
    }
    case Value::Kind::Blob:
    case Value::Kind::Null:
        break;
    }
    return error("07006", "Restricted data type attribute violation");
}

template <typename T>
Conversion storeInteger(const Number& n, SQLPOINTER target)
{
    using L = std::numeric_limits<T>;
    Conversion result;
    std::int64_t whole;
    if (n.isInteger) {
        whole = n.integer;
        if constexpr (std::is_same_v<T, std::uint64_t>) {
            if (whole < 0)
                return error("22003", "Numeric value out of range");
            *static_cast<T*>(target) = T(whole);
            return result;
        }
    } else {
        double t = std::trunc(n.real);
        if (!(t >= double(L::min()) && t <= double(L::max())) || t < -9.2e18 || t > 9.2e18)
            return error("22003", "Numeric value out of range");
        whole = std::int64_t(t);
        if (t != n.real)
            result = {Outcome::SuccessWithInfo, "01S07", "Fractional truncation"};
    }
    if constexpr (!std::is_same_v<T, std::uint64_t>) {
        if (whole < std::int64_t(L::min()) || whole > std::int64_t(L::max()))
            return error("22003", "Numeric value out of range");
    }
    *static_cast<T*>(target) = T(whole);
    return result;
}

Conversion storeBit(const Number& n, SQLPOINTER target)
{
    // Access writes Yes as -1; any non-zero value is true.
    double v = n.isInteger ? double(n.integer) : n.real;
    *static_cast<unsigned char*>(target) = v != 0 ? 1 : 0;
    return {};
}

// Character and binary data, piece by piece.
Conversion deliverBytes(const std::string& data, bool nulTerminate, SQLPOINTER target,
                        SQLLEN bufferLength, SQLLEN* length, size_t& offset)
{
    if (offset == kDelivered || (offset > 0 && offset >= data.size()))
        return {Outcome::NoData, nullptr, nullptr};
    if (bufferLength < 0)
        return error("HY090", "Invalid string or buffer length");
    size_t remaining = data.size() - offset;
    if (length)
        *length = SQLLEN(remaining);
    size_t room = size_t(bufferLength);
    if (nulTerminate && room > 0)
        --room;
    size_t n = remaining < room ? remaining : room;
    if (target && bufferLength > 0) {
        std::memcpy(target, data.data() + offset, n);
        if (nulTerminate)
            static_cast<char*>(target)[n] = '\0';
    }
    if (n < remaining) {
        offset += n;
        return {Outcome::SuccessWithInfo, "01004", "String data, right truncated"};
    }
    offset = data.empty() ? kDelivered : data.size();
    return {};
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

Conversion storeTimestamp(const Value& v, SQLSMALLINT cType, SQLPOINTER target)
{
    if (v.kind != Value::Kind::Text)
        return error("22018", "Invalid character value for cast specification");
    SQL_TIMESTAMP_STRUCT ts{};
    if (!ParseTimestamp(trimmed(v.bytes), ts))
        return error("22018", "Invalid character value for cast specification");
    switch (cType) {
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
        auto* d = static_cast<SQL_DATE_STRUCT*>(target);
        d->year = ts.year;
        d->month = ts.month;
        d->day = ts.day;
        if (ts.hour || ts.minute || ts.second || ts.fraction)
            return {Outcome::SuccessWithInfo, "01S07", "Fractional truncation"};
        return {};
    }
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: {
        auto* t = static_cast<SQL_TIME_STRUCT*>(target);
        t->hour = ts.hour;
        t->minute = ts.minute;
        t->second = ts.second;
        return {};
    }
    default:
        *static_cast<SQL_TIMESTAMP_STRUCT*>(target) = ts;
        return {};
    }
}

bool parseDigits(const char*& p, int count, int& out)
{
    out = 0;
    for (int i = 0; i < count; ++i, ++p) {
        if (*p < '0' || *p > '9')
            return false;
        out = out * 10 + (*p - '0');
    }
    return true;
}

bool validDate(int y, int m, int d)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > days[m - 1])
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return !(m == 2 && d == 29 && !leap);
}

bool parseTime(const char*& p, SQL_TIMESTAMP_STRUCT& out)
{
    int h, mi, s = 0;
    if (!parseDigits(p, 2, h) || *p++ != ':' || !parseDigits(p, 2, mi))
        return false;
    if (*p == ':') {
        ++p;
        if (!parseDigits(p, 2, s))
            return false;
        if (*p == '.') {
            ++p;
            // Fraction in nanoseconds: up to nine digits are significant.
            SQLUINTEGER fraction = 0;
            int digits = 0;
            while (*p >= '0' && *p <= '9') {
                if (digits < 9) {
                    fraction = fraction * 10 + SQLUINTEGER(*p - '0');
                    ++digits;
                }
                ++p;
            }
            while (digits++ < 9)
                fraction *= 10;
            out.fraction = fraction;
        }
    }
    if (h > 23 || mi > 59 || s > 59)
        return false;
    out.hour = SQLUSMALLINT(h);
    out.minute = SQLUSMALLINT(mi);
    out.second = SQLUSMALLINT(s);
    return true;
}

} // namespace

bool ParseTimestamp(const std::string& text, SQL_TIMESTAMP_STRUCT& out)
{
    out = {};
    const char* p = text.c_str();
    if (text.size() >= 5 && text[2] == ':') {
        // A time alone: Access's day zero, 30 December 1899.
        out.year = 1899;
        out.month = 12;
        out.day = 30;
        return parseTime(p, out) && *p == '\0';
    }
    int y, m, d;
    if (!parseDigits(p, 4, y) || *p++ != '-' || !parseDigits(p, 2, m) || *p++ != '-' || !parseDigits(p, 2, d))
        return false;
    if (!validDate(y, m, d))
        return false;
    out.year = SQLSMALLINT(y);
    out.month = SQLUSMALLINT(m);
    out.day = SQLUSMALLINT(d);
    if (*p == '\0')
        return true;
    if (*p != ' ' && *p != 'T')
        return false;
    ++p;
    return parseTime(p, out) && *p == '\0';
}

std::string FormatTimestamp(const SQL_TIMESTAMP_STRUCT& ts)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02u:%02u:%02u", int(ts.year), unsigned(ts.month),
                  unsigned(ts.day), unsigned(ts.hour), unsigned(ts.minute), unsigned(ts.second));
    std::string out = buffer;
    if (ts.fraction) {
        std::snprintf(buffer, sizeof buffer, ".%09u", unsigned(ts.fraction));
        std::string f = buffer;
        while (f.back() == '0')
            f.pop_back();
        out += f;
    }
    return out;
}

std::string ValueAsText(const Value& v, SQLSMALLINT sqlType)
{
    switch (v.kind) {
    case Value::Kind::Integer:
        return std::to_string(v.integer);
    case Value::Kind::Real:
        return formatReal(v.real, sqlType);
    case Value::Kind::Text:
        return v.bytes;
    case Value::Kind::Blob:
        return hex(v.bytes);
    case Value::Kind::Null:
        break;
    }
    return {};
}

SQLLEN FixedCTypeSize(SQLSMALLINT cType)
{
    struct Size {
        SQLSMALLINT type;
        SQLLEN size;
    };
    static constexpr Size kSizes[] = {
        {SQL_C_SLONG, 4}, {SQL_C_LONG, 4}, {SQL_C_ULONG, 4},
        {SQL_C_SSHORT, 2}, {SQL_C_SHORT, 2}, {SQL_C_USHORT, 2},
        {SQL_C_STINYINT, 1}, {SQL_C_TINYINT, 1}, {SQL_C_UTINYINT, 1}, {SQL_C_BIT, 1},
        {SQL_C_SBIGINT, 8}, {SQL_C_UBIGINT, 8}, {SQL_C_FLOAT, 4}, {SQL_C_DOUBLE, 8},
        {SQL_C_TYPE_TIMESTAMP, SQLLEN(sizeof(SQL_TIMESTAMP_STRUCT))},
        {SQL_C_TIMESTAMP, SQLLEN(sizeof(SQL_TIMESTAMP_STRUCT))},
        {SQL_C_TYPE_DATE, SQLLEN(sizeof(SQL_DATE_STRUCT))}, {SQL_C_DATE, SQLLEN(sizeof(SQL_DATE_STRUCT))},
        {SQL_C_TYPE_TIME, SQLLEN(sizeof(SQL_TIME_STRUCT))}, {SQL_C_TIME, SQLLEN(sizeof(SQL_TIME_STRUCT))},
    };
    for (const Size& s : kSizes)
        if (s.type == cType)
            return s.size;
    return 0;
}

Conversion ConvertValue(const Value& v, SQLSMALLINT sqlType, SQLSMALLINT cType, SQLPOINTER target,
                        SQLLEN bufferLength, SQLLEN* length, size_t& offset)
{
    if (cType == SQL_C_DEFAULT)
        cType = DefaultCType(sqlType);

    if (v.kind == Value::Kind::Null) {
        if (offset == kDelivered)
            return {Outcome::NoData, nullptr, nullptr};
        if (!length)
            return error("22002", "Indicator variable required but not supplied");
        *length = SQL_NULL_DATA;
        offset = kDelivered;
        return {};
    }

    if (cType == SQL_C_CHAR)
        return deliverBytes(ValueAsText(v, sqlType), true, target, bufferLength, length, offset);
    if (cType == SQL_C_BINARY) {
        if (v.kind == Value::Kind::Text || v.kind == Value::Kind::Blob)
            return deliverBytes(v.bytes, false, target, bufferLength, length, offset);
        // A number as binary: its bytes in the machine's order.
        std::string raw(sizeof(std::int64_t), '\0');
        if (v.kind == Value::Kind::Integer)
            std::memcpy(raw.data(), &v.integer, sizeof v.integer);
        else
            std::memcpy(raw.data(), &v.real, sizeof v.real);
        return deliverBytes(raw, false, target, bufferLength, length, offset);
    }

    SQLLEN size = FixedCTypeSize(cType);
    if (size == 0)
        return error("HY003", "Invalid application buffer type");
    if (offset == kDelivered)
        return {Outcome::NoData, nullptr, nullptr};
    if (!target)
        return error("HY009", "Invalid use of null pointer");

    Conversion result;
    switch (cType) {
    case SQL_C_TYPE_TIMESTAMP: case SQL_C_TIMESTAMP: case SQL_C_TYPE_DATE: case SQL_C_DATE:
    case SQL_C_TYPE_TIME: case SQL_C_TIME:
        result = storeTimestamp(v, cType, target);
        break;
    default: {
        Number n;
        result = readNumber(v, n);
        if (result.outcome == Outcome::Error)
            break;
        switch (cType) {
        case SQL_C_SLONG: case SQL_C_LONG: result = storeInteger<std::int32_t>(n, target); break;
        case SQL_C_ULONG: result = storeInteger<std::uint32_t>(n, target); break;
        case SQL_C_SSHORT: case SQL_C_SHORT: result = storeInteger<std::int16_t>(n, target); break;
        case SQL_C_USHORT: result = storeInteger<std::uint16_t>(n, target); break;
        case SQL_C_STINYINT: case SQL_C_TINYINT: result = storeInteger<std::int8_t>(n, target); break;
        case SQL_C_UTINYINT: result = storeInteger<std::uint8_t>(n, target); break;
        case SQL_C_SBIGINT: result = storeInteger<std::int64_t>(n, target); break;
        case SQL_C_UBIGINT: result = storeInteger<std::uint64_t>(n, target); break;
        case SQL_C_BIT: result = storeBit(n, target); break;
        case SQL_C_FLOAT: {
            double d = n.isInteger ? double(n.integer) : n.real;
            if (std::fabs(d) > double(std::numeric_limits<float>::max()))
                return error("22003", "Numeric value out of range");
            *static_cast<float*>(target) = float(d);
            break;
        }
        case SQL_C_DOUBLE:
            *static_cast<double*>(target) = n.isInteger ? double(n.integer) : n.real;
            break;
        default:
            return error("HY003", "Invalid application buffer type");
        }
    }
    }
    if (result.outcome == Outcome::Error)
        return result;
    if (length)
        *length = size;
    offset = kDelivered;
    return result;
}

} // namespace access_odbc
