#include "platform/odbc/convert.h"

#include "platform/odbc/gbk.h"
#include "platform/odbc/interface_text.h"
#include "platform/odbc/sql_types.h"
#include "platform/odbc/utf16.h"

#include <array>
#include <charconv>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace access_odbc {
namespace {

using Outcome = Conversion::Outcome;

Conversion error(const char* state, const char* message)
{
    return {Outcome::Error, state, message};
}

std::string trimmed(std::string_view s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
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

Conversion readNumber(const CellValue& v, Number& n)
{
    switch (v.kind) {
    case CellKind::Integer:
        n.integer = v.integer;
        n.real = double(v.integer);
        return {};
    case CellKind::Real:
        n.isInteger = false;
        n.real = v.real;
        return {};
    case CellKind::Text: {
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
    case CellKind::Blob:
    case CellKind::Null:
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

// How delivered bytes are cut into pieces: raw bytes anywhere, GBK and
// UTF-16 only between characters, each with its own terminator.
enum class Form { Binary, Narrow, Wide };

// Character and binary data, piece by piece, from the prepared source.
Conversion deliverBytes(std::string_view data, Form form, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* length,
                        DataPiece& piece)
{
    if (piece.delivered || (piece.offset > 0 && piece.offset >= data.size()))
        return {Outcome::NoData, nullptr, nullptr};
    if (bufferLength < 0)
        return error("HY090", "Invalid string or buffer length");
    const size_t terminator = form == Form::Wide ? 2 : form == Form::Narrow ? 1 : 0;
    std::string_view remaining = data.substr(piece.offset);
    if (length)
        *length = SQLLEN(remaining.size());
    size_t room = size_t(bufferLength);
    if (form == Form::Wide)
        room -= room % 2;
    room = room >= terminator ? room - terminator : 0;
    size_t n = remaining.size();
    if (n > room) {
        n = form == Form::Binary || !piece.wholeCharacters
                ? room
                : EncodedPrefixLength(form == Form::Wide ? Interface::Wide : Interface::Narrow, remaining, room);
        // A buffer too small for one whole character still gets bytes, or
        // the application could never move on.
        if (n == 0)
            n = room;
    }
    if (target && size_t(bufferLength) >= terminator) {
        std::memcpy(target, remaining.data(), n);
        std::memset(static_cast<char*>(target) + n, 0, terminator);
    }
    if (n < remaining.size()) {
        piece.offset += n;
        return {Outcome::SuccessWithInfo, "01004", "String data, right truncated"};
    }
    piece.delivered = true;
    return {};
}

std::string hex(std::string_view bytes)
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

// A stored text in the narrow or the wide encoding, into the piece; the
// last text converted is remembered.  False for text that is not UTF-8.
bool encodeStored(std::string_view utf8, Form form, DataPiece& piece)
{
    if (piece.convertedForm == int(form) && piece.convertedFrom == utf8)
        return true;
    piece.converted.clear();
    bool ok = form == Form::Wide ? Utf8ToUtf16Bytes(utf8, piece.converted) : Utf8ToGbk(utf8, piece.converted);
    piece.convertedFrom.assign(ok ? utf8 : std::string_view());
    piece.convertedForm = ok ? int(form) : -1;
    return ok;
}

// The source of character data in the C type's encoding: a stored ASCII
// text goes out as it is, anything else is converted once into the piece.
std::string_view characterSource(const CellValue& v, SQLSMALLINT sqlType, Form form, DataPiece& piece)
{
    if (!piece.prepared) {
        piece.prepared = true;
        piece.invalid = false;
        piece.direct = form == Form::Narrow && v.kind == CellKind::Text && v.ascii;
        if (!piece.direct) {
            if (v.kind == CellKind::Text) {
                piece.invalid = !encodeStored(v.bytes, form, piece);
            } else {
                piece.convertedForm = -1;
                piece.converted.clear();
                if (form == Form::Wide)
                    EncodeText(Interface::Wide, ValueAsText(v, sqlType), piece.converted);
                else
                    piece.converted = ValueAsText(v, sqlType);
            }
        }
    }
    return piece.direct ? v.bytes : std::string_view(piece.converted);
}

// The room a value's narrow form can take at most, for the values that are
// written straight into the application's buffer (0 for the others): an
// integer's digits, and a text converted to GBK.  ASCII text is copied
// from the result as it is anyway.
std::size_t narrowRoomFor(const CellValue& v)
{
    if (v.kind == CellKind::Integer)
        return 20; // "-9223372036854775808"
    return v.kind == CellKind::Text && !v.ascii ? GbkRoomFor(v.bytes.size()) : 0;
}

// A value whose narrow form is sure to fit the buffer whole, terminator
// included, goes straight into it: converted once, copied never.
bool fitsNarrowWhole(const CellValue& v, SQLPOINTER target, SQLLEN bufferLength, const DataPiece& piece)
{
    std::size_t room = narrowRoomFor(v);
    return room && target && bufferLength > SQLLEN(room) && !piece.prepared && !piece.delivered && piece.offset == 0;
}

Conversion deliverNarrowWhole(const CellValue& v, SQLPOINTER target, SQLLEN* length, DataPiece& piece)
{
    piece.prepared = true;
    piece.direct = false;
    char* start = static_cast<char*>(target);
    char* end = v.kind == CellKind::Integer ? std::to_chars(start, start + 20, v.integer).ptr
                                            : Utf8ToGbkInto(v.bytes, start);
    piece.invalid = end == nullptr;
    if (piece.invalid)
        return error("22018", "Invalid character value: the stored text is not valid UTF-8");
    *end = '\0';
    if (length)
        *length = SQLLEN(end - start);
    piece.delivered = true;
    return {};
}

std::string_view binarySource(const CellValue& v, DataPiece& piece)
{
    if (!piece.prepared) {
        piece.prepared = true;
        piece.invalid = false;
        piece.direct = v.kind == CellKind::Blob || (v.kind == CellKind::Text && v.ascii);
        if (v.kind == CellKind::Text && !v.ascii) {
            // Text as bytes is the text the narrow interface would give.
            piece.invalid = !encodeStored(v.bytes, Form::Narrow, piece);
        } else if (v.kind == CellKind::Integer || v.kind == CellKind::Real) {
            // A number as binary: its bytes in the machine's order.
            piece.convertedForm = -1;
            piece.converted.assign(sizeof(std::int64_t), '\0');
            if (v.kind == CellKind::Integer)
                std::memcpy(piece.converted.data(), &v.integer, sizeof v.integer);
            else
                std::memcpy(piece.converted.data(), &v.real, sizeof v.real);
        }
    }
    return piece.direct ? v.bytes : std::string_view(piece.converted);
}

Conversion storeTimestamp(const CellValue& v, SQLSMALLINT cType, SQLPOINTER target)
{
    if (v.kind != CellKind::Text)
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

std::string ValueAsText(const CellValue& v, SQLSMALLINT sqlType)
{
    switch (v.kind) {
    case CellKind::Integer: {
        char buffer[24];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v.integer);
        return std::string(buffer, end);
    }
    case CellKind::Real:
        return formatReal(v.real, sqlType);
    case CellKind::Text:
        return std::string(v.bytes);
    case CellKind::Blob:
        return hex(v.bytes);
    case CellKind::Null:
        break;
    }
    return {};
}

namespace {

// C type codes run from -28 (SQL_C_UTINYINT) to 99 (SQL_C_DEFAULT); one
// table indexed from the lowest answers both questions below.
constexpr int kLowestCType = -28;
constexpr int kHighestCType = 99;
constexpr SQLLEN kCharacterType = -1;

constexpr std::array<SQLLEN, kHighestCType - kLowestCType + 1> makeCTypeSizes()
{
    std::array<SQLLEN, kHighestCType - kLowestCType + 1> sizes{};
    auto set = [&](int type, SQLLEN size) { sizes[std::size_t(type - kLowestCType)] = size; };
    for (int type : {SQL_C_SLONG, SQL_C_LONG, SQL_C_ULONG, SQL_C_FLOAT})
        set(type, 4);
    for (int type : {SQL_C_SSHORT, SQL_C_SHORT, SQL_C_USHORT})
        set(type, 2);
    for (int type : {SQL_C_STINYINT, SQL_C_TINYINT, SQL_C_UTINYINT, SQL_C_BIT})
        set(type, 1);
    for (int type : {SQL_C_SBIGINT, SQL_C_UBIGINT, SQL_C_DOUBLE})
        set(type, 8);
    for (int type : {SQL_C_TYPE_TIMESTAMP, SQL_C_TIMESTAMP})
        set(type, SQLLEN(sizeof(SQL_TIMESTAMP_STRUCT)));
    for (int type : {SQL_C_TYPE_DATE, SQL_C_DATE})
        set(type, SQLLEN(sizeof(SQL_DATE_STRUCT)));
    for (int type : {SQL_C_TYPE_TIME, SQL_C_TIME})
        set(type, SQLLEN(sizeof(SQL_TIME_STRUCT)));
    for (int type : {SQL_C_CHAR, SQL_C_WCHAR, SQL_C_BINARY, SQL_C_DEFAULT})
        set(type, kCharacterType);
    return sizes;
}

constexpr auto kCTypeSizes = makeCTypeSizes();

SQLLEN cTypeEntry(SQLSMALLINT cType)
{
    if (cType < kLowestCType || cType > kHighestCType)
        return 0;
    return kCTypeSizes[std::size_t(cType - kLowestCType)];
}

} // namespace

SQLLEN FixedCTypeSize(SQLSMALLINT cType)
{
    SQLLEN size = cTypeEntry(cType);
    return size > 0 ? size : 0;
}

bool IsKnownCType(SQLSMALLINT cType)
{
    return cTypeEntry(cType) != 0;
}

Conversion ConvertValue(const CellValue& v, SQLSMALLINT sqlType, SQLSMALLINT cType, SQLPOINTER target,
                        SQLLEN bufferLength, SQLLEN* length, DataPiece& piece)
{
    if (cType == SQL_C_DEFAULT)
        cType = DefaultCType(sqlType);

    if (v.kind == CellKind::Null) {
        if (piece.delivered)
            return {Outcome::NoData, nullptr, nullptr};
        if (!length)
            return error("22002", "Indicator variable required but not supplied");
        *length = SQL_NULL_DATA;
        piece.delivered = true;
        return {};
    }

    if (cType == SQL_C_CHAR && fitsNarrowWhole(v, target, bufferLength, piece))
        return deliverNarrowWhole(v, target, length, piece);
    if (cType == SQL_C_CHAR || cType == SQL_C_WCHAR || cType == SQL_C_BINARY) {
        Form form = cType == SQL_C_CHAR ? Form::Narrow : cType == SQL_C_WCHAR ? Form::Wide : Form::Binary;
        std::string_view source = form == Form::Binary ? binarySource(v, piece) : characterSource(v, sqlType, form, piece);
        if (piece.invalid)
            return error("22018", "Invalid character value: the stored text is not valid UTF-8");
        return deliverBytes(source, form, target, bufferLength, length, piece);
    }

    SQLLEN size = FixedCTypeSize(cType);
    if (size == 0)
        return error("HY003", "Invalid application buffer type");
    if (piece.delivered)
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
    piece.delivered = true;
    return result;
}

} // namespace access_odbc
