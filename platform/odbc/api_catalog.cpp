// Catalogue functions: SQLTables, SQLColumns and SQLGetTypeInfo, answered
// from sqlite_master and PRAGMA table_info as ready-made results.

#include "platform/odbc/gbk.h"
#include "platform/odbc/handles.h"

#include <sqlite3.h>
#include <strings.h>

using namespace access_odbc;

namespace {

Column textColumn(const char* name, SQLULEN size = 128)
{
    Column c;
    c.name = name;
    c.type = {SQL_VARCHAR, size, 0, true};
    return c;
}

Column smallColumn(const char* name)
{
    Column c;
    c.name = name;
    c.type = {SQL_SMALLINT, 5, 0, true};
    return c;
}

Column integerColumn(const char* name)
{
    Column c;
    c.name = name;
    c.type = {SQL_INTEGER, 10, 0, true};
    return c;
}

Value text(std::string s)
{
    Value v;
    v.kind = Value::Kind::Text;
    v.bytes = std::move(s);
    return v;
}

Value number(std::int64_t n)
{
    Value v;
    v.kind = Value::Kind::Integer;
    v.integer = n;
    return v;
}

Value null()
{
    return {};
}

// An argument of a catalogue function (GBK), or empty when absent.
std::string argument(SQLCHAR* s, SQLSMALLINT length)
{
    if (!s)
        return {};
    if (length == SQL_NTS)
        return reinterpret_cast<char*>(s);
    return std::string(reinterpret_cast<char*>(s), size_t(length < 0 ? 0 : length));
}

// ODBC search patterns: "%" any run, "_" one character, "\" escapes;
// compared without regard to case, as Access names are.
bool matches(const char* pattern, const char* name)
{
    for (;; ++pattern, ++name) {
        if (*pattern == '\0')
            return *name == '\0';
        if (*pattern == '%') {
            for (const char* n = name;; ++n) {
                if (matches(pattern + 1, n))
                    return true;
                if (*n == '\0')
                    return false;
            }
        }
        if (*name == '\0')
            return false;
        if (*pattern == '\\' && pattern[1])
            ++pattern;
        else if (*pattern == '_')
            continue;
        if (strncasecmp(pattern, name, 1) != 0)
            return false;
    }
}

struct TableRow {
    std::string name; // UTF-8
    std::string type; // "TABLE", "VIEW", "SYSTEM TABLE"
};

bool listTables(Stmt& stmt, std::vector<TableRow>& out)
{
    stmt.cancelled = false;
    StartWait(*stmt.dbc, stmt.queryTimeout, &stmt.cancelled);
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(stmt.dbc->db,
                                "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') ORDER BY name",
                                -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            std::string type = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            bool system = name.starts_with("sqlite_");
            out.push_back({name, system ? "SYSTEM TABLE" : type == "view" ? "VIEW" : "TABLE"});
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
        return false;
    }
    return true;
}

bool typeWanted(const std::string& wanted, const std::string& type)
{
    if (wanted.empty() || wanted == "%")
        return true;
    // A comma-separated list, values possibly in single quotes.
    size_t i = 0;
    while (i <= wanted.size()) {
        size_t end = wanted.find(',', i);
        std::string item = wanted.substr(i, end == std::string::npos ? std::string::npos : end - i);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\''))
            item.erase(0, 1);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\''))
            item.pop_back();
        if (strcasecmp(item.c_str(), type.c_str()) == 0)
            return true;
        if (end == std::string::npos)
            break;
        i = end + 1;
    }
    return false;
}

std::string gbk(const std::string& utf8)
{
    std::string out;
    return Utf8ToGbk(utf8, out) ? out : utf8;
}

} // namespace

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                            SQLSMALLINT tableLength, SQLCHAR* type, SQLSMALLINT typeLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (stmt->cursorOpen)
        return stmt->diag.fail("24000", "Invalid cursor state: a cursor is open");
    std::string pattern;
    if (!GbkToUtf8(argument(table, tableLength), pattern))
        return stmt->diag.fail("22018", "Invalid character value: the table name is not valid GBK");
    std::string types = argument(type, typeLength);
    std::vector<TableRow> tables;
    if (!listTables(*stmt, tables))
        return SQL_ERROR;
    std::vector<std::vector<Value>> rows;
    for (const TableRow& t : tables) {
        if (!pattern.empty() && !matches(pattern.c_str(), t.name.c_str()))
            continue;
        if (!typeWanted(types, t.type))
            continue;
        rows.push_back({null(), null(), text(gbk(t.name)), text(t.type), null()});
    }
    std::vector<Column> columns = {textColumn("TABLE_CAT"), textColumn("TABLE_SCHEM"), textColumn("TABLE_NAME"),
                                   textColumn("TABLE_TYPE"), textColumn("REMARKS", 254)};
    return OpenResult(*stmt, std::move(columns), std::move(rows));
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (stmt->cursorOpen)
        return stmt->diag.fail("24000", "Invalid cursor state: a cursor is open");
    std::string tablePattern, columnPattern;
    if (!GbkToUtf8(argument(table, tableLength), tablePattern) || !GbkToUtf8(argument(column, columnLength), columnPattern))
        return stmt->diag.fail("22018", "Invalid character value: a name is not valid GBK");
    std::vector<TableRow> tables;
    if (!listTables(*stmt, tables))
        return SQL_ERROR;
    std::vector<std::vector<Value>> rows;
    for (const TableRow& t : tables) {
        if (!tablePattern.empty() && !matches(tablePattern.c_str(), t.name.c_str()))
            continue;
        std::string sql = "PRAGMA table_info(\"" + t.name + "\")";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(stmt->dbc->db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            continue;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            int position = sqlite3_column_int(st, 0) + 1;
            std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            const unsigned char* declared = sqlite3_column_text(st, 2);
            bool notNull = sqlite3_column_int(st, 3) != 0;
            bool primaryKey = sqlite3_column_int(st, 5) != 0;
            const unsigned char* defaultValue = sqlite3_column_text(st, 4);
            if (!columnPattern.empty() && !matches(columnPattern.c_str(), name.c_str()))
                continue;
            SqlTypeInfo ti = TypeFromDeclaration(declared ? reinterpret_cast<const char*>(declared) : "");
            if (!ti.known)
                ti = {SQL_VARCHAR, kShortTextLimit, 0, false};
            bool nullable = !(notNull || (primaryKey && ti.type == SQL_INTEGER));
            bool numeric = IsNumericType(ti.type);
            rows.push_back({
                null(), null(), text(gbk(t.name)), text(gbk(name)), number(ti.type), text(TypeName(ti.type)),
                number(std::int64_t(ti.size)), number(OctetLength(ti)),
                numeric ? number(ti.digits) : null(), numeric ? number(10) : null(),
                number(nullable ? SQL_NULLABLE : SQL_NO_NULLS), null(),
                defaultValue ? text(gbk(reinterpret_cast<const char*>(defaultValue))) : null(),
                number(ti.type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : ti.type),
                ti.type == SQL_TYPE_TIMESTAMP ? number(SQL_CODE_TIMESTAMP) : null(),
                IsCharacterType(ti.type) || IsBinaryType(ti.type) ? number(std::int64_t(ti.size)) : null(),
                number(position), text(nullable ? "YES" : "NO"),
            });
        }
        sqlite3_finalize(st);
    }
    std::vector<Column> columns = {
        textColumn("TABLE_CAT"), textColumn("TABLE_SCHEM"), textColumn("TABLE_NAME"), textColumn("COLUMN_NAME"),
        smallColumn("DATA_TYPE"), textColumn("TYPE_NAME"), integerColumn("COLUMN_SIZE"),
        integerColumn("BUFFER_LENGTH"), smallColumn("DECIMAL_DIGITS"), smallColumn("NUM_PREC_RADIX"),
        smallColumn("NULLABLE"), textColumn("REMARKS", 254), textColumn("COLUMN_DEF", 254),
        smallColumn("SQL_DATA_TYPE"), smallColumn("SQL_DATETIME_SUB"), integerColumn("CHAR_OCTET_LENGTH"),
        integerColumn("ORDINAL_POSITION"), textColumn("IS_NULLABLE", 3),
    };
    return OpenResult(*stmt, std::move(columns), std::move(rows));
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT wanted)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (stmt->cursorOpen)
        return stmt->diag.fail("24000", "Invalid cursor state: a cursor is open");
    struct TypeRow {
        const char* name;
        SQLSMALLINT type;
        std::int64_t size;
        const char* prefix;
        const char* params;
        bool autoIncrement;
    };
    // In the order of their SQL type numbers, as ODBC asks.
    static constexpr TypeRow kTypes[] = {
        {"BIT", SQL_BIT, 1, nullptr, nullptr, false},
        {"BYTE", SQL_TINYINT, 3, nullptr, nullptr, false},
        {"BIGINT", SQL_BIGINT, 19, nullptr, nullptr, false},
        {"LONGBINARY", SQL_LONGVARBINARY, std::int64_t(kLongSize), "0x", nullptr, false},
        {"VARBINARY", SQL_VARBINARY, 510, "0x", "max length", false},
        {"LONGCHAR", SQL_LONGVARCHAR, std::int64_t(kLongSize), "'", nullptr, false},
        {"COUNTER", SQL_INTEGER, 10, nullptr, nullptr, true},
        {"INTEGER", SQL_INTEGER, 10, nullptr, nullptr, false},
        {"SMALLINT", SQL_SMALLINT, 5, nullptr, nullptr, false},
        {"REAL", SQL_REAL, 7, nullptr, nullptr, false},
        {"DOUBLE", SQL_DOUBLE, 15, nullptr, nullptr, false},
        {"VARCHAR", SQL_VARCHAR, 255, "'", "max length", false},
        {"DATETIME", SQL_TYPE_TIMESTAMP, 19, "#", nullptr, false},
    };
    std::vector<std::vector<Value>> rows;
    for (const TypeRow& t : kTypes) {
        if (wanted != SQL_ALL_TYPES && wanted != t.type)
            continue;
        bool character = IsCharacterType(t.type);
        bool numeric = IsNumericType(t.type);
        rows.push_back({
            text(t.name), number(t.type), number(t.size), t.prefix ? text(t.prefix) : null(),
            t.prefix ? text(t.prefix[0] == '0' ? "" : t.prefix) : null(), t.params ? text(t.params) : null(),
            number(SQL_NULLABLE), number(character ? SQL_TRUE : SQL_FALSE),
            number(t.type == SQL_LONGVARCHAR ? SQL_PRED_CHAR : IsBinaryType(t.type) ? SQL_PRED_NONE : SQL_SEARCHABLE),
            numeric ? number(t.type == SQL_TINYINT ? SQL_TRUE : SQL_FALSE) : null(), number(SQL_FALSE),
            numeric ? number(t.autoIncrement ? SQL_TRUE : SQL_FALSE) : null(), text(t.name),
            numeric ? number(0) : null(), numeric ? number(0) : null(),
            number(t.type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : t.type),
            t.type == SQL_TYPE_TIMESTAMP ? number(SQL_CODE_TIMESTAMP) : null(), numeric ? number(10) : null(), null(),
        });
    }
    std::vector<Column> columns = {
        textColumn("TYPE_NAME"), smallColumn("DATA_TYPE"), integerColumn("COLUMN_SIZE"),
        textColumn("LITERAL_PREFIX"), textColumn("LITERAL_SUFFIX"), textColumn("CREATE_PARAMS"),
        smallColumn("NULLABLE"), smallColumn("CASE_SENSITIVE"), smallColumn("SEARCHABLE"),
        smallColumn("UNSIGNED_ATTRIBUTE"), smallColumn("FIXED_PREC_SCALE"), smallColumn("AUTO_UNIQUE_VALUE"),
        textColumn("LOCAL_TYPE_NAME"), smallColumn("MINIMUM_SCALE"), smallColumn("MAXIMUM_SCALE"),
        smallColumn("SQL_DATA_TYPE"), smallColumn("SQL_DATETIME_SUB"), integerColumn("NUM_PREC_RADIX"),
        smallColumn("INTERVAL_PRECISION"),
    };
    return OpenResult(*stmt, std::move(columns), std::move(rows));
}
