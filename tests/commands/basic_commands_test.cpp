#include "runtime/commands/basic_commands.h"

#include "platform/messages.h"
#include "platform/process.h"
#include "platform/text_codec.h"
#include "platform/window.h"
#include "platform/testing/ui_driver.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "runtime/value_text.h"
#include "support/test_kinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace {

using runtime::TypedValue;
namespace rc = runtime::commands;
using platform::testing::MessageBoxInfo;

class BasicCommands : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartRuntimeInProcess(); }
    void TearDown() override { platform::testing::StopAnsweringMessageBoxes(); }
};

TEST_F(BasicCommands, InfoBoxAddsTaskModalAndTheDefaultCaption)
{
    MessageBoxInfo seen;
    platform::testing::AnswerMessageBoxes([&](const MessageBoxInfo& info) {
        seen = info;
        return platform::IDOK;
    });
    TypedValue args[] = {TypedValue::integer(42), TypedValue::integer(0x40)};
    EXPECT_EQ(rc::InfoBox(args).asInt(), 0);
    EXPECT_EQ(seen.text, "42");
    EXPECT_EQ(seen.caption, "信息：");
    EXPECT_EQ(seen.style, 0x2040u);

    TypedValue system[] = {TypedValue::text("x"), TypedValue::integer(0x1000 | 0x30), TypedValue::text("标题")};
    rc::InfoBox(system);
    EXPECT_EQ(seen.style, 0x1030u);
    EXPECT_EQ(seen.caption, "标题");
}

TEST_F(BasicCommands, InfoBoxAnswersMapToTheirNumbers)
{
    struct Case {
        std::uint32_t buttons;
        int press;
        int result;
    };
    for (Case c : {Case{1, platform::IDOK, 0}, {1, platform::IDCANCEL, 1}, {2, platform::IDABORT, 2},
                   {2, platform::IDRETRY, 3}, {2, platform::IDIGNORE, 4}, {3, platform::IDYES, 5},
                   {4, platform::IDNO, 6}}) {
        platform::testing::AnswerMessageBoxes([&](const MessageBoxInfo&) { return c.press; });
        TypedValue args[] = {TypedValue::text("?"), TypedValue::integer(std::int32_t(c.buttons))};
        EXPECT_EQ(rc::InfoBox(args).asInt(), c.result) << c.buttons << " " << c.press;
    }
    // Closing a box with a Cancel button counts as Cancel.
    platform::testing::AnswerMessageBoxes([](const MessageBoxInfo&) { return 0; });
    TypedValue args[] = {TypedValue::text("?"), TypedValue::integer(0x21)};
    EXPECT_EQ(rc::InfoBox(args).asInt(), 1);
}

TEST_F(BasicCommands, ProgramDirectoryHasNoTrailingSlash)
{
    TypedValue dir = rc::ProgramDirectory({});
    std::string d(runtime::TextOf(dir.asText()));
    runtime::FreeValue(dir);
    std::string module = platform::GetModuleDirectory();
    EXPECT_EQ(d + "/", module);
    EXPECT_EQ(platform::GetCurrentDirectory(), d);
}

TEST_F(BasicCommands, CurrentDateTimeIsNowInWholeSeconds)
{
    std::time_t before = std::time(nullptr);
    TypedValue now = rc::CurrentDateTime({});
    std::tm local{};
    localtime_r(&before, &local);
    runtime::DateTimeFields f = runtime::SplitDateTime(now.asDateTime());
    EXPECT_EQ(f.year, local.tm_year + 1900);
    EXPECT_EQ(f.month, local.tm_mon + 1);
    EXPECT_EQ(f.day, local.tm_mday);
    double seconds = now.asDateTime() * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-3);
}

TEST_F(BasicCommands, LoadWindowAnswersFalseForWhatCannotLoad)
{
    TypedValue unknown = TypedValue::unit({0x52FFFFF1, 0x06FFFFF1}, 0x00010001);
    EXPECT_FALSE(rc::LoadWindow(std::span(&unknown, 1)).asLogical());

    testsupport::AddWindow(0x52000301, {testsupport::WindowRecord(0x06000301)});
    testsupport::AddWindow(0x52000302, {testsupport::WindowRecord(0x06000302)});
    // An owner that is not loaded: nothing is loaded.
    TypedValue withOwner[] = {TypedValue::unit({0x52000301, 0x06000301}, 0x00010001),
                              TypedValue::unit({0x52000302, 0x06000302}, 0x00010001)};
    EXPECT_FALSE(rc::LoadWindow(withOwner).asLogical());
    EXPECT_FALSE(platform::IsWindow(testsupport::HandleOf(0x52000301)));

    TypedValue plain = withOwner[1];
    EXPECT_TRUE(rc::LoadWindow(std::span(&plain, 1)).asLogical());
    EXPECT_TRUE(rc::LoadWindow(withOwner).asLogical());
    platform::Hwnd owned = testsupport::HandleOf(0x52000301);
    ASSERT_TRUE(platform::IsWindow(owned));
    EXPECT_EQ(platform::GetOwner(owned), testsupport::HandleOf(0x52000302));
    ui::TheFramework().window(0x52000301)->destroyLive();
    ui::TheFramework().window(0x52000302)->destroyLive();
}

TEST_F(BasicCommands, RefreshDisplayOfAUnitNotLoadedIsARuntimeError)
{
    EXPECT_EXIT(
        {
            platform::testing::AnswerMessageBoxes([](const MessageBoxInfo& info) {
                if (info.text.find("指定窗口或窗口组件不存在或尚未载入") != std::string::npos && info.caption == "错误")
                    std::fprintf(stderr, "the error box named the unit\n");
                return platform::IDOK;
            });
            TypedValue ref = TypedValue::unit({0x52000401, 0x16000402}, 0x00010005);
            rc::RefreshDisplay(std::span(&ref, 1));
        },
        ::testing::ExitedWithCode(255), "the error box named the unit");
}

} // namespace

namespace {

TEST_F(BasicCommands, ExternalCommandsResolveOnceByTheirLibrary)
{
    const char* files[] = {"libm.so.6", ""};
    const char* names[] = {"cos", "cos"};
    runtime::TheRuntime().defineExternalCommands(files, names);
    void* first = runtime::TheRuntime().callExternalCommand(0);
    ASSERT_NE(first, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(first);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(runtime::TheRuntime().callExternalCommand(0), first);
}

TEST_F(BasicCommands, AnExternalCommandThatCannotBeFoundIsARuntimeError)
{
    auto expectError = [](const char* file, const char* name, const char* text) {
        EXPECT_EXIT(
            {
                const char* files[] = {file};
                const char* names[] = {name};
                runtime::TheRuntime().defineExternalCommands(files, names);
                platform::testing::AnswerMessageBoxes([text](const MessageBoxInfo& info) {
                    if (info.text.find(text) != std::string::npos)
                        std::fprintf(stderr, "the box said what was missing\n");
                    return platform::IDOK;
                });
                runtime::TheRuntime().callExternalCommand(0);
            },
            ::testing::ExitedWithCode(255), "the box said what was missing");
    };
    expectError("libm.so.6", "no_such_export", "无法找到指定DLL库文件“libm.so.6”中的输出命令“no_such_export”");
    expectError("", "Beep", "无法找到指定DLL库文件中的输出命令“Beep”");
}

} // namespace
