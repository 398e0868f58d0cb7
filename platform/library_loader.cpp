#include "platform/library_loader.h"

#include "platform/text_codec.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace platform {

Module LoadLibrary(std::string_view path)
{
    if (path.empty())
        return Module::Null;
    std::string p = GbkToUtf8(path);
    void* handle = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
    return Module(reinterpret_cast<std::uintptr_t>(handle));
}

void* GetProcAddress(Module module, std::string_view name)
{
    if (module == Module::Null || name.empty() || name[0] == '#')
        return nullptr;
    std::string n(name);
    return dlsym(reinterpret_cast<void*>(module), n.c_str());
}

bool FreeLibrary(Module module)
{
    return module != Module::Null && dlclose(reinterpret_cast<void*>(module)) == 0;
}

bool FileExists(std::string_view path)
{
    std::string p = GbkToUtf8(path);
    struct stat st{};
    return !p.empty() && stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace platform
