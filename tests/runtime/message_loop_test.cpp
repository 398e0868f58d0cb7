// The message loop in the process: idle processing, modal loops and
// pre-translation, with windows of the test kinds.

#include "support/test_kinds.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "platform/window_object.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace testsupport;
using runtime::HandlerResult;
using runtime::TypedValue;

constexpr std::uint32_t kBusy = 0x52000301, kBusyOwn = 0x06000301;
constexpr std::uint32_t kQuick = 0x52000302, kQuickOwn = 0x06000302;
constexpr std::uint32_t kPlain = 0x52000303, kPlainOwn = 0x06000303;
constexpr std::uint32_t kModal1 = 0x52000304, kModal1Own = 0x06000304;
constexpr std::uint32_t kModal2 = 0x52000305, kModal2Own = 0x06000305;

constexpr std::int32_t kIdleEvent = 7;

Handlers& handlers()
{
    static Handlers h;
    return h;
}

runtime::Runtime& rt()
{
    return runtime::TheRuntime();
}

struct IdleCall {
    std::uint32_t window;
    std::uint32_t elapsed;
};
std::vector<IdleCall> g_idle;
std::uint32_t elapsedArgument(std::span<const TypedValue> args)
{
    return args.empty() ? ~0u : std::uint32_t(args[0].asInt());
}
int g_busyAnswersTrue = 0; // how many calls of a phase the busy window wants more
int g_busyCallsThisPhase = 0;
std::function<void()> g_duringBusy;
std::vector<std::string> g_log;

HandlerResult busyIdle(std::span<const TypedValue> args)
{
    g_idle.push_back({kBusy, elapsedArgument(args)});
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
    ++g_busyCallsThisPhase;
    if (g_duringBusy)
        g_duringBusy();
    return HandlerResult::logical(g_busyCallsThisPhase <= g_busyAnswersTrue);
}

HandlerResult quickIdle(std::span<const TypedValue> args)
{
    g_idle.push_back({kQuick, elapsedArgument(args)});
    return HandlerResult::none(); // no value: wants no more idle time
}

ui::UnitRecord windowWithIdle(std::uint32_t own, runtime::HandlerFunction idle)
{
    ui::UnitRecord w = WindowRecord(own, 120, 80);
    if (idle)
        Bind(w, kIdleEvent, handlers().at(handlers().add("idle", idle)));
    return w;
}

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRuntimeInProcess();
        g_idle.clear();
        g_log.clear();
        g_busyAnswersTrue = 0;
        g_busyCallsThisPhase = 0;
        g_duringBusy = nullptr;
    }
    void TearDown() override
    {
        g_duringBusy = nullptr;
        for (std::uint32_t id : {kBusy, kQuick, kPlain, kModal1, kModal2})
            if (auto* w = ui::TheFramework().window(id)) {
                w->destroyLive();
                rt().windows().erase(id);
            }
        Pump(20);
    }
    void open(std::uint32_t id, std::uint32_t own, runtime::HandlerFunction idle)
    {
        AddWindow(id, {windowWithIdle(own, idle)});
        ASSERT_TRUE(ui::TheFramework().openWindow(id, nullptr, false));
    }
    // Runs idle processing from count 0 until it asks for no more.
    void idlePhase()
    {
        for (long n = 0; n < 10000; ++n)
            if (!rt().onIdle(n))
                return;
        ADD_FAILURE() << "idle processing never finished";
    }
    std::vector<std::uint32_t> elapsedOf(std::uint32_t window) const
    {
        std::vector<std::uint32_t> e;
        for (const IdleCall& c : g_idle)
            if (c.window == window)
                e.push_back(c.elapsed);
        return e;
    }
};

TEST_F(MessageLoop, IdleEventsUntilEachWindowHasHadEnough)
{
    open(kBusy, kBusyOwn, busyIdle);
    open(kQuick, kQuickOwn, quickIdle);
    open(kPlain, kPlainOwn, nullptr);
    Pump(50);

    g_busyAnswersTrue = 3;
    idlePhase();
    // The busy window is asked while it answers true, and once more; the
    // others once.  Its elapsed times grow from the start of the phase.
    std::vector<std::uint32_t> busy = elapsedOf(kBusy);
    ASSERT_EQ(busy.size(), 4u);
    EXPECT_EQ(elapsedOf(kQuick).size(), 1u);
    for (std::size_t i = 1; i < busy.size(); ++i)
        EXPECT_GT(busy[i], busy[i - 1]);

    // A new phase gives every window a new chance, timed from its own start.
    g_idle.clear();
    g_busyCallsThisPhase = 0;
    g_busyAnswersTrue = 1;
    idlePhase();
    std::vector<std::uint32_t> again = elapsedOf(kBusy);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_LT(again[0], busy.back());
    EXPECT_EQ(elapsedOf(kQuick).size(), 1u);
}

TEST_F(MessageLoop, NoIdleEventsBeforeTheFrameworkIsDone)
{
    open(kQuick, kQuickOwn, quickIdle);
    Pump(50);
    // Counts 0 and 1 belong to the framework's own idle work.
    EXPECT_TRUE(rt().onIdle(0));
    EXPECT_TRUE(rt().onIdle(1));
    EXPECT_TRUE(g_idle.empty());
    idlePhase();
    EXPECT_EQ(elapsedOf(kQuick).size(), 1u);
}

TEST_F(MessageLoop, AMessageRestartsIdleTimeFromZero)
{
    open(kBusy, kBusyOwn, busyIdle);
    open(kQuick, kQuickOwn, quickIdle);
    Pump(50);
    g_busyAnswersTrue = 1000;
    std::size_t postedAfter = 0;
    g_duringBusy = [&postedAfter] {
        if (g_busyCallsThisPhase == 5 && postedAfter == 0) {
            postedAfter = g_idle.size();
            platform::PostMessage(HandleOf(kBusy), platform::WM_USER + 7, 0, 0);
        } else if (postedAfter && g_idle.size() >= postedAfter + 5) {
            platform::PostQuitMessage(0);
        }
    };
    rt().runMessageLoop(false);
    ASSERT_GT(postedAfter, 0u);

    std::vector<IdleCall> before(g_idle.begin(), g_idle.begin() + std::ptrdiff_t(postedAfter));
    std::vector<IdleCall> after(g_idle.begin() + std::ptrdiff_t(postedAfter), g_idle.end());
    auto count = [](const std::vector<IdleCall>& calls, std::uint32_t w) {
        return std::count_if(calls.begin(), calls.end(), [w](const IdleCall& c) { return c.window == w; });
    };
    EXPECT_EQ(count(before, kQuick), 1);
    EXPECT_GE(count(after, kQuick), 1);
    std::uint32_t lastBefore = 0, firstAfter = ~0u;
    for (const IdleCall& c : before)
        if (c.window == kBusy)
            lastBefore = c.elapsed;
    for (const IdleCall& c : after)
        if (c.window == kBusy) {
            firstAfter = c.elapsed;
            break;
        }
    EXPECT_GE(lastBefore, 16u);
    EXPECT_LT(firstAfter, lastBefore);
}

HandlerResult modalOpener(std::span<const TypedValue>)
{
    if (!g_log.empty())
        return HandlerResult::logical(false);
    g_log.push_back("open modal");
    ui::TheFramework().openWindow(kModal1, nullptr, true);
    g_log.push_back("modal returned: modal=" + std::to_string(rt().modalWindowId() == 0) +
                    " open=" + std::to_string(platform::IsWindow(HandleOf(kModal1))));
    return HandlerResult::logical(false);
}

HandlerResult quitFromModal(std::span<const TypedValue>)
{
    // The outer loop's idle pass, which goes on to this window once the
    // opener's handler has returned, is not the modal loop's.
    if (rt().modalWindowId() == 0)
        return HandlerResult::logical(false);
    g_log.push_back("modal idle: modal=" + std::to_string(rt().modalWindowId() == kModal1));
    platform::PostQuitMessage(5);
    return HandlerResult::logical(true);
}

TEST_F(MessageLoop, QuitInAModalLoopEndsItAndThenTheOuterLoop)
{
    open(kBusy, kBusyOwn, modalOpener);
    AddWindow(kModal1, {windowWithIdle(kModal1Own, quitFromModal)});
    Pump(50);
    rt().runMessageLoop(false);
    EXPECT_EQ(g_log, (std::vector<std::string>{"open modal", "modal idle: modal=1", "modal returned: modal=1 open=1"}));
    EXPECT_EQ(rt().lastQuitCode(), 5);
    EXPECT_EQ(rt().modalWindowId(), 0u);
}

// Idle events reach every open window, also while a nested modal loop
// runs; the opener's handler is then still on the stack and sits those out.
bool g_insideFirst = false;

HandlerResult firstModalIdle(std::span<const TypedValue>)
{
    if (g_insideFirst)
        return HandlerResult::logical(false);
    g_insideFirst = true;
    g_log.push_back("first: modal=" + std::to_string(rt().modalWindowId() == kModal1));
    ui::TheFramework().openWindow(kModal2, nullptr, true);
    g_log.push_back("first again: modal=" + std::to_string(rt().modalWindowId() == kModal1) +
                    " second open=" + std::to_string(platform::IsWindow(HandleOf(kModal2))));
    platform::DestroyWindow(HandleOf(kModal1));
    g_insideFirst = false;
    return HandlerResult::logical(false);
}

HandlerResult secondModalIdle(std::span<const TypedValue>)
{
    g_log.push_back("second: modal=" + std::to_string(rt().modalWindowId() == kModal2));
    platform::DestroyWindow(HandleOf(kModal2));
    return HandlerResult::logical(false);
}

TEST_F(MessageLoop, ModalLoopsNest)
{
    g_insideFirst = false;
    AddWindow(kModal1, {windowWithIdle(kModal1Own, firstModalIdle)});
    AddWindow(kModal2, {windowWithIdle(kModal2Own, secondModalIdle)});
    ASSERT_TRUE(ui::TheFramework().openWindow(kModal1, nullptr, true));
    // Back here only once the first modal window has closed.
    EXPECT_EQ(g_log, (std::vector<std::string>{"first: modal=1", "second: modal=1", "first again: modal=1 second open=0"}));
    EXPECT_FALSE(platform::IsWindow(HandleOf(kModal1)));
    EXPECT_EQ(rt().modalWindowId(), 0u);
}

HandlerResult openerOfSecond(std::span<const TypedValue>)
{
    if (g_insideFirst)
        return HandlerResult::logical(false);
    g_insideFirst = true;
    ui::TheFramework().openWindow(kModal2, nullptr, true);
    g_log.push_back("nested loop over: modal=" + std::to_string(rt().modalWindowId()));
    g_insideFirst = false;
    return HandlerResult::logical(false);
}

HandlerResult closesBoth(std::span<const TypedValue>)
{
    platform::DestroyWindow(HandleOf(kModal1));
    platform::DestroyWindow(HandleOf(kModal2));
    return HandlerResult::logical(false);
}

TEST_F(MessageLoop, AnOuterModalWindowClosedInANestedLoopEndsItsLoopToo)
{
    g_insideFirst = false;
    AddWindow(kModal1, {windowWithIdle(kModal1Own, openerOfSecond)});
    AddWindow(kModal2, {windowWithIdle(kModal2Own, closesBoth)});
    ASSERT_TRUE(ui::TheFramework().openWindow(kModal1, nullptr, true));
    EXPECT_EQ(g_log, (std::vector<std::string>{"nested loop over: modal=0"}));
    EXPECT_EQ(rt().modalWindowId(), 0u);
}

// The object a window without one of its own names through message 0x8002.
class Filter : public platform::WindowObject {
public:
    std::vector<std::uint32_t> seen;
    bool preTranslateMessage(platform::Msg& msg) override
    {
        seen.push_back(msg.message);
        return msg.message == platform::WM_USER + 1;
    }
};
Filter g_filter;
std::vector<std::uint32_t> g_dispatched;
int g_objectQueries = 0;

platform::LResult filteredProc(platform::Hwnd h, std::uint32_t message, platform::WParam w, platform::LParam l)
{
    if (message == runtime::kMessageGetWindowObject) {
        ++g_objectQueries;
        return platform::LResult(&g_filter);
    }
    if (message >= platform::WM_USER && message < platform::WM_USER + 10)
        g_dispatched.push_back(message);
    return platform::DefWindowProc(h, message, w, l);
}

platform::LResult childProc(platform::Hwnd h, std::uint32_t message, platform::WParam w, platform::LParam l)
{
    if (message >= platform::WM_USER && message < platform::WM_USER + 10)
        g_dispatched.push_back(message + 100);
    return platform::DefWindowProc(h, message, w, l);
}

platform::Hwnd windowOfClass(const char* name, platform::WndProc proc, platform::Hwnd parent)
{
    if (!platform::IsWindowClassRegistered(name)) {
        platform::WindowClass cls;
        cls.name = name;
        cls.proc = proc;
        platform::RegisterWindowClass(cls);
    }
    platform::WindowCreateParams p;
    p.className = name;
    p.style = parent == platform::Hwnd::Null ? platform::WS_POPUP : platform::WS_CHILD;
    p.parent = parent;
    p.width = p.height = 10;
    return platform::CreateWindowEx(p);
}

TEST_F(MessageLoop, PreTranslationAsksAWindowWithoutObjectForOne)
{
    platform::Hwnd outer = windowOfClass("RuntimeTestFiltered", filteredProc, platform::Hwnd::Null);
    platform::Hwnd inner = windowOfClass("RuntimeTestFilteredChild", childProc, outer);
    g_dispatched.clear();
    g_filter.seen.clear();
    g_objectQueries = 0;
    platform::PostMessage(outer, platform::WM_USER + 1, 0, 0);
    platform::PostMessage(outer, platform::WM_USER + 2, 0, 0);
    // The child has no object either and answers 0: its parent's is used.
    platform::PostMessage(inner, platform::WM_USER + 1, 0, 0);
    platform::PostMessage(inner, platform::WM_USER + 3, 0, 0);
    rt().processPendingMessages();
    EXPECT_EQ(g_dispatched, (std::vector<std::uint32_t>{platform::WM_USER + 2, platform::WM_USER + 103}));
    EXPECT_EQ(g_filter.seen, (std::vector<std::uint32_t>{platform::WM_USER + 1, platform::WM_USER + 2,
                                                         platform::WM_USER + 1, platform::WM_USER + 3}));
    EXPECT_EQ(g_objectQueries, 4);
    platform::DestroyWindow(outer);
}

TEST_F(MessageLoop, ClosingWindowsBeforeTheMainLoopPostsNoQuit)
{
    ASSERT_FALSE(rt().running());
    open(kPlain, kPlainOwn, nullptr);
    platform::DestroyWindow(HandleOf(kPlain));
    rt().processPendingMessages();
    platform::Msg msg;
    bool quitWaiting = platform::PeekMessage(msg, platform::PM_NOREMOVE) && msg.message == platform::WM_QUIT;
    EXPECT_FALSE(quitWaiting);
    if (quitWaiting)
        platform::GetMessage(msg);
}

} // namespace
