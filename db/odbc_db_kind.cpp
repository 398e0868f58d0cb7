#include "db/odbc_db_kind.h"

namespace db {

// No window of its own to show (0x8000); its operations are commands.
const ui::UnitKindDescriptor kOdbcDbKind{"外部数据库", "ODBCDB", nullptr, 0, nullptr, 0x80008040};

} // namespace db
