// SQLGetInfo and SQLGetFunctions.

#include "platform/odbc/handles.h"

#include <sqlite3.h>

using namespace access_odbc;

namespace {

enum class Kind { Text, Small, Integer };

struct Info {
    SQLUSMALLINT type;
    Kind kind;
    const char* text;
    SQLUINTEGER number;
};

constexpr Info text(SQLUSMALLINT type, const char* value) { return {type, Kind::Text, value, 0}; }
constexpr Info small(SQLUSMALLINT type, SQLUINTEGER value) { return {type, Kind::Small, nullptr, value}; }
constexpr Info integer(SQLUSMALLINT type, SQLUINTEGER value) { return {type, Kind::Integer, nullptr, value}; }

constexpr SQLUINTEGER kStaticCursor1 = SQL_CA1_NEXT | SQL_CA1_ABSOLUTE | SQL_CA1_RELATIVE;
constexpr SQLUINTEGER kStaticCursor2 = SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_MAX_ROWS_SELECT
    | SQL_CA2_CRC_EXACT;
constexpr SQLUINTEGER kConversions = SQL_CVT_CHAR | SQL_CVT_VARCHAR | SQL_CVT_LONGVARCHAR | SQL_CVT_INTEGER
    | SQL_CVT_SMALLINT | SQL_CVT_TINYINT | SQL_CVT_BIT | SQL_CVT_REAL | SQL_CVT_DOUBLE | SQL_CVT_FLOAT;

// The values the driver manager and applications ask for.  Names and
// versions that depend on the connection are filled in by the caller.
constexpr Info kInfo[] = {
    text(SQL_DRIVER_ODBC_VER, "03.00"),
    text(SQL_DRIVER_NAME, "libvelmora_access_odbc.so"),
    text(SQL_DRIVER_VER, "01.00.0000"),
    text(SQL_DBMS_NAME, "ACCESS"),
    text(SQL_DBMS_VER, "04.00.0000"),
    text(SQL_IDENTIFIER_QUOTE_CHAR, "\""),
    text(SQL_SEARCH_PATTERN_ESCAPE, "\\"),
    text(SQL_CATALOG_NAME_SEPARATOR, ""),
    text(SQL_CATALOG_TERM, ""),
    text(SQL_CATALOG_NAME, "N"),
    text(SQL_SCHEMA_TERM, ""),
    text(SQL_TABLE_TERM, "TABLE"),
    text(SQL_PROCEDURE_TERM, "QUERY"),
    text(SQL_PROCEDURES, "N"),
    text(SQL_ACCESSIBLE_TABLES, "Y"),
    text(SQL_ACCESSIBLE_PROCEDURES, "N"),
    text(SQL_EXPRESSIONS_IN_ORDERBY, "Y"),
    text(SQL_COLUMN_ALIAS, "Y"),
    text(SQL_LIKE_ESCAPE_CLAUSE, "N"),
    text(SQL_MULT_RESULT_SETS, "N"),
    text(SQL_MULTIPLE_ACTIVE_TXN, "Y"),
    text(SQL_NEED_LONG_DATA_LEN, "N"),
    text(SQL_OUTER_JOINS, "Y"),
    text(SQL_ORDER_BY_COLUMNS_IN_SELECT, "N"),
    text(SQL_ROW_UPDATES, "N"),
    text(SQL_INTEGRITY, "N"),
    text(SQL_MAX_ROW_SIZE_INCLUDES_LONG, "N"),
    text(SQL_DESCRIBE_PARAMETER, "N"),
    text(SQL_SPECIAL_CHARACTERS, "~@#$%^&*_-+=\\}{\"';:?/><,.![]|"),
    text(SQL_KEYWORDS, ""),
    text(SQL_USER_NAME, "admin"),
    text(SQL_SERVER_NAME, "ACCESS"),
    text(SQL_XOPEN_CLI_YEAR, "1995"),
    text(SQL_COLLATION_SEQ, "BINARY"),
    small(SQL_MAX_CONCURRENT_ACTIVITIES, 0),
    small(SQL_MAX_DRIVER_CONNECTIONS, 0),
    small(SQL_CURSOR_COMMIT_BEHAVIOR, SQL_CB_PRESERVE),
    small(SQL_CURSOR_ROLLBACK_BEHAVIOR, SQL_CB_PRESERVE),
    small(SQL_TXN_CAPABLE, SQL_TC_ALL),
    small(SQL_IDENTIFIER_CASE, SQL_IC_MIXED),
    small(SQL_QUOTED_IDENTIFIER_CASE, SQL_IC_MIXED),
    small(SQL_NULL_COLLATION, SQL_NC_LOW),
    small(SQL_CONCAT_NULL_BEHAVIOR, SQL_CB_NULL),
    small(SQL_CORRELATION_NAME, SQL_CN_ANY),
    small(SQL_NON_NULLABLE_COLUMNS, SQL_NNC_NON_NULL),
    small(SQL_GROUP_BY, SQL_GB_GROUP_BY_CONTAINS_SELECT),
    small(SQL_FILE_USAGE, SQL_FILE_CATALOG),
    small(SQL_CATALOG_LOCATION, 0),
    small(SQL_MAX_COLUMN_NAME_LEN, 64),
    small(SQL_MAX_TABLE_NAME_LEN, 64),
    small(SQL_MAX_CURSOR_NAME_LEN, 64),
    small(SQL_MAX_SCHEMA_NAME_LEN, 0),
    small(SQL_MAX_CATALOG_NAME_LEN, 0),
    small(SQL_MAX_PROCEDURE_NAME_LEN, 0),
    small(SQL_MAX_USER_NAME_LEN, 0),
    small(SQL_MAX_COLUMNS_IN_TABLE, 255),
    small(SQL_MAX_COLUMNS_IN_SELECT, 255),
    small(SQL_MAX_COLUMNS_IN_ORDER_BY, 10),
    small(SQL_MAX_COLUMNS_IN_GROUP_BY, 10),
    small(SQL_MAX_COLUMNS_IN_INDEX, 10),
    small(SQL_MAX_TABLES_IN_SELECT, 16),
    small(SQL_ODBC_API_CONFORMANCE, SQL_OAC_LEVEL1),
    small(SQL_ODBC_SQL_CONFORMANCE, SQL_OSC_MINIMUM),
    small(SQL_ODBC_SAG_CLI_CONFORMANCE, SQL_OSCC_COMPLIANT),
    small(SQL_ACTIVE_ENVIRONMENTS, 0),
    integer(SQL_DEFAULT_TXN_ISOLATION, SQL_TXN_SERIALIZABLE),
    integer(SQL_TXN_ISOLATION_OPTION, SQL_TXN_SERIALIZABLE),
    integer(SQL_GETDATA_EXTENSIONS, SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND),
    integer(SQL_SCROLL_OPTIONS, SQL_SO_FORWARD_ONLY | SQL_SO_STATIC),
    integer(SQL_SCROLL_CONCURRENCY, SQL_SCCO_READ_ONLY),
    integer(SQL_STATIC_SENSITIVITY, 0),
    integer(SQL_FETCH_DIRECTION, SQL_FD_FETCH_NEXT | SQL_FD_FETCH_FIRST | SQL_FD_FETCH_LAST | SQL_FD_FETCH_PRIOR
                                    | SQL_FD_FETCH_ABSOLUTE | SQL_FD_FETCH_RELATIVE),
    integer(SQL_STATIC_CURSOR_ATTRIBUTES1, kStaticCursor1),
    integer(SQL_STATIC_CURSOR_ATTRIBUTES2, kStaticCursor2),
    integer(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, SQL_CA1_NEXT),
    integer(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2, kStaticCursor2),
    integer(SQL_KEYSET_CURSOR_ATTRIBUTES1, 0),
    integer(SQL_KEYSET_CURSOR_ATTRIBUTES2, 0),
    integer(SQL_DYNAMIC_CURSOR_ATTRIBUTES1, 0),
    integer(SQL_DYNAMIC_CURSOR_ATTRIBUTES2, 0),
    integer(SQL_CURSOR_SENSITIVITY, SQL_INSENSITIVE),
    integer(SQL_SQL_CONFORMANCE, SQL_SC_SQL92_ENTRY),
    integer(SQL_ODBC_INTERFACE_CONFORMANCE, SQL_OIC_CORE),
    integer(SQL_ALTER_TABLE, SQL_AT_ADD_COLUMN),
    integer(SQL_BOOKMARK_PERSISTENCE, 0),
    integer(SQL_POS_OPERATIONS, 0),
    integer(SQL_POSITIONED_STATEMENTS, 0),
    integer(SQL_LOCK_TYPES, 0),
    integer(SQL_PARAM_ARRAY_ROW_COUNTS, SQL_PARC_NO_BATCH),
    integer(SQL_PARAM_ARRAY_SELECTS, SQL_PAS_NO_SELECT),
    integer(SQL_BATCH_SUPPORT, 0),
    integer(SQL_BATCH_ROW_COUNT, 0),
    integer(SQL_ASYNC_MODE, SQL_AM_NONE),
    integer(SQL_MAX_ASYNC_CONCURRENT_STATEMENTS, 0),
    integer(SQL_MAX_ROW_SIZE, 2000),
    integer(SQL_MAX_STATEMENT_LEN, 65000),
    integer(SQL_MAX_CHAR_LITERAL_LEN, 255),
    integer(SQL_MAX_BINARY_LITERAL_LEN, 255),
    integer(SQL_MAX_INDEX_SIZE, 255),
    integer(SQL_OWNER_USAGE, 0),
    integer(SQL_CATALOG_USAGE, 0),
    integer(SQL_SUBQUERIES, SQL_SQ_CORRELATED_SUBQUERIES | SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN),
    integer(SQL_UNION, SQL_U_UNION | SQL_U_UNION_ALL),
    integer(SQL_OJ_CAPABILITIES, SQL_OJ_LEFT | SQL_OJ_NESTED | SQL_OJ_NOT_ORDERED | SQL_OJ_ALL_COMPARISON_OPS),
    integer(SQL_STRING_FUNCTIONS, SQL_FN_STR_LENGTH | SQL_FN_STR_SUBSTRING | SQL_FN_STR_LTRIM | SQL_FN_STR_RTRIM
                                      | SQL_FN_STR_UCASE | SQL_FN_STR_LCASE),
    integer(SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_ABS | SQL_FN_NUM_ROUND),
    integer(SQL_TIMEDATE_FUNCTIONS, 0),
    integer(SQL_SYSTEM_FUNCTIONS, 0),
    integer(SQL_CONVERT_FUNCTIONS, 0),
    integer(SQL_CONVERT_INTEGER, kConversions),
    integer(SQL_CONVERT_SMALLINT, kConversions),
    integer(SQL_CONVERT_TINYINT, kConversions),
    integer(SQL_CONVERT_BIT, kConversions),
    integer(SQL_CONVERT_REAL, kConversions),
    integer(SQL_CONVERT_DOUBLE, kConversions),
    integer(SQL_CONVERT_FLOAT, kConversions),
    integer(SQL_CONVERT_CHAR, kConversions),
    integer(SQL_CONVERT_VARCHAR, kConversions),
    integer(SQL_CONVERT_LONGVARCHAR, SQL_CVT_CHAR | SQL_CVT_VARCHAR | SQL_CVT_LONGVARCHAR),
    integer(SQL_CONVERT_BIGINT, 0),
    integer(SQL_CONVERT_BINARY, 0),
    integer(SQL_CONVERT_VARBINARY, 0),
    integer(SQL_CONVERT_LONGVARBINARY, 0),
    integer(SQL_CONVERT_TIMESTAMP, 0),
    integer(SQL_CONVERT_DATE, 0),
    integer(SQL_CONVERT_TIME, 0),
    integer(SQL_CONVERT_DECIMAL, 0),
    integer(SQL_CONVERT_NUMERIC, 0),
    integer(SQL_TIMEDATE_ADD_INTERVALS, 0),
    integer(SQL_TIMEDATE_DIFF_INTERVALS, 0),
    integer(SQL_DATETIME_LITERALS, 0),
    integer(SQL_CREATE_TABLE, SQL_CT_CREATE_TABLE | SQL_CT_COLUMN_CONSTRAINT),
    integer(SQL_DROP_TABLE, SQL_DT_DROP_TABLE),
    integer(SQL_CREATE_VIEW, 0),
    integer(SQL_DROP_VIEW, 0),
    integer(SQL_INDEX_KEYWORDS, SQL_IK_NONE),
    integer(SQL_INSERT_STATEMENT, SQL_IS_INSERT_LITERALS | SQL_IS_INSERT_SEARCHED | SQL_IS_SELECT_INTO),
    integer(SQL_SQL92_PREDICATES, SQL_SP_EXISTS | SQL_SP_ISNOTNULL | SQL_SP_ISNULL | SQL_SP_LIKE | SQL_SP_IN
                                      | SQL_SP_BETWEEN | SQL_SP_COMPARISON),
    integer(SQL_SQL92_RELATIONAL_JOIN_OPERATORS, SQL_SRJO_INNER_JOIN | SQL_SRJO_LEFT_OUTER_JOIN),
    integer(SQL_SQL92_VALUE_EXPRESSIONS, SQL_SVE_CASE | SQL_SVE_CAST),
    integer(SQL_AGGREGATE_FUNCTIONS, SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT | SQL_AF_MAX
                                         | SQL_AF_MIN | SQL_AF_SUM),
    integer(SQL_DDL_INDEX, SQL_DI_CREATE_INDEX | SQL_DI_DROP_INDEX),
    integer(SQL_INFO_SCHEMA_VIEWS, 0),
    integer(SQL_MAX_IDENTIFIER_LEN, 64),
    integer(SQL_STANDARD_CLI_CONFORMANCE, 0),
};

const Info* findInfo(SQLUSMALLINT type)
{
    for (const Info& i : kInfo)
        if (i.type == type)
            return &i;
    return nullptr;
}

// The functions the driver exports, by SQL_API_ number.
constexpr SQLUSMALLINT kFunctions[] = {
    SQL_API_SQLALLOCHANDLE, SQL_API_SQLFREEHANDLE, SQL_API_SQLSETENVATTR, SQL_API_SQLGETENVATTR,
    SQL_API_SQLDRIVERCONNECT, SQL_API_SQLCONNECT, SQL_API_SQLDISCONNECT, SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLGETINFO, SQL_API_SQLGETFUNCTIONS, SQL_API_SQLSETSTMTATTR,
    SQL_API_SQLGETSTMTATTR, SQL_API_SQLPREPARE, SQL_API_SQLEXECUTE, SQL_API_SQLEXECDIRECT, SQL_API_SQLNUMPARAMS,
    SQL_API_SQLDESCRIBEPARAM, SQL_API_SQLBINDPARAMETER, SQL_API_SQLNUMRESULTCOLS, SQL_API_SQLDESCRIBECOL,
    SQL_API_SQLCOLATTRIBUTE, SQL_API_SQLBINDCOL, SQL_API_SQLFETCH, SQL_API_SQLFETCHSCROLL,
    SQL_API_SQLEXTENDEDFETCH, SQL_API_SQLGETDATA, SQL_API_SQLROWCOUNT, SQL_API_SQLMORERESULTS,
    SQL_API_SQLFREESTMT, SQL_API_SQLCLOSECURSOR, SQL_API_SQLCANCEL, SQL_API_SQLENDTRAN, SQL_API_SQLTRANSACT,
    SQL_API_SQLGETDIAGREC, SQL_API_SQLGETDIAGFIELD, SQL_API_SQLERROR, SQL_API_SQLTABLES, SQL_API_SQLCOLUMNS,
    SQL_API_SQLGETTYPEINFO, SQL_API_SQLPARAMDATA, SQL_API_SQLPUTDATA, SQL_API_SQLPRIMARYKEYS,
    SQL_API_SQLSTATISTICS, SQL_API_SQLSPECIALCOLUMNS, SQL_API_SQLFOREIGNKEYS, SQL_API_SQLPROCEDURES,
    SQL_API_SQLPROCEDURECOLUMNS, SQL_API_SQLNATIVESQL,
};

bool exported(SQLUSMALLINT id)
{
    for (SQLUSMALLINT f : kFunctions)
        if (f == id)
            return true;
    return false;
}

template <typename T>
void put(SQLPOINTER target, T value, SQLSMALLINT* length)
{
    if (target)
        *static_cast<T*>(target) = value;
    if (length)
        *length = sizeof(T);
}

SQLRETURN getInfo(Interface i, SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufferLength,
                  SQLSMALLINT* length)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    std::lock_guard lock(dbc->mutex);
    dbc->diag.clear();
    std::string s;
    const Info* info = findInfo(type);
    switch (type) {
    case SQL_DATA_SOURCE_READ_ONLY:
        s = dbc->accessMode == SQL_MODE_READ_ONLY ? "Y" : "N";
        break;
    case SQL_DATABASE_NAME:
    case SQL_DATA_SOURCE_NAME:
        if (type == SQL_DATABASE_NAME && !dbc->db)
            return dbc->diag.fail("08003", "Connection not open");
        s = type == SQL_DATABASE_NAME ? dbc->dbq : dbc->dsn;
        break;
    case SQL_DBMS_VER:
        s = std::string("04.00.0000 (SQLite ") + sqlite3_libversion() + ")";
        break;
    default:
        if (!info)
            return dbc->diag.fail("HY096", "Information type out of range");
        if (info->kind == Kind::Small) {
            put(value, SQLUSMALLINT(info->number), length);
            return SQL_SUCCESS;
        }
        if (info->kind == Kind::Integer) {
            put(value, info->number, length);
            return SQL_SUCCESS;
        }
        s = info->text;
    }
    if (bufferLength < 0)
        return dbc->diag.fail("HY090", "Invalid string or buffer length");
    if (CopyOut(i, s, value, bufferLength, Counted::Bytes, length)) {
        dbc->diag.add("01004", "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

} // namespace

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufferLength,
                             SQLSMALLINT* length)
{
    return getInfo(Interface::Narrow, handle, type, value, bufferLength, length);
}

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufferLength,
                              SQLSMALLINT* length)
{
    return getInfo(Interface::Wide, handle, type, value, bufferLength, length);
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT id, SQLUSMALLINT* supported)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    std::lock_guard lock(dbc->mutex);
    dbc->diag.clear();
    if (!supported)
        return dbc->diag.fail("HY009", "Invalid use of null pointer");
    if (id == SQL_API_ODBC3_ALL_FUNCTIONS) {
        for (int i = 0; i < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE; ++i)
            supported[i] = 0;
        for (SQLUSMALLINT f : kFunctions)
            supported[f >> 4] |= SQLUSMALLINT(1 << (f & 0xF));
        return SQL_SUCCESS;
    }
    if (id == SQL_API_ALL_FUNCTIONS) {
        for (SQLUSMALLINT i = 0; i < 100; ++i)
            supported[i] = exported(i) ? SQL_TRUE : SQL_FALSE;
        return SQL_SUCCESS;
    }
    *supported = exported(id) ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
}
