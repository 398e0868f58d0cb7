// The application's event handlers, and the table the templates refer to.
#pragma once

#include "runtime/handler.h"

#include <span>

namespace app {

namespace handlers {
#define VELMORA_HANDLER(name) runtime::HandlerResult name(std::span<const runtime::TypedValue> args);
#include "app/handlers.def"
#undef VELMORA_HANDLER
} // namespace handlers

std::span<const runtime::HandlerEntry> HandlerTable();

} // namespace app
