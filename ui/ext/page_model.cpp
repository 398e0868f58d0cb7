#include "ui/ext/page_model.h"

namespace ui {

bool IsSelectable(const PageRecord& page, const PageRules& rules)
{
    if (rules.designTime)
        return true;
    return (page.visible || rules.hiddenSelectable) && (page.enabled || rules.disabledSelectable);
}

bool HeaderShown(const PageRecord& page, const PageRules& rules)
{
    return rules.designTime || page.visible || rules.hiddenSelectable;
}

int FirstSelectable(std::span<const PageRecord> pages, const PageRules& rules)
{
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (IsSelectable(pages[i], rules))
            return int(i);
    return -1;
}

} // namespace ui
