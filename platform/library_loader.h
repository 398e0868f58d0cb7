// Dynamic libraries: loading by file name, looking up exports, unloading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class Module : std::uintptr_t { Null = 0 };

// Loads a shared library by path or bare name; Null when it cannot be loaded.
Module LoadLibrary(std::string_view path);
// An export by name, or by ordinal when the name is "#" followed by digits
// (shared libraries here have no ordinals, so that lookup always fails).
void* GetProcAddress(Module module, std::string_view name);
bool FreeLibrary(Module module);
bool FileExists(std::string_view path);

} // namespace platform
