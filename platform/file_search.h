// File search by wildcard pattern ("*" and "?") in one directory, with the
// matching rules of the classic interface: letters compare without regard
// to case, other characters stand for themselves, "*.*" matches every name.
// Patterns and names are GBK, as every text of the system; the file
// system's own names are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum : std::uint32_t {
    FILE_ATTRIBUTE_READONLY = 0x01,
    FILE_ATTRIBUTE_HIDDEN = 0x02,
    FILE_ATTRIBUTE_DIRECTORY = 0x10,
    FILE_ATTRIBUTE_ARCHIVE = 0x20,
    FILE_ATTRIBUTE_NORMAL = 0x80,
};

struct FoundFile {
    std::string name;           // file name only, bytes as stored
    std::uint32_t attributes = 0;
};

class FileSearch;
using FileSearchHandle = FileSearch*;

// Starts a search for "dir/pattern" (no directory: the current one).
// Returns null when nothing matches; otherwise `first` receives the first
// match.  Entries "." and ".." are never reported.
FileSearchHandle FindFirstFile(std::string_view pattern, FoundFile& first);
std::optional<FoundFile> FindNextFile(FileSearchHandle search);
void FindClose(FileSearchHandle search);

} // namespace platform
