// The external database unit in a window of the framework, its operations
// called as the handlers call them.

#include "scratch_database.h"

#include "db/database_engine.h"
#include "db/odbc_db_commands.h"
#include "db/odbc_db_kind.h"
#include "db/odbc_db_unit.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

namespace {

using runtime::TypedValue;
using runtime::ValueType;

constexpr std::uint32_t kOdbcDbKindId = 0x0001002E;
constexpr std::uint32_t kWin = 0x52000701;
constexpr std::uint32_t kOwn = 0x06000701;
constexpr std::uint32_t kDbUnit = 0x16000702;
constexpr std::uint32_t kBox = 0x16000703;

constexpr const char* kNotes = "CREATE TABLE notes (ID INTEGER PRIMARY KEY AUTOINCREMENT, 名称 VARCHAR(255), "
                               "内容 LONGTEXT, 数 INTEGER, 短 SMALLINT, 字节 TINYINT, 双 DOUBLE, 日期 DATETIME, "
                               "块 LONGBINARY);";

// The test kinds with the external database at its place in the core
// library.
void installKinds()
{
    testsupport::StartRuntimeInProcess();
    static std::array<ui::UnitKindDescriptor, 46> core{};
    static bool done = false;
    if (done)
        return;
    done = true;
    for (std::uint32_t position = 1; position <= 7; ++position)
        if (const ui::UnitKindDescriptor* d = ui::TheFramework().kinds().find(0x00010000u | position))
            core[position - 1] = *d;
    core[45] = db::kOdbcDbKind;
    ui::TheFramework().addKindLibrary({1, core});
}

TypedValue unitRef(std::uint32_t unit = kDbUnit)
{
    return TypedValue::unit({kWin, unit}, unit == kDbUnit ? kOdbcDbKindId : testsupport::kTestBoxKind);
}

TypedValue text(const char* t)
{
    return TypedValue::text(t);
}

// A text result as a string; the block is freed.
std::string take(TypedValue v)
{
    EXPECT_TRUE(v.is(ValueType::Text));
    std::string s(runtime::TextOf(v.asText()));
    runtime::Free(v.asText());
    return s;
}

class OdbcDbUnitTest : public testing::Test {
protected:
    void SetUp() override
    {
        installKinds();
        std::vector<ui::UnitRecord> records;
        records.push_back(testsupport::WindowRecord(kOwn));
        records.push_back(testsupport::BoxRecord(kDbUnit, "外部数据库1", 10, 10, 32, 32, kOdbcDbKindId));
        records.push_back(testsupport::BoxRecord(kBox, "框1", 50, 10, 32, 32));
        testsupport::AddWindow(kWin, std::move(records));
        ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
        liveBefore = db::LiveConnectionCount();
    }

    void TearDown() override
    {
        platform::Hwnd h = testsupport::HandleOf(kWin);
        if (platform::IsWindow(h))
            platform::DestroyWindow(h);
        testsupport::Pump(20);
    }

    db::OdbcDbUnit* unit()
    {
        ui::UnitRecord* u = ui::TheFramework().unitRecord(kWin, kDbUnit);
        return u ? dynamic_cast<db::OdbcDbUnit*>(u->object) : nullptr;
    }

    TypedValue call(TypedValue (*command)(std::span<const TypedValue>), std::initializer_list<TypedValue> rest)
    {
        std::vector<TypedValue> args{unitRef()};
        args.insert(args.end(), rest);
        return command(args);
    }

    bool openFile(const std::string& path, std::initializer_list<TypedValue> more = {})
    {
        std::vector<TypedValue> rest{text(path.c_str())};
        rest.insert(rest.end(), more);
        std::vector<TypedValue> args{unitRef()};
        args.insert(args.end(), rest.begin(), rest.end());
        TypedValue r = db::OpenAccessDatabaseCommand(args);
        EXPECT_TRUE(r.is(ValueType::Logical));
        return r.asLogical();
    }

    std::int32_t query(const char* sql) { return call(db::OpenTableCommand, {text(sql)}).asInt(); }
    bool eof(std::int32_t rs) { return call(db::IsEofCommand, {TypedValue::integer(rs)}).asLogical(); }
    TypedValue column(std::int32_t rs, TypedValue which)
    {
        return call(db::ReadColumnCommand, {TypedValue::integer(rs), which});
    }

    std::size_t liveBefore = 0;
};

TEST_F(OdbcDbUnitTest, TheUnitIsCreatedHiddenWithItsOwnWindowClass)
{
    db::OdbcDbUnit* u = unit();
    ASSERT_NE(u, nullptr);
    EXPECT_TRUE(platform::IsWindow(u->handle()));
    EXPECT_FALSE(platform::IsWindowVisible(u->handle()));
    EXPECT_EQ(u->connection(), nullptr);
    // Kind-specific properties do nothing.
    runtime::WriteProperty(kWin, kDbUnit, 8, -1, TypedValue::integer(5));
    EXPECT_TRUE(runtime::ReadProperty(kWin, kDbUnit, 8).isEmpty());
}

TEST_F(OdbcDbUnitTest, WithoutAConnectionEveryOperationGivesItsDefault)
{
    EXPECT_FALSE(openFile(dbtest::UnusedPath("absent.mdb")));
    EXPECT_EQ(unit()->connection(), nullptr);
    EXPECT_TRUE(eof(0));
    EXPECT_EQ(query("select * from notes"), 0);
    EXPECT_EQ(query(""), 0);
    EXPECT_EQ(take(column(0, text("ID"))), "");
    EXPECT_EQ(take(column(0, TypedValue::integer(1))), "");
    EXPECT_FALSE(call(db::ExecuteSqlCommand, {text("DELETE FROM notes")}).asLogical());
    call(db::MoveFirstCommand, {TypedValue::integer(0)});
    call(db::MoveNextCommand, {TypedValue::integer(0)});
    call(db::CloseTableCommand, {});
    EXPECT_EQ(take(call(db::GetTabListCommand, {})), "");
    EXPECT_EQ(db::LiveConnectionCount(), liveBefore);
}

TEST_F(OdbcDbUnitTest, OpensAFileAndWalksAQuery)
{
    dbtest::ScratchDatabase file(kNotes);
    file.exec("INSERT INTO notes (名称, 数) VALUES ('甲', 1), ('乙', 2);");
    ASSERT_TRUE(openFile(file.path()));
    EXPECT_EQ(db::LiveConnectionCount(), liveBefore + 1);
    std::int32_t rs = query("SELECT * FROM notes ORDER BY ID ASC");
    ASSERT_NE(rs, 0);
    std::string seen;
    for (call(db::MoveFirstCommand, {TypedValue::integer(rs)}); !eof(rs);
         call(db::MoveNextCommand, {TypedValue::integer(rs)})) {
        TypedValue n = column(rs, text("数"));
        EXPECT_TRUE(n.is(ValueType::Int));
        seen += take(column(rs, text("名称"))) + std::to_string(n.asInt());
    }
    EXPECT_EQ(seen, "甲1乙2");
    call(db::CloseTableCommand, {TypedValue::integer(rs)});
    EXPECT_TRUE(eof(rs));
}

TEST_F(OdbcDbUnitTest, ColumnsBecomeTheMatchingValues)
{
    dbtest::ScratchDatabase file(kNotes);
    file.exec("INSERT INTO notes (名称, 内容, 数, 短, 字节, 双, 日期, 块) VALUES "
              "('名', NULL, -5, 300, 7, 1.5, '2020-01-01 00:00:00', X'0A0B');");
    ASSERT_TRUE(openFile(file.path()));
    std::int32_t rs = query("select * from notes");
    ASSERT_NE(rs, 0);
    TypedValue v = column(rs, TypedValue::integer(1));
    EXPECT_TRUE(v.is(ValueType::Int));
    EXPECT_EQ(v.asInt(), 1);
    v = column(rs, text("短"));
    EXPECT_TRUE(v.is(ValueType::Short));
    EXPECT_EQ(v.asShort(), 300);
    v = column(rs, text("字节"));
    EXPECT_TRUE(v.is(ValueType::Byte));
    EXPECT_EQ(v.asByte(), 7);
    v = column(rs, text("双"));
    EXPECT_TRUE(v.is(ValueType::Double));
    EXPECT_DOUBLE_EQ(v.asDouble(), 1.5);
    v = column(rs, text("日期"));
    EXPECT_TRUE(v.is(ValueType::DateTime));
    EXPECT_DOUBLE_EQ(v.asDateTime(), 43831.0);
    v = column(rs, text("块"));
    ASSERT_TRUE(v.is(ValueType::Bytes));
    auto bytes = runtime::BytesOf(v.asBytesBlock());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), (std::vector<std::uint8_t>{0x0A, 0x0B}));
    runtime::Free(v.asBytesBlock());
    // A NULL text and a missing column are both the empty (null) text.
    v = column(rs, text("内容"));
    EXPECT_TRUE(v.is(ValueType::Text));
    EXPECT_EQ(v.asText(), nullptr);
    EXPECT_EQ(take(column(rs, text("名"))), "");
    EXPECT_EQ(take(column(rs, text("id"))), "");
    // Positions count from 1; other numbers are converted to integers.
    EXPECT_EQ(take(column(rs, TypedValue::real64(2.7))), "名");
    EXPECT_EQ(take(column(rs, TypedValue::integer(0))), "");
    EXPECT_EQ(take(column(rs, TypedValue::integer(10))), "");
    EXPECT_EQ(take(column(rs, TypedValue::logical(true))), "") << "neither a name nor a number";
}

TEST_F(OdbcDbUnitTest, ExecuteSqlPassesTextAndBytesAndSkipsOtherKinds)
{
    dbtest::ScratchDatabase file(kNotes);
    ASSERT_TRUE(openFile(file.path()));
    std::uint8_t* block = runtime::NewBytes(std::vector<std::uint8_t>{1, 0, 2});
    TypedValue r = call(db::ExecuteSqlCommand, {text("INSERT INTO notes (名称, 块) VALUES (?, ?)"),
                                                TypedValue::integer(99), text("参数"), TypedValue::bytes(block)});
    runtime::Free(block);
    EXPECT_TRUE(r.asLogical());
    EXPECT_EQ(file.scalar("select 名称 || ':' || hex(块) from notes"), "参数:010002");
    EXPECT_FALSE(call(db::ExecuteSqlCommand, {text("")}).asLogical());
    EXPECT_FALSE(call(db::ExecuteSqlCommand, {}).asLogical());
    EXPECT_FALSE(call(db::ExecuteSqlCommand, {text("INSERT INTO nowhere VALUES (1)")}).asLogical());
}

TEST_F(OdbcDbUnitTest, AFailedOpenKeepsTheConnectionAndASuccessfulOneReplacesIt)
{
    dbtest::ScratchDatabase first(kNotes);
    dbtest::ScratchDatabase second(kNotes);
    first.exec("INSERT INTO notes (名称) VALUES ('first');");
    second.exec("INSERT INTO notes (名称) VALUES ('second');");
    ASSERT_TRUE(openFile(first.path(), {TypedValue::empty(), TypedValue::empty(), TypedValue::integer(0),
                                        TypedValue::logical(true)}));
    db::Connection* held = unit()->connection();
    EXPECT_FALSE(openFile(dbtest::UnusedPath("absent.mdb")));
    EXPECT_EQ(unit()->connection(), held);
    std::int32_t rs = query("select * from notes");
    EXPECT_EQ(take(column(rs, text("名称"))), "first");

    ASSERT_TRUE(openFile(second.path()));
    EXPECT_FALSE(db::IsLiveConnection(held)) << "the old connection is closed";
    EXPECT_EQ(db::LiveConnectionCount(), liveBefore + 1);
    EXPECT_TRUE(eof(rs)) << "its sets went with it";
    rs = query("select * from notes");
    EXPECT_EQ(take(column(rs, text("名称"))), "second");
}

TEST_F(OdbcDbUnitTest, ReadOnlyOpeningRefusesChanges)
{
    dbtest::ScratchDatabase file(kNotes);
    ASSERT_TRUE(openFile(file.path(), {text(""), text(""), TypedValue::integer(1)}));
    EXPECT_FALSE(call(db::ExecuteSqlCommand, {text("INSERT INTO notes (名称) VALUES ('x')")}).asLogical());
    EXPECT_NE(query("select * from notes"), 0);
}

TEST_F(OdbcDbUnitTest, DestroyingTheWindowClosesTheConnection)
{
    dbtest::ScratchDatabase file(kNotes);
    ASSERT_TRUE(openFile(file.path()));
    db::Connection* held = unit()->connection();
    ASSERT_TRUE(db::IsLiveConnection(held));
    platform::DestroyWindow(testsupport::HandleOf(kWin));
    testsupport::Pump(20);
    EXPECT_FALSE(db::IsLiveConnection(held));
    EXPECT_EQ(db::LiveConnectionCount(), liveBefore);
    // The file is free: it can go, and come back for a new connection.
    std::filesystem::remove(file.path());
    EXPECT_FALSE(std::filesystem::exists(file.path()));
}

TEST_F(OdbcDbUnitTest, AReferenceToAnotherKindIsARuntimeError)
{
    std::vector<TypedValue> args{unitRef(kBox), text("select 1")};
    EXPECT_EXIT(
        {
            platform::testing::AnswerMessageBoxes([](const platform::testing::MessageBoxInfo& box) {
                std::fprintf(stderr, "[box]%s[/box]\n", box.text.c_str());
                return int(platform::IDOK);
            });
            db::OpenTableCommand(args);
        },
        testing::ExitedWithCode(255), testing::HasSubstr("指定窗口或窗口组件不存在或尚未载入"));
}

} // namespace
