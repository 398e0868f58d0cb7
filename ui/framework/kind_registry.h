// The unit kinds of every library, looked up by kind id.
#pragma once

#include "ui/framework/unit_kind.h"

#include <vector>

namespace ui {

class KindRegistry {
public:
    void addLibrary(const KindLibrary& library);
    // The descriptor of a kind id, or null for an unknown or empty position.
    const UnitKindDescriptor* find(std::uint32_t kindId) const;
    // 2 when the kind's flags have 0x04, 1 when they have 0x40, else 0.
    int eventClass(std::uint32_t kindId) const;
    bool hasChildWindows(std::uint32_t kindId) const;

private:
    std::vector<KindLibrary> m_libraries;
};

} // namespace ui
