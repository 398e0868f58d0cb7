// Preparing and executing statements, and the statement's life cycle.  A
// query's whole result is read into the statement when it executes: the
// cursor is static, every scroll direction is a matter of moving an index,
// and the SQLite statement is reset at once so no read transaction stays
// open longer than the statement.

#include "platform/odbc/gbk.h"
#include "platform/odbc/handles.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sqlite3.h>
#include <strings.h>

using namespace access_odbc;

namespace {

bool startsWithKeyword(const char* sql, const char* keyword)
{
    // Skip white space and comments before the first word.
    for (;;) {
        while (*sql == ' ' || *sql == '\t' || *sql == '\r' || *sql == '\n' || *sql == '(')
            ++sql;
        if (sql[0] == '-' && sql[1] == '-') {
            while (*sql && *sql != '\n')
                ++sql;
            continue;
        }
        if (sql[0] == '/' && sql[1] == '*') {
            const char* end = std::strstr(sql + 2, "*/");
            sql = end ? end + 2 : sql + std::strlen(sql);
            continue;
        }
        break;
    }
    size_t n = std::strlen(keyword);
    return strncasecmp(sql, keyword, n) == 0 && !(std::isalnum(static_cast<unsigned char>(sql[n])) || sql[n] == '_');
}

bool onlySpaceLeft(const char* tail)
{
    for (; tail && *tail; ++tail)
        if (!(*tail == ' ' || *tail == '\t' || *tail == '\r' || *tail == '\n' || *tail == ';'))
            return false;
    return true;
}

std::string orEmpty(const char* utf8)
{
    return utf8 ? utf8 : "";
}

// The longest text of a column as the narrow interface counts it (GBK
// bytes), which is never less than the wide one's count of UTF-16 units.
size_t longestNarrowText(const ResultTable& result, size_t column)
{
    size_t longest = 0;
    std::string scratch;
    for (size_t r = 0; r < result.rowCount(); ++r) {
        const Cell& c = result.cell(r, column);
        if (c.kind != CellKind::Text)
            continue;
        size_t n = c.length;
        if (!c.ascii) {
            scratch.clear();
            Utf8ToGbk(result.bytes(c), scratch);
            n = scratch.size();
        }
        longest = std::max(longest, n);
    }
    return longest;
}

// Column descriptions from the prepared statement and, once executed, from
// the values of the result.
void describe(Stmt& stmt)
{
    sqlite3_stmt* st = stmt.prepared;
    int count = sqlite3_column_count(st);
    stmt.columns.assign(size_t(count), Column{});
    const ResultTable& result = stmt.result;
    const bool haveRows = result.columnCount() == size_t(count) && !result.empty();
    for (int i = 0; i < count; ++i) {
        Column& c = stmt.columns[size_t(i)];
        const char* name = sqlite3_column_name(st, i);
        const char* origin = sqlite3_column_origin_name(st, i);
        const char* table = sqlite3_column_table_name(st, i);
        const char* declared = sqlite3_column_decltype(st, i);
        // A plain column reference reports the table's spelling of the name,
        // as Access does; an alias stays as written.
        if (origin && name && strcasecmp(origin, name) == 0)
            name = origin;
        c.name = orEmpty(name);
        c.baseColumn = orEmpty(origin);
        c.table = orEmpty(table);
        c.type = TypeFromDeclaration(declared ? declared : "");

        if (haveRows) {
            const ColumnStats& stats = result.stats(size_t(i));
            // GBK takes at most twice the bytes of UTF-8: only a column
            // whose UTF-8 might not fit its size needs counting exactly.
            auto longest = [&] { return longestNarrowText(result, size_t(i)); };
            if (!c.type.known) {
                ValueSurvey survey{.anyInteger = stats.anyInteger, .wideInteger = stats.wideInteger,
                                   .anyReal = stats.anyReal, .anyText = stats.anyText, .anyBlob = stats.anyBlob,
                                   .longestText = stats.anyText ? longest() : 0, .longestBlob = stats.longestBlob};
                c.type = TypeFromValues(survey);
            } else if (c.type.type == SQL_VARCHAR && stats.longestText * 2ull > c.type.size) {
                c.type.size = std::max<SQLULEN>(c.type.size, longest()); // never report less than a value holds
            } else if (c.type.type == SQL_VARBINARY && stats.longestBlob > c.type.size) {
                c.type.size = stats.longestBlob;
            }
        } else if (!c.type.known) {
            c.type = TypeFromValues({});
        }

        c.nullable = SQL_NULLABLE_UNKNOWN;
        if (origin && table) {
            int notNull = 0, primaryKey = 0, autoIncrement = 0;
            const char* db = sqlite3_column_database_name(st, i);
            if (sqlite3_table_column_metadata(stmt.dbc->db, db, table, origin, nullptr, nullptr, &notNull,
                                              &primaryKey, &autoIncrement) == SQLITE_OK) {
                bool rowid = primaryKey && c.type.type == SQL_INTEGER;
                c.nullable = notNull || rowid ? SQL_NO_NULLS : SQL_NULLABLE;
                c.autoIncrement = autoIncrement != 0;
            }
        }
    }
}

SQLRETURN prepare(Stmt& stmt, const std::string& sql)
{
    CloseCursor(stmt);
    ReleasePrepared(stmt);
    Dbc& dbc = *stmt.dbc;
    stmt.cancelled = false;
    StartWait(dbc, stmt.queryTimeout, &stmt.cancelled);
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(dbc.db, sql.c_str(), int(sql.size()), &stmt.prepared, &tail);
    if (rc != SQLITE_OK) {
        ReleasePrepared(stmt);
        return FailFromSqlite(stmt.diag, dbc.db, rc, dbc.wait.timedOut);
    }
    if (!stmt.prepared)
        return stmt.diag.fail("42000", "Syntax error: the statement text is empty");
    if (!onlySpaceLeft(tail)) {
        ReleasePrepared(stmt);
        return stmt.diag.fail("42000", "Syntax error: characters found after the end of the SQL statement");
    }
    const char* text = sqlite3_sql(stmt.prepared);
    stmt.searchedChange = startsWithKeyword(text, "UPDATE") || startsWithKeyword(text, "DELETE");
    describe(stmt);
    return SQL_SUCCESS;
}

// One row of the statement into the result.  Each column is taken once as
// a value: the column functions would each look the column up and check
// the connection's error state again, three times a cell.  Such a value is
// SQLite's "unprotected" kind, safe to read only while no other thread
// uses the connection; the driver holds the connection for the whole
// execution.
void readRow(sqlite3_stmt* st, ResultTable& result)
{
    const size_t columns = result.columnCount();
    Cell* row = result.appendRow();
    for (size_t i = 0; i < columns; ++i) {
        sqlite3_value* v = sqlite3_column_value(st, int(i));
        Cell& cell = row[i];
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            result.setInteger(i, cell, sqlite3_value_int64(v));
            break;
        case SQLITE_FLOAT:
            result.setReal(i, cell, sqlite3_value_double(v));
            break;
        case SQLITE_TEXT: {
            const char* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
            size_t n = size_t(sqlite3_value_bytes(v));
            result.setText(i, cell, std::string_view(text ? text : "", n));
            break;
        }
        case SQLITE_BLOB: {
            const char* data = static_cast<const char*>(sqlite3_value_blob(v));
            size_t n = size_t(sqlite3_value_bytes(v));
            result.setBlob(i, cell, std::string_view(data ? data : "", data ? n : 0));
            break;
        }
        default:
            break;
        }
    }
}

SQLRETURN execute(Stmt& stmt)
{
    if (!stmt.prepared)
        return stmt.diag.fail("HY010", "Function sequence error: no statement prepared");
    if (stmt.cursorOpen)
        return stmt.diag.fail("24000", "Invalid cursor state: a cursor is open");
    if (stmt.paramsetSize != 1)
        return stmt.diag.fail("HYC00", "Optional feature not implemented: parameter arrays");
    sqlite3_reset(stmt.prepared);
    sqlite3_clear_bindings(stmt.prepared);
    if (SQLRETURN rc = BindParameters(stmt); rc != SQL_SUCCESS)
        return rc; // an error, or SQL_NEED_DATA
    return RunPrepared(stmt);
}

} // namespace

namespace access_odbc {

SQLRETURN RunPrepared(Stmt& stmt)
{
    Dbc& dbc = *stmt.dbc;
    sqlite3_stmt* st = stmt.prepared;
    stmt.cancelled = false;
    StartWait(dbc, stmt.queryTimeout, &stmt.cancelled);
    if (SQLRETURN rc = BeginIfManual(dbc, stmt.diag); rc != SQL_SUCCESS)
        return rc;

    const int columns = sqlite3_column_count(st);
    if (stmt.result.capacityBytes() < dbc.spareResult.capacityBytes())
        std::swap(stmt.result, dbc.spareResult);
    stmt.result.reset(size_t(columns));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (stmt.maxRows && stmt.result.rowCount() >= stmt.maxRows)
            continue; // the rest is read so that the statement completes
        readRow(st, stmt.result);
    }
    if (rc != SQLITE_DONE) {
        SQLRETURN result = FailFromSqlite(stmt.diag, dbc.db, rc, dbc.wait.timedOut);
        if ((rc & 0xFF) == SQLITE_INTERRUPT && !dbc.wait.timedOut)
            stmt.diag.records.back().state = "HY008"; // cancelled
        sqlite3_reset(st);
        stmt.result.clear();
        return result;
    }
    int changes = sqlite3_changes(dbc.db);
    sqlite3_reset(st);
    stmt.executedOnce = true;
    if (columns == 0) {
        stmt.rowCount = changes;
        if (stmt.searchedChange && changes == 0)
            return SQL_NO_DATA;
        return SQL_SUCCESS;
    }
    describe(stmt);
    stmt.rowCount = SQLLEN(stmt.result.rowCount());
    stmt.cursorOpen = true;
    stmt.position = 0;
    stmt.dataColumn = 0;
    return SQL_SUCCESS;
}

SQLRETURN PrepareText(Stmt& stmt, Interface i, const void* text, SQLINTEGER length)
{
    if (!text)
        return stmt.diag.fail("HY009", "Invalid use of null pointer");
    if (length < 0 && length != SQL_NTS)
        return stmt.diag.fail("HY090", "Invalid string or buffer length");
    if (stmt.cursorOpen)
        return stmt.diag.fail("24000", "Invalid cursor state: a cursor is open");
    std::string sql;
    if (!ToUtf8(stmt.diag, i, text, length, sql))
        return SQL_ERROR;
    return prepare(stmt, sql);
}

void CloseCursor(Stmt& stmt)
{
    // Memory beyond this is given back rather than kept for the next
    // result.
    constexpr std::size_t kLargestSpare = std::size_t(64) << 20;
    stmt.cursorOpen = false;
    ResultTable& spare = stmt.dbc->spareResult;
    if (stmt.result.capacityBytes() > spare.capacityBytes() && stmt.result.capacityBytes() <= kLargestSpare)
        std::swap(stmt.result, spare);
    stmt.result.clear();
    spare.clear();
    stmt.position = 0;
    stmt.dataColumn = 0;
    CancelDataAtExecution(stmt);
}

void ReleasePrepared(Stmt& stmt)
{
    if (stmt.prepared)
        sqlite3_finalize(stmt.prepared);
    stmt.prepared = nullptr;
    stmt.columns.clear();
    stmt.searchedChange = false;
    stmt.executedOnce = false;
    stmt.rowCount = -1;
}

SQLRETURN OpenResult(Stmt& stmt, std::vector<Column> columns, ResultTable rows)
{
    CloseCursor(stmt);
    ReleasePrepared(stmt);
    assert(rows.columnCount() == columns.size());
    stmt.columns = std::move(columns);
    stmt.result = std::move(rows);
    stmt.cursorOpen = true;
    stmt.executedOnce = true;
    stmt.rowCount = SQLLEN(stmt.result.rowCount());
    return SQL_SUCCESS;
}

bool ToUtf8(Diagnostics& diag, Interface i, const void* text, SQLINTEGER length, std::string& out)
{
    if (ArgumentToUtf8(i, text, length, out))
        return true;
    diag.add("22018", i == Interface::Narrow ? "Invalid character value: the text is not valid GBK"
                                             : "Invalid character value: the text is not valid UTF-16");
    return false;
}

SQLRETURN ExecuteDirect(Stmt& stmt, Interface i, const void* text, SQLINTEGER length)
{
    if (SQLRETURN rc = PrepareText(stmt, i, text, length); rc != SQL_SUCCESS)
        return rc;
    return execute(stmt);
}

} // namespace access_odbc

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return PrepareText(*stmt, Interface::Narrow, text, length);
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return execute(*stmt);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return ExecuteDirect(*stmt, Interface::Narrow, text, length);
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->prepared && !stmt->cursorOpen)
        return stmt->diag.fail("HY010", "Function sequence error: no statement prepared");
    if (count)
        *count = SQLSMALLINT(stmt->columns.size());
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->executedOnce)
        return stmt->diag.fail("HY010", "Function sequence error: no statement executed");
    if (count)
        *count = stmt->rowCount;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    // One statement gives one result; asking for the next closes it.
    CloseCursor(*stmt);
    return SQL_NO_DATA;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    std::lock_guard lock(stmt->dbc->mutex);
    stmt->diag.clear();
    switch (option) {
    case SQL_CLOSE: CloseCursor(*stmt); return SQL_SUCCESS;
    case SQL_UNBIND: stmt->bindings.clear(); return SQL_SUCCESS;
    case SQL_RESET_PARAMS: stmt->params.clear(); return SQL_SUCCESS;
    case SQL_DROP: DropStatement(stmt); return SQL_SUCCESS;
    default: return stmt->diag.fail("HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->cursorOpen)
        return stmt->diag.fail("24000", "Invalid cursor state: no cursor open");
    CloseCursor(*stmt);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT handle)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    // The statement may be running on another thread, holding the lock:
    // the flag is read by the connection's busy and progress handlers.
    stmt->cancelled = true;
    // Between SQL_NEED_DATA and the last parameter nothing runs, and
    // cancelling forgets the parameters still owed.
    std::unique_lock lock(stmt->dbc->mutex, std::try_to_lock);
    if (lock.owns_lock() && stmt->dataAtExecution.active) {
        stmt->diag.clear();
        CancelDataAtExecution(*stmt);
    }
    return SQL_SUCCESS;
}
