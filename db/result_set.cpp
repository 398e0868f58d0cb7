#include "db/result_set.h"

#include "db/connection.h"
#include "db/engine_entries.h"
#include "db/sql_text.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <utility>

namespace db {
namespace {

// The smallest bound text buffer: enough for any number or date as text.
constexpr SQLULEN kSmallestBoundText = 40;

ResultSetHandle nextHandle()
{
    static ResultSetHandle last = 0;
    if (last == std::numeric_limits<ResultSetHandle>::max())
        return 0; // every handle has been given out once
    return ++last;
}

bool isLongOrBinary(SQLSMALLINT type)
{
    return type >= SQL_LONGVARBINARY && type <= SQL_LONGVARCHAR; // -4 .. -1
}

bool describeColumns(ResultSet& rs)
{
    SQLSMALLINT count = 0;
    if (!Succeeded(SQLNumResultCols(rs.stmt, &count)))
        return false;
    rs.columns.clear();
    rs.columns.resize(std::size_t(count));
    for (SQLUSMALLINT i = 0; i < SQLUSMALLINT(count); ++i) {
        ResultColumn& col = rs.columns[i];
        std::vector<SQLCHAR> name(256);
        SQLSMALLINT nameLength = 0, digits = 0, nullable = 0;
        auto describe = [&] {
            return SQLDescribeCol(rs.stmt, SQLUSMALLINT(i + 1), name.data(), SQLSMALLINT(name.size()), &nameLength,
                                  &col.sqlType, &col.size, &digits, &nullable);
        };
        SQLRETURN rc = describe();
        if (Succeeded(rc) && nameLength >= SQLSMALLINT(name.size())) {
            name.resize(std::size_t(nameLength) + 1);
            rc = describe();
        }
        if (!Succeeded(rc))
            return false;
        col.name.assign(reinterpret_cast<const char*>(name.data()), std::size_t(std::max<SQLSMALLINT>(nameLength, 0)));
        col.name.resize(std::strlen(col.name.c_str()));
        col.firstOfName = std::none_of(rs.columns.begin(), rs.columns.begin() + i,
                                       [&](const ResultColumn& earlier) { return earlier.name == col.name; });
        col.bound = !isLongOrBinary(col.sqlType) && col.size <= kLargestBoundColumn;
        if (!col.bound)
            continue;
        col.text.assign(std::max(col.size, kSmallestBoundText) + 1, '\0');
        col.indicator = SQL_NULL_DATA;
        if (!Succeeded(SQLBindCol(rs.stmt, SQLUSMALLINT(i + 1), SQL_C_CHAR, col.text.data(), SQLLEN(col.text.size()),
                                  &col.indicator)))
            return false;
    }
    return true;
}

void clearBoundText(ResultSet& rs)
{
    for (ResultColumn& col : rs.columns) {
        col.indicator = SQL_NULL_DATA;
        if (!col.text.empty())
            col.text[0] = '\0';
    }
}

// Opens a set into the lowest empty slot; 0 when there is none or the
// query fails.
ResultSetHandle open(Connection* c, const char* sql, bool updatable)
{
    if (!(c = Live(c)) || !sql)
        return 0;
    auto slot = std::find(c->slots.begin(), c->slots.end(), nullptr);
    if (slot == c->slots.end())
        return 0;
    auto rs = std::make_unique<ResultSet>();
    rs->updatable = updatable;
    rs->sql = PrepareSqlText(sql, c->quote);
    rs->stmt = AllocateStatement(*c);
    if (!rs->stmt)
        return 0;
    SQLULEN cursor = updatable ? SQL_CURSOR_KEYSET_DRIVEN : SQL_CURSOR_STATIC;
    SQLULEN concurrency = updatable ? SQL_CONCUR_LOCK : SQL_CONCUR_READ_ONLY;
    // A driver may answer with a cursor or concurrency of its own (01S02);
    // the set then is what the driver gives.
    if (!Succeeded(SQLSetStmtAttr(rs->stmt, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(cursor), 0)) ||
        !Succeeded(SQLSetStmtAttr(rs->stmt, SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(concurrency), 0)))
        return 0;
    SQLSetStmtAttr(rs->stmt, SQL_ATTR_ROW_STATUS_PTR, &rs->rowStatus, 0);
    if (updatable) {
        SQLUINTEGER positioned = 0;
        if (Succeeded(SQLGetInfo(c->dbc, SQL_POSITIONED_STATEMENTS, &positioned, sizeof positioned, nullptr)) &&
            (positioned & SQL_PS_SELECT_FOR_UPDATE))
            rs->sql += " FOR UPDATE ";
    }
    if (!rs->run())
        return 0;
    rs->handle = nextHandle();
    if (rs->handle == 0)
        return 0;
    *slot = std::move(rs);
    return (*slot)->handle;
}

} // namespace

std::string_view ResultColumn::boundText() const
{
    if (!bound || indicator == SQL_NULL_DATA || text.empty())
        return {};
    return std::string_view(text.data(), std::strlen(text.data()));
}

ResultSet::~ResultSet()
{
    if (stmt)
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}

char* ResultSet::scratchFor(std::size_t bytes, std::size_t keep)
{
    assert(keep <= scratchSize);
    if (bytes > scratchSize) {
        auto larger = std::make_unique_for_overwrite<char[]>(bytes);
        if (keep)
            std::memcpy(larger.get(), scratch.get(), keep);
        scratch = std::move(larger);
        scratchSize = bytes;
    }
    return scratch.get();
}

bool ResultSet::run()
{
    SQLFreeStmt(stmt, SQL_CLOSE);
    SQLFreeStmt(stmt, SQL_UNBIND);
    std::vector<SQLCHAR> text(sql.begin(), sql.end());
    text.push_back(0);
    SQLRETURN rc = UntilDone([&] { return SQLExecDirect(stmt, text.data(), SQL_NTS); });
    if (!Succeeded(rc) || !describeColumns(*this))
        return false;
    // The whole result is walked once, counting, and the caller starts on
    // the first row.
    beforeFirst = afterLast = false;
    position = -1;
    rowCount = 0;
    if (!countRows())
        return false;
    beforeFirst = afterLast = rowCount == 0;
    position = rowCount;
    if (rowCount > 0)
        return fetch(SQL_FETCH_FIRST);
    clearBoundText(*this);
    return true;
}

bool ResultSet::countRows()
{
    if (countRowsInRowsets())
        return true;
    // A driver that cannot hand out rows without their data, or many at a
    // time: one row after the other.
    SQLFreeStmt(stmt, SQL_CLOSE);
    std::vector<SQLCHAR> text(sql.begin(), sql.end());
    text.push_back(0);
    if (!Succeeded(UntilDone([&] { return SQLExecDirect(stmt, text.data(), SQL_NTS); })))
        return false;
    rowCount = 0;
    position = -1;
    afterLast = false;
    if (!fetch(SQL_FETCH_NEXT))
        return false;
    while (!afterLast) {
        ++rowCount;
        if (!fetch(SQL_FETCH_NEXT))
            return false;
    }
    return true;
}

// The walk that counts needs no values, so the driver is asked to fill no
// bound column (SQL_ATTR_RETRIEVE_DATA off) and to move many rows a fetch.
// Rows the driver marks deleted are not counted, as a walk row by row
// steps over them.
bool ResultSet::countRowsInRowsets()
{
    constexpr SQLULEN kRowset = 512;
    auto set = [&](SQLINTEGER attribute, SQLPOINTER value) {
        return SQLSetStmtAttr(stmt, attribute, value, 0) == SQL_SUCCESS;
    };
    auto restore = [&] {
        set(SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)));
        set(SQL_ATTR_ROW_STATUS_PTR, &rowStatus);
        set(SQL_ATTR_ROWS_FETCHED_PTR, nullptr);
        set(SQL_ATTR_RETRIEVE_DATA, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_RD_ON)));
    };
    std::vector<SQLUSMALLINT> status(kRowset);
    SQLULEN fetched = 0;
    if (!set(SQL_ATTR_RETRIEVE_DATA, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_RD_OFF))) ||
        !set(SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowset)) ||
        !set(SQL_ATTR_ROW_STATUS_PTR, status.data()) || !set(SQL_ATTR_ROWS_FETCHED_PTR, &fetched)) {
        restore();
        return false;
    }
    rowCount = 0;
    for (;;) {
        fetched = 0;
        SQLRETURN rc = UntilDone([&] { return SQLFetchScroll(stmt, SQL_FETCH_NEXT, 0); });
        if (rc == SQL_NO_DATA)
            break;
        if (!Succeeded(rc)) {
            restore();
            return false;
        }
        for (SQLULEN r = 0; r < fetched && r < kRowset; ++r)
            if (status[r] != SQL_ROW_DELETED && status[r] != SQL_ROW_NOROW)
                ++rowCount;
    }
    restore();
    afterLast = true;
    return true;
}

bool ResultSet::fetch(SQLSMALLINT orientation)
{
    for (;;) {
        SQLRETURN rc = UntilDone([&] { return SQLFetchScroll(stmt, orientation, 0); });
        if (rc == SQL_NO_DATA) {
            clearBoundText(*this);
            switch (orientation) {
            case SQL_FETCH_NEXT:
                afterLast = true;
                position = rowCount;
                break;
            case SQL_FETCH_PRIOR:
                beforeFirst = true;
                position = -1;
                break;
            default: // FIRST or LAST on an empty set
                beforeFirst = afterLast = true;
                position = -1;
                break;
            }
            return true;
        }
        if (!Succeeded(rc))
            return false;
        switch (orientation) {
        case SQL_FETCH_FIRST: position = 0; break;
        case SQL_FETCH_LAST: position = rowCount - 1; break;
        case SQL_FETCH_NEXT: ++position; break;
        case SQL_FETCH_PRIOR: --position; break;
        default: break;
        }
        beforeFirst = afterLast = false;
        // Rows deleted since the cursor was made are stepped over.
        if (rowStatus != SQL_ROW_DELETED)
            return true;
        if (orientation == SQL_FETCH_FIRST)
            orientation = SQL_FETCH_NEXT;
        else if (orientation == SQL_FETCH_LAST)
            orientation = SQL_FETCH_PRIOR;
    }
}

bool ResultSet::moveTo(std::int32_t row)
{
    if (row < 0) {
        if (!fetch(SQL_FETCH_FIRST))
            return false;
        return onRow() ? fetch(SQL_FETCH_PRIOR) : true;
    }
    if (row >= rowCount) {
        if (!fetch(SQL_FETCH_LAST))
            return false;
        return onRow() ? fetch(SQL_FETCH_NEXT) : true;
    }
    SQLRETURN rc = UntilDone([&] { return SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, row + 1); });
    if (!Succeeded(rc))
        return false;
    position = row;
    beforeFirst = afterLast = false;
    return true;
}

int ColumnPosition(const ResultSet& rs, const char* name)
{
    // A handler reads the same columns in the same order on every row: the
    // column after the one found last is tried first, unless an earlier
    // column has the same name and so is the one meant.
    const std::size_t count = rs.columns.size();
    auto named = [&](std::size_t i) { return std::strcmp(rs.columns[i].name.c_str(), name) == 0; };
    if (rs.nextGuess < count && rs.columns[rs.nextGuess].firstOfName && named(rs.nextGuess))
        return int(std::exchange(rs.nextGuess, (rs.nextGuess + 1) % count));
    for (std::size_t i = 0; i < count; ++i)
        if (named(i)) {
            rs.nextGuess = (i + 1) % count;
            return int(i);
        }
    return -1;
}

namespace entries {

ResultSetHandle OpenTable(Connection* c, const char* sql)
{
    return open(c, sql, false);
}

ResultSetHandle OpenTableToModi(Connection* c, const char* sql)
{
    return open(c, sql, true);
}

void CloseTable(Connection* c, ResultSetHandle handle)
{
    if (!(c = Live(c)))
        return;
    for (auto& slot : c->slots)
        if (slot && (handle == 0 || slot->handle == handle))
            slot.reset();
}

bool Requery(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    return rs && rs->run();
}

bool IsBOF(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    return !rs || rs->beforeFirst;
}

bool IsEOF(Connection* c, ResultSetHandle handle)
{
    ResultSet* rs = FindResultSet(c, handle);
    return !rs || rs->afterLast;
}

// Moving swallows errors: the flags stay as they were.
void MoveFirst(Connection* c, ResultSetHandle handle)
{
    if (ResultSet* rs = FindResultSet(c, handle))
        rs->fetch(SQL_FETCH_FIRST);
}

void MoveNext(Connection* c, ResultSetHandle handle)
{
    if (ResultSet* rs = FindResultSet(c, handle))
        rs->fetch(SQL_FETCH_NEXT);
}

void MovePrev(Connection* c, ResultSetHandle handle)
{
    if (ResultSet* rs = FindResultSet(c, handle))
        rs->fetch(SQL_FETCH_PRIOR);
}

void MoveLast(Connection* c, ResultSetHandle handle)
{
    if (ResultSet* rs = FindResultSet(c, handle))
        rs->fetch(SQL_FETCH_LAST);
}

} // namespace entries
} // namespace db
