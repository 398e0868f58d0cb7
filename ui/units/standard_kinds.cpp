#include "ui/units/standard_kinds.h"

namespace ui {

const UnitKindDescriptor kEditBoxKind{.chineseName = "编辑框", .englishName = "EditBox", .stateFlags = 0x80000040};
const UnitKindDescriptor kPicBoxKind{.chineseName = "图片框", .englishName = "PicBox", .stateFlags = 0x840100C0};
const UnitKindDescriptor kButtonKind{.chineseName = "按钮", .englishName = "Button", .stateFlags = 0x80000840};
const UnitKindDescriptor kComboBoxKind{.chineseName = "组合框", .englishName = "ComboBox", .stateFlags = 0x80000240};

} // namespace ui
