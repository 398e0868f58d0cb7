#include "support/test_kinds.h"

#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using runtime::HandlerResult;
using runtime::TypedValue;

struct Seen {
    int calls = 0;
    std::vector<std::int32_t> args;
    runtime::EventSource source;
};
Seen g_seen;
HandlerResult g_answer;

HandlerResult recordAndAnswer(std::span<const TypedValue> args)
{
    ++g_seen.calls;
    g_seen.args.clear();
    for (const TypedValue& a : args)
        g_seen.args.push_back(a.asInt());
    g_seen.source = runtime::TheRuntime().currentEventSource();
    return g_answer;
}

constexpr std::uint32_t kWin = 0x52000101;
constexpr std::uint32_t kOwn = 0x06000101;
constexpr std::uint32_t kBox = 0x16000102;

class EventDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRuntimeInProcess();
        g_seen = {};
        g_answer = HandlerResult::none();
    }
    Handlers handlers;
};

TEST_F(EventDispatch, LeftButtonReachesBoundHandlerWithClientCoordinates)
{
    auto ref = handlers.add("down", recordAndAnswer);
    auto box = BoxRecord(kBox, "框1", 10, 10, 100, 50);
    Bind(box, -1, handlers.at(ref));
    AddWindow(kWin, {WindowRecord(kOwn), box});
    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    platform::Hwnd h = HandleOf(kWin, kBox);
    ASSERT_TRUE(platform::IsWindow(h));

    platform::testing::MouseDown(h, {7, 9});
    ASSERT_TRUE(PumpUntil([] { return g_seen.calls > 0; }));
    ASSERT_EQ(g_seen.args.size(), 3u);
    EXPECT_EQ(g_seen.args[0], 7);
    EXPECT_EQ(g_seen.args[1], 9);
    EXPECT_EQ(g_seen.source.windowId, kWin);
    EXPECT_EQ(g_seen.source.unitId, kBox);
    EXPECT_EQ(runtime::TheRuntime().currentEventSource().windowId, 0u);
    ui::TheFramework().window(kWin)->destroyLive();
}

TEST_F(EventDispatch, HandledFalseSwallowsTheMessage)
{
    auto ref = handlers.add("down", recordAndAnswer);
    auto box = BoxRecord(kBox, "框1", 10, 10, 100, 50);
    Bind(box, -1, handlers.at(ref));
    AddWindow(kWin, {WindowRecord(kOwn), box});
    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    TestBox* b = BoxOf(kWin, kBox);
    ASSERT_NE(b, nullptr);

    g_answer = HandlerResult::logical(false);
    platform::testing::MouseDown(HandleOf(kWin, kBox), {5, 5});
    ASSERT_TRUE(PumpUntil([] { return g_seen.calls > 0; }));
    platform::testing::MouseUp(HandleOf(kWin, kBox), {5, 5});
    Pump(50);
    EXPECT_EQ(std::count(b->messages.begin(), b->messages.end(), platform::WM_LBUTTONDOWN), 0);

    g_answer = HandlerResult::none();
    platform::testing::MouseDown(HandleOf(kWin, kBox), {5, 5});
    ASSERT_TRUE(PumpUntil([] { return g_seen.calls > 1; }));
    Pump(50);
    EXPECT_EQ(std::count(b->messages.begin(), b->messages.end(), platform::WM_LBUTTONDOWN), 1);
    ui::TheFramework().window(kWin)->destroyLive();
}

} // namespace
