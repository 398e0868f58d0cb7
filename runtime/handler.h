// Application handlers: what an event calls.
#pragma once

#include "runtime/typed_value.h"

#include <cstdint>
#include <span>

namespace runtime {

// What a handler gave back.  A handler without a result vetoes nothing; the
// veto rule of event raisers looks for a returned logical false.
struct HandlerResult {
    bool returned = false;
    std::int64_t value = 0;

    static HandlerResult none() { return {}; }
    static HandlerResult logical(bool v) { return {true, v ? 1 : 0}; }
    static HandlerResult integer(std::int64_t v) { return {true, v}; }
    bool returnedFalse() const { return returned && value == 0; }
    bool returnedTrue() const { return returned && value != 0; }
};

using HandlerFunction = HandlerResult (*)(std::span<const TypedValue> args);

// One entry of the application's handler table.  A handler reference in a
// template is the byte offset of its entry from the table's start.
struct HandlerEntry {
    const char* name;
    HandlerFunction function;
};

} // namespace runtime
