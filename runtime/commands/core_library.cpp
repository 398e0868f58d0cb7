#include "runtime/commands/core_library.h"

#include <atomic>

namespace runtime {
namespace {

std::atomic<ServiceEntry> g_coreServices{nullptr};
std::atomic<ServiceEntry> g_specialServices{nullptr};

std::intptr_t coreNotify(int message, std::uintptr_t a, std::uintptr_t)
{
    if (message == kLibraryStarted)
        g_coreServices = reinterpret_cast<ServiceEntry>(a);
    else if (message == kLibraryShutdown)
        g_coreServices = nullptr;
    return 0;
}

std::intptr_t specialNotify(int message, std::uintptr_t a, std::uintptr_t)
{
    if (message == kLibraryStarted)
        g_specialServices = reinterpret_cast<ServiceEntry>(a);
    else if (message == kLibraryShutdown)
        g_specialServices = nullptr;
    return 0;
}

} // namespace

const LibraryDescriptor kCoreLibrary{"系统核心支持库", 1, coreNotify, {}};
const LibraryDescriptor kSpecialFunctionsLibrary{"特殊功能支持库", 4, specialNotify, {}};

ServiceEntry CoreLibraryServices()
{
    return g_coreServices;
}

} // namespace runtime
