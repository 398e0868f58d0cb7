#include "db/odbc_api.h"

namespace db {

SQLHENV Environment()
{
    // Made once and kept for the life of the process: connections of any
    // unit may be open until the very end.
    static SQLHENV env = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            return SQLHENV(SQL_NULL_HENV);
        if (!Succeeded(SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
            SQLFreeHandle(SQL_HANDLE_ENV, h);
            return SQLHENV(SQL_NULL_HENV);
        }
        return h;
    }();
    return env;
}

} // namespace db
