// What the runtime needs of the unit framework above it.  The framework
// implements these interfaces and is handed to the runtime at process
// entry; the runtime never sees unit kinds, templates or unit objects.
#pragma once

#include "platform/types.h"
#include "runtime/event_call.h"
#include "runtime/typed_value.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class WindowObject;
}

namespace runtime {

struct ProgramInfo;

struct UnitSummary {
    std::string_view name;
    bool isMenuItem = false;
};

// One entry of the windows table: a window's template, loaded at start-up,
// with its live window while it is open.
class WindowEntry {
public:
    virtual ~WindowEntry() = default;
    virtual std::uint32_t windowId() const = 0;
    virtual std::string_view name() const = 0;
    // The open window's handle; Null while the window is not open.
    virtual platform::Hwnd liveHandle() const = 0;
    // A unit of the window; 0 names the window's own unit.
    virtual std::optional<UnitSummary> findUnit(std::uint32_t unitId) const = 0;
    // Back to the template's stored state: live objects are dropped.
    virtual void resetToStored() = 0;
    // Destroys the open window, if any, and discards the live image.
    virtual void destroyLive() = 0;
    // A unit's window went away: its cursor is destroyed, its object slot cleared.
    virtual void unitGone(std::uint32_t unitId) = 0;
};

using WindowTable = std::map<std::uint32_t, std::unique_ptr<WindowEntry>>;

class UnitFramework {
public:
    virtual ~UnitFramework() = default;
    // Reads every window template of the program's block into the table.
    // False, with a message, when the block cannot be read.
    virtual bool loadTemplates(const ProgramInfo& program, WindowTable& table, std::string& error) = 0;
    // Opens a window of the table (its template instantiated, shown).  The
    // owner is a live window object or null.  For a modal opening the call
    // returns once the window has closed.
    virtual bool openWindow(std::uint32_t windowId, platform::WindowObject* owner, bool modal) = 0;
    virtual TypedValue readProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field) = 0;
    virtual void writeProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field,
                               const TypedValue& value) = 0;
    // Raises the window's idle event; true when its handler asked for more.
    virtual bool raiseIdleEvent(std::uint32_t windowId, std::uint32_t elapsedMilliseconds) = 0;

    // What the libraries reach through the runtime's services.
    virtual void raiseEvent(EventCall& call) = 0;
    virtual void raiseEvent(TypedEventCall& call) = 0;
    // The live object of a unit (0: the window's own) whose window handle
    // is valid, or null; menu items have none.
    virtual platform::WindowObject* unitObject(std::uint32_t windowId, std::uint32_t unitId) = 0;
    // The template entry of a unit, or null.
    virtual const void* unitData(std::uint32_t windowId, std::uint32_t unitId) = 0;
    virtual const void* kindDescriptor(std::uint32_t kindId) = 0;
    // 2 when the kind's state flags have 0x04, 1 for 0x40, else 0.
    virtual int kindEventClass(std::uint32_t kindId) = 0;
    // Whether the handle is the window of a unit (not a menu item) of any
    // open window.
    virtual bool isUnitWindow(platform::Hwnd hwnd) = 0;
    // Applies again the visibility of the units a container holds.
    virtual void showContainerUnits(std::uint32_t windowId, std::uint32_t unitId) = 0;
};

} // namespace runtime
