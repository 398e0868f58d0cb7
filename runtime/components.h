// Registration of components: type libraries and self-registering shared
// libraries, named by entries "path#major.minor#locale".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

struct ComponentEntry {
    std::string path;
    bool hasVersion = false;
    int major = 0, minor = 0;
    int locale = 0;
    // A type library: the version field is present and not a class id.
    bool isTypeLibrary() const { return hasVersion; }
};

ComponentEntry ParseComponentEntry(std::string_view entry);

// Registers the component; on success `resolvedPath` is where it was found.
// Nothing happens in run mode 2 or for an empty entry.
bool RegisterComponent(std::string_view entry, std::int32_t runMode, const std::string& moduleDirectory,
                       const std::string& programDirectory, std::string& resolvedPath);
bool UnregisterComponent(std::string_view entry, std::int32_t runMode, const std::string& moduleDirectory,
                         const std::string& programDirectory);

} // namespace runtime
