// A new catalogue as the schema tool makes it: the tables and columns the
// program reads by name, the starter contents, and files it must not touch.

#include "platform/text_codec.h"
#include "tools/catalogue_db/schema.h"
#include "tools/catalogue_db/starter_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

class CatalogueSchema : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/velmora-schema-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir = pattern;
        file = (dir / "CN.mdb").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // The first column of every row, in GBK.
    std::vector<std::string> column(const std::string& gbkSql) const
    {
        std::vector<std::string> out;
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, platform::GbkToUtf8(gbkSql).c_str(), -1, &stmt, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            out.push_back(text ? platform::Utf8ToGbk(text) : "NULL");
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return out;
    }

    fs::path dir;
    std::string file;
};

TEST_F(CatalogueSchema, TablesCarryTheColumnNamesTheProgramReads)
{
    ASSERT_TRUE(catalogue_db::CreateCatalogue(file, catalogue_db::Contents::Empty).ok);
    EXPECT_THAT(column("SELECT name FROM pragma_table_info('base')"),
                ElementsAre("父项目", "节点名称", "关联子节点", "图片索引", "选中图片索引", "数据库索引信息"));
    EXPECT_THAT(column("SELECT name FROM pragma_table_info('cntext')"),
                ElementsAre("ID", "对应节点", "字符", "描述", "详情"));
    // Long texts have text affinity, so a snippet that looks like a number
    // stays text.
    EXPECT_THAT(column("SELECT type FROM pragma_table_info('cntext')"),
                ElementsAre("INTEGER", "VARCHAR(255)", "LONGTEXT", "LONGTEXT", "LONGTEXT"));
    EXPECT_TRUE(column("SELECT 父项目 FROM base").empty());
    // Auto-numbers that are never handed out twice keep their sequence.
    EXPECT_THAT(column("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%AUTOINCREMENT%'"), ElementsAre("2"));
}

TEST_F(CatalogueSchema, TheStarterHasACategoryPerPictureAndEntriesInThem)
{
    ASSERT_TRUE(catalogue_db::CreateCatalogue(file, catalogue_db::Contents::Starter).ok);
    std::vector<std::string> images =
        column("SELECT 图片索引 || '/' || 选中图片索引 FROM base WHERE 关联子节点 = 0 ORDER BY 父项目");
    ASSERT_EQ(images.size(), 12u);
    for (std::size_t i = 0; i < images.size(); ++i)
        EXPECT_EQ(images[i], std::to_string(i) + "/" + std::to_string(i));
    // The categories under others name a parent that comes before them.
    EXPECT_THAT(column("SELECT count(*) FROM base AS c WHERE 关联子节点 <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM base AS p WHERE p.父项目 = c.关联子节点 AND p.父项目 < c.父项目)"),
                ElementsAre("0"));
    EXPECT_THAT(column("SELECT count(*) FROM base WHERE 关联子节点 <> 0"), ElementsAre("3"));
    EXPECT_EQ(column("SELECT count(*) FROM cntext")[0], std::to_string(catalogue_db::StarterEntries().size()));
    // Every entry belongs to a category that exists.
    EXPECT_THAT(column("SELECT count(*) FROM cntext WHERE 对应节点 NOT IN (SELECT 节点名称 FROM base)"),
                ElementsAre("0"));
    EXPECT_THAT(column("PRAGMA integrity_check"), ElementsAre("ok"));
}

TEST_F(CatalogueSchema, AnExistingFileIsNeverTouched)
{
    std::ofstream(file) << "someone's data";
    catalogue_db::Result r = catalogue_db::CreateCatalogue(file, catalogue_db::Contents::Starter);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("exists"), std::string::npos);
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "someone's data");
    // Nothing else was left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(CatalogueSchema, AMissingFolderFailsAndCreatesNothing)
{
    std::string inMissing = (dir / "missing" / "CN.mdb").string();
    catalogue_db::Result r = catalogue_db::CreateCatalogue(inMissing, catalogue_db::Contents::Empty);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

} // namespace
