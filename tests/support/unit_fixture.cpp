#include "support/unit_fixture.h"

#include "platform/window.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"

#include <algorithm>
#include <array>
#include <map>

namespace unittest {
namespace {

std::map<std::int32_t, runtime::HandlerResult>& answers()
{
    static std::map<std::int32_t, runtime::HandlerResult> a;
    return a;
}

// One handler per event number, so the handler knows which it serves.
template<std::int32_t Event>
runtime::HandlerResult noteEvent(std::span<const runtime::TypedValue> args)
{
    unittest::Event e{.event = Event};
    for (const runtime::TypedValue& a : args)
        e.args.push_back(a.asInt());
    UnitTest::events().push_back(e);
    auto it = answers().find(Event);
    return it == answers().end() ? runtime::HandlerResult::none() : it->second;
}

template<std::int32_t... E>
constexpr std::array<std::pair<std::int32_t, runtime::HandlerFunction>, sizeof...(E)> noting()
{
    return {std::pair<std::int32_t, runtime::HandlerFunction>{E, &noteEvent<E>}...};
}

constexpr auto kNotingHandlers = noting<-8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8>();

// Each library's table lives as long as the program: the framework keeps
// a view of it.
void install(const KindsToInstall& wanted)
{
    static const ui::UnitKindDescriptor testWindow = *ui::TheFramework().kinds().find(testsupport::kTestWindowKind);
    static std::map<std::uint16_t, std::array<ui::UnitKindDescriptor, 64>> tables;
    auto& table = tables[wanted.library];
    table = {};
    if (wanted.library == 1)
        table[0] = testWindow;
    std::size_t size = wanted.library == 1 ? 1 : 0;
    for (auto [position, kind] : wanted.kinds) {
        table[std::size_t(position - 1)] = *kind;
        size = std::max(size, std::size_t(position));
    }
    ui::TheFramework().addKindLibrary({wanted.library, std::span(table.data(), size)});
}

} // namespace

void UnitTest::SetUp()
{
    testsupport::StartRuntimeInProcess();
    for (const KindsToInstall& library : m_libraries)
        install(library);
    events().clear();
    answers().clear();
}

void UnitTest::TearDown()
{
    auto& windows = runtime::TheRuntime().windows();
    for (auto& [id, entry] : windows)
        entry->destroyLive();
    windows.clear();
    testsupport::Pump(10);
}

ui::UnitRecord UnitTest::unitRecord(std::uint32_t kindId, std::vector<std::uint8_t> kindData, platform::Rect at,
                                       std::uint32_t unitId)
{
    ui::UnitRecord u = testsupport::BoxRecord(unitId, "unit", at.left, at.top, at.width(), at.height(), kindId);
    u.kindData = std::move(kindData);
    u.stateFlags |= ui::kUnitTabStop;
    return u;
}

void UnitTest::note(ui::UnitRecord& record, std::initializer_list<std::int32_t> events)
{
    for (std::int32_t event : events)
        for (auto [e, f] : kNotingHandlers)
            if (e == event)
                testsupport::Bind(record, event, handlers.at(handlers.add("note", f)));
}

platform::Hwnd UnitTest::open(std::vector<ui::UnitRecord> units)
{
    std::vector<ui::UnitRecord> records{testsupport::WindowRecord(kOwnId, 400, 300)};
    for (ui::UnitRecord& u : units)
        records.push_back(std::move(u));
    testsupport::AddWindow(kWindowId, std::move(records));
    EXPECT_TRUE(ui::TheFramework().openWindow(kWindowId, nullptr, false));
    testsupport::Pump(20);
    return handle();
}

std::vector<Event>& UnitTest::events()
{
    static std::vector<Event> e;
    return e;
}

void UnitTest::answer(std::int32_t event, runtime::HandlerResult result)
{
    answers()[event] = result;
}

std::vector<Event> UnitTest::eventsOf(std::int32_t event) const
{
    std::vector<Event> out;
    for (const Event& e : events())
        if (e.event == event)
            out.push_back(e);
    return out;
}

runtime::TypedValue UnitTest::call(Command command, std::initializer_list<runtime::TypedValue> args,
                                      std::uint32_t unitId) const
{
    const ui::UnitRecord* u = ui::TheFramework().unitRecord(kWindowId, unitId);
    std::vector<runtime::TypedValue> all{runtime::TypedValue::unit({kWindowId, unitId}, u ? u->kindId : 0)};
    all.insert(all.end(), args.begin(), args.end());
    return command(all);
}

runtime::TypedValue UnitTest::read(int property, std::uint32_t unitId) const
{
    return runtime::ReadProperty(kWindowId, unitId, property);
}

void UnitTest::write(int property, const runtime::TypedValue& value, std::uint32_t unitId) const
{
    runtime::WriteProperty(kWindowId, unitId, property, -1, value);
}

platform::Hwnd UnitTest::handle(std::uint32_t unitId) const
{
    return testsupport::HandleOf(kWindowId, unitId);
}

runtime::TypedValue Int(std::int32_t v)
{
    return runtime::TypedValue::integer(v);
}

runtime::TypedValue Text(const char* gbk)
{
    return runtime::TypedValue::text(gbk);
}

std::string TakeText(const runtime::TypedValue& v)
{
    std::string text(runtime::TextOf(v.is(runtime::ValueType::Text) ? v.asText() : nullptr));
    runtime::FreeValue(v);
    return text;
}

} // namespace unittest
