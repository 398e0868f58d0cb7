#include "runtime/memory.h"

#include "platform/process.h"
#include "runtime/runtime.h"
#include "runtime/runtime_error.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace runtime {

void Memory::setConstantArea(const std::uint8_t* start, std::size_t size)
{
    m_constStart = size ? start : nullptr;
    m_constSize = start ? size : 0;
}

bool Memory::isConstant(const void* p) const
{
    auto* b = static_cast<const std::uint8_t*>(p);
    return m_constStart && b >= m_constStart && b < m_constStart + m_constSize;
}

std::size_t Memory::constantBytesFrom(const void* p) const
{
    if (!isConstant(p))
        return 0;
    return std::size_t(m_constStart + m_constSize - static_cast<const std::uint8_t*>(p));
}

void* Memory::allocateOrNull(std::size_t bytes)
{
    return platform::HeapAlloc(bytes);
}

void* Memory::allocate(std::size_t bytes)
{
    void* p = platform::HeapAlloc(bytes);
    if (!p)
        ReportMemoryFailure(bytes);
    return p;
}

void* Memory::reallocate(void* block, std::size_t bytes)
{
    if (!block)
        return allocate(bytes);
    if (isConstant(block)) {
        // Constants are never moved or freed: the new block is a copy of as
        // much of the constant as the area holds.
        void* copy = allocate(bytes);
        std::memcpy(copy, block, std::min(bytes, constantBytesFrom(block)));
        return copy;
    }
    void* p = platform::HeapReAlloc(block, bytes);
    if (!p)
        ReportMemoryFailure(bytes);
    return p;
}

void Memory::free(void* block)
{
    if (!block || isConstant(block))
        return;
    platform::HeapFree(block);
}

void* Allocate(std::size_t bytes)
{
    return TheRuntime().memory().allocate(bytes);
}

void* AllocateOrNull(std::size_t bytes)
{
    return TheRuntime().memory().allocateOrNull(bytes);
}

void* Reallocate(void* block, std::size_t bytes)
{
    return TheRuntime().memory().reallocate(block, bytes);
}

void Free(const void* block)
{
    TheRuntime().memory().free(const_cast<void*>(block));
}

char* NewText(std::string_view text)
{
    if (text.empty())
        return nullptr;
    auto* p = static_cast<char*>(Allocate(text.size() + 1));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    return p;
}

std::uint8_t* NewBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return nullptr;
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        ReportMemoryFailure(bytes.size());
    auto* p = static_cast<std::uint8_t*>(Allocate(8 + bytes.size()));
    std::uint32_t header[2] = {1, std::uint32_t(bytes.size())};
    std::memcpy(p, header, 8);
    std::memcpy(p + 8, bytes.data(), bytes.size());
    return p;
}

void* NewArray(ValueType element, std::span<const std::uint32_t> dimensions)
{
    std::size_t count = 1;
    for (std::uint32_t d : dimensions) {
        if (d != 0 && count > std::numeric_limits<std::size_t>::max() / d)
            ReportMemoryFailure(std::numeric_limits<std::size_t>::max());
        count *= d;
    }
    std::size_t header = 4 * (1 + dimensions.size());
    std::size_t elementBytes = ElementSize(element);
    if (elementBytes && count > (std::numeric_limits<std::size_t>::max() - header) / elementBytes)
        ReportMemoryFailure(std::numeric_limits<std::size_t>::max());
    std::size_t total = header + count * elementBytes;
    auto* p = static_cast<std::uint8_t*>(Allocate(total));
    std::memset(p, 0, total);
    std::uint32_t n = std::uint32_t(dimensions.size());
    std::memcpy(p, &n, 4);
    std::memcpy(p + 4, dimensions.data(), 4 * dimensions.size());
    return p;
}

void FreeArray(void* block, ValueType element)
{
    if (!block)
        return;
    if (element == ValueType::Text || element == ValueType::Bytes) {
        ArrayView view(block, element);
        const std::uint8_t* e = view.elements();
        for (std::size_t i = 0; i < view.elementCount(); ++i) {
            void* item;
            std::memcpy(&item, e + i * sizeof(void*), sizeof item);
            Free(item);
        }
    }
    Free(block);
}

void FreeValue(const TypedValue& value)
{
    if (value.isArray()) {
        FreeArray(value.asPointer(), value.basicType());
        return;
    }
    switch (value.basicType()) {
    case ValueType::Text:
    case ValueType::Bytes:
        Free(value.asPointer());
        break;
    case ValueType::Font:
        if (auto* f = static_cast<FontValue*>(value.asPointer())) {
            Free(f->faceName);
            Free(f);
        }
        break;
    default:
        break;
    }
}

void MakeArrayWritable(std::size_t elementSize, void** arrayVariable)
{
    if (!arrayVariable || !*arrayVariable)
        return;
    Memory& memory = TheRuntime().memory();
    void* block = *arrayVariable;
    if (!memory.isConstant(block))
        return;
    std::size_t available = memory.constantBytesFrom(block);
    if (available < 4)
        return;
    std::uint32_t dims = LoadU32(block);
    std::size_t header = 4 * (std::size_t(dims) + 1);
    if (header > available)
        return; // not an array the area can hold: leave it alone
    std::size_t count = 1;
    auto* b = static_cast<const std::uint8_t*>(block);
    for (std::uint32_t i = 0; i < dims; ++i)
        count *= LoadU32(b + 4 + 4 * i);
    std::size_t size = header + elementSize * count;
    void* copy = Allocate(size);
    std::memcpy(copy, block, std::min(size, available));
    *arrayVariable = copy;
}

} // namespace runtime
