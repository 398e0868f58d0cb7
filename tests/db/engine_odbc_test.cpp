// The engine's entries through the driver manager and the program's Access
// driver, on scratch databases.

#include "scratch_database.h"

#include "db/connect_string.h"
#include "db/database_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>

namespace {

using namespace db;
using dbtest::ScratchDatabase;

const DatabaseEngine& E()
{
    return DatabaseEngine::instance();
}

template<typename Fn>
Fn entry(const char* name)
{
    Fn f = E().lookup<Fn>(name);
    EXPECT_NE(f, nullptr) << name;
    return f;
}

Connection* open(const std::string& text, bool readOnly = false, bool suppressDialog = true)
{
    return entry<NewOpenDatabaseFn>("NewOpenDatabase")(text.c_str(), readOnly, suppressDialog);
}
void closeDb(Connection* c) { entry<ConnectionActionFn>("CloseDatabase")(c); }
ResultSetHandle query(Connection* c, const char* sql) { return entry<OpenTableFn>("OpenTable")(c, sql); }
void closeSet(Connection* c, ResultSetHandle rs) { entry<SetActionFn>("CloseTable")(c, rs); }
bool isEof(Connection* c, ResultSetHandle rs) { return entry<SetTestFn>("IsEOF")(c, rs); }
bool isBof(Connection* c, ResultSetHandle rs) { return entry<SetTestFn>("IsBOF")(c, rs); }
void move(const char* how, Connection* c, ResultSetHandle rs) { entry<SetActionFn>(how)(c, rs); }
bool execute(Connection* c, const char* sql, std::initializer_list<SqlParameter> p = {})
{
    return entry<ExecuteSqlFn>("ExecuteSql")(c, sql, p.begin(), std::int32_t(p.size()));
}
bool read(Connection* c, ResultSetHandle rs, const char* name, ColumnValue& v)
{
    return entry<ReadColByNameFn>("ReadColByName")(c, rs, name, &v);
}
bool readAt(Connection* c, ResultSetHandle rs, int position, ColumnValue& v)
{
    return entry<ReadColByIndexFn>("ReadColByIndex")(c, rs, position, &v);
}
std::int32_t readInt(Connection* c, ResultSetHandle rs, const char* name)
{
    ColumnValue v;
    read(c, rs, name, v);
    EXPECT_EQ(v.code, ValueCode::Integer) << name;
    return v.integer;
}
std::string readText(Connection* c, ResultSetHandle rs, const char* name)
{
    ColumnValue v;
    read(c, rs, name, v);
    EXPECT_EQ(v.code, ValueCode::Text) << name;
    return std::string(v.textView());
}

constexpr const char* kNotes = "CREATE TABLE notes (ID INTEGER PRIMARY KEY AUTOINCREMENT, 名称 VARCHAR(255), "
                               "内容 LONGTEXT, 数 INTEGER);";

// An open connection on a scratch database, closed at the end.
struct Open {
    ScratchDatabase file;
    Connection* c = nullptr;
    explicit Open(std::string_view schema = kNotes, bool readOnly = false) : file(schema)
    {
        c = open(file.connectText(), readOnly);
        EXPECT_NE(c, nullptr) << "connecting to " << file.path();
    }
    ~Open() { closeDb(c); }
};

// --- Connecting -----------------------------------------------------------

TEST(EngineConnect, KeepsTheCompletedStringAndJoinsTheRegistry)
{
    std::size_t before = LiveConnectionCount();
    ScratchDatabase file(kNotes);
    Connection* c = open(file.connectText());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(IsLiveConnection(c));
    EXPECT_EQ(LiveConnectionCount(), before + 1);
    std::string s = entry<ConnectionTextFn>("GetConnectString")(c);
    EXPECT_EQ(s.rfind("ODBC;", 0), 0u) << s;
    EXPECT_NE(s.find("DBQ=" + file.path()), std::string::npos) << s;
    EXPECT_EQ(s.find("ODBC;ODBC;"), std::string::npos) << s;
    closeDb(c);
    EXPECT_FALSE(IsLiveConnection(c));
    EXPECT_EQ(LiveConnectionCount(), before);
    EXPECT_EQ(entry<ConnectionTextFn>("GetConnectString")(c), "");
    // The older entry connects the same way, always completing.
    c = entry<OpenDatabaseFn>("OpenDatabase")(file.connectText().c_str(), false);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(execute(c, "INSERT INTO notes (名称) VALUES ('x')"));
    closeDb(c);
    EXPECT_EQ(LiveConnectionCount(), before);
}

TEST(EngineConnect, MissingFileFailsAndCreatesNothing)
{
    std::size_t before = LiveConnectionCount();
    std::string path = dbtest::UnusedPath("missing.mdb");
    std::string text = "ODBC;DBQ=" + path + ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;";
    EXPECT_EQ(open(text, false, true), nullptr);
    EXPECT_EQ(open(text, false, false), nullptr);
    EXPECT_EQ(entry<OpenDatabaseFn>("OpenDatabase")(text.c_str(), false), nullptr);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(LiveConnectionCount(), before);
}

TEST(EngineConnect, EmptyConnectTextFailsWithoutADialog)
{
    std::size_t before = LiveConnectionCount();
    EXPECT_EQ(open("", false, false), nullptr);
    EXPECT_EQ(open("", false, true), nullptr);
    EXPECT_EQ(entry<OpenDatabaseFn>("OpenDatabase")(nullptr, false), nullptr);
    // With a window to own the dialog the answer is the same.
    SetDialogOwner(0x1234);
    EXPECT_EQ(open("", false, false), nullptr);
    SetDialogOwner(0);
    EXPECT_EQ(LiveConnectionCount(), before);
}

TEST(EngineConnect, ReadOnlyConnectionsReadButDoNotWrite)
{
    ScratchDatabase file(kNotes);
    file.exec("INSERT INTO notes (名称) VALUES ('一');");
    Connection* c = open(file.connectText(), true);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(execute(c, "INSERT INTO notes (名称) VALUES ('二')"));
    ResultSetHandle rs = query(c, "select * from notes");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(readText(c, rs, "名称"), "一");
    closeDb(c);
    EXPECT_EQ(file.scalar("select count(*) from notes"), "1");
}

TEST(EngineConnect, ACompletedStringLongerThanTheBufferIsKeptWhole)
{
    ScratchDatabase file(kNotes);
    // The driver hands back what it was given; a long password makes the
    // completed string outgrow the first buffer.
    std::string password(600, 'p');
    std::string text = db::AccessConnectString(file.path(), "admin", password);
    Connection* c = open(text);
    ASSERT_NE(c, nullptr);
    std::string s = entry<ConnectionTextFn>("GetConnectString")(c);
    EXPECT_NE(s.find("PWD=" + password), std::string::npos) << s;
    EXPECT_GT(s.size(), 600u);
    closeDb(c);
}

// --- Statements and cursors -------------------------------------------------

TEST(EngineCursor, AnEmptyResultIsAtItsEndAndReadsDefaults)
{
    Open db;
    ResultSetHandle rs = query(db.c, "select * from notes");
    ASSERT_NE(rs, 0u);
    EXPECT_TRUE(isEof(db.c, rs));
    EXPECT_TRUE(isBof(db.c, rs));
    EXPECT_EQ(entry<SetCountFn>("BDGetRecCount")(db.c, rs), 0);
    EXPECT_EQ(readInt(db.c, rs, "数"), 0);
    EXPECT_EQ(readInt(db.c, rs, "ID"), 0);
    EXPECT_EQ(readText(db.c, rs, "名称"), "");
    EXPECT_EQ(readText(db.c, rs, "内容"), "");
    move("MoveFirst", db.c, rs);
    move("MoveNext", db.c, rs);
    EXPECT_TRUE(isEof(db.c, rs));
}

TEST(EngineCursor, WalksEveryRowAndMovesBothWays)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称, 数) VALUES ('a', 10), ('b', 20), ('c', 30);");
    ResultSetHandle rs = query(db.c, "SELECT * FROM notes ORDER BY ID ASC");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(entry<SetCountFn>("BDGetRecCount")(db.c, rs), 3);
    EXPECT_FALSE(isBof(db.c, rs));
    std::string seen;
    for (; !isEof(db.c, rs); move("MoveNext", db.c, rs))
        seen += readText(db.c, rs, "名称") + std::to_string(readInt(db.c, rs, "数"));
    EXPECT_EQ(seen, "a10b20c30");
    // Past the end it stays at the end, and nothing is read there.
    move("MoveNext", db.c, rs);
    EXPECT_TRUE(isEof(db.c, rs));
    EXPECT_EQ(readText(db.c, rs, "名称"), "");
    move("MoveFirst", db.c, rs);
    EXPECT_FALSE(isEof(db.c, rs));
    EXPECT_EQ(readText(db.c, rs, "名称"), "a");
    move("MoveLast", db.c, rs);
    EXPECT_EQ(readText(db.c, rs, "名称"), "c");
    move("MovePrev", db.c, rs);
    EXPECT_EQ(readText(db.c, rs, "名称"), "b");
    move("MovePrev", db.c, rs);
    move("MovePrev", db.c, rs);
    EXPECT_TRUE(isBof(db.c, rs));
    EXPECT_FALSE(isEof(db.c, rs));
    move("MoveNext", db.c, rs);
    EXPECT_EQ(readText(db.c, rs, "名称"), "a");
}

TEST(EngineCursor, FailedQueriesYieldNoSet)
{
    Open db;
    EXPECT_EQ(query(db.c, "select * from nowhere"), 0u);
    EXPECT_EQ(query(db.c, "selec * from notes"), 0u);
    EXPECT_EQ(query(db.c, nullptr), 0u);
    // A statement without rows is no query either.
    EXPECT_EQ(query(db.c, "DELETE FROM notes"), 0u);
    EXPECT_TRUE(isEof(db.c, 0));
}

TEST(EngineCursor, BracketedNamesReachTheDriverQuoted)
{
    Open db("CREATE TABLE [my table] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [a b] VARCHAR(20));");
    EXPECT_TRUE(execute(db.c, "INSERT INTO [my table] ([a b]) VALUES ('x[y]')"));
    ResultSetHandle rs = query(db.c, "select [a b] from [my table]");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(readText(db.c, rs, "a b"), "x[y]");
}

TEST(EngineCursor, RequeryShowsTheTableAsItIsNow)
{
    Open db;
    ResultSetHandle rs = query(db.c, "select * from notes");
    ASSERT_TRUE(isEof(db.c, rs));
    db.file.exec("INSERT INTO notes (名称) VALUES ('new');");
    EXPECT_TRUE(entry<SetTestFn>("Requery")(db.c, rs));
    EXPECT_FALSE(isEof(db.c, rs));
    EXPECT_EQ(readText(db.c, rs, "名称"), "new");
}

// --- Result-set slots and handles ----------------------------------------

TEST(EngineSlots, ThirtySetsThenRefusalUntilOneCloses)
{
    Open db;
    std::set<ResultSetHandle> handles;
    for (int i = 0; i < kResultSetSlots; ++i) {
        ResultSetHandle rs = query(db.c, "select * from notes");
        ASSERT_NE(rs, 0u) << i;
        handles.insert(rs);
    }
    EXPECT_EQ(handles.size(), std::size_t(kResultSetSlots));
    EXPECT_EQ(query(db.c, "select * from notes"), 0u);
    ResultSetHandle closed = *handles.begin();
    closeSet(db.c, closed);
    ResultSetHandle again = query(db.c, "select * from notes");
    EXPECT_NE(again, 0u);
    EXPECT_EQ(handles.count(again), 0u) << "a handle is never given out twice";
    EXPECT_GT(again, *handles.rbegin());
}

TEST(EngineSlots, CloseWithoutASetClosesEverySet)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称) VALUES ('a');");
    std::vector<ResultSetHandle> sets;
    for (int i = 0; i < kResultSetSlots; ++i)
        sets.push_back(query(db.c, "select * from notes"));
    closeSet(db.c, 0);
    for (ResultSetHandle rs : sets) {
        EXPECT_TRUE(isEof(db.c, rs));
        ColumnValue v;
        EXPECT_FALSE(read(db.c, rs, "名称", v));
        EXPECT_EQ(v.code, ValueCode::None);
    }
    for (int i = 0; i < kResultSetSlots; ++i)
        EXPECT_NE(query(db.c, "select * from notes"), 0u);
}

TEST(EngineSlots, AHandleBelongsToItsOwnConnectionOnly)
{
    Open a;
    Open b;
    a.file.exec("INSERT INTO notes (名称) VALUES ('a');");
    ResultSetHandle rs = query(a.c, "select * from notes");
    ASSERT_NE(rs, 0u);
    ColumnValue v;
    EXPECT_FALSE(read(b.c, rs, "名称", v));
    EXPECT_TRUE(isEof(b.c, rs));
    closeSet(b.c, rs);
    EXPECT_EQ(readText(a.c, rs, "名称"), "a") << "closing on another connection leaves the set";
    closeSet(a.c, rs);
    EXPECT_FALSE(read(a.c, rs, "名称", v)) << "a closed set reads nothing";
}

// --- Reading columns ---------------------------------------------------------

constexpr const char* kKinds =
    "CREATE TABLE kinds (ID INTEGER PRIMARY KEY AUTOINCREMENT, 字节 TINYINT, 短 SMALLINT, 逻辑 BIT, 单 REAL, "
    "双 DOUBLE, 日期 DATETIME, 名称 VARCHAR(255), 长文 LONGTEXT, 小块 VARBINARY(16), 大块 LONGBINARY);";

TEST(EngineRead, EachSqlTypeBecomesItsValueKind)
{
    Open db(kKinds);
    db.file.exec("INSERT INTO kinds (字节, 短, 逻辑, 单, 双, 日期, 名称, 长文, 小块, 大块) VALUES "
                 "(200, -1234, 1, 0.5, 2.25, '2020-01-01 08:05:00', '名字', '长的文字', X'00FF10', X'0102');");
    ResultSetHandle rs = query(db.c, "select * from kinds");
    ASSERT_NE(rs, 0u);
    ColumnValue v;
    ASSERT_TRUE(read(db.c, rs, "ID", v));
    EXPECT_EQ(v.code, ValueCode::Integer);
    EXPECT_EQ(v.integer, 1);
    ASSERT_TRUE(read(db.c, rs, "字节", v));
    EXPECT_EQ(v.code, ValueCode::Byte);
    EXPECT_EQ(v.byte, 200);
    ASSERT_TRUE(read(db.c, rs, "短", v));
    EXPECT_EQ(v.code, ValueCode::Short);
    EXPECT_EQ(v.shortInt, -1234);
    ASSERT_TRUE(read(db.c, rs, "逻辑", v));
    EXPECT_EQ(v.code, ValueCode::Logical);
    EXPECT_EQ(v.logical, 1);
    ASSERT_TRUE(read(db.c, rs, "单", v));
    EXPECT_EQ(v.code, ValueCode::Real32);
    EXPECT_FLOAT_EQ(v.real32, 0.5f);
    ASSERT_TRUE(read(db.c, rs, "双", v));
    EXPECT_EQ(v.code, ValueCode::Real64);
    EXPECT_DOUBLE_EQ(v.real64, 2.25);
    ASSERT_TRUE(read(db.c, rs, "日期", v));
    EXPECT_EQ(v.code, ValueCode::DateTime);
    EXPECT_NEAR(v.dateTime, 43831.0 + (8 * 60 + 5) / 1440.0, 1e-9);
    ASSERT_TRUE(read(db.c, rs, "名称", v));
    EXPECT_EQ(v.code, ValueCode::Text);
    EXPECT_EQ(v.textView(), "名字");
    ASSERT_TRUE(read(db.c, rs, "长文", v));
    EXPECT_EQ(v.textView(), "长的文字");
    ASSERT_TRUE(read(db.c, rs, "小块", v));
    EXPECT_EQ(v.code, ValueCode::Bytes);
    EXPECT_EQ(std::vector<std::uint8_t>(v.bytesView().begin(), v.bytesView().end()),
              (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
    ASSERT_TRUE(read(db.c, rs, "大块", v));
    EXPECT_EQ(v.length, 2u);
}

TEST(EngineRead, NullsReadAsZeroEmptyTextAndEmptyBytes)
{
    Open db(kKinds);
    db.file.exec("INSERT INTO kinds (名称) VALUES (NULL);");
    ResultSetHandle rs = query(db.c, "select * from kinds");
    ASSERT_NE(rs, 0u);
    struct Expect {
        const char* column;
        ValueCode code;
    } expected[] = {
        {"字节", ValueCode::Byte},    {"短", ValueCode::Short},   {"逻辑", ValueCode::Logical},
        {"单", ValueCode::Real32},    {"双", ValueCode::Real64},  {"名称", ValueCode::Text},
        {"长文", ValueCode::Text},    {"日期", ValueCode::Text},  {"小块", ValueCode::Bytes},
        {"大块", ValueCode::Bytes},
    };
    for (const Expect& e : expected) {
        ColumnValue v;
        EXPECT_TRUE(read(db.c, rs, e.column, v)) << e.column;
        EXPECT_EQ(v.code, e.code) << e.column;
        EXPECT_EQ(v.real64, 0.0) << e.column << " holds zero whatever its kind";
        EXPECT_EQ(v.length, 0u) << e.column;
    }
}

TEST(EngineRead, NamesAreCaseSensitiveAndPositionsCountFromZero)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称, 数) VALUES ('x', 7);");
    ResultSetHandle rs = query(db.c, "select id, 名称, 数 from notes");
    ASSERT_NE(rs, 0u);
    // The driver names the column as the table does, whatever the query wrote.
    EXPECT_EQ(readInt(db.c, rs, "ID"), 1);
    ColumnValue v;
    EXPECT_FALSE(read(db.c, rs, "id", v));
    EXPECT_FALSE(read(db.c, rs, "Id", v));
    EXPECT_FALSE(read(db.c, rs, "", v));
    EXPECT_FALSE(entry<ReadColByNameFn>("ReadColByName")(db.c, rs, nullptr, &v));
    ASSERT_TRUE(readAt(db.c, rs, 2, v));
    EXPECT_EQ(v.integer, 7);
    ASSERT_TRUE(readAt(db.c, rs, 1, v));
    EXPECT_EQ(v.textView(), "x");
    EXPECT_FALSE(readAt(db.c, rs, 3, v));
    EXPECT_EQ(v.code, ValueCode::None);
    EXPECT_FALSE(readAt(db.c, rs, -1, v));
}

TEST(EngineRead, OfTwoColumnsOfOneNameTheFirstIsReadOnEveryRow)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称, 数) VALUES ('x', 1); INSERT INTO notes (名称, 数) VALUES ('y', 2);");
    ResultSetHandle rs = query(db.c, "select a.名称, b.名称 from notes a, notes b where a.数 <> b.数 order by a.数");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(readText(db.c, rs, "名称"), "x");
    move("MoveNext", db.c, rs);
    EXPECT_EQ(readText(db.c, rs, "名称"), "y");
}

TEST(EngineRead, LongTextInPiecesAndReadTwice)
{
    Open db;
    std::string over512;
    while (over512.size() < 600)
        over512 += "文字abc";
    std::string over64k;
    while (over64k.size() < 70000)
        over64k += "长文本0123456789";
    ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称, 内容) VALUES (?, ?)",
                        {{over512.c_str(), -1}, {over64k.c_str(), -1}}));
    ResultSetHandle rs = query(db.c, "select * from notes");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(readText(db.c, rs, "内容"), over64k);
    EXPECT_EQ(readText(db.c, rs, "内容"), over64k) << "a second read of the row's long column";
    EXPECT_EQ(readText(db.c, rs, "名称"), over512);
    EXPECT_EQ(db.file.scalar("select length(内容) from notes"), std::to_string(over64k.size() / 16 * 13))
        << "stored as characters";
}

TEST(EngineRead, ChineseTextRoundTripsAsGbk)
{
    Open db;
    const char* text = "编程笔记：代码片段「示例」";
    std::string sql = std::string("INSERT INTO notes (名称) VALUES ('") + text + "')";
    ASSERT_TRUE(execute(db.c, sql.c_str()));
    // The file holds it as UTF-8, which the scratch helper turns back.
    EXPECT_EQ(db.file.scalar("select 名称 from notes"), text);
    EXPECT_EQ(db.file.scalar("select hex(substr(名称, 1, 1)) from notes"), "E7BC96");
    ResultSetHandle rs = query(db.c, (std::string("select * from notes where 名称='") + text + "'").c_str());
    ASSERT_NE(rs, 0u);
    EXPECT_FALSE(isEof(db.c, rs));
    EXPECT_EQ(readText(db.c, rs, "名称"), text);
}

// --- Statements ----------------------------------------------------------------

TEST(EngineExecute, TextAndBytesParameters)
{
    Open db(kKinds);
    const std::uint8_t block[] = {0, 1, 0, 0xFF};
    ASSERT_TRUE(execute(db.c, "INSERT INTO kinds (名称, 大块) VALUES (?, ?)", {{"参数", -1}, {block, 4}}));
    ASSERT_TRUE(execute(db.c, "INSERT INTO kinds (名称, 大块) VALUES (?, ?)", {{nullptr, -1}, {nullptr, 0}}));
    EXPECT_EQ(db.file.scalar("select hex(大块) from kinds where ID=1"), "000100FF");
    EXPECT_EQ(db.file.scalar("select 名称 from kinds where ID=1"), "参数");
    EXPECT_EQ(db.file.scalar("select length(名称) from kinds where ID=2"), "0");
    ResultSetHandle rs = query(db.c, "select * from kinds order by ID");
    ColumnValue v;
    ASSERT_TRUE(read(db.c, rs, "大块", v));
    EXPECT_EQ(v.length, 4u);
    EXPECT_EQ(v.bytes[3], 0xFF);
}

TEST(EngineExecute, StatementsThatTouchNoRowStillSucceed)
{
    Open db;
    EXPECT_TRUE(execute(db.c, "UPDATE notes SET 数=1 WHERE ID=99"));
    EXPECT_TRUE(execute(db.c, "DELETE FROM notes WHERE ID=99"));
    // A query run as a statement has its rows drained.
    db.file.exec("INSERT INTO notes (名称) VALUES ('a'), ('b');");
    EXPECT_TRUE(execute(db.c, "select * from notes"));
}

TEST(EngineExecute, ErrorsYieldFalseAndChangeNothing)
{
    Open db;
    EXPECT_FALSE(execute(db.c, "INSERT INTO nowhere (x) VALUES (1)"));
    EXPECT_FALSE(execute(db.c, "INSERT INTO notes (nocolumn) VALUES (1)"));
    EXPECT_FALSE(execute(db.c, "this is not sql"));
    EXPECT_FALSE(execute(db.c, nullptr));
    EXPECT_FALSE(entry<ExecuteSqlFn>("ExecuteSql")(db.c, "select 1", nullptr, 2));
    EXPECT_EQ(db.file.scalar("select count(*) from notes"), "0");
}

TEST(EngineExecute, AutoNumberKeysGrowWithEachInsert)
{
    Open db;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称) VALUES ('n')"));
    ASSERT_TRUE(execute(db.c, "DELETE FROM notes WHERE ID=3"));
    ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称) VALUES ('m')"));
    ResultSetHandle rs = query(db.c, "SELECT * FROM notes ORDER BY ID ASC");
    std::string ids;
    for (; !isEof(db.c, rs); move("MoveNext", db.c, rs))
        ids += std::to_string(readInt(db.c, rs, "ID")) + ",";
    EXPECT_EQ(ids, "1,2,4,");
}

TEST(EngineTransactions, RollbackDropsAndCommitKeeps)
{
    Open db;
    ASSERT_TRUE(entry<ConnectionTestFn>("BeginTrans")(db.c));
    ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称) VALUES ('gone')"));
    entry<ConnectionActionFn>("RollbackTrans")(db.c);
    EXPECT_EQ(db.file.scalar("select count(*) from notes"), "0");

    ASSERT_TRUE(entry<ConnectionTestFn>("BeginTrans")(db.c));
    ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称) VALUES ('kept')"));
    entry<ConnectionActionFn>("CommitTrans")(db.c);
    EXPECT_EQ(db.file.scalar("select 名称 from notes"), "kept");

    // Auto-commit is back: a statement is in the file once it returns.
    ASSERT_TRUE(execute(db.c, "INSERT INTO notes (名称) VALUES ('auto')"));
    EXPECT_EQ(db.file.scalar("select count(*) from notes"), "2");
}

TEST(EngineTransactions, ClosingWithAnOpenTransactionLeavesTheFileUnchanged)
{
    ScratchDatabase file(kNotes);
    Connection* c = open(file.connectText());
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(entry<ConnectionTestFn>("BeginTrans")(c));
    ASSERT_TRUE(execute(c, "INSERT INTO notes (名称) VALUES ('open')"));
    closeDb(c);
    EXPECT_FALSE(IsLiveConnection(c));
    EXPECT_EQ(file.scalar("select count(*) from notes"), "0");
}

// --- The grid entries -------------------------------------------------------------

TEST(EngineGrid, ColumnsAndCellsByNumber)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称, 数) VALUES ('a', 1), (NULL, 2), ('c', 3);");
    ResultSetHandle rs = query(db.c, "select ID, 名称, 内容, 数 from notes order by ID");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(entry<SetCountFn>("BDGetColCount")(db.c, rs), 4);
    EXPECT_EQ(entry<ColumnTextFn>("BDGetColName")(db.c, rs, 1), "名称");
    EXPECT_EQ(entry<ColumnTextFn>("BDGetColName")(db.c, rs, 4), "");
    auto type = entry<ColumnNumberFn>("BDGetColSQLType");
    EXPECT_EQ(type(db.c, rs, 0), 4);   // SQL_INTEGER
    EXPECT_EQ(type(db.c, rs, 1), 12);  // SQL_VARCHAR
    EXPECT_EQ(type(db.c, rs, 2), -1);  // SQL_LONGVARCHAR
    auto width = entry<ColumnNumberFn>("BDGetColWidth");
    EXPECT_EQ(width(db.c, rs, 0), 11);
    EXPECT_EQ(width(db.c, rs, 1), 255);
    EXPECT_EQ(width(db.c, rs, 2), 255);
    EXPECT_EQ(width(db.c, rs, 9), 0);
    auto cell = entry<CellTextFn>("BDGetColText");
    move("MoveNext", db.c, rs);
    EXPECT_EQ(cell(db.c, rs, 2, 1), "c");
    EXPECT_EQ(cell(db.c, rs, 1, 1), "");
    EXPECT_EQ(cell(db.c, rs, 0, 3), "1");
    EXPECT_EQ(cell(db.c, rs, 3, 1), "");
    // The cursor stays on the row it was on.
    EXPECT_EQ(readInt(db.c, rs, "数"), 2);
}

TEST(EngineGrid, RowChangesNeedAnUpdatableSetAndZapEmptiesTheTable)
{
    Open db;
    db.file.exec("INSERT INTO notes (名称) VALUES ('a'), ('b');");
    ResultSetHandle rs = entry<OpenTableFn>("OpenTableToModi")(db.c, "select * from notes");
    ASSERT_NE(rs, 0u);
    EXPECT_EQ(readText(db.c, rs, "名称"), "a");
    // The driver gives read-only sets: nothing changes in place.
    EXPECT_FALSE(entry<SetCellTextFn>("BDSetColText")(db.c, rs, 0, 1, "z"));
    EXPECT_FALSE(entry<SetTestFn>("BDAppendBlank")(db.c, rs));
    EXPECT_FALSE(entry<RowTestFn>("BDRemove")(db.c, rs, 0));
    EXPECT_EQ(db.file.scalar("select group_concat(名称) from notes"), "a,b");
    EXPECT_TRUE(entry<SetTestFn>("BDZap")(db.c, rs));
    EXPECT_EQ(db.file.scalar("select count(*) from notes"), "0");
    EXPECT_TRUE(isEof(db.c, rs));
    EXPECT_EQ(entry<SetCountFn>("BDGetRecCount")(db.c, rs), 0);
}

} // namespace
