#include "runtime/text_routines.h"

#include "runtime/memory.h"

#include <cstring>

namespace runtime {

char* ConcatText(std::initializer_list<const char*> parts)
{
    std::size_t total = 0;
    for (const char* p : parts)
        total += TextLength(p);
    auto* out = static_cast<char*>(Allocate(total + 1));
    char* at = out;
    for (const char* p : parts) {
        std::size_t n = TextLength(p);
        std::memcpy(at, p ? p : "", n);
        at += n;
    }
    *at = '\0';
    return out;
}

int CompareText(const char* a, const char* b)
{
    int r = std::strcmp(a ? a : "", b ? b : "");
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

std::size_t TextLength(const char* text)
{
    return text ? std::strlen(text) : 0;
}

} // namespace runtime
