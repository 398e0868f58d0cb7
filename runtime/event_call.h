// The records by which a unit raises an event: who raised it, which event,
// its arguments, and what the handler gave back.
#pragma once

#include "runtime/typed_value.h"

#include <array>
#include <cstdint>

namespace runtime {

// Arguments are plain integers (or pointers).
struct EventCall {
    std::uint32_t windowId = 0;
    std::uint32_t unitId = 0; // 0: the window's own unit
    std::int32_t event = 0;
    std::int32_t argCount = 0;
    std::array<std::intptr_t, 5> args{};
    bool handled = false;
    bool returned = false; // the handler gave back a value
    std::int32_t result = 0;
};

// Arguments are typed values.
struct TypedEventCall {
    std::uint32_t windowId = 0;
    std::uint32_t unitId = 0;
    std::int32_t event = 0;
    std::int32_t argCount = 0;
    std::array<TypedValue, 12> args{};
    bool handled = false;
    bool returned = false;
    std::int64_t result = 0;
};

// The veto rule of raisers: the default is suppressed when a handler ran
// and gave back the logical value false.
inline bool Vetoed(const EventCall& c)
{
    return c.handled && c.returned && c.result == 0;
}
inline bool Vetoed(const TypedEventCall& c)
{
    return c.handled && c.returned && c.result == 0;
}

} // namespace runtime
