// Entries as a user manages them: the list's pop-up menus and double
// click, the content window's two pages, the checks, questions and
// messages, and what lands in CN.mdb — also while another process holds
// the file locked.

#include "app/catalogue_user.h"

#include "platform/messages.h"
#include "platform/text_codec.h"
#include "support/test_kinds.h"

#include <gmock/gmock.h>

#include <cstring>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace app::ids;
using cataloguetest::FileRows;
using ::testing::ElementsAre;
namespace pt = platform::testing;

const std::string kAddEntry = "&A.添加内容";
const std::string kDeleteEntry = "&D.删除内容";

class ContentManagement : public cataloguetest::CatalogueUser {
protected:
    platform::Hwnd contentUnit(std::uint32_t id) const { return unit(kContentWindow, id); }
    void expectBox(const char* text, const char* caption, std::uint32_t icon)
    {
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(lastBox().text, text);
        EXPECT_EQ(lastBox().caption, caption);
        EXPECT_EQ(lastBox().icon, icon);
    }
    void pressAndWait(std::uint32_t button, std::size_t boxesBy, int timeoutMs = 3000)
    {
        press(contentUnit(button));
        ASSERT_TRUE(waitForBoxes(boxesBy, timeoutMs)) << "no message box " << boxesBy;
    }
};

TEST_F(ContentManagement, AddingAnEntryWantsATitleAndADescription)
{
    open({{1, "A", 0, 0}, {2, "B", 0, 1}}, {{"B", "old", "旧", ""}});
    selectItem(0);
    EXPECT_TRUE(listed().empty());
    chooseFromListMenu(kAddEntry);
    ASSERT_TRUE(isOpen(kContentWindow));
    EXPECT_EQ(caption(kContentWindow), "当前所属分类：A");
    EXPECT_EQ(pageShown(kContentWindow, kContentPages), 0);

    pressAndWait(kAddContentButton, 1);
    expectBox("内容不能为空？", "添加内容", platform::MB_ICONEXCLAMATION);
    const std::string title = "printf(\"%s\", 'x'); // " + platform::Utf8ToGbk("\xF0\x9F\x98\x80");
    typeInto(contentUnit(kAddCodeEdit), title);
    pressAndWait(kAddContentButton, 2);
    expectBox("没内容！", "添加内容", platform::MB_ICONEXCLAMATION);
    EXPECT_TRUE(isOpen(kContentWindow));
    EXPECT_THAT(FileRows("SELECT count(*) FROM cntext"), ElementsAre("1"));

    typeInto(contentUnit(kAddDescriptionEdit), "单引号 ' 的说明");
    pressAndWait(kAddContentButton, 3); // the details may stay empty
    expectBox("添加成功！", "添加成功", platform::MB_ICONASTERISK);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kContentWindow); }));
    EXPECT_THAT(listed(), ElementsAre(title));
    EXPECT_THAT(FileRows("SELECT 对应节点, 字符, 描述, 详情 FROM cntext WHERE ID=2"),
                ElementsAre("A|" + title + "|单引号 ' 的说明|"));
}

TEST_F(ContentManagement, SavingChangesTheEntryTheWindowWasOpenedFor)
{
    open({{1, "A", 0, 0}, {2, "B", 0, 1}},
         {{"A", "one", "一", "d1"}, {"A", "two", "二", "d2"}, {"B", "three", "三", ""}});
    selectItem(0);
    doubleClickRow(0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return isOpen(kContentWindow); }));
    EXPECT_EQ(caption(kContentWindow), "当前选择：one");
    EXPECT_EQ(pageShown(kContentWindow, kContentPages), 1);
    EXPECT_EQ(textOf(contentUnit(kEditCodeEdit)), "one");
    EXPECT_EQ(textOf(contentUnit(kEditDescriptionEdit)), "一");
    EXPECT_EQ(textOf(contentUnit(kEditDetailsEdit)), "d1");

    typeInto(contentUnit(kEditCodeEdit), "");
    pressAndWait(kSaveContentButton, 1);
    expectBox("字符不能为空", "不能为空", platform::MB_ICONEXCLAMATION);
    typeInto(contentUnit(kEditCodeEdit), "一号 'quoted'");
    typeInto(contentUnit(kEditDetailsEdit), "第一行");
    pt::Key(contentUnit(kEditDetailsEdit), platform::VK_RETURN);
    pt::TypeText(contentUnit(kEditDetailsEdit), "second");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return textOf(contentUnit(kEditDetailsEdit)).ends_with("second"); }));
    std::string details = textOf(contentUnit(kEditDetailsEdit));

    // The window is modeless: another row, then another category, become
    // current before the change is saved.
    selectRow(1);
    selectItem(1);
    pressAndWait(kSaveContentButton, 2);
    expectBox("更新成功", "成功", platform::MB_ICONASTERISK);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !isOpen(kContentWindow); }));
    EXPECT_THAT(FileRows("SELECT ID, 对应节点, 字符, 描述 FROM cntext ORDER BY ID"),
                ElementsAre("1|A|一号 'quoted'|一", "2|A|two|二", "3|B|three|三"));
    EXPECT_THAT(FileRows("SELECT 详情 FROM cntext WHERE ID=1"), ElementsAre(details));
    EXPECT_THAT(listed(), ElementsAre("three"));
}

TEST_F(ContentManagement, DeletingAnEntryAsksYesOrNo)
{
    open({{1, "A", 0, 0}}, {{"A", "keep", "留", ""}, {"A", "drop it", "删", ""}});
    selectRow(1);
    answers = {platform::IDNO};
    chooseFromListMenu(kDeleteEntry);
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(lastBox().text, " 确认删除：  drop it   此操作不可恢复");
    EXPECT_EQ(lastBox().caption, "删除确认");
    EXPECT_EQ(lastBox().icon, 0u);
    EXPECT_EQ(lastBox().buttons.size(), 2u);
    testsupport::Pump(50);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_THAT(FileRows("SELECT count(*) FROM cntext"), ElementsAre("2"));

    answers = {platform::IDYES};
    chooseFromListMenu(kDeleteEntry);
    ASSERT_TRUE(waitForBoxes(3));
    expectBox("删除成功", "删除成功", platform::MB_ICONASTERISK);
    EXPECT_THAT(FileRows("SELECT 字符 FROM cntext"), ElementsAre("keep"));
    EXPECT_THAT(listed(), ElementsAre("keep"));

    // A delete the database refuses is reported as such.
    ASSERT_TRUE(cataloguetest::ChangeFile("CREATE TRIGGER refuse BEFORE DELETE ON cntext "
                                          "BEGIN SELECT RAISE(ABORT, 'no'); END"));
    selectRow(0);
    answers = {platform::IDYES};
    chooseFromListMenu(kDeleteEntry);
    ASSERT_TRUE(waitForBoxes(5));
    expectBox("删除失败", "失败", platform::MB_ICONASTERISK);
    EXPECT_THAT(listed(), ElementsAre("keep"));
}

TEST_F(ContentManagement, AnEntryIsNotFiledUnderNoCategory)
{
    open({{1, "A", 0, 0}}, {});
    chooseFromTreeMenu("&D.删除菜单");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return itemCount() == 0; }));
    chooseFromListMenu(kAddEntry);
    ASSERT_TRUE(isOpen(kContentWindow));
    typeInto(contentUnit(kAddCodeEdit), "orphan");
    typeInto(contentUnit(kAddDescriptionEdit), "无处可放");
    pressAndWait(kAddContentButton, 1);
    EXPECT_EQ(lastBox().caption, "添加内容");
    EXPECT_EQ(lastBox().icon, platform::MB_ICONEXCLAMATION);
    testsupport::Pump(50);
    EXPECT_TRUE(isOpen(kContentWindow));
    EXPECT_EQ(textOf(contentUnit(kAddCodeEdit)), "orphan");
    EXPECT_THAT(FileRows("SELECT count(*) FROM cntext"), ElementsAre("0"));
}

// Another process's sqlite3 holding the file's write lock until told to
// let go.
class LockHolder {
public:
    explicit LockHolder(const std::string& file)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char program[] = "sqlite3";
        std::string path = file;
        char* argv[] = {program, path.data(), nullptr};
        if (posix_spawnp(&m_pid, program, &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        m_in = in[1];
        m_out = out[0];
        say("BEGIN EXCLUSIVE;\nSELECT 'held';\n");
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // True once the other process says it holds the lock.
    bool held()
    {
        std::string seen;
        char buffer[64];
        pollfd p{.fd = m_out, .events = POLLIN};
        while (seen.find("held") == std::string::npos && poll(&p, 1, 5000) == 1) {
            ssize_t n = read(m_out, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            seen.append(buffer, std::size_t(n));
        }
        return seen.find("held") != std::string::npos;
    }
    void release()
    {
        if (m_pid <= 0)
            return;
        say("ROLLBACK;\n.quit\n");
        close(m_in);
        close(m_out);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    void say(const char* text)
    {
        if (m_in >= 0 && write(m_in, text, std::strlen(text)) < 0)
            m_in = -1;
    }
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
};

// Longer than the driver waits for a lock: the add fails, says so, and
// keeps what was typed; once the lock is gone the same window adds it.
TEST_F(ContentManagement, ALockedCatalogueLosesNothingTyped)
{
    open({{1, "A", 0, 0}}, {});
    chooseFromListMenu(kAddEntry);
    ASSERT_TRUE(isOpen(kContentWindow));
    typeInto(contentUnit(kAddCodeEdit), "锁住时");
    typeInto(contentUnit(kAddDescriptionEdit), "等待");
    LockHolder lock(cataloguetest::CatalogueFile());
    ASSERT_TRUE(lock.held());
    pressAndWait(kAddContentButton, 1, 40000);
    expectBox("添加失败！", "失败", platform::MB_ICONASTERISK);
    testsupport::Pump(50);
    EXPECT_TRUE(isOpen(kContentWindow));
    EXPECT_EQ(textOf(contentUnit(kAddCodeEdit)), "锁住时");
    EXPECT_EQ(textOf(contentUnit(kAddDescriptionEdit)), "等待");

    lock.release();
    pressAndWait(kAddContentButton, 2);
    expectBox("添加成功！", "添加成功", platform::MB_ICONASTERISK);
    EXPECT_THAT(FileRows("SELECT 对应节点, 字符, 描述 FROM cntext"), ElementsAre("A|锁住时|等待"));
    EXPECT_THAT(listed(), ElementsAre("锁住时"));
}

} // namespace
