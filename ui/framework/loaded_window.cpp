#include "ui/framework/loaded_window.h"

#include "platform/icon.h"
#include "platform/window.h"
#include "ui/framework/framework.h"
#include "ui/framework/unit_object.h"

#include <utility>

namespace ui {

LoadedWindow::LoadedWindow(std::uint32_t id, std::uint32_t programSetId, std::vector<UnitRecord> records)
    : m_id(id), m_programSetId(programSetId), m_stored(std::move(records)), m_units(m_stored)
{
    if (m_units.empty()) {
        // Every window has its own unit at entry 0.
        UnitRecord own;
        own.kindId = kinds::Window.value;
        m_stored.push_back(own);
        m_units = m_stored;
    }
}

UnitRecord* LoadedWindow::find(std::uint32_t unitId)
{
    int i = indexOf(unitId);
    return i < 0 ? nullptr : &m_units[std::size_t(i)];
}

const UnitRecord* LoadedWindow::find(std::uint32_t unitId) const
{
    int i = indexOf(unitId);
    return i < 0 ? nullptr : &m_units[std::size_t(i)];
}

int LoadedWindow::indexOf(std::uint32_t unitId) const
{
    if (unitId == 0)
        return 0;
    for (std::size_t i = 0; i < m_units.size(); ++i)
        if (m_units[i].id == unitId)
            return int(i);
    return -1;
}

int LoadedWindow::menuPosition(std::uint32_t unitId) const
{
    int position = 0;
    for (const UnitRecord& u : m_units) {
        if (!u.isMenuItem())
            continue;
        if (u.id == unitId)
            return position;
        ++position;
    }
    return -1;
}

std::vector<UnitRecord*> LoadedWindow::menuRecords()
{
    std::vector<UnitRecord*> items;
    for (UnitRecord& u : m_units)
        if (u.isMenuItem())
            items.push_back(&u);
    return items;
}

platform::Hwnd LoadedWindow::liveHandle() const
{
    UnitObject* o = m_units.front().object;
    return o ? o->handle() : platform::Hwnd::Null;
}

bool LoadedWindow::isOpen() const
{
    return platform::IsWindow(liveHandle());
}

int LoadedWindow::unitAtWindow(platform::Hwnd hwnd, bool searchParent) const
{
    const KindRegistry& kinds = TheFramework().kinds();
    for (int attempt = 0; attempt < (searchParent ? 2 : 1); ++attempt) {
        if (hwnd == platform::Hwnd::Null)
            return -1;
        for (std::size_t i = 1; i < m_units.size(); ++i) {
            const UnitRecord& u = m_units[i];
            if (u.isMenuItem() || !u.object)
                continue;
            platform::Hwnd own = u.object->handle();
            if (own == hwnd)
                return int(i);
            if (kinds.hasChildWindows(u.kindId) && platform::IsChild(own, hwnd))
                return int(i);
        }
        hwnd = platform::GetParent(hwnd);
    }
    return -1;
}

std::optional<runtime::UnitSummary> LoadedWindow::findUnit(std::uint32_t unitId) const
{
    const UnitRecord* u = find(unitId);
    if (!u)
        return std::nullopt;
    return runtime::UnitSummary{u->name, u->isMenuItem()};
}

void LoadedWindow::resetToStored()
{
    m_units = m_stored;
    m_open = OpenWindowState{};
}

void LoadedWindow::destroyLive()
{
    platform::Hwnd h = liveHandle();
    if (platform::IsWindow(h))
        platform::DestroyWindow(h);
    for (UnitRecord& u : m_units)
        if (u.cursor != platform::Cursor::Null)
            platform::DestroyCursor(std::exchange(u.cursor, platform::Cursor::Null));
    if (m_open.accelerators != platform::Accelerators::Null)
        platform::DestroyAcceleratorTable(m_open.accelerators);
    resetToStored();
}

void LoadedWindow::unitGone(std::uint32_t unitId)
{
    UnitRecord* u = find(unitId);
    if (!u || u->isOwnUnit())
        return;
    if (u->cursor != platform::Cursor::Null)
        platform::DestroyCursor(std::exchange(u->cursor, platform::Cursor::Null));
    u->object = nullptr;
}

} // namespace ui
