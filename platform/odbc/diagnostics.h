// Diagnostic records of a handle: cleared when a function starts on the
// handle, read back with SQLGetDiagRec and SQLGetDiagField.
#pragma once

#include "platform/odbc/odbc_api.h"

#include <string>
#include <vector>

struct sqlite3;

namespace access_odbc {

struct DiagRecord {
    std::string state;   // five characters
    SQLINTEGER native = 0;
    std::string message; // UTF-8, with the driver's prefix
};

struct Diagnostics {
    std::vector<DiagRecord> records;
    SQLRETURN lastReturn = SQL_SUCCESS;

    void clear() { records.clear(); lastReturn = SQL_SUCCESS; }
    // `message` is UTF-8.
    void add(const char* state, const std::string& message, SQLINTEGER native = 0);
    // Add a record and give SQL_ERROR.
    SQLRETURN fail(const char* state, const std::string& message, SQLINTEGER native = 0)
    {
        add(state, message, native);
        lastReturn = SQL_ERROR;
        return SQL_ERROR;
    }
};

// The SQLSTATE for an SQLite result code and message.
const char* StateForSqlite(int code, const char* message);

// A record for the connection's last SQLite error; gives SQL_ERROR.
// `timedOut` turns an interrupted or busy result into HYT00.
SQLRETURN FailFromSqlite(Diagnostics& diag, sqlite3* db, int code, bool timedOut = false);

} // namespace access_odbc
