#include "child_output.h"
#include "fake_framework.h"

#include "runtime/runtime.h"
#include "runtime/runtime_error.h"
#include "runtime/services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using runtime::BuildErrorBoxText;
using runtime::BuildErrorDetail;
using runtimetest::ErrorBox;
using runtimetest::FakeWindow;
using ::testing::AllOf;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::uint32_t kWindow = 0x52000007;   // 1375731719
constexpr std::uint32_t kOwnUnit = 0x06000008;  // 100663304
constexpr std::uint32_t kEdit = 0x16000009;     // 369098761
constexpr std::uint32_t kMenuItem = 0x2600000A; // 637534218

runtime::WindowTable tableWithOneWindow()
{
    runtime::WindowTable table;
    auto w = std::make_unique<FakeWindow>(kWindow, "主窗口", kOwnUnit);
    w->unit(kEdit, "编辑框1").unit(kMenuItem, "菜单项", true);
    table[kWindow] = std::move(w);
    return table;
}

TEST(ErrorDetail, IdsLineAndNoWindowLinesForOtherIds)
{
    runtime::WindowTable table = tableWithOneWindow();
    // A numbered error's ids are a routine and a position.
    EXPECT_EQ(BuildErrorDetail(table, 77, 88), "\r\n77, 88\r\n");
    EXPECT_EQ(BuildErrorDetail(table, 0, 0), "\r\n0, 0\r\n");
    EXPECT_EQ(BuildErrorDetail(table, 0, kEdit), "\r\n0, 369098761\r\n");
    // A member id in the first place is not a window id.
    EXPECT_EQ(BuildErrorDetail(table, kEdit, 0), "\r\n369098761, 0\r\n");
}

TEST(ErrorDetail, WindowAndUnitNames)
{
    runtime::WindowTable table = tableWithOneWindow();
    EXPECT_EQ(BuildErrorDetail(table, 0x52000099, 0), "\r\n1375731865, 0\r\n未找到所指定的窗口\r\n");
    EXPECT_EQ(BuildErrorDetail(table, kWindow, kEdit), "\r\n1375731719, 369098761\r\n\"主窗口\"\r\n\"编辑框1\"\r\n");
    // Unit id 0 stands for the window's own unit.
    EXPECT_EQ(BuildErrorDetail(table, kWindow, 0), "\r\n1375731719, 0\r\n\"主窗口\"\r\n\"主窗口\"\r\n");
    EXPECT_EQ(BuildErrorDetail(table, kWindow, kMenuItem),
              "\r\n1375731719, 637534218\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n");
    EXPECT_EQ(BuildErrorDetail(table, kWindow, 0x16000500),
              "\r\n1375731719, 369100032\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n");
}

TEST(ErrorBoxText, CodeAndMessageLinesOnlyWhenPresent)
{
    EXPECT_EQ(BuildErrorBoxText("消息", 2, "\r\n1, 2\r\n"),
              "运行时出错!\r\n\r\n错误代码：2\r\n\r\n错误信息：消息\r\n\r\n1, 2\r\n");
    EXPECT_EQ(BuildErrorBoxText("", 5, "\r\n1, 2\r\n"), "运行时出错!\r\n\r\n错误代码：5\r\n\r\n1, 2\r\n");
    EXPECT_EQ(BuildErrorBoxText("消息", 0, "\r\n0, 0\r\n"), "运行时出错!\r\n\r\n错误信息：消息\r\n\r\n0, 0\r\n");
    EXPECT_EQ(BuildErrorBoxText("", 0, "\r\n0, 0\r\n"), "运行时出错!\r\n\r\n0, 0\r\n");
    EXPECT_EQ(BuildErrorBoxText("", -3, ""), "运行时出错!\r\n\r\n错误代码：-3\r\n");
}

TEST(ErrorBoxText, NumberedMessages)
{
    EXPECT_EQ(runtime::NumberedErrorMessage(1), "数组成员引用下标超出定义范围");
    EXPECT_EQ(runtime::NumberedErrorMessage(2), "未得到所需要的数值型数据");
    EXPECT_EQ(runtime::NumberedErrorMessage(5), "数据或数组类型不匹配");
    EXPECT_EQ(runtime::NumberedErrorMessage(11), "所提供参数的数据类型不符合要求");
    EXPECT_EQ(runtime::NumberedErrorMessage(0), "");
    EXPECT_EQ(runtime::NumberedErrorMessage(12), "");
    EXPECT_EQ(runtime::NumberedErrorMessage(-1), "");
    EXPECT_EQ(runtime::MemoryFailureMessage(123), "分配 123 字节内存失败!");
}

// ---- whole reports, each in a child process -------------------------------

void markCleanup()
{
    runtimetest::Mark("cleanup ran");
}

std::int32_t g_hookAnswer = 0;
int g_hookCalls = 0;

std::int32_t recordingHook(std::int32_t code, const char* message)
{
    ++g_hookCalls;
    runtimetest::Mark("[hook#" + std::to_string(g_hookCalls) + " code=" + std::to_string(code) +
                      " suppressed=" + std::to_string(runtime::TheRuntime().eventsSuppressed()) + "]" + message +
                      "[/hook]");
    return g_hookAnswer;
}

std::int32_t failingHook(std::int32_t code, const char* message)
{
    recordingHook(code, message);
    runtime::ReportLibraryError("钩子内的错误");
}

TEST(ErrorReport, NumberedErrorShowsTheBoxSkipsCleanupsAndExits255)
{
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::RegisterCleanup(markCleanup);
            runtime::RaiseRuntimeError(2, 77, 88);
        },
        ExitedWithCode(255),
        AllOf(HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误代码：2\r\n\r\n错误信息：未得到所需要的数值型数据\r\n"
                                 "\r\n77, 88\r\n")),
              Not(HasSubstr("cleanup ran"))));
}

TEST(ErrorReport, NamesTheWindowAndUnit)
{
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtimetest::AddFakeWindow(kWindow, "主窗口", kOwnUnit).unit(kEdit, "编辑框1");
            runtime::ReportRuntimeError(runtime::error_text::kUnitNotLoaded, 0, kWindow, kEdit);
        },
        ExitedWithCode(255),
        HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"
                           "\r\n1375731719, 369098761\r\n\"主窗口\"\r\n\"编辑框1\"\r\n")));
}

TEST(ErrorReport, HookSeesTheTextAndANonZeroAnswerSuppressesOnlyTheBox)
{
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::RegisterCleanup(markCleanup);
            g_hookAnswer = 1;
            runtime::TheRuntime().setErrorHook(recordingHook);
            runtime::RaiseRuntimeError(5, 3, 4);
        },
        ExitedWithCode(255),
        AllOf(HasSubstr("[hook#1 code=5 suppressed=1]数据或数组类型不匹配\r\n3, 4\r\n[/hook]"), Not(HasSubstr("[box")),
              Not(HasSubstr("cleanup ran"))));
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            g_hookAnswer = 0;
            runtime::TheRuntime().setErrorHook(recordingHook);
            runtime::ReportLibraryError("库的错误");
        },
        ExitedWithCode(255),
        AllOf(HasSubstr("[hook#1 code=0 suppressed=1]库的错误\r\n0, 0\r\n[/hook]"),
              HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：库的错误\r\n\r\n0, 0\r\n"))));
}

TEST(ErrorReport, AnErrorInsideTheHookGoesStraightToTheBox)
{
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::TheRuntime().setErrorHook(failingHook);
            runtime::RaiseRuntimeError(1, 0, 0);
        },
        ExitedWithCode(255),
        AllOf(HasSubstr("[hook#1 code=1"), Not(HasSubstr("[hook#2")),
              HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：钩子内的错误\r\n\r\n0, 0\r\n"))));
}

TEST(ErrorReport, LibrariesReportThroughTheirService)
{
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::CallService(runtime::Service::RuntimeError, std::uintptr_t("支持库报告的错误"));
        },
        ExitedWithCode(255), HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：支持库报告的错误\r\n\r\n0, 0\r\n")));
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::CallService(runtime::Service::RuntimeError, 0);
        },
        ExitedWithCode(255), HasSubstr(ErrorBox("运行时出错!\r\n\r\n0, 0\r\n")));
}

} // namespace
