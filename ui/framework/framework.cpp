#include "ui/framework/framework.h"

#include "platform/window.h"
#include "runtime/runtime.h"
#include "ui/framework/template_block.h"
#include "ui/framework/unit_object.h"

namespace ui {

Framework& TheFramework()
{
    static Framework framework;
    return framework;
}

LoadedWindow* Framework::window(std::uint32_t windowId)
{
    return static_cast<LoadedWindow*>(runtime::TheRuntime().findWindow(windowId));
}

void Framework::addWindow(std::unique_ptr<LoadedWindow> window)
{
    std::uint32_t id = window->id();
    runtime::TheRuntime().windows()[id] = std::move(window);
}

UnitRecord* Framework::unitRecord(std::uint32_t windowId, std::uint32_t unitId, LoadedWindow** owner)
{
    LoadedWindow* w = window(windowId);
    if (owner)
        *owner = w;
    return w ? w->find(unitId) : nullptr;
}

bool Framework::loadTemplates(const runtime::ProgramInfo& program, runtime::WindowTable& table, std::string& error)
{
    TemplateReadResult result = ReadTemplateBlock({program.templateBlock, program.templateBlockSize},
                                                  {program.handlerCodeBase, program.handlerCodeSize});
    if (!result.error.empty()) {
        error = result.error;
        return false;
    }
    for (auto& w : result.windows) {
        std::uint32_t id = w->id();
        table[id] = std::move(w);
    }
    return true;
}

platform::WindowObject* Framework::unitObject(std::uint32_t windowId, std::uint32_t unitId)
{
    UnitRecord* u = unitRecord(windowId, unitId);
    if (!u || u->isMenuItem() || !u->object || !platform::IsWindow(u->object->handle()))
        return nullptr;
    return u->object;
}

const void* Framework::unitData(std::uint32_t windowId, std::uint32_t unitId)
{
    return unitRecord(windowId, unitId);
}

const void* Framework::kindDescriptor(std::uint32_t kindId)
{
    return m_kinds.find(kindId);
}

int Framework::kindEventClass(std::uint32_t kindId)
{
    return m_kinds.eventClass(kindId);
}

bool Framework::isUnitWindow(platform::Hwnd hwnd)
{
    if (!platform::IsWindow(hwnd))
        return false;
    for (auto& [id, entry] : runtime::TheRuntime().windows()) {
        auto& w = static_cast<LoadedWindow&>(*entry);
        for (const UnitRecord& u : w.units())
            if (!u.isMenuItem() && u.object && u.object->handle() == hwnd)
                return true;
    }
    return false;
}

void Framework::showContainerUnits(std::uint32_t windowId, std::uint32_t unitId)
{
    LoadedWindow* w = nullptr;
    UnitRecord* container = unitRecord(windowId, unitId, &w);
    if (!container || !w || !container->object)
        return;
    applyContainerVisibility(*w, *container, container->object->currentPage());
}

} // namespace ui
