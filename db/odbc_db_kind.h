// The external database unit's kind.
#pragma once

#include "ui/framework/unit_kind.h"

namespace db {

extern const ui::UnitKindDescriptor kOdbcDbKind;

} // namespace db
