#include "ui/framework/unit_commands.h"

#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "runtime/conversions.h"
#include "runtime/runtime_error.h"
#include "ui/framework/framework.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/unit_object.h"

#include <algorithm>

namespace ui {
namespace {

using runtime::TypedValue;

const TypedValue& arg(std::span<const TypedValue> args, std::size_t i)
{
    static const TypedValue empty;
    return i < args.size() ? args[i] : empty;
}

// The live record a reference names; a unit that is not loaded is the
// runtime error of commands.
UnitRecord& liveRecord(const TypedValue& ref, LoadedWindow*& window)
{
    runtime::UnitRef r = ref.asUnit();
    UnitRecord* u = TheFramework().unitRecord(r.windowId, r.unitId, &window);
    if (!u || u->isMenuItem() || !u->object || !platform::IsWindow(u->object->handle()))
        runtime::ReportRuntimeError(runtime::error_text::kUnitNotLoaded, 0, r.windowId, r.unitId);
    return *u;
}

void removeUnit(LoadedWindow& window, std::uint32_t unitId)
{
    auto& units = window.units();
    for (UnitRecord& u : units)
        std::erase(u.children, unitId);
    std::erase_if(units, [&](const UnitRecord& u) { return u.id == unitId && !u.isOwnUnit(); });
}

} // namespace

void RestoreDisabledWindows(LoadedWindow& window)
{
    auto disabled = std::move(window.open().disabledWindows);
    window.open().disabledWindows.clear();
    for (platform::Hwnd h : disabled)
        if (platform::IsWindow(h))
            platform::EnableWindow(h, true);
}

void DestroyMarkedWindow(LoadedWindow& window)
{
    if (!window.open().markedForDestruction)
        return;
    window.open().markedForDestruction = false;
    RestoreDisabledWindows(window);
    platform::Hwnd h = window.liveHandle();
    if (platform::IsWindow(h))
        platform::DestroyWindow(h);
}

TypedValue DestroyUnitCommand(std::span<const TypedValue> args)
{
    LoadedWindow* window = nullptr;
    UnitRecord& u = liveRecord(arg(args, 0), window);
    if (u.isOwnUnit()) {
        window->open().markedForDestruction = true;
        if (arg(args, 1).isEmpty() || !arg(args, 1).asLogical())
            platform::PostMessage(u.object->handle(), runtime::kMessageDestroyUnit, 0, 0);
        else
            DestroyMarkedWindow(*window);
        return {};
    }
    platform::Hwnd h = u.object->handle();
    bool hasChildren = !platform::GetChildWindows(h).empty();
    std::uint32_t id = u.id;
    platform::DestroyWindow(h);
    // A unit without windows of its own inside stays gone until its window
    // is loaded again.
    if (!hasChildren)
        removeUnit(*window, id);
    return {};
}

TypedValue PopupMenuCommand(std::span<const TypedValue> args)
{
    LoadedWindow* window = nullptr;
    UnitRecord& own = liveRecord(arg(args, 0), window);
    runtime::UnitRef menuRef = arg(args, 1).asUnit();
    if (menuRef.windowId != window->id())
        return {};
    platform::Menu popup = BuildPopupMenu(*window, window->menuPosition(menuRef.unitId));
    if (popup == platform::Menu::Null)
        return {};
    platform::Point at = platform::GetCursorPos();
    at.x += 3;
    at.y += 3;
    if (!arg(args, 2).isEmpty())
        at.x = runtime::ConvertToInteger(arg(args, 2));
    if (!arg(args, 3).isEmpty())
        at.y = runtime::ConvertToInteger(arg(args, 3));
    platform::Hwnd owner = own.object->handle();
    platform::TrackPopupMenu(popup, platform::TPM_RIGHTBUTTON, at.x, at.y, owner);
    platform::DestroyMenu(popup);
    return {};
}

} // namespace ui
