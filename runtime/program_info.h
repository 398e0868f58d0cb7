// The record the build stores for the runtime to start the program from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace runtime {

struct LibraryDescriptor;

struct ProgramInfo {
    std::int32_t runMode = 3;
    std::uint32_t buildNumber = 0;
    std::uint32_t secondBuildNumber = 0;
    // Handler references in the templates are byte offsets from this base:
    // the start of the application's handler table, of this many bytes.
    const std::uint8_t* handlerCodeBase = nullptr;
    std::size_t handlerCodeSize = 0;
    const std::uint8_t* constantAreaStart = nullptr;
    std::size_t constantAreaSize = 0;
    const std::uint8_t* templateBlock = nullptr;
    std::size_t templateBlockSize = 0;
    std::span<const LibraryDescriptor* const> libraries;
    std::span<const char* const> externalFileNames;
    std::span<const char* const> externalExportedNames;
    // The program's icon resource (an icon file), shown where a window has
    // no icon of its own.
    std::span<const std::uint8_t> defaultIcon;
};

} // namespace runtime
