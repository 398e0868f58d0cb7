// Conversion of a stored value to the C type an application asks for in
// SQLGetData or SQLBindCol, with the piecewise delivery of long character
// and binary data.
#pragma once

#include "platform/odbc/value.h"

#include "platform/odbc/odbc_api.h"

#include <string>

namespace access_odbc {

struct Conversion {
    enum class Outcome { Success, SuccessWithInfo, NoData, Error };
    Outcome outcome = Outcome::Success;
    const char* state = nullptr; // SQLSTATE for SuccessWithInfo and Error
    const char* message = nullptr;
};

// `offset` is where the previous piece of this value ended (0 before the
// first call); it is advanced as pieces are delivered.  Fixed-size targets
// are delivered once; a further call gives NoData, as ODBC asks.  `sqlType`
// is the column's type (it decides what SQL_C_DEFAULT means and how a real
// is written as text).
Conversion ConvertValue(const Value& value, SQLSMALLINT sqlType, SQLSMALLINT cType,
                        SQLPOINTER target, SQLLEN bufferLength, SQLLEN* length, size_t& offset);

// The value as the text SQL_C_CHAR would deliver (GBK).
std::string ValueAsText(const Value& value, SQLSMALLINT sqlType);

// Size of the fixed C types; 0 for character and binary ones and unknown.
SQLLEN FixedCTypeSize(SQLSMALLINT cType);

// "YYYY-MM-DD HH:MM:SS[.fraction]", "YYYY-MM-DD" or "HH:MM:SS".
bool ParseTimestamp(const std::string& text, SQL_TIMESTAMP_STRUCT& out);
std::string FormatTimestamp(const SQL_TIMESTAMP_STRUCT& ts);

} // namespace access_odbc
