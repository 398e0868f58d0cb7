#include "ui/framework/kind_properties.h"

namespace ui {

platform::LogFont FontOfBlock(std::span<const std::uint8_t> block)
{
    if (std::optional<platform::LogFont> font = ReadLogFont(block))
        return *font;
    platform::LogFont font;
    platform::GetFontDescription(platform::GetStockFont(platform::DEFAULT_GUI_FONT), font);
    return font;
}

std::vector<PropertyDescriptor> CommonPropertyDescriptors()
{
    const std::uint16_t types[kFirstKindProperty] = {
        kTypeInteger, // left
        kTypeInteger, // top
        kTypeInteger, // width
        kTypeInteger, // height
        kTypeText,    // tag
        kTypeLogical, // visible
        kTypeLogical, // disabled
        kTypeMousePointer,
    };
    std::vector<PropertyDescriptor> table;
    for (std::uint16_t type : types)
        table.push_back({.typeCode = type});
    return table;
}

} // namespace ui
