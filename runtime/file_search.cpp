#include "runtime/file_search.h"

#include "runtime/memory.h"

#include <optional>

namespace runtime {
namespace {

// The attributes that keep an entry out of a search unless asked for.
constexpr std::uint32_t kSpecialAttributes = platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_DIRECTORY;

bool wanted(const platform::FoundFile& file, std::uint32_t filter)
{
    return (file.attributes & kSpecialAttributes & ~filter) == 0;
}

} // namespace

char* FindFile(const char* pattern, std::uint32_t attributeFilter, FileSearchHandle& search)
{
    std::optional<platform::FoundFile> found;
    if (pattern && *pattern) {
        CloseFileSearch(search);
        platform::FoundFile first;
        search = platform::FindFirstFile(pattern, first);
        if (search)
            found = std::move(first);
    } else if (search) {
        found = platform::FindNextFile(search);
    }
    while (found && !wanted(*found, attributeFilter))
        found = platform::FindNextFile(search);
    if (!found) {
        CloseFileSearch(search);
        return nullptr;
    }
    return NewText(found->name);
}

void CloseFileSearch(FileSearchHandle& search)
{
    if (search)
        platform::FindClose(search);
    search = nullptr;
}

} // namespace runtime
