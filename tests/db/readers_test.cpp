// Another process reading the catalogue, even one that keeps a transaction
// open (pyodbc's default), never makes the program's changes wait.

#include "scratch_database.h"

#include "db/database_engine.h"

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace db;

// The reader: connects through the driver with auto-commit off, reads, and
// keeps its transaction open until told to end.  It reports through
// `ready` how many rows it saw, and after the other side's insert whether
// its own snapshot still shows the same (isolation kept).
[[noreturn]] void readAndHold(const std::string& connectText, int ready, int proceed)
{
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string text = connectText;
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                        nullptr, SQL_DRIVER_NOPROMPT)))
        _exit(2);
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    auto count = [&] {
        SQLINTEGER n = -1;
        const char* sql = "SELECT count(*) FROM notes";
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
        SQLFetch(stmt);
        SQLGetData(stmt, 1, SQL_C_SLONG, &n, 0, nullptr);
        SQLCloseCursor(stmt);
        return char(n);
    };
    char seen = count();
    if (write(ready, &seen, 1) != 1)
        _exit(3);
    char go = 0;
    if (read(proceed, &go, 1) != 1)
        _exit(4);
    seen = count(); // still inside the same transaction
    if (write(ready, &seen, 1) != 1)
        _exit(5);
    SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
    SQLDisconnect(dbc);
    _exit(0);
}

TEST(EngineReaders, AnOpenReadTransactionElsewhereDoesNotBlockAnInsert)
{
    dbtest::ScratchDatabase file("CREATE TABLE notes (ID INTEGER PRIMARY KEY AUTOINCREMENT, 名称 VARCHAR(255));"
                                 "INSERT INTO notes (名称) VALUES ('一');");
    // The program's connection first: the file is then in WAL mode, as the
    // driver leaves every file it writes.
    const DatabaseEngine& engine = DatabaseEngine::instance();
    Connection* c = engine.lookup<NewOpenDatabaseFn>("NewOpenDatabase")(file.connectText().c_str(), false, true);
    ASSERT_NE(c, nullptr);

    int toParent[2], toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        close(toParent[0]);
        close(toChild[1]);
        readAndHold(file.connectText(), toParent[1], toChild[0]);
    }
    close(toParent[1]);
    close(toChild[0]);
    char seen = 0;
    ASSERT_EQ(read(toParent[0], &seen, 1), 1) << "the reader did not start";
    EXPECT_EQ(seen, 1);

    // The engine's statements wait up to 15 s for a lock: with the reader
    // blocking, this would fail.
    auto execute = engine.lookup<ExecuteSqlFn>("ExecuteSql");
    EXPECT_TRUE(execute(c, "INSERT INTO notes (名称) VALUES ('二')", nullptr, 0));
    EXPECT_EQ(file.scalar("SELECT count(*) FROM notes"), "2") << "the insert is in the file";

    char go = 1;
    ASSERT_EQ(write(toChild[1], &go, 1), 1);
    ASSERT_EQ(read(toParent[0], &seen, 1), 1);
    EXPECT_EQ(seen, 1) << "the reader's transaction keeps its snapshot";
    int status = 0;
    waitpid(reader, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    close(toParent[0]);
    close(toChild[1]);
    engine.lookup<ConnectionActionFn>("CloseDatabase")(c);
}

} // namespace
