#include "runtime/typed_value.h"

namespace runtime {

bool TypedValue::isNumeric() const
{
    switch (ValueType(type)) {
    case ValueType::Byte:
    case ValueType::Short:
    case ValueType::Int:
    case ValueType::Long:
    case ValueType::Float:
    case ValueType::Double:
        return true;
    default:
        return false;
    }
}

std::span<const std::uint8_t> BytesOf(const std::uint8_t* block)
{
    if (!block)
        return {};
    return {block + 8, LoadU32(block + 4)};
}

std::size_t ElementSize(ValueType element)
{
    switch (element) {
    case ValueType::Byte: return 1;
    case ValueType::Short: return 2;
    case ValueType::Int:
    case ValueType::Float:
    case ValueType::Logical: return 4;
    case ValueType::Long:
    case ValueType::Double:
    case ValueType::DateTime: return 8;
    default: return sizeof(void*); // texts, bytes, pointers, unit references
    }
}

ArrayView::ArrayView(const void* block, ValueType element)
    : m_block(static_cast<const std::uint8_t*>(block)), m_element(element)
{
    if (m_block)
        m_dimensions = LoadU32(m_block);
}

std::uint32_t ArrayView::dimension(std::uint32_t i) const
{
    return i < m_dimensions ? LoadU32(m_block + 4 + 4 * std::size_t(i)) : 0;
}

std::size_t ArrayView::elementCount() const
{
    if (!m_block)
        return 0;
    std::size_t n = 1;
    for (std::uint32_t i = 0; i < m_dimensions; ++i)
        n *= dimension(i);
    return n;
}

const std::uint8_t* ArrayView::elements() const
{
    return m_block ? m_block + 4 * (std::size_t(m_dimensions) + 1) : nullptr;
}

std::size_t ArrayView::blockSize() const
{
    return m_block ? 4 * (std::size_t(m_dimensions) + 1) + elementCount() * ElementSize(m_element) : 0;
}

TypedValue ArrayView::element(std::size_t index) const
{
    if (!m_block || index >= elementCount())
        return {};
    const std::uint8_t* p = elements() + index * ElementSize(m_element);
    TypedValue v;
    std::size_t size = ElementSize(m_element);
    std::uint64_t raw = 0;
    std::memcpy(&raw, p, size);
    // Signed element types are widened with their sign.
    switch (m_element) {
    case ValueType::Short: raw = std::uint64_t(std::int64_t(std::int16_t(raw))); break;
    case ValueType::Int:
    case ValueType::Logical: raw = std::uint64_t(std::int64_t(std::int32_t(raw))); break;
    default: break;
    }
    v.payload = raw;
    v.type = std::uint32_t(m_element);
    return v;
}

} // namespace runtime
