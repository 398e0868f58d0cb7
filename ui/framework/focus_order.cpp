#include "ui/framework/focus_order.h"

#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/unit_object.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

struct Stop {
    std::int32_t tabOrder;
    std::size_t record;
    const UnitObject* unit;
};

std::vector<Stop> tabStops(const LoadedWindow& w)
{
    std::vector<Stop> stops;
    const auto& units = w.units();
    for (std::size_t i = 1; i < units.size(); ++i) {
        const UnitRecord& u = units[i];
        if (u.isMenuItem() || !u.tabStop() || !u.object)
            continue;
        platform::Hwnd h = u.object->handle();
        if (!platform::IsWindowVisible(h) || !platform::IsWindowEnabled(h))
            continue;
        stops.push_back({u.tabOrder, i, u.object});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.tabOrder < b.tabOrder; });
    return stops;
}

} // namespace

platform::Hwnd NextTabStop(const LoadedWindow& window, platform::Hwnd current, bool backwards)
{
    std::vector<Stop> stops = tabStops(window);
    if (stops.empty())
        return platform::Hwnd::Null;
    auto at = std::find_if(stops.begin(), stops.end(), [&](const Stop& s) { return s.unit->ownsWindow(current); });
    if (at == stops.end())
        return (backwards ? stops.back() : stops.front()).unit->handle();
    std::size_t i = std::size_t(at - stops.begin());
    std::size_t n = stops.size();
    return stops[backwards ? (i + n - 1) % n : (i + 1) % n].unit->handle();
}

platform::Hwnd FirstTabStop(const LoadedWindow& window)
{
    std::vector<Stop> stops = tabStops(window);
    return stops.empty() ? platform::Hwnd::Null : stops.front().unit->handle();
}

} // namespace ui
