#include "runtime/commands/core_library.h"

#include <atomic>

namespace runtime {
namespace {

std::atomic<ServiceEntry> g_coreServices{nullptr};
std::atomic<ServiceEntry> g_specialServices{nullptr};

} // namespace

std::intptr_t CoreLibraryNotify(int message, std::uintptr_t a, std::uintptr_t)
{
    if (message == kLibraryStarted)
        g_coreServices = reinterpret_cast<ServiceEntry>(a);
    else if (message == kLibraryShutdown)
        g_coreServices = nullptr;
    return 0;
}

std::intptr_t SpecialFunctionsNotify(int message, std::uintptr_t a, std::uintptr_t)
{
    if (message == kLibraryStarted)
        g_specialServices = reinterpret_cast<ServiceEntry>(a);
    else if (message == kLibraryShutdown)
        g_specialServices = nullptr;
    return 0;
}

ServiceEntry CoreLibraryServices()
{
    return g_coreServices;
}

} // namespace runtime
