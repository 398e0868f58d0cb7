// A column's value as the database engine hands it out: a tagged value
// whose text and bytes belong to it until EmptyVar releases them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace db {

enum class ValueCode : std::int32_t {
    None = 0,
    Byte = 1,
    Short = 2,
    Integer = 3,
    // 4 is never produced.
    Real32 = 5,
    Real64 = 6,
    Logical = 7,
    Text = 8,
    DateTime = 9,
    Bytes = 10,
};

struct ColumnValue {
    ValueCode code = ValueCode::None;
    union {
        std::uint8_t byte;
        std::int16_t shortInt;
        std::int32_t integer;
        float real32;
        double real64;
        std::int32_t logical; // 0 or 1
        double dateTime;      // days since 30 December 1899
    };
    char* text = nullptr;           // NUL-terminated, owned; a block of the runtime's heap
    std::uint8_t* bytes = nullptr;  // owned; a block of the runtime's heap
    std::size_t length = 0;         // of text or bytes

    ColumnValue() : real64(0) {}
    ~ColumnValue() { clear(); }
    ColumnValue(const ColumnValue&) = delete;
    ColumnValue& operator=(const ColumnValue&) = delete;

    std::string_view textView() const { return text ? std::string_view(text, length) : std::string_view(); }
    std::span<const std::uint8_t> bytesView() const { return {bytes, length}; }

    // Setters release what the value held before.
    void setByte(std::uint8_t v);
    void setShort(std::int16_t v);
    void setInteger(std::int32_t v);
    void setReal32(float v);
    void setReal64(double v);
    void setLogical(bool v);
    void setDateTime(double days);
    void setText(std::string_view v);
    void setBytes(std::span<const std::uint8_t> v);
    // Hands the text block over to the caller (who frees it with the
    // runtime's Free) and empties the value.
    char* releaseText();
    // What EmptyVar does.  A value is emptied several times for each read
    // and mostly holds no block by then, so that test is made here.
    void clear()
    {
        if (text || bytes)
            releaseBlocks();
        length = 0;
        code = ValueCode::None;
        real64 = 0;
    }

private:
    void releaseBlocks();
};

// Releases the value's text or bytes and resets it to code 0.
void EmptyVar(ColumnValue* value);

} // namespace db
