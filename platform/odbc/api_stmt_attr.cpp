// Statement attributes.  The cursor is always static and read-only; asking
// for another kind gets the nearest one this driver has, with 01S02, as
// ODBC allows.

#include "platform/odbc/handles.h"

using namespace access_odbc;

namespace {

SQLRETURN changed(Stmt& stmt, const char* what)
{
    stmt.diag.add("01S02", std::string("Option value changed: ") + what);
    return SQL_SUCCESS_WITH_INFO;
}

SQLRETURN setAttribute(Stmt& stmt, SQLINTEGER attribute, SQLPOINTER value)
{
    SQLULEN v = reinterpret_cast<SQLULEN>(value);
    switch (attribute) {
    case SQL_ATTR_QUERY_TIMEOUT: stmt.queryTimeout = v; return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS: stmt.maxRows = v; return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH: stmt.maxLength = v; return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN: stmt.noscan = v; return SQL_SUCCESS;
    case SQL_ATTR_RETRIEVE_DATA: stmt.retrieveData = v; return SQL_SUCCESS;
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
        if (v == 0)
            return stmt.diag.fail("HY024", "Invalid attribute value: row array size 0");
        stmt.rowArraySize = v;
        return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE: stmt.rowBindType = v; return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: stmt.rowBindOffset = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROWS_FETCHED_PTR: stmt.rowsFetched = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR: stmt.rowStatus = static_cast<SQLUSMALLINT*>(value); return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_TYPE:
        if (v == SQL_CURSOR_FORWARD_ONLY || v == SQL_CURSOR_STATIC) {
            stmt.cursorType = v;
            return SQL_SUCCESS;
        }
        stmt.cursorType = SQL_CURSOR_STATIC;
        return changed(stmt, "the cursor is static");
    case SQL_ATTR_CONCURRENCY:
        if (v == SQL_CONCUR_READ_ONLY)
            return SQL_SUCCESS;
        return changed(stmt, "the cursor is read-only");
    case SQL_ATTR_CURSOR_SCROLLABLE:
        if (v == SQL_SCROLLABLE && stmt.cursorType == SQL_CURSOR_FORWARD_ONLY)
            stmt.cursorType = SQL_CURSOR_STATIC;
        else if (v == SQL_NONSCROLLABLE)
            stmt.cursorType = SQL_CURSOR_FORWARD_ONLY;
        return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_SENSITIVITY:
        if (v == SQL_INSENSITIVE || v == SQL_UNSPECIFIED)
            return SQL_SUCCESS;
        return changed(stmt, "the cursor is insensitive");
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_KEYSET_SIZE:
        return SQL_SUCCESS;
    case SQL_ATTR_USE_BOOKMARKS:
        if (v != SQL_UB_OFF)
            return stmt.diag.fail("HYC00", "Optional feature not implemented: bookmarks");
        return SQL_SUCCESS;
    case SQL_ATTR_PARAMSET_SIZE:
        if (v != 1)
            return stmt.diag.fail("HYC00", "Optional feature not implemented: parameter arrays");
        return SQL_SUCCESS;
    case SQL_ATTR_PARAMS_PROCESSED_PTR: stmt.paramsProcessed = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_PARAM_STATUS_PTR: stmt.paramStatus = static_cast<SQLUSMALLINT*>(value); return SQL_SUCCESS;
    case SQL_ATTR_PARAM_BIND_TYPE: stmt.paramBindType = v; return SQL_SUCCESS;
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: stmt.paramBindOffset = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ASYNC_ENABLE:
        if (v != SQL_ASYNC_ENABLE_OFF)
            return stmt.diag.fail("HYC00", "Optional feature not implemented: asynchronous execution");
        return SQL_SUCCESS;
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
        if (v != SQL_FALSE)
            return stmt.diag.fail("HYC00", "Optional feature not implemented");
        return SQL_SUCCESS;
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
        return stmt.diag.fail("HYC00", "Optional feature not implemented: explicit descriptors");
    case SQL_ATTR_ROW_NUMBER:
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC:
        return stmt.diag.fail("HY024", "Invalid attribute value: the attribute is read-only");
    default:
        return stmt.diag.fail("HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN getAttribute(Stmt& stmt, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER* length)
{
    SQLULEN v = 0;
    SQLPOINTER p = nullptr;
    bool pointer = false;
    switch (attribute) {
    case SQL_ATTR_QUERY_TIMEOUT: v = stmt.queryTimeout; break;
    case SQL_ATTR_MAX_ROWS: v = stmt.maxRows; break;
    case SQL_ATTR_MAX_LENGTH: v = stmt.maxLength; break;
    case SQL_ATTR_NOSCAN: v = stmt.noscan; break;
    case SQL_ATTR_RETRIEVE_DATA: v = stmt.retrieveData; break;
    case SQL_ATTR_ROW_ARRAY_SIZE: case SQL_ROWSET_SIZE: v = stmt.rowArraySize; break;
    case SQL_ATTR_ROW_BIND_TYPE: v = stmt.rowBindType; break;
    case SQL_ATTR_CURSOR_TYPE: v = stmt.cursorType; break;
    case SQL_ATTR_CONCURRENCY: v = SQL_CONCUR_READ_ONLY; break;
    case SQL_ATTR_CURSOR_SCROLLABLE:
        v = stmt.cursorType == SQL_CURSOR_FORWARD_ONLY ? SQL_NONSCROLLABLE : SQL_SCROLLABLE;
        break;
    case SQL_ATTR_CURSOR_SENSITIVITY: v = SQL_INSENSITIVE; break;
    case SQL_ATTR_SIMULATE_CURSOR: v = SQL_SC_UNIQUE; break;
    case SQL_ATTR_KEYSET_SIZE: v = 0; break;
    case SQL_ATTR_USE_BOOKMARKS: v = SQL_UB_OFF; break;
    case SQL_ATTR_PARAMSET_SIZE: v = 1; break;
    case SQL_ATTR_PARAM_BIND_TYPE: v = stmt.paramBindType; break;
    case SQL_ATTR_ASYNC_ENABLE: v = SQL_ASYNC_ENABLE_OFF; break;
    case SQL_ATTR_ENABLE_AUTO_IPD: case SQL_ATTR_METADATA_ID: v = SQL_FALSE; break;
    case SQL_ATTR_ROW_NUMBER:
        if (!stmt.cursorOpen || stmt.position < 1 || stmt.position > SQLLEN(stmt.result.rowCount()))
            v = 0;
        else
            v = SQLULEN(stmt.position);
        break;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: pointer = true; p = stmt.rowBindOffset; break;
    case SQL_ATTR_ROWS_FETCHED_PTR: pointer = true; p = stmt.rowsFetched; break;
    case SQL_ATTR_ROW_STATUS_PTR: pointer = true; p = stmt.rowStatus; break;
    case SQL_ATTR_PARAMS_PROCESSED_PTR: pointer = true; p = stmt.paramsProcessed; break;
    case SQL_ATTR_PARAM_STATUS_PTR: pointer = true; p = stmt.paramStatus; break;
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: pointer = true; p = stmt.paramBindOffset; break;
    case SQL_ATTR_APP_ROW_DESC: pointer = true; p = &stmt.descriptors[0]; break;
    case SQL_ATTR_APP_PARAM_DESC: pointer = true; p = &stmt.descriptors[1]; break;
    case SQL_ATTR_IMP_ROW_DESC: pointer = true; p = &stmt.descriptors[2]; break;
    case SQL_ATTR_IMP_PARAM_DESC: pointer = true; p = &stmt.descriptors[3]; break;
    default:
        return stmt.diag.fail("HY092", "Invalid attribute/option identifier");
    }
    if (!value)
        return SQL_SUCCESS;
    if (pointer) {
        *static_cast<SQLPOINTER*>(value) = p;
        if (length)
            *length = sizeof(SQLPOINTER);
    } else {
        *static_cast<SQLULEN*>(value) = v;
        if (length)
            *length = sizeof(SQLULEN);
    }
    return SQL_SUCCESS;
}

} // namespace

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return setAttribute(*stmt, attribute, value);
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                 SQLINTEGER* length)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return getAttribute(*stmt, attribute, value, length);
}
