// The wide (UTF-16) forms of the statement functions that take or give
// text, and SQLNativeSql in both forms.  Each shares its body with the
// narrow form; only the text crossing the interface differs.

#include "platform/odbc/handles.h"

using namespace access_odbc;

namespace {

// The driver runs SQL as it is given: the native text is the text.
SQLRETURN nativeSql(Interface i, SQLHDBC handle, const void* in, SQLINTEGER inLength, SQLPOINTER out,
                    SQLINTEGER outLength, SQLINTEGER* outTotal)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    std::lock_guard lock(dbc->mutex);
    dbc->diag.clear();
    if (!in)
        return dbc->diag.fail("HY009", "Invalid use of null pointer");
    if ((inLength < 0 && inLength != SQL_NTS) || outLength < 0)
        return dbc->diag.fail("HY090", "Invalid string or buffer length");
    std::string text;
    if (!ToUtf8(dbc->diag, i, in, inLength, text))
        return SQL_ERROR;
    if (CopyOut(i, text, out, outLength, Counted::Units, outTotal)) {
        dbc->diag.add("01004", "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

} // namespace

SQLRETURN SQL_API SQLPrepareW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length)
{
    return OnStatement(handle, [&](Stmt& s) { return PrepareText(s, Interface::Wide, text, length); });
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length)
{
    return OnStatement(handle, [&](Stmt& s) { return ExecuteDirect(s, Interface::Wide, text, length); });
}

SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT handle, SQLUSMALLINT column, SQLWCHAR* name, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                                  SQLSMALLINT* nullable)
{
    return OnStatement(handle, [&](Stmt& s) {
        return DescribeColumn(s, Interface::Wide, column, name, bufferLength, nameLength, type, size, digits, nullable);
    });
}

SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                   SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number)
{
    return OnStatement(handle, [&](Stmt& s) {
        return ColumnAttribute(s, Interface::Wide, column, field, text, bufferLength, textLength, number);
    });
}

SQLRETURN SQL_API SQLColAttributesW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                    SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number)
{
    return SQLColAttributeW(handle, column, field, text, bufferLength, textLength, number);
}

// No statement attribute is a string, so the wide forms only pass on.
SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length)
{
    return SQLSetStmtAttr(handle, attribute, value, length);
}

SQLRETURN SQL_API SQLGetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                  SQLINTEGER* length)
{
    return SQLGetStmtAttr(handle, attribute, value, bufferLength, length);
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER inLength, SQLCHAR* out, SQLINTEGER outLength,
                               SQLINTEGER* outTotal)
{
    return nativeSql(Interface::Narrow, handle, in, inLength, out, outLength, outTotal);
}

SQLRETURN SQL_API SQLNativeSqlW(SQLHDBC handle, SQLWCHAR* in, SQLINTEGER inLength, SQLWCHAR* out,
                                SQLINTEGER outLength, SQLINTEGER* outTotal)
{
    return nativeSql(Interface::Wide, handle, in, inLength, out, outLength, outTotal);
}
