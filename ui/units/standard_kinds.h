// The standard unit kinds of the core library; each is defined with its
// unit (edit_box_unit, pic_box_unit, button_unit, combo_box_unit).
#pragma once

#include "ui/framework/unit_kind.h"

namespace ui {

extern const UnitKindDescriptor kEditBoxKind;
extern const UnitKindDescriptor kPicBoxKind;
extern const UnitKindDescriptor kButtonKind;
extern const UnitKindDescriptor kComboBoxKind;

} // namespace ui
