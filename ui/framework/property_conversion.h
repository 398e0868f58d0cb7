// Conversions between the typed values handlers pass and the property
// values kinds take, by the property's type code.
#pragma once

#include "runtime/typed_value.h"
#include "ui/framework/unit_kind.h"

#include <span>
#include <string>

namespace ui {

// A handler's value as the kind's set routine takes it.  A value given for
// a numeric property that is not numeric is the runtime error
// "欲转换数据类型不是数值".
PropertyValue FromTypedValue(const runtime::TypedValue& value, std::uint16_t typeCode);
// A kind's value as the handler receives it (fresh heap blocks for texts
// and bytes).  For a font, `field` selects one of its seven fields (-1:
// the whole record).
runtime::TypedValue ToTypedValue(const PropertyValue& value, std::uint16_t typeCode, int field);
// A font property with one field replaced.
PropertyValue FontFieldUpdate(const PropertyValue& current, int field, const runtime::TypedValue& value);

// The font description a font record becomes: weight 700 when bold,
// height from the point size, "宋体" when the face is absent or longer
// than 31 bytes.
platform::LogFont LogFontFromRecord(const runtime::FontValue& record);
runtime::FontValue FontRecordFromLogFont(const platform::LogFont& font); // face: a heap text

// A logical argument: logical values, or numbers (non-zero is true).
bool LogicalArgument(const runtime::TypedValue& value);
// A text argument: a text, or another value by the value-to-text rules.
std::string TextArgument(const runtime::TypedValue& value);

// The cursor a mouse pointer block stands for: a block of at least 4
// bytes; its first 32-bit number 0 is the default pointer, 1-14 a standard
// pointer, 0xFFFFFFFF a cursor file that follows.
platform::Cursor CursorFromPointerData(std::span<const std::uint8_t> data);

} // namespace ui
