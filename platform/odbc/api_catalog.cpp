// Catalogue functions: SQLTables, SQLColumns and SQLGetTypeInfo, answered
// from sqlite_master and PRAGMA table_info as ready-made results.

#include "platform/odbc/catalog_support.h"

#include <algorithm>
#include <sqlite3.h>
#include <strings.h>

using namespace access_odbc;

namespace {

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

SQLRETURN tables(Stmt& stmt, Interface i, const void* table, SQLSMALLINT tableLength, const void* type,
                 SQLSMALLINT typeLength)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    std::optional<std::string> pattern = CatalogArgument(stmt, i, table, tableLength);
    std::optional<std::string> types = CatalogArgument(stmt, i, type, typeLength);
    if (!pattern || !types)
        return SQL_ERROR;
    std::vector<TableRow> list;
    if (!ListTables(stmt, list))
        return SQL_ERROR;
    RowsBuilder rows(5);
    for (const TableRow& t : list) {
        if (!pattern->empty() && !MatchesPattern(*pattern, t.name))
            continue;
        if (!typeWanted(*types, t.type))
            continue;
        rows.row().null().null().text(t.name).text(t.type).null();
    }
    std::vector<Column> columns = {TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"),
                                   TextColumn("TABLE_TYPE"), TextColumn("REMARKS", 254)};
    return OpenResult(stmt, std::move(columns), rows.take());
}

SQLRETURN columns(Stmt& stmt, Interface i, const void* table, SQLSMALLINT tableLength, const void* column,
                  SQLSMALLINT columnLength)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    std::optional<std::string> tablePattern = CatalogArgument(stmt, i, table, tableLength);
    std::optional<std::string> columnPattern = CatalogArgument(stmt, i, column, columnLength);
    if (!tablePattern || !columnPattern)
        return SQL_ERROR;
    std::vector<TableRow> list;
    if (!ListTables(stmt, list))
        return SQL_ERROR;
    const Dbc& dbc = *stmt.dbc;
    RowsBuilder rows(18);
    for (const TableRow& t : list) {
        if (!tablePattern->empty() && !MatchesPattern(*tablePattern, t.name))
            continue;
        for (const TableColumn& c : TableColumns(stmt, t.name)) {
            if (!columnPattern->empty() && !MatchesPattern(*columnPattern, c.name))
                continue;
            const SqlTypeInfo& ti = c.type;
            bool nullable = !(c.notNull || (c.primaryKey && ti.type == SQL_INTEGER));
            bool numeric = IsNumericType(ti.type);
            SQLSMALLINT reported = ReportedType(dbc, ti.type);
            rows.row().null().null().text(t.name).text(c.name).number(reported).text(TypeName(ti.type));
            rows.number(std::int64_t(ti.size)).number(OctetLength(ti));
            numeric ? rows.number(ti.digits) : rows.null();
            numeric ? rows.number(10) : rows.null();
            rows.number(nullable ? SQL_NULLABLE : SQL_NO_NULLS).null();
            c.defaultValue ? rows.text(*c.defaultValue) : rows.null();
            rows.number(ti.type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : reported);
            ti.type == SQL_TYPE_TIMESTAMP ? rows.number(SQL_CODE_TIMESTAMP) : rows.null();
            IsCharacterType(ti.type) || IsBinaryType(ti.type) ? rows.number(std::int64_t(ti.size)) : rows.null();
            rows.number(c.position).text(nullable ? "YES" : "NO");
        }
    }
    std::vector<Column> columns = {
        TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"), TextColumn("COLUMN_NAME"),
        SmallColumn("DATA_TYPE"), TextColumn("TYPE_NAME"), IntegerColumn("COLUMN_SIZE"),
        IntegerColumn("BUFFER_LENGTH"), SmallColumn("DECIMAL_DIGITS"), SmallColumn("NUM_PREC_RADIX"),
        SmallColumn("NULLABLE"), TextColumn("REMARKS", 254), TextColumn("COLUMN_DEF", 254),
        SmallColumn("SQL_DATA_TYPE"), SmallColumn("SQL_DATETIME_SUB"), IntegerColumn("CHAR_OCTET_LENGTH"),
        IntegerColumn("ORDINAL_POSITION"), TextColumn("IS_NULLABLE", 3),
    };
    return OpenResult(stmt, std::move(columns), rows.take());
}

struct TypeRow {
    const char* name;
    SQLSMALLINT type;
    std::int64_t size;
    const char* prefix;
    const char* params;
    bool autoIncrement;
};

// In the order of their narrow SQL type numbers.
constexpr TypeRow kTypes[] = {
    {.name = "BIT", .type = SQL_BIT, .size = 1, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "BYTE", .type = SQL_TINYINT, .size = 3, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "BIGINT", .type = SQL_BIGINT, .size = 19, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "LONGBINARY", .type = SQL_LONGVARBINARY, .size = std::int64_t(kLongSize), .prefix = "0x",
     .params = nullptr, .autoIncrement = false},
    {.name = "VARBINARY", .type = SQL_VARBINARY, .size = 510, .prefix = "0x", .params = "max length",
     .autoIncrement = false},
    {.name = "LONGCHAR", .type = SQL_LONGVARCHAR, .size = std::int64_t(kLongSize), .prefix = "'", .params = nullptr,
     .autoIncrement = false},
    {.name = "COUNTER", .type = SQL_INTEGER, .size = 10, .prefix = nullptr, .params = nullptr, .autoIncrement = true},
    {.name = "INTEGER", .type = SQL_INTEGER, .size = 10, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "SMALLINT", .type = SQL_SMALLINT, .size = 5, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "REAL", .type = SQL_REAL, .size = 7, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "DOUBLE", .type = SQL_DOUBLE, .size = 15, .prefix = nullptr, .params = nullptr, .autoIncrement = false},
    {.name = "VARCHAR", .type = SQL_VARCHAR, .size = 255, .prefix = "'", .params = "max length", .autoIncrement = false},
    {.name = "DATETIME", .type = SQL_TYPE_TIMESTAMP, .size = 19, .prefix = "#", .params = nullptr,
     .autoIncrement = false},
};

SQLRETURN typeInfo(Stmt& stmt, SQLSMALLINT wanted)
{
    if (!ReadyForCatalog(stmt))
        return SQL_ERROR;
    const Dbc& dbc = *stmt.dbc;
    // A Unicode client sees the wide character types, which sort first;
    // either name of a character type finds it.
    std::vector<const TypeRow*> order;
    for (const TypeRow& t : kTypes)
        if (wanted == SQL_ALL_TYPES || wanted == t.type || wanted == ReportedType(dbc, t.type))
            order.push_back(&t);
    std::stable_sort(order.begin(), order.end(), [&](const TypeRow* a, const TypeRow* b) {
        return ReportedType(dbc, a->type) < ReportedType(dbc, b->type);
    });
    RowsBuilder rows(19);
    for (const TypeRow* t : order) {
        bool character = IsCharacterType(t->type);
        bool numeric = IsNumericType(t->type);
        SQLSMALLINT reported = ReportedType(dbc, t->type);
        rows.row().text(t->name).number(reported).number(t->size);
        t->prefix ? rows.text(t->prefix) : rows.null();
        t->prefix ? rows.text(t->prefix[0] == '0' ? "" : t->prefix) : rows.null();
        t->params ? rows.text(t->params) : rows.null();
        rows.number(SQL_NULLABLE).number(character ? SQL_TRUE : SQL_FALSE);
        rows.number(t->type == SQL_LONGVARCHAR ? SQL_PRED_CHAR : IsBinaryType(t->type) ? SQL_PRED_NONE : SQL_SEARCHABLE);
        numeric ? rows.number(t->type == SQL_TINYINT ? SQL_TRUE : SQL_FALSE) : rows.null();
        rows.number(SQL_FALSE);
        numeric ? rows.number(t->autoIncrement ? SQL_TRUE : SQL_FALSE) : rows.null();
        rows.text(t->name);
        numeric ? rows.number(0) : rows.null();
        numeric ? rows.number(0) : rows.null();
        rows.number(t->type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : reported);
        t->type == SQL_TYPE_TIMESTAMP ? rows.number(SQL_CODE_TIMESTAMP) : rows.null();
        numeric ? rows.number(10) : rows.null();
        rows.null();
    }
    std::vector<Column> columns = {
        TextColumn("TYPE_NAME"), SmallColumn("DATA_TYPE"), IntegerColumn("COLUMN_SIZE"),
        TextColumn("LITERAL_PREFIX"), TextColumn("LITERAL_SUFFIX"), TextColumn("CREATE_PARAMS"),
        SmallColumn("NULLABLE"), SmallColumn("CASE_SENSITIVE"), SmallColumn("SEARCHABLE"),
        SmallColumn("UNSIGNED_ATTRIBUTE"), SmallColumn("FIXED_PREC_SCALE"), SmallColumn("AUTO_UNIQUE_VALUE"),
        TextColumn("LOCAL_TYPE_NAME"), SmallColumn("MINIMUM_SCALE"), SmallColumn("MAXIMUM_SCALE"),
        SmallColumn("SQL_DATA_TYPE"), SmallColumn("SQL_DATETIME_SUB"), IntegerColumn("NUM_PREC_RADIX"),
        SmallColumn("INTERVAL_PRECISION"),
    };
    return OpenResult(stmt, std::move(columns), rows.take());
}

} // namespace

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                            SQLSMALLINT tableLength, SQLCHAR* type, SQLSMALLINT typeLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return tables(*stmt, Interface::Narrow, table, tableLength, type, typeLength);
}

SQLRETURN SQL_API SQLTablesW(SQLHSTMT handle, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* table,
                             SQLSMALLINT tableLength, SQLWCHAR* type, SQLSMALLINT typeLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return tables(*stmt, Interface::Wide, table, tableLength, type, typeLength);
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return columns(*stmt, Interface::Narrow, table, tableLength, column, columnLength);
}

SQLRETURN SQL_API SQLColumnsW(SQLHSTMT handle, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* table,
                              SQLSMALLINT tableLength, SQLWCHAR* column, SQLSMALLINT columnLength)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return columns(*stmt, Interface::Wide, table, tableLength, column, columnLength);
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT wanted)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return typeInfo(*stmt, wanted);
}

SQLRETURN SQL_API SQLGetTypeInfoW(SQLHSTMT handle, SQLSMALLINT wanted)
{
    return SQLGetTypeInfo(handle, wanted);
}
