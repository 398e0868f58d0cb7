// The services that reach into the windows: unit objects, loading, kinds,
// events and container visibility, with windows of the test kinds.

#include "child_output.h"
#include "support/test_kinds.h"

#include "platform/window.h"
#include "runtime/runtime.h"
#include "runtime/services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using runtime::CallService;
using runtime::HandlerResult;
using runtime::Service;
using runtime::TypedValue;

constexpr std::uint32_t kWin = 0x52000501, kOwn = 0x06000501;
constexpr std::uint32_t kBox = 0x16000502, kMenuItem = 0x26000503;
constexpr std::uint32_t kPages = 0x16000504, kFront = 0x16000505, kBack = 0x16000506;
constexpr std::uint32_t kClosed = 0x52000510, kClosedOwn = 0x06000510;

std::uintptr_t ptr(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

Handlers& handlers()
{
    static Handlers h;
    return h;
}

HandlerResult doubled(std::span<const TypedValue> args)
{
    return HandlerResult::integer(args.empty() ? -1 : args[0].asLong() * 2);
}

class WindowServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRuntimeInProcess();
        ui::UnitRecord box = BoxRecord(kBox, "编辑框1", 5, 5, 40, 20);
        Bind(box, 5, handlers().at(handlers().add("doubled", doubled)));
        ui::UnitRecord pages = BoxRecord(kPages, "选择夹", 50, 5, 60, 60);
        pages.children = {kFront, 0, kBack};
        AddWindow(kWin, {WindowRecord(kOwn), box, MenuRecord(kMenuItem, "文件", 0), pages,
                         BoxRecord(kFront, "前页", 55, 10, 10, 10), BoxRecord(kBack, "后页", 70, 10, 10, 10)})
            .firstText = "服务窗口";
        AddWindow(kClosed, {WindowRecord(kClosedOwn)});
    }
    void TearDown() override
    {
        for (std::uint32_t id : {kWin, kClosed})
            if (auto* w = ui::TheFramework().window(id)) {
                w->destroyLive();
                runtime::TheRuntime().windows().erase(id);
            }
        Pump(20);
    }
    void openMain() { ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false)); }
};

TEST_F(WindowServices, UnitObjects)
{
    EXPECT_EQ(CallService(Service::UnitObject, kWin, 0), 0); // not open yet
    openMain();
    auto object = [](std::uint32_t w, std::uint32_t u) { return CallService(Service::UnitObject, w, u); };
    EXPECT_EQ(object(kWin, 0), ptr(ui::TheFramework().window(kWin)->windowObject()));
    EXPECT_EQ(object(kWin, kOwn), object(kWin, 0));
    EXPECT_EQ(object(kWin, kBox), ptr(BoxOf(kWin, kBox)));
    EXPECT_EQ(object(kWin, kMenuItem), 0);
    EXPECT_EQ(object(kWin, 0x16009999), 0);
    EXPECT_EQ(object(0x52009999, 0), 0);
    EXPECT_EQ(object(kClosed, 0), 0);
    EXPECT_EQ(CallService(Service::UnitObjectOrError, kWin, kBox), object(kWin, kBox));
    EXPECT_EQ(CallService(Service::UnitData, kWin, kBox), ptr(ui::TheFramework().unitRecord(kWin, kBox)));
    EXPECT_EQ(CallService(Service::UnitData, kWin, 0x16009999), 0);

    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            CallService(Service::UnitObjectOrError, kClosed, 0);
        },
        ::testing::ExitedWithCode(255),
        ::testing::HasSubstr("错误信息：指定窗口或窗口组件不存在或尚未载入\r\n\r\n1375733008, 0\r\n"));
}

TEST_F(WindowServices, LoadingWindowsAndTheirHandles)
{
    runtime::LoadWindowRequest request{kWin, nullptr, false};
    EXPECT_EQ(CallService(Service::LoadWindow, ptr(&request)), 0);
    platform::Hwnd h = HandleOf(kWin);
    EXPECT_TRUE(platform::IsWindow(h));
    EXPECT_EQ(CallService(Service::LoadWindow, ptr(&request)), 0); // open already: the same window
    EXPECT_EQ(HandleOf(kWin), h);
    runtime::LoadWindowRequest unknown{0x52009999, nullptr, false};
    EXPECT_EQ(CallService(Service::LoadWindow, ptr(&unknown)), -1);

    // Positions follow the table; only an open window has a handle.
    runtime::WindowTable& table = runtime::TheRuntime().windows();
    ASSERT_EQ(CallService(Service::WindowCount), std::intptr_t(table.size()));
    std::intptr_t position = std::distance(table.begin(), table.find(kWin));
    EXPECT_EQ(CallService(Service::WindowHandleAt, std::uintptr_t(position)), std::intptr_t(h));
    position = std::distance(table.begin(), table.find(kClosed));
    EXPECT_EQ(CallService(Service::WindowHandleAt, std::uintptr_t(position)), 0);

    EXPECT_EQ(CallService(Service::IsUnitWindow, std::uintptr_t(HandleOf(kWin, kBox))), 1);
    EXPECT_EQ(CallService(Service::IsUnitWindow, std::uintptr_t(runtime::TheRuntime().hiddenOwner())), 0);
    EXPECT_EQ(CallService(Service::IsUnitWindow, 0), 0);
}

TEST_F(WindowServices, KindsAndTheirEventClass)
{
    EXPECT_EQ(CallService(Service::KindEventClass, kTestWindowKind), 1); // flag 0x40
    EXPECT_EQ(CallService(Service::KindEventClass, kTestMenuKind), 2);   // flag 0x04
    EXPECT_EQ(CallService(Service::KindEventClass, kTestSilentKind), 0);
    EXPECT_EQ(CallService(Service::KindEventClass, 0x00990001), 0);
    auto* box = reinterpret_cast<const ui::UnitKindDescriptor*>(CallService(Service::KindDescriptor, kTestBoxKind));
    ASSERT_NE(box, nullptr);
    EXPECT_STREQ(box->englishName, "TestBox");
    EXPECT_EQ(CallService(Service::KindDescriptor, 0x00010002), 0); // an empty position
    EXPECT_EQ(CallService(Service::KindDescriptor, 0x00990001), 0);
}

TEST_F(WindowServices, RaisingEvents)
{
    openMain();
    runtime::EventCall call;
    call.windowId = kWin;
    call.unitId = kBox;
    call.event = 5;
    call.argCount = 1;
    call.args[0] = 21;
    CallService(Service::RaiseEvent, ptr(&call));
    EXPECT_TRUE(call.handled);
    EXPECT_EQ(call.result, 42);

    runtime::TypedEventCall typed;
    typed.windowId = kWin;
    typed.unitId = kBox;
    typed.event = 5;
    typed.argCount = 1;
    typed.args[0] = TypedValue::longInt(1'000'000'000'000);
    CallService(Service::RaiseTypedEvent, ptr(&typed));
    EXPECT_TRUE(typed.handled);
    EXPECT_EQ(typed.result, 2'000'000'000'000);

    call.event = 6; // bound to nothing
    CallService(Service::RaiseEvent, ptr(&call));
    EXPECT_FALSE(call.handled);

    call.event = 5;
    CallService(Service::SuspendEvents);
    CallService(Service::RaiseEvent, ptr(&call));
    CallService(Service::ResumeEvents);
    EXPECT_FALSE(call.handled);
    EXPECT_EQ(CallService(Service::RaiseEvent, 0), 0);
}

TEST_F(WindowServices, ShowContainerUnitsAppliesThePageAgain)
{
    openMain();
    platform::Hwnd front = HandleOf(kWin, kFront), back = HandleOf(kWin, kBack);
    ASSERT_TRUE(platform::IsWindow(front) && platform::IsWindow(back));
    EXPECT_TRUE(platform::IsWindowVisible(front));
    EXPECT_FALSE(platform::IsWindowVisible(back));
    platform::ShowWindow(front, platform::SW_HIDE);
    platform::ShowWindow(back, platform::SW_SHOW);
    CallService(Service::ShowContainerUnits, kWin, kPages);
    EXPECT_TRUE(platform::IsWindowVisible(front));
    EXPECT_FALSE(platform::IsWindowVisible(back));
    CallService(Service::ShowContainerUnits, kWin, 0x16009999); // no such container: nothing happens
}

} // namespace
