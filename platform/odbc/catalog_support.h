// What the catalogue functions share: their result columns and rows,
// their arguments, ODBC search patterns, and the schema as SQLite tells it.
#pragma once

#include "platform/odbc/handles.h"
#include "platform/odbc/name_pattern.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace access_odbc {

Column TextColumn(const char* name, SQLULEN size = 128);
Column SmallColumn(const char* name);
Column IntegerColumn(const char* name);

// Rows of a catalogue result, built value by value.
class RowsBuilder {
public:
    explicit RowsBuilder(std::size_t columns) : m_table(columns) {}
    RowsBuilder& row();
    RowsBuilder& text(std::string_view utf8);
    RowsBuilder& number(std::int64_t v);
    RowsBuilder& null();
    ResultTable take();

private:
    Cell& next();
    ResultTable m_table;
    Cell* m_row = nullptr;
    std::size_t m_column = 0;
};

// A catalogue function's string argument in UTF-8; nullopt (with 22018
// recorded) when it is not valid text.  A null pointer is the empty text.
std::optional<std::string> CatalogArgument(Stmt& stmt, Interface i, const void* text, SQLSMALLINT length);

struct TableRow {
    std::string name; // UTF-8
    std::string type; // "TABLE", "VIEW", "SYSTEM TABLE"
};
// The tables and views in name order; false (recorded) on an error.
bool ListTables(Stmt& stmt, std::vector<TableRow>& out);
// The table of that name, as the schema spells it.
std::optional<std::string> FindTable(Stmt& stmt, std::string_view name, bool& failed);

struct TableColumn {
    int position = 0; // from 1
    std::string name;
    SqlTypeInfo type;
    bool notNull = false;
    int primaryKey = 0; // position in the key from 1, 0 when not in it
    std::optional<std::string> defaultValue;
};
std::vector<TableColumn> TableColumns(Stmt& stmt, const std::string& table);

// "PRAGMA <what>(<name>)" with the name quoted.
std::string Pragma(const char* what, const std::string& name);

// Shared opening of every catalogue function: no cursor may be open.
bool ReadyForCatalog(Stmt& stmt);

} // namespace access_odbc
