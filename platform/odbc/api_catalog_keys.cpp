// The catalogue functions a client calls when it opens a table: primary
// keys, indexes and statistics, the columns that identify a row, foreign
// keys, and procedures (a file of this driver has none).

#include "platform/odbc/catalog_support.h"

#include <algorithm>
#include <sqlite3.h>

using namespace access_odbc;

namespace {

// Access names the index of a table's primary key so.
constexpr const char* kPrimaryKeyName = "PrimaryKey";

// The columns of a table's primary key, in key order.
std::vector<TableColumn> primaryKey(Stmt& stmt, const std::string& table)
{
    std::vector<TableColumn> key;
    for (TableColumn& c : TableColumns(stmt, table))
        if (c.primaryKey > 0)
            key.push_back(std::move(c));
    std::sort(key.begin(), key.end(), [](const TableColumn& a, const TableColumn& b) { return a.primaryKey < b.primaryKey; });
    return key;
}

// A table named by an ordinary argument; an unknown name gives an empty
// result, not an error, as ODBC asks.
struct NamedTable {
    bool failed = false;
    std::optional<std::string> name;
};

NamedTable namedTable(Stmt& stmt, Interface i, const void* table, SQLSMALLINT length)
{
    NamedTable t;
    std::optional<std::string> given = CatalogArgument(stmt, i, table, length);
    if (!given) {
        t.failed = true;
        return t;
    }
    if (given->empty()) {
        t.failed = true;
        stmt.diag.fail("HY009", "Invalid use of null pointer: a table name is required");
        return t;
    }
    t.name = FindTable(stmt, *given, t.failed);
    return t;
}

SQLRETURN primaryKeys(Stmt& stmt, Interface i, const void* table, SQLSMALLINT length)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    NamedTable t = namedTable(stmt, i, table, length);
    if (t.failed)
        return SQL_ERROR;
    RowsBuilder rows(6);
    if (t.name)
        for (const TableColumn& c : primaryKey(stmt, *t.name))
            rows.row().null().null().text(*t.name).text(c.name).number(c.primaryKey).text(kPrimaryKeyName);
    std::vector<Column> columns = {TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"),
                                   TextColumn("COLUMN_NAME"), SmallColumn("KEY_SEQ"), TextColumn("PK_NAME")};
    return OpenResult(stmt, std::move(columns), rows.take());
}

struct IndexColumn {
    bool unique = false;
    std::string index;
    int position = 0;
    std::string column;
};

std::vector<IndexColumn> indexes(Stmt& stmt, const std::string& table)
{
    std::vector<IndexColumn> out;
    sqlite3* db = stmt.dbc->db;
    // An INTEGER PRIMARY KEY is the row id itself, with no index of its own
    // in the schema; Access would list it as the primary key's index.
    std::vector<TableColumn> key = primaryKey(stmt, table);
    if (key.size() == 1 && key[0].type.type == SQL_INTEGER)
        out.push_back({.unique = true, .index = kPrimaryKeyName, .position = 1, .column = key[0].name});
    sqlite3_stmt* list = nullptr;
    std::string sql = Pragma("index_list", table);
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &list, nullptr) == SQLITE_OK) {
        while (sqlite3_step(list) == SQLITE_ROW) {
            std::string name = reinterpret_cast<const char*>(sqlite3_column_text(list, 1));
            bool unique = sqlite3_column_int(list, 2) != 0;
            const unsigned char* origin = sqlite3_column_text(list, 3);
            bool isKey = origin && std::string_view(reinterpret_cast<const char*>(origin)) == "pk";
            sqlite3_stmt* info = nullptr;
            std::string infoSql = Pragma("index_info", name);
            if (sqlite3_prepare_v2(db, infoSql.c_str(), -1, &info, nullptr) == SQLITE_OK) {
                while (sqlite3_step(info) == SQLITE_ROW) {
                    const unsigned char* column = sqlite3_column_text(info, 2);
                    if (!column)
                        continue; // an expression
                    out.push_back({.unique = unique, .index = isKey ? kPrimaryKeyName : name,
                                   .position = sqlite3_column_int(info, 0) + 1,
                                   .column = reinterpret_cast<const char*>(column)});
                }
            }
            sqlite3_finalize(info);
        }
    }
    sqlite3_finalize(list);
    // ODBC's order: unique first, then by index name and position.
    std::stable_sort(out.begin(), out.end(), [](const IndexColumn& a, const IndexColumn& b) {
        if (a.unique != b.unique)
            return a.unique;
        if (a.index != b.index)
            return a.index < b.index;
        return a.position < b.position;
    });
    return out;
}

std::int64_t countRows(Stmt& stmt, const std::string& table)
{
    std::string quoted;
    for (char c : table) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    std::string sql = "SELECT count(*) FROM \"" + quoted + "\"";
    sqlite3_stmt* st = nullptr;
    std::int64_t n = 0;
    if (sqlite3_prepare_v2(stmt.dbc->db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

SQLRETURN statistics(Stmt& stmt, Interface i, const void* table, SQLSMALLINT length, SQLUSMALLINT unique,
                     SQLUSMALLINT accuracy)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    if (unique != SQL_INDEX_UNIQUE && unique != SQL_INDEX_ALL)
        return stmt.diag.fail("HY100", "Uniqueness option type out of range");
    if (accuracy != SQL_ENSURE && accuracy != SQL_QUICK)
        return stmt.diag.fail("HY101", "Accuracy option type out of range");
    NamedTable t = namedTable(stmt, i, table, length);
    if (t.failed)
        return SQL_ERROR;
    RowsBuilder rows(13);
    if (t.name) {
        // The table's own statistics row comes first; counting the rows is
        // what SQL_ENSURE asks for.
        rows.row().null().null().text(*t.name).null().null().null().number(SQL_TABLE_STAT).null().null().null();
        accuracy == SQL_ENSURE ? rows.number(countRows(stmt, *t.name)) : rows.null();
        rows.null().null();
        for (const IndexColumn& c : indexes(stmt, *t.name)) {
            if (unique == SQL_INDEX_UNIQUE && !c.unique)
                continue;
            rows.row().null().null().text(*t.name).number(c.unique ? SQL_FALSE : SQL_TRUE).null().text(c.index);
            rows.number(SQL_INDEX_OTHER).number(c.position).text(c.column).text("A").null().null().null();
        }
    }
    std::vector<Column> columns = {
        TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"), SmallColumn("NON_UNIQUE"),
        TextColumn("INDEX_QUALIFIER"), TextColumn("INDEX_NAME"), SmallColumn("TYPE"), SmallColumn("ORDINAL_POSITION"),
        TextColumn("COLUMN_NAME"), TextColumn("ASC_OR_DESC", 1), IntegerColumn("CARDINALITY"), IntegerColumn("PAGES"),
        TextColumn("FILTER_CONDITION"),
    };
    return OpenResult(stmt, std::move(columns), rows.take());
}

SQLRETURN specialColumns(Stmt& stmt, Interface i, SQLUSMALLINT identifier, const void* table, SQLSMALLINT length,
                         SQLUSMALLINT scope, SQLUSMALLINT nullable)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    if (identifier != SQL_BEST_ROWID && identifier != SQL_ROWVER)
        return stmt.diag.fail("HY097", "Column type out of range");
    if (scope != SQL_SCOPE_CURROW && scope != SQL_SCOPE_TRANSACTION && scope != SQL_SCOPE_SESSION)
        return stmt.diag.fail("HY098", "Scope type out of range");
    if (nullable != SQL_NO_NULLS && nullable != SQL_NULLABLE)
        return stmt.diag.fail("HY099", "Nullable type out of range");
    NamedTable t = namedTable(stmt, i, table, length);
    if (t.failed)
        return SQL_ERROR;
    const Dbc& dbc = *stmt.dbc;
    RowsBuilder rows(8);
    // The primary key identifies a row for as long as the session lasts;
    // no column changes by itself when a row is updated.
    if (t.name && identifier == SQL_BEST_ROWID) {
        for (const TableColumn& c : primaryKey(stmt, *t.name)) {
            rows.row().number(SQL_SCOPE_SESSION).text(c.name).number(ReportedType(dbc, c.type.type));
            rows.text(TypeName(c.type.type)).number(std::int64_t(c.type.size)).number(OctetLength(c.type));
            IsNumericType(c.type.type) ? rows.number(c.type.digits) : rows.null();
            rows.number(SQL_PC_NOT_PSEUDO);
        }
    }
    std::vector<Column> columns = {
        SmallColumn("SCOPE"), TextColumn("COLUMN_NAME"), SmallColumn("DATA_TYPE"), TextColumn("TYPE_NAME"),
        IntegerColumn("COLUMN_SIZE"), IntegerColumn("BUFFER_LENGTH"), SmallColumn("DECIMAL_DIGITS"),
        SmallColumn("PSEUDO_COLUMN"),
    };
    return OpenResult(stmt, std::move(columns), rows.take());
}

struct ForeignKey {
    std::string pkTable, pkColumn, fkTable, fkColumn, name;
    int sequence = 0;
    SQLSMALLINT onUpdate = SQL_NO_ACTION, onDelete = SQL_NO_ACTION;
};

SQLSMALLINT rule(const unsigned char* text)
{
    std::string_view r = text ? reinterpret_cast<const char*>(text) : "";
    if (r == "CASCADE")
        return SQL_CASCADE;
    if (r == "SET NULL")
        return SQL_SET_NULL;
    if (r == "SET DEFAULT")
        return SQL_SET_DEFAULT;
    if (r == "RESTRICT")
        return SQL_RESTRICT;
    return SQL_NO_ACTION;
}

// The foreign keys that `table` declares.
std::vector<ForeignKey> foreignKeysOf(Stmt& stmt, const std::string& table, const std::vector<TableRow>& tables)
{
    std::vector<ForeignKey> out;
    sqlite3_stmt* st = nullptr;
    std::string sql = Pragma("foreign_key_list", table);
    if (sqlite3_prepare_v2(stmt.dbc->db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            ForeignKey k;
            int id = sqlite3_column_int(st, 0);
            k.sequence = sqlite3_column_int(st, 1) + 1;
            k.pkTable = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
            for (const TableRow& t : tables)
                if (SameName(t.name, k.pkTable))
                    k.pkTable = t.name;
            k.fkTable = table;
            k.fkColumn = reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
            if (const unsigned char* to = sqlite3_column_text(st, 4)) {
                k.pkColumn = reinterpret_cast<const char*>(to);
            } else {
                // A reference without columns names the parent's key.
                std::vector<TableColumn> key = primaryKey(stmt, k.pkTable);
                if (size_t(k.sequence) <= key.size())
                    k.pkColumn = key[size_t(k.sequence - 1)].name;
            }
            k.onUpdate = rule(sqlite3_column_text(st, 5));
            k.onDelete = rule(sqlite3_column_text(st, 6));
            k.name = table + "_" + std::to_string(id);
            out.push_back(std::move(k));
        }
    }
    sqlite3_finalize(st);
    return out;
}

SQLRETURN foreignKeys(Stmt& stmt, Interface i, const void* pkTable, SQLSMALLINT pkLength, const void* fkTable,
                      SQLSMALLINT fkLength)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    std::optional<std::string> pk = CatalogArgument(stmt, i, pkTable, pkLength);
    std::optional<std::string> fk = CatalogArgument(stmt, i, fkTable, fkLength);
    if (!pk || !fk)
        return SQL_ERROR;
    if (pk->empty() && fk->empty())
        return stmt.diag.fail("HY009", "Invalid use of null pointer: name a primary or a foreign key table");
    std::vector<TableRow> tables;
    if (!ListTables(stmt, tables))
        return SQL_ERROR;
    std::vector<ForeignKey> keys;
    for (const TableRow& t : tables) {
        if (!fk->empty() && !SameName(t.name, *fk))
            continue;
        for (ForeignKey& k : foreignKeysOf(stmt, t.name, tables))
            if (pk->empty() || SameName(k.pkTable, *pk))
                keys.push_back(std::move(k));
    }
    // Ordered by the foreign key table when the primary one was given, and
    // the other way round, then by key and position.
    bool byForeign = !pk->empty();
    std::stable_sort(keys.begin(), keys.end(), [&](const ForeignKey& a, const ForeignKey& b) {
        const std::string& x = byForeign ? a.fkTable : a.pkTable;
        const std::string& y = byForeign ? b.fkTable : b.pkTable;
        if (x != y)
            return x < y;
        if (a.name != b.name)
            return a.name < b.name;
        return a.sequence < b.sequence;
    });
    RowsBuilder rows(14);
    for (const ForeignKey& k : keys) {
        rows.row().null().null().text(k.pkTable).text(k.pkColumn).null().null().text(k.fkTable).text(k.fkColumn);
        rows.number(k.sequence).number(k.onUpdate).number(k.onDelete).text(k.name).text(kPrimaryKeyName);
        rows.number(SQL_NOT_DEFERRABLE);
    }
    std::vector<Column> columns = {
        TextColumn("PKTABLE_CAT"), TextColumn("PKTABLE_SCHEM"), TextColumn("PKTABLE_NAME"), TextColumn("PKCOLUMN_NAME"),
        TextColumn("FKTABLE_CAT"), TextColumn("FKTABLE_SCHEM"), TextColumn("FKTABLE_NAME"), TextColumn("FKCOLUMN_NAME"),
        SmallColumn("KEY_SEQ"), SmallColumn("UPDATE_RULE"), SmallColumn("DELETE_RULE"), TextColumn("FK_NAME"),
        TextColumn("PK_NAME"), SmallColumn("DEFERRABILITY"),
    };
    return OpenResult(stmt, std::move(columns), rows.take());
}

// A file of this driver holds no procedures: the results are empty, with
// the columns ODBC names.
SQLRETURN procedures(Stmt& stmt, Interface i, const void* name, SQLSMALLINT length)
{
    if (!ReadyForCatalog(stmt) || !CatalogArgument(stmt, i, name, length))
        return SQL_ERROR;
    std::vector<Column> columns = {
        TextColumn("PROCEDURE_CAT"), TextColumn("PROCEDURE_SCHEM"), TextColumn("PROCEDURE_NAME"),
        IntegerColumn("NUM_INPUT_PARAMS"), IntegerColumn("NUM_OUTPUT_PARAMS"), IntegerColumn("NUM_RESULT_SETS"),
        TextColumn("REMARKS", 254), SmallColumn("PROCEDURE_TYPE"),
    };
    return OpenResult(stmt, std::move(columns), ResultTable(columns.size()));
}

SQLRETURN procedureColumns(Stmt& stmt, Interface i, const void* name, SQLSMALLINT length, const void* column,
                           SQLSMALLINT columnLength)
{
    if (!ReadyForCatalog(stmt) || !CatalogArgument(stmt, i, name, length)
        || !CatalogArgument(stmt, i, column, columnLength))
        return SQL_ERROR;
    std::vector<Column> columns = {
        TextColumn("PROCEDURE_CAT"), TextColumn("PROCEDURE_SCHEM"), TextColumn("PROCEDURE_NAME"),
        TextColumn("COLUMN_NAME"), SmallColumn("COLUMN_TYPE"), SmallColumn("DATA_TYPE"), TextColumn("TYPE_NAME"),
        IntegerColumn("COLUMN_SIZE"), IntegerColumn("BUFFER_LENGTH"), SmallColumn("DECIMAL_DIGITS"),
        SmallColumn("NUM_PREC_RADIX"), SmallColumn("NULLABLE"), TextColumn("REMARKS", 254),
        TextColumn("COLUMN_DEF", 254), SmallColumn("SQL_DATA_TYPE"), SmallColumn("SQL_DATETIME_SUB"),
        IntegerColumn("CHAR_OCTET_LENGTH"), IntegerColumn("ORDINAL_POSITION"), TextColumn("IS_NULLABLE", 3),
    };
    return OpenResult(stmt, std::move(columns), ResultTable(columns.size()));
}

} // namespace

SQLRETURN SQL_API SQLPrimaryKeys(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                                 SQLSMALLINT length)
{
    return OnStatement(h, [&](Stmt& s) { return primaryKeys(s, Interface::Narrow, table, length); });
}

SQLRETURN SQL_API SQLPrimaryKeysW(SQLHSTMT h, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* table,
                                  SQLSMALLINT length)
{
    return OnStatement(h, [&](Stmt& s) { return primaryKeys(s, Interface::Wide, table, length); });
}

SQLRETURN SQL_API SQLStatistics(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                                SQLSMALLINT length, SQLUSMALLINT unique, SQLUSMALLINT accuracy)
{
    return OnStatement(h, [&](Stmt& s) { return statistics(s, Interface::Narrow, table, length, unique, accuracy); });
}

SQLRETURN SQL_API SQLStatisticsW(SQLHSTMT h, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* table,
                                 SQLSMALLINT length, SQLUSMALLINT unique, SQLUSMALLINT accuracy)
{
    return OnStatement(h, [&](Stmt& s) { return statistics(s, Interface::Wide, table, length, unique, accuracy); });
}

SQLRETURN SQL_API SQLSpecialColumns(SQLHSTMT h, SQLUSMALLINT identifier, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                                    SQLCHAR* table, SQLSMALLINT length, SQLUSMALLINT scope, SQLUSMALLINT nullable)
{
    return OnStatement(h, [&](Stmt& s) {
        return specialColumns(s, Interface::Narrow, identifier, table, length, scope, nullable);
    });
}

SQLRETURN SQL_API SQLSpecialColumnsW(SQLHSTMT h, SQLUSMALLINT identifier, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*,
                                     SQLSMALLINT, SQLWCHAR* table, SQLSMALLINT length, SQLUSMALLINT scope,
                                     SQLUSMALLINT nullable)
{
    return OnStatement(h, [&](Stmt& s) {
        return specialColumns(s, Interface::Wide, identifier, table, length, scope, nullable);
    });
}

SQLRETURN SQL_API SQLForeignKeys(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* pkTable,
                                 SQLSMALLINT pkLength, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* fkTable,
                                 SQLSMALLINT fkLength)
{
    return OnStatement(h, [&](Stmt& s) { return foreignKeys(s, Interface::Narrow, pkTable, pkLength, fkTable, fkLength); });
}

SQLRETURN SQL_API SQLForeignKeysW(SQLHSTMT h, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* pkTable,
                                  SQLSMALLINT pkLength, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT,
                                  SQLWCHAR* fkTable, SQLSMALLINT fkLength)
{
    return OnStatement(h, [&](Stmt& s) { return foreignKeys(s, Interface::Wide, pkTable, pkLength, fkTable, fkLength); });
}

SQLRETURN SQL_API SQLProcedures(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* name,
                                SQLSMALLINT length)
{
    return OnStatement(h, [&](Stmt& s) { return procedures(s, Interface::Narrow, name, length); });
}

SQLRETURN SQL_API SQLProceduresW(SQLHSTMT h, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* name,
                                 SQLSMALLINT length)
{
    return OnStatement(h, [&](Stmt& s) { return procedures(s, Interface::Wide, name, length); });
}

SQLRETURN SQL_API SQLProcedureColumns(SQLHSTMT h, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* name,
                                      SQLSMALLINT length, SQLCHAR* column, SQLSMALLINT columnLength)
{
    return OnStatement(h, [&](Stmt& s) { return procedureColumns(s, Interface::Narrow, name, length, column, columnLength); });
}

SQLRETURN SQL_API SQLProcedureColumnsW(SQLHSTMT h, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* name,
                                       SQLSMALLINT length, SQLWCHAR* column, SQLSMALLINT columnLength)
{
    return OnStatement(h, [&](Stmt& s) { return procedureColumns(s, Interface::Wide, name, length, column, columnLength); });
}
