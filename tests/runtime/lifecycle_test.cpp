// The life of a process, from its entry to its exit, each in a child
// process: the start-up steps, the libraries' notifications, the order of
// the shutdown and the exit codes.

#include "child_output.h"
#include "fake_framework.h"

#include "platform/message_queue.h"
#include "platform/process.h"
#include "runtime/runtime.h"
#include "runtime/services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

using runtimetest::ErrorBox;
using runtimetest::Mark;
using ::testing::AllOf;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::uint32_t kStartupWindow = 0x52010001; // 1375797249

std::string hex(std::intptr_t v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%lX", long(v));
    return buf;
}

std::intptr_t libraryNotified(const char* name, int message, std::uintptr_t a)
{
    if (message == runtime::kLibraryStarted) {
        auto entry = reinterpret_cast<runtime::ServiceEntry>(a);
        Mark(std::string("start ") + name + " version=" + hex(entry(int(runtime::Service::RuntimeVersion), 0, 0)));
    } else if (message == runtime::kLibraryShutdown) {
        Mark(std::string("end ") + name + " data=" + std::to_string(a));
    }
    return 0;
}

std::intptr_t notifyA(int message, std::uintptr_t a, std::uintptr_t) { return libraryNotified("A", message, a); }
std::intptr_t notifyC(int message, std::uintptr_t a, std::uintptr_t) { return libraryNotified("C", message, a); }

const runtime::LibraryDescriptor kLibraryA{"A", 1, notifyA, {}};
const runtime::LibraryDescriptor kLibraryB{"B", 2, nullptr, {}}; // wants no notifications
const runtime::LibraryDescriptor kLibraryC{"C", 3, notifyC, {}};
const runtime::LibraryDescriptor* const kLibraries[] = {&kLibraryA, &kLibraryB, &kLibraryC};

runtime::ProgramInfo programWithLibraries()
{
    runtime::ProgramInfo info;
    info.libraries = kLibraries;
    return info;
}

int g_argc = 1;
char g_arg0[] = "runtime_tests";
char* g_argv[] = {g_arg0, nullptr};

[[noreturn]] void runProcess(runtime::StartRoutine start, const runtime::ProgramInfo& info = programWithLibraries())
{
    static runtime::ProgramInfo program;
    program = info;
    runtimetest::AnswerBoxesOnStderr();
    runtime::TheRuntime().processEntry(g_argc, g_argv, program, runtimetest::TheFakeFramework(), start);
}

int g_cleanupRuns = 0;
void countedCleanup()
{
    Mark("cleanup " + std::to_string(++g_cleanupRuns));
}
void secondCleanup()
{
    Mark("second cleanup");
}
void markCleanup()
{
    Mark("cleanup ran");
}

class Closable : public runtime::ClosableObject {
public:
    Closable(std::string name, bool throws) : m_name(std::move(name)), m_throws(throws) {}
    ~Closable() override { Mark("delete " + m_name); }
    void close() override
    {
        Mark("close " + m_name);
        if (m_throws)
            throw std::runtime_error("close failed");
    }

private:
    std::string m_name;
    bool m_throws;
};

class Owned : public runtime::OwnedObject {
public:
    ~Owned() override { Mark("owned deleted"); }
};

void removePlayer()
{
    Mark("remove player");
}

TEST(Lifecycle, StartUpAndShutdownInTheirOrder)
{
    const std::string expected = "start A version=0x70005\n"
                                 "start C version=0x70005\n"
                                 "libraries=3\n"
                                 "loop returned\n"
                                 "cleanup 1\n"
                                 "second cleanup\n"
                                 "end A data=0\n"
                                 "end C data=0\n"
                                 "close X\n"
                                 "delete X\n"
                                 "close Y\n"
                                 "delete Y\n"
                                 "close Z\n"
                                 "delete Z\n"
                                 "owned deleted\n"
                                 "remove player\n";
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    Mark("libraries=" + std::to_string(runtime::TheRuntime().libraries().size()));
                    runtime::RegisterCleanup(countedCleanup);
                    runtime::RegisterCleanup(secondCleanup);
                    runtime::RegisterCleanup(countedCleanup);
                    runtime::Runtime& rt = runtime::TheRuntime();
                    rt.registerClosable(new Closable("X", false), 0);
                    rt.registerClosable(new Closable("Y", true), 0);
                    rt.registerClosable(new Closable("Z", false), 0);
                    rt.addOwnedObject(std::make_unique<Owned>());
                    runtime::CallService(runtime::Service::RegisterNamedRoutine, std::uintptr_t("RemovePlayer"),
                                         std::uintptr_t(&removePlayer));
                    // No window is open: the main loop is not entered.
                    runtime::RunMainLoop();
                    Mark("loop returned");
                    return 0;
                }),
                ExitedWithCode(0), AllOf(HasSubstr(expected), Not(HasSubstr("cleanup 2"))));
}

TEST(Lifecycle, MissingStartupWindowIsARuntimeError)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(markCleanup);
                    runtime::LoadStartupWindow(kStartupWindow);
                    Mark("returned");
                    return 0;
                }),
                ExitedWithCode(255),
                AllOf(HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n"
                                         "未找到所指定的窗口\r\n")),
                      HasSubstr("end C data=0"), Not(HasSubstr("returned")), Not(HasSubstr("cleanup ran"))));
}

TEST(Lifecycle, StartupWindowThatCannotBeCreatedIsARuntimeError)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtimetest::AddFakeWindow(kStartupWindow, "启动窗口", 0x06010002);
                    runtime::LoadStartupWindow(kStartupWindow);
                    Mark("returned");
                    return 0;
                }),
                ExitedWithCode(255),
                AllOf(HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n"
                                         "\"启动窗口\"\r\n\"启动窗口\"\r\n")),
                      Not(HasSubstr("returned"))));
}

TEST(Lifecycle, UnreadableTemplateBlockIsARuntimeError)
{
    static const std::uint8_t block[] = {1, 2, 3};
    runtime::ProgramInfo info = programWithLibraries();
    info.templateBlock = block;
    info.templateBlockSize = sizeof block;
    EXPECT_EXIT(
        {
            runtimetest::TheFakeFramework().templateError = "模板块长度不符";
            runProcess(
                [] {
                    runtime::StartRuntime();
                    Mark("returned");
                    return 0;
                },
                info);
        },
        ExitedWithCode(255),
        AllOf(HasSubstr(ErrorBox("运行时出错!\r\n\r\n错误信息：模板块长度不符\r\n\r\n0, 0\r\n")),
              Not(HasSubstr("returned"))));
}

TEST(Lifecycle, ProgramPathsAndTheCurrentDirectory)
{
    std::string exe = platform::GetModuleFileName();
    std::string dir = exe.substr(0, exe.rfind('/'));
    std::string file = exe.substr(exe.rfind('/') + 1);
    const std::string expected = "dir=" + dir + "\nfile=" + file + "\nmodule=" + dir + "/\ncwd=" + dir + "\n";
    EXPECT_EXIT(
        {
            // Started from elsewhere, the program works in its own directory.
            if (chdir("/") != 0)
                Mark("chdir failed");
            runProcess([] {
                runtime::StartRuntime();
                runtime::Runtime& rt = runtime::TheRuntime();
                Mark("dir=" + rt.programDirectory() + "\nfile=" + rt.programFileName() + "\nmodule=" +
                     rt.moduleDirectory() + "\ncwd=" + platform::GetCurrentDirectory());
                return 0;
            });
        },
        ExitedWithCode(0), HasSubstr(expected));
}

TEST(Lifecycle, StartRoutineReportingSuccessLeavesTheLoopToTheEntry)
{
    // The loop then runs until the quit message, whose code ends the process.
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(markCleanup);
                    platform::PostQuitMessage(3);
                    return 1;
                }),
                ExitedWithCode(3), AllOf(HasSubstr("cleanup ran"), HasSubstr("end C data=0")));
}

TEST(Lifecycle, EndProgramShutsDownWithItsCode)
{
    EXPECT_EXIT(runProcess([]() -> int {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(markCleanup);
                    runtime::EndProgram(5);
                }),
                ExitedWithCode(5), AllOf(HasSubstr("cleanup ran\nend A data=0\nend C data=0")));
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::RegisterCleanup(markCleanup);
                    runtime::CallService(runtime::Service::EndProgram, 6);
                    return 0;
                }),
                ExitedWithCode(6), HasSubstr("cleanup ran"));
}

platform::ThreadId g_mainThread = 0;

void markCleanupThread()
{
    Mark("cleanup on main thread=" + std::to_string(platform::GetCurrentThreadId() == g_mainThread));
}

TEST(Lifecycle, EndProgramFromAnotherThreadEndsThroughTheMainThread)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    g_mainThread = platform::GetCurrentThreadId();
                    runtime::RegisterCleanup(markCleanupThread);
                    std::thread([] {
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                        runtime::EndProgram(7);
                    }).detach();
                    return 1; // the main loop waits for messages
                }),
                ExitedWithCode(7), AllOf(HasSubstr("cleanup on main thread=1"), HasSubstr("end C data=0")));
}

// Asked to close during the shutdown, it has another thread call EndProgram.
class EndsFromAnotherThread : public runtime::ClosableObject {
public:
    void close() override
    {
        std::thread([] { runtime::EndProgram(9); }).detach();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Mark("close done");
    }
    ~EndsFromAnotherThread() override { Mark("deleted"); }
};

TEST(Lifecycle, EndProgramFromAnotherThreadDuringTheShutdownLeavesTheEndToTheMainThread)
{
    EXPECT_EXIT(runProcess([] {
                    runtime::StartRuntime();
                    runtime::TheRuntime().registerClosable(new EndsFromAnotherThread, 0);
                    return 0;
                }),
                ExitedWithCode(0), HasSubstr("close done\ndeleted\n"));
}

} // namespace
