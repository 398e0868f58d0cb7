// The grid entries: a set's rows and columns by number, and changes to the
// rows of an updatable set.  A set the driver gave read-only (it may turn a
// keyset cursor into a static one) changes nothing; only BDZap, which runs
// a statement of its own, empties the table either way.

#include "db/connection.h"
#include "db/engine_entries.h"
#include "db/result_set.h"
#include "db/sql_text.h"

#include <algorithm>
#include <cstring>

namespace db {
namespace {

ResultColumn* columnOf(ResultSet* rs, std::int32_t column)
{
    if (!rs || column < 0 || std::size_t(column) >= rs->columns.size())
        return nullptr;
    return &rs->columns[std::size_t(column)];
}

// Whether the driver lets this set's rows change in place.
bool changesRows(ResultSet& rs)
{
    SQLULEN concurrency = SQL_CONCUR_READ_ONLY;
    if (!rs.updatable ||
        !Succeeded(SQLGetStmtAttr(rs.stmt, SQL_ATTR_CONCURRENCY, &concurrency, sizeof concurrency, nullptr)))
        return false;
    return concurrency != SQL_CONCUR_READ_ONLY;
}

// Keeps the cursor where it stood while a row elsewhere is visited.
class KeepPosition {
public:
    explicit KeepPosition(ResultSet& rs) : m_rs(rs), m_row(rs.position) {}
    ~KeepPosition() { m_rs.moveTo(m_row); }

private:
    ResultSet& m_rs;
    std::int32_t m_row;
};

std::string tableName(ResultSet& rs)
{
    for (SQLUSMALLINT field : {SQLUSMALLINT(SQL_DESC_BASE_TABLE_NAME), SQLUSMALLINT(SQL_DESC_TABLE_NAME)}) {
        char name[256] = {};
        SQLSMALLINT length = 0;
        if (!rs.columns.empty() && Succeeded(SQLColAttribute(rs.stmt, 1, field, name, sizeof name, &length, nullptr)) &&
            name[0])
            return name;
    }
    return TableNameOfQuery(rs.sql);
}

// Display width in characters by SQL type; text and binary columns by
// their size.
std::int32_t displayWidth(const ResultColumn& col)
{
    struct Width {
        SQLSMALLINT type;
        std::int32_t chars;
    };
    static constexpr Width kWidths[] = {
        {SQL_BIT, 1},        {SQL_TINYINT, 3},   {SQL_SMALLINT, 6},  {SQL_INTEGER, 11},
        {SQL_BIGINT, 20},    {SQL_REAL, 14},     {SQL_FLOAT, 24},    {SQL_DOUBLE, 24},
        {SQL_DATE, 10},      {SQL_TYPE_DATE, 10}, {SQL_TIME, 8},     {SQL_TYPE_TIME, 8},
        {SQL_TIMESTAMP, 19}, {SQL_TYPE_TIMESTAMP, 19},
    };
    constexpr std::int32_t kWidest = 255;
    std::int32_t chars = -1;
    for (const Width& w : kWidths)
        if (w.type == col.sqlType)
            chars = w.chars;
    if (chars < 0) {
        bool binary = col.sqlType == SQL_BINARY || col.sqlType == SQL_VARBINARY || col.sqlType == SQL_LONGVARBINARY;
        SQLULEN size = binary ? col.size * 2 : col.size; // two hex digits a byte
        chars = std::int32_t(std::min<SQLULEN>(size, kWidest));
    }
    return std::clamp<std::int32_t>(std::max<std::int32_t>(chars, std::int32_t(col.name.size())), 1, kWidest);
}

} // namespace

namespace entries {

std::int32_t BDGetRecCount(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    return rs ? rs->rowCount : 0;
}

std::int32_t BDGetColCount(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    return rs ? std::int32_t(rs->columns.size()) : 0;
}

std::string BDGetColText(Connection* c, ResultSetHandle handle, std::int32_t row, std::int32_t column)
{
    ResultSet* rs = FindResultSet(c, handle);
    if (!columnOf(rs, column) || row < 0 || row >= rs->rowCount)
        return {};
    KeepPosition keep(*rs);
    if (!rs->moveTo(row) || !rs->onRow())
        return {};
    std::string text;
    char piece[4096];
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(rs->stmt, SQLUSMALLINT(column + 1), SQL_C_CHAR, piece, sizeof piece, &indicator);
        if (!Succeeded(rc) || indicator == SQL_NULL_DATA)
            break;
        text += piece;
        if (rc == SQL_SUCCESS)
            break;
    }
    return text;
}

std::int32_t BDGetColSQLType(Connection* c, ResultSetHandle handle, std::int32_t column)
{
    ResultColumn* col = columnOf(FindResultSet(c, handle), column);
    return col ? col->sqlType : 0;
}

std::string BDGetColName(Connection* c, ResultSetHandle handle, std::int32_t column)
{
    ResultColumn* col = columnOf(FindResultSet(c, handle), column);
    return col ? col->name : std::string();
}

std::int32_t BDGetColWidth(Connection* c, ResultSetHandle handle, std::int32_t column)
{
    ResultColumn* col = columnOf(FindResultSet(c, handle), column);
    return col ? displayWidth(*col) : 0;
}

bool BDSetColText(Connection* c, ResultSetHandle handle, std::int32_t row, std::int32_t column, const char* text)
{
    ResultSet* rs = FindResultSet(c, handle);
    ResultColumn* col = columnOf(rs, column);
    if (!col || !col->bound || row < 0 || row >= rs->rowCount || !changesRows(*rs) || !rs->moveTo(row))
        return false;
    std::size_t length = text ? std::min(std::strlen(text), col->text.size() - 1) : 0;
    std::memcpy(col->text.data(), text ? text : "", length);
    col->text[length] = '\0';
    col->indicator = SQL_NTS;
    return Succeeded(SQLSetPos(rs->stmt, 1, SQL_UPDATE, SQL_LOCK_NO_CHANGE));
}

bool BDAppendBlank(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    if (!rs || !changesRows(*rs))
        return false;
    for (ResultColumn& col : rs->columns)
        col.indicator = SQL_NULL_DATA;
    if (!Succeeded(SQLBulkOperations(rs->stmt, SQL_ADD)))
        return false;
    return rs->run();
}

bool BDRemove(Connection* c, ResultSetHandle handle, std::int32_t row)
{
    ResultSet* rs = FindResultSet(c, handle);
    if (!rs || row < 0 || row >= rs->rowCount || !changesRows(*rs) || !rs->moveTo(row))
        return false;
    return Succeeded(SQLSetPos(rs->stmt, 1, SQL_DELETE, SQL_LOCK_NO_CHANGE));
}

bool BDZap(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    if (!rs)
        return false;
    std::string table = tableName(*rs);
    if (table.empty() || !ExecuteStatement(*c, "DELETE FROM " + table))
        return false;
    // The set shows the table as it is now: empty.
    return rs->run();
}

} // namespace entries
} // namespace db
