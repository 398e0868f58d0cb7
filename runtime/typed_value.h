// Typed values: the 8-byte payload and type tag in which values pass
// between handlers, commands and the runtime, and the heap layouts of texts,
// byte blocks and arrays.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace runtime {

// Basic types occupy the low 16 bits; a unit reference carries its unit's
// kind id (library number in the high half, never 0) instead, and arrays
// set kArrayFlag on their element type.
enum class ValueType : std::uint32_t {
    Empty = 0, // an argument the caller left out
    Byte = 1,
    Short = 2,
    Int = 3,
    Long = 4,
    Float = 5,
    Double = 6,
    Logical = 7,
    DateTime = 8,
    Text = 9,
    Bytes = 10,
    SubroutinePointer = 11,
    Font = 12, // payload: a FontValue block on the heap
};

inline constexpr std::uint32_t kArrayFlag = 0x8000'0000u;

struct UnitRef {
    std::uint32_t windowId = 0;
    std::uint32_t unitId = 0;
    friend bool operator==(const UnitRef&, const UnitRef&) = default;
};

struct TypedValue {
    std::uint64_t payload = 0;
    std::uint32_t type = 0;  // a ValueType, a kind id, or either with kArrayFlag
    std::uint32_t flags = 0; // carried by typed call slots, not interpreted

    static TypedValue empty() { return {}; }
    static TypedValue byte(std::uint8_t v) { return make(ValueType::Byte, v); }
    static TypedValue shortInt(std::int16_t v) { return make(ValueType::Short, std::uint64_t(std::int64_t(v))); }
    static TypedValue integer(std::int32_t v) { return make(ValueType::Int, std::uint64_t(std::int64_t(v))); }
    static TypedValue longInt(std::int64_t v) { return make(ValueType::Long, std::uint64_t(v)); }
    static TypedValue real32(float v) { return make(ValueType::Float, std::bit_cast<std::uint32_t>(v)); }
    static TypedValue real64(double v) { return make(ValueType::Double, std::bit_cast<std::uint64_t>(v)); }
    static TypedValue logical(bool v) { return make(ValueType::Logical, v ? 1 : 0); }
    static TypedValue dateTime(double days) { return make(ValueType::DateTime, std::bit_cast<std::uint64_t>(days)); }
    // A text pointer (null for the empty text); ownership is the caller's.
    static TypedValue text(const char* p) { return make(ValueType::Text, std::uint64_t(std::uintptr_t(p))); }
    // A bytes block pointer ({1, length, bytes}) or null.
    static TypedValue bytes(const std::uint8_t* block) { return make(ValueType::Bytes, std::uint64_t(std::uintptr_t(block))); }
    static TypedValue unit(UnitRef ref, std::uint32_t kindId)
    {
        TypedValue v;
        v.payload = std::uint64_t(ref.windowId) | std::uint64_t(ref.unitId) << 32;
        v.type = kindId;
        return v;
    }
    static TypedValue array(ValueType element, const void* block)
    {
        TypedValue v = make(element, std::uint64_t(std::uintptr_t(block)));
        v.type |= kArrayFlag;
        return v;
    }
    static TypedValue pointer(ValueType t, const void* p) { return make(t, std::uint64_t(std::uintptr_t(p))); }

    bool isEmpty() const { return type == 0; }
    bool isArray() const { return type & kArrayFlag; }
    ValueType basicType() const { return ValueType(type & ~kArrayFlag); }
    bool is(ValueType t) const { return type == std::uint32_t(t); }
    bool isUnitRef() const { return !isArray() && (type >> 16) != 0; }
    bool isNumeric() const;

    std::uint8_t asByte() const { return std::uint8_t(payload); }
    std::int16_t asShort() const { return std::int16_t(payload); }
    std::int32_t asInt() const { return std::int32_t(payload); }
    std::int64_t asLong() const { return std::int64_t(payload); }
    float asFloat() const { return std::bit_cast<float>(std::uint32_t(payload)); }
    double asDouble() const { return std::bit_cast<double>(payload); }
    bool asLogical() const { return std::int32_t(payload) != 0; }
    double asDateTime() const { return std::bit_cast<double>(payload); }
    const char* asText() const { return reinterpret_cast<const char*>(std::uintptr_t(payload)); }
    const std::uint8_t* asBytesBlock() const { return reinterpret_cast<const std::uint8_t*>(std::uintptr_t(payload)); }
    void* asPointer() const { return reinterpret_cast<void*>(std::uintptr_t(payload)); }
    UnitRef asUnit() const { return {std::uint32_t(payload), std::uint32_t(payload >> 32)}; }

private:
    static TypedValue make(ValueType t, std::uint64_t p)
    {
        TypedValue v;
        v.payload = p;
        v.type = std::uint32_t(t);
        return v;
    }
};

// The bytes of a bytes block {32-bit 1, 32-bit length, bytes}; empty for null.
std::span<const std::uint8_t> BytesOf(const std::uint8_t* block);
// The text of a text value, "" for null.
inline std::string_view TextOf(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

// Size in bytes of one element of an array of the given type.
std::size_t ElementSize(ValueType element);

// A read-only view of an array block {32-bit dimension count, one 32-bit
// size per dimension, the elements}.
class ArrayView {
public:
    ArrayView(const void* block, ValueType element);
    bool valid() const { return m_block != nullptr; }
    std::uint32_t dimensionCount() const { return m_dimensions; }
    std::uint32_t dimension(std::uint32_t i) const;
    std::size_t elementCount() const;
    ValueType elementType() const { return m_element; }
    const std::uint8_t* elements() const;
    std::size_t blockSize() const; // header plus elements
    TypedValue element(std::size_t index) const;

private:
    const std::uint8_t* m_block = nullptr;
    ValueType m_element;
    std::uint32_t m_dimensions = 0;
};

// Reads a little-endian 32-bit number from unaligned memory.
inline std::uint32_t LoadU32(const void* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// The compound value of a font property.
struct FontValue {
    std::int32_t escapement = 0;
    std::int32_t bold = 0;
    std::int32_t italic = 0;
    std::int32_t underline = 0;
    std::int32_t strikeOut = 0;
    std::int32_t pointSize = 0;
    const char* faceName = nullptr; // heap text or null
};

} // namespace runtime
