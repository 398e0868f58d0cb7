#include "platform_test_support.h"

#include "platform/message_queue.h"
#include "platform/process.h"
#include "platform/testing/ui_driver.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

using namespace platform;
using pt::LogOf;

class MessageQueue : public pt::PlatformTest {};

// Removes every waiting message and returns those of one number.
std::vector<Msg> takeAll(std::uint32_t message)
{
    std::vector<Msg> found;
    Msg m;
    while (PeekMessage(m, PM_REMOVE))
        if (m.message == message)
            found.push_back(m);
    return found;
}

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

TEST_F(MessageQueue, PostedMessagesArriveInOrderAndPeekingLeavesThem)
{
    Hwnd h = pt::MakeTopLevel();
    ASSERT_TRUE(PostMessage(h, WM_USER + 1, 1, -5));
    ASSERT_TRUE(PostMessage(h, WM_USER + 2, ~WParam(0), 0x7FFFFFFF));
    ASSERT_TRUE(PostMessage(h, WM_USER + 3, 3, 0));

    Msg m;
    ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);

    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(m.hwnd, h);
    EXPECT_EQ(m.message, WM_USER + 1);
    EXPECT_EQ(m.wParam, 1u);
    EXPECT_EQ(m.lParam, -5);
    EXPECT_EQ(GetCurrentMessage().message, WM_USER + 1);
    ASSERT_TRUE(PeekMessage(m, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 2);
    EXPECT_EQ(m.wParam, ~WParam(0));
    EXPECT_EQ(m.lParam, 0x7FFFFFFF);
    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(m.message, WM_USER + 3);
    EXPECT_FALSE(PeekMessage(m, PM_NOREMOVE));
}

TEST_F(MessageQueue, DispatchCallsTheProcedureAndReturnsItsResult)
{
    Hwnd h = pt::MakeTopLevel();
    pt::SetMessageHook([](const pt::Seen& s) -> std::optional<LResult> {
        if (s.message == WM_USER + 9)
            return LResult(s.wParam * 2);
        return std::nullopt;
    });
    PostMessage(h, WM_USER + 9, 21, 0);
    Msg m;
    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(DispatchMessage(m), 42);
    EXPECT_EQ(SendMessage(h, WM_USER + 9, 5, 0), 10);
    EXPECT_EQ(LogOf(h, {WM_USER + 9}).size(), 2u);
}

TEST_F(MessageQueue, AMessageWithoutWindowIsRetrievedButNotDispatched)
{
    Hwnd h = pt::MakeTopLevel();
    ASSERT_TRUE(PostMessage(Hwnd::Null, WM_USER + 4, 8, 9));
    Msg m;
    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(m.hwnd, Hwnd::Null);
    EXPECT_EQ(m.message, WM_USER + 4);
    EXPECT_EQ(DispatchMessage(m), 0);
    EXPECT_TRUE(LogOf(h, {WM_USER + 4}).empty());
}

TEST_F(MessageQueue, QuitComesAfterEveryOtherMessageAndStaysUntilRemoved)
{
    Hwnd h = pt::MakeTopLevel();
    PostQuitMessage(7);
    PostMessage(h, WM_USER + 1, 0, 0);

    Msg m;
    ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);
    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(m.message, WM_USER + 1);

    // A nested loop that only looks sees the quit message and leaves it.
    for (int look = 0; look < 2; ++look) {
        ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
        EXPECT_EQ(m.message, WM_QUIT);
        EXPECT_EQ(m.wParam, 7u);
    }
    EXPECT_FALSE(GetMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_FALSE(PeekMessage(m, PM_NOREMOVE));
}

TEST_F(MessageQueue, ALaterQuitReplacesTheCodeOfAnEarlierOne)
{
    PostQuitMessage(1);
    PostQuitMessage(-1);
    Msg m;
    EXPECT_FALSE(GetMessage(m));
    EXPECT_EQ(int(m.wParam), -1);
    EXPECT_FALSE(PeekMessage(m, PM_NOREMOVE));
}

TEST_F(MessageQueue, PostFromAnotherThreadWakesABlockedGetMessage)
{
    Hwnd h = pt::MakeTopLevel();
    // The safety timer ends the wait should the post not wake the thread.
    SetTimer(h, 77, 4000);
    std::thread poster([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        PostMessage(h, WM_USER + 5, 55, 0);
    });
    Msg m;
    bool got = GetMessage(m);
    poster.join();
    ASSERT_TRUE(got);
    EXPECT_EQ(m.message, WM_USER + 5);
    EXPECT_EQ(m.wParam, 55u);
    KillTimer(h, 77);
    EXPECT_TRUE(takeAll(WM_TIMER).empty()) << "GetMessage slept until the safety timer";
}

TEST_F(MessageQueue, GetMessageSleepsWhileNothingArrives)
{
    Hwnd h = pt::MakeTopLevel();
    std::thread poster([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        PostMessage(h, WM_USER + 6, 0, 0);
    });
    double before = processCpuSeconds();
    Msg m;
    bool got = GetMessage(m);
    double used = processCpuSeconds() - before;
    poster.join();
    ASSERT_TRUE(got);
    EXPECT_EQ(m.message, WM_USER + 6);
    // A waiting loop that spun would have used the whole 400 ms.
    EXPECT_LT(used, 0.15);
}

TEST_F(MessageQueue, WaitMessageReturnsForAPostAndRemovesNothing)
{
    Hwnd h = pt::MakeTopLevel();
    PostMessage(h, WM_USER + 1, 0, 0);
    WaitMessage(); // a message is waiting: at once
    Msg m;
    ASSERT_TRUE(PeekMessage(m, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);

    std::thread poster([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessage(h, WM_USER + 2, 0, 0);
    });
    // Toolkit events of its own may end a wait early; a loop waits again.
    for (int i = 0; i < 200 && !PeekMessage(m, PM_NOREMOVE); ++i)
        WaitMessage();
    poster.join();
    ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 2);
}

TEST_F(MessageQueue, AWindowMayDestroyItselfWhileHandlingAMessage)
{
    Hwnd h = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(h, {0, 0, 10, 10});
    pt::SetMessageHook([h](const pt::Seen& s) -> std::optional<LResult> {
        if (s.hwnd == h && s.message == WM_USER + 1) {
            DestroyWindow(h);
            return 5;
        }
        return std::nullopt;
    });
    PostMessage(h, WM_USER + 1, 0, 0);
    PostMessage(h, WM_USER + 2, 0, 0);
    PostMessage(child, WM_USER + 3, 0, 0);
    Msg m;
    ASSERT_TRUE(GetMessage(m));
    EXPECT_EQ(DispatchMessage(m), 5);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(PeekMessage(m, PM_REMOVE));
    EXPECT_TRUE(LogOf({WM_USER + 2, WM_USER + 3}).empty());
}

TEST_F(MessageQueue, SendFromAnotherThreadRunsOnTheUserInterfaceThread)
{
    Hwnd h = pt::MakeTopLevel();
    std::atomic<bool> ranOnUiThread{false};
    pt::SetMessageHook([&](const pt::Seen& s) -> std::optional<LResult> {
        if (s.message != WM_USER + 7)
            return std::nullopt;
        ranOnUiThread = IsUserInterfaceThread();
        return LResult(s.wParam * 10 + WParam(s.lParam));
    });
    std::atomic<LResult> result{-1};
    std::atomic<LResult> toNothing{-1};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        EXPECT_FALSE(IsUserInterfaceThread());
        result = SendMessage(h, WM_USER + 7, 4, 2);
        toNothing = SendMessage(Hwnd(0x7FFFFFF1), WM_USER + 7, 1, 1);
        done = true;
    });
    EXPECT_TRUE(pt::DispatchUntil([&] { return done.load(); }));
    sender.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_EQ(toNothing.load(), 0);
    EXPECT_TRUE(ranOnUiThread.load());
}

TEST_F(MessageQueue, MessagesForADestroyedWindowAreDropped)
{
    Hwnd top = pt::MakeTopLevel();
    Hwnd child = pt::MakeChild(top, {0, 0, 50, 50});
    Hwnd other = pt::MakeTopLevel();
    PostMessage(child, WM_USER + 1, 0, 0);
    PostMessage(other, WM_USER + 2, 0, 0);
    PostMessage(top, WM_USER + 3, 0, 0);
    DestroyWindow(top);
    EXPECT_FALSE(PostMessage(child, WM_USER + 4, 0, 0));
    EXPECT_FALSE(PostMessage(top, WM_USER + 4, 0, 0));

    Msg m;
    ASSERT_TRUE(PeekMessage(m, PM_REMOVE));
    EXPECT_EQ(m.hwnd, other);
    EXPECT_EQ(m.message, WM_USER + 2);
    EXPECT_FALSE(PeekMessage(m, PM_REMOVE));
}

TEST_F(MessageQueue, APostFromAnotherThreadToAGoneWindowIsDroppedOnRetrieval)
{
    Hwnd h = pt::MakeTopLevel();
    DestroyWindow(h);
    std::thread poster([h] { PostMessage(h, WM_USER + 1, 0, 0); });
    poster.join();
    Msg m;
    EXPECT_FALSE(PeekMessage(m, PM_REMOVE));
}

TEST_F(MessageQueue, ATimerKeepsAtMostOneMessageWaiting)
{
    Hwnd h = pt::MakeTopLevel();
    ASSERT_TRUE(SetTimer(h, 5, 10));
    auto waitingTimers = [] {
        std::vector<Msg> timers;
        for (const Msg& m : platform::testing::QueuedMessages())
            if (m.message == WM_TIMER)
                timers.push_back(m);
        return timers;
    };
    platform::testing::ProcessToolkitEvents(150);
    std::vector<Msg> timers = waitingTimers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].hwnd, h);
    EXPECT_EQ(timers[0].wParam, 5u);
    // Once retrieved, the next one comes.
    takeAll(WM_TIMER);
    platform::testing::ProcessToolkitEvents(100);
    EXPECT_EQ(waitingTimers().size(), 1u);
    KillTimer(h, 5);
}

TEST_F(MessageQueue, TimerMessagesReachTheProcedureWithTheirId)
{
    Hwnd h = pt::MakeTopLevel();
    SetTimer(h, 31, 5);
    EXPECT_TRUE(pt::DispatchUntil([h] { return LogOf(h, {WM_TIMER}).size() >= 3; }));
    for (const pt::Seen& s : LogOf(h, {WM_TIMER}))
        EXPECT_EQ(s.wParam, 31u);
    KillTimer(h, 31);
}

TEST_F(MessageQueue, KillTimerRemovesItsWaitingMessageOnly)
{
    Hwnd h = pt::MakeTopLevel();
    SetTimer(h, 1, 5);
    SetTimer(h, 2, 5);
    platform::testing::ProcessToolkitEvents(100);
    EXPECT_TRUE(KillTimer(h, 1));
    EXPECT_FALSE(KillTimer(h, 1));
    std::vector<Msg> left;
    for (const Msg& m : platform::testing::QueuedMessages())
        if (m.message == WM_TIMER)
            left.push_back(m);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].wParam, 2u);
    KillTimer(h, 2);
    platform::testing::ProcessToolkitEvents(60);
    EXPECT_TRUE(takeAll(WM_TIMER).empty());
}

TEST_F(MessageQueue, SettingATimerAgainRestartsItWithTheNewPeriod)
{
    Hwnd h = pt::MakeTopLevel();
    SetTimer(h, 3, 10);
    SetTimer(h, 3, 5000);
    platform::testing::ProcessToolkitEvents(150);
    EXPECT_TRUE(takeAll(WM_TIMER).empty());
    KillTimer(h, 3);
}

TEST_F(MessageQueue, ADestroyedWindowHasNoTimers)
{
    Hwnd h = pt::MakeTopLevel();
    SetTimer(h, 9, 5);
    platform::testing::ProcessToolkitEvents(50);
    DestroyWindow(h);
    platform::testing::ProcessToolkitEvents(50);
    EXPECT_TRUE(takeAll(WM_TIMER).empty());
    EXPECT_FALSE(SetTimer(h, 9, 5));
    EXPECT_FALSE(KillTimer(h, 9));
}

} // namespace
