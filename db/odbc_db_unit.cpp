#include "db/odbc_db_unit.h"

#include "ui/framework/unit_window.h"

namespace db {
namespace {

void closeConnection(Connection* c)
{
    if (!c)
        return;
    if (auto close = DatabaseEngine::instance().lookup<ConnectionActionFn>("CloseDatabase"))
        close(c);
}

} // namespace

OdbcDbUnit* OdbcDbUnit::create(const ui::UnitCreateParams& p)
{
    ui::RegisterUnitWindowClass(kOdbcDbClass);
    ++s_generation;
    auto* unit = new OdbcDbUnit(p.windowId, p.unitId, p.kindId);
    unit->m_kindData.assign(p.kindData.begin(), p.kindData.end());
    // Never shown: whatever the record says, the window stays hidden.
    if (!ui::CreateUnitWindow(unit, p, kOdbcDbClass, 0))
        return nullptr;
    return unit;
}

void OdbcDbUnit::replaceConnection(Connection* c)
{
    if (c == m_connection)
        return;
    closeConnection(m_connection);
    m_connection = c;
}

void OdbcDbUnit::onWindowGone()
{
    ++s_generation;
    closeConnection(m_connection);
    m_connection = nullptr;
    UnitObject::onWindowGone();
}

} // namespace db
