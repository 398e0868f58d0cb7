#include "db/column_value.h"

#include <cstring>

namespace db {

ColumnValue::~ColumnValue()
{
    EmptyVar(this);
}

void ColumnValue::setByte(std::uint8_t v)
{
    EmptyVar(this);
    code = ValueCode::Byte;
    byte = v;
}

void ColumnValue::setShort(std::int16_t v)
{
    EmptyVar(this);
    code = ValueCode::Short;
    shortInt = v;
}

void ColumnValue::setInteger(std::int32_t v)
{
    EmptyVar(this);
    code = ValueCode::Integer;
    integer = v;
}

void ColumnValue::setReal32(float v)
{
    EmptyVar(this);
    code = ValueCode::Real32;
    real32 = v;
}

void ColumnValue::setReal64(double v)
{
    EmptyVar(this);
    code = ValueCode::Real64;
    real64 = v;
}

void ColumnValue::setLogical(bool v)
{
    EmptyVar(this);
    code = ValueCode::Logical;
    logical = v ? 1 : 0;
}

void ColumnValue::setDateTime(double days)
{
    EmptyVar(this);
    code = ValueCode::DateTime;
    dateTime = days;
}

void ColumnValue::setText(std::string_view v)
{
    EmptyVar(this);
    code = ValueCode::Text;
    text = new char[v.size() + 1];
    std::memcpy(text, v.data(), v.size());
    text[v.size()] = '\0';
    length = v.size();
}

void ColumnValue::setBytes(std::span<const std::uint8_t> v)
{
    EmptyVar(this);
    code = ValueCode::Bytes;
    // Even empty bytes get a block, so a bytes value never has a null
    // pointer beside a code that says bytes.
    bytes = new std::uint8_t[v.size() ? v.size() : 1];
    if (!v.empty())
        std::memcpy(bytes, v.data(), v.size());
    length = v.size();
}

void EmptyVar(ColumnValue* value)
{
    if (!value)
        return;
    delete[] value->text;
    delete[] value->bytes;
    value->text = nullptr;
    value->bytes = nullptr;
    value->length = 0;
    value->code = ValueCode::None;
    value->real64 = 0;
}

} // namespace db
