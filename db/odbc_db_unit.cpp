#include "db/odbc_db_unit.h"

#include "platform/icon.h"
#include "platform/messages.h"
#include "platform/window.h"

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
    if (!platform::IsWindowClassRegistered(kOdbcDbClass)) {
        platform::WindowClass cls;
        cls.name = kOdbcDbClass;
        cls.cursor = platform::LoadStandardCursor(platform::StandardCursor::Arrow);
        cls.nullBrush = true;
        platform::RegisterWindowClass(cls);
    }
    auto* unit = new OdbcDbUnit(p.windowId, p.unitId, p.kindId);
    unit->m_kindData.assign(p.kindData.begin(), p.kindData.end());
    platform::WindowCreateParams w;
    w.className = kOdbcDbClass;
    // Never shown: whatever the record says, the window stays hidden.
    w.style = platform::WS_CHILD | platform::WS_CLIPSIBLINGS;
    w.x = p.left;
    w.y = p.top;
    w.width = p.width;
    w.height = p.height;
    w.parent = p.parent;
    w.controlId = p.controlId;
    if (platform::CreateWindowEx(w, unit) == platform::Hwnd::Null) {
        delete unit;
        return nullptr;
    }
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
    closeConnection(m_connection);
    m_connection = nullptr;
    UnitObject::onWindowGone();
}

} // namespace db
