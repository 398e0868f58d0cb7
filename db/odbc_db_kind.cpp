#include "db/odbc_db_kind.h"

#include "db/odbc_db_unit.h"

namespace db {
namespace {

ui::UnitObject* createUnit(const ui::UnitCreateParams& p)
{
    return OdbcDbUnit::create(p);
}

// The kind has no properties of its own: writing one does nothing, and
// there is no routine to read one.
bool setProperty(ui::UnitObject&, int, const ui::PropertyValue&)
{
    return false;
}

// The unit changes nothing of its settings: they go out as they came in.
std::vector<std::uint8_t> writeKindData(ui::UnitObject& unit)
{
    return static_cast<OdbcDbUnit&>(unit).kindData();
}

const ui::KindRoutines kOdbcDbRoutines{.create = createUnit, .setProperty = setProperty, .writeKindData = writeKindData};

} // namespace

// No window of its own to show (0x8000); its operations are commands.
const ui::UnitKindDescriptor kOdbcDbKind{
    .chineseName = "外部数据库",
    .englishName = "ODBCDB",
    .stateFlags = 0x80008040,
    .kindEntry = ui::KindEntryFor<kOdbcDbRoutines>,
};

} // namespace db
