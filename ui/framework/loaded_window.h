// The run-time image of one window template: its records in template order
// (entry 0 the window's own unit), a pristine copy to go back to when the
// window closes, and the state of the open window.
#pragma once

#include "platform/menu.h"
#include "runtime/unit_framework.h"
#include "ui/framework/unit_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class UnitObject;

// What exists only while the window is open.
struct OpenWindowState {
    bool loaded = false; // the opening has finished
    bool modal = false;
    // DestroyUnit on the window: its destruction is due.
    bool markedForDestruction = false;
    platform::Menu menuBar = platform::Menu::Null;
    platform::Accelerators accelerators = platform::Accelerators::Null;
    // Windows disabled by a modal opening, given back on close.
    std::vector<platform::Hwnd> disabledWindows;
    // Units that start hidden because they sit on a page not shown.
    std::vector<std::uint32_t> initiallyHidden;
};

class LoadedWindow final : public runtime::WindowEntry {
public:
    LoadedWindow(std::uint32_t id, std::uint32_t programSetId, std::vector<UnitRecord> records);

    std::uint32_t id() const { return m_id; }
    std::uint32_t programSetId() const { return m_programSetId; }
    std::string firstText;
    std::string secondText;
    std::int32_t reserved = 0;

    std::vector<UnitRecord>& units() { return m_units; }
    const std::vector<UnitRecord>& units() const { return m_units; }
    const std::vector<UnitRecord>& storedUnits() const { return m_stored; }
    UnitRecord& ownUnit() { return m_units.front(); }
    const UnitRecord& ownUnit() const { return m_units.front(); }
    // 0 names the window's own unit.
    UnitRecord* find(std::uint32_t unitId);
    const UnitRecord* find(std::uint32_t unitId) const;
    int indexOf(std::uint32_t unitId) const;
    // Position of a menu record among the window's menu records, or -1.
    int menuPosition(std::uint32_t unitId) const;
    std::vector<UnitRecord*> menuRecords();

    OpenWindowState& open() { return m_open; }
    bool isOpen() const;
    UnitObject* windowObject() const { return m_units.front().object; }

    // The unit whose window is `hwnd`, or whose window holds it as part of
    // the unit (kinds with child windows); -1 when none.  The window's own
    // unit is not reported.  With searchParent the handle's parent is tried
    // once more.
    int unitAtWindow(platform::Hwnd hwnd, bool searchParent) const;

    // WindowEntry.
    std::uint32_t windowId() const override { return m_id; }
    std::string_view name() const override { return firstText; }
    platform::Hwnd liveHandle() const override;
    std::optional<runtime::UnitSummary> findUnit(std::uint32_t unitId) const override;
    void resetToStored() override;
    void destroyLive() override;
    void unitGone(std::uint32_t unitId) override;

private:
    std::uint32_t m_id;
    std::uint32_t m_programSetId;
    std::vector<UnitRecord> m_stored;
    std::vector<UnitRecord> m_units;
    OpenWindowState m_open;
};

} // namespace ui
