#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

namespace odbc_test {

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora_odbc_XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    m_path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void SqliteExec(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

void CreateCatalogueTables(const std::string& file)
{
    SqliteExec(file, U8(u8"CREATE TABLE base (父项目 INTEGER PRIMARY KEY AUTOINCREMENT, 节点名称 VARCHAR(255), "
                        u8"关联子节点 INTEGER, 图片索引 INTEGER, 选中图片索引 INTEGER, 数据库索引信息 VARCHAR(255));"
                        u8"CREATE TABLE cntext (ID INTEGER PRIMARY KEY AUTOINCREMENT, 对应节点 VARCHAR(255), "
                        u8"字符 LONGTEXT, 描述 LONGTEXT, 详情 LONGTEXT);"));
}

std::vector<std::string> SqliteColumn(const std::string& file, const std::string& sql)
{
    std::vector<std::string> out;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        out.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

std::string ConnectString(const std::string& file)
{
    std::string dir = file.substr(0, file.rfind('/'));
    return "ODBC;DBQ=" + file + ";DefaultDir=" + dir + ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;";
}

std::string State(SQLSMALLINT type, SQLHANDLE handle)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[512];
    SQLSMALLINT length = 0;
    if (!Ok(SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length)))
        return "";
    return reinterpret_cast<char*>(state);
}

std::string Message(SQLSMALLINT type, SQLHANDLE handle)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    if (!Ok(SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length)))
        return "";
    return reinterpret_cast<char*>(message);
}

Connection::Connection()
{
    EXPECT_TRUE(Ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)));
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    EXPECT_TRUE(Ok(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc)));
}

Connection::Connection(const std::string& file, bool readOnly) : Connection()
{
    if (readOnly)
        SQLSetConnectAttr(m_dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    rc = connect(ConnectString(file));
    EXPECT_TRUE(Ok(rc)) << state() << " " << Message(SQL_HANDLE_DBC, m_dbc);
}

Connection::~Connection()
{
    disconnect();
    SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

SQLRETURN Connection::connect(const std::string& text, SQLUSMALLINT completion)
{
    SQLCHAR out[1024] = {};
    SQLSMALLINT length = 0;
    SQLHWND window = completion == SQL_DRIVER_NOPROMPT ? nullptr : reinterpret_cast<SQLHWND>(this);
    SQLRETURN r = SQLDriverConnect(m_dbc, window, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())),
                                   SQL_NTS, out, sizeof out, &length, completion);
    if (Ok(r)) {
        m_connected = true;
        m_completed = reinterpret_cast<char*>(out);
    }
    return r;
}

void Connection::disconnect()
{
    if (m_connected)
        SQLDisconnect(m_dbc);
    m_connected = false;
}

SQLRETURN Connection::exec(const std::string& sql, std::string* stateOut)
{
    Statement s(*this);
    SQLRETURN r = s.exec(sql);
    if (stateOut)
        *stateOut = s.state();
    return r;
}

std::vector<std::vector<std::string>> Connection::query(const std::string& sql)
{
    std::vector<std::vector<std::string>> rows;
    Statement s(*this);
    SQLRETURN r = s.exec(sql);
    EXPECT_TRUE(Ok(r)) << s.state() << " " << Message(SQL_HANDLE_STMT, s);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(s, &columns);
    while (Ok(SQLFetch(s))) {
        std::vector<std::string> row;
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            std::string value;
            char buffer[256];
            SQLLEN length = 0;
            SQLRETURN g;
            while (Ok(g = SQLGetData(s, c, SQL_C_CHAR, buffer, sizeof buffer, &length))) {
                if (length == SQL_NULL_DATA) {
                    value = "<null>";
                    break;
                }
                value += buffer;
                if (g == SQL_SUCCESS)
                    break;
            }
            row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

Statement::Statement(Connection& c)
{
    EXPECT_TRUE(Ok(SQLAllocHandle(SQL_HANDLE_STMT, c.dbc(), &m_stmt)));
}

Statement::~Statement()
{
    SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
}

SQLRETURN Statement::exec(const std::string& sql)
{
    return SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
}

} // namespace odbc_test
