// The ODBC API as the engine uses it: the driver manager's headers, the
// process's one environment, and the engine's reading of return codes.
#pragma once

#include <sql.h>
#include <sqlext.h>

namespace db {

// The ODBC 3 environment of the process, made on first use; null when the
// driver manager cannot make one.
SQLHENV Environment();

inline bool Succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Repeats a call for as long as the driver answers that it is still
// executing (a statement run asynchronously by its driver's choice).
template<typename Call>
SQLRETURN UntilDone(Call call)
{
    SQLRETURN rc;
    do
        rc = call();
    while (rc == SQL_STILL_EXECUTING);
    return rc;
}

} // namespace db
