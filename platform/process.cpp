#include "platform/process.h"

#include "platform/text_codec.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <link.h>
#include <pthread.h>
#include <unistd.h>
#include <climits>
#include <sys/syscall.h>

namespace platform {

std::string GetModuleFileName()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return Utf8ToGbk(std::string_view(buf, size_t(n)));
}

std::string GetModuleDirectory()
{
    std::string path = GetModuleFileName();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SetCurrentDirectory(std::string_view path)
{
    std::string p = GbkToUtf8(path);
    return !p.empty() && chdir(p.c_str()) == 0;
}

std::string GetCurrentDirectory()
{
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? Utf8ToGbk(buf) : std::string();
}

std::uint32_t GetTickCount()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

ThreadId GetCurrentThreadId()
{
    return static_cast<ThreadId>(syscall(SYS_gettid));
}

void ExitProcess(int exitCode)
{
    std::fflush(nullptr);
    _exit(exitCode & 0xFF);
}

void* HeapAlloc(std::size_t bytes)
{
    // A zero-byte request still yields a distinct block, as the heap did.
    return std::malloc(bytes ? bytes : 1);
}

void* HeapReAlloc(void* block, std::size_t bytes)
{
    return std::realloc(block, bytes ? bytes : 1);
}

void HeapFree(void* block)
{
    std::free(block);
}

namespace {
struct SegmentQuery {
    std::uintptr_t probe;
    MemoryRange found;
};

int findSegment(dl_phdr_info* info, size_t, void* data)
{
    auto* q = static_cast<SegmentQuery*>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        std::uintptr_t start = info->dlpi_addr + ph.p_vaddr;
        std::uintptr_t end = start + ph.p_memsz;
        if (q->probe >= start && q->probe < end) {
            q->found = {reinterpret_cast<const std::uint8_t*>(start), size_t(end - start)};
            return 1;
        }
    }
    return 0;
}
} // namespace

MemoryRange ReadOnlySegmentContaining(const void* probe)
{
    SegmentQuery q{reinterpret_cast<std::uintptr_t>(probe), {}};
    dl_iterate_phdr(findSegment, &q);
    return q.found;
}

} // namespace platform
