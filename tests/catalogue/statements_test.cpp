// The statements' texts, fragment by fragment, and the program directory's
// one separator before CN.mdb.

#include "app/catalogue/catalogue_database.h"
#include "app/catalogue/statements.h"

#include <gtest/gtest.h>

namespace {

namespace st = app::statements;

TEST(CatalogueStatements, NodeStatementsReadAsTabled)
{
    EXPECT_EQ(st::LoadTree(), "SELECT * FROM base ORDER BY 父项目 ASC");
    EXPECT_EQ(st::FindNode("排序"), "select * from base where 节点名称= '排序'");
    EXPECT_EQ(st::AddTopLevelNode("排序", 3),
              "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息 ) VALUES ('排序',3,3,'排序')");
    EXPECT_EQ(st::AddChildNode("子", 11, 42), "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息,"
                                              "关联子节点 ) VALUES ('子',11,11,'子',42)");
    EXPECT_EQ(st::RenameNode("新名", 0, 7), "UPDATE base SET 节点名称 ='新名',图片索引=0,选中图片索引=0 WHERE 父项目=7");
    EXPECT_EQ(st::ReparentChildren(0, 9), "UPDATE base SET 关联子节点 =0 WHERE 关联子节点=9");
    EXPECT_EQ(st::DeleteNode(-5), "DELETE FROM base WHERE 父项目=-5");
}

TEST(CatalogueStatements, EntryStatementsReadAsTabled)
{
    EXPECT_EQ(st::ListEntries("Java"), "select * from cntext where 对应节点='Java'");
    EXPECT_EQ(st::ReadEntry("12"), "select * from cntext where id=12");
    EXPECT_EQ(st::AddEntry("Java", "a", "b", ""),
              "INSERT INTO cntext  (对应节点,字符,描述,详情) values ('Java','a','b','')");
    EXPECT_EQ(st::ChangeEntry("a", "b", "c", "3"), "update cntext set 字符 ='a',描述='b',详情='c' where id = 3");
    EXPECT_EQ(st::DeleteEntry("3"), "DELETE FROM cntext WHERE ID=3");
}

TEST(CatalogueStatements, QuotesInsideValuesAreDoubled)
{
    EXPECT_EQ(st::Quoted(""), "''");
    EXPECT_EQ(st::Quoted("O'Reilly"), "'O''Reilly'");
    EXPECT_EQ(st::Quoted("''"), "''''''");
    // A value that would close the literal and add a row of its own stays
    // one literal.
    EXPECT_EQ(st::AddTopLevelNode("x',0,0,'y'),('z", 1),
              "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息 ) VALUES ("
              "'x'',0,0,''y''),(''z',1,1,'x'',0,0,''y''),(''z')");
    // GBK text whose trail bytes are not quotes passes unchanged.
    EXPECT_EQ(st::Quoted("数据库"), "'数据库'");
}

TEST(CataloguePath, OneSeparatorBeforeTheFileName)
{
    EXPECT_EQ(app::catalogue::CataloguePath("/opt/velmora"), "/opt/velmora/CN.mdb");
    EXPECT_EQ(app::catalogue::CataloguePath("/opt/velmora/"), "/opt/velmora/CN.mdb");
    EXPECT_EQ(app::catalogue::CataloguePath(""), "/CN.mdb");
}

} // namespace
