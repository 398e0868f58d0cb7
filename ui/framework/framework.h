// The unit framework: the program's unit kinds, its loaded windows as the
// runtime's windows table holds them, property access by number, event
// raising, and the opening of windows from their templates.
#pragma once

#include "runtime/unit_framework.h"
#include "ui/framework/kind_registry.h"
#include "ui/framework/loaded_window.h"
#include "ui/framework/unit_kind.h"

#include <cstdint>
#include <memory>
#include <span>

namespace ui {

class UnitObject;

class Framework final : public runtime::UnitFramework {
public:
    KindRegistry& kinds() { return m_kinds; }
    void addKindLibrary(const KindLibrary& library) { m_kinds.addLibrary(library); }

    // The loaded window of an id in the runtime's windows table, or null.
    LoadedWindow* window(std::uint32_t windowId);
    // Enters a loaded window into the runtime's windows table.
    void addWindow(std::unique_ptr<LoadedWindow> window);
    // The record of (window, unit) and the window it belongs to.
    UnitRecord* unitRecord(std::uint32_t windowId, std::uint32_t unitId, LoadedWindow** owner = nullptr);

    // Creates the unit's window again from its current settings, after a
    // property change its kind can only apply that way.
    bool recreateUnit(LoadedWindow& window, UnitRecord& unit);
    // Shows and hides the units a container holds by its current page.
    void applyContainerVisibility(LoadedWindow& window, UnitRecord& container, int page);

    // runtime::UnitFramework.
    bool loadTemplates(const runtime::ProgramInfo& program, runtime::WindowTable& table, std::string& error) override;
    bool openWindow(std::uint32_t windowId, platform::WindowObject* owner, bool modal) override;
    runtime::TypedValue readProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field) override;
    void writeProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field,
                       const runtime::TypedValue& value) override;
    bool raiseIdleEvent(std::uint32_t windowId, std::uint32_t elapsedMilliseconds) override;
    void raiseEvent(runtime::EventCall& call) override;
    void raiseEvent(runtime::TypedEventCall& call) override;
    platform::WindowObject* unitObject(std::uint32_t windowId, std::uint32_t unitId) override;
    const void* unitData(std::uint32_t windowId, std::uint32_t unitId) override;
    const void* kindDescriptor(std::uint32_t kindId) override;
    int kindEventClass(std::uint32_t kindId) override;
    bool isUnitWindow(platform::Hwnd hwnd) override;
    void showContainerUnits(std::uint32_t windowId, std::uint32_t unitId) override;

private:
    // The handler an event reaches, after the owner chain; reports the
    // runtime errors of a missing window, unit or event capability.
    const runtime::HandlerEntry* handlerFor(std::uint32_t windowId, std::uint32_t unitId, std::int32_t event);
    UnitObject* createUnit(LoadedWindow& window, UnitRecord& unit, const UnitCreateParams& params);

    KindRegistry m_kinds;
};

Framework& TheFramework();

} // namespace ui
