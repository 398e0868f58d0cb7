// Runtime libraries as the runtime sees them: a notification entry through
// which each is told the runtime's service entry at start-up and its data
// word at shutdown, and the commands the handlers call.
#pragma once

#include "runtime/typed_value.h"

#include <cstdint>
#include <span>

namespace runtime {

enum LibraryMessage : int {
    kLibraryStarted = 1,  // arg1: the runtime's service entry
    kLibraryShutdown = 6, // arg1: the library's data word
};

// Service number, up to two pointer-sized arguments, a pointer-sized result.
using ServiceEntry = std::intptr_t (*)(int service, std::uintptr_t arg1, std::uintptr_t arg2);
using NotificationEntry = std::intptr_t (*)(int message, std::uintptr_t arg1, std::uintptr_t arg2);

using CommandFunction = TypedValue (*)(std::span<const TypedValue> args);

struct CommandDescriptor {
    const char* name;
    CommandFunction function;
};

struct LibraryDescriptor {
    const char* name;
    std::uint16_t number; // 1 the core library, 2 and 3 the extended interface libraries
    NotificationEntry notify; // null: the library wants no notifications
    std::span<const CommandDescriptor> commands;
};

// A command: its library's number and its position in that library's table.
struct CommandId {
    std::uint16_t library = 0;
    std::uint16_t index = 0;
};

} // namespace runtime
