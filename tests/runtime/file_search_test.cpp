#include "runtime/file_search.h"

#include "runtime/memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using runtime::FileSearchHandle;
using runtime::FindFile;

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "velmora-find-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        m_dir = templ;
        for (const char* name : {"one.txt", "two.txt", "note.log", ".secret.txt"})
            std::ofstream(m_dir / name) << name;
        fs::create_directory(m_dir / "folder.txt");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string pattern(const std::string& p) const { return (m_dir / p).string(); }

    // Every name a search gives, until it reports the end.
    std::multiset<std::string> all(const std::string& p, std::uint32_t filter)
    {
        std::multiset<std::string> names;
        FileSearchHandle search = nullptr;
        for (char* name = FindFile(pattern(p).c_str(), filter, search); name; name = FindFile(nullptr, filter, search)) {
            names.insert(name);
            runtime::Free(name);
            if (names.size() > 10)
                break;
        }
        EXPECT_EQ(search, nullptr); // closed and cleared at the end
        return names;
    }

    fs::path m_dir;
};

TEST_F(FileSearch, OrdinaryFilesAlwaysAndSpecialEntriesOnRequest)
{
    EXPECT_EQ(all("*.txt", 0), (std::multiset<std::string>{"one.txt", "two.txt"}));
    EXPECT_EQ(all("*.txt", platform::FILE_ATTRIBUTE_HIDDEN),
              (std::multiset<std::string>{".secret.txt", "one.txt", "two.txt"}));
    EXPECT_EQ(all("*.txt", platform::FILE_ATTRIBUTE_DIRECTORY),
              (std::multiset<std::string>{"folder.txt", "one.txt", "two.txt"}));
    EXPECT_EQ(all("t?o.*", 0), (std::multiset<std::string>{"two.txt"}));
    EXPECT_EQ(all("*.none", 0), (std::multiset<std::string>{}));
    EXPECT_EQ(all("no-such-dir/*", 0), (std::multiset<std::string>{}));
}

TEST_F(FileSearch, ANewPatternRestartsAndAnEmptyOneContinues)
{
    FileSearchHandle search = nullptr;
    EXPECT_EQ(FindFile("", 0, search), nullptr); // nothing to continue
    char* first = FindFile(pattern("*.log").c_str(), 0, search);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "note.log");
    EXPECT_NE(search, nullptr);
    runtime::Free(first);

    // A new pattern while a search is open closes it and starts again.
    char* again = FindFile(pattern("one.*").c_str(), 0, search);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "one.txt");
    runtime::Free(again);
    EXPECT_EQ(FindFile("", 0, search), nullptr);
    EXPECT_EQ(search, nullptr);

    ASSERT_NE(first = FindFile(pattern("*.txt").c_str(), 0, search), nullptr);
    runtime::Free(first);
    runtime::CloseFileSearch(search);
    EXPECT_EQ(search, nullptr);
    runtime::CloseFileSearch(search);
    EXPECT_EQ(FindFile(nullptr, 0, search), nullptr);
}

} // namespace
