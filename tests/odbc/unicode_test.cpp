// The wide interface (UTF-16) through the driver manager, and wide C types
// on the narrow one: what a Unicode client such as pyodbc relies on.

#include "odbc_test_support.h"

#include <gtest/gtest.h>

#include <sqlucode.h>

using namespace odbc_test;

namespace {

SQLWCHAR* W(const std::u16string& s)
{
    return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(s.c_str()));
}

std::u16string Utf16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

class OdbcUnicodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.file("CN.mdb");
        CreateCatalogueTables(file);
        std::u16string text = Utf16(ConnectString(file));
        SQLWCHAR out[512];
        SQLSMALLINT outLength = 0;
        ASSERT_TRUE(Ok(SQLDriverConnectW(wide.dbc(), nullptr, W(text), SQL_NTS, out, 512, &outLength,
                                         SQL_DRIVER_NOPROMPT)))
            << wide.state();
        completed.assign(reinterpret_cast<char16_t*>(out), size_t(outLength));
    }
    void TearDown() override { SQLDisconnect(wide.dbc()); }

    SQLRETURN execW(Statement& s, const std::u16string& sql) { return SQLExecDirectW(s, W(sql), SQL_NTS); }

    std::u16string wideState(SQLSMALLINT type, SQLHANDLE handle, std::u16string* message = nullptr)
    {
        SQLWCHAR state[6] = {};
        SQLWCHAR text[512] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!Ok(SQLGetDiagRecW(type, handle, 1, state, &native, text, 512, &length)))
            return u"";
        if (message)
            message->assign(reinterpret_cast<char16_t*>(text), size_t(length));
        return reinterpret_cast<char16_t*>(state);
    }

    ScratchDir dir;
    std::string file;
    Connection wide;
    std::u16string completed;
};

TEST_F(OdbcUnicodeTest, SqlNamesValuesAndDiagnosticsTravelAsUtf16)
{
    EXPECT_EQ(completed.substr(0, 4), u"DBQ=");
    Statement s(wide);
    const std::u16string outside = u"\U00020000中";
    ASSERT_EQ(execW(s, u"INSERT INTO cntext (对应节点, 字符) VALUES ('分类', '" + outside + u"')"), SQL_SUCCESS)
        << s.state();
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT 字符 FROM cntext WHERE 对应节点 = '分类'")),
              std::vector<std::string>{U8(u8"\U00020000中")});

    ASSERT_EQ(execW(s, u"SELECT 对应节点, 字符 FROM cntext"), SQL_SUCCESS);
    SQLWCHAR name[16];
    SQLSMALLINT nameLength = 0, type = 0;
    SQLULEN size = 0;
    ASSERT_EQ(SQLDescribeColW(s, 1, name, 16, &nameLength, &type, &size, nullptr, nullptr), SQL_SUCCESS);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(name), size_t(nameLength)), u"对应节点");
    EXPECT_EQ(type, SQL_WVARCHAR) << "a Unicode client reads character columns as wide";
    SQLDescribeColW(s, 2, name, 16, &nameLength, &type, &size, nullptr, nullptr);
    EXPECT_EQ(type, SQL_WLONGVARCHAR);
    SQLWCHAR label[16];
    SQLSMALLINT labelBytes = 0;
    ASSERT_EQ(SQLColAttributeW(s, 2, SQL_DESC_LABEL, label, sizeof label, &labelBytes, nullptr), SQL_SUCCESS);
    EXPECT_EQ(labelBytes, 4) << "attribute lengths are bytes";
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(label)), u"字符");

    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    SQLWCHAR value[8];
    SQLLEN length = 0;
    ASSERT_EQ(SQLGetData(s, 2, SQL_C_WCHAR, value, sizeof value, &length), SQL_SUCCESS);
    EXPECT_EQ(length, 6) << "two units for U+20000, one for 中";
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(value)), outside);
    SQLCloseCursor(s);

    // A message quoting Chinese arrives whole, its length in characters.
    EXPECT_EQ(execW(s, u"SELECT * FROM 没有这个表"), SQL_ERROR);
    std::u16string message;
    EXPECT_EQ(wideState(SQL_HANDLE_STMT, s, &message), u"42S02");
    EXPECT_TRUE(message.ends_with(u"no such table: 没有这个表")) << "nothing after the message";

    // Text that is not UTF-16 is refused and changes nothing.
    const char16_t lone[] = {u'\'', 0xD800, u'\'', 0};
    EXPECT_EQ(execW(s, u"INSERT INTO cntext (字符) VALUES (" + std::u16string(lone) + u")"), SQL_ERROR);
    EXPECT_EQ(wideState(SQL_HANDLE_STMT, s), u"22018");
    EXPECT_EQ(SqliteColumn(file, "SELECT count(*) FROM cntext"), std::vector<std::string>{"1"});
}

TEST_F(OdbcUnicodeTest, InformationAndCatalogueInWideText)
{
    SQLWCHAR dbms[32];
    SQLSMALLINT bytes = 0;
    ASSERT_EQ(SQLGetInfoW(wide.dbc(), SQL_DBMS_NAME, dbms, sizeof dbms, &bytes), SQL_SUCCESS);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(dbms)), u"ACCESS");
    EXPECT_EQ(bytes, 12);

    // "_" stands for one character, whatever its size in any encoding.
    Statement s(wide);
    ASSERT_EQ(SQLColumnsW(s, nullptr, 0, nullptr, 0, W(u"cntext"), SQL_NTS, W(u"_应节点"), SQL_NTS), SQL_SUCCESS);
    std::vector<std::u16string> names;
    SQLWCHAR name[32];
    SQLLEN length = 0;
    while (SQLFetch(s) == SQL_SUCCESS) {
        SQLGetData(s, 4, SQL_C_WCHAR, name, sizeof name, &length);
        names.emplace_back(reinterpret_cast<char16_t*>(name));
        SQLSMALLINT type = 0;
        SQLGetData(s, 5, SQL_C_SSHORT, &type, 0, nullptr);
        EXPECT_EQ(type, SQL_WVARCHAR);
    }
    EXPECT_EQ(names, std::vector<std::u16string>{u"对应节点"});
}

// The narrow interface keeps GBK, and takes wide C types as well.
TEST(OdbcWideCTypesTest, NarrowConnectionsBindAndReadWideText)
{
    ScratchDir dir;
    std::string file = dir.file("CN.mdb");
    CreateCatalogueTables(file);
    Connection c(file);
    Statement insert(c);
    ASSERT_TRUE(Ok(SQLPrepare(insert, reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO cntext (字符) VALUES (?)")),
                              SQL_NTS)));
    std::u16string value = u"宽字符\U0001F600";
    SQLLEN bytes = SQLLEN(value.size() * 2);
    ASSERT_EQ(SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 10, 0, value.data(), 0, &bytes),
              SQL_SUCCESS);
    ASSERT_EQ(SQLExecute(insert), SQL_SUCCESS) << insert.state();
    EXPECT_EQ(SqliteColumn(file, U8(u8"SELECT 字符 FROM cntext")), std::vector<std::string>{U8(u8"宽字符\U0001F600")});

    Statement s(c);
    SQLWCHAR bound[16];
    SQLLEN boundLength = 0;
    ASSERT_EQ(SQLBindCol(s, 1, SQL_C_WCHAR, bound, sizeof bound, &boundLength), SQL_SUCCESS);
    ASSERT_EQ(s.exec("SELECT 字符 FROM cntext"), SQL_SUCCESS);
    SQLSMALLINT type = 0;
    SQLDescribeCol(s, 1, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr);
    EXPECT_EQ(type, SQL_LONGVARCHAR) << "a narrow client sees the narrow types, as the program always has";
    ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(bound)), value);
    EXPECT_EQ(boundLength, SQLLEN(value.size() * 2));
    char narrow[16];
    ASSERT_EQ(SQLGetData(s, 1, SQL_C_CHAR, narrow, sizeof narrow, nullptr), SQL_SUCCESS);
    EXPECT_EQ(std::string(narrow), std::string("宽字符") + "\x94\x39\xFC\x36") << "GB18030's four bytes for U+1F600";
}

} // namespace

namespace {

// Asked for whole characters, a narrow client's pieces of a long text each
// convert on their own; by default each fills the buffer.
TEST(OdbcPiecesTest, WholeCharactersIsAConnectionsChoice)
{
    ScratchDir dir;
    std::string file = dir.file("CN.mdb");
    CreateCatalogueTables(file);
    SqliteExec(file, U8(u8"INSERT INTO cntext (字符) VALUES ('a字符串')"));
    for (bool whole : {false, true}) {
        Connection c;
        ASSERT_TRUE(Ok(c.connect(ConnectString(file) + (whole ? "WholeCharacters=1;" : "")))) << c.state();
        Statement s(c);
        ASSERT_EQ(s.exec("SELECT 字符 FROM cntext"), SQL_SUCCESS);
        ASSERT_EQ(SQLFetch(s), SQL_SUCCESS);
        char piece[3];
        SQLLEN length = 0;
        std::vector<std::string> pieces;
        while (Ok(SQLGetData(s, 1, SQL_C_CHAR, piece, sizeof piece, &length)))
            pieces.emplace_back(piece);
        const std::vector<std::string> expected =
            whole ? std::vector<std::string>{"a", "字", "符", "串"}
                  : std::vector<std::string>{"a\xD7", "\xD6\xB7", "\xFB\xB4", "\xAE"};
        EXPECT_EQ(pieces, expected) << whole;
    }
}

} // namespace
