// The engine's table and the texts it builds: entry names and their hash,
// SQL text preparation, the Access connect string, dates.

#include "db/connect_string.h"
#include "db/database_engine.h"
#include "db/date_time.h"
#include "db/sql_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using db::DatabaseEngine;

TEST(EngineTable, HashTakesBytesAsSignedAndKeepsThirtyOneBits)
{
    EXPECT_EQ(db::EntryNameHash(""), 0u);
    EXPECT_EQ(db::EntryNameHash("AB"), 66u + 65u * 131u);
    // Bytes above 0x7F count negative: 0xB0 is -80.
    EXPECT_EQ(db::EntryNameHash("\xB0\xA1"), 0x7FFFD6B1u);
    // Long names wrap around in 32 bits before the top bit goes.
    EXPECT_EQ(db::EntryNameHash("ReadColByIndex"), 43543377u);
    EXPECT_EQ(db::EntryNameHash("EmptyVar"), 752755390u);
}

TEST(EngineTable, EntriesInTheirOrderWithTheirHashes)
{
    const char* expected[] = {
        "ReadColByIndex", "ReadColByName", "MoveNext",      "MovePrev",        "IsBOF",         "IsEOF",
        "ExecuteSql",     "MoveFirst",     "MoveLast",      "OpenTable",       "OpenTableToModi", "CloseTable",
        "Requery",        "OpenDatabase",  "NewOpenDatabase", "CloseDatabase", "GetConnectString", "BeginTrans",
        "RollbackTrans",  "CommitTrans",   "BDGetRecCount", "BDGetColCount",   "BDGetColText",  "BDGetColSQLType",
        "BDSetColText",   "BDAppendBlank", "BDRemove",      "BDZap",           "BDGetColName",  "BDGetColWidth",
        "EmptyVar",
    };
    auto entries = DatabaseEngine::instance().entries();
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_STREQ(entries[i].name, expected[i]);
        EXPECT_EQ(entries[i].hash, db::EntryNameHash(expected[i]));
        EXPECT_EQ(DatabaseEngine::instance().find(expected[i]), &entries[i]) << expected[i];
    }
}

TEST(EngineTable, LookupYieldsNullForMissingNamesAndOtherSignatures)
{
    const DatabaseEngine& e = DatabaseEngine::instance();
    EXPECT_EQ(e.find("GetTabList"), nullptr);
    EXPECT_EQ(e.find("isEOF"), nullptr) << "names compare case-sensitively";
    EXPECT_EQ(e.find("IsEOF "), nullptr);
    EXPECT_EQ(e.find(""), nullptr);
    EXPECT_NE(e.lookup<db::SetTestFn>("IsEOF"), nullptr);
    EXPECT_EQ(e.lookup<db::SetActionFn>("IsEOF"), nullptr) << "a signature other than the entry's";
    EXPECT_NE(e.lookup<db::NewOpenDatabaseFn>("NewOpenDatabase"), nullptr);
    EXPECT_EQ(e.lookup<db::OpenDatabaseFn>("NewOpenDatabase"), nullptr);
    EXPECT_EQ(e.lookup<db::ConnectionTextFn>("GetTabList"), nullptr);
}

TEST(EngineTable, EntriesFailingTheValidityCheckAnswerTheirDefaults)
{
    const DatabaseEngine& e = DatabaseEngine::instance();
    // A pointer the engine never made is never read through.
    auto* stranger = reinterpret_cast<db::Connection*>(std::uintptr_t(0x1000));
    for (db::Connection* c : {static_cast<db::Connection*>(nullptr), stranger}) {
        EXPECT_TRUE(e.lookup<db::SetTestFn>("IsEOF")(c, 1));
        EXPECT_TRUE(e.lookup<db::SetTestFn>("IsBOF")(c, 1));
        EXPECT_FALSE(e.lookup<db::SetTestFn>("Requery")(c, 1));
        EXPECT_EQ(e.lookup<db::OpenTableFn>("OpenTable")(c, "select 1"), 0u);
        EXPECT_FALSE(e.lookup<db::ExecuteSqlFn>("ExecuteSql")(c, "delete from t", nullptr, 0));
        EXPECT_FALSE(e.lookup<db::ConnectionTestFn>("BeginTrans")(c));
        EXPECT_EQ(e.lookup<db::ConnectionTextFn>("GetConnectString")(c), "");
        EXPECT_EQ(e.lookup<db::SetCountFn>("BDGetRecCount")(c, 1), 0);
        EXPECT_EQ(e.lookup<db::ColumnTextFn>("BDGetColName")(c, 1, 0), "");
        db::ColumnValue v;
        v.setText("old");
        EXPECT_FALSE(e.lookup<db::ReadColByIndexFn>("ReadColByIndex")(c, 1, 0, &v));
        EXPECT_EQ(v.code, db::ValueCode::None) << "the value is emptied";
        e.lookup<db::SetActionFn>("CloseTable")(c, 0);
        e.lookup<db::SetActionFn>("MoveNext")(c, 1);
        e.lookup<db::ConnectionActionFn>("CloseDatabase")(c);
        e.lookup<db::ConnectionActionFn>("CommitTrans")(c);
    }
}

TEST(ColumnValueTest, EmptyVarReleasesAndResets)
{
    db::ColumnValue v;
    v.setBytes({});
    EXPECT_EQ(v.code, db::ValueCode::Bytes);
    EXPECT_NE(v.bytes, nullptr) << "empty bytes still have a block";
    v.setText("abc");
    EXPECT_EQ(v.bytes, nullptr) << "a new value releases the old one";
    EXPECT_EQ(v.textView(), "abc");
    db::EmptyVar(&v);
    EXPECT_EQ(v.code, db::ValueCode::None);
    EXPECT_EQ(v.text, nullptr);
    EXPECT_EQ(v.length, 0u);
    db::EmptyVar(nullptr);
}

TEST(SqlText, BracketsOutsideQuotesBecomeTheDriversQuote)
{
    EXPECT_EQ(db::PrepareSqlText("select [a b] from [t]", "\""), "select \"a b\" from \"t\"");
    EXPECT_EQ(db::PrepareSqlText("select [[x]] from t", "\""), "select [x] from t");
    EXPECT_EQ(db::PrepareSqlText("select '[a]' from t where n='it''s [b]' and [c]=1", "`"),
              "select '[a]' from t where n='it''s [b]' and `c`=1");
    // A driver that quotes no names gets the text as it is.
    EXPECT_EQ(db::PrepareSqlText("select [a] from t", " "), "select [a] from t");
    EXPECT_EQ(db::PrepareSqlText("select [a] from t", ""), "select [a] from t");
}

TEST(SqlText, GbkCharactersWhoseTrailByteIsABracketStayWhole)
{
    // 0xB0 0x5B and 0xC1 0x5D: trail bytes equal to "[" and "]".
    const std::string text = "select * from t where n='x' and [\xB0\x5B] = '\xC1\x5D'";
    EXPECT_EQ(db::PrepareSqlText(text, "\""), "select * from t where n='x' and \"\xB0\x5B\" = '\xC1\x5D'");
    EXPECT_EQ(db::PrepareSqlText("\xB0\x5B\xC1\x5D", "\""), "\xB0\x5B\xC1\x5D");
}

TEST(SqlText, TableOfAQuery)
{
    EXPECT_EQ(db::TableNameOfQuery("select * from cntext where id=1"), "cntext");
    EXPECT_EQ(db::TableNameOfQuery("SELECT a FROM [my table] ORDER BY a"), "my table");
    EXPECT_EQ(db::TableNameOfQuery("select 'from x' , fromage from \"t\""), "t");
    EXPECT_EQ(db::TableNameOfQuery("select * FROM \xBB\xF9\xB4\xA1 where 1"), "\xBB\xF9\xB4\xA1");
    EXPECT_EQ(db::TableNameOfQuery("select 1"), "");
}

TEST(AccessConnectString, DirectoryUserAndPassword)
{
    EXPECT_EQ(db::AccessConnectString("/home/u/CN.mdb", "", ""),
              "ODBC;DBQ=/home/u/CN.mdb;DefaultDir=/home/u;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    EXPECT_EQ(db::AccessConnectString("CN.mdb", "", ""),
              "ODBC;DBQ=CN.mdb;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    EXPECT_EQ(db::AccessConnectString("/CN.mdb", "admin", "pw"),
              "ODBC;DBQ=/CN.mdb;DefaultDir=;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;UID=admin;PWD=pw;");
    EXPECT_EQ(db::AccessConnectString("a/b", "", "pw"),
              "ODBC;DBQ=a/b;DefaultDir=a;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;PWD=pw;");
}

TEST(EngineDates, DayCountsAroundTheEpochAndTheLimits)
{
    EXPECT_DOUBLE_EQ(db::ClampedDays(1899, 12, 30, 0, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(db::ClampedDays(2020, 1, 1, 8, 5, 0, 0), 43831.0 + (8 * 60 + 5) / 1440.0);
    EXPECT_DOUBLE_EQ(db::ClampedDays(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_DOUBLE_EQ(db::ClampedDays(100, 1, 1, 0, 0, 0, 0), db::kEarliestDay);
    EXPECT_DOUBLE_EQ(db::ClampedDays(9999, 12, 31, 0, 0, 0, 0), db::kLatestDay);
    EXPECT_DOUBLE_EQ(db::ClampedDays(1, 1, 1, 0, 0, 0, 0), db::kEarliestDay);
    EXPECT_DOUBLE_EQ(db::ClampedDays(30000, 1, 1, 12, 0, 0, 0), db::kLatestDay);
}

} // namespace
