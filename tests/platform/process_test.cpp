// The process, file search, the library loader and the component stand-ins.

#include "platform/file_search.h"
#include "platform/library_loader.h"
#include "platform/ole.h"
#include "platform/process.h"
#include "platform/text_codec.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <unistd.h>

namespace {

using namespace platform;

int g_mutable = 1;

TEST(Process, ProgramPathAndModuleDirectory)
{
    std::string path = GetModuleFileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(FileExists(path));
    std::string dir = GetModuleDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(path.substr(0, dir.size()), dir);
    EXPECT_EQ(path.find('/', dir.size()), std::string::npos);
}

TEST(Process, CurrentDirectoryRoundTripsAndRefusesBadPaths)
{
    std::string before = GetCurrentDirectory();
    ASSERT_FALSE(before.empty());
    char made[] = "/tmp/vel-cwd-XXXXXX";
    ASSERT_NE(mkdtemp(made), nullptr);
    EXPECT_TRUE(SetCurrentDirectory(made));
    EXPECT_EQ(GetCurrentDirectory(), made);
    EXPECT_FALSE(SetCurrentDirectory(""));
    EXPECT_FALSE(SetCurrentDirectory(std::string(made) + "/missing"));
    EXPECT_EQ(GetCurrentDirectory(), made);
    EXPECT_TRUE(SetCurrentDirectory(before));
    rmdir(made);
}

TEST(Process, TickCountAdvancesWithTime)
{
    std::uint32_t start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    std::uint32_t elapsed = GetTickCount() - start; // wraps like the counter
    EXPECT_GE(elapsed, 30u);
}

TEST(Process, ThreadIdsTellThreadsApart)
{
    ThreadId mine = GetCurrentThreadId();
    EXPECT_EQ(GetCurrentThreadId(), mine);
    ThreadId other = 0;
    std::thread([&] { other = GetCurrentThreadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, mine);
}

TEST(Process, HeapBlocks)
{
    void* a = HeapAlloc(0);
    void* b = HeapAlloc(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    auto* text = static_cast<char*>(HeapAlloc(6));
    std::memcpy(text, "abcde", 6);
    text = static_cast<char*>(HeapReAlloc(text, 4096));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "abcde");
    text = static_cast<char*>(HeapReAlloc(text, 3));
    EXPECT_EQ(std::string(text, 3), "abc");
    HeapFree(text);
    HeapFree(a);
    HeapFree(b);
    HeapFree(nullptr);
    EXPECT_EQ(HeapAlloc(~std::size_t(0) / 2), nullptr); // exhausted: null, no abort
}

TEST(Process, TheReadOnlySegmentHoldsTheProgramsLiterals)
{
    static const char literal[] = "常量区";
    const char* other = "elsewhere in the program";
    MemoryRange r = ReadOnlySegmentContaining(literal);
    ASSERT_NE(r.start, nullptr);
    EXPECT_TRUE(r.contains(literal));
    EXPECT_TRUE(r.contains(literal + sizeof literal - 1));
    EXPECT_TRUE(r.contains(other));
    EXPECT_FALSE(r.contains(&g_mutable));
    void* heap = HeapAlloc(16);
    EXPECT_FALSE(r.contains(heap));
    HeapFree(heap);
    int local = 0;
    EXPECT_FALSE(r.contains(&local));
    EXPECT_FALSE(MemoryRange{}.contains(literal));
    EXPECT_EQ(ReadOnlySegmentContaining(nullptr).start, nullptr);
}

TEST(ProcessDeathTest, ExitProcessFlushesOutputAndKeepsTheLowByte)
{
    EXPECT_EXIT(
        {
            static char buffer[256];
            std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
            std::fputs("last words", stderr);
            ExitProcess(3);
        },
        ::testing::ExitedWithCode(3), "last words");
    EXPECT_EXIT(ExitProcess(-1), ::testing::ExitedWithCode(255), "");
}

// ---- file search ----

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char made[] = "/tmp/vel-find-XXXXXX";
        ASSERT_NE(mkdtemp(made), nullptr);
        dir = made;
        for (const char* name : {"a.txt", "b.txt", "ab.txt", "ab.dat", "README", "Upper.TXT", ".hidden", "x[1].txt"})
            touch(name);
        mkdir((dir + "/sub").c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    void touch(const std::string& name)
    {
        std::FILE* f = std::fopen((dir + "/" + name).c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }

    std::set<std::string> find(const std::string& pattern)
    {
        std::set<std::string> names;
        FoundFile first;
        FileSearchHandle h = FindFirstFile(dir + "/" + pattern, first);
        if (!h)
            return names;
        names.insert(first.name);
        while (auto next = FindNextFile(h))
            names.insert(next->name);
        FindClose(h);
        return names;
    }

    std::string dir;
};

TEST_F(FileSearchTest, StarAndQuestionMark)
{
    EXPECT_EQ(find("*.txt"), (std::set<std::string>{"a.txt", "b.txt", "ab.txt", "Upper.TXT", "x[1].txt"}));
    EXPECT_EQ(find("?.txt"), (std::set<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(find("ab.*"), (std::set<std::string>{"ab.txt", "ab.dat"}));
    EXPECT_EQ(find("a?.???"), (std::set<std::string>{"ab.txt", "ab.dat"}));
    EXPECT_EQ(find("README"), (std::set<std::string>{"README"}));
    EXPECT_TRUE(find("*.none").empty());
    EXPECT_TRUE(find("????????????").empty());
}

TEST_F(FileSearchTest, NamesCompareWithoutCaseAndBracketsAreLiteral)
{
    EXPECT_EQ(find("UPPER.txt"), (std::set<std::string>{"Upper.TXT"}));
    EXPECT_EQ(find("A.TXT"), (std::set<std::string>{"a.txt"}));
    EXPECT_EQ(find("x[1].txt"), (std::set<std::string>{"x[1].txt"}));
    EXPECT_EQ(find("x[1]*"), (std::set<std::string>{"x[1].txt"}));
}

TEST_F(FileSearchTest, StarDotStarMatchesNamesWithoutExtensionToo)
{
    std::set<std::string> all = find("*.*");
    EXPECT_TRUE(all.count("README"));
    EXPECT_TRUE(all.count("a.txt"));
    EXPECT_TRUE(all.count("sub"));
    EXPECT_EQ(all, find("*"));
}

TEST_F(FileSearchTest, AttributesAndTheDotEntries)
{
    FoundFile first;
    FileSearchHandle h = FindFirstFile(dir + "/*", first);
    ASSERT_NE(h, nullptr);
    std::vector<FoundFile> all{first};
    while (auto next = FindNextFile(h))
        all.push_back(*next);
    FindClose(h);
    auto named = [&](const std::string& n) {
        return *std::find_if(all.begin(), all.end(), [&](const FoundFile& f) { return f.name == n; });
    };
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const FoundFile& f) { return f.name == "." || f.name == ".."; }), 0);
    EXPECT_TRUE(named("sub").attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(named("a.txt").attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(named(".hidden").attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(named("a.txt").attributes & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FileSearchTest, NoMatchAndBadPatternsGiveNoSearch)
{
    FoundFile f;
    EXPECT_EQ(FindFirstFile(dir + "/nothing*", f), nullptr);
    EXPECT_EQ(FindFirstFile(dir + "/missing/*", f), nullptr);
    EXPECT_EQ(FindFirstFile(dir + "/", f), nullptr);
    EXPECT_EQ(FindFirstFile("", f), nullptr);
    EXPECT_FALSE(FindNextFile(nullptr).has_value());
    FindClose(nullptr);
}

TEST_F(FileSearchTest, APatternWithoutDirectorySearchesTheCurrentOne)
{
    std::string before = GetCurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectory(dir));
    FoundFile f;
    FileSearchHandle h = FindFirstFile("READ*", f);
    SetCurrentDirectory(before);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(f.name, "README");
    EXPECT_FALSE(FindNextFile(h).has_value());
    FindClose(h);
}

// ---- libraries ----

TEST(LibraryLoader, LoadsLooksUpAndFrees)
{
    Module m = LoadLibrary("libm.so.6");
    ASSERT_NE(m, Module::Null);
    auto* cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(m, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(m, "no_such_export_here"), nullptr);
    EXPECT_EQ(GetProcAddress(m, "#1"), nullptr); // no ordinals
    EXPECT_EQ(GetProcAddress(m, ""), nullptr);
    EXPECT_TRUE(FreeLibrary(m));
}

TEST(LibraryLoader, MissingLibrariesAndFiles)
{
    EXPECT_EQ(LoadLibrary(""), Module::Null);
    EXPECT_EQ(LoadLibrary("/nonexistent/libnothing.so"), Module::Null);
    EXPECT_EQ(GetProcAddress(Module::Null, "cos"), nullptr);
    EXPECT_FALSE(FreeLibrary(Module::Null));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("/tmp"));
    EXPECT_FALSE(FileExists("/nonexistent/file"));
}

// ---- component stand-ins ----

TEST(Components, OleInitialisesOncePerProcess)
{
    EXPECT_FALSE(IsOleInitialized());
    EXPECT_TRUE(OleInitialize());
    EXPECT_TRUE(IsOleInitialized());
    EXPECT_FALSE(OleInitialize());
    OleUninitialize();
    EXPECT_FALSE(IsOleInitialized());
    EXPECT_TRUE(OleInitialize());
    OleUninitialize();
    // A type library cannot be registered here; both directions fail quietly.
    EXPECT_FALSE(RegisterTypeLib("/tmp/none.tlb"));
    EXPECT_FALSE(UnRegisterTypeLib("{00000000-0000-0000-0000-000000000000}", 1, 0, 0));
    WSACleanup();
}

} // namespace

namespace {

// Names on disk are UTF-8; the system sees them as GBK, both ways.
TEST(SystemPaths, ChineseNamesCrossTheBoundaryAsGbk)
{
    char made[] = "/tmp/vel-gbk-XXXXXX";
    ASSERT_NE(mkdtemp(made), nullptr);
    std::string dir = made;
    std::string utf8Name = platform::GbkToUtf8("类别.txt");
    std::FILE* f = std::fopen((dir + "/" + utf8Name).c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    platform::FoundFile first;
    platform::FileSearchHandle h = platform::FindFirstFile(dir + "/类*.txt", first);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(first.name, "类别.txt");
    platform::FindClose(h);
    EXPECT_TRUE(platform::FileExists(dir + "/类别.txt"));

    std::string before = platform::GetCurrentDirectory();
    std::string sub = dir + "/目录";
    ASSERT_EQ(mkdir(platform::GbkToUtf8(sub).c_str(), 0755), 0);
    ASSERT_TRUE(platform::SetCurrentDirectory(sub));
    EXPECT_EQ(platform::GetCurrentDirectory(), sub);
    platform::SetCurrentDirectory(before);
    std::system(("rm -rf '" + dir + "'").c_str());
}

} // namespace
