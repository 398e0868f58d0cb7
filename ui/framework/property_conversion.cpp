#include "ui/framework/property_conversion.h"

#include "platform/gdi.h"
#include "platform/icon.h"
#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/value_text.h"

#include <bit>
#include <cstring>

namespace ui {
namespace {

using runtime::TypedValue;
using runtime::ValueType;

bool isByteBlock(std::uint16_t t)
{
    switch (t) {
    case kTypePicture:
    case kTypeBytes1010:
    case kTypeMousePointer:
    case kTypeBytes1012:
    case kTypeBytes1023:
    case kTypeBytes1024:
        return true;
    default:
        return false;
    }
}

constexpr const char* kDefaultFace = "宋体";

std::string faceOf(const platform::LogFont& f)
{
    return std::string(f.faceName.data(), strnlen(f.faceName.data(), f.faceName.size()));
}

std::vector<std::uint8_t> bytesArgument(const TypedValue& v)
{
    if (v.is(ValueType::Bytes)) {
        auto b = runtime::BytesOf(v.asBytesBlock());
        return {b.begin(), b.end()};
    }
    if (v.is(ValueType::Text)) {
        std::string_view t = runtime::TextOf(v.asText());
        return {t.begin(), t.end()};
    }
    return {};
}

// A number as the double it stands for: through an integer it would lose
// the fraction of a float and the high half of a long integer.
double numberAsDouble(const TypedValue& v)
{
    switch (ValueType(v.type)) {
    case ValueType::Float: return double(v.asFloat());
    case ValueType::Long: return double(v.asLong());
    default: return double(runtime::ConvertToInteger(v));
    }
}

} // namespace

bool LogicalArgument(const TypedValue& value)
{
    if (value.is(ValueType::Logical))
        return value.asLogical();
    if (value.isEmpty())
        return false;
    return runtime::ConvertToInteger(value) != 0;
}

std::string TextArgument(const TypedValue& value)
{
    return runtime::ValueToText(value);
}

platform::LogFont LogFontFromRecord(const runtime::FontValue& r)
{
    platform::LogFont f;
    f.escapement = r.escapement;
    f.orientation = r.escapement;
    f.weight = r.bold ? 700 : 0;
    f.italic = r.italic ? 1 : 0;
    f.underline = r.underline ? 1 : 0;
    f.strikeOut = r.strikeOut ? 1 : 0;
    f.charSet = 1;
    // Character height in pixels for the point size, negative as the
    // logical font record wants it.
    f.height = -((r.pointSize * platform::LogPixelsY() + 36) / 72);
    std::string_view face = runtime::TextOf(r.faceName);
    if (face.empty() || face.size() > 31)
        face = kDefaultFace;
    std::memcpy(f.faceName.data(), face.data(), face.size());
    return f;
}

runtime::FontValue FontRecordFromLogFont(const platform::LogFont& f)
{
    runtime::FontValue r;
    r.escapement = f.escapement;
    r.bold = f.weight >= 700;
    r.italic = f.italic != 0;
    r.underline = f.underline != 0;
    r.strikeOut = f.strikeOut != 0;
    int px = f.height < 0 ? -f.height : f.height;
    r.pointSize = (px * 72 + platform::LogPixelsY() / 2) / platform::LogPixelsY();
    std::string face = faceOf(f);
    r.faceName = runtime::NewText(face.empty() ? kDefaultFace : face);
    return r;
}

PropertyValue FromTypedValue(const TypedValue& value, std::uint16_t type)
{
    switch (type) {
    case kTypeLogical:
        return PropertyValue::ofLogical(LogicalArgument(value));
    case kTypeText:
        return PropertyValue::ofText(TextArgument(value));
    case kTypeDouble:
    case kTypeDateTime:
        if (value.is(ValueType::Double) || value.is(ValueType::DateTime))
            return PropertyValue::ofWide(value.payload);
        return PropertyValue::ofWide(std::bit_cast<std::uint64_t>(numberAsDouble(value)));
    case kTypeFont: {
        if (!value.is(ValueType::Font) || !value.asPointer())
            return PropertyValue::ofFont(LogFontFromRecord({}));
        return PropertyValue::ofFont(LogFontFromRecord(*static_cast<const runtime::FontValue*>(value.asPointer())));
    }
    case kTypeMousePointer: {
        PropertyValue p = PropertyValue::ofBytes(bytesArgument(value));
        if (p.bytes.size() >= 4) {
            p.kind = PropertyValue::Kind::Cursor;
            p.cursor = CursorFromPointerData(p.bytes);
        }
        return p;
    }
    default:
        if (isByteBlock(type))
            return PropertyValue::ofBytes(bytesArgument(value));
        // Integers, choices, colours and the kind-specific value kinds.
        return PropertyValue::ofInteger(runtime::ConvertToInteger(value));
    }
}

TypedValue ToTypedValue(const PropertyValue& value, std::uint16_t type, int field)
{
    switch (type) {
    case kTypeLogical:
        return TypedValue::logical(value.integer != 0);
    case kTypeText:
        return TypedValue::text(runtime::NewText(value.text));
    case kTypeDouble:
        return TypedValue::real64(value.kind == PropertyValue::Kind::Wide ? std::bit_cast<double>(value.integer)
                                                                         : double(value.integer));
    case kTypeDateTime:
        return TypedValue::dateTime(value.kind == PropertyValue::Kind::Wide ? std::bit_cast<double>(value.integer)
                                                                           : double(value.integer));
    case kTypeFont: {
        runtime::FontValue r = FontRecordFromLogFont(value.font);
        switch (field) {
        case 0: runtime::Free(r.faceName); return TypedValue::integer(r.escapement);
        case 1: runtime::Free(r.faceName); return TypedValue::logical(r.bold);
        case 2: runtime::Free(r.faceName); return TypedValue::logical(r.italic);
        case 3: runtime::Free(r.faceName); return TypedValue::logical(r.underline);
        case 4: runtime::Free(r.faceName); return TypedValue::logical(r.strikeOut);
        case 5: runtime::Free(r.faceName); return TypedValue::integer(r.pointSize);
        case 6: return TypedValue::text(r.faceName);
        default: {
            auto* block = static_cast<runtime::FontValue*>(runtime::Allocate(sizeof(runtime::FontValue)));
            *block = r;
            return TypedValue::pointer(ValueType::Font, block);
        }
        }
    }
    default:
        if (isByteBlock(type))
            return TypedValue::bytes(runtime::NewBytes(value.bytes));
        if (type == 0)
            return TypedValue::integer(0);
        return TypedValue::integer(std::int32_t(value.integer));
    }
}

PropertyValue FontFieldUpdate(const PropertyValue& current, int field, const TypedValue& value)
{
    runtime::FontValue r = FontRecordFromLogFont(current.font);
    switch (field) {
    case 0: r.escapement = runtime::ConvertToInteger(value); break;
    case 1: r.bold = LogicalArgument(value); break;
    case 2: r.italic = LogicalArgument(value); break;
    case 3: r.underline = LogicalArgument(value); break;
    case 4: r.strikeOut = LogicalArgument(value); break;
    case 5: r.pointSize = runtime::ConvertToInteger(value); break;
    case 6: {
        runtime::Free(r.faceName);
        r.faceName = runtime::NewText(TextArgument(value));
        break;
    }
    default: break;
    }
    PropertyValue p = PropertyValue::ofFont(LogFontFromRecord(r));
    runtime::Free(r.faceName);
    return p;
}

platform::Cursor CursorFromPointerData(std::span<const std::uint8_t> data)
{
    if (data.size() < 4)
        return platform::Cursor::Null;
    std::uint32_t kind = runtime::LoadU32(data.data());
    if (kind == 0)
        return platform::Cursor::Null;
    if (kind == 0xFFFFFFFFu)
        return platform::CreateCursorFromFile(data.subspan(4));
    if (kind <= 14)
        return platform::LoadStandardCursor(platform::StandardCursor(int(kind)));
    return platform::Cursor::Null;
}

} // namespace ui
