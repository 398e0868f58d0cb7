#include "runtime/commands/database_list.h"

#include <gtest/gtest.h>

namespace {

using runtime::DatabaseList;

DatabaseList threeOpen()
{
    DatabaseList list;
    list.add({{"a.edb", "first", ""}});
    list.add({{"b.edb", "second", "shared"}});
    list.add({{"c.edb", "third", "shared"}});
    return list;
}

TEST(DatabaseList, ThirdNamesAreSearchedFirstFromTheMostRecent)
{
    DatabaseList list = threeOpen();
    EXPECT_TRUE(list.close("SHARED"));
    ASSERT_EQ(list.entries().size(), 2u);
    EXPECT_EQ(list.entries()[1].names[0], "b.edb");
    EXPECT_EQ(list.current(), -1); // the current one was closed
}

TEST(DatabaseList, SecondThenFirstNames)
{
    DatabaseList list = threeOpen();
    EXPECT_TRUE(list.close("First"));
    EXPECT_EQ(list.entries().front().names[0], "b.edb");
    EXPECT_EQ(list.current(), 1); // it lay before the current one
    EXPECT_TRUE(list.close("C.EDB"));
    EXPECT_FALSE(list.close("missing"));
}

TEST(DatabaseList, EmptyNameClosesTheCurrent)
{
    DatabaseList list = threeOpen();
    EXPECT_TRUE(list.close(""));
    EXPECT_EQ(list.entries().size(), 2u);
    EXPECT_FALSE(list.close(""));
    DatabaseList empty;
    EXPECT_FALSE(empty.close("/data/Menu.edb"));
}

TEST(DatabaseList, CaseIsIgnoredOnlyForAsciiLetters)
{
    EXPECT_TRUE(runtime::SameTextIgnoringCase("Data/Menu.EDB", "data/menu.edb"));
    // The trail byte of 皕 (0xF0 0x41) is not an "A" to fold.
    EXPECT_FALSE(runtime::SameTextIgnoringCase("\xF0\x41", "\xF0\x61"));
    EXPECT_FALSE(runtime::SameTextIgnoringCase("ab", "abc"));
}

} // namespace
