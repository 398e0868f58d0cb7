// Conversion of a stored value to the C type an application asks for in
// SQLGetData or SQLBindCol, with the piecewise delivery of long character
// and binary data.  Character data is delivered in the encoding of its C
// type: SQL_C_CHAR in GBK, SQL_C_WCHAR in UTF-16, whichever interface the
// application called.
#pragma once

#include "platform/odbc/result_table.h"

#include "platform/odbc/odbc_api.h"

#include <cstddef>
#include <string>

namespace access_odbc {

struct Conversion {
    enum class Outcome { Success, SuccessWithInfo, NoData, Error };
    Outcome outcome = Outcome::Success;
    const char* state = nullptr; // SQLSTATE for SuccessWithInfo and Error
    const char* message = nullptr;
};

// SQLGetData's place in one value.  The converted form of character data
// is kept between pieces so a long value is converted once, and its
// storage is reused from value to value.
struct DataPiece {
    // Pieces of character data end between characters (a GBK pair, a
    // GB18030 quadruple, a UTF-16 surrogate pair kept whole) instead of
    // filling the buffer as ODBC prescribes.  Clients that count a
    // truncated piece as a full buffer, as pyodbc does, need it off.
    bool wholeCharacters = false;
    std::size_t offset = 0;  // bytes of the delivered form handed out so far
    bool delivered = false;  // the whole value (or a fixed-size one) is out
    bool prepared = false;   // `converted` (or the direct source) is ready
    bool direct = false;     // the source bytes are delivered as they are
    bool invalid = false;    // the stored text is not UTF-8 and converts to nothing
    std::string converted;
    // The text `converted` was made from, and in which form: a column often
    // holds the same text row after row (a category's name), converted
    // once.
    std::string convertedFrom;
    int convertedForm = -1;

    void reset()
    {
        offset = 0;
        delivered = prepared = direct = false;
    }
};

// `piece` says where the previous call for this value ended; fixed-size
// targets are delivered once and a further call gives NoData, as ODBC
// asks.  `sqlType` is the column's type: it decides what SQL_C_DEFAULT
// means and how a real is written as text.
Conversion ConvertValue(const CellValue& value, SQLSMALLINT sqlType, SQLSMALLINT cType, SQLPOINTER target,
                        SQLLEN bufferLength, SQLLEN* length, DataPiece& piece);

// The value as text (UTF-8): numbers in decimal, blobs in hex.
std::string ValueAsText(const CellValue& value, SQLSMALLINT sqlType);

// Size of the fixed C types; 0 for character and binary ones and unknown.
SQLLEN FixedCTypeSize(SQLSMALLINT cType);
// True for the C types the driver converts to: the fixed ones, SQL_C_CHAR,
// SQL_C_WCHAR, SQL_C_BINARY and SQL_C_DEFAULT.
bool IsKnownCType(SQLSMALLINT cType);

// "YYYY-MM-DD HH:MM:SS[.fraction]", "YYYY-MM-DD" or "HH:MM:SS".
bool ParseTimestamp(const std::string& text, SQL_TIMESTAMP_STRUCT& out);
std::string FormatTimestamp(const SQL_TIMESTAMP_STRUCT& ts);

} // namespace access_odbc
