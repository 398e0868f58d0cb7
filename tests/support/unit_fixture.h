// Running real unit kinds in a test program: the framework with the kinds
// a test installs, a window built in memory that holds units of them,
// handlers that note the events they were called for, and unit commands
// called with a unit reference first.
#pragma once

#include "support/test_kinds.h"

#include "platform/types.h"
#include "runtime/handler.h"
#include "runtime/typed_value.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace unittest {

inline constexpr std::uint32_t kWindowId = 0x52000200;
inline constexpr std::uint32_t kOwnId = 0x06000201;
inline constexpr std::uint32_t kUnitId = 0x16000202;
inline constexpr std::uint32_t kOtherUnitId = 0x16000203;

// One event as a noting handler saw it.
struct Event {
    std::int32_t event = 0;
    std::vector<std::int64_t> args;
};

// The kinds of a library, by 1-based position, that a test program
// installs in place of the test kinds of that library (the test window
// stays at position 1 of library 1).
struct KindsToInstall {
    std::uint16_t library;
    std::vector<std::pair<int, const ui::UnitKindDescriptor*>> kinds;
};

class UnitTest : public ::testing::Test {
public:
    // The noted events, and what the handler of an event answers.
    static std::vector<Event>& events();
    static void answer(std::int32_t event, runtime::HandlerResult result);

protected:
    explicit UnitTest(std::vector<KindsToInstall> libraries) : m_libraries(std::move(libraries)) {}
    void SetUp() override;
    void TearDown() override;

    // A unit record of a kind with its stored data, placed in the window.
    static ui::UnitRecord unitRecord(std::uint32_t kindId, std::vector<std::uint8_t> kindData,
                                     platform::Rect at = platform::Rect::fromSize(10, 10, 220, 160),
                                     std::uint32_t unitId = kUnitId);
    // Binds events of a record to the noting handler.
    void note(ui::UnitRecord& record, std::initializer_list<std::int32_t> events);
    // Opens the window with the records after its own; the unit's handle.
    platform::Hwnd open(std::vector<ui::UnitRecord> units);

    std::vector<Event> eventsOf(std::int32_t event) const;

    // A command called on the unit: its reference, then the arguments.
    using Command = runtime::TypedValue (*)(std::span<const runtime::TypedValue>);
    runtime::TypedValue call(Command command, std::initializer_list<runtime::TypedValue> args = {},
                             std::uint32_t unitId = kUnitId) const;

    runtime::TypedValue read(int property, std::uint32_t unitId = kUnitId) const;
    void write(int property, const runtime::TypedValue& value, std::uint32_t unitId = kUnitId) const;
    platform::Hwnd handle(std::uint32_t unitId = kUnitId) const;

    testsupport::Handlers handlers;

private:
    std::vector<KindsToInstall> m_libraries;
};

runtime::TypedValue Int(std::int32_t v);
runtime::TypedValue Text(const char* gbk);
// Takes a text result (and frees it).
std::string TakeText(const runtime::TypedValue& v);

} // namespace unittest
