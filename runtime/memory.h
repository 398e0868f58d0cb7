// The runtime's memory: one heap for every block the runtime, the commands
// and the handlers hand each other, and the program's constant area, whose
// blocks are never freed.
#pragma once

#include "runtime/typed_value.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace runtime {

class Memory {
public:
    void setConstantArea(const std::uint8_t* start, std::size_t size);
    void forgetConstantArea() { setConstantArea(nullptr, 0); }
    bool isConstant(const void* p) const;
    // Bytes from p to the end of the constant area (0 outside it).
    std::size_t constantBytesFrom(const void* p) const;

    // A failed allocation is the memory error: the program ends.
    void* allocate(std::size_t bytes);
    void* allocateOrNull(std::size_t bytes);
    void* reallocate(void* block, std::size_t bytes);
    void free(void* block);

private:
    const std::uint8_t* m_constStart = nullptr;
    std::size_t m_constSize = 0;
};

// The operations on the process-wide runtime's memory.
void* Allocate(std::size_t bytes);
void* AllocateOrNull(std::size_t bytes);
void* Reallocate(void* block, std::size_t bytes);
void Free(const void* block);

// Fresh heap copies, in the layouts typed values point to.  An empty text
// or byte string gives null.
char* NewText(std::string_view text);
std::uint8_t* NewBytes(std::span<const std::uint8_t> bytes);
// An array block with zeroed elements.
void* NewArray(ValueType element, std::span<const std::uint32_t> dimensions);
// Frees an array block, and first each text or bytes element.
void FreeArray(void* block, ValueType element);
// Frees whatever heap block a value owns (text, bytes, array, font).
void FreeValue(const TypedValue& value);

// If the array variable points into the constant area, replaces it by a
// heap copy so it can be written.
void MakeArrayWritable(std::size_t elementSize, void** arrayVariable);

} // namespace runtime
