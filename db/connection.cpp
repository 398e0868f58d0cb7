#include "db/connection.h"

#include "db/engine_entries.h"
#include "db/result_set.h"

#include <odbcinst.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace db {
namespace {

constexpr SQLUINTEGER kLoginTimeoutSeconds = 15;
constexpr SQLULEN kQueryTimeoutSeconds = 15;
constexpr SQLSMALLINT kConnectOutputBytes = 512;

std::vector<std::unique_ptr<Connection>>& registry()
{
    static std::vector<std::unique_ptr<Connection>> live;
    return live;
}

std::uintptr_t& dialogOwner()
{
    static std::uintptr_t owner = 0;
    return owner;
}

// The driver manager of this platform takes the window handle of
// SQLDriverConnect for its own prompt description: the platform's window
// inside, no prompt plug-in named.  Without a window, no handle at all.
SQLHWND dialogOwnerHandle()
{
    static ODBCINSTWND prompt;
    if (dialogOwner() == 0)
        return nullptr;
    std::memset(&prompt, 0, sizeof prompt);
    prompt.hWnd = reinterpret_cast<HWND>(dialogOwner());
    return reinterpret_cast<SQLHWND>(&prompt);
}

SQLRETURN driverConnect(SQLHDBC dbc, const std::string& text, SQLUSMALLINT completion, std::vector<SQLCHAR>& out,
                        SQLSMALLINT& outLength)
{
    // The text goes to the driver as it is, a leading "ODBC;" included.
    std::vector<SQLCHAR> in(text.begin(), text.end());
    in.push_back(0);
    outLength = 0;
    return SQLDriverConnect(dbc, dialogOwnerHandle(), in.data(), SQL_NTS, out.data(), SQLSMALLINT(out.size()),
                            &outLength, completion);
}

std::string readQuote(SQLHDBC dbc)
{
    SQLCHAR quote[8] = {};
    SQLSMALLINT length = 0;
    if (!Succeeded(SQLGetInfo(dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length)))
        return {};
    return reinterpret_cast<const char*>(quote);
}

Connection* connect(const char* connectText, bool readOnly, SQLUSMALLINT completion)
{
    SQLHENV env = Environment();
    if (!env)
        return nullptr;
    auto c = std::make_unique<Connection>();
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &c->dbc))) {
        c->dbc = SQL_NULL_HDBC;
        return nullptr;
    }
    SQLSetConnectAttr(c->dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(kLoginTimeoutSeconds)), 0);
    if (readOnly)
        SQLSetConnectAttr(c->dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_MODE_READ_ONLY)), 0);

    // An empty text is no text: the driver manager is asked to complete it.
    std::string text = connectText ? connectText : "";
    if (text.empty())
        completion = SQL_DRIVER_COMPLETE;
    std::vector<SQLCHAR> out(kConnectOutputBytes);
    SQLSMALLINT outLength = 0;
    SQLRETURN rc = driverConnect(c->dbc, text, completion, out, outLength);
    if (rc == SQL_SUCCESS_WITH_INFO && outLength >= SQLSMALLINT(out.size())) {
        // The completed string was cut off: connect once more with room
        // for all of it.
        SQLDisconnect(c->dbc);
        out.assign(std::size_t(outLength) + 1, 0);
        rc = driverConnect(c->dbc, text, completion, out, outLength);
    }
    if (!Succeeded(rc))
        return nullptr; // the destructor frees the handle
    c->connectString = "ODBC;";
    c->connectString += reinterpret_cast<const char*>(out.data());
    c->quote = readQuote(c->dbc);
    registry().push_back(std::move(c));
    return registry().back().get();
}

void endTransaction(Connection* c, SQLSMALLINT completion)
{
    if (!(c = Live(c)))
        return;
    SQLEndTran(SQL_HANDLE_DBC, c->dbc, completion);
    SQLSetConnectAttr(c->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_ON)), 0);
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    for (auto& slot : slots)
        slot.reset();
    if (dbc == SQL_NULL_HDBC)
        return;
    if (!connectString.empty() && !Succeeded(SQLDisconnect(dbc))) {
        // A transaction still open keeps the connection: it is given up.
        SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

Connection* Live(Connection* c)
{
    if (!c)
        return nullptr;
    for (const auto& live : registry())
        if (live.get() == c)
            return c;
    return nullptr;
}

bool IsLiveConnection(const Connection* c)
{
    return Live(const_cast<Connection*>(c)) != nullptr;
}

std::size_t LiveConnectionCount()
{
    return registry().size();
}

void SetDialogOwner(std::uintptr_t window)
{
    dialogOwner() = window;
}

SQLHSTMT AllocateStatement(Connection& c)
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, c.dbc, &stmt)))
        return SQL_NULL_HSTMT;
    if (c.setsQueryTimeout) {
        SQLRETURN rc = SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT,
                                      reinterpret_cast<SQLPOINTER>(kQueryTimeoutSeconds), 0);
        // A driver that refuses the option once is not asked again.
        if (!Succeeded(rc))
            c.setsQueryTimeout = false;
    }
    return stmt;
}

ResultSet* FindResultSet(Connection* c, ResultSetHandle handle)
{
    if (handle == 0 || !(c = Live(c)))
        return nullptr;
    for (auto& slot : c->slots)
        if (slot && slot->handle == handle)
            return slot.get();
    return nullptr;
}

namespace entries {

Connection* OpenDatabase(const char* connectText, bool readOnly)
{
    return connect(connectText, readOnly, SQL_DRIVER_COMPLETE);
}

Connection* NewOpenDatabase(const char* connectText, bool readOnly, bool suppressDialog)
{
    return connect(connectText, readOnly, suppressDialog ? SQL_DRIVER_NOPROMPT : SQL_DRIVER_COMPLETE);
}

void CloseDatabase(Connection* c)
{
    if (!Live(c))
        return;
    auto& live = registry();
    auto it = std::find_if(live.begin(), live.end(), [&](const auto& p) { return p.get() == c; });
    std::unique_ptr<Connection> closing = std::move(*it);
    live.erase(it);
}

std::string GetConnectString(Connection* c)
{
    return Live(c) ? c->connectString : std::string();
}

bool BeginTrans(Connection* c)
{
    if (!(c = Live(c)))
        return false;
    return Succeeded(SQLSetConnectAttr(c->dbc, SQL_ATTR_AUTOCOMMIT,
                                       reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_OFF)), 0));
}

void CommitTrans(Connection* c)
{
    endTransaction(c, SQL_COMMIT);
}

void RollbackTrans(Connection* c)
{
    endTransaction(c, SQL_ROLLBACK);
}

} // namespace entries
} // namespace db
