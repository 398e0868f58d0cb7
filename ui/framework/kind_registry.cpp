#include "ui/framework/kind_registry.h"

namespace ui {

KindRoutine RoutineFromTable(const KindRoutines& t, int entry)
{
    auto wrap = [](auto routine) -> KindRoutine {
        if (routine)
            return routine;
        return std::monostate{};
    };
    switch (entry) {
    case kEntryCreate: return wrap(t.create);
    case kEntryPropertyAvailable: return wrap(t.propertyAvailable);
    case kEntrySetProperty: return wrap(t.setProperty);
    case kEntryWriteKindData: return wrap(t.writeKindData);
    case kEntryGetProperty: return wrap(t.getProperty);
    case kEntryVisitTexts: return wrap(t.visitTexts);
    default: return std::monostate{};
    }
}

void KindRegistry::addLibrary(const KindLibrary& library)
{
    for (KindLibrary& l : m_libraries)
        if (l.number == library.number) {
            l = library;
            return;
        }
    m_libraries.push_back(library);
}

const UnitKindDescriptor* KindRegistry::find(std::uint32_t kindId) const
{
    UnitKindId id{kindId};
    if (id.position() == 0)
        return nullptr;
    for (const KindLibrary& l : m_libraries) {
        if (l.number != id.library())
            continue;
        if (id.position() > l.kinds.size())
            return nullptr;
        const UnitKindDescriptor& d = l.kinds[id.position() - 1];
        return d.isEmpty() ? nullptr : &d;
    }
    return nullptr;
}

int KindRegistry::eventClass(std::uint32_t kindId) const
{
    const UnitKindDescriptor* d = find(kindId);
    if (!d)
        return 0;
    if (d->stateFlags & kKindMayRaiseEventsToo)
        return 2;
    if (d->stateFlags & kKindMayRaiseEvents)
        return 1;
    return 0;
}

bool KindRegistry::hasChildWindows(std::uint32_t kindId) const
{
    const UnitKindDescriptor* d = find(kindId);
    return d && d->hasChildWindows();
}

} // namespace ui
