// The standard unit kinds of the core library.  A kind whose create
// routine is not here yet is shown by the framework's placeholder unit.
#pragma once

#include "ui/framework/unit_kind.h"

namespace ui {

extern const UnitKindDescriptor kEditBoxKind;
extern const UnitKindDescriptor kPicBoxKind;
extern const UnitKindDescriptor kButtonKind;
extern const UnitKindDescriptor kComboBoxKind;

} // namespace ui
