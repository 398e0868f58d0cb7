#include "ui/units/standard_kinds.h"

namespace ui {

const UnitKindDescriptor kEditBoxKind{"编辑框", "EditBox", nullptr, 0, nullptr, 0x80000040};
const UnitKindDescriptor kPicBoxKind{"图片框", "PicBox", nullptr, 0, nullptr, 0x840100C0};
const UnitKindDescriptor kButtonKind{"按钮", "Button", nullptr, 0, nullptr, 0x80000840};
const UnitKindDescriptor kComboBoxKind{"组合框", "ComboBox", nullptr, 0, nullptr, 0x80000240};

} // namespace ui
