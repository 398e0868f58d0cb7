// The main of every test program: the platform comes up headless, and a
// message box or pop-up menu that no test answers fails the running test
// instead of waiting for ever.

#include "platform/testing/ui_driver.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::testing::InitializeHeadless(argc, argv);
    platform::testing::InstallModalWatchdog([](const std::string& what) { ADD_FAILURE() << what; });
    return RUN_ALL_TESTS();
}
