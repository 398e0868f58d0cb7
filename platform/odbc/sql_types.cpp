#include "platform/odbc/sql_types.h"

#include <cctype>
#include <cstdlib>

namespace access_odbc {
namespace {

struct NamedType {
    const char* name;
    SQLSMALLINT type;
    SQLULEN size;
    bool sized; // "(n)" sets the size
};

// Access's names first, then the ones SQLite schemas commonly use.
constexpr NamedType kNamedTypes[] = {
    {"INTEGER", SQL_INTEGER, 10, false},
    {"INT", SQL_INTEGER, 10, false},
    {"LONG", SQL_INTEGER, 10, false},
    {"COUNTER", SQL_INTEGER, 10, false},
    {"AUTOINCREMENT", SQL_INTEGER, 10, false},
    {"INTEGER4", SQL_INTEGER, 10, false},
    {"BIGINT", SQL_BIGINT, 19, false},
    {"SMALLINT", SQL_SMALLINT, 5, false},
    {"SHORT", SQL_SMALLINT, 5, false},
    {"INTEGER2", SQL_SMALLINT, 5, false},
    {"TINYINT", SQL_TINYINT, 3, false},
    {"BYTE", SQL_TINYINT, 3, false},
    {"INTEGER1", SQL_TINYINT, 3, false},
    {"BIT", SQL_BIT, 1, false},
    {"YESNO", SQL_BIT, 1, false},
    {"LOGICAL", SQL_BIT, 1, false},
    {"BOOLEAN", SQL_BIT, 1, false},
    {"REAL", SQL_REAL, 7, false},
    {"SINGLE", SQL_REAL, 7, false},
    {"FLOAT4", SQL_REAL, 7, false},
    {"FLOAT", SQL_DOUBLE, 15, false},
    {"DOUBLE", SQL_DOUBLE, 15, false},
    {"FLOAT8", SQL_DOUBLE, 15, false},
    {"NUMBER", SQL_DOUBLE, 15, false},
    {"CURRENCY", SQL_DOUBLE, 15, false},
    {"MONEY", SQL_DOUBLE, 15, false},
    {"DECIMAL", SQL_DOUBLE, 15, false},
    {"NUMERIC", SQL_DOUBLE, 15, false},
    {"DATETIME", SQL_TYPE_TIMESTAMP, 19, false},
    {"DATE", SQL_TYPE_TIMESTAMP, 19, false},
    {"TIME", SQL_TYPE_TIMESTAMP, 19, false},
    {"TIMESTAMP", SQL_TYPE_TIMESTAMP, 19, false},
    {"VARCHAR", SQL_VARCHAR, 255, true},
    {"CHAR", SQL_VARCHAR, 255, true},
    {"TEXT", SQL_VARCHAR, 255, true},
    {"NVARCHAR", SQL_VARCHAR, 255, true},
    {"NCHAR", SQL_VARCHAR, 255, true},
    {"STRING", SQL_VARCHAR, 255, true},
    {"ALPHANUMERIC", SQL_VARCHAR, 255, true},
    {"CHARACTER", SQL_VARCHAR, 255, true},
    {"LONGTEXT", SQL_LONGVARCHAR, kLongSize, false},
    {"LONGCHAR", SQL_LONGVARCHAR, kLongSize, false},
    {"MEMO", SQL_LONGVARCHAR, kLongSize, false},
    {"NOTE", SQL_LONGVARCHAR, kLongSize, false},
    {"NTEXT", SQL_LONGVARCHAR, kLongSize, false},
    {"CLOB", SQL_LONGVARCHAR, kLongSize, false},
    {"BINARY", SQL_VARBINARY, 510, true},
    {"VARBINARY", SQL_VARBINARY, 510, true},
    {"LONGBINARY", SQL_LONGVARBINARY, kLongSize, false},
    {"OLEOBJECT", SQL_LONGVARBINARY, kLongSize, false},
    {"IMAGE", SQL_LONGVARBINARY, kLongSize, false},
    {"BLOB", SQL_LONGVARBINARY, kLongSize, false},
    {"GENERAL", SQL_LONGVARBINARY, kLongSize, false},
};

std::string upper(std::string_view s)
{
    std::string out;
    for (char c : s)
        out += char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

SqlTypeInfo TypeFromDeclaration(std::string_view declared)
{
    std::string text = upper(declared);
    size_t paren = text.find('(');
    std::string base = text.substr(0, paren);
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    while (!base.empty() && base.front() == ' ')
        base.erase(0, 1);
    if (base.empty())
        return {};
    long size = 0;
    if (paren != std::string::npos)
        size = std::strtol(text.c_str() + paren + 1, nullptr, 10);

    // "CHARACTER VARYING", "DOUBLE PRECISION" and the like: the first word.
    std::string firstWord = base.substr(0, base.find(' '));
    for (const std::string& name : {base, firstWord}) {
        for (const NamedType& t : kNamedTypes) {
            if (name != t.name)
                continue;
            SqlTypeInfo info{t.type, t.size, 0, true};
            if (t.sized && size > 0)
                info.size = SQLULEN(size);
            return info;
        }
    }

    // SQLite's affinity rules, in its order.
    auto has = [&](const char* part) { return base.find(part) != std::string::npos; };
    if (has("INT"))
        return {SQL_INTEGER, 10, 0, true};
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return {SQL_VARCHAR, size > 0 ? SQLULEN(size) : kShortTextLimit, 0, true};
    if (has("BLOB"))
        return {SQL_LONGVARBINARY, kLongSize, 0, true};
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return {SQL_DOUBLE, 15, 0, true};
    return {}; // NUMERIC affinity: the values decide
}

SqlTypeInfo TypeFromValues(const ValueSurvey& s)
{
    if (s.anyText) {
        if (s.longestText > kShortTextLimit)
            return {SQL_LONGVARCHAR, kLongSize, 0, false};
        return {SQL_VARCHAR, s.longestText > 0 ? s.longestText : 1, 0, false};
    }
    if (s.anyBlob)
        return {SQL_LONGVARBINARY, kLongSize, 0, false};
    if (s.anyReal)
        return {SQL_DOUBLE, 15, 0, false};
    if (s.anyInteger)
        return s.wideInteger ? SqlTypeInfo{SQL_BIGINT, 19, 0, false} : SqlTypeInfo{SQL_INTEGER, 10, 0, false};
    return {SQL_VARCHAR, kShortTextLimit, 0, false};
}

const char* TypeName(SQLSMALLINT type)
{
    switch (NarrowType(type)) {
    case SQL_INTEGER: return "INTEGER";
    case SQL_BIGINT: return "BIGINT";
    case SQL_SMALLINT: return "SMALLINT";
    case SQL_TINYINT: return "BYTE";
    case SQL_BIT: return "BIT";
    case SQL_REAL: return "REAL";
    case SQL_DOUBLE: return "DOUBLE";
    case SQL_TYPE_TIMESTAMP: return "DATETIME";
    case SQL_VARCHAR: return "VARCHAR";
    case SQL_LONGVARCHAR: return "LONGCHAR";
    case SQL_VARBINARY: return "VARBINARY";
    case SQL_LONGVARBINARY: return "LONGBINARY";
    default: return "VARCHAR";
    }
}

SQLLEN DisplaySize(const SqlTypeInfo& info)
{
    switch (info.type) {
    case SQL_INTEGER: return 11;
    case SQL_BIGINT: return 20;
    case SQL_SMALLINT: return 6;
    case SQL_TINYINT: return 3;
    case SQL_BIT: return 1;
    case SQL_REAL: return 14;
    case SQL_DOUBLE: return 24;
    case SQL_TYPE_TIMESTAMP: return 19;
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return SQLLEN(info.size >= kLongSize ? kLongSize : info.size * 2);
    default: return SQLLEN(info.size);
    }
}

SQLLEN OctetLength(const SqlTypeInfo& info)
{
    switch (info.type) {
    case SQL_INTEGER: return 4;
    case SQL_BIGINT: return 8;
    case SQL_SMALLINT: return 2;
    case SQL_TINYINT: return 1;
    case SQL_BIT: return 1;
    case SQL_REAL: return 4;
    case SQL_DOUBLE: return 8;
    case SQL_TYPE_TIMESTAMP: return 16;
    default: return SQLLEN(info.size);
    }
}

bool IsCharacterType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR:
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR:
        return true;
    default:
        return false;
    }
}

SQLSMALLINT WideType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_CHAR: return SQL_WCHAR;
    case SQL_VARCHAR: return SQL_WVARCHAR;
    case SQL_LONGVARCHAR: return SQL_WLONGVARCHAR;
    default: return type;
    }
}

SQLSMALLINT NarrowType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_WCHAR: return SQL_CHAR;
    case SQL_WVARCHAR: return SQL_VARCHAR;
    case SQL_WLONGVARCHAR: return SQL_LONGVARCHAR;
    default: return type;
    }
}

bool IsBinaryType(SQLSMALLINT type)
{
    return type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;
}

bool IsNumericType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_INTEGER: case SQL_BIGINT: case SQL_SMALLINT: case SQL_TINYINT:
    case SQL_BIT: case SQL_REAL: case SQL_DOUBLE: case SQL_FLOAT: case SQL_NUMERIC: case SQL_DECIMAL:
        return true;
    default:
        return false;
    }
}

SQLSMALLINT DefaultCType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER: return SQL_C_SLONG;
    case SQL_BIGINT: return SQL_C_SBIGINT;
    case SQL_SMALLINT: return SQL_C_SSHORT;
    case SQL_TINYINT: return SQL_C_UTINYINT;
    case SQL_BIT: return SQL_C_BIT;
    case SQL_REAL: return SQL_C_FLOAT;
    case SQL_DOUBLE: case SQL_FLOAT: return SQL_C_DOUBLE;
    case SQL_TYPE_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    case SQL_VARBINARY: case SQL_LONGVARBINARY: case SQL_BINARY: return SQL_C_BINARY;
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR: return SQL_C_WCHAR;
    default: return SQL_C_CHAR;
    }
}

} // namespace access_odbc
