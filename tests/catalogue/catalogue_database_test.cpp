// The catalogue's statements run by the program against a real CN.mdb: the
// main window's database unit opens the file, each statement goes through
// the driver manager and our driver, and what landed in the file is read
// back with SQLite itself.

#include "app/app_state.h"
#include "app/catalogue/catalogue_database.h"
#include "app/catalogue/statements.h"
#include "app/catalogue_file.h"
#include "app/catalogue_support.h"
#include "app/ids.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/text_codec.h"
#include "runtime/memory.h"
#include "support/test_kinds.h"
#include "tools/catalogue_db/schema.h"
#include "ui/framework/framework.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

using namespace app::catalogue;
using cataloguetest::FileRows;
using ::testing::ElementsAre;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;

struct Box {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b)
{
    return os << platform::GbkToUtf8(b.caption) << ": " << platform::GbkToUtf8(b.text) << " (" << b.style << ")";
}

Box Information(const char* text, const char* caption)
{
    return {text, caption, 0x40};
}

void RemoveCatalogue()
{
    std::string path = cataloguetest::CatalogueFile();
    unlink(path.c_str());
    unlink((path + "-journal").c_str());
    unlink((path + "-wal").c_str());
    unlink((path + "-shm").c_str());
}

class CatalogueDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveCatalogue();
        platform::testing::AnswerMessageBoxes([this](const platform::testing::MessageBoxInfo& box) {
            // Icon and buttons; InfoBox adds its modality bits itself.
            boxes.push_back({box.text, box.caption, box.style & 0xFF});
            return int(platform::IDOK);
        });
        cataloguetest::StartCatalogueInProcess();
    }
    void TearDown() override
    {
        if (auto* w = ui::TheFramework().window(app::ids::kMainWindow.window))
            w->destroyLive();
        testsupport::Pump(20);
        platform::testing::StopAnsweringMessageBoxes();
        RemoveCatalogue();
    }
    // Opens the main window, whose start-up opens the catalogue.
    void openMainWindow(catalogue_db::Contents contents)
    {
        ASSERT_TRUE(catalogue_db::CreateCatalogue(cataloguetest::CatalogueFile(), contents).ok);
        openMainWindowWithoutFile();
    }
    void openMainWindowWithoutFile()
    {
        ASSERT_TRUE(ui::TheFramework().openWindow(app::ids::kMainWindow.window, nullptr, false));
    }
    std::string statement() const { return std::string(app::State().statement.get()); }
    std::vector<Box> takeBoxes() { return std::exchange(boxes, {}); }

    std::vector<Box> boxes;
};

TEST_F(CatalogueDatabase, StartUpOpensTheFileAndLoadsEveryNodeInKeyOrder)
{
    openMainWindow(catalogue_db::Contents::Starter);
    EXPECT_TRUE(takeBoxes().empty());

    std::optional<std::vector<NodeRow>> nodes = LoadNodes();
    EXPECT_EQ(statement(), "SELECT * FROM base ORDER BY 父项目 ASC");
    ASSERT_TRUE(nodes);
    ASSERT_EQ(nodes->size(), 15u);
    for (std::size_t i = 0; i < nodes->size(); ++i) {
        const NodeRow& n = (*nodes)[i];
        EXPECT_EQ(n.key, std::int32_t(i + 1));
        if (i < 12) {
            EXPECT_EQ(n.parentKey, 0);
            EXPECT_EQ(n.image, std::int32_t(i));
            EXPECT_EQ(n.selectedImage, std::int32_t(i));
        }
    }
    EXPECT_EQ((*nodes)[0].name, "Python");
    EXPECT_EQ((*nodes)[5].name, "界面设计");
    EXPECT_EQ((*nodes)[12].name, "标准库");
    EXPECT_EQ((*nodes)[12].parentKey, 1);
}

TEST_F(CatalogueDatabase, AMissingFileShowsTheQueryFailureAndCreatesNothing)
{
    openMainWindowWithoutFile();
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("请检查数据库文件是否正确！", "查询失败")));
    EXPECT_NE(access(cataloguetest::CatalogueFile().c_str(), F_OK), 0);

    // Every later statement runs against the failed connection.
    EXPECT_FALSE(AddNode("新", 0, std::nullopt));
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("添加失败！", "失败")));
    EXPECT_TRUE(ListEntries("Java").empty());
    EntryText e = ReadEntry("1");
    EXPECT_EQ(e.code + e.description + e.details, "");
    EXPECT_FALSE(ChangeEntry({"a", "b", "c"}, "1"));
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("更新失败", "失败")));
}

TEST_F(CatalogueDatabase, AFileThatIsNotADatabaseShowsTheQueryFailureAndStaysAsItWas)
{
    std::FILE* f = std::fopen(cataloguetest::CatalogueFile().c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("Standard Jet DB, but not really", f);
    std::fclose(f);
    openMainWindowWithoutFile();
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("请检查数据库文件是否正确！", "查询失败")));
    f = std::fopen(cataloguetest::CatalogueFile().c_str(), "rb");
    ASSERT_TRUE(f);
    char buffer[64] = {};
    std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buffer, n), "Standard Jet DB, but not really");
}

TEST_F(CatalogueDatabase, NodesAreAddedAtTheTopAndUnderAParentWithGrowingKeys)
{
    openMainWindow(catalogue_db::Contents::Empty);
    std::optional<std::vector<NodeRow>> none = LoadNodes();
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());

    EXPECT_TRUE(AddNode("排序", 3, std::nullopt));
    EXPECT_EQ(statement(), "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息 ) VALUES ('排序',3,3,'排序')");
    std::optional<std::int32_t> parent = FindNodeKey("排序");
    EXPECT_EQ(statement(), "select * from base where 节点名称= '排序'");
    EXPECT_EQ(parent, 1);
    EXPECT_TRUE(AddNode("冒泡", 4, parent));
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("添加新分类成功！", "成功"), Information("添加新分类成功！", "成功")));
    EXPECT_EQ(FindNodeImage("冒泡"), 4);
    EXPECT_EQ(FindNodeKey("没有这个"), 0); // no row: a top-level parent

    EXPECT_THAT(FileRows("SELECT 父项目, 节点名称, 关联子节点, 图片索引, 选中图片索引, 数据库索引信息 FROM base"),
                ElementsAre("1|排序|0|3|3|排序", "2|冒泡|1|4|4|冒泡"));
    // A key is never handed out again, not even after its row is gone.
    EXPECT_TRUE(DeleteNode(2, 1, false));
    EXPECT_TRUE(AddNode("快速", 5, parent));
    EXPECT_EQ(FindNodeKey("快速"), 3);
}

TEST_F(CatalogueDatabase, QuotesInNamesAndTextsAreStoredAsTyped)
{
    openMainWindow(catalogue_db::Contents::Empty);
    // Without doubling this would end the literal and insert a second row.
    const char* name = "x',0,0,'y'),('z";
    EXPECT_TRUE(AddNode(name, 1, std::nullopt));
    EXPECT_THAT(FileRows("SELECT 节点名称, 数据库索引信息 FROM base"), ElementsAre(std::string(name) + "|" + name));
    EXPECT_EQ(FindNodeKey(name), 1);
    EXPECT_TRUE(RenameNode(name, "O'Reilly 的书", 2, 1));
    EXPECT_THAT(FileRows("SELECT 节点名称, 图片索引, 选中图片索引 FROM base"), ElementsAre("O'Reilly 的书|2|2"));

    EXPECT_TRUE(AddEntry("O'Reilly 的书", {"printf('%d', n);", "it's", "'; DROP TABLE cntext; --"}));
    std::vector<EntryRow> entries = ListEntries("O'Reilly 的书");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, "printf('%d', n);");
    EXPECT_EQ(entries[0].description, "it's");
    EXPECT_EQ(entries[0].details, "'; DROP TABLE cntext; --");
}

TEST_F(CatalogueDatabase, DeletingANodeWithChildrenHandsThemToItsParent)
{
    openMainWindow(catalogue_db::Contents::Empty);
    AddNode("根", 0, std::nullopt);      // 1
    AddNode("中", 0, 1);                 // 2
    AddNode("叶甲", 0, 2);               // 3
    AddNode("叶乙", 0, 2);               // 4
    AddNode("顶", 0, std::nullopt);      // 5
    AddNode("顶下", 0, 5);               // 6
    takeBoxes();

    EXPECT_TRUE(DeleteNode(2, 1, true));
    EXPECT_EQ(statement(), "DELETE FROM base WHERE 父项目=2");
    // A top-level node's children become top-level nodes.
    EXPECT_TRUE(DeleteNode(5, 0, true));
    EXPECT_THAT(FileRows("SELECT 父项目, 节点名称, 关联子节点 FROM base ORDER BY 父项目"),
                ElementsAre("1|根|0", "3|叶甲|1", "4|叶乙|1", "6|顶下|0"));
    EXPECT_TRUE(takeBoxes().empty());
}

TEST_F(CatalogueDatabase, EntriesAreListedReadChangedAndDeleted)
{
    openMainWindow(catalogue_db::Contents::Empty);
    std::string longCode(70 * 1024, 'x');
    for (std::size_t i = 0; i < longCode.size(); i += 97)
        longCode[i] = '\n';
    EXPECT_TRUE(AddEntry("Java", {"第一", "描述一", ""}));
    EXPECT_EQ(statement(), "INSERT INTO cntext  (对应节点,字符,描述,详情) values ('Java','第一','描述一','')");
    EXPECT_TRUE(AddEntry("Java", {longCode, "很长", "超过 64 KiB"}));
    EXPECT_TRUE(AddEntry("C#", {"别的", "", ""}));
    EXPECT_TRUE(takeBoxes().empty()); // the window reports, once the list shows the entry

    std::vector<EntryRow> java = ListEntries("Java");
    EXPECT_EQ(statement(), "select * from cntext where 对应节点='Java'");
    ASSERT_EQ(java.size(), 2u);
    EXPECT_EQ(java[0].key, 1);
    EXPECT_EQ(java[0].code, "第一");
    EXPECT_EQ(java[0].description, "描述一");
    EXPECT_EQ(java[0].details, ""); // an empty 详情 stays empty
    EXPECT_EQ(java[1].key, 2);
    EXPECT_EQ(java[1].code, longCode);
    EXPECT_THAT(FileRows("SELECT 详情 FROM cntext WHERE ID=1"), ElementsAre(""));

    EntryText second = ReadEntry("2");
    EXPECT_EQ(statement(), "select * from cntext where id=2");
    EXPECT_EQ(second.code, longCode);
    EXPECT_EQ(second.details, "超过 64 KiB");
    EXPECT_EQ(ReadEntry("99").code, ""); // no such entry: empty texts

    EXPECT_TRUE(ChangeEntry({"改过", "新描述", "新详情"}, "1"));
    EXPECT_EQ(statement(), "update cntext set 字符 ='改过',描述='新描述',详情='新详情' where id = 1");
    EXPECT_EQ(ReadEntry("1").details, "新详情");
    EXPECT_FALSE(ChangeEntry({"a", "b", "c"}, "not-a-key"));
    EXPECT_THAT(takeBoxes(), ElementsAre(Information("更新成功", "成功"), Information("更新失败", "失败")));

    EXPECT_TRUE(DeleteEntry("2"));
    EXPECT_EQ(statement(), "DELETE FROM cntext WHERE ID=2");
    EXPECT_FALSE(DeleteEntry(""));
    EXPECT_TRUE(takeBoxes().empty());
    EXPECT_THAT(FileRows("SELECT ID, 对应节点, 字符 FROM cntext ORDER BY ID"), ElementsAre("1|Java|改过", "3|C#|别的"));
}

TEST_F(CatalogueDatabase, TwoNodesOfOneNameShareTheirEntries)
{
    openMainWindow(catalogue_db::Contents::Empty);
    AddNode("同名", 1, std::nullopt);
    AddNode("同名", 2, std::nullopt);
    AddEntry("同名", {"甲", "", ""});
    EXPECT_EQ(FindNodeKey("同名"), 1);
    EXPECT_EQ(FindNodeImage("同名"), 1);
    EXPECT_EQ(ListEntries("同名").size(), 1u);
}

TEST_F(CatalogueDatabase, TextOutsideGbkSurvivesTheRoundTrip)
{
    openMainWindow(catalogue_db::Contents::Empty);
    // U+20000 and an emoji have no GBK form; GB18030 gives them four bytes.
    std::string rare = platform::Utf8ToGbk("\xF0\xA0\x80\x80 \xF0\x9F\x98\x80");
    ASSERT_EQ(rare.size(), 9u);
    AddEntry("稀有", {rare, rare, rare});
    std::vector<EntryRow> entries = ListEntries("稀有");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, rare);
    EXPECT_THAT(FileRows("SELECT 字符 FROM cntext"), ElementsAre(rare));
}

TEST_F(CatalogueDatabase, ANullParentReadsAsATopLevelNode)
{
    openMainWindow(catalogue_db::Contents::Empty);
    ASSERT_TRUE(cataloguetest::ChangeFile("INSERT INTO base (节点名称, 关联子节点) VALUES ('空', NULL)"));
    std::optional<std::vector<NodeRow>> nodes = LoadNodes();
    ASSERT_TRUE(nodes && nodes->size() == 1);
    EXPECT_EQ((*nodes)[0].parentKey, 0);
    EXPECT_EQ((*nodes)[0].name, "空");
}

// A look-up whose query failed finds nothing, and the program goes on; a
// rename that cannot tell where the entries belong changes nothing.
TEST_F(CatalogueDatabase, AFailedLookUpFindsNothing)
{
    openMainWindowWithoutFile();
    EXPECT_EQ(FindNodeKey("任何"), std::nullopt);
    EXPECT_EQ(FindNodeImage("任何"), std::nullopt);
    EXPECT_FALSE(RenameNode("任何", "别的", 1, 1));
}

TEST_F(CatalogueDatabase, ARenamedNodeTakesItsEntriesUnlessAnotherKeepsTheName)
{
    openMainWindow(catalogue_db::Contents::Empty);
    AddNode("甲", 0, std::nullopt); // 1
    AddNode("乙", 0, std::nullopt); // 2
    AddNode("乙", 0, std::nullopt); // 3
    AddEntry("甲", {"a", "一", ""});
    AddEntry("乙", {"b", "二", ""});

    EXPECT_TRUE(RenameNode("甲", "丙", 4, 1));
    EXPECT_EQ(statement(), "COMMIT TRANSACTION");
    // 乙 is still the name of node 3: its entries stay listed there.
    EXPECT_TRUE(RenameNode("乙", "丁", 5, 2));
    EXPECT_THAT(FileRows("SELECT 父项目, 节点名称, 图片索引 FROM base ORDER BY 父项目"),
                ElementsAre("1|丙|4", "2|丁|5", "3|乙|0"));
    EXPECT_THAT(FileRows("SELECT 对应节点, 字符 FROM cntext ORDER BY ID"), ElementsAre("丙|a", "乙|b"));

    // When the entries cannot follow, the node keeps its name as well.
    ASSERT_TRUE(cataloguetest::ChangeFile(
        "CREATE TRIGGER refuse BEFORE UPDATE ON cntext BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_FALSE(RenameNode("丙", "戊", 6, 1));
    EXPECT_EQ(statement(), "ROLLBACK TRANSACTION");
    EXPECT_THAT(FileRows("SELECT 节点名称, 图片索引 FROM base WHERE 父项目=1"), ElementsAre("丙|4"));
    // The connection is out of the transaction: the next change is kept.
    EXPECT_TRUE(AddNode("己", 0, std::nullopt));
    EXPECT_THAT(FileRows("SELECT count(*) FROM base"), ElementsAre("4"));
    takeBoxes();
}

TEST(CatalogueValues, NumbersOfEveryKindAndTexts)
{
    using runtime::TypedValue;
    ReadSite site{1, 2};
    EXPECT_EQ(IntegerValue(TypedValue::byte(200), site), 200);
    EXPECT_EQ(IntegerValue(TypedValue::shortInt(-3), site), -3);
    EXPECT_EQ(IntegerValue(TypedValue::longInt(0x1'0000'0005), site), 5);
    EXPECT_EQ(IntegerValue(TypedValue::real64(-2.9), site), -2);
    EXPECT_EQ(IntegerValue(TypedValue::real32(7.99f), site), 7);
    EXPECT_EQ(TextValue(TypedValue::text(runtime::NewText("文字")), site), "文字");
    EXPECT_EQ(TextValue(TypedValue::text(nullptr), site), "");
}

TEST(CatalogueValuesDeathTest, AValueOfTheWrongKindEndsTheProgram)
{
    using runtime::TypedValue;
    auto answer = [] {
        platform::testing::AnswerMessageBoxes([](const platform::testing::MessageBoxInfo& box) {
            std::fprintf(stderr, "[box]%s[/box]\n", box.text.c_str());
            return int(platform::IDOK);
        });
    };
    EXPECT_EXIT(
        {
            answer();
            IntegerValue(TypedValue::text(runtime::NewText("12")), {0x09000101, 3});
        },
        ExitedWithCode(255), HasSubstr("错误代码：2\r\n\r\n错误信息：未得到所需要的数值型数据\r\n\r\n150995201, 3"));
    EXPECT_EXIT(
        {
            answer();
            IntegerValue(TypedValue::logical(true), {1, 1});
        },
        ExitedWithCode(255), HasSubstr("未得到所需要的数值型数据"));
    EXPECT_EXIT(
        {
            answer();
            TextValue(TypedValue::integer(5), {1, 1});
        },
        ExitedWithCode(255), HasSubstr("错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配"));
}

} // namespace
