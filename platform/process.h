// The process: its program file, current directory, clock, threads, heap
// and exit.  Paths are GBK, as every text of the system; the file system's
// are UTF-8, converted here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Full path of the program file ("/" separated), from /proc/self/exe.
std::string GetModuleFileName();
// Directory of the module holding the program's code, with its trailing "/".
std::string GetModuleDirectory();

bool SetCurrentDirectory(std::string_view path);
std::string GetCurrentDirectory();

// Milliseconds since an arbitrary start; wraps like a 32-bit counter.
std::uint32_t GetTickCount();

using ThreadId = std::uint64_t;
ThreadId GetCurrentThreadId();

// Ends the process at once with the given code (the low 8 bits become the
// exit status).  Open output streams are flushed first.
[[noreturn]] void ExitProcess(int exitCode);

// The process heap.  Blocks come from the C allocator; HeapAlloc and
// HeapReAlloc return null when memory is exhausted.
void* HeapAlloc(std::size_t bytes);
void* HeapReAlloc(void* block, std::size_t bytes);
void HeapFree(void* block);

// The program's read-only data (string literals and other constants), as
// the loader mapped it: the segment of the program file that holds `probe`.
struct MemoryRange {
    const std::uint8_t* start = nullptr;
    std::size_t size = 0;
    bool contains(const void* p) const
    {
        auto* b = static_cast<const std::uint8_t*>(p);
        return start && b >= start && b < start + size;
    }
};
MemoryRange ReadOnlySegmentContaining(const void* probe);

} // namespace platform
