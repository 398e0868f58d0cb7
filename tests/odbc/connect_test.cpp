// Connecting: the connect string, completion, and every way a connection
// can fail without creating or changing a file.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace odbc_test;

namespace {

class OdbcConnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("CN.mdb");
        CreateCatalogueTables(file);
    }
    ScratchDir dir;
    std::string file;
};

TEST_F(OdbcConnectTest, TheProgramsConnectStringConnectsAndIsCompleted)
{
    Connection c(file);
    ASSERT_TRUE(c.connected());
    EXPECT_EQ(c.completed(), "DBQ=" + file + ";DefaultDir=" + dir.path()
                                 + ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    char quote[4] = {};
    ASSERT_EQ(SQLGetInfo(c.dbc(), SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, nullptr), SQL_SUCCESS);
    EXPECT_STREQ(quote, "\"");
    char dbms[32] = {};
    SQLGetInfo(c.dbc(), SQL_DBMS_NAME, dbms, sizeof dbms, nullptr);
    EXPECT_STREQ(dbms, "ACCESS");
    SQLUINTEGER extensions = 0;
    SQLGetInfo(c.dbc(), SQL_GETDATA_EXTENSIONS, &extensions, 0, nullptr);
    EXPECT_EQ(extensions & (SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND),
              SQLUINTEGER(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND));
    SQLUSMALLINT activities = 99;
    SQLGetInfo(c.dbc(), SQL_MAX_CONCURRENT_ACTIVITIES, &activities, 0, nullptr);
    EXPECT_EQ(activities, 0);
    EXPECT_EQ(SQLGetInfo(c.dbc(), 9999, dbms, sizeof dbms, nullptr), SQL_ERROR);
    EXPECT_EQ(c.state(), "HY096");
    SQLUSMALLINT supported = 0;
    SQLGetFunctions(c.dbc(), SQL_API_SQLFETCHSCROLL, &supported);
    EXPECT_EQ(supported, SQL_TRUE);
}

TEST_F(OdbcConnectTest, KeysIgnoreCaseAndARelativeFileUsesDefaultDir)
{
    Connection c;
    ASSERT_TRUE(Ok(c.connect("odbc; dbq = CN.mdb ;defaultdir=" + dir.path()
                             + ";DRIVER={Microsoft Access Driver (*.mdb)};Unknown={a;b};UID=admin")))
        << c.state();
    EXPECT_EQ(c.completed().substr(0, 10), "DBQ=CN.mdb");
    EXPECT_NE(c.completed().find("UID=admin;"), std::string::npos);
}

TEST_F(OdbcConnectTest, AChinesePathIsGbkOnTheInterfaceAndUtf8OnDisk)
{
    std::string folder = dir.path() + "/" + U8(u8"数据");
    std::filesystem::create_directory(folder);
    CreateCatalogueTables(folder + "/CN.mdb");
    Connection c;
    EXPECT_TRUE(Ok(c.connect(ConnectString(dir.path() + "/数据/CN.mdb")))) << c.state();
    char name[256] = {};
    SQLGetInfo(c.dbc(), SQL_DATABASE_NAME, name, sizeof name, nullptr);
    EXPECT_EQ(std::string(name), dir.path() + "/数据/CN.mdb");
}

TEST_F(OdbcConnectTest, ATooSmallOutputBufferIsTruncatedWithTheFullLength)
{
    Connection c;
    std::string text = ConnectString(file);
    SQLCHAR out[10];
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQLDriverConnect(c.dbc(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, out, sizeof out,
                               &length, SQL_DRIVER_NOPROMPT),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(c.state(), "01004");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "DBQ=" + file.substr(0, 5));
    EXPECT_GT(length, 10);
    SQLDisconnect(c.dbc());
}

TEST_F(OdbcConnectTest, FailuresNameTheFileAndCreateNothing)
{
    std::string missing = dir.file("missing.mdb");
    std::string notDatabase = dir.file("text.mdb");
    std::ofstream(notDatabase) << "Standard Jet DB, but not really";
    std::string empty = dir.file("empty.mdb");
    std::ofstream{empty};
    std::string subdir = dir.file("folder.mdb");
    std::filesystem::create_directory(subdir);
    for (const std::string& path : {missing, notDatabase, empty, subdir}) {
        Connection c;
        EXPECT_EQ(c.connect(ConnectString(path)), SQL_ERROR) << path;
        EXPECT_EQ(c.state(), "08001") << path;
        EXPECT_NE(Message(SQL_HANDLE_DBC, c.dbc()).find(path), std::string::npos) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);
    EXPECT_EQ(std::filesystem::file_size(notDatabase), 31u);
}

// The driver manager would drop a record too long for its buffer; the
// message is cut instead, and keeps its state.
TEST_F(OdbcConnectTest, AVeryLongPathStillGivesItsDiagnostic)
{
    std::string path = dir.path() + "/" + std::string(240, 'a') + "/" + std::string(240, 'b') + "/" + std::string(240, 'c');
    Connection c;
    EXPECT_EQ(c.connect(ConnectString(path + "/CN.mdb")), SQL_ERROR);
    EXPECT_EQ(c.state(), "08001");
    std::string message = Message(SQL_HANDLE_DBC, c.dbc());
    EXPECT_NE(message.find("Could not find file '" + dir.path()), std::string::npos);
    EXPECT_LT(message.size(), 512u);
}

// Root ignores file permissions, so as root the check runs in a child that
// has given up its privileges for those of "nobody".
TEST_F(OdbcConnectTest, AFileWithoutWritePermissionIsRefusedForReadWrite)
{
    chmod(file.c_str(), 0444);
    chmod(dir.path().c_str(), 0755);
    // The child goes on from here with this fixture's file: one started
    // afresh would make a scratch directory of its own, and its _exit, as
    // another user, could never remove it.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            Connection c;
            bool refused = c.connect(ConnectString(file)) == SQL_ERROR && c.state() == "08001";
            Connection readOnly(file, true);
            _exit(!refused ? 1 : !readOnly.connected() ? 2 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
}

TEST_F(OdbcConnectTest, MissingDbqFailsInEveryCompletionMode)
{
    struct Case {
        SQLUSMALLINT mode;
        const char* state;
    };
    for (Case k : {Case{SQL_DRIVER_NOPROMPT, "08001"}, Case{SQL_DRIVER_COMPLETE, "IM008"},
                   Case{SQL_DRIVER_COMPLETE_REQUIRED, "IM008"}, Case{SQL_DRIVER_PROMPT, "IM008"}}) {
        Connection c;
        EXPECT_EQ(c.connect("Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;", k.mode), SQL_ERROR);
        EXPECT_EQ(c.state(), k.state) << k.mode;
    }
}

TEST_F(OdbcConnectTest, ReadOnlyModeRefusesWrites)
{
    Connection c(file, true);
    std::string state;
    EXPECT_EQ(c.exec("INSERT INTO base (节点名称) VALUES ('x')", &state), SQL_ERROR);
    EXPECT_EQ(state, "HY000");
    EXPECT_EQ(c.query("SELECT * FROM base").size(), 0u);
    char readOnly[4] = {};
    SQLGetInfo(c.dbc(), SQL_DATA_SOURCE_READ_ONLY, readOnly, sizeof readOnly, nullptr);
    EXPECT_STREQ(readOnly, "Y");
}

TEST_F(OdbcConnectTest, ALockedDatabaseTimesOut)
{
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        Connection c;
        SQLSetConnectAttr(c.dbc(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(1), 0);
        EXPECT_EQ(c.connect(ConnectString(file)), SQL_ERROR);
        EXPECT_EQ(c.state(), "HYT00");
    }
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);

    // Connected first, then a statement meets the lock.
    Connection c(file);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    Statement s(c);
    SQLSetStmtAttr(s, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(1), 0);
    EXPECT_EQ(s.exec("INSERT INTO base (节点名称) VALUES ('x')"), SQL_ERROR);
    EXPECT_EQ(s.state(), "HYT00");
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(s.exec("INSERT INTO base (节点名称) VALUES ('x')"), SQL_SUCCESS);
}

TEST_F(OdbcConnectTest, TheLoginTimeOutEndsWithTheLogin)
{
    Connection c;
    SQLSetConnectAttr(c.dbc(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(1), 0);
    ASSERT_TRUE(Ok(c.connect(ConnectString(file))));
    usleep(1200 * 1000); // past the login time-out
    Statement s(c);
    EXPECT_EQ(SQLTables(s, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_SUCCESS) << s.state();
    SQLCloseCursor(s);
    SQLSetConnectAttr(c.dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    EXPECT_EQ(s.exec("INSERT INTO base (节点名称) VALUES ('x')"), SQL_SUCCESS);
    EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, c.dbc(), SQL_COMMIT), SQL_SUCCESS);
    EXPECT_EQ(SqliteColumn(file, "SELECT count(*) FROM base"), std::vector<std::string>{"1"});
}

TEST_F(OdbcConnectTest, HandlesAreFreedInOrder)
{
    SQLHENV env;
    SQLHDBC dbc;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string text = ConnectString(file);
    ASSERT_TRUE(Ok(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                    nullptr, SQL_DRIVER_NOPROMPT)));
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    // Freeing the environment while its connection lives is a sequence error.
    EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_ENV, env), SQL_ERROR);
    EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_DBC, dbc), SQL_ERROR);
    // Disconnecting frees the statements with it; the handles can go after.
    EXPECT_EQ(SQLDisconnect(dbc), SQL_SUCCESS);
    EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_DBC, dbc), SQL_SUCCESS);
    EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_ENV, env), SQL_SUCCESS);
}

TEST_F(OdbcConnectTest, HandlesOutsideAConnectionGiveConnectionErrors)
{
    Connection c;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    EXPECT_EQ(SQLAllocHandle(SQL_HANDLE_STMT, c.dbc(), &stmt), SQL_ERROR);
    EXPECT_EQ(c.state(), "08003");
    EXPECT_EQ(SQLConnect(c.dbc(), reinterpret_cast<SQLCHAR*>(const_cast<char*>("NoSuchSource")), SQL_NTS, nullptr, 0,
                         nullptr, 0),
              SQL_ERROR);
    SQLUINTEGER dead = 0;
    Connection open(file);
    SQLGetConnectAttr(open.dbc(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    EXPECT_EQ(dead, SQLUINTEGER(SQL_CD_FALSE));
}

int filesIn(const std::string& folder)
{
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++files;
    }
    return files;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file arriving in the rollback journal's mode is put into write-ahead
// logging once; while connected the log sits beside it, and the last close
// folds it back, leaving one file that any SQLite reader opens.
TEST_F(OdbcConnectTest, TheFileStaysOneFileAndReadableAfterDisconnect)
{
    {
        Connection c(file);
        ASSERT_EQ(c.exec("INSERT INTO base (节点名称) VALUES ('x')"), SQL_SUCCESS);
        EXPECT_TRUE(std::filesystem::exists(file + "-wal"));
    }
    EXPECT_EQ(filesIn(dir.path()), 1);
    // SQLite's own shell, as a user would run it.
    std::string command = "sqlite3 '" + file + "' 'PRAGMA integrity_check; PRAGMA journal_mode; SELECT count(*) FROM base'";
    FILE* shell = popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    char output[128] = {};
    size_t n = fread(output, 1, sizeof output - 1, shell);
    int status = pclose(shell);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        GTEST_SKIP() << "no sqlite3 shell";
    EXPECT_EQ(std::string(output, n), "ok\nwal\n1\n");
    EXPECT_EQ(filesIn(dir.path()), 1) << "the shell leaves nothing behind either";
}

// Opening is not a change: a file already in WAL mode, or one opened
// read-only, comes out byte for byte as it went in.
TEST_F(OdbcConnectTest, OpeningRewritesNothingNeedlessly)
{
    std::string before = contents(file);
    {
        Connection readOnly(file, true);
        EXPECT_EQ(readOnly.query("SELECT count(*) FROM base")[0][0], "0");
    }
    EXPECT_EQ(contents(file), before) << "a read-only connection converted the file";
    EXPECT_EQ(SqliteColumn(file, "PRAGMA journal_mode"), std::vector<std::string>{"delete"});

    { Connection once(file); } // converts it to WAL mode
    std::string converted = contents(file);
    EXPECT_NE(converted, before);
    for (int i = 0; i < 2; ++i) {
        Connection again(file);
        EXPECT_EQ(again.query("SELECT count(*) FROM cntext")[0][0], "0");
    }
    EXPECT_EQ(contents(file), converted);
    EXPECT_EQ(filesIn(dir.path()), 1);
}

// In a folder where SQLite can create no log, a read-write connection
// would be refused at its first change: it is made read-only at once, and
// says so.  Root passes every permission check, so the connection is made
// in a child that has become "nobody".
TEST_F(OdbcConnectTest, AFolderWithoutRoomForTheLogIsReadOnlyAtConnect)
{
    { Connection convert(file); } // in WAL mode, as the driver leaves files
    chmod(file.c_str(), 0666);
    chmod(dir.path().c_str(), 0555);
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            Connection c;
            SQLRETURN rc = c.connect(ConnectString(file));
            if (rc != SQL_SUCCESS_WITH_INFO || c.state() != "01000")
                _exit(4);
            if (Message(SQL_HANDLE_DBC, c.dbc()).find("read-only") == std::string::npos)
                _exit(5);
            SQLUINTEGER mode = 0;
            SQLGetConnectAttr(c.dbc(), SQL_ATTR_ACCESS_MODE, &mode, 0, nullptr);
            if (mode != SQL_MODE_READ_ONLY)
                _exit(6);
            if (c.query("SELECT count(*) FROM base").size() != 1)
                _exit(7);
            std::string state;
            if (c.exec("INSERT INTO base (节点名称) VALUES ('x')", &state) != SQL_ERROR)
                _exit(8);
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    chmod(dir.path().c_str(), 0755);
}

// A data source of odbc.ini gives the file; what the application says wins.
TEST_F(OdbcConnectTest, DataSourcesOfOdbcIniConnect)
{
    std::string ini = dir.file("odbc.ini");
    std::ofstream(ini) << "[CN]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=" << file
                       << "\n[Elsewhere]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=" << dir.file("none.mdb") << "\n";
    setenv("ODBCINI", ini.c_str(), 1);
    {
        Connection c;
        EXPECT_TRUE(Ok(SQLConnect(c.dbc(), reinterpret_cast<SQLCHAR*>(const_cast<char*>("CN")), SQL_NTS, nullptr, 0,
                                  nullptr, 0)))
            << c.state() << " " << Message(SQL_HANDLE_DBC, c.dbc());
        char name[256] = {};
        SQLGetInfo(c.dbc(), SQL_DATABASE_NAME, name, sizeof name, nullptr);
        EXPECT_EQ(std::string(name), file);
        SQLGetInfo(c.dbc(), SQL_DATA_SOURCE_NAME, name, sizeof name, nullptr);
        EXPECT_STREQ(name, "CN");
        SQLDisconnect(c.dbc());
    }
    {
        Connection c;
        ASSERT_TRUE(Ok(c.connect("DSN=Elsewhere;DBQ=" + file))) << c.state();
        EXPECT_TRUE(c.completed().starts_with("DSN=Elsewhere;DBQ=" + file + ";")) << c.completed();
    }
    {
        Connection c;
        EXPECT_EQ(c.connect("DSN=Elsewhere"), SQL_ERROR);
        EXPECT_EQ(c.state(), "08001");
    }
    unsetenv("ODBCINI");
}

} // namespace
