#include "ui_fixture.h"

#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "ui/framework/framework.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace uitest {
namespace {

constexpr const char* kRecordingClass = "VelmoraUiTestRecordingBox";

void registerClass()
{
    if (platform::IsWindowClassRegistered(kRecordingClass))
        return;
    platform::WindowClass cls;
    cls.name = kRecordingClass;
    cls.style = platform::CS_DBLCLKS;
    cls.nullBrush = false;
    cls.background = platform::Rgb(255, 255, 255);
    platform::RegisterWindowClass(cls);
}

ui::UnitObject* createRecording(const ui::UnitCreateParams& p)
{
    registerClass();
    auto* o = new RecordingBox(p.windowId, p.unitId, p.kindId);
    if (!testsupport::CreateChildWindowFor(o, p, kRecordingClass, p.kindId == kOuterKind ? &o->inner : nullptr))
        return nullptr;
    return o;
}

const ui::KindRoutines kRecordingRoutines{.create = createRecording};

constexpr ui::UnitKindDescriptor recordingKind(const char* chinese, const char* english, std::uint32_t flags)
{
    return {.chineseName = chinese,
            .englishName = english,
            .stateFlags = flags,
            .propertyCount = 8,
            .kindEntry = ui::KindEntryFor<kRecordingRoutines>};
}

const std::array<ui::UnitKindDescriptor, 4> kExtraKinds = {{
    recordingKind("记录框", "RecordingBox", 0x00000040),
    recordingKind("无窗口", "Invisible", 0x00008040),
    recordingKind("外框", "Outer", 0x00200040),
    recordingKind("事件四", "EventsToo", 0x00000004),
}};

template<int Tag>
runtime::HandlerResult record(std::span<const runtime::TypedValue> args)
{
    Call c;
    c.tag = Tag;
    for (const runtime::TypedValue& a : args) {
        c.args.push_back(a.is(runtime::ValueType::Int) ? a.asInt() : std::int64_t(a.payload));
        c.types.push_back(a.type);
    }
    c.source = runtime::TheRuntime().currentEventSource();
    Recorder& r = Recorded();
    r.calls.push_back(c);
    if (r.during)
        r.during();
    return r.answer;
}

template<std::size_t... I>
constexpr std::array<runtime::HandlerFunction, sizeof...(I)> recordingTable(std::index_sequence<I...>)
{
    return {record<int(I)>...};
}

constexpr auto kRecordingHandlers = recordingTable(std::make_index_sequence<8>());

} // namespace

platform::LResult RecordingBox::windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam)
{
    seen.push_back({message, wParam});
    return UnitObject::windowProc(message, wParam, lParam);
}

void RecordingBox::loadComplete()
{
    Stages().push_back("load " + std::to_string(unitId() & 0xFFFFFF));
}

void RecordingBox::windowShown()
{
    Stages().push_back("shown " + std::to_string(unitId() & 0xFFFFFF));
}

void RecordingBox::showInitially()
{
    Stages().push_back("show " + std::to_string(unitId() & 0xFFFFFF));
    UnitObject::showInitially();
}

std::vector<std::string>& Stages()
{
    static std::vector<std::string> stages;
    return stages;
}

int RecordingBox::count(std::uint32_t message) const
{
    int n = 0;
    for (const SeenMessage& m : seen)
        n += m.message == message;
    return n;
}

void InstallExtraKinds()
{
    testsupport::InstallTestKinds();
    ui::TheFramework().addKindLibrary({9, kExtraKinds});
}

Recorder& Recorded()
{
    static Recorder r;
    return r;
}

runtime::HandlerFunction RecordingHandler(int tag)
{
    if (tag < 0 || std::size_t(tag) >= kRecordingHandlers.size())
        std::abort();
    return kRecordingHandlers[std::size_t(tag)];
}

void UiTest::SetUp()
{
    testsupport::StartRuntimeInProcess();
    InstallExtraKinds();
    Recorded() = Recorder{};
    Stages().clear();
}

void UiTest::TearDown()
{
    platform::testing::StopAnsweringMessageBoxes();
    auto& windows = runtime::TheRuntime().windows();
    for (auto& [id, entry] : windows)
        entry->destroyLive();
    windows.clear();
    // Window objects go away when the loop is idle.
    testsupport::Pump(10);
    Recorded() = Recorder{};
}

const runtime::HandlerEntry* UiTest::recording(int tag)
{
    return handlers.at(handlers.add("recording", RecordingHandler(tag)));
}

const runtime::HandlerEntry* UiTest::handler(const char* name, runtime::HandlerFunction f)
{
    return handlers.at(handlers.add(name, f));
}

ui::LoadedWindow& OpenWindow(std::uint32_t windowId, std::vector<ui::UnitRecord> records)
{
    ui::LoadedWindow& w = testsupport::AddWindow(windowId, std::move(records));
    EXPECT_TRUE(ui::TheFramework().openWindow(windowId, nullptr, false));
    return w;
}

void ReportErrorBoxes(const std::string& message)
{
    platform::testing::AnswerMessageBoxes([message](const platform::testing::MessageBoxInfo& box) {
        bool expected = box.caption == "错误" && box.text.find("运行时出错!") == 0 &&
                        box.text.find("错误信息：" + message + "\r\n") != std::string::npos;
        std::fprintf(stderr, "%s\n", expected ? kErrorBoxSeen : "an error box with another message");
        return int(platform::IDOK);
    });
}

} // namespace uitest
