// The services the libraries reach through the runtime's service entry.

#include "child_output.h"
#include "fake_framework.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/window.h"
#include "platform/window_object.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "runtime/services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <thread>

namespace {

using runtime::CallService;
using runtime::Service;
using runtime::TypedValue;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;

std::uintptr_t ptr(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

class Services : public ::testing::Test {
protected:
    void SetUp() override { runtimetest::StartFakeRuntime(); }
    runtime::Runtime& rt() { return runtime::TheRuntime(); }
};

// A plain window whose procedure records what it is sent.
struct Received {
    std::uint32_t message;
    bool suppressed;
};
std::vector<Received> g_received;

platform::LResult recordingProc(platform::Hwnd hwnd, std::uint32_t message, platform::WParam w, platform::LParam l)
{
    if (message >= platform::WM_USER && message < platform::WM_USER + 100)
        g_received.push_back({message, runtime::TheRuntime().eventsSuppressed()});
    return platform::DefWindowProc(hwnd, message, w, l);
}

platform::Hwnd plainWindow()
{
    constexpr const char* kClass = "RuntimeTestPlainWindow";
    if (!platform::IsWindowClassRegistered(kClass)) {
        platform::WindowClass cls;
        cls.name = kClass;
        cls.proc = recordingProc;
        platform::RegisterWindowClass(cls);
    }
    platform::WindowCreateParams p;
    p.className = kClass;
    p.style = platform::WS_POPUP;
    return platform::CreateWindowEx(p);
}

TEST_F(Services, ConvertToInteger)
{
    TypedValue s = TypedValue::shortInt(-300);
    EXPECT_EQ(CallService(Service::ConvertToInteger, ptr(&s)), -300);
    TypedValue d = TypedValue::real64(-7.9);
    EXPECT_EQ(CallService(Service::ConvertToInteger, ptr(&d)), -7);
    TypedValue b = TypedValue::byte(200);
    EXPECT_EQ(CallService(Service::ConvertToInteger, ptr(&b)), 200);
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            TypedValue t = TypedValue::logical(true);
            CallService(Service::ConvertToInteger, ptr(&t));
        },
        ExitedWithCode(255), HasSubstr("错误信息：欲转换数据类型不是数值\r\n"));
}

TEST_F(Services, ProgramPaths)
{
    std::string exe = platform::GetModuleFileName();
    std::string dir = exe.substr(0, exe.rfind('/'));
    EXPECT_STREQ(reinterpret_cast<const char*>(CallService(Service::ProgramDirectory)), dir.c_str());
    EXPECT_STREQ(reinterpret_cast<const char*>(CallService(Service::ProgramFileName)),
                 exe.substr(exe.rfind('/') + 1).c_str());

    char buffer[512];
    runtime::PathBuffer path{buffer, sizeof buffer};
    EXPECT_EQ(CallService(Service::CopyPath, int(runtime::PathKind::DirectoryWithSlash), ptr(&path)),
              std::intptr_t(dir.size() + 1));
    EXPECT_EQ(std::string(buffer), dir + "/");
    CallService(Service::CopyPath, int(runtime::PathKind::FileName), ptr(&path));
    EXPECT_EQ(std::string(buffer), rt().programFileName());
    CallService(Service::CopyPath, 7, ptr(&path));
    EXPECT_STREQ(buffer, "");

    // A short buffer gets what fits, terminated.
    char small[4] = {'x', 'x', 'x', 'x'};
    runtime::PathBuffer shortPath{small, sizeof small};
    EXPECT_EQ(CallService(Service::CopyPath, int(runtime::PathKind::DirectoryWithSlash), ptr(&shortPath)), 3);
    EXPECT_EQ(std::string(small), dir.substr(0, 3));
    EXPECT_EQ(CallService(Service::CopyPath, 0, 0), 0);
    runtime::PathBuffer none{nullptr, 10};
    EXPECT_EQ(CallService(Service::CopyPath, 0, ptr(&none)), 0);
}

TEST_F(Services, ConstantsAndUnknownServices)
{
    EXPECT_EQ(CallService(Service::RuntimeVersion), 0x70005);
    EXPECT_EQ(CallService(Service::RunMode), 3);
    EXPECT_EQ(runtime::RuntimeServiceEntry(0, 1, 2), 0);
    EXPECT_EQ(runtime::RuntimeServiceEntry(-4, 1, 2), 0);
    EXPECT_EQ(runtime::RuntimeServiceEntry(int(Service::Count_), 1, 2), 0);
    EXPECT_EQ(runtime::RuntimeServiceEntry(100000, 1, 2), 0);
}

TEST_F(Services, Memory)
{
    auto* block = reinterpret_cast<char*>(CallService(Service::Allocate, 4));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abc", 4);
    block = reinterpret_cast<char*>(CallService(Service::Reallocate, ptr(block), 4096));
    EXPECT_STREQ(block, "abc");
    CallService(Service::Free, ptr(block));
    CallService(Service::Free, 0);
    EXPECT_EQ(CallService(Service::AllocateOrNull, std::numeric_limits<std::uintptr_t>::max() / 2 + 1), 0);

    const std::uint32_t dims[] = {2};
    void* texts = runtime::NewArray(runtime::ValueType::Text, dims);
    char* items[2] = {runtime::NewText("一"), runtime::NewText("二")};
    std::memcpy(const_cast<std::uint8_t*>(runtime::ArrayView(texts, runtime::ValueType::Text).elements()), items,
                sizeof items);
    CallService(Service::FreeArray, ptr(texts), std::uintptr_t(runtime::ValueType::Text));
}

class Recorder : public runtime::ClosableObject {
public:
    Recorder(std::vector<std::string>& log, std::string name, bool throws)
        : m_log(log), m_name(std::move(name)), m_throws(throws)
    {
    }
    ~Recorder() override { m_log.push_back("delete " + m_name); }
    void close() override
    {
        m_log.push_back("close " + m_name);
        if (m_throws)
            throw std::logic_error("refuses");
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
    bool m_throws;
};

TEST_F(Services, ClosableObjects)
{
    std::vector<std::string> log;
    auto* a = new Recorder(log, "a", false);
    auto* b = new Recorder(log, "b", true);
    auto* c = new Recorder(log, "c", false);
    auto* gone = new Recorder(log, "gone", false);
    CallService(Service::RegisterClosable, ptr(a), 5);
    CallService(Service::RegisterClosable, ptr(a), 9); // once only: the first flag stays
    CallService(Service::RegisterClosable, ptr(b), 0x1FF);
    CallService(Service::RegisterClosable, ptr(gone), 1);
    CallService(Service::RegisterClosable, ptr(c), 2);
    EXPECT_EQ(CallService(Service::QueryClosable, ptr(a)), 5);
    EXPECT_EQ(CallService(Service::QueryClosable, ptr(b)), 0xFF);
    CallService(Service::RemoveClosable, ptr(gone));
    EXPECT_EQ(CallService(Service::QueryClosable, ptr(gone)), -1);
    EXPECT_EQ(CallService(Service::QueryClosable, 0), -1);

    CallService(Service::CloseAllClosables);
    EXPECT_EQ(log, (std::vector<std::string>{"close a", "delete a", "close b", "delete b", "close c", "delete c"}));
    EXPECT_EQ(CallService(Service::QueryClosable, ptr(c)), -1);
    delete gone; // removed, so still ours
}

TEST_F(Services, IconRecords)
{
    void* buffer = runtime::Allocate(64);
    auto* record = reinterpret_cast<runtime::IconRecord*>(
        CallService(Service::AddIconRecord, std::uintptr_t(platform::Icon::Null), ptr(buffer)));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->buffer, buffer);
    EXPECT_EQ(CallService(Service::QueryIconRecord, ptr(record)), 1);
    // Removing frees the buffer and the record; a second removal finds nothing.
    EXPECT_EQ(CallService(Service::RemoveIconRecord, ptr(record)), 1);
    EXPECT_EQ(CallService(Service::QueryIconRecord, ptr(record)), 0);
    EXPECT_EQ(CallService(Service::RemoveIconRecord, ptr(record)), 0);
}

std::vector<int> g_idleCalls;
void idleCallback(void* argument)
{
    int which = int(reinterpret_cast<std::intptr_t>(argument));
    g_idleCalls.push_back(which);
    if (which == 1)
        platform::PostQuitMessage(0);
}

TEST_F(Services, IdleCallbacksOnlyForLiveWindowsAndOncePerWindow)
{
    g_idleCalls.clear();
    platform::Hwnd first = plainWindow();
    platform::Hwnd second = plainWindow();
    platform::Hwnd dead = plainWindow();
    runtime::IdleCallbackRequest request{first, idleCallback, reinterpret_cast<void*>(1)};
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&request)), 1);
    request.argument = reinterpret_cast<void*>(3);
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&request)), 0); // the window has one
    runtime::IdleCallbackRequest noCallback{second, nullptr, nullptr};
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&noCallback)), 0);
    runtime::IdleCallbackRequest notAWindow{platform::Hwnd(987654), idleCallback, nullptr};
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&notAWindow)), 0);
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, 0), 0);
    runtime::IdleCallbackRequest later{second, idleCallback, reinterpret_cast<void*>(2)};
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&later)), 1);
    runtime::IdleCallbackRequest ofDead{dead, idleCallback, reinterpret_cast<void*>(4)};
    EXPECT_EQ(CallService(Service::RegisterIdleCallback, ptr(&ofDead)), 1);
    platform::DestroyWindow(dead);

    // One idle pass: last registered first, the dead window's entry dropped;
    // the first window's callback posts the quit that ends the loop.
    rt().runMessageLoop(false);
    EXPECT_EQ(g_idleCalls, (std::vector<int>{2, 1}));

    CallService(Service::RemoveIdleCallback, std::uintptr_t(second));
    g_idleCalls.clear();
    rt().runMessageLoop(false);
    EXPECT_EQ(g_idleCalls, (std::vector<int>{1}));
    CallService(Service::RemoveIdleCallback, std::uintptr_t(first));
    platform::DestroyWindow(first);
    platform::DestroyWindow(second);
}

TEST_F(Services, PendingMessagesStopBeforeTheQuitMessage)
{
    g_received.clear();
    platform::Hwnd h = plainWindow();
    platform::PostMessage(h, platform::WM_USER + 1, 0, 0);
    platform::PostQuitMessage(4);
    platform::PostMessage(h, platform::WM_USER + 2, 0, 0);
    CallService(Service::ProcessPendingMessages);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[1].message, platform::WM_USER + 2);
    // The quit message is left for the loop that waits for it.
    platform::Msg msg;
    ASSERT_TRUE(platform::PeekMessage(msg, platform::PM_NOREMOVE));
    EXPECT_EQ(msg.message, platform::WM_QUIT);
    CallService(Service::ProcessPendingMessages);
    ASSERT_TRUE(platform::PeekMessage(msg, platform::PM_NOREMOVE));
    EXPECT_EQ(msg.message, platform::WM_QUIT);
    EXPECT_FALSE(platform::GetMessage(msg));
    EXPECT_EQ(msg.wParam, 4u);
    platform::DestroyWindow(h);
}

TEST_F(Services, SuspendAndResumeEventsAfterPendingMessages)
{
    g_received.clear();
    platform::Hwnd h = plainWindow();
    ASSERT_FALSE(rt().eventsSuppressed());
    platform::PostMessage(h, platform::WM_USER + 1, 0, 0);
    CallService(Service::SuspendEvents);
    EXPECT_TRUE(rt().eventsSuppressed());
    platform::PostMessage(h, platform::WM_USER + 2, 0, 0);
    CallService(Service::ResumeEvents);
    EXPECT_FALSE(rt().eventsSuppressed());
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_FALSE(g_received[0].suppressed); // dispatched before the count went up
    EXPECT_TRUE(g_received[1].suppressed);  // and before it came down

    // The count never goes below 0.
    CallService(Service::ResumeEvents);
    CallService(Service::SuspendEvents);
    EXPECT_TRUE(rt().eventsSuppressed());
    CallService(Service::ResumeEvents);
    EXPECT_FALSE(rt().eventsSuppressed());
    platform::DestroyWindow(h);
}

runtime::EventSource g_innerSource, g_outerAfter;
std::intptr_t g_innerAnswer = -1;

runtime::HandlerResult innerHandler(std::span<const TypedValue>)
{
    g_innerAnswer = CallService(Service::CurrentEventSource, ptr(&g_innerSource));
    return runtime::HandlerResult::integer(7);
}

runtime::HandlerResult outerHandler(std::span<const TypedValue> args)
{
    runtime::HandlerEntry inner{"inner", innerHandler};
    runtime::HandlerResult r;
    runtime::TheRuntime().callHandler(inner, {0x52000002, 0x16000003}, args, r);
    CallService(Service::CurrentEventSource, ptr(&g_outerAfter));
    return runtime::HandlerResult::integer(args.empty() ? -1 : args[0].asInt() + r.value);
}

TEST_F(Services, CurrentEventSourceWhileAHandlerRuns)
{
    runtime::EventSource none{1, 1};
    EXPECT_EQ(CallService(Service::CurrentEventSource, ptr(&none)), 0);
    EXPECT_EQ(none.windowId, 0u);

    runtime::HandlerEntry outer{"outer", outerHandler};
    const TypedValue args[] = {TypedValue::integer(10)};
    runtime::HandlerResult result;
    ASSERT_TRUE(rt().callHandler(outer, {0x52000001, 0x06000001}, args, result));
    EXPECT_EQ(result.value, 17);
    EXPECT_EQ(g_innerAnswer, 1);
    EXPECT_EQ(g_innerSource.windowId, 0x52000002u);
    EXPECT_EQ(g_innerSource.unitId, 0x16000003u);
    // A nested handler gives the outer one its own source back.
    EXPECT_EQ(g_outerAfter.windowId, 0x52000001u);
    EXPECT_EQ(g_outerAfter.unitId, 0x06000001u);
    EXPECT_EQ(CallService(Service::CurrentEventSource, 0), 0);

    // Suppressed events call no handler.
    CallService(Service::SuspendEvents);
    g_innerAnswer = -1;
    runtime::HandlerEntry inner{"inner", innerHandler};
    EXPECT_FALSE(rt().callHandler(inner, {0x52000001, 0}, {}, result));
    EXPECT_EQ(g_innerAnswer, -1);
    CallService(Service::ResumeEvents);
    EXPECT_FALSE(rt().callHandler(runtime::HandlerEntry{"empty", nullptr}, {0x52000001, 0}, {}, result));
}

TEST_F(Services, WindowsTableAndWindowLoading)
{
    constexpr std::uint32_t kA = 0x52000101, kB = 0x52000102;
    runtimetest::AddFakeWindow(kA, "甲", 0x06000101);
    runtimetest::AddFakeWindow(kB, "乙", 0x06000102);
    EXPECT_EQ(reinterpret_cast<runtime::WindowTable*>(CallService(Service::WindowsTable)), &rt().windows());
    EXPECT_EQ(CallService(Service::WindowCount), std::intptr_t(rt().windows().size()));
    auto* found = reinterpret_cast<runtime::WindowEntry*>(CallService(Service::FindWindow, kB));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name(), "乙");
    EXPECT_EQ(CallService(Service::FindWindow, 0x52000999), 0);
    // Neither window is open: no handle at any position, none past the end.
    EXPECT_EQ(CallService(Service::WindowHandleAt, 0), 0);
    EXPECT_EQ(CallService(Service::WindowHandleAt, 1), 0);
    EXPECT_EQ(CallService(Service::WindowHandleAt, 2), 0);

    runtimetest::FakeFramework& framework = runtimetest::TheFakeFramework();
    int calls = framework.openCalls;
    runtime::LoadWindowRequest unknown{0x52000999, nullptr, false};
    EXPECT_EQ(CallService(Service::LoadWindow, ptr(&unknown)), -1);
    EXPECT_EQ(framework.openCalls, calls); // not asked for a window it does not have
    runtime::LoadWindowRequest refused{kA, nullptr, true};
    EXPECT_EQ(CallService(Service::LoadWindow, ptr(&refused)), -1);
    EXPECT_EQ(framework.openCalls, calls + 1);
    EXPECT_EQ(CallService(Service::LoadWindow, 0), -1);
    rt().windows().erase(kA);
    rt().windows().erase(kB);
}

TEST_F(Services, WrapAttachAndDetachWindows)
{
    platform::Hwnd h = plainWindow();
    auto* object = reinterpret_cast<platform::WindowObject*>(CallService(Service::WrapWindow, std::uintptr_t(h)));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->handle(), h);
    EXPECT_EQ(platform::WindowObject::fromHandle(h), object);
    EXPECT_EQ(CallService(Service::WrapWindow, std::uintptr_t(h)), ptr(object)); // the same object again
    EXPECT_EQ(CallService(Service::WrapWindow, 0), 0);

    EXPECT_EQ(CallService(Service::DetachWindow, ptr(object)), std::intptr_t(h));
    EXPECT_EQ(platform::WindowObject::fromHandle(h), nullptr);
    EXPECT_EQ(CallService(Service::AttachWindow, ptr(object), std::uintptr_t(h)), 1);
    EXPECT_EQ(platform::WindowObject::fromHandle(h), object);
    EXPECT_EQ(CallService(Service::AttachWindow, 0, std::uintptr_t(h)), 0);
    EXPECT_EQ(CallService(Service::DetachWindow, 0), 0);
    // The wrapped object goes with its window.
    platform::DestroyWindow(h);
    EXPECT_FALSE(platform::IsWindow(h));
}

std::vector<std::uint8_t> wave(std::uint32_t dataBytes, std::uint32_t byteRate)
{
    std::vector<std::uint8_t> w(44 + dataBytes, 0);
    std::memcpy(w.data(), "RIFF", 4);
    std::memcpy(w.data() + 8, "WAVE", 4);
    std::memcpy(w.data() + 28, &byteRate, 4);
    return w;
}

TEST_F(Services, PlaySoundKeepsTheSoundsTimeOnTheBackgroundThread)
{
    std::vector<std::uint8_t> notSound = {'a', 'b', 'c'};
    runtime::SoundRequest bad{notSound.data(), notSound.size(), false};
    EXPECT_EQ(CallService(Service::PlaySound, ptr(&bad)), 0);
    std::vector<std::uint8_t> silentRate = wave(100, 0);
    runtime::SoundRequest noRate{silentRate.data(), silentRate.size(), false};
    EXPECT_EQ(CallService(Service::PlaySound, ptr(&noRate)), 0);

    std::vector<std::uint8_t> shortSound = wave(100, 2000); // 50 ms
    runtime::SoundRequest play{shortSound.data(), shortSound.size(), false};
    EXPECT_EQ(CallService(Service::PlaySound, ptr(&play)), 1);
    for (int i = 0; i < 300 && rt().playbackState() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(rt().playbackState(), 0);

    // A looping sound plays until it is stopped.
    runtime::SoundRequest loop{shortSound.data(), shortSound.size(), true};
    EXPECT_EQ(CallService(Service::PlaySound, ptr(&loop)), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(rt().playbackState(), 1);
    rt().stopPlayback();
    EXPECT_EQ(rt().playbackState(), 0);
}

} // namespace
