// Reading a column of the current row: SQLGetData in the C type that
// matches the column's SQL type, and when that yields nothing, the
// column's bound text read by its SQL type.

#include "db/connection.h"
#include "db/date_time.h"
#include "db/engine_entries.h"
#include "db/result_set.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace db {
namespace {

enum class Kind { Logical, Byte, Short, Integer, Real32, Real64, Date, Time, Timestamp, Bytes, Text };

struct TypeRule {
    SQLSMALLINT sqlType;
    Kind kind;
};

// Types not listed read as text.
constexpr TypeRule kTypeRules[] = {
    {SQL_BIT, Kind::Logical},
    {SQL_TINYINT, Kind::Byte},
    {SQL_SMALLINT, Kind::Short},
    {SQL_INTEGER, Kind::Integer},
    {SQL_REAL, Kind::Real32},
    {SQL_FLOAT, Kind::Real64},
    {SQL_DOUBLE, Kind::Real64},
    {SQL_DATE, Kind::Date},
    {SQL_TYPE_DATE, Kind::Date},
    {SQL_TIME, Kind::Time},
    {SQL_TYPE_TIME, Kind::Time},
    {SQL_TIMESTAMP, Kind::Timestamp},
    {SQL_TYPE_TIMESTAMP, Kind::Timestamp},
    {SQL_BINARY, Kind::Bytes},
    {SQL_VARBINARY, Kind::Bytes},
    {SQL_LONGVARBINARY, Kind::Bytes},
};

Kind kindOf(SQLSMALLINT sqlType)
{
    for (const TypeRule& r : kTypeRules)
        if (r.sqlType == sqlType)
            return r.kind;
    return Kind::Text;
}

enum class Got { Value, Null, Nothing };

// One fixed-size value.
template<typename T>
Got getFixed(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType, T& out)
{
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(stmt, column, cType, &out, sizeof out, &indicator);
    if (!Succeeded(rc))
        return Got::Nothing;
    return indicator == SQL_NULL_DATA ? Got::Null : Got::Value;
}

// Character or binary data in pieces until the driver has handed over
// all of it, into the set's scratch buffer.  Most values are short, so the
// first piece is small; after it the driver says how much is left, and the
// next piece takes all of that.
Got getPieces(ResultSet& rs, SQLUSMALLINT column, SQLSMALLINT cType, std::string_view& out)
{
    constexpr SQLLEN kFirstPiece = 1024;
    constexpr SQLLEN kUnknownPiece = 64 * 1024;
    const SQLLEN terminator = cType == SQL_C_CHAR ? 1 : 0;
    SQLLEN piece = kFirstPiece;
    std::size_t used = 0;
    out = {};
    for (bool first = true;; first = false) {
        char* buffer = rs.scratchFor(used + std::size_t(piece), used);
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(rs.stmt, column, cType, buffer + used, piece, &indicator);
        if (rc == SQL_NO_DATA) {
            out = std::string_view(buffer, used);
            return first ? Got::Nothing : Got::Value;
        }
        if (!Succeeded(rc) || indicator == SQL_NULL_DATA)
            return Succeeded(rc) ? Got::Null : Got::Nothing;
        // A full piece when the indicator tells more is left than fits;
        // a piece may also stop short of the buffer's end, at a character
        // boundary, so what arrived is measured.
        SQLLEN room = piece - terminator;
        bool more = indicator == SQL_NO_TOTAL || indicator > room;
        std::size_t arrived = !more ? std::size_t(indicator)
                              : terminator ? std::strlen(buffer + used)
                                           : std::size_t(room);
        used += arrived;
        if (rc == SQL_SUCCESS) {
            out = std::string_view(buffer, used);
            return Got::Value;
        }
        piece = !more ? kFirstPiece : indicator == SQL_NO_TOTAL ? kUnknownPiece : indicator - SQLLEN(arrived) + terminator;
        if (piece <= terminator)
            piece = kFirstPiece;
    }
}

Got getValue(ResultSet& rs, std::size_t index, ColumnValue& v)
{
    auto column = SQLUSMALLINT(index + 1);
    SQLHSTMT stmt = rs.stmt;
    std::string_view data;
    Got got = Got::Nothing;
    switch (kindOf(rs.columns[index].sqlType)) {
    case Kind::Logical: {
        unsigned char b = 0;
        if ((got = getFixed(stmt, column, SQL_C_BIT, b)) == Got::Value)
            v.setLogical(b != 0);
        break;
    }
    case Kind::Byte: {
        unsigned char b = 0;
        if ((got = getFixed(stmt, column, SQL_C_UTINYINT, b)) == Got::Value)
            v.setByte(b);
        break;
    }
    case Kind::Short: {
        SQLSMALLINT s = 0;
        if ((got = getFixed(stmt, column, SQL_C_SSHORT, s)) == Got::Value)
            v.setShort(s);
        break;
    }
    case Kind::Integer: {
        SQLINTEGER i = 0;
        if ((got = getFixed(stmt, column, SQL_C_SLONG, i)) == Got::Value)
            v.setInteger(i);
        break;
    }
    case Kind::Real32: {
        SQLREAL f = 0;
        if ((got = getFixed(stmt, column, SQL_C_FLOAT, f)) == Got::Value)
            v.setReal32(f);
        break;
    }
    case Kind::Real64: {
        SQLDOUBLE d = 0;
        if ((got = getFixed(stmt, column, SQL_C_DOUBLE, d)) == Got::Value)
            v.setReal64(d);
        break;
    }
    case Kind::Date: {
        SQL_DATE_STRUCT d{};
        if ((got = getFixed(stmt, column, SQL_C_TYPE_DATE, d)) == Got::Value)
            v.setDateTime(ClampedDays(d.year, d.month, d.day, 0, 0, 0, 0));
        break;
    }
    case Kind::Time: {
        SQL_TIME_STRUCT t{};
        if ((got = getFixed(stmt, column, SQL_C_TYPE_TIME, t)) == Got::Value)
            v.setDateTime(ClampedDays(1899, 12, 30, t.hour, t.minute, t.second, 0));
        break;
    }
    case Kind::Timestamp: {
        SQL_TIMESTAMP_STRUCT t{};
        if ((got = getFixed(stmt, column, SQL_C_TYPE_TIMESTAMP, t)) == Got::Value)
            v.setDateTime(ClampedDays(t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction));
        break;
    }
    case Kind::Bytes:
        if ((got = getPieces(rs, column, SQL_C_BINARY, data)) == Got::Value)
            v.setBytes({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
        break;
    case Kind::Text:
        if ((got = getPieces(rs, column, SQL_C_CHAR, data)) == Got::Value)
            v.setText(data);
        break;
    }
    return got;
}

template<typename T>
T parseNumber(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value{};
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A NULL or unreadable value: the bound text read by the column's type.
void fromBoundText(const ResultColumn& col, ColumnValue& v)
{
    std::string_view text = col.boundText();
    switch (col.sqlType) {
    case SQL_INTEGER: v.setInteger(parseNumber<std::int32_t>(text)); break;
    case SQL_SMALLINT: v.setShort(parseNumber<std::int16_t>(text)); break;
    case SQL_TINYINT: v.setByte(std::uint8_t(parseNumber<std::int32_t>(text))); break;
    case SQL_BIT: v.setLogical(parseNumber<std::int32_t>(text) != 0); break;
    case SQL_REAL: v.setReal32(parseNumber<float>(text)); break;
    case SQL_FLOAT:
    case SQL_DOUBLE: v.setReal64(parseNumber<double>(text)); break;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: v.setBytes({}); break;
    default: v.setText(text); break;
    }
}

bool readColumn(ResultSet* rs, std::int32_t position, ColumnValue* value)
{
    if (!value)
        return false;
    value->clear();
    if (!rs || position < 0 || std::size_t(position) >= rs->columns.size())
        return false;
    auto index = std::size_t(position);
    Got got = rs->onRow() ? getValue(*rs, index, *value) : Got::Nothing;
    if (got == Got::Nothing && rs->onRow() && !rs->columns[index].bound &&
        Succeeded(UntilDone([&] { return SQLFetchScroll(rs->stmt, SQL_FETCH_RELATIVE, 0); }))) {
        // A long column read once already on this row: fetching the row
        // again lets it be read from its start.
        got = getValue(*rs, index, *value);
    }
    if (got != Got::Value)
        fromBoundText(rs->columns[index], *value);
    return value->code != ValueCode::None;
}

} // namespace

namespace entries {

bool ReadColByIndex(Connection* c, ResultSetHandle handle, std::int32_t position, ColumnValue* value)
{
    return readColumn(FindResultSet(c, handle), position, value);
}

bool ReadColByName(Connection* c, ResultSetHandle handle, const char* name, ColumnValue* value)
{
    ResultSet* rs = FindResultSet(c, handle);
    int position = rs && name ? ColumnPosition(*rs, name) : -1;
    if (position < 0) {
        EmptyVar(value);
        return false;
    }
    return readColumn(rs, position, value);
}

} // namespace entries
} // namespace db
