// Parameters given at execution time, piece by piece (SQL_DATA_AT_EXEC,
// SQLParamData, SQLPutData), as clients send long texts.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <sqlucode.h>

using namespace odbc_test;

namespace {

class OdbcDataAtExecutionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("CN.mdb");
        CreateCatalogueTables(file);
        conn = std::make_unique<Connection>(file);
    }

    // Prepares an insert of 字符 and 描述, both given at execution.
    void prepare(Statement& s, SQLSMALLINT cType)
    {
        ASSERT_TRUE(Ok(SQLPrepare(s, reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                                         "INSERT INTO cntext (字符, 描述) VALUES (?, ?)")),
                                  SQL_NTS)));
        for (SQLUSMALLINT i = 1; i <= 2; ++i)
            ASSERT_EQ(SQLBindParameter(s, i, SQL_PARAM_INPUT, cType, SQL_LONGVARCHAR, 0, 0, &tokens[i], 0, &atExecution),
                      SQL_SUCCESS);
    }

    // The token SQLParamData hands back names the parameter it wants.
    int next(Statement& s, SQLRETURN expected = SQL_NEED_DATA)
    {
        SQLPOINTER token = nullptr;
        SQLRETURN rc = SQLParamData(s, &token);
        EXPECT_EQ(rc, expected) << s.state();
        if (rc != SQL_NEED_DATA)
            return 0;
        return token == &tokens[1] ? 1 : token == &tokens[2] ? 2 : -1;
    }

    ScratchDir dir;
    std::string file;
    std::unique_ptr<Connection> conn;
    int tokens[3] = {};
    SQLLEN atExecution = SQL_DATA_AT_EXEC;
};

// A GBK character and a UTF-16 surrogate pair split between two pieces
// still arrive whole: pieces are joined before they are converted.
TEST_F(OdbcDataAtExecutionTest, TextArrivesWholeWhateverTheCutsInEitherEncoding)
{
    Statement narrow(*conn);
    prepare(narrow, SQL_C_CHAR);
    ASSERT_EQ(SQLExecute(narrow), SQL_NEED_DATA);
    EXPECT_EQ(next(narrow), 1);
    const std::string gbk = "长文本";
    ASSERT_EQ(SQLPutData(narrow, const_cast<char*>(gbk.data()), 3), SQL_SUCCESS); // 长 and half of 文
    ASSERT_EQ(SQLPutData(narrow, const_cast<char*>(gbk.data() + 3), SQL_NTS), SQL_SUCCESS);
    EXPECT_EQ(next(narrow), 2);
    ASSERT_EQ(SQLPutData(narrow, nullptr, SQL_NULL_DATA), SQL_SUCCESS);
    EXPECT_EQ(next(narrow, SQL_SUCCESS), 0);

    Statement wide(*conn);
    prepare(wide, SQL_C_WCHAR);
    ASSERT_EQ(SQLExecute(wide), SQL_NEED_DATA);
    EXPECT_EQ(next(wide), 1);
    const std::u16string text = u"a\U00020000b";
    ASSERT_EQ(SQLPutData(wide, const_cast<char16_t*>(text.data()), 4), SQL_SUCCESS); // "a" and the high surrogate
    ASSERT_EQ(SQLPutData(wide, const_cast<char16_t*>(text.data() + 2), 4), SQL_SUCCESS);
    EXPECT_EQ(next(wide), 2);
    ASSERT_EQ(SQLPutData(wide, const_cast<char16_t*>(u""), 0), SQL_SUCCESS);
    EXPECT_EQ(next(wide, SQL_SUCCESS), 0);

    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT 字符 || '|' || ifnull(描述, 'NULL') FROM cntext ORDER BY ID")),
              (std::vector<std::string>{U8(u8"长文本|NULL"), U8(u8"a\U00020000b|")}));
}

TEST_F(OdbcDataAtExecutionTest, AMegabyteInManyPiecesWithExecDirect)
{
    std::string piece;
    for (int i = 0; i < 1000; ++i)
        piece += "代码";
    const int pieces = 256; // 4000 bytes each: about 1 MB
    SQLLEN length = SQL_LEN_DATA_AT_EXEC(0);
    Statement s(*conn);
    ASSERT_EQ(SQLBindParameter(s, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 0, 0, &tokens[1], 0, &length),
              SQL_SUCCESS);
    ASSERT_EQ(s.exec("INSERT INTO cntext (字符) VALUES (?)"), SQL_NEED_DATA);
    EXPECT_EQ(next(s), 1);
    for (int i = 0; i < pieces; ++i)
        ASSERT_EQ(SQLPutData(s, piece.data(), SQLLEN(piece.size())), SQL_SUCCESS);
    EXPECT_EQ(next(s, SQL_SUCCESS), 0);
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT length(字符) FROM cntext")),
              std::vector<std::string>{std::to_string(pieces * 2000)});
}

// Cancelling between pieces forgets them: nothing is written, and the
// statement runs again afresh.  Broken text is refused whole.
TEST_F(OdbcDataAtExecutionTest, CancelledOrBrokenDataChangesNothing)
{
    Statement s(*conn);
    prepare(s, SQL_C_CHAR);
    ASSERT_EQ(SQLExecute(s), SQL_NEED_DATA);
    next(s);
    SQLPutData(s, const_cast<char*>("x"), 1);
    ASSERT_EQ(SQLCancel(s), SQL_SUCCESS);
    EXPECT_EQ(SQLPutData(s, const_cast<char*>("x"), 1), SQL_ERROR);
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT count(*) FROM cntext")), std::vector<std::string>{"0"});

    ASSERT_EQ(SQLExecute(s), SQL_NEED_DATA);
    next(s);
    ASSERT_EQ(SQLPutData(s, const_cast<char*>("\xB3"), 1), SQL_SUCCESS); // a lead byte with nothing after it
    EXPECT_EQ(next(s, SQL_ERROR), 0);
    EXPECT_EQ(s.state(), "22018");
    EXPECT_EQ(SQLParamData(s, nullptr), SQL_ERROR) << "the failed parameter ended the execution";
    EXPECT_EQ(SqliteColumn(file, "SELECT count(*) FROM cntext"), std::vector<std::string>{"0"});
}

} // namespace
