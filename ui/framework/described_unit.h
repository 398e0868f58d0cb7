// What every unit of a described kind has: its settings, read from its
// kind data, and whether it is hosted at design time; and the one way such
// a unit is made.
#pragma once

#include "ui/framework/kind_codec.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

#include <utility>

namespace ui {

template<class Data>
class DescribedUnit : public UnitObject {
public:
    Data& settings() { return m_settings; }
    const Data& settings() const { return m_settings; }
    bool designTime() const { return m_designTime; }

protected:
    DescribedUnit(const UnitCreateParams& p, Data settings)
        : UnitObject(p.windowId, p.unitId, p.kindId), m_settings(std::move(settings)), m_designTime(p.designTime)
    {
    }

    Data m_settings;

private:
    bool m_designTime;
};

// Kind entry 1 of a described kind: the settings read from the kind data
// (a block that does not read makes no unit), then the unit's window made
// by `Unit::createControl`, which deletes the unit when it cannot make it.
template<class Unit>
Unit* MakeDescribedUnit(const UnitCreateParams& p)
{
    auto settings = ReadKindData(Unit::description(), p.kindData);
    if (!settings)
        return nullptr;
    auto* unit = new Unit(p, std::move(*settings));
    return unit->createControl(p) ? unit : nullptr;
}

} // namespace ui
