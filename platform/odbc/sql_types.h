// SQL types as an Access driver reports them, derived from a column's
// declared type in the schema or, for expressions, from the values the
// result holds.
#pragma once

#include "platform/odbc/odbc_api.h"

#include <string>
#include <string_view>

namespace access_odbc {

struct SqlTypeInfo {
    SQLSMALLINT type = SQL_VARCHAR;
    SQLULEN size = 255;        // column size: characters, digits or bytes
    SQLSMALLINT digits = 0;    // decimal digits
    bool known = false;        // false: no declared type it recognised
};

// Access's type names and SQLite's common ones: "VARCHAR(40)" gives
// SQL_VARCHAR of 40, "MEMO" SQL_LONGVARCHAR, "COUNTER" SQL_INTEGER.  A name
// it does not know falls back on SQLite's affinity rules; an empty name
// leaves `known` false.
SqlTypeInfo TypeFromDeclaration(std::string_view declared);

// What the values of an undeclared column look like, gathered row by row.
struct ValueSurvey {
    bool anyInteger = false, wideInteger = false, anyReal = false, anyText = false, anyBlob = false;
    size_t longestText = 0; // GBK bytes
    size_t longestBlob = 0;
};
SqlTypeInfo TypeFromValues(const ValueSurvey& survey);

// Size limits of the long types.
constexpr SQLULEN kLongSize = 1073741823;
constexpr SQLULEN kShortTextLimit = 255;

// Name, display size, octet length, radix and signedness of a type, for
// SQLColAttribute and SQLGetTypeInfo.
const char* TypeName(SQLSMALLINT type);
SQLLEN DisplaySize(const SqlTypeInfo& info);
SQLLEN OctetLength(const SqlTypeInfo& info);
bool IsCharacterType(SQLSMALLINT type);
bool IsBinaryType(SQLSMALLINT type);
bool IsNumericType(SQLSMALLINT type);
SQLSMALLINT DefaultCType(SQLSMALLINT sqlType);
// The wide character type of a narrow one (SQL_VARCHAR -> SQL_WVARCHAR),
// and back; other types stay as they are.
SQLSMALLINT WideType(SQLSMALLINT type);
SQLSMALLINT NarrowType(SQLSMALLINT type);

} // namespace access_odbc
