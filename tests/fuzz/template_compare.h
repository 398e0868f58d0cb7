// Field-by-field comparison of parsed window templates: the fields the
// block stores, not the run-time slots.
#pragma once

#include "ui/framework/template_block.h"

#include <cstddef>
#include <string>
#include <vector>

namespace templatetest {

// Where the first difference lies, or empty when there is none.
inline std::string RecordDifference(const ui::UnitRecord& a, const ui::UnitRecord& b)
{
    if (a.id != b.id || a.kindId != b.kindId || a.eventOwnerId != b.eventOwnerId)
        return "ids or kind";
    if (a.name != b.name || a.secondName != b.secondName)
        return "names";
    if (a.isMenuItem()) {
        if (a.shortcut != b.shortcut || a.level != b.level || a.itemFlags != b.itemFlags)
            return "menu item settings";
        if (a.caption != b.caption || a.clickHandlerRef != b.clickHandlerRef)
            return "menu item caption or handler";
        return {};
    }
    if (a.left != b.left || a.top != b.top || a.width != b.width || a.height != b.height)
        return "geometry";
    if (a.parentId != b.parentId || a.children != b.children)
        return "parent or children";
    if (a.cursorData != b.cursorData || a.tag != b.tag)
        return "mouse pointer or tag";
    if (a.stateFlags != b.stateFlags || a.tabOrder != b.tabOrder)
        return "state or tab order";
    if (a.bindings.size() != b.bindings.size())
        return "binding count";
    for (std::size_t i = 0; i < a.bindings.size(); ++i)
        if (a.bindings[i].event != b.bindings[i].event || a.bindings[i].handlerRef != b.bindings[i].handlerRef)
            return "binding " + std::to_string(i);
    if (a.kindData != b.kindData)
        return "kind data";
    return {};
}

inline std::string TemplateDifference(const std::vector<ui::WindowTemplate>& a,
                                      const std::vector<ui::WindowTemplate>& b)
{
    if (a.size() != b.size())
        return "window count";
    for (std::size_t w = 0; w < a.size(); ++w) {
        const ui::WindowTemplate& x = a[w];
        const ui::WindowTemplate& y = b[w];
        std::string where = "window " + std::to_string(w) + ": ";
        if (x.id != y.id || x.programSetId != y.programSetId || x.reserved != y.reserved)
            return where + "ids or reserved";
        if (x.firstText != y.firstText || x.secondText != y.secondText)
            return where + "texts";
        if (x.records.size() != y.records.size())
            return where + "record count";
        for (std::size_t r = 0; r < x.records.size(); ++r)
            if (std::string d = RecordDifference(x.records[r], y.records[r]); !d.empty())
                return where + "record " + std::to_string(r) + ": " + d;
    }
    return {};
}

} // namespace templatetest
