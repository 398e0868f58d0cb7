// The catalogue functions a client calls when it opens a table.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

using namespace odbc_test;

namespace {

SQLCHAR* N(const char* s)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s));
}

// Every row of the open result, the given columns as text.
std::vector<std::vector<std::string>> rows(Statement& s, std::initializer_list<SQLUSMALLINT> columns)
{
    std::vector<std::vector<std::string>> out;
    while (SQLFetch(s) == SQL_SUCCESS) {
        std::vector<std::string> row;
        for (SQLUSMALLINT c : columns) {
            char text[128] = {};
            SQLLEN length = 0;
            SQLGetData(s, c, SQL_C_CHAR, text, sizeof text, &length);
            row.push_back(length == SQL_NULL_DATA ? "<null>" : text);
        }
        out.push_back(row);
    }
    SQLCloseCursor(s);
    return out;
}

class OdbcCatalogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("CN.mdb");
        CreateCatalogueTables(file);
        SqliteExec(file, U8(u8"CREATE TABLE 标签 (名称 TEXT, 条目 INTEGER REFERENCES cntext(ID) ON DELETE CASCADE, "
                            u8"PRIMARY KEY (名称, 条目)); CREATE INDEX 按节点 ON cntext (对应节点);"));
        conn = std::make_unique<Connection>(file);
    }
    ScratchDir dir;
    std::string file;
    std::unique_ptr<Connection> conn;
};

TEST_F(OdbcCatalogTest, PrimaryKeysAndTheColumnsThatIdentifyARow)
{
    Statement s(*conn);
    ASSERT_EQ(SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, N("CNTEXT"), SQL_NTS), SQL_SUCCESS);
    EXPECT_EQ(rows(s, {3, 4, 5}), (std::vector<std::vector<std::string>>{{"cntext", "ID", "1"}}));
    ASSERT_EQ(SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, N("标签"), SQL_NTS), SQL_SUCCESS);
    EXPECT_EQ(rows(s, {4, 5}), (std::vector<std::vector<std::string>>{{"名称", "1"}, {"条目", "2"}}));
    ASSERT_EQ(SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, N("nowhere"), SQL_NTS), SQL_SUCCESS);
    EXPECT_TRUE(rows(s, {3}).empty());

    ASSERT_EQ(SQLSpecialColumns(s, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, N("base"), SQL_NTS, SQL_SCOPE_SESSION,
                                SQL_NULLABLE),
              SQL_SUCCESS);
    EXPECT_EQ(rows(s, {1, 2, 3}), (std::vector<std::vector<std::string>>{{"2", "父项目", "4"}}));
    ASSERT_EQ(SQLSpecialColumns(s, SQL_ROWVER, nullptr, 0, nullptr, 0, N("base"), SQL_NTS, SQL_SCOPE_SESSION,
                                SQL_NULLABLE),
              SQL_SUCCESS);
    EXPECT_TRUE(rows(s, {2}).empty());
}

TEST_F(OdbcCatalogTest, StatisticsListTheTableThenItsIndexes)
{
    conn->exec("INSERT INTO cntext (对应节点) VALUES ('a')");
    Statement s(*conn);
    ASSERT_EQ(SQLStatistics(s, nullptr, 0, nullptr, 0, N("cntext"), SQL_NTS, SQL_INDEX_ALL, SQL_ENSURE), SQL_SUCCESS);
    EXPECT_EQ(rows(s, {4, 6, 7, 9, 11}), (std::vector<std::vector<std::string>>{
                                             {"<null>", "<null>", "0", "<null>", "1"},
                                             {"0", "PrimaryKey", "3", "ID", "<null>"},
                                             {"1", "按节点", "3", "对应节点", "<null>"}}));
    ASSERT_EQ(SQLStatistics(s, nullptr, 0, nullptr, 0, N("cntext"), SQL_NTS, SQL_INDEX_UNIQUE, SQL_QUICK), SQL_SUCCESS);
    EXPECT_EQ(rows(s, {6, 11}), (std::vector<std::vector<std::string>>{{"<null>", "<null>"}, {"PrimaryKey", "<null>"}}));
    EXPECT_EQ(SQLStatistics(s, nullptr, 0, nullptr, 0, N("cntext"), SQL_NTS, 9, SQL_QUICK), SQL_ERROR);
    EXPECT_EQ(s.state(), "HY100");
}

TEST_F(OdbcCatalogTest, ForeignKeysFromEitherSideAndNoProcedures)
{
    Statement s(*conn);
    ASSERT_EQ(SQLForeignKeys(s, nullptr, 0, nullptr, 0, N("cntext"), SQL_NTS, nullptr, 0, nullptr, 0, nullptr, 0),
              SQL_SUCCESS);
    const std::vector<std::vector<std::string>> key = {{"cntext", "ID", "标签", "条目", "1", "0"}};
    EXPECT_EQ(rows(s, {3, 4, 7, 8, 9, 11}), key); // ON DELETE CASCADE is SQL_CASCADE, 0
    ASSERT_EQ(SQLForeignKeys(s, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, N("标签"), SQL_NTS),
              SQL_SUCCESS);
    EXPECT_EQ(rows(s, {3, 4, 7, 8, 9, 11}), key);
    ASSERT_EQ(SQLForeignKeys(s, nullptr, 0, nullptr, 0, N("base"), SQL_NTS, nullptr, 0, nullptr, 0, nullptr, 0),
              SQL_SUCCESS);
    EXPECT_TRUE(rows(s, {3}).empty());

    ASSERT_EQ(SQLProcedures(s, nullptr, 0, nullptr, 0, N("%"), SQL_NTS), SQL_SUCCESS);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(s, &columns);
    EXPECT_EQ(columns, 8);
    EXPECT_EQ(SQLFetch(s), SQL_NO_DATA);
    SQLCloseCursor(s);
    SQLUSMALLINT supported = SQL_FALSE;
    for (SQLUSMALLINT f : {SQL_API_SQLPRIMARYKEYS, SQL_API_SQLSTATISTICS, SQL_API_SQLSPECIALCOLUMNS,
                           SQL_API_SQLFOREIGNKEYS, SQL_API_SQLPROCEDURES, SQL_API_SQLPARAMDATA, SQL_API_SQLPUTDATA}) {
        SQLGetFunctions(conn->dbc(), f, &supported);
        EXPECT_EQ(supported, SQL_TRUE) << f;
    }
}

} // namespace
