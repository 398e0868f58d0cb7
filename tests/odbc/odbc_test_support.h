// Helpers of the driver's tests: scratch databases made with SQLite
// directly, and connections through the driver manager to the driver
// registered in the build tree.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

struct sqlite3;

namespace odbc_test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Run UTF-8 SQL on a database file with the SQLite API (creating it);
// fails the test on error.
void SqliteExec(const std::string& file, const std::string& utf8Sql);
// The catalogue's two tables, as the program's schema has them.
void CreateCatalogueTables(const std::string& file);
// The first column of every row of a query, as text.
std::vector<std::string> SqliteColumn(const std::string& file, const std::string& utf8Sql);

std::string ConnectString(const std::string& file);

// UTF-8 literal as a plain string (the tests' narrow literals are GBK).
inline std::string U8(const char8_t* s)
{
    return reinterpret_cast<const char*>(s);
}

// The first SQLSTATE on a handle, or "" when there is none.
std::string State(SQLSMALLINT type, SQLHANDLE handle);
std::string Message(SQLSMALLINT type, SQLHANDLE handle);

// An environment and a connection; connects in the constructor when given
// a file.  `rc` holds SQLDriverConnect's result.
class Connection {
public:
    Connection();
    explicit Connection(const std::string& file, bool readOnly = false);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prompting modes need a window for the driver manager; a dummy one
    // serves, as the driver never shows a dialog.
    SQLRETURN connect(const std::string& connectString, SQLUSMALLINT completion = SQL_DRIVER_NOPROMPT);
    SQLHENV env() const { return m_env; }
    SQLHDBC dbc() const { return m_dbc; }
    std::string state() const { return State(SQL_HANDLE_DBC, m_dbc); }
    std::string completed() const { return m_completed; }
    bool connected() const { return m_connected; }
    void disconnect();

    // Execute and give the return code; `state` of the statement after.
    SQLRETURN exec(const std::string& gbkSql, std::string* state = nullptr);
    // Every row of a query, every column as text ("<null>" for NULL).
    std::vector<std::vector<std::string>> query(const std::string& gbkSql);

    SQLRETURN rc = SQL_ERROR;

private:
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    bool m_connected = false;
    std::string m_completed;
};

// A statement handle freed on destruction.
class Statement {
public:
    explicit Statement(Connection& c);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    SQLHSTMT get() const { return m_stmt; }
    operator SQLHSTMT() const { return m_stmt; }
    std::string state() const { return State(SQL_HANDLE_STMT, m_stmt); }
    SQLRETURN exec(const std::string& gbkSql);

private:
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

inline bool Ok(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

} // namespace odbc_test
