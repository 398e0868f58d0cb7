// Statements, cursors, column descriptions, long data and text through the
// driver manager and the driver.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace odbc_test;

namespace {

class OdbcStatementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("CN.mdb");
        CreateCatalogueTables(file);
        SqliteExec(file, "CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(40), memo LONGTEXT, "
                         "n INT, small SMALLINT, tiny BYTE, flag BIT, r REAL, d DOUBLE, at DATETIME, "
                         "bin LONGBINARY, plain TEXT);");
        conn = std::make_unique<Connection>(file);
    }

    void prepareStatic(Statement& s)
    {
        ASSERT_TRUE(Ok(SQLSetStmtAttr(s, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0)));
    }

    SQLINTEGER fetchInt(Statement& s, SQLSMALLINT orientation, SQLLEN offset = 0)
    {
        SQLRETURN rc = SQLFetchScroll(s, orientation, offset);
        if (rc == SQL_NO_DATA)
            return -1;
        EXPECT_TRUE(Ok(rc)) << s.state();
        SQLINTEGER v = 0;
        SQLLEN length = 0;
        EXPECT_TRUE(Ok(SQLGetData(s, 1, SQL_C_SLONG, &v, 0, &length)));
        return v;
    }

    ScratchDir dir;
    std::string file;
    std::unique_ptr<Connection> conn;
};

TEST_F(OdbcStatementTest, StaticCursorScrollsEveryWay)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(conn->exec("INSERT INTO t (n) VALUES (" + std::to_string(i * 10) + ")"), SQL_SUCCESS);
    Statement s(*conn);
    prepareStatic(s);
    ASSERT_EQ(s.exec("SELECT n FROM t ORDER BY n"), SQL_SUCCESS);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_NEXT), 0);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_NEXT), 10);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_LAST), 40);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_PRIOR), 30);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_FIRST), 0);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_PRIOR), -1); // before the first row
    EXPECT_EQ(fetchInt(s, SQL_FETCH_NEXT), 0);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_ABSOLUTE, 3), 20);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_ABSOLUTE, -1), 40);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_RELATIVE, -2), 20);
    EXPECT_EQ(fetchInt(s, SQL_FETCH_RELATIVE, 5), -1); // after the last
    EXPECT_EQ(fetchInt(s, SQL_FETCH_NEXT), -1);       // stays after the last
    EXPECT_EQ(fetchInt(s, SQL_FETCH_PRIOR), 40);
    SQLLEN count = 0;
    ASSERT_EQ(SQLRowCount(s, &count), SQL_SUCCESS);
    EXPECT_EQ(count, 5);
    // No current row after the end: SQLGetData has nothing to read.
    EXPECT_EQ(SQLFetchScroll(s, SQL_FETCH_ABSOLUTE, 9), SQL_NO_DATA);
    SQLINTEGER v;
    EXPECT_EQ(SQLGetData(s, 1, SQL_C_SLONG, &v, 0, nullptr), SQL_ERROR);
    EXPECT_EQ(s.state(), "24000");
}

TEST_F(OdbcStatementTest, EmptyResultAndCursorStates)
{
    Statement s(*conn);
    prepareStatic(s);
    ASSERT_EQ(s.exec("SELECT * FROM t WHERE id = 12345"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetchScroll(s, SQL_FETCH_NEXT, 0), SQL_NO_DATA);
    EXPECT_EQ(SQLFetchScroll(s, SQL_FETCH_FIRST, 0), SQL_NO_DATA);
    EXPECT_EQ(SQLFetchScroll(s, SQL_FETCH_LAST, 0), SQL_NO_DATA);
    // A second execution while the cursor is open is a cursor-state error.
    EXPECT_EQ(s.exec("SELECT * FROM t"), SQL_ERROR);
    EXPECT_EQ(s.state(), "24000");
    EXPECT_EQ(SQLCloseCursor(s), SQL_SUCCESS);
    EXPECT_EQ(SQLCloseCursor(s), SQL_ERROR);
    EXPECT_EQ(s.state(), "24000");
    EXPECT_EQ(SQLFetch(s), SQL_ERROR);
    EXPECT_EQ(SQLMoreResults(s), SQL_NO_DATA);
}

TEST_F(OdbcStatementTest, ForwardOnlyCursorRefusesScrolling)
{
    conn->exec("INSERT INTO t (n) VALUES (1)");
    Statement s(*conn);
    ASSERT_EQ(s.exec("SELECT n FROM t"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetchScroll(s, SQL_FETCH_LAST, 0), SQL_ERROR);
    EXPECT_EQ(s.state(), "HY106");
}

TEST_F(OdbcStatementTest, CursorKindsAreDowngradedWithAWarning)
{
    Statement s(*conn);
    EXPECT_EQ(SQLSetStmtAttr(s, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_KEYSET_DRIVEN), 0),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(s.state(), "01S02");
    SQLULEN value = 0;
    SQLGetStmtAttr(s, SQL_ATTR_CURSOR_TYPE, &value, 0, nullptr);
    EXPECT_EQ(value, SQLULEN(SQL_CURSOR_STATIC));
    EXPECT_EQ(SQLSetStmtAttr(s, SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK), 0),
              SQL_SUCCESS_WITH_INFO);
    SQLGetStmtAttr(s, SQL_ATTR_CONCURRENCY, &value, 0, nullptr);
    EXPECT_EQ(value, SQLULEN(SQL_CONCUR_READ_ONLY));
}

TEST_F(OdbcStatementTest, ColumnsAreDescribedAsAccessWould)
{
    Statement s(*conn);
    ASSERT_TRUE(Ok(SQLPrepare(s, reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                                     "select ID, name, memo, n, small, tiny, flag, r, d, at, bin, plain, "
                                     "n + 1 AS expr from t")),
                              SQL_NTS)));
    struct Expected {
        const char* name;
        SQLSMALLINT type;
        SQLULEN size;
    };
    const Expected expected[] = {
        {"id", SQL_INTEGER, 10}, {"name", SQL_VARCHAR, 40}, {"memo", SQL_LONGVARCHAR, 1073741823},
        {"n", SQL_INTEGER, 10}, {"small", SQL_SMALLINT, 5}, {"tiny", SQL_TINYINT, 3}, {"flag", SQL_BIT, 1},
        {"r", SQL_REAL, 7}, {"d", SQL_DOUBLE, 15}, {"at", SQL_TYPE_TIMESTAMP, 19},
        {"bin", SQL_LONGVARBINARY, 1073741823}, {"plain", SQL_VARCHAR, 255}, {"expr", SQL_VARCHAR, 255},
    };
    SQLSMALLINT count = 0;
    ASSERT_EQ(SQLNumResultCols(s, &count), SQL_SUCCESS);
    ASSERT_EQ(count, SQLSMALLINT(std::size(expected)));
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        SQLCHAR name[64];
        SQLSMALLINT nameLength, type, digits, nullable;
        SQLULEN size;
        ASSERT_EQ(SQLDescribeCol(s, i, name, sizeof name, &nameLength, &type, &size, &digits, &nullable), SQL_SUCCESS);
        const Expected& e = expected[i - 1];
        // "select ID" with the table's "id" reports the table's spelling.
        EXPECT_STREQ(reinterpret_cast<char*>(name), e.name) << i;
        EXPECT_EQ(type, e.type) << e.name;
        EXPECT_EQ(size, e.size) << e.name;
    }
    SQLSMALLINT nullable = 0;
    SQLDescribeCol(s, 1, nullptr, 0, nullptr, nullptr, nullptr, nullptr, &nullable);
    EXPECT_EQ(nullable, SQL_NO_NULLS);
    SQLLEN autoUnique = 0;
    SQLColAttribute(s, 1, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr, &autoUnique);
    EXPECT_EQ(autoUnique, SQL_TRUE);
    char table[32] = {};
    SQLColAttribute(s, 2, SQL_DESC_BASE_TABLE_NAME, table, sizeof table, nullptr, nullptr);
    EXPECT_STREQ(table, "t");
    EXPECT_EQ(SQLDescribeCol(s, 14, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr), SQL_ERROR);
    EXPECT_EQ(s.state(), "07009");
    // A name that does not fit is cut, with its full length reported.
    SQLCHAR shortName[3];
    SQLSMALLINT full = 0;
    EXPECT_EQ(SQLDescribeCol(s, 2, shortName, sizeof shortName, &full, nullptr, nullptr, nullptr, nullptr),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(full, 4);
    EXPECT_STREQ(reinterpret_cast<char*>(shortName), "na");
}

TEST_F(OdbcStatementTest, CatalogueKeyColumnReportsItsOwnName)
{
    conn->exec("INSERT INTO cntext (对应节点) VALUES ('x')");
    Statement s(*conn);
    ASSERT_EQ(s.exec("select id, id AS key2 from cntext"), SQL_SUCCESS);
    SQLCHAR name[32];
    SQLDescribeCol(s, 1, name, sizeof name, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(name), "ID");
    SQLDescribeCol(s, 2, name, sizeof name, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(name), "key2");
}

TEST_F(OdbcStatementTest, ExpressionTypesFollowTheirValues)
{
    conn->exec("INSERT INTO t (n) VALUES (1)");
    Statement s(*conn);
    ASSERT_EQ(s.exec("SELECT 1, 5000000000, 1.5, 'abc', x'00', NULL, '字' FROM t"), SQL_SUCCESS);
    const SQLSMALLINT types[] = {SQL_INTEGER, SQL_BIGINT, SQL_DOUBLE, SQL_VARCHAR, SQL_LONGVARBINARY, SQL_VARCHAR,
                                 SQL_VARCHAR};
    const SQLULEN sizes[] = {10, 19, 15, 3, 1073741823, 255, 2};
    for (SQLUSMALLINT i = 1; i <= 7; ++i) {
        SQLSMALLINT type;
        SQLULEN size;
        SQLDescribeCol(s, i, nullptr, 0, nullptr, &type, &size, nullptr, nullptr);
        EXPECT_EQ(type, types[i - 1]) << i;
        EXPECT_EQ(size, sizes[i - 1]) << i; // GBK bytes for text
    }
}

TEST_F(OdbcStatementTest, ValuesConvertToTheAskedCTypes)
{
    ASSERT_EQ(conn->exec("INSERT INTO t (name, n, small, tiny, flag, r, d, at, bin) VALUES "
                         "('42', -7, 300, 200, 1, 2.5, 1234.5678, '2024-02-29 13:45:01', x'DEADBEEF')"),
              SQL_SUCCESS);
    Statement s(*conn);
    ASSERT_EQ(s.exec("SELECT name, n, small, tiny, flag, r, d, at, bin, memo FROM t"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    SQLINTEGER i32 = 0;
    SQLLEN length = 0;
    EXPECT_EQ(SQLGetData(s, 1, SQL_C_SLONG, &i32, 0, &length), SQL_SUCCESS); // text '42' to number
    EXPECT_EQ(i32, 42);
    SQLSMALLINT i16 = 0;
    EXPECT_EQ(SQLGetData(s, 3, SQL_C_SSHORT, &i16, 0, &length), SQL_SUCCESS);
    EXPECT_EQ(i16, 300);
    SQLCHAR tiny = 0;
    EXPECT_EQ(SQLGetData(s, 4, SQL_C_UTINYINT, &tiny, 0, &length), SQL_SUCCESS);
    EXPECT_EQ(tiny, 200);
    // Asking again for a fixed-size value gives no more data, as ODBC says.
    EXPECT_EQ(SQLGetData(s, 4, SQL_C_UTINYINT, &tiny, 0, &length), SQL_NO_DATA);
    SQLCHAR bit = 0;
    EXPECT_EQ(SQLGetData(s, 5, SQL_C_BIT, &bit, 0, &length), SQL_SUCCESS);
    EXPECT_EQ(bit, 1);
    SQLREAL f = 0;
    EXPECT_EQ(SQLGetData(s, 6, SQL_C_FLOAT, &f, 0, &length), SQL_SUCCESS);
    EXPECT_FLOAT_EQ(f, 2.5f);
    SQLDOUBLE d = 0;
    EXPECT_EQ(SQLGetData(s, 7, SQL_C_DOUBLE, &d, 0, &length), SQL_SUCCESS);
    EXPECT_DOUBLE_EQ(d, 1234.5678);
    SQLBIGINT i64 = 0;
    EXPECT_EQ(SQLGetData(s, 2, SQL_C_SBIGINT, &i64, 0, &length), SQL_SUCCESS);
    EXPECT_EQ(i64, -7);
    // Another column in between starts the value afresh.
    EXPECT_EQ(SQLGetData(s, 7, SQL_C_SLONG, &i32, 0, &length), SQL_SUCCESS_WITH_INFO); // fraction dropped
    EXPECT_EQ(s.state(), "01S07");
    EXPECT_EQ(i32, 1234);
    SQLSCHAR stiny = 0;
    EXPECT_EQ(SQLGetData(s, 4, SQL_C_STINYINT, &stiny, 0, &length), SQL_ERROR); // 200 does not fit
    EXPECT_EQ(s.state(), "22003");
    SQL_TIMESTAMP_STRUCT ts{};
    EXPECT_EQ(SQLGetData(s, 8, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &length), SQL_SUCCESS);
    EXPECT_EQ(ts.year, 2024);
    EXPECT_EQ(ts.month, 2);
    EXPECT_EQ(ts.day, 29);
    EXPECT_EQ(ts.hour, 13);
    EXPECT_EQ(ts.second, 1);
    char text[32];
    unsigned char bytes[8];
    EXPECT_EQ(SQLGetData(s, 9, SQL_C_BINARY, bytes, sizeof bytes, &length), SQL_SUCCESS);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(bytes[0], 0xDE);
    EXPECT_EQ(SQLGetData(s, 8, SQL_C_CHAR, text, sizeof text, &length), SQL_SUCCESS);
    EXPECT_STREQ(text, "2024-02-29 13:45:01");
    EXPECT_EQ(SQLGetData(s, 9, SQL_C_CHAR, text, sizeof text, &length), SQL_SUCCESS);
    EXPECT_STREQ(text, "DEADBEEF");
    // NULL: the indicator says so, and one is required.
    EXPECT_EQ(SQLGetData(s, 10, SQL_C_CHAR, text, sizeof text, &length), SQL_SUCCESS);
    EXPECT_EQ(length, SQL_NULL_DATA);
    EXPECT_EQ(SQLGetData(s, 10, SQL_C_CHAR, text, sizeof text, &length), SQL_NO_DATA);
    EXPECT_EQ(SQLGetData(s, 1, SQL_C_CHAR, text, sizeof text, &length), SQL_SUCCESS);
    EXPECT_EQ(SQLGetData(s, 10, SQL_C_CHAR, text, sizeof text, nullptr), SQL_ERROR);
    EXPECT_EQ(s.state(), "22002");
    // Text that is no number, and a number that is no date.
    EXPECT_EQ(SQLGetData(s, 2, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &length), SQL_ERROR);
    EXPECT_EQ(s.state(), "22018");
    EXPECT_EQ(SQLGetData(s, 0, SQL_C_CHAR, text, sizeof text, &length), SQL_ERROR);
    EXPECT_EQ(s.state(), "07009");
    EXPECT_EQ(SQLGetData(s, 1, SQL_C_CHAR, text, -1, &length), SQL_ERROR);
    EXPECT_EQ(s.state(), "HY090");
}

TEST_F(OdbcStatementTest, BoundColumnsAreFilledOnFetchAndCanBeUnbound)
{
    conn->exec("INSERT INTO t (name, n) VALUES ('one', 1)");
    conn->exec("INSERT INTO t (name, n) VALUES ('two', 2)");
    Statement s(*conn);
    char name[8];
    SQLLEN nameLength = 0;
    SQLINTEGER n = 0;
    SQLLEN nLength = 0;
    ASSERT_EQ(SQLBindCol(s, 1, SQL_C_CHAR, name, sizeof name, &nameLength), SQL_SUCCESS);
    ASSERT_EQ(SQLBindCol(s, 2, SQL_C_SLONG, &n, 0, &nLength), SQL_SUCCESS);
    SQLULEN fetched = 0;
    SQLUSMALLINT status[1] = {99};
    SQLSetStmtAttr(s, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    SQLSetStmtAttr(s, SQL_ATTR_ROW_STATUS_PTR, status, 0);
    ASSERT_EQ(s.exec("SELECT name, n FROM t ORDER BY n"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    EXPECT_STREQ(name, "one");
    EXPECT_EQ(nameLength, 3);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(status[0], SQL_ROW_SUCCESS);
    // SQLGetData may read a bound column too.
    char again[8];
    EXPECT_EQ(SQLGetData(s, 1, SQL_C_CHAR, again, sizeof again, nullptr), SQL_SUCCESS);
    EXPECT_STREQ(again, "one");
    ASSERT_EQ(SQLFreeStmt(s, SQL_UNBIND), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    EXPECT_STREQ(name, "one"); // no longer written
    EXPECT_EQ(SQLFetch(s), SQL_NO_DATA);
    EXPECT_EQ(fetched, 0u);
}

TEST_F(OdbcStatementTest, LongTextComesInPiecesWithRemainingLengths)
{
    for (size_t size : {size_t(600), size_t(70000)}) {
        std::string text;
        for (size_t i = 0; text.size() < size; ++i)
            text += i % 7 == 0 ? std::string("字") : std::string(1, char('a' + i % 26));
        Statement insert(*conn);
        ASSERT_TRUE(Ok(SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO t (memo) VALUES (?)")),
                                  SQL_NTS)));
        SQLLEN length = SQLLEN(text.size());
        ASSERT_EQ(SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, text.size(), 0,
                                   text.data(), 0, &length),
                  SQL_SUCCESS);
        ASSERT_EQ(SQLExecute(insert), SQL_SUCCESS) << insert.state();

        Statement s(*conn);
        ASSERT_EQ(s.exec("SELECT memo FROM t ORDER BY id DESC"), SQL_SUCCESS);
        ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
        std::string read;
        char piece[512];
        SQLLEN remaining = 0;
        SQLRETURN rc;
        std::vector<SQLLEN> reported;
        while ((rc = SQLGetData(s, 1, SQL_C_CHAR, piece, sizeof piece, &remaining)) != SQL_NO_DATA) {
            ASSERT_TRUE(Ok(rc)) << s.state();
            reported.push_back(remaining);
            if (rc == SQL_SUCCESS_WITH_INFO) {
                EXPECT_EQ(s.state(), "01004");
            }
            read += piece;
        }
        EXPECT_EQ(read, text);
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.front(), SQLLEN(text.size()));
        EXPECT_EQ(reported[1], SQLLEN(text.size() - 511));
        EXPECT_EQ(SQLGetData(s, 1, SQL_C_CHAR, piece, sizeof piece, &remaining), SQL_NO_DATA);
    }
}

TEST_F(OdbcStatementTest, BinaryComesInPieces)
{
    std::string blob(3000, '\0');
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = char(i * 7);
    Statement insert(*conn);
    SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO t (bin) VALUES (?)")), SQL_NTS);
    SQLLEN length = SQLLEN(blob.size());
    SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, blob.size(), 0, blob.data(), 0,
                     &length);
    ASSERT_EQ(SQLExecute(insert), SQL_SUCCESS);
    Statement s(*conn);
    ASSERT_EQ(s.exec("SELECT bin FROM t"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    std::string read;
    char piece[1000];
    SQLLEN remaining;
    SQLRETURN rc;
    while ((rc = SQLGetData(s, 1, SQL_C_BINARY, piece, sizeof piece, &remaining)) != SQL_NO_DATA) {
        ASSERT_TRUE(Ok(rc));
        read.append(piece, size_t(std::min<SQLLEN>(remaining, sizeof piece)));
    }
    EXPECT_EQ(read, blob);
}

TEST_F(OdbcStatementTest, ChineseTextSurvivesParametersAndLiterals)
{
    // "字符" and U+20000 (a character GBK lacks, GB18030's four bytes),
    // written as GBK literal text and as a parameter.
    const std::string chinese = "分类字符";
    const std::string outside = "\x95\x32\x82\x36"; // U+20000 in GB18030
    ASSERT_EQ(conn->exec("INSERT INTO cntext (对应节点, 字符) VALUES ('" + chinese + "', '" + outside + "')"),
              SQL_SUCCESS);
    Statement insert(*conn);
    SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO cntext (对应节点, 字符) VALUES (?, ?)")),
               SQL_NTS);
    std::string p1 = chinese + outside;
    SQLLEN nts = SQL_NTS;
    SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 255, 0, p1.data(), 0, &nts);
    SQLBindParameter(insert, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 255, 0, p1.data(), 0, &nts);
    ASSERT_EQ(SQLExecute(insert), SQL_SUCCESS) << insert.state();

    // Stored as UTF-8 for any SQLite reader.
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT 字符 FROM cntext ORDER BY ID")),
              (std::vector<std::string>{U8(u8"\U00020000"), U8(u8"分类字符\U00020000")}));
    // Read back as GBK, and found by a GBK literal in a WHERE clause.
    auto rows = conn->query("select 字符 from cntext where 对应节点='" + chinese + "'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], outside);
    // The euro sign of code page 936 (0x80) goes through as well.
    ASSERT_EQ(conn->exec("INSERT INTO cntext (字符) VALUES ('\x80')"), SQL_SUCCESS);
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT 字符 FROM cntext ORDER BY ID DESC LIMIT 1")),
              std::vector<std::string>{U8(u8"€")});
}

TEST_F(OdbcStatementTest, TextThatIsNotGbkIsRefused)
{
    std::string state;
    // A lead byte with no second byte, in the SQL text.
    EXPECT_EQ(conn->exec("INSERT INTO t (name) VALUES ('\xB0')", &state), SQL_ERROR);
    EXPECT_EQ(state, "22018");
    Statement insert(*conn);
    SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO t (name) VALUES (?)")), SQL_NTS);
    char bad[] = "ok\xFF";
    SQLLEN nts = SQL_NTS;
    SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, bad, 0, &nts);
    EXPECT_EQ(SQLExecute(insert), SQL_ERROR);
    EXPECT_EQ(insert.state(), "22018");
    EXPECT_TRUE(SqliteColumn(file, "SELECT name FROM t").empty());
}

TEST_F(OdbcStatementTest, ParametersOfEveryKindAndNull)
{
    Statement insert(*conn);
    ASSERT_TRUE(Ok(SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                                          "INSERT INTO t (name, n, d, memo) VALUES (?, ?, ?, ?)")),
                              SQL_NTS)));
    SQLSMALLINT count = 0;
    SQLNumParams(insert, &count);
    EXPECT_EQ(count, 4);
    char name[] = "abcdef";
    SQLLEN nameLength = 3; // an explicit length takes only "abc"
    SQLINTEGER n = 77;
    SQLDOUBLE d = 0.25;
    SQLLEN nullIndicator = SQL_NULL_DATA;
    SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 40, 0, name, 0, &nameLength);
    SQLBindParameter(insert, 2, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &n, 0, nullptr);
    SQLBindParameter(insert, 3, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &d, 0, nullptr);
    // Parameter 4 unbound: the execution fails and changes nothing.
    EXPECT_EQ(SQLExecute(insert), SQL_ERROR);
    EXPECT_EQ(insert.state(), "07002");
    SQLBindParameter(insert, 4, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 10, 0, nullptr, 0, &nullIndicator);
    ASSERT_EQ(SQLExecute(insert), SQL_SUCCESS);
    EXPECT_EQ(SqliteColumn(file, "SELECT name || '|' || n || '|' || d || '|' || ifnull(memo, 'null') FROM t"),
              std::vector<std::string>{"abc|77|0.25|null"});
    SQLLEN rows = 0;
    SQLRowCount(insert, &rows);
    EXPECT_EQ(rows, 1);
}

TEST_F(OdbcStatementTest, AutoNumberKeysGrowAndAreNeverReused)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(conn->exec("INSERT INTO base (节点名称) VALUES ('n')"), SQL_SUCCESS);
    ASSERT_EQ(conn->exec("DELETE FROM base WHERE 父项目=3"), SQL_SUCCESS);
    ASSERT_EQ(conn->exec("INSERT INTO base (节点名称) VALUES ('n')"), SQL_SUCCESS);
    auto rows = conn->query("SELECT 父项目 FROM base ORDER BY 父项目");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0], "4");
}

TEST_F(OdbcStatementTest, ChangesTouchingNoRowReportNoData)
{
    EXPECT_EQ(conn->exec("UPDATE t SET n = 1 WHERE id = 99"), SQL_NO_DATA);
    EXPECT_EQ(conn->exec("DELETE FROM t WHERE id = 99"), SQL_NO_DATA);
    EXPECT_EQ(conn->exec("INSERT INTO t (n) VALUES (5)"), SQL_SUCCESS);
    Statement s(*conn);
    EXPECT_EQ(s.exec("UPDATE t SET n = 6"), SQL_SUCCESS);
    SQLLEN rows = 0;
    SQLRowCount(s, &rows);
    EXPECT_EQ(rows, 1);
}

TEST_F(OdbcStatementTest, ErrorsCarryTheirSqlStates)
{
    struct Case {
        const char* sql;
        const char* state;
    };
    conn->exec("INSERT INTO t (id) VALUES (1)");
    const Case cases[] = {
        {"SELEC * FROM t", "42000"},
        {"SELECT * FROM nowhere", "42S02"},
        {"SELECT missing FROM t", "42S22"},
        {"INSERT INTO t (id) VALUES (1)", "23000"},
        {"INSERT INTO t (id, n) VALUES (2)", "21S01"},
        {"SELECT 1; SELECT 2", "42000"},
        {"", "42000"},
    };
    for (const Case& c : cases) {
        std::string state;
        EXPECT_EQ(conn->exec(c.sql, &state), SQL_ERROR) << c.sql;
        EXPECT_EQ(state, c.state) << c.sql;
    }
    // The message quotes what the database saw, in GBK.
    Statement s(*conn);
    s.exec("SELECT * FROM 没有");
    EXPECT_NE(Message(SQL_HANDLE_STMT, s).find("没有"), std::string::npos);
    SQLINTEGER records = 0;
    SQLGetDiagField(SQL_HANDLE_STMT, s, 0, SQL_DIAG_NUMBER, &records, 0, nullptr);
    EXPECT_EQ(records, 1);
}

TEST_F(OdbcStatementTest, SequenceErrors)
{
    Statement s(*conn);
    EXPECT_EQ(SQLExecute(s), SQL_ERROR);
    EXPECT_EQ(s.state(), "HY010");
    SQLSMALLINT n;
    EXPECT_EQ(SQLNumResultCols(s, &n), SQL_ERROR);
    EXPECT_EQ(SQLNumParams(s, &n), SQL_ERROR);
    SQLLEN rows;
    EXPECT_EQ(SQLRowCount(s, &rows), SQL_ERROR);
}

TEST_F(OdbcStatementTest, ManualTransactionsCommitAndRollBack)
{
    ASSERT_EQ(SQLSetConnectAttr(conn->dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_SUCCESS);
    conn->exec("INSERT INTO t (n) VALUES (1)");
    ASSERT_EQ(SQLEndTran(SQL_HANDLE_DBC, conn->dbc(), SQL_ROLLBACK), SQL_SUCCESS);
    conn->exec("INSERT INTO t (n) VALUES (2)");
    ASSERT_EQ(SQLEndTran(SQL_HANDLE_DBC, conn->dbc(), SQL_COMMIT), SQL_SUCCESS);
    conn->exec("INSERT INTO t (n) VALUES (3)");
    // Another reader does not see what is not committed.
    EXPECT_EQ(SqliteColumn(file, "SELECT n FROM t"), std::vector<std::string>{"2"});
    // Switching auto-commit on commits what is open.
    ASSERT_EQ(SQLSetConnectAttr(conn->dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
              SQL_SUCCESS);
    EXPECT_EQ(SqliteColumn(file, "SELECT n FROM t ORDER BY n"), (std::vector<std::string>{"2", "3"}));
    // SQLTransact, the older name, and a disconnect that rolls back.
    SQLSetConnectAttr(conn->dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    conn->exec("INSERT INTO t (n) VALUES (4)");
    ASSERT_EQ(SQLTransact(SQL_NULL_HENV, conn->dbc(), SQL_COMMIT), SQL_SUCCESS);
    conn->exec("INSERT INTO t (n) VALUES (5)");
    conn->disconnect();
    EXPECT_EQ(SqliteColumn(file, "SELECT n FROM t ORDER BY n"), (std::vector<std::string>{"2", "3", "4"}));
}

TEST_F(OdbcStatementTest, TheCatalogueStatementsRunAsWritten)
{
    // Statements 3 and 4 add nodes; 1 and 2 read them.
    ASSERT_EQ(conn->exec("INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息 ) VALUES ('排序',3,3,'排序')"),
              SQL_SUCCESS);
    ASSERT_EQ(conn->exec("INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息,关联子节点 ) VALUES ('子',2,2,'子',1)"),
              SQL_SUCCESS);
    auto tree = conn->query("SELECT * FROM base ORDER BY 父项目 ASC");
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0], (std::vector<std::string>{"1", "排序", "<null>", "3", "3", "排序"}));
    EXPECT_EQ(tree[1], (std::vector<std::string>{"2", "子", "1", "2", "2", "子"}));
    auto byName = conn->query("select * from base where 节点名称= '子'");
    ASSERT_EQ(byName.size(), 1u);
    EXPECT_EQ(byName[0][0], "2");
    // Statement 5 renames; 6 and 7 as the program writes them.
    ASSERT_EQ(conn->exec("UPDATE base SET 节点名称 ='新',图片索引=5,选中图片索引=5 WHERE 父项目=2"), SQL_SUCCESS);
    EXPECT_EQ(conn->exec("UPDATE base SET 父项目 =0 WHERE 父项目=1"), SQL_SUCCESS);
    EXPECT_EQ(conn->exec("DELETE FROM base WHERE 父项目=1"), SQL_NO_DATA);
    // Statements 10, 8, 9, 11 and 12 on entries.
    ASSERT_EQ(conn->exec("INSERT INTO cntext  (对应节点,字符,描述,详情) values ('新','代码','描述','')"), SQL_SUCCESS);
    auto entries = conn->query("select * from cntext where 对应节点='新'");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], (std::vector<std::string>{"1", "新", "代码", "描述", ""}));
    EXPECT_EQ(conn->query("select * from cntext where id=1").size(), 1u);
    ASSERT_EQ(conn->exec("update cntext set 字符 ='改',描述='d',详情='t' where id = 1"), SQL_SUCCESS);
    EXPECT_EQ(conn->query("select 字符 from cntext where ID=1")[0][0], "改");
    ASSERT_EQ(conn->exec("DELETE FROM cntext WHERE ID=1"), SQL_SUCCESS);
    EXPECT_TRUE(conn->query("select * from cntext where id=1").empty());
    // A text with a single quote makes the statement invalid.
    std::string state;
    EXPECT_EQ(conn->exec("INSERT INTO cntext  (对应节点,字符,描述,详情) values ('a','it's','d','t')", &state), SQL_ERROR);
    EXPECT_EQ(state, "42000");
}

TEST_F(OdbcStatementTest, CatalogueFunctionsListTablesAndColumns)
{
    Statement s(*conn);
    ASSERT_EQ(SQLTables(s, nullptr, 0, nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(const_cast<char*>("TABLE")),
                        SQL_NTS),
              SQL_SUCCESS);
    std::vector<std::string> names;
    char name[64];
    while (SQLFetch(s) == SQL_SUCCESS) {
        SQLGetData(s, 3, SQL_C_CHAR, name, sizeof name, nullptr);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"base", "cntext", "t"}));
    SQLCloseCursor(s);
    ASSERT_EQ(SQLColumns(s, nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(const_cast<char*>("cntext")), SQL_NTS,
                         nullptr, 0),
              SQL_SUCCESS);
    names.clear();
    while (SQLFetch(s) == SQL_SUCCESS) {
        SQLGetData(s, 4, SQL_C_CHAR, name, sizeof name, nullptr);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "对应节点", "字符", "描述", "详情"}));
}

} // namespace
