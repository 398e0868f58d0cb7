// Categories as a user manages them: the tree's pop-up menu, the node
// window's two pages with their picture previews, the questions and
// messages, and what lands in CN.mdb.

#include "app/catalogue_user.h"

#include "app/units.h"
#include "platform/messages.h"
#include "platform/text_codec.h"
#include "platform/window.h"
#include "support/test_kinds.h"

#include <gmock/gmock.h>

namespace {

using namespace app::ids;
using cataloguetest::FileRows;
using ::testing::ElementsAre;

const std::string kAddTopLevel = "&A.添加父节点";
const std::string kAddChild = "&B.添加子节点";
const std::string kRename = "&X.修改菜单";
const std::string kDelete = "&D.删除菜单";

// A character GBK lacks: four bytes in GB18030.
const std::string kOutsideGbk = platform::Utf8ToGbk("\xF0\xA0\x80\x80");

class NodeManagement : public cataloguetest::CatalogueUser {
protected:
    platform::Hwnd nodeUnit(std::uint32_t id) const { return unit(kNodeWindow, id); }
    void expectBox(const char* text, const char* caption, std::uint32_t icon)
    {
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(lastBox().text, text);
        EXPECT_EQ(lastBox().caption, caption);
        EXPECT_EQ(lastBox().icon, icon);
    }
};

TEST_F(NodeManagement, AddingATopLevelAndAChildCategory)
{
    open({{1, "Java", 0, 3}, {2, "集合", 1, 7}}, {});
    chooseFromTreeMenu(kAddTopLevel);
    ASSERT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(caption(kNodeWindow), "当前为根节点");
    EXPECT_EQ(pageShown(kNodeWindow, kNodePages), 0);
    EXPECT_EQ(picked(nodeUnit(kNodePictureCombo)), 0);
    EXPECT_EQ(previewImage(nodeUnit(kNodePreview)), 0);

    // An empty name is refused and the window stays.
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(1));
    expectBox("不能为空！", "不能为空", platform::MB_ICONASTERISK);
    EXPECT_TRUE(isOpen(kNodeWindow));

    const std::string name = "O'Neil的" + kOutsideGbk;
    typeInto(nodeUnit(kNodeNameEdit), name);
    pick(nodeUnit(kNodePictureCombo), 9);
    EXPECT_EQ(previewImage(nodeUnit(kNodePreview)), 9);
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(2));
    expectBox("添加新分类成功！", "成功", platform::MB_ICONASTERISK);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kNodeWindow); }));
    ASSERT_EQ(itemCount(), 3);
    EXPECT_EQ(itemText(2), name);
    EXPECT_EQ(parentOf(2), -1);
    EXPECT_EQ(imageOf(2), 9);
    EXPECT_THAT(FileRows("SELECT 节点名称, ifnull(关联子节点, 0), 图片索引, 选中图片索引, 数据库索引信息 FROM base "
                         "WHERE 父项目=3"),
                ElementsAre(name + "|0|9|9|" + name));

    selectItem(0);
    chooseFromTreeMenu(kAddChild);
    ASSERT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(caption(kNodeWindow), "当前上级节点：Java");
    typeInto(nodeUnit(kNodeNameEdit), "泛型");
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(3));
    expectBox("添加新分类成功！", "成功", platform::MB_ICONASTERISK);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kNodeWindow); }));
    ASSERT_EQ(itemCount(), 4);
    EXPECT_EQ(itemText(2), "泛型");
    EXPECT_EQ(parentOf(2), 0);
    EXPECT_TRUE(expanded(0));
    EXPECT_THAT(FileRows("SELECT 关联子节点, 图片索引 FROM base WHERE 节点名称='泛型'"), ElementsAre("1|0"));
}

TEST_F(NodeManagement, ARenamedCategoryKeepsItsEntriesAndTakesItsNewPicture)
{
    open({{1, "Java", 0, 3}, {2, "集合", 1, 7}, {3, "Big", 0, 15}},
         {{"Java", "a", "一", ""}, {"集合", "b", "二", ""}});
    selectItem(0);
    chooseFromTreeMenu(kRename);
    ASSERT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(pageShown(kNodeWindow, kNodePages), 1);
    EXPECT_EQ(textOf(nodeUnit(kRenameNameEdit)), "Java");
    EXPECT_EQ(picked(nodeUnit(kRenamePictureCombo)), 3);
    EXPECT_EQ(previewImage(nodeUnit(kRenamePreview)), 3);

    const std::string name = "爪哇'语言" + kOutsideGbk;
    typeInto(nodeUnit(kRenameNameEdit), name);
    pick(nodeUnit(kRenamePictureCombo), 6);
    EXPECT_EQ(previewImage(nodeUnit(kRenamePreview)), 6);
    press(nodeUnit(kRenameNodeButton));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kNodeWindow); }));
    EXPECT_TRUE(boxes.empty()); // a rename says nothing
    EXPECT_EQ(itemText(0), name);
    EXPECT_EQ(imageOf(0), 6);
    EXPECT_THAT(FileRows("SELECT 节点名称, 图片索引, 选中图片索引 FROM base WHERE 父项目=1"),
                ElementsAre(name + "|6|6"));
    EXPECT_THAT(FileRows("SELECT 对应节点, 字符 FROM cntext ORDER BY ID"), ElementsAre(name + "|a", "集合|b"));
    selectItem(1);
    selectItem(0);
    EXPECT_THAT(listed(), ElementsAre("a"));

    // A stored picture outside the twelve: nothing chosen, nothing shown.
    selectItem(2);
    chooseFromTreeMenu(kRename);
    ASSERT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(textOf(nodeUnit(kRenameNameEdit)), "Big");
    EXPECT_EQ(picked(nodeUnit(kRenamePictureCombo)), -1);
    EXPECT_EQ(previewImage(nodeUnit(kRenamePreview)), -1);
}

TEST_F(NodeManagement, ARenameWindowTurnedToItsFirstPageAddsAChild)
{
    open({{1, "A", 0, 0}, {2, "B", 0, 1}}, {});
    selectItem(0);
    chooseFromTreeMenu(kRename);
    ASSERT_TRUE(isOpen(kNodeWindow));
    clickPageHeader(kNodeWindow, kNodePages, 0);
    typeInto(nodeUnit(kNodeNameEdit), "A1");
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(lastBox().text, "添加新分类成功！");
    // The page was never prepared: its chooser still shows the last picture.
    EXPECT_THAT(FileRows("SELECT 关联子节点, 图片索引 FROM base WHERE 节点名称='A1'"), ElementsAre("1|11"));
}

TEST_F(NodeManagement, DeletingALeafAsksNothingAndLeavesItsEntries)
{
    open({{1, "Java", 0, 3}, {2, "集合", 1, 7}, {3, "C#", 0, 1}}, {{"集合", "b", "二", ""}});
    selectItem(1);
    chooseFromTreeMenu(kDelete);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return itemCount() == 2; }));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(currentItem(), 0); // the parent
    EXPECT_THAT(FileRows("SELECT 父项目 FROM base ORDER BY 父项目"), ElementsAre("1", "3"));
    EXPECT_THAT(FileRows("SELECT 对应节点 FROM cntext"), ElementsAre("集合"));

    selectItem(1);
    chooseFromTreeMenu(kDelete);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return itemCount() == 1; }));
    EXPECT_EQ(currentItem(), 0); // a top-level node's: the first item
    EXPECT_EQ(itemText(0), "Java");
}

TEST_F(NodeManagement, DeletingACategoryWithChildrenAsksAndMovesThemUp)
{
    open({{1, "A", 0, 0}, {2, "B", 1, 1}, {3, "B1", 2, 2}, {4, "B2", 2, 3}, {5, "C", 0, 4}}, {});
    selectItem(1);
    answers = {platform::IDCANCEL};
    chooseFromTreeMenu(kDelete);
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(lastBox().text, "此分类下有子类，删除此项目可能会有问题。\r\n确认删除吗？");
    EXPECT_EQ(lastBox().caption, "真的删除？");
    EXPECT_EQ(lastBox().icon, platform::MB_ICONQUESTION);
    EXPECT_EQ(lastBox().buttons.size(), 2u);
    testsupport::Pump(50);
    EXPECT_EQ(itemCount(), 5);
    EXPECT_THAT(FileRows("SELECT count(*) FROM base"), ElementsAre("5"));

    answers = {platform::IDOK};
    chooseFromTreeMenu(kDelete);
    ASSERT_TRUE(waitForBoxes(2));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return itemCount() == 4; }));
    EXPECT_THAT(FileRows("SELECT 父项目, 节点名称, 关联子节点 FROM base ORDER BY 父项目"),
                ElementsAre("1|A|0", "3|B1|1", "4|B2|1", "5|C|0"));
    EXPECT_EQ(itemText(1), "B1");
    EXPECT_EQ(parentOf(1), 0);
    EXPECT_EQ(parentOf(2), 0);
    EXPECT_EQ(currentItem(), 0);
}

// Occupies every result set the database unit can hold, so its queries
// give none, as when the database is busy or gone.
class ResultSetsTaken {
public:
    ResultSetsTaken()
    {
        for (std::int32_t set; m_sets.size() < 64 && (set = kDatabase.openTable("SELECT 1")) != 0;)
            m_sets.push_back(set);
    }
    ~ResultSetsTaken()
    {
        for (std::int32_t set : m_sets)
            kDatabase.closeTable(set);
    }
    ResultSetsTaken(const ResultSetsTaken&) = delete;
    ResultSetsTaken& operator=(const ResultSetsTaken&) = delete;

private:
    static constexpr app::Database kDatabase{kMainWindow, app::ids::kDatabase};
    std::vector<std::int32_t> m_sets;
};

// A failed look-up of the parent, or a failed insert, is reported and
// leaves the window open with the name typed; the program goes on.
TEST_F(NodeManagement, AFailedAddKeepsWhatWasTyped)
{
    open({{1, "A", 0, 4}}, {});
    chooseFromTreeMenu(kAddChild);
    ASSERT_TRUE(isOpen(kNodeWindow));
    typeInto(nodeUnit(kNodeNameEdit), "子类");
    {
        ResultSetsTaken busy;
        press(nodeUnit(kAddNodeButton));
        ASSERT_TRUE(waitForBoxes(1));
        expectBox("添加失败！", "失败", platform::MB_ICONASTERISK);
        testsupport::Pump(50);
        EXPECT_TRUE(isOpen(kNodeWindow));
        EXPECT_EQ(textOf(nodeUnit(kNodeNameEdit)), "子类");
    }
    ASSERT_TRUE(cataloguetest::ChangeFile("CREATE TRIGGER refuse BEFORE INSERT ON base "
                                          "BEGIN SELECT RAISE(ABORT, 'no'); END"));
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(2));
    expectBox("添加失败！", "失败", platform::MB_ICONASTERISK);
    testsupport::Pump(50);
    EXPECT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(textOf(nodeUnit(kNodeNameEdit)), "子类");

    ASSERT_TRUE(cataloguetest::ChangeFile("DROP TRIGGER refuse"));
    press(nodeUnit(kAddNodeButton));
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(lastBox().text, "添加新分类成功！");
    EXPECT_THAT(FileRows("SELECT 关联子节点 FROM base WHERE 节点名称='子类'"), ElementsAre("1"));

    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kNodeWindow); }));
}

// Without the stored picture, the rename page shows none chosen.
TEST_F(NodeManagement, AFailedLookUpLeavesTheRenamePageWithoutAPicture)
{
    open({{1, "A", 0, 4}}, {});
    ResultSetsTaken busy;
    chooseFromTreeMenu(kRename);
    ASSERT_TRUE(isOpen(kNodeWindow));
    EXPECT_EQ(textOf(nodeUnit(kRenameNameEdit)), "A");
    EXPECT_EQ(picked(nodeUnit(kRenamePictureCombo)), -1);
    EXPECT_EQ(previewImage(nodeUnit(kRenamePreview)), -1);
}

} // namespace
