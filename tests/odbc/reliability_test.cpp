// A writer killed at any moment leaves a sound database holding every row
// whose insert had returned.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace odbc_test;

namespace {

// The child: insert rows until killed, writing each returned key to `fd`.
[[noreturn]] void insertForever(const std::string& file, int fd)
{
    SQLHENV env;
    SQLHDBC dbc;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string text = ConnectString(file);
    if (!Ok(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT)))
        _exit(2);
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    for (int i = 0;; ++i) {
        std::string sql = "INSERT INTO cntext (对应节点, 字符) VALUES ('节点', 'entry " + std::to_string(i) + "')";
        if (SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS) != SQL_SUCCESS)
            _exit(3);
        const char* query = "SELECT max(ID) FROM cntext";
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(query)), SQL_NTS);
        SQLFetch(stmt);
        SQLINTEGER key = 0;
        SQLGetData(stmt, 1, SQL_C_SLONG, &key, 0, nullptr);
        SQLCloseCursor(stmt);
        if (write(fd, &key, sizeof key) != sizeof key)
            _exit(4);
    }
}

TEST(OdbcReliabilityTest, KilledWriterLosesNoReturnedInsert)
{
    ScratchDir dir;
    std::string file = dir.file("CN.mdb");
    CreateCatalogueTables(file);
    std::set<SQLINTEGER> reported;
    for (int round = 0; round < 4; ++round) {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeFds[0]);
            insertForever(file, pipeFds[1]);
        }
        close(pipeFds[1]);
        // Kill after a different number of inserts each round.
        const int target = 100 + round * 37;
        int received = 0;
        SQLINTEGER key;
        while (received < target && read(pipeFds[0], &key, sizeof key) == sizeof key) {
            reported.insert(key);
            ++received;
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        // Keys the child wrote before dying count too.
        while (read(pipeFds[0], &key, sizeof key) == sizeof key)
            reported.insert(key);
        close(pipeFds[0]);
        ASSERT_EQ(received, target) << "the writer stopped early, status " << status;

        EXPECT_EQ(SqliteColumn(file, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
        std::vector<std::string> keys = SqliteColumn(file, "SELECT ID FROM cntext");
        std::set<SQLINTEGER> stored;
        for (const std::string& k : keys)
            stored.insert(SQLINTEGER(std::stoi(k)));
        for (SQLINTEGER k : reported)
            ASSERT_TRUE(stored.count(k)) << "key " << k << " lost in round " << round;
    }
}

} // namespace
