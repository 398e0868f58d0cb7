// External DLL commands: a library file name and an exported name per
// command, looked up on first call and cached.

#include "platform/library_loader.h"
#include "runtime/runtime.h"
#include "runtime/runtime_error.h"

#include <cstdio>

namespace runtime {
namespace {

// Tried in this order for a command that names no library.
constexpr const char* kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                            "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

std::string join(const std::string& dir, const std::string& file)
{
    if (dir.empty())
        return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

std::string format(const char* pattern, const std::string& a, const std::string& b = {})
{
    char buf[600];
    if (b.empty())
        std::snprintf(buf, sizeof buf, pattern, a.c_str());
    else
        std::snprintf(buf, sizeof buf, pattern, a.c_str(), b.c_str());
    return buf;
}

} // namespace

void Runtime::defineExternalCommands(std::span<const char* const> files, std::span<const char* const> names)
{
    std::size_t n = files.size();
    m_externalFiles.assign(n, {});
    m_externalNames.assign(n, {});
    m_externalAddresses.assign(n, nullptr);
    m_externalModules.assign(n, platform::Module::Null);
    for (std::size_t i = 0; i < n; ++i) {
        m_externalFiles[i] = files[i] ? files[i] : "";
        if (i < names.size() && names[i])
            m_externalNames[i] = names[i];
    }
}

void Runtime::selectDllModule(platform::Module module, const std::string& exportedName)
{
    m_selectedModule = module;
    m_selectedExportName = exportedName;
}

void* Runtime::callExternalCommand(std::size_t index)
{
    if (index >= m_externalFiles.size())
        ReportRuntimeError(format(error_text::kDllCommandNoLibraryFormat, "#" + std::to_string(index)), 0, 0, 0);
    if (m_externalAddresses[index])
        return m_externalAddresses[index];

    const std::string& file = m_externalFiles[index];
    const std::string& name = m_externalNames[index];
    void* address = nullptr;
    platform::Module module = platform::Module::Null;

    if (m_selectedModule != platform::Module::Null) {
        const std::string& lookup = m_selectedExportName.empty() ? name : m_selectedExportName;
        address = platform::GetProcAddress(m_selectedModule, lookup);
        m_selectedModule = platform::Module::Null;
        m_selectedExportName.clear();
        // The selected module stays its owner's: it is not freed with the command.
    } else if (file.empty()) {
        for (const char* lib : kSystemLibraries) {
            platform::Module m = platform::LoadLibrary(lib);
            if (m == platform::Module::Null)
                continue;
            if ((address = platform::GetProcAddress(m, name))) {
                module = m;
                break;
            }
            platform::FreeLibrary(m);
        }
    } else {
        // A name that is not a full path is looked for in the extra
        // directory, the program directory, the module directory, and then
        // as given.
        std::vector<std::string> candidates;
        if (file.front() != '/') {
            if (!m_extraDllDirectory.empty())
                candidates.push_back(join(m_extraDllDirectory, file));
            candidates.push_back(join(m_programDirectory, file));
            candidates.push_back(join(m_moduleDirectory, file));
        }
        candidates.push_back(file);
        for (const std::string& path : candidates) {
            if (path != file && !platform::FileExists(path))
                continue;
            module = platform::LoadLibrary(path);
            if (module != platform::Module::Null)
                break;
        }
        if (module != platform::Module::Null)
            address = platform::GetProcAddress(module, name);
        if (!address && module != platform::Module::Null) {
            platform::FreeLibrary(module);
            module = platform::Module::Null;
        }
    }

    if (!address) {
        if (file.empty())
            ReportLibraryError(format(error_text::kDllCommandNoLibraryFormat, name));
        ReportLibraryError(format(error_text::kDllCommandFormat, file, name));
    }
    m_externalAddresses[index] = address;
    m_externalModules[index] = module;
    return address;
}

} // namespace runtime
