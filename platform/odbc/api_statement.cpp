// Preparing and executing statements, parameters, and the statement's
// life cycle.  A query's whole result is read into the statement when it
// executes: the cursor is static, every scroll direction is a matter of
// moving an index, and the SQLite statement is reset at once so no read
// transaction stays open to block other writers.

#include "platform/odbc/convert.h"
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

std::string toGbkOrRaw(const char* utf8)
{
    std::string out;
    if (!utf8)
        return out;
    if (!Utf8ToGbk(utf8, out))
        out = utf8;
    return out;
}

// Column descriptions from the prepared statement and, once executed, from
// the values of the result.
void describe(Stmt& stmt)
{
    sqlite3_stmt* st = stmt.prepared;
    int count = sqlite3_column_count(st);
    stmt.columns.assign(size_t(count), Column{});
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
        c.name = toGbkOrRaw(name);
        c.baseColumn = toGbkOrRaw(origin);
        c.table = toGbkOrRaw(table);
        c.type = TypeFromDeclaration(declared ? declared : "");

        ValueSurvey survey;
        for (const auto& row : stmt.rows) {
            const Value& v = row[size_t(i)];
            switch (v.kind) {
            case Value::Kind::Integer:
                survey.anyInteger = true;
                if (v.integer < INT32_MIN || v.integer > INT32_MAX)
                    survey.wideInteger = true;
                break;
            case Value::Kind::Real: survey.anyReal = true; break;
            case Value::Kind::Text:
                survey.anyText = true;
                survey.longestText = std::max(survey.longestText, v.bytes.size());
                break;
            case Value::Kind::Blob:
                survey.anyBlob = true;
                survey.longestBlob = std::max(survey.longestBlob, v.bytes.size());
                break;
            case Value::Kind::Null: break;
            }
        }
        if (!c.type.known)
            c.type = TypeFromValues(survey);
        else if (c.type.type == SQL_VARCHAR && survey.longestText > c.type.size)
            c.type.size = survey.longestText; // never report less than a value holds
        else if (c.type.type == SQL_VARBINARY && survey.longestBlob > c.type.size)
            c.type.size = survey.longestBlob;

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

char* paramAddress(const Stmt& stmt, const ParamBinding& p)
{
    if (!p.value)
        return nullptr;
    return static_cast<char*>(p.value) + (stmt.paramBindOffset ? *stmt.paramBindOffset : 0);
}

SQLLEN* paramIndicator(const Stmt& stmt, const ParamBinding& p)
{
    if (!p.indicator)
        return nullptr;
    return reinterpret_cast<SQLLEN*>(reinterpret_cast<char*>(p.indicator)
                                     + (stmt.paramBindOffset ? *stmt.paramBindOffset : 0));
}

SQLRETURN bindParameter(Stmt& stmt, int index)
{
    sqlite3_stmt* st = stmt.prepared;
    if (size_t(index) >= stmt.params.size() || !stmt.params[size_t(index)].bound)
        return stmt.diag.fail("07002", "COUNT field incorrect: parameter " + std::to_string(index) + " is not bound");
    const ParamBinding& p = stmt.params[size_t(index)];
    SQLLEN* indicator = paramIndicator(stmt, p);
    char* data = paramAddress(stmt, p);
    SQLSMALLINT cType = p.cType == SQL_C_DEFAULT ? DefaultCType(p.sqlType) : p.cType;
    SQLLEN length = indicator ? *indicator : (cType == SQL_C_CHAR ? SQLLEN(SQL_NTS) : p.bufferLength);
    if (length == SQL_NULL_DATA)
        return sqlite3_bind_null(st, index) == SQLITE_OK ? SQL_SUCCESS : FailFromSqlite(stmt.diag, stmt.dbc->db, SQLITE_RANGE);
    if (length == SQL_DATA_AT_EXEC || length <= SQL_LEN_DATA_AT_EXEC_OFFSET)
        return stmt.diag.fail("HYC00", "Optional feature not implemented: data at execution");
    if (!data)
        return stmt.diag.fail("HY009", "Invalid use of null pointer: parameter " + std::to_string(index));

    int rc = SQLITE_OK;
    auto integer = [&](auto v) { rc = sqlite3_bind_int64(st, index, std::int64_t(v)); };
    switch (cType) {
    case SQL_C_CHAR: {
        if (length == SQL_NTS)
            length = SQLLEN(std::strlen(data));
        else if (length < 0)
            return stmt.diag.fail("HY090", "Invalid string or buffer length");
        std::string utf8;
        if (!GbkToUtf8(std::string_view(data, size_t(length)), utf8))
            return stmt.diag.fail("22018", "Invalid character value: parameter " + std::to_string(index)
                                               + " is not valid GBK text");
        rc = sqlite3_bind_text(st, index, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    case SQL_C_BINARY:
        if (length < 0)
            return stmt.diag.fail("HY090", "Invalid string or buffer length");
        rc = sqlite3_bind_blob(st, index, data, int(length), SQLITE_TRANSIENT);
        break;
    case SQL_C_SLONG: case SQL_C_LONG: integer(*reinterpret_cast<std::int32_t*>(data)); break;
    case SQL_C_ULONG: integer(*reinterpret_cast<std::uint32_t*>(data)); break;
    case SQL_C_SSHORT: case SQL_C_SHORT: integer(*reinterpret_cast<std::int16_t*>(data)); break;
    case SQL_C_USHORT: integer(*reinterpret_cast<std::uint16_t*>(data)); break;
    case SQL_C_STINYINT: case SQL_C_TINYINT: integer(*reinterpret_cast<std::int8_t*>(data)); break;
    case SQL_C_UTINYINT: case SQL_C_BIT: integer(*reinterpret_cast<std::uint8_t*>(data)); break;
    case SQL_C_SBIGINT: integer(*reinterpret_cast<std::int64_t*>(data)); break;
    case SQL_C_UBIGINT: {
        std::uint64_t v = *reinterpret_cast<std::uint64_t*>(data);
        if (v > std::uint64_t(INT64_MAX))
            return stmt.diag.fail("22003", "Numeric value out of range");
        integer(v);
        break;
    }
    case SQL_C_FLOAT: rc = sqlite3_bind_double(st, index, *reinterpret_cast<float*>(data)); break;
    case SQL_C_DOUBLE: rc = sqlite3_bind_double(st, index, *reinterpret_cast<double*>(data)); break;
    case SQL_C_TYPE_TIMESTAMP: case SQL_C_TIMESTAMP: {
        std::string text = FormatTimestamp(*reinterpret_cast<SQL_TIMESTAMP_STRUCT*>(data));
        rc = sqlite3_bind_text(st, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case SQL_C_TYPE_DATE: case SQL_C_DATE: {
        const auto& d = *reinterpret_cast<SQL_DATE_STRUCT*>(data);
        SQL_TIMESTAMP_STRUCT ts{d.year, d.month, d.day, 0, 0, 0, 0};
        std::string text = FormatTimestamp(ts).substr(0, 10);
        rc = sqlite3_bind_text(st, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case SQL_C_TYPE_TIME: case SQL_C_TIME: {
        const auto& t = *reinterpret_cast<SQL_TIME_STRUCT*>(data);
        SQL_TIMESTAMP_STRUCT ts{1899, 12, 30, t.hour, t.minute, t.second, 0};
        std::string text = FormatTimestamp(ts).substr(11);
        rc = sqlite3_bind_text(st, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        return stmt.diag.fail("HY003", "Invalid application buffer type: parameter " + std::to_string(index));
    }
    if (rc != SQLITE_OK)
        return FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
    return SQL_SUCCESS;
}

bool readValue(sqlite3_stmt* st, int i, Value& v)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        v.kind = Value::Kind::Integer;
        v.integer = sqlite3_column_int64(st, i);
        return true;
    case SQLITE_FLOAT:
        v.kind = Value::Kind::Real;
        v.real = sqlite3_column_double(st, i);
        return true;
    case SQLITE_TEXT: {
        v.kind = Value::Kind::Text;
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        int n = sqlite3_column_bytes(st, i);
        return Utf8ToGbk(std::string_view(text ? text : "", size_t(n)), v.bytes);
    }
    case SQLITE_BLOB: {
        v.kind = Value::Kind::Blob;
        const char* data = static_cast<const char*>(sqlite3_column_blob(st, i));
        v.bytes.assign(data ? data : "", size_t(sqlite3_column_bytes(st, i)));
        return true;
    }
    default:
        v.kind = Value::Kind::Null;
        return true;
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
    Dbc& dbc = *stmt.dbc;
    sqlite3_stmt* st = stmt.prepared;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    int paramCount = sqlite3_bind_parameter_count(st);
    for (int i = 1; i <= paramCount; ++i)
        if (SQLRETURN rc = bindParameter(stmt, i); rc != SQL_SUCCESS)
            return rc;
    stmt.cancelled = false;
    StartWait(dbc, stmt.queryTimeout, &stmt.cancelled);
    if (SQLRETURN rc = BeginIfManual(dbc, stmt.diag); rc != SQL_SUCCESS)
        return rc;

    stmt.rows.clear();
    int columns = sqlite3_column_count(st);
    int rc;
    bool badText = false;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (stmt.maxRows && stmt.rows.size() >= stmt.maxRows)
            continue; // the rest is read so that the statement completes
        std::vector<Value> row(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            if (!readValue(st, i, row[size_t(i)]))
                badText = true;
        stmt.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        SQLRETURN result = FailFromSqlite(stmt.diag, dbc.db, rc, dbc.wait.timedOut);
        if ((rc & 0xFF) == SQLITE_INTERRUPT && !dbc.wait.timedOut)
            stmt.diag.records.back().state = "HY008"; // cancelled
        sqlite3_reset(st);
        stmt.rows.clear();
        return result;
    }
    int changes = sqlite3_changes(dbc.db);
    sqlite3_reset(st);
    stmt.executedOnce = true;
    if (badText) {
        stmt.rows.clear();
        return stmt.diag.fail("22018", "Stored text is not valid UTF-8 and cannot be converted");
    }
    if (columns == 0) {
        stmt.rowCount = changes;
        if (stmt.searchedChange && changes == 0)
            return SQL_NO_DATA;
        return SQL_SUCCESS;
    }
    describe(stmt);
    stmt.rowCount = SQLLEN(stmt.rows.size());
    stmt.cursorOpen = true;
    stmt.position = 0;
    stmt.dataColumn = 0;
    return SQL_SUCCESS;
}

Stmt* statementOf(SQLHSTMT handle)
{
    return As<Stmt>(handle);
}

// The statement text as the application passed it, checked and prepared.
SQLRETURN prepareText(Stmt& stmt, SQLCHAR* text, SQLINTEGER length)
{
    if (!text)
        return stmt.diag.fail("HY009", "Invalid use of null pointer");
    if (length < 0 && length != SQL_NTS)
        return stmt.diag.fail("HY090", "Invalid string or buffer length");
    if (stmt.cursorOpen)
        return stmt.diag.fail("24000", "Invalid cursor state: a cursor is open");
    std::string sql;
    if (!ToUtf8(stmt.diag, reinterpret_cast<char*>(text), length, sql))
        return SQL_ERROR;
    return prepare(stmt, sql);
}

} // namespace

namespace access_odbc {

void CloseCursor(Stmt& stmt)
{
    stmt.cursorOpen = false;
    stmt.rows.clear();
    stmt.position = 0;
    stmt.dataColumn = 0;
    stmt.dataOffset = 0;
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

SQLRETURN OpenResult(Stmt& stmt, std::vector<Column> columns, std::vector<std::vector<Value>> rows)
{
    CloseCursor(stmt);
    ReleasePrepared(stmt);
    stmt.columns = std::move(columns);
    stmt.rows = std::move(rows);
    stmt.cursorOpen = true;
    stmt.executedOnce = true;
    stmt.rowCount = SQLLEN(stmt.rows.size());
    return SQL_SUCCESS;
}

bool ToUtf8(Diagnostics& diag, const char* text, SQLINTEGER length, std::string& out)
{
    std::string_view in;
    if (text)
        in = length == SQL_NTS ? std::string_view(text) : std::string_view(text, size_t(length));
    if (!GbkToUtf8(in, out)) {
        diag.add("22018", "Invalid character value: the SQL text is not valid GBK");
        return false;
    }
    return true;
}

} // namespace access_odbc

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return prepareText(*stmt, text, length);
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return execute(*stmt);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (SQLRETURN rc = prepareText(*stmt, text, length); rc != SQL_SUCCESS)
        return rc;
    return execute(*stmt);
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->prepared)
        return stmt->diag.fail("HY010", "Function sequence error: no statement prepared");
    if (count)
        *count = SQLSMALLINT(sqlite3_bind_parameter_count(stmt->prepared));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeParam(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT* type, SQLULEN* size,
                                   SQLSMALLINT* digits, SQLSMALLINT* nullable)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->prepared)
        return stmt->diag.fail("HY010", "Function sequence error: no statement prepared");
    if (number < 1 || number > sqlite3_bind_parameter_count(stmt->prepared))
        return stmt->diag.fail("07009", "Invalid descriptor index");
    // SQLite does not type parameters; text is what every column accepts.
    if (type)
        *type = SQL_VARCHAR;
    if (size)
        *size = kShortTextLimit;
    if (digits)
        *digits = 0;
    if (nullable)
        *nullable = SQL_NULLABLE_UNKNOWN;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT ioType, SQLSMALLINT cType,
                                   SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT digits, SQLPOINTER value,
                                   SQLLEN bufferLength, SQLLEN* indicator)
{
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (number < 1)
        return stmt->diag.fail("07009", "Invalid descriptor index");
    if (ioType != SQL_PARAM_INPUT)
        return stmt->diag.fail("HY105", "Invalid parameter type: only input parameters are supported");
    if (bufferLength < 0)
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    if (cType != SQL_C_DEFAULT && cType != SQL_C_CHAR && cType != SQL_C_BINARY && FixedCTypeSize(cType) == 0)
        return stmt->diag.fail("HY003", "Invalid application buffer type");
    if (stmt->params.size() <= number)
        stmt->params.resize(size_t(number) + 1);
    stmt->params[number] = {true, ioType, cType, sqlType, columnSize, digits, value, bufferLength, indicator};
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count)
{
    Stmt* stmt = statementOf(handle);
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
    Stmt* stmt = statementOf(handle);
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
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    // One statement gives one result; asking for the next closes it.
    CloseCursor(*stmt);
    return SQL_NO_DATA;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    Stmt* stmt = statementOf(handle);
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
    Stmt* stmt = statementOf(handle);
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
    Stmt* stmt = statementOf(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    // No lock: the statement may be running on another thread, holding it.
    // The flag is read by the connection's busy and progress handlers.
    stmt->cancelled = true;
    return SQL_SUCCESS;
}
