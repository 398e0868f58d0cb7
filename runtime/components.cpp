#include "runtime/components.h"

#include "platform/library_loader.h"
#include "platform/ole.h"

#include <cstdlib>

namespace runtime {
namespace {

constexpr std::int32_t kRunModeNoRegistration = 2;

std::string join(const std::string& directory, const std::string& path)
{
    if (directory.empty())
        return path;
    return directory.back() == '/' ? directory + path : directory + "/" + path;
}

// Calls one of the registration exports of a shared library found in the
// module or program directory; a missing library or export fails quietly.
bool callRegistrationExport(const ComponentEntry& c, const std::string& moduleDirectory,
                            const std::string& programDirectory, const char* exportName, std::string* resolved)
{
    for (const std::string& dir : {moduleDirectory, programDirectory}) {
        std::string candidate = join(dir, c.path);
        platform::Module m = platform::LoadLibrary(candidate);
        if (m == platform::Module::Null)
            continue;
        using Entry = long (*)();
        auto entry = reinterpret_cast<Entry>(platform::GetProcAddress(m, exportName));
        bool ok = entry && entry() >= 0;
        platform::FreeLibrary(m);
        if (ok && resolved)
            *resolved = candidate;
        return ok;
    }
    return false;
}

} // namespace

ComponentEntry ParseComponentEntry(std::string_view entry)
{
    ComponentEntry c;
    auto first = entry.find('#');
    c.path = std::string(entry.substr(0, first));
    if (first == std::string_view::npos)
        return c;
    std::string_view rest = entry.substr(first + 1);
    auto second = rest.find('#');
    std::string_view version = rest.substr(0, second);
    if (!version.empty() && version.front() != '{') {
        c.hasVersion = true;
        std::string v(version);
        char* end = nullptr;
        c.major = int(std::strtol(v.c_str(), &end, 10));
        if (end && *end == '.')
            c.minor = int(std::strtol(end + 1, nullptr, 10));
    }
    if (second != std::string_view::npos)
        c.locale = int(std::strtol(std::string(rest.substr(second + 1)).c_str(), nullptr, 10));
    return c;
}

bool RegisterComponent(std::string_view entry, std::int32_t runMode, const std::string& moduleDirectory,
                       const std::string& programDirectory, std::string& resolvedPath)
{
    if (runMode == kRunModeNoRegistration || entry.empty())
        return false;
    ComponentEntry c = ParseComponentEntry(entry);
    if (c.isTypeLibrary()) {
        for (const std::string& candidate : {join(moduleDirectory, c.path), join(programDirectory, c.path), c.path}) {
            if (platform::RegisterTypeLib(candidate)) {
                resolvedPath = candidate;
                return true;
            }
        }
        return false;
    }
    return callRegistrationExport(c, moduleDirectory, programDirectory, "DllRegisterServer", &resolvedPath);
}

bool UnregisterComponent(std::string_view entry, std::int32_t runMode, const std::string& moduleDirectory,
                         const std::string& programDirectory)
{
    if (runMode == kRunModeNoRegistration || entry.empty())
        return false;
    ComponentEntry c = ParseComponentEntry(entry);
    if (c.isTypeLibrary())
        return platform::UnRegisterTypeLib(c.path, c.major, c.minor, c.locale);
    return callRegistrationExport(c, moduleDirectory, programDirectory, "DllUnregisterServer", nullptr);
}

} // namespace runtime
