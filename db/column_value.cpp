#include "db/column_value.h"

#include "runtime/memory.h"

#include <cstring>

namespace db {

void ColumnValue::setByte(std::uint8_t v)
{
    clear();
    code = ValueCode::Byte;
    byte = v;
}

void ColumnValue::setShort(std::int16_t v)
{
    clear();
    code = ValueCode::Short;
    shortInt = v;
}

void ColumnValue::setInteger(std::int32_t v)
{
    clear();
    code = ValueCode::Integer;
    integer = v;
}

void ColumnValue::setReal32(float v)
{
    clear();
    code = ValueCode::Real32;
    real32 = v;
}

void ColumnValue::setReal64(double v)
{
    clear();
    code = ValueCode::Real64;
    real64 = v;
}

void ColumnValue::setLogical(bool v)
{
    clear();
    code = ValueCode::Logical;
    logical = v ? 1 : 0;
}

void ColumnValue::setDateTime(double days)
{
    clear();
    code = ValueCode::DateTime;
    dateTime = days;
}

void ColumnValue::setText(std::string_view v)
{
    clear();
    code = ValueCode::Text;
    // A block of the runtime's heap: the unit hands it on to the handler
    // as it is, without another copy.
    text = static_cast<char*>(runtime::Allocate(v.size() + 1));
    std::memcpy(text, v.data(), v.size());
    text[v.size()] = '\0';
    length = v.size();
}

void ColumnValue::setBytes(std::span<const std::uint8_t> v)
{
    clear();
    code = ValueCode::Bytes;
    // Even empty bytes get a block, so a bytes value never has a null
    // pointer beside a code that says bytes.
    bytes = static_cast<std::uint8_t*>(runtime::Allocate(v.size() ? v.size() : 1));
    if (!v.empty())
        std::memcpy(bytes, v.data(), v.size());
    length = v.size();
}

char* ColumnValue::releaseText()
{
    char* t = text;
    text = nullptr;
    clear();
    return t;
}

void ColumnValue::releaseBlocks()
{
    if (text)
        runtime::Free(text);
    if (bytes)
        runtime::Free(bytes);
    text = nullptr;
    bytes = nullptr;
}

void EmptyVar(ColumnValue* value)
{
    if (value)
        value->clear();
}

} // namespace db
