#include "platform/odbc/catalog_support.h"

#include <algorithm>
#include <cctype>
#include <sqlite3.h>

namespace access_odbc {
namespace {

Column makeColumn(const char* name, SqlTypeInfo type)
{
    Column c;
    c.name = name;
    c.type = type;
    return c;
}

} // namespace

Column TextColumn(const char* name, SQLULEN size)
{
    return makeColumn(name, {.type = SQL_VARCHAR, .size = size, .digits = 0, .known = true});
}

Column SmallColumn(const char* name)
{
    return makeColumn(name, {.type = SQL_SMALLINT, .size = 5, .digits = 0, .known = true});
}

Column IntegerColumn(const char* name)
{
    return makeColumn(name, {.type = SQL_INTEGER, .size = 10, .digits = 0, .known = true});
}

RowsBuilder& RowsBuilder::row()
{
    assert(!m_row || m_column == m_table.columnCount());
    m_row = m_table.appendRow();
    m_column = 0;
    return *this;
}

Cell& RowsBuilder::next()
{
    assert(m_row && m_column < m_table.columnCount());
    return m_row[m_column++];
}

RowsBuilder& RowsBuilder::text(std::string_view utf8)
{
    std::size_t column = m_column;
    bool stored = m_table.setText(column, next(), utf8);
    assert(stored); // names come from SQLite and literals: always UTF-8
    (void)stored;
    return *this;
}

RowsBuilder& RowsBuilder::number(std::int64_t v)
{
    std::size_t column = m_column;
    m_table.setInteger(column, next(), v);
    return *this;
}

RowsBuilder& RowsBuilder::null()
{
    next();
    return *this;
}

ResultTable RowsBuilder::take()
{
    assert(!m_row || m_column == m_table.columnCount());
    return std::move(m_table);
}

std::optional<std::string> CatalogArgument(Stmt& stmt, Interface i, const void* text, SQLSMALLINT length)
{
    std::string out;
    if (!ArgumentToUtf8(i, text, length < 0 && length != SQL_NTS ? 0 : length, out)) {
        stmt.diag.fail("22018", "Invalid character value: a name is not valid text");
        return std::nullopt;
    }
    return out;
}

bool ListTables(Stmt& stmt, std::vector<TableRow>& out)
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
            out.push_back({.name = name, .type = system ? "SYSTEM TABLE" : type == "view" ? "VIEW" : "TABLE"});
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
        return false;
    }
    return true;
}

std::optional<std::string> FindTable(Stmt& stmt, std::string_view name, bool& failed)
{
    std::vector<TableRow> tables;
    failed = !ListTables(stmt, tables);
    for (const TableRow& t : tables)
        if (SameName(t.name, name))
            return t.name;
    return std::nullopt;
}

std::string Pragma(const char* what, const std::string& name)
{
    std::string quoted;
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return std::string("PRAGMA ") + what + "(\"" + quoted + "\")";
}

std::vector<TableColumn> TableColumns(Stmt& stmt, const std::string& table)
{
    std::vector<TableColumn> columns;
    sqlite3_stmt* st = nullptr;
    std::string sql = Pragma("table_info", table);
    if (sqlite3_prepare_v2(stmt.dbc->db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            TableColumn c;
            c.position = sqlite3_column_int(st, 0) + 1;
            c.name = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            const unsigned char* declared = sqlite3_column_text(st, 2);
            c.type = TypeFromDeclaration(declared ? reinterpret_cast<const char*>(declared) : "");
            if (!c.type.known)
                c.type = {.type = SQL_VARCHAR, .size = kShortTextLimit, .digits = 0, .known = false};
            c.notNull = sqlite3_column_int(st, 3) != 0;
            if (const unsigned char* d = sqlite3_column_text(st, 4))
                c.defaultValue = reinterpret_cast<const char*>(d);
            c.primaryKey = sqlite3_column_int(st, 5);
            columns.push_back(std::move(c));
        }
    }
    sqlite3_finalize(st);
    return columns;
}

bool ReadyForCatalog(Stmt& stmt)
{
    if (!stmt.cursorOpen)
        return true;
    stmt.diag.fail("24000", "Invalid cursor state: a cursor is open");
    return false;
}

} // namespace access_odbc
