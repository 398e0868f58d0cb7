// Describing result columns, binding them, fetching and SQLGetData.

#include "platform/odbc/convert.h"
#include "platform/odbc/handles.h"

#include <cstring>

using namespace access_odbc;

namespace {

using Outcome = Conversion::Outcome;

SQLRETURN record(Stmt& stmt, const Conversion& c, SQLRETURN& result)
{
    if (c.outcome == Outcome::Error) {
        stmt.diag.add(c.state, c.message);
        result = SQL_ERROR;
    } else if (c.outcome == Outcome::SuccessWithInfo) {
        stmt.diag.add(c.state, c.message);
        if (result == SQL_SUCCESS)
            result = SQL_SUCCESS_WITH_INFO;
    }
    return result;
}

// Where row `r` of the rowset goes for a bound column, by the binding
// orientation and offset the application set.
void rowAddresses(const Stmt& stmt, const ColumnBinding& b, SQLULEN r, SQLPOINTER& target, SQLLEN*& indicator)
{
    SQLULEN offset = stmt.rowBindOffset ? *stmt.rowBindOffset : 0;
    SQLULEN targetStep, indicatorStep;
    if (stmt.rowBindType == SQL_BIND_BY_COLUMN) {
        SQLLEN fixed = FixedCTypeSize(b.cType);
        targetStep = SQLULEN(fixed ? fixed : b.bufferLength);
        indicatorStep = sizeof(SQLLEN);
    } else {
        targetStep = indicatorStep = stmt.rowBindType;
    }
    target = b.target ? static_cast<char*>(b.target) + offset + r * targetStep : nullptr;
    indicator = b.indicator ? reinterpret_cast<SQLLEN*>(reinterpret_cast<char*>(b.indicator) + offset + r * indicatorStep)
                            : nullptr;
}

SQLRETURN fillRowset(Stmt& stmt, SQLULEN* fetched, SQLUSMALLINT* status)
{
    SQLLEN total = SQLLEN(stmt.result.rowCount());
    SQLULEN count = 0;
    SQLRETURN result = SQL_SUCCESS;
    for (SQLULEN r = 0; r < stmt.rowArraySize; ++r) {
        SQLLEN index = stmt.position - 1 + SQLLEN(r);
        if (index >= total) {
            if (status)
                status[r] = SQL_ROW_NOROW;
            continue;
        }
        ++count;
        SQLRETURN rowResult = SQL_SUCCESS;
        if (stmt.retrieveData == SQL_RD_ON) {
            const size_t columns = stmt.result.columnCount();
            for (size_t c = 1; c < stmt.bindings.size() && c <= columns; ++c) {
                const ColumnBinding& b = stmt.bindings[c];
                if (!b.bound())
                    continue;
                SQLPOINTER target;
                SQLLEN* indicator;
                rowAddresses(stmt, b, r, target, indicator);
                if (stmt.boundPieces.size() < columns)
                    stmt.boundPieces.resize(columns);
                DataPiece& piece = stmt.boundPieces[c - 1];
                piece.reset();
                piece.wholeCharacters = stmt.dbc->wholeCharacterPieces;
                Conversion conv = ConvertValue(stmt.result.value(size_t(index), c - 1),
                                               ReportedType(*stmt.dbc, stmt.columns[c - 1].type.type), b.cType,
                                               target, b.bufferLength, indicator, piece);
                record(stmt, conv, rowResult);
            }
        }
        if (status)
            status[r] = rowResult == SQL_SUCCESS ? SQL_ROW_SUCCESS
                      : rowResult == SQL_ERROR   ? SQL_ROW_ERROR
                                                 : SQL_ROW_SUCCESS_WITH_INFO;
        if (rowResult == SQL_ERROR)
            result = stmt.rowArraySize == 1 ? SQL_ERROR : SQL_SUCCESS_WITH_INFO;
        else if (rowResult == SQL_SUCCESS_WITH_INFO && result == SQL_SUCCESS)
            result = SQL_SUCCESS_WITH_INFO;
    }
    if (fetched)
        *fetched = count;
    return result;
}

// The first row of the new rowset by ODBC's scrolling rules: 0 before the
// first row, rows+1 after the last.  `warn` is set when the rowset was moved
// to the start because it would have overlapped it (01S06).
SQLLEN scrollTarget(const Stmt& stmt, SQLSMALLINT orientation, SQLLEN offset, bool& warn)
{
    const SQLLEN n = SQLLEN(stmt.result.rowCount());
    const SQLLEN size = SQLLEN(stmt.rowArraySize);
    const SQLLEN cur = stmt.position;
    const SQLLEN after = n + 1;
    auto absolute = [&](SQLLEN k) -> SQLLEN {
        if (k > 0)
            return k > n ? after : k;
        if (k == 0)
            return 0;
        if (-k <= n)
            return n + k + 1;
        if (-k > size)
            return 0;
        warn = true;
        return 1;
    };
    switch (orientation) {
    case SQL_FETCH_NEXT:
        if (cur == 0)
            return n > 0 ? 1 : after;
        return cur >= after || cur + size > n ? after : cur + size;
    case SQL_FETCH_PRIOR:
        if (cur == 0)
            return 0;
        if (cur >= after)
            return n - size + 1 >= 1 ? n - size + 1 : (n > 0 ? 1 : 0);
        if (cur == 1)
            return 0;
        if (cur - size < 1) {
            warn = true;
            return 1;
        }
        return cur - size;
    case SQL_FETCH_FIRST:
        return n > 0 ? 1 : after;
    case SQL_FETCH_LAST:
        return n == 0 ? after : (n - size + 1 >= 1 ? n - size + 1 : 1);
    case SQL_FETCH_ABSOLUTE:
        return absolute(offset);
    case SQL_FETCH_RELATIVE:
        if (cur == 0)
            return offset > 0 ? absolute(offset) : 0;
        if (cur >= after)
            return offset < 0 ? absolute(offset) : after;
        if (cur + offset < 1) {
            if (-offset > size)
                return 0;
            warn = true;
            return 1;
        }
        return cur + offset > n ? after : cur + offset;
    default:
        return -1;
    }
}

SQLRETURN fetch(Stmt& stmt, SQLSMALLINT orientation, SQLLEN offset, SQLULEN* fetched, SQLUSMALLINT* status)
{
    if (!stmt.cursorOpen)
        return stmt.diag.fail("24000", "Invalid cursor state: no cursor open");
    if (orientation != SQL_FETCH_NEXT && stmt.cursorType == SQL_CURSOR_FORWARD_ONLY)
        return stmt.diag.fail("HY106", "Fetch type out of range: the cursor is forward-only");
    if (orientation == SQL_FETCH_BOOKMARK)
        return stmt.diag.fail("HYC00", "Optional feature not implemented: bookmarks");
    bool warn = false;
    SQLLEN target = scrollTarget(stmt, orientation, offset, warn);
    if (target < 0)
        return stmt.diag.fail("HY106", "Fetch type out of range");
    stmt.position = target;
    stmt.dataColumn = 0;
    if (target == 0 || target > SQLLEN(stmt.result.rowCount())) {
        if (fetched)
            *fetched = 0;
        if (status)
            for (SQLULEN r = 0; r < stmt.rowArraySize; ++r)
                status[r] = SQL_ROW_NOROW;
        return SQL_NO_DATA;
    }
    SQLRETURN rc = fillRowset(stmt, fetched, status);
    if (warn && rc == SQL_SUCCESS) {
        stmt.diag.add("01S06", "Attempt to fetch before the result set returned the first rowset");
        rc = SQL_SUCCESS_WITH_INFO;
    }
    return rc;
}

bool validColumn(Stmt& stmt, SQLUSMALLINT column)
{
    if (column >= 1 && column <= stmt.columns.size())
        return true;
    stmt.diag.add("07009", "Invalid descriptor index: column " + std::to_string(column));
    return false;
}

bool describable(Stmt& stmt)
{
    if (stmt.prepared || stmt.cursorOpen)
        return true;
    stmt.diag.add("HY010", "Function sequence error: no statement prepared");
    return false;
}

} // namespace

namespace access_odbc {

SQLRETURN DescribeColumn(Stmt& statement, Interface i, SQLUSMALLINT column, SQLPOINTER name, SQLSMALLINT bufferLength,
                         SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                         SQLSMALLINT* nullable)
{
    Stmt* stmt = &statement;
    if (!describable(*stmt) || !validColumn(*stmt, column))
        return SQL_ERROR;
    if (bufferLength < 0)
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    const Column& c = stmt->columns[column - 1];
    if (type)
        *type = ReportedType(*stmt->dbc, c.type.type);
    if (size)
        *size = c.type.size;
    if (digits)
        *digits = c.type.digits;
    if (nullable)
        *nullable = c.nullable;
    if (CopyOut(i, c.name, name, bufferLength, Counted::Units, nameLength)) {
        stmt->diag.add("01004", "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

SQLRETURN ColumnAttribute(Stmt& statement, Interface i, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                          SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number)
{
    Stmt* stmt = &statement;
    if (!describable(*stmt))
        return SQL_ERROR;
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
        if (number)
            *number = SQLLEN(stmt->columns.size());
        return SQL_SUCCESS;
    }
    if (!validColumn(*stmt, column))
        return SQL_ERROR;
    const Column& c = stmt->columns[column - 1];
    const SqlTypeInfo& t = c.type;
    const SQLSMALLINT reported = ReportedType(*stmt->dbc, t.type);
    std::string s;
    bool isText = true;
    SQLLEN n = 0;
    switch (field) {
    case SQL_DESC_NAME: case SQL_DESC_LABEL: case SQL_COLUMN_NAME: s = c.name; break;
    case SQL_DESC_BASE_COLUMN_NAME: s = c.baseColumn; break;
    case SQL_DESC_TABLE_NAME: case SQL_DESC_BASE_TABLE_NAME: s = c.table; break;
    case SQL_DESC_TYPE_NAME: case SQL_DESC_LOCAL_TYPE_NAME: s = TypeName(t.type); break;
    case SQL_DESC_SCHEMA_NAME: case SQL_DESC_CATALOG_NAME: break;
    case SQL_DESC_LITERAL_PREFIX: case SQL_DESC_LITERAL_SUFFIX:
        s = IsCharacterType(t.type) ? "'" : t.type == SQL_TYPE_TIMESTAMP ? "#" : IsBinaryType(t.type) ? "0x" : "";
        if (field == SQL_DESC_LITERAL_SUFFIX && IsBinaryType(t.type))
            s.clear();
        break;
    default:
        isText = false;
        switch (field) {
        case SQL_DESC_TYPE: n = t.type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : reported; break;
        case SQL_DESC_CONCISE_TYPE: n = reported; break;
        case SQL_DESC_LENGTH: case SQL_COLUMN_LENGTH:
            n = IsCharacterType(t.type) || IsBinaryType(t.type) ? SQLLEN(t.size) : OctetLength(t);
            break;
        case SQL_DESC_OCTET_LENGTH:
            // A wide client's buffer holds two bytes a character.
            n = OctetLength(t) * (reported != t.type && IsCharacterType(t.type) ? 2 : 1);
            break;
        case SQL_DESC_PRECISION: case SQL_COLUMN_PRECISION: n = SQLLEN(t.size); break;
        case SQL_DESC_SCALE: case SQL_COLUMN_SCALE: n = t.digits; break;
        case SQL_DESC_DISPLAY_SIZE: n = DisplaySize(t); break;
        case SQL_DESC_NULLABLE: case SQL_COLUMN_NULLABLE: n = c.nullable; break;
        case SQL_DESC_UNSIGNED: n = IsNumericType(t.type) && t.type != SQL_TINYINT ? SQL_FALSE : SQL_TRUE; break;
        case SQL_DESC_AUTO_UNIQUE_VALUE: n = c.autoIncrement ? SQL_TRUE : SQL_FALSE; break;
        case SQL_DESC_CASE_SENSITIVE: n = IsCharacterType(t.type) ? SQL_TRUE : SQL_FALSE; break;
        case SQL_DESC_SEARCHABLE:
            n = t.type == SQL_LONGVARCHAR ? SQL_PRED_CHAR : IsBinaryType(t.type) ? SQL_PRED_NONE : SQL_PRED_SEARCHABLE;
            break;
        case SQL_DESC_UPDATABLE: n = SQL_ATTR_READONLY; break;
        case SQL_DESC_FIXED_PREC_SCALE: n = SQL_FALSE; break;
        case SQL_DESC_NUM_PREC_RADIX: n = IsNumericType(t.type) ? 10 : 0; break;
        case SQL_DESC_UNNAMED: n = c.name.empty() ? SQL_UNNAMED : SQL_NAMED; break;
        case SQL_DESC_DATETIME_INTERVAL_CODE: n = t.type == SQL_TYPE_TIMESTAMP ? SQL_CODE_TIMESTAMP : 0; break;
        default:
            return stmt->diag.fail("HY091", "Invalid descriptor field identifier");
        }
    }
    if (!isText) {
        if (number)
            *number = n;
        return SQL_SUCCESS;
    }
    if (CopyOut(i, s, text, bufferLength, Counted::Bytes, textLength)) {
        stmt->diag.add("01004", "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

} // namespace access_odbc

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                                 SQLSMALLINT* nullable)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return DescribeColumn(*stmt, Interface::Narrow, column, name, bufferLength, nameLength, type, size, digits,
                          nullable);
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                  SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return ColumnAttribute(*stmt, Interface::Narrow, column, field, text, bufferLength, textLength, number);
}

SQLRETURN SQL_API SQLColAttributes(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                   SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number)
{
    return SQLColAttribute(handle, column, field, text, bufferLength, textLength, number);
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (column == 0)
        return stmt->diag.fail("07009", "Invalid descriptor index: bookmarks are off");
    if (stmt->cursorOpen && column > stmt->columns.size())
        return stmt->diag.fail("07009", "Invalid descriptor index: column " + std::to_string(column));
    if (bufferLength < 0)
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    if (!IsKnownCType(cType))
        return stmt->diag.fail("HY003", "Invalid application buffer type");
    if (stmt->bindings.size() <= column)
        stmt->bindings.resize(size_t(column) + 1);
    stmt->bindings[column] = {.cType = cType, .target = target, .bufferLength = bufferLength, .indicator = indicator};
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return fetch(*stmt, SQL_FETCH_NEXT, 0, stmt->rowsFetched, stmt->rowStatus);
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN offset)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return fetch(*stmt, orientation, offset, stmt->rowsFetched, stmt->rowStatus);
}

SQLRETURN SQL_API SQLExtendedFetch(SQLHSTMT handle, SQLUSMALLINT orientation, SQLLEN offset, SQLULEN* fetched,
                                   SQLUSMALLINT* status)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return fetch(*stmt, SQLSMALLINT(orientation), offset, fetched, status);
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->cursorOpen)
        return stmt->diag.fail("24000", "Invalid cursor state: no cursor open");
    if (stmt->position < 1 || stmt->position > SQLLEN(stmt->result.rowCount()))
        return stmt->diag.fail("24000", "Invalid cursor state: no current row");
    if (!validColumn(*stmt, column))
        return SQL_ERROR;
    if (bufferLength < 0)
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    if (stmt->pieces.size() < stmt->columns.size())
        stmt->pieces.resize(stmt->columns.size());
    DataPiece& piece = stmt->pieces[column - 1];
    if (column != stmt->dataColumn) {
        stmt->dataColumn = column;
        piece.reset();
    }
    piece.wholeCharacters = stmt->dbc->wholeCharacterPieces;
    const Column& col = stmt->columns[column - 1];
    Conversion c = ConvertValue(stmt->result.value(size_t(stmt->position - 1), column - 1),
                                ReportedType(*stmt->dbc, col.type.type), cType, target, bufferLength, indicator, piece);
    if (c.outcome == Outcome::NoData)
        return SQL_NO_DATA;
    SQLRETURN result = SQL_SUCCESS;
    return record(*stmt, c, result);
}
