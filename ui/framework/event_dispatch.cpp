// Raising an event: from the unit that raised it to the handler bound to
// that unit and event, and the handler's result back.

#include "runtime/runtime.h"
#include "runtime/runtime_error.h"
#include "ui/framework/framework.h"
#include "ui/framework/window_events.h"

#include <algorithm>

#include <vector>

namespace ui {

const runtime::HandlerEntry* Framework::handlerFor(std::uint32_t windowId, std::uint32_t unitId, std::int32_t event)
{
    namespace et = runtime::error_text;
    LoadedWindow* window = this->window(windowId);
    if (!window)
        runtime::ReportRuntimeError(et::kEventWindowMissing, 0, windowId, 0);
    const UnitRecord* unit = window->find(unitId);
    if (!unit)
        runtime::ReportRuntimeError(et::kEventUnitMissing, 0, windowId, unitId);

    // A record may leave its events to another record of its kind.  The
    // chain is followed at most once around the window, so a loop in the
    // stored owner ids cannot hold the program.
    for (std::size_t steps = 0; unit->eventOwnerId != 0 && steps < window->units().size(); ++steps) {
        const UnitRecord* owner = window->find(unit->eventOwnerId);
        if (!owner || owner == unit || owner->kindId != unit->kindId)
            break;
        unit = owner;
    }

    const UnitKindDescriptor* kind = m_kinds.find(unit->kindId);
    if (!kind || !kind->mayRaiseEvents())
        runtime::ReportRuntimeError(et::kEventUnitInvalid, 0, windowId, unitId);

    const runtime::HandlerEntry* handler = unit->handlerFor(event);
    return handler && handler->function ? handler : nullptr;
}

namespace {

runtime::EventSource sourceOf(LoadedWindow* window, std::uint32_t windowId, std::uint32_t unitId)
{
    if (unitId == 0 && window)
        unitId = window->ownUnit().id;
    return {windowId, unitId};
}

} // namespace

void Framework::raiseEvent(runtime::EventCall& call)
{
    call.handled = false;
    call.returned = false;
    call.result = 0;
    runtime::Runtime& rt = runtime::TheRuntime();
    if (rt.eventsSuppressed() || rt.ending())
        return;
    const runtime::HandlerEntry* handler = handlerFor(call.windowId, call.unitId, call.event);
    if (!handler)
        return;
    std::vector<runtime::TypedValue> args;
    for (int i = 0; i < call.argCount && i < int(call.args.size()); ++i)
        args.push_back(runtime::TypedValue::integer(std::int32_t(call.args[std::size_t(i)])));
    runtime::HandlerResult result;
    if (!rt.callHandler(*handler, sourceOf(window(call.windowId), call.windowId, call.unitId), args, result))
        return;
    call.handled = true;
    call.returned = result.returned;
    call.result = std::int32_t(result.value);
}

void Framework::raiseEvent(runtime::TypedEventCall& call)
{
    call.handled = false;
    call.returned = false;
    call.result = 0;
    runtime::Runtime& rt = runtime::TheRuntime();
    if (rt.eventsSuppressed() || rt.ending())
        return;
    const runtime::HandlerEntry* handler = handlerFor(call.windowId, call.unitId, call.event);
    if (!handler)
        return;
    int n = std::clamp(call.argCount, 0, int(call.args.size()));
    runtime::HandlerResult result;
    if (!rt.callHandler(*handler, sourceOf(window(call.windowId), call.windowId, call.unitId),
                        std::span(call.args.data(), std::size_t(n)), result))
        return;
    call.handled = true;
    call.returned = result.returned;
    call.result = result.value;
}

bool Framework::raiseIdleEvent(std::uint32_t windowId, std::uint32_t elapsedMilliseconds)
{
    LoadedWindow* w = window(windowId);
    if (!w)
        return false;
    runtime::EventCall call;
    call.windowId = windowId;
    call.event = kWindowIdle;
    call.argCount = 1;
    call.args[0] = std::intptr_t(elapsedMilliseconds);
    raiseEvent(call);
    return call.handled && call.returned && call.result != 0;
}

} // namespace ui
