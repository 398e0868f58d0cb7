// SQLGetDiagRec, SQLGetDiagField and SQLError over the records of any
// handle, in both interfaces.  The records hold UTF-8; each interface
// gets them in its own encoding.

#include "platform/odbc/handles.h"

#include <cstring>

using namespace access_odbc;

namespace {

// The handle's records, or null for an invalid handle.  Reading them needs
// no lock of the connection's: ODBC allows reading diagnostics only from
// the thread that made them.
Diagnostics* diagnosticsOf(SQLSMALLINT type, SQLHANDLE handle, Stmt** stmtOut = nullptr)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        if (Env* env = As<Env>(handle))
            return &env->diag;
        return nullptr;
    case SQL_HANDLE_DBC:
        if (Dbc* dbc = As<Dbc>(handle))
            return &dbc->diag;
        return nullptr;
    case SQL_HANDLE_STMT:
        if (Stmt* stmt = As<Stmt>(handle)) {
            if (stmtOut)
                *stmtOut = stmt;
            return &stmt->diag;
        }
        return nullptr;
    default:
        return nullptr;
    }
}

// The five characters of a state and its terminator, in the interface's
// units.
void copyState(Interface i, const std::string& state, SQLPOINTER out)
{
    if (!out)
        return;
    CopyOut(i, state, out, 6, Counted::Units, static_cast<SQLLEN*>(nullptr));
}

SQLRETURN diagRecord(Interface i, SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLPOINTER state,
                     SQLINTEGER* native, SQLPOINTER message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Diagnostics* diag = diagnosticsOf(type, handle);
    if (!diag)
        return SQL_INVALID_HANDLE;
    if (number < 1 || bufferLength < 0)
        return SQL_ERROR;
    if (size_t(number) > diag->records.size())
        return SQL_NO_DATA;
    const DiagRecord& r = diag->records[size_t(number - 1)];
    copyState(i, r.state, state);
    if (native)
        *native = r.native;
    return CopyOut(i, r.message, message, bufferLength, Counted::Units, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN diagField(Interface i, SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLSMALLINT field,
                    SQLPOINTER info, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Stmt* stmt = nullptr;
    Diagnostics* diag = diagnosticsOf(type, handle, &stmt);
    if (!diag)
        return SQL_INVALID_HANDLE;
    auto integer = [&](SQLINTEGER v) {
        if (info)
            *static_cast<SQLINTEGER*>(info) = v;
        return SQL_SUCCESS;
    };
    auto text = [&](const std::string& s) -> SQLRETURN {
        return CopyOut(i, s, info, bufferLength, Counted::Bytes, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
    };
    // Header fields.
    switch (field) {
    case SQL_DIAG_NUMBER:
        return integer(SQLINTEGER(diag->records.size()));
    case SQL_DIAG_RETURNCODE:
        if (info)
            *static_cast<SQLRETURN*>(info) = diag->lastReturn;
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT:
        if (!stmt)
            return SQL_ERROR;
        if (info)
            *static_cast<SQLLEN*>(info) = stmt->rowCount;
        return SQL_SUCCESS;
    case SQL_DIAG_DYNAMIC_FUNCTION:
        return stmt ? text("") : SQL_ERROR;
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        return stmt ? integer(SQL_DIAG_UNKNOWN_STATEMENT) : SQL_ERROR;
    default:
        break;
    }
    // Record fields.
    if (number < 1)
        return SQL_ERROR;
    if (size_t(number) > diag->records.size())
        return SQL_NO_DATA;
    const DiagRecord& r = diag->records[size_t(number - 1)];
    switch (field) {
    case SQL_DIAG_SQLSTATE: return text(r.state);
    case SQL_DIAG_NATIVE: return integer(r.native);
    case SQL_DIAG_MESSAGE_TEXT: return text(r.message);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
        // "ISO 9075" for the standard's classes; "ODBC 3.0" for ODBC's own.
        return text(r.state.starts_with("IM") || r.state.starts_with("HY") || r.state.starts_with("01S")
                            || r.state.starts_with("07S") || r.state.starts_with("08S")
                            || r.state.starts_with("21S") || r.state.starts_with("42S")
                        ? "ODBC 3.0"
                        : "ISO 9075");
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return text("");
    case SQL_DIAG_ROW_NUMBER:
        if (info)
            *static_cast<SQLLEN*>(info) = SQL_ROW_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
        return integer(SQL_COLUMN_NUMBER_UNKNOWN);
    default:
        return SQL_ERROR;
    }
}

// The ODBC 2 form: hands out the oldest record and removes it.
SQLRETURN oldestError(Interface i, SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLPOINTER state, SQLINTEGER* native,
                      SQLPOINTER message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Diagnostics* diag = stmt ? diagnosticsOf(SQL_HANDLE_STMT, stmt)
                      : dbc  ? diagnosticsOf(SQL_HANDLE_DBC, dbc)
                             : diagnosticsOf(SQL_HANDLE_ENV, env);
    if (!diag)
        return SQL_INVALID_HANDLE;
    if (diag->records.empty())
        return SQL_NO_DATA;
    DiagRecord r = diag->records.front();
    diag->records.erase(diag->records.begin());
    copyState(i, r.state, state);
    if (native)
        *native = r.native;
    return CopyOut(i, r.message, message, bufferLength, Counted::Units, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

} // namespace

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLCHAR* state,
                                SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return diagRecord(Interface::Narrow, type, handle, number, state, native, message, bufferLength, length);
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLWCHAR* state,
                                 SQLINTEGER* native, SQLWCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return diagRecord(Interface::Wide, type, handle, number, state, native, message, bufferLength, length);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLSMALLINT field,
                                  SQLPOINTER info, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return diagField(Interface::Narrow, type, handle, number, field, info, bufferLength, length);
}

SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLSMALLINT field,
                                   SQLPOINTER info, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return diagField(Interface::Wide, type, handle, number, field, info, bufferLength, length);
}

SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native,
                           SQLCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return oldestError(Interface::Narrow, env, dbc, stmt, state, native, message, bufferLength, length);
}

SQLRETURN SQL_API SQLErrorW(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLWCHAR* state, SQLINTEGER* native,
                            SQLWCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return oldestError(Interface::Wide, env, dbc, stmt, state, native, message, bufferLength, length);
}
