// A unit framework without windows, for tests of the runtime alone: a
// windows table of plain entries, and a framework that opens nothing.
#pragma once

#include "runtime/program_info.h"
#include "runtime/unit_framework.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace runtimetest {

struct FakeUnit {
    std::string name;
    bool isMenuItem = false;
};

// A window template as the windows table holds it, never opened.
class FakeWindow : public runtime::WindowEntry {
public:
    FakeWindow(std::uint32_t id, std::string name, std::uint32_t ownUnitId) : m_id(id), m_name(std::move(name))
    {
        m_units[0] = {m_name, false};
        m_units[ownUnitId] = {m_name, false};
    }
    FakeWindow& unit(std::uint32_t id, std::string name, bool menuItem = false)
    {
        m_units[id] = {std::move(name), menuItem};
        return *this;
    }

    std::uint32_t windowId() const override { return m_id; }
    std::string_view name() const override { return m_name; }
    platform::Hwnd liveHandle() const override { return platform::Hwnd::Null; }
    std::optional<runtime::UnitSummary> findUnit(std::uint32_t unitId) const override
    {
        auto it = m_units.find(unitId);
        if (it == m_units.end())
            return std::nullopt;
        return runtime::UnitSummary{it->second.name, it->second.isMenuItem};
    }
    void resetToStored() override {}
    void destroyLive() override {}
    void unitGone(std::uint32_t) override {}

private:
    std::uint32_t m_id;
    std::string m_name;
    std::map<std::uint32_t, FakeUnit> m_units;
};

// Opens no window; reading the templates fails with `templateError` when
// that is set.
class FakeFramework : public runtime::UnitFramework {
public:
    std::string templateError;
    int openCalls = 0;

    bool loadTemplates(const runtime::ProgramInfo&, runtime::WindowTable&, std::string& error) override
    {
        error = templateError;
        return templateError.empty();
    }
    bool openWindow(std::uint32_t, platform::WindowObject*, bool) override
    {
        ++openCalls;
        return false;
    }
    runtime::TypedValue readProperty(std::uint32_t, std::uint32_t, int, int) override { return {}; }
    void writeProperty(std::uint32_t, std::uint32_t, int, int, const runtime::TypedValue&) override {}
    bool raiseIdleEvent(std::uint32_t, std::uint32_t) override { return false; }
    void raiseEvent(runtime::EventCall&) override {}
    void raiseEvent(runtime::TypedEventCall&) override {}
    platform::WindowObject* unitObject(std::uint32_t, std::uint32_t) override { return nullptr; }
    const void* unitData(std::uint32_t, std::uint32_t) override { return nullptr; }
    const void* kindDescriptor(std::uint32_t) override { return nullptr; }
    int kindEventClass(std::uint32_t) override { return 0; }
    bool isUnitWindow(platform::Hwnd) override { return false; }
    void showContainerUnits(std::uint32_t, std::uint32_t) override {}
};

FakeFramework& TheFakeFramework();

// Adds a fake window to the runtime's windows table.
FakeWindow& AddFakeWindow(std::uint32_t windowId, std::string name, std::uint32_t ownUnitId);

// Starts the runtime in this process once, with the fake framework and a
// program without templates or libraries.
void StartFakeRuntime();

} // namespace runtimetest
