// Which pages of a PageControl can be made current and which headers are
// drawn, from the pages' flags and the unit's two selectability settings.
#pragma once

#include "ui/ext/page_control_data.h"

#include <span>

namespace ui {

struct PageRules {
    bool hiddenSelectable = false;   // property 48
    bool disabledSelectable = false; // property 49
    bool designTime = false;         // every page selectable and shown
};

// Visible and enabled; visible and disabled with 49; hidden and enabled
// with 48; hidden and disabled with both.
bool IsSelectable(const PageRecord& page, const PageRules& rules);
// Visible, or hidden with 48.
bool HeaderShown(const PageRecord& page, const PageRules& rules);
// The first page that can be made current, -1 for none.
int FirstSelectable(std::span<const PageRecord> pages, const PageRules& rules);

} // namespace ui
