#include "platform/ole.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<bool> g_oleInitialized{false};
}

bool OleInitialize()
{
    bool expected = false;
    return g_oleInitialized.compare_exchange_strong(expected, true);
}

void OleUninitialize()
{
    g_oleInitialized = false;
}

bool IsOleInitialized()
{
    return g_oleInitialized;
}

void WSACleanup() {}

bool RegisterTypeLib(std::string_view)
{
    return false;
}

bool UnRegisterTypeLib(std::string_view, int, int, int)
{
    return false;
}

} // namespace platform
