#include "app/handlers.h"

namespace app {
namespace {

const runtime::HandlerEntry kHandlerTable[] = {
#define VELMORA_HANDLER(name) {#name, handlers::name},
#include "app/handlers.def"
#undef VELMORA_HANDLER
};

} // namespace

std::span<const runtime::HandlerEntry> HandlerTable()
{
    return kHandlerTable;
}

} // namespace app
