#include "ui/ext/ext_library.h"

#include <atomic>

namespace ui {
namespace {

std::atomic<runtime::ServiceEntry> g_services{nullptr};

std::intptr_t notify(int message, std::uintptr_t a)
{
    if (message == runtime::kLibraryStarted)
        g_services = reinterpret_cast<runtime::ServiceEntry>(a);
    return 0;
}

} // namespace

const UnitKindDescriptor kTreeBoxKind{"树型框", "TreeBox", nullptr, 0, nullptr, 0x00000040};
const UnitKindDescriptor kListViewKind{"超级列表框", "ListView", nullptr, 0, nullptr, 0x00000040};
const UnitKindDescriptor kTransLabelKind{"透明标签", "TransLabel", nullptr, 0, nullptr, 0x00012040};
const UnitKindDescriptor kPageControlKind{"高级选择夹", "PageControl", nullptr, 0, nullptr, 0x800101C0};

std::intptr_t ExtLibrary1Notify(int message, std::uintptr_t a, std::uintptr_t)
{
    return notify(message, a);
}

std::intptr_t ExtLibrary3Notify(int message, std::uintptr_t a, std::uintptr_t)
{
    return notify(message, a);
}

runtime::ServiceEntry ExtLibraryServices()
{
    return g_services;
}

} // namespace ui
