// Raising events: from a call record to the bound handler and back.

#include "ui_fixture.h"

#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "ui/framework/framework.h"
#include "ui/framework/window_events.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using namespace uitest;
using runtime::HandlerResult;
using runtime::TypedValue;

constexpr std::uint32_t kWin = 0x52000101;
constexpr std::uint32_t kOwn = 0x06000101;
constexpr std::uint32_t kBox = 0x16000102;
constexpr std::uint32_t kBox2 = 0x16000103;
constexpr std::uint32_t kBox3 = 0x16000104;
constexpr std::uint32_t kItem = 0x26000105;

runtime::EventCall MakeCall(std::uint32_t unit, std::int32_t event, std::initializer_list<std::intptr_t> args = {})
{
    runtime::EventCall c;
    c.windowId = kWin;
    c.unitId = unit;
    c.event = event;
    for (std::intptr_t a : args)
        c.args[std::size_t(c.argCount++)] = a;
    // Left over from an earlier use of the record: the raiser clears them.
    c.handled = true;
    c.result = 99;
    return c;
}

runtime::EventCall Raise(std::uint32_t unit, std::int32_t event, std::initializer_list<std::intptr_t> args = {})
{
    runtime::EventCall c = MakeCall(unit, event, args);
    ui::TheFramework().raiseEvent(c);
    return c;
}

class EventDispatch : public UiTest {};

TEST_F(EventDispatch, BoundHandlerGetsTheArgumentsAndTheSourceAndItsResultComesBack)
{
    auto box = BoxRecord(kBox, "框1", 10, 10, 100, 50);
    Bind(box, 5, recording(1));
    Bind(box, 6, recording(2));
    AddWindow(kWin, {WindowRecord(kOwn), box});

    Recorded().answer = HandlerResult::integer(42);
    runtime::EventCall c = Raise(kBox, 5, {7, -2, 9});
    EXPECT_TRUE(c.handled);
    EXPECT_TRUE(c.returned);
    EXPECT_EQ(c.result, 42);
    ASSERT_EQ(Recorded().calls.size(), 1u);
    const Call& seen = Recorded().calls[0];
    EXPECT_EQ(seen.tag, 1);
    EXPECT_EQ(seen.args, (std::vector<std::int64_t>{7, -2, 9}));
    EXPECT_EQ(seen.types, std::vector<std::uint32_t>(3, std::uint32_t(runtime::ValueType::Int)));
    EXPECT_EQ(seen.source.windowId, kWin);
    EXPECT_EQ(seen.source.unitId, kBox);
    EXPECT_EQ(runtime::TheRuntime().currentEventSource().windowId, 0u);

    // A handler that gives nothing back: handled, and no veto.
    Recorded().answer = HandlerResult::none();
    c = Raise(kBox, 6);
    EXPECT_TRUE(c.handled);
    EXPECT_FALSE(c.returned);
    EXPECT_FALSE(runtime::Vetoed(c));
    EXPECT_EQ(Recorded().calls.back().tag, 2);

    // Only a returned false vetoes.
    Recorded().answer = HandlerResult::logical(false);
    EXPECT_TRUE(runtime::Vetoed(Raise(kBox, 6)));
    Recorded().answer = HandlerResult::logical(true);
    EXPECT_FALSE(runtime::Vetoed(Raise(kBox, 6)));
}

TEST_F(EventDispatch, TypedCallRecordsPassTypedArgumentsAndAWideResult)
{
    auto box = BoxRecord(kBox, "框1", 10, 10, 100, 50);
    Bind(box, 3, recording(1));
    AddWindow(kWin, {WindowRecord(kOwn), box});

    static const char kText[] = "文本";
    runtime::TypedEventCall c;
    c.windowId = kWin;
    c.unitId = kBox;
    c.event = 3;
    c.argCount = 2;
    c.args[0] = TypedValue::text(kText);
    c.args[1] = TypedValue::longInt(std::int64_t(1) << 40);
    Recorded().answer = HandlerResult::integer(std::int64_t(3) << 33);
    ui::TheFramework().raiseEvent(c);
    EXPECT_TRUE(c.handled);
    EXPECT_EQ(c.result, std::int64_t(3) << 33);
    ASSERT_EQ(Recorded().calls.size(), 1u);
    const Call& seen = Recorded().calls[0];
    ASSERT_EQ(seen.types.size(), 2u);
    EXPECT_EQ(seen.types[0], std::uint32_t(runtime::ValueType::Text));
    EXPECT_EQ(seen.args[0], std::int64_t(std::uintptr_t(kText)));
    EXPECT_EQ(seen.types[1], std::uint32_t(runtime::ValueType::Long));
    EXPECT_EQ(seen.args[1], std::int64_t(1) << 40);

    // An event nobody bound leaves the typed record unhandled.
    c.event = 4;
    c.handled = true;
    ui::TheFramework().raiseEvent(c);
    EXPECT_FALSE(c.handled);
    EXPECT_EQ(c.result, 0);
}

TEST_F(EventDispatch, EmptyHandlersBehaveAsUnbound)
{
    static const runtime::HandlerEntry kEmpty{"empty", nullptr};
    auto box = BoxRecord(kBox, "框1", 10, 10, 100, 50);
    Bind(box, 1, &kEmpty);  // a handler entry without code
    Bind(box, 2, nullptr);  // a binding whose reference named no handler
    Bind(box, 4, recording(0));
    AddWindow(kWin, {WindowRecord(kOwn), box});

    for (std::int32_t event : {1, 2, 3}) {
        runtime::EventCall c = Raise(kBox, event);
        EXPECT_FALSE(c.handled) << "event " << event;
        EXPECT_EQ(c.result, 0);
        EXPECT_FALSE(runtime::Vetoed(c));
    }
    EXPECT_TRUE(Recorded().calls.empty());
    EXPECT_TRUE(Raise(kBox, 4).handled);
}

TEST_F(EventDispatch, UnitIdZeroNamesTheWindowsOwnUnit)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowLoaded, recording(0));
    AddWindow(kWin, {own, BoxRecord(kBox, "框1", 10, 10, 100, 50)});

    EXPECT_TRUE(Raise(0, ui::kWindowLoaded).handled);
    ASSERT_EQ(Recorded().calls.size(), 1u);
    EXPECT_EQ(Recorded().calls[0].source.windowId, kWin);
    EXPECT_EQ(Recorded().calls[0].source.unitId, kOwn);
}

TEST_F(EventDispatch, EventOwnerChainLeadsToTheOwnersBindingsOfTheSameKind)
{
    // kBox leaves its events to kBox2 (same kind).
    auto a = BoxRecord(kBox, "甲", 0, 0, 10, 10);
    a.eventOwnerId = kBox2;
    Bind(a, 0, recording(1));
    auto b = BoxRecord(kBox2, "乙", 0, 0, 10, 10);
    Bind(b, 0, recording(2));
    // kBox3 names an owner of another kind: it keeps its own bindings.
    auto c = BoxRecord(kBox3, "丙", 0, 0, 10, 10);
    c.eventOwnerId = kItem;
    Bind(c, 0, recording(3));
    auto item = MenuRecord(kItem, "项", 0);
    Bind(item, 0, recording(4));
    AddWindow(kWin, {WindowRecord(kOwn), a, b, c, item});

    EXPECT_TRUE(Raise(kBox, 0).handled);
    ASSERT_EQ(Recorded().calls.size(), 1u);
    EXPECT_EQ(Recorded().calls[0].tag, 2);
    // The source stays the unit that raised the event.
    EXPECT_EQ(Recorded().calls[0].source.unitId, kBox);

    EXPECT_TRUE(Raise(kBox3, 0).handled);
    EXPECT_EQ(Recorded().calls.back().tag, 3);
}

TEST_F(EventDispatch, EventOwnerCycleEndsAndOneHandlerRuns)
{
    auto a = BoxRecord(kBox, "甲", 0, 0, 10, 10);
    a.eventOwnerId = kBox2;
    Bind(a, 0, recording(1));
    auto b = BoxRecord(kBox2, "乙", 0, 0, 10, 10);
    b.eventOwnerId = kBox;
    Bind(b, 0, recording(2));
    auto self = BoxRecord(kBox3, "丙", 0, 0, 10, 10);
    self.eventOwnerId = kBox3;
    Bind(self, 0, recording(3));
    AddWindow(kWin, {WindowRecord(kOwn), a, b, self});

    EXPECT_TRUE(Raise(kBox, 0).handled);
    EXPECT_TRUE(Raise(kBox2, 0).handled);
    EXPECT_TRUE(Raise(kBox3, 0).handled);
    ASSERT_EQ(Recorded().calls.size(), 3u);
    EXPECT_EQ(Recorded().calls[2].tag, 3);
}

TEST_F(EventDispatch, MenuItemsCallTheirClickHandlerAndKindsWithFlag4MayRaise)
{
    auto item = MenuRecord(kItem, "文件", 0);
    Bind(item, 0, recording(1));
    auto too = BoxRecord(kBox, "四", 0, 0, 10, 10, kEventsTooKind);
    Bind(too, 2, recording(2));
    AddWindow(kWin, {WindowRecord(kOwn), item, too});

    EXPECT_TRUE(Raise(kItem, 0).handled);
    EXPECT_TRUE(Raise(kBox, 2).handled);
    ASSERT_EQ(Recorded().calls.size(), 2u);
    EXPECT_EQ(Recorded().calls[0].tag, 1);
    EXPECT_EQ(Recorded().calls[0].source.unitId, kItem);
    EXPECT_EQ(Recorded().calls[1].tag, 2);
}

struct NestedSeen {
    runtime::EventSource before, inner, after;
} g_nested;

HandlerResult innerHandler(std::span<const TypedValue>)
{
    g_nested.inner = runtime::TheRuntime().currentEventSource();
    return HandlerResult::none();
}

HandlerResult outerHandler(std::span<const TypedValue>)
{
    g_nested.before = runtime::TheRuntime().currentEventSource();
    Raise(kBox2, 0);
    g_nested.after = runtime::TheRuntime().currentEventSource();
    return HandlerResult::none();
}

TEST_F(EventDispatch, NestedEventRestoresTheOuterSource)
{
    g_nested = {};
    auto a = BoxRecord(kBox, "甲", 0, 0, 10, 10);
    Bind(a, 0, handler("outer", outerHandler));
    auto b = BoxRecord(kBox2, "乙", 0, 0, 10, 10);
    Bind(b, 0, handler("inner", innerHandler));
    AddWindow(kWin, {WindowRecord(kOwn), a, b});

    Raise(kBox, 0);
    EXPECT_EQ(g_nested.before.unitId, kBox);
    EXPECT_EQ(g_nested.inner.unitId, kBox2);
    EXPECT_EQ(g_nested.after.windowId, kWin);
    EXPECT_EQ(g_nested.after.unitId, kBox);
    EXPECT_EQ(runtime::TheRuntime().currentEventSource().windowId, 0u);
}

TEST_F(EventDispatch, SuppressedEventsReachNoHandler)
{
    auto a = BoxRecord(kBox, "甲", 0, 0, 10, 10);
    Bind(a, 0, recording(0));
    AddWindow(kWin, {WindowRecord(kOwn), a});

    runtime::TheRuntime().suspendEvents();
    runtime::EventCall c = Raise(kBox, 0);
    runtime::TheRuntime().resumeEvents();
    EXPECT_FALSE(c.handled);
    EXPECT_TRUE(Recorded().calls.empty());
    EXPECT_TRUE(Raise(kBox, 0).handled);
}

TEST_F(EventDispatch, IdleEventAsksForMoreOnlyWhenItsHandlerSaysTrue)
{
    auto own = WindowRecord(kOwn);
    Bind(own, ui::kWindowIdle, recording(0));
    AddWindow(kWin, {own});

    Recorded().answer = HandlerResult::logical(true);
    EXPECT_TRUE(ui::TheFramework().raiseIdleEvent(kWin, 123));
    ASSERT_EQ(Recorded().calls.size(), 1u);
    EXPECT_EQ(Recorded().calls[0].args, std::vector<std::int64_t>{123});
    Recorded().answer = HandlerResult::none();
    EXPECT_FALSE(ui::TheFramework().raiseIdleEvent(kWin, 5));
    Recorded().answer = HandlerResult::logical(false);
    EXPECT_FALSE(ui::TheFramework().raiseIdleEvent(kWin, 5));
    EXPECT_FALSE(ui::TheFramework().raiseIdleEvent(0x52FFFFFF, 5));
}

using EventDispatchDeathTest = EventDispatch;

TEST_F(EventDispatchDeathTest, MissingWindowUnitOrCapabilityIsARuntimeError)
{
    auto silent = BoxRecord(kBox, "静", 0, 0, 10, 10, kTestSilentKind);
    Bind(silent, 0, recording(0));
    auto unknown = BoxRecord(kBox2, "无类", 0, 0, 10, 10, 0x00070001);
    Bind(unknown, 0, recording(0));
    AddWindow(kWin, {WindowRecord(kOwn), silent, unknown});

    namespace et = runtime::error_text;
    EXPECT_RUNTIME_ERROR(Raise(kBox, 0), et::kEventUnitInvalid);
    EXPECT_RUNTIME_ERROR(Raise(kBox2, 0), et::kEventUnitInvalid);
    EXPECT_RUNTIME_ERROR(Raise(kBox3, 0), et::kEventUnitMissing);
    EXPECT_RUNTIME_ERROR(
        {
            runtime::EventCall c;
            c.windowId = 0x52FFFFFF;
            ui::TheFramework().raiseEvent(c);
        },
        et::kEventWindowMissing);
    EXPECT_TRUE(Recorded().calls.empty());
}

} // namespace
