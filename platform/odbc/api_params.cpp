// Statement parameters: binding, describing, and values given at
// execution time piece by piece (SQLParamData, SQLPutData), of any size.

#include "platform/odbc/gbk.h"
#include "platform/odbc/handles.h"
#include "platform/odbc/utf16.h"

#include <cstring>
#include <sqlite3.h>

using namespace access_odbc;

namespace {

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

bool isDataAtExecution(SQLLEN length)
{
    return length == SQL_DATA_AT_EXEC || length <= SQL_LEN_DATA_AT_EXEC_OFFSET;
}

std::string parameterName(int index)
{
    return "parameter " + std::to_string(index);
}

SQLRETURN bindText(Stmt& stmt, int index, const std::string& utf8)
{
    int rc = sqlite3_bind_text64(stmt.prepared, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return rc == SQLITE_OK ? SQL_SUCCESS : FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
}

// One parameter's value, whole, in its C type.  `length` is the byte
// length of character and binary data (SQL_NTS allowed for text).
SQLRETURN bindValue(Stmt& stmt, int index, SQLSMALLINT cType, const char* data, SQLLEN length)
{
    sqlite3_stmt* st = stmt.prepared;
    int rc = SQLITE_OK;
    auto integer = [&](auto v) { rc = sqlite3_bind_int64(st, index, std::int64_t(v)); };
    auto fixed = [&](auto& v) {
        std::memcpy(&v, data, sizeof v);
        return v;
    };
    switch (cType) {
    case SQL_C_CHAR: {
        if (length == SQL_NTS)
            length = SQLLEN(std::strlen(data));
        else if (length < 0)
            return stmt.diag.fail("HY090", "Invalid string or buffer length");
        std::string utf8;
        if (!GbkToUtf8(std::string_view(data, size_t(length)), utf8))
            return stmt.diag.fail("22018", "Invalid character value: " + parameterName(index) + " is not valid GBK text");
        return bindText(stmt, index, utf8);
    }
    case SQL_C_WCHAR: {
        if (length == SQL_NTS)
            length = SQLLEN(Utf16Length(reinterpret_cast<const Utf16Unit*>(data)) * 2);
        else if (length < 0)
            return stmt.diag.fail("HY090", "Invalid string or buffer length");
        std::string utf8;
        // The units may sit at any address in a buffer of bytes.
        std::u16string units(size_t(length) / 2, u'\0');
        std::memcpy(units.data(), data, units.size() * 2);
        if (length % 2 != 0 || !Utf16ToUtf8(reinterpret_cast<const Utf16Unit*>(units.data()), units.size(), utf8))
            return stmt.diag.fail("22018", "Invalid character value: " + parameterName(index)
                                               + " is not valid UTF-16 text");
        return bindText(stmt, index, utf8);
    }
    case SQL_C_BINARY:
        if (length < 0)
            return stmt.diag.fail("HY090", "Invalid string or buffer length");
        rc = sqlite3_bind_blob64(st, index, data, sqlite3_uint64(length), SQLITE_TRANSIENT);
        break;
    case SQL_C_SLONG: case SQL_C_LONG: { std::int32_t v; integer(fixed(v)); break; }
    case SQL_C_ULONG: { std::uint32_t v; integer(fixed(v)); break; }
    case SQL_C_SSHORT: case SQL_C_SHORT: { std::int16_t v; integer(fixed(v)); break; }
    case SQL_C_USHORT: { std::uint16_t v; integer(fixed(v)); break; }
    case SQL_C_STINYINT: case SQL_C_TINYINT: { std::int8_t v; integer(fixed(v)); break; }
    case SQL_C_UTINYINT: case SQL_C_BIT: { std::uint8_t v; integer(fixed(v)); break; }
    case SQL_C_SBIGINT: { std::int64_t v; integer(fixed(v)); break; }
    case SQL_C_UBIGINT: {
        std::uint64_t v;
        if (fixed(v) > std::uint64_t(INT64_MAX))
            return stmt.diag.fail("22003", "Numeric value out of range");
        integer(v);
        break;
    }
    case SQL_C_FLOAT: { float v; rc = sqlite3_bind_double(st, index, fixed(v)); break; }
    case SQL_C_DOUBLE: { double v; rc = sqlite3_bind_double(st, index, fixed(v)); break; }
    case SQL_C_TYPE_TIMESTAMP: case SQL_C_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts;
        return bindText(stmt, index, FormatTimestamp(fixed(ts)));
    }
    case SQL_C_TYPE_DATE: case SQL_C_DATE: {
        SQL_DATE_STRUCT d;
        fixed(d);
        SQL_TIMESTAMP_STRUCT ts{.year = d.year, .month = d.month, .day = d.day};
        return bindText(stmt, index, FormatTimestamp(ts).substr(0, 10));
    }
    case SQL_C_TYPE_TIME: case SQL_C_TIME: {
        SQL_TIME_STRUCT t;
        fixed(t);
        SQL_TIMESTAMP_STRUCT ts{.year = 1899, .month = 12, .day = 30, .hour = t.hour, .minute = t.minute, .second = t.second};
        return bindText(stmt, index, FormatTimestamp(ts).substr(11));
    }
    default:
        return stmt.diag.fail("HY003", "Invalid application buffer type: " + parameterName(index));
    }
    if (rc != SQLITE_OK)
        return FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
    return SQL_SUCCESS;
}

SQLSMALLINT effectiveCType(const ParamBinding& p)
{
    return p.cType == SQL_C_DEFAULT ? DefaultCType(p.sqlType) : p.cType;
}

// Binds parameter `index` from its buffers; a data-at-execution one is
// only noted.
SQLRETURN bindParameter(Stmt& stmt, int index, bool& atExecution)
{
    atExecution = false;
    if (size_t(index) >= stmt.params.size() || !stmt.params[size_t(index)].bound)
        return stmt.diag.fail("07002", "COUNT field incorrect: " + parameterName(index) + " is not bound");
    const ParamBinding& p = stmt.params[size_t(index)];
    SQLLEN* indicator = paramIndicator(stmt, p);
    char* data = paramAddress(stmt, p);
    SQLSMALLINT cType = effectiveCType(p);
    bool character = cType == SQL_C_CHAR || cType == SQL_C_WCHAR;
    SQLLEN length = indicator ? *indicator : (character ? SQLLEN(SQL_NTS) : p.bufferLength);
    if (length == SQL_NULL_DATA) {
        int rc = sqlite3_bind_null(stmt.prepared, index);
        return rc == SQLITE_OK ? SQL_SUCCESS : FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
    }
    if (isDataAtExecution(length)) {
        atExecution = true;
        return SQL_SUCCESS;
    }
    if (!data)
        return stmt.diag.fail("HY009", "Invalid use of null pointer: " + parameterName(index));
    return bindValue(stmt, index, cType, data, length);
}

// The value SQLPutData gathered for the current parameter, bound.
SQLRETURN finishCurrent(Stmt& stmt)
{
    Stmt::DataAtExecution& d = stmt.dataAtExecution;
    int index = d.current;
    d.current = 0;
    if (d.isNull) {
        int rc = sqlite3_bind_null(stmt.prepared, index);
        return rc == SQLITE_OK ? SQL_SUCCESS : FailFromSqlite(stmt.diag, stmt.dbc->db, rc);
    }
    SQLSMALLINT cType = effectiveCType(stmt.params[size_t(index)]);
    SQLLEN fixed = FixedCTypeSize(cType);
    if (fixed > 0 && d.bytes.size() != size_t(fixed))
        return stmt.diag.fail("HY090", "Invalid string or buffer length: " + parameterName(index)
                                           + " was not given whole");
    return bindValue(stmt, index, cType, d.bytes.data(), SQLLEN(d.bytes.size()));
}

void endDataAtExecution(Stmt& stmt)
{
    Stmt::DataAtExecution& d = stmt.dataAtExecution;
    d.active = false;
    d.current = 0;
    d.pending.clear();
    d.next = 0;
    d.bytes.clear();
    d.bytes.shrink_to_fit(); // a long text's buffer is not kept for ever
}

} // namespace

namespace access_odbc {

SQLRETURN BindParameters(Stmt& stmt)
{
    Stmt::DataAtExecution& d = stmt.dataAtExecution;
    endDataAtExecution(stmt);
    int count = sqlite3_bind_parameter_count(stmt.prepared);
    for (int i = 1; i <= count; ++i) {
        bool atExecution = false;
        if (SQLRETURN rc = bindParameter(stmt, i, atExecution); rc != SQL_SUCCESS)
            return rc;
        if (atExecution)
            d.pending.push_back(i);
    }
    if (d.pending.empty())
        return SQL_SUCCESS;
    d.active = true;
    return SQL_NEED_DATA;
}

void CancelDataAtExecution(Stmt& stmt)
{
    endDataAtExecution(stmt);
}

} // namespace access_odbc

SQLRETURN SQL_API SQLParamData(SQLHSTMT handle, SQLPOINTER* value)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    Stmt::DataAtExecution& d = stmt->dataAtExecution;
    if (!d.active)
        return stmt->diag.fail("HY010", "Function sequence error: no parameter needs data");
    if (d.current) {
        if (SQLRETURN rc = finishCurrent(*stmt); rc != SQL_SUCCESS) {
            endDataAtExecution(*stmt);
            return rc;
        }
    }
    if (d.next < d.pending.size()) {
        d.current = d.pending[d.next++];
        d.isNull = false;
        d.anyPiece = false;
        d.bytes.clear();
        if (value)
            *value = paramAddress(*stmt, stmt->params[size_t(d.current)]);
        return SQL_NEED_DATA;
    }
    endDataAtExecution(*stmt);
    return RunPrepared(*stmt);
}

SQLRETURN SQL_API SQLPutData(SQLHSTMT handle, SQLPOINTER data, SQLLEN length)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    Stmt::DataAtExecution& d = stmt->dataAtExecution;
    if (!d.active || !d.current)
        return stmt->diag.fail("HY010", "Function sequence error: no parameter is being given");
    if (length == SQL_NULL_DATA) {
        if (d.anyPiece)
            return stmt->diag.fail("HY011", "Attribute cannot be set now: data was already sent for this parameter");
        d.isNull = d.anyPiece = true;
        return SQL_SUCCESS;
    }
    if (d.isNull)
        return stmt->diag.fail("HY011", "Attribute cannot be set now: the parameter was given as NULL");
    SQLSMALLINT cType = effectiveCType(stmt->params[size_t(d.current)]);
    SQLLEN fixed = FixedCTypeSize(cType);
    if (fixed > 0) {
        if (d.anyPiece)
            return stmt->diag.fail("HY019", "Non-character and non-binary data sent in pieces");
        length = fixed;
    } else if (length == SQL_NTS && data) {
        length = cType == SQL_C_WCHAR ? SQLLEN(Utf16Length(static_cast<const Utf16Unit*>(data)) * 2)
                                      : SQLLEN(std::strlen(static_cast<const char*>(data)));
    } else if (length == SQL_NTS || length < 0) {
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    }
    if (length > 0 && !data)
        return stmt->diag.fail("HY009", "Invalid use of null pointer");
    d.bytes.append(static_cast<const char*>(data), size_t(length));
    d.anyPiece = true;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count)
{
    Stmt* stmt = As<Stmt>(handle);
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
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (!stmt->prepared)
        return stmt->diag.fail("HY010", "Function sequence error: no statement prepared");
    if (number < 1 || number > sqlite3_bind_parameter_count(stmt->prepared))
        return stmt->diag.fail("07009", "Invalid descriptor index");
    // SQLite does not type parameters; text is what every column accepts.
    if (type)
        *type = ReportedType(*stmt->dbc, SQL_VARCHAR);
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
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    if (number < 1)
        return stmt->diag.fail("07009", "Invalid descriptor index");
    if (ioType != SQL_PARAM_INPUT)
        return stmt->diag.fail("HY105", "Invalid parameter type: only input parameters are supported");
    if (bufferLength < 0)
        return stmt->diag.fail("HY090", "Invalid string or buffer length");
    if (!IsKnownCType(cType))
        return stmt->diag.fail("HY003", "Invalid application buffer type");
    if (stmt->params.size() <= number)
        stmt->params.resize(size_t(number) + 1);
    stmt->params[number] = {.bound = true, .ioType = ioType, .cType = cType, .sqlType = sqlType,
                            .columnSize = columnSize, .digits = digits, .value = value,
                            .bufferLength = bufferLength, .indicator = indicator};
    return SQL_SUCCESS;
}
