// Processes that open windows, each in a child process: the start-up
// window, the quit on the last window, and what the shutdown does to them.

#include "child_output.h"
#include "support/test_kinds.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "runtime/runtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using runtime::HandlerResult;
using runtime::TypedValue;
using runtimetest::Mark;
using ::testing::AllOf;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::uint32_t kStartup = 0x52000401, kStartupOwn = 0x06000401;
constexpr std::uint32_t kOther = 0x52000402, kOtherOwn = 0x06000402;
constexpr std::int32_t kLoadEvent = 0;
constexpr std::int32_t kIdleEvent = 7;

Handlers& handlers()
{
    static Handlers h;
    return h;
}

ui::UnitRecord windowWith(std::uint32_t own, std::int32_t event, runtime::HandlerFunction f)
{
    ui::UnitRecord w = WindowRecord(own, 100, 60);
    if (f)
        Bind(w, event, handlers().at(handlers().add("handler", f)));
    return w;
}

int g_argc = 1;
char g_arg0[] = "runtime_window_tests";
char* g_argv[] = {g_arg0, nullptr};

[[noreturn]] void runProcess(runtime::StartRoutine start)
{
    static runtime::ProgramInfo program;
    runtimetest::AnswerBoxesOnStderr();
    InstallTestKinds();
    runtime::TheRuntime().processEntry(g_argc, g_argv, program, ui::TheFramework(), start);
}

void markCleanup()
{
    Mark("cleanup ran");
}

void markIdle(void*)
{
    Mark("idle phase");
}

HandlerResult closeSelf(std::span<const TypedValue>)
{
    Mark("load event");
    platform::DestroyWindow(HandleOf(kStartup));
    return HandlerResult::none();
}

TEST(WindowLifecycle, StartupWindowClosingInItsLoadEventNeverEntersTheLoop)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(markCleanup);
                    AddWindow(kStartup, {windowWith(kStartupOwn, kLoadEvent, closeSelf)});
                    // The loop would call this before anything else.
                    runtime::TheRuntime().registerIdleCallback(runtime::TheRuntime().hiddenOwner(), markIdle, nullptr);
                    runtime::LoadStartupWindow(kStartup);
                    Mark("startup window loaded");
                    runtime::RunMainLoop();
                    Mark("start routine returns");
                    return 0;
                }),
                ExitedWithCode(0),
                AllOf(HasSubstr("load event\nstartup window loaded\nstart routine returns\ncleanup ran\n"),
                      Not(HasSubstr("idle phase"))));
}

HandlerResult closeOnIdle(std::span<const TypedValue>)
{
    Mark("closing the last window");
    platform::DestroyWindow(HandleOf(kStartup));
    return HandlerResult::logical(false);
}

TEST(WindowLifecycle, TheQuitComesWithTheLastWindowOnlyOnceTheLoopRuns)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    AddWindow(kOther, {windowWith(kOtherOwn, kLoadEvent, nullptr)});
                    AddWindow(kStartup, {windowWith(kStartupOwn, kIdleEvent, closeOnIdle)});
                    // Every window closed before the main loop: no quit.
                    ui::TheFramework().openWindow(kOther, nullptr, false);
                    platform::DestroyWindow(HandleOf(kOther));
                    runtime::TheRuntime().processPendingMessages();
                    platform::Msg msg;
                    bool quit = platform::PeekMessage(msg, platform::PM_NOREMOVE) && msg.message == platform::WM_QUIT;
                    Mark("quit before the loop=" + std::to_string(quit));
                    runtime::LoadStartupWindow(kStartup);
                    runtime::RunMainLoop();
                    Mark("main loop ended");
                    return 0;
                }),
                ExitedWithCode(0), HasSubstr("quit before the loop=0\nclosing the last window\nmain loop ended\n"));
}

platform::Hwnd g_startupHandle = platform::Hwnd::Null;

void reportWindowsAtCleanup()
{
    Mark("cleanup: windows=" + std::to_string(runtime::TheRuntime().windows().size()) +
         " open=" + std::to_string(platform::IsWindow(g_startupHandle)) +
         " suppressed=" + std::to_string(runtime::TheRuntime().eventsSuppressed()));
}

HandlerResult endOnIdle(std::span<const TypedValue>)
{
    g_startupHandle = HandleOf(kStartup);
    runtime::EndProgram(3);
}

TEST(WindowLifecycle, ShutdownDestroysTheWindowsBeforeTheCleanups)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(reportWindowsAtCleanup);
                    AddWindow(kStartup, {windowWith(kStartupOwn, kIdleEvent, endOnIdle)});
                    runtime::LoadStartupWindow(kStartup);
                    runtime::RunMainLoop();
                    return 0;
                }),
                ExitedWithCode(3), HasSubstr("cleanup: windows=0 open=0 suppressed=1\n"));
}

} // namespace
