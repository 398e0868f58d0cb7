#include "ext_fixture.h"

#include "platform/window.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "ui/ext/ext_library.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"

#include <array>
#include <map>

namespace exttest {
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
    exttest::Event e{.event = Event};
    for (const runtime::TypedValue& a : args)
        e.args.push_back(a.asInt());
    ExtUnitTest::events().push_back(e);
    auto it = answers().find(Event);
    return it == answers().end() ? runtime::HandlerResult::none() : it->second;
}

template<std::int32_t... E>
constexpr std::array<std::pair<std::int32_t, runtime::HandlerFunction>, sizeof...(E)> noting()
{
    return {std::pair<std::int32_t, runtime::HandlerFunction>{E, &noteEvent<E>}...};
}

constexpr auto kNotingHandlers = noting<-8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8>();

void installExtKinds()
{
    static const std::array<ui::UnitKindDescriptor, 4> kinds = [] {
        std::array<ui::UnitKindDescriptor, 4> k{};
        k[0] = ui::kTreeBoxKind;
        k[3] = ui::kListViewKind;
        return k;
    }();
    ui::TheFramework().addKindLibrary({ui::kinds::TreeBox.library(), kinds});
}

} // namespace

void ExtUnitTest::SetUp()
{
    testsupport::StartRuntimeInProcess();
    installExtKinds();
    events().clear();
    answers().clear();
}

void ExtUnitTest::TearDown()
{
    auto& windows = runtime::TheRuntime().windows();
    for (auto& [id, entry] : windows)
        entry->destroyLive();
    windows.clear();
    testsupport::Pump(10);
}

ui::UnitRecord ExtUnitTest::unitRecord(std::uint32_t kindId, std::vector<std::uint8_t> kindData, platform::Rect at,
                                       std::uint32_t unitId)
{
    ui::UnitRecord u = testsupport::BoxRecord(unitId, "unit", at.left, at.top, at.width(), at.height(), kindId);
    u.kindData = std::move(kindData);
    u.stateFlags |= ui::kUnitTabStop;
    return u;
}

void ExtUnitTest::note(ui::UnitRecord& record, std::initializer_list<std::int32_t> events)
{
    for (std::int32_t event : events)
        for (auto [e, f] : kNotingHandlers)
            if (e == event)
                testsupport::Bind(record, event, handlers.at(handlers.add("note", f)));
}

platform::Hwnd ExtUnitTest::open(std::vector<ui::UnitRecord> units)
{
    std::vector<ui::UnitRecord> records{testsupport::WindowRecord(kOwnId, 400, 300)};
    for (ui::UnitRecord& u : units)
        records.push_back(std::move(u));
    testsupport::AddWindow(kWindowId, std::move(records));
    EXPECT_TRUE(ui::TheFramework().openWindow(kWindowId, nullptr, false));
    testsupport::Pump(20);
    return handle();
}

std::vector<Event>& ExtUnitTest::events()
{
    static std::vector<Event> e;
    return e;
}

void ExtUnitTest::answer(std::int32_t event, runtime::HandlerResult result)
{
    answers()[event] = result;
}

std::vector<Event> ExtUnitTest::eventsOf(std::int32_t event) const
{
    std::vector<Event> out;
    for (const Event& e : events())
        if (e.event == event)
            out.push_back(e);
    return out;
}

runtime::TypedValue ExtUnitTest::call(Command command, std::initializer_list<runtime::TypedValue> args,
                                      std::uint32_t unitId) const
{
    const ui::UnitRecord* u = ui::TheFramework().unitRecord(kWindowId, unitId);
    std::vector<runtime::TypedValue> all{runtime::TypedValue::unit({kWindowId, unitId}, u ? u->kindId : 0)};
    all.insert(all.end(), args.begin(), args.end());
    return command(all);
}

runtime::TypedValue ExtUnitTest::read(int property, std::uint32_t unitId) const
{
    return runtime::ReadProperty(kWindowId, unitId, property);
}

void ExtUnitTest::write(int property, const runtime::TypedValue& value, std::uint32_t unitId) const
{
    runtime::WriteProperty(kWindowId, unitId, property, -1, value);
}

platform::Hwnd ExtUnitTest::handle(std::uint32_t unitId) const
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

} // namespace exttest
