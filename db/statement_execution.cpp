// Running a statement that returns no rows the caller wants: parameters
// bound as long text or long bytes, every result drained.

#include "db/connection.h"
#include "db/engine_entries.h"
#include "db/sql_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace db {
namespace {

bool bindParameters(SQLHSTMT stmt, const SqlParameter* parameters, std::int32_t count, std::vector<SQLLEN>& lengths)
{
    static const char kNoText[] = "";
    static const std::uint8_t kNoBytes[1] = {};
    lengths.assign(std::size_t(std::max(count, 0)), 0);
    for (std::int32_t i = 0; i < count; ++i) {
        const SqlParameter& p = parameters[i];
        bool text = p.length < 0;
        const void* data = p.data ? p.data : text ? static_cast<const void*>(kNoText) : kNoBytes;
        SQLLEN& length = lengths[std::size_t(i)];
        length = text ? SQLLEN(std::strlen(static_cast<const char*>(data))) : SQLLEN(p.length);
        SQLRETURN rc = SQLBindParameter(stmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, text ? SQL_C_CHAR : SQL_C_BINARY,
                                        text ? SQL_LONGVARCHAR : SQL_LONGVARBINARY, SQLULEN(std::max<SQLLEN>(length, 1)),
                                        0, const_cast<void*>(data), length, &length);
        if (!Succeeded(rc))
            return false;
    }
    return true;
}

// Reads past every result the statement produced.
bool drain(SQLHSTMT stmt)
{
    for (;;) {
        SQLSMALLINT columns = 0;
        if (!Succeeded(SQLNumResultCols(stmt, &columns)))
            return false;
        if (columns > 0) {
            SQLRETURN rc;
            while (Succeeded(rc = UntilDone([&] { return SQLFetch(stmt); })))
                ;
            if (rc != SQL_NO_DATA)
                return false;
        }
        SQLRETURN rc = UntilDone([&] { return SQLMoreResults(stmt); });
        if (rc == SQL_NO_DATA)
            return true;
        if (!Succeeded(rc))
            return false;
    }
}

bool execute(Connection& c, const char* sql, const SqlParameter* parameters, std::int32_t count)
{
    SQLHSTMT stmt = AllocateStatement(c);
    if (!stmt)
        return false;
    std::string prepared = PrepareSqlText(sql, c.quote);
    std::vector<SQLCHAR> text(prepared.begin(), prepared.end());
    text.push_back(0);
    std::vector<SQLLEN> lengths;
    bool done = Succeeded(UntilDone([&] { return SQLPrepare(stmt, text.data(), SQL_NTS); })) &&
                bindParameters(stmt, parameters, count, lengths);
    if (done) {
        SQLRETURN rc = UntilDone([&] { return SQLExecute(stmt); });
        // An UPDATE or DELETE that touched no row answers SQL_NO_DATA: it
        // still ran.
        done = (Succeeded(rc) && drain(stmt)) || rc == SQL_NO_DATA;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return done;
}

} // namespace

namespace entries {

bool ExecuteSql(Connection* c, const char* sql, const SqlParameter* parameters, std::int32_t count)
{
    if (!(c = Live(c)) || !sql || (count > 0 && !parameters))
        return false;
    return execute(*c, sql, parameters, count);
}

} // namespace entries

// BDZap's statement, shared with the row editing entries.
bool ExecuteStatement(Connection& c, const std::string& sql)
{
    return execute(c, sql.c_str(), nullptr, 0);
}

} // namespace db
