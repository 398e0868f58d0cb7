// The PageControl's pages: loading them, which can be made current, and
// switching from one to another with the events and the units of the
// pages shown and hidden.

#include "ui/ext/page_control_unit.h"

#include "platform/window.h"
#include "runtime/services.h"

namespace ui {

using namespace platform;

PageRules PageControlUnit::rules() const
{
    return {.hiddenSelectable = m_settings.hiddenPagesSelectable,
            .disabledSelectable = m_settings.disabledPagesSelectable,
            .designTime = designTime()};
}

bool PageControlUnit::selectable(int index) const
{
    return index >= 0 && index < pageCount() && IsSelectable(m_pages[std::size_t(index)], rules());
}

// A block that cannot be read leaves no pages; a unit always has one.
void PageControlUnit::loadPages()
{
    m_pages = ReadPages(m_settings.pages).value_or(std::vector<PageRecord>{});
    if (m_pages.empty())
        m_pages.push_back(PageRecord{});
    m_cache.clear();
    m_cache.resize(m_pages.size());
    m_hot = -1;
    m_tipHeader = -1;
    m_scrolled = 0;
    m_current = FirstSelectable(m_pages, rules());
}

// 1. A click on a page that cannot be made current changes nothing while
//    there is a current page (the header is only repainted); without one
//    the first that can takes its place.
// 2. Event 1 for a new page; handled false cancels.
// 3. The page's header brought next to the page area, or into view.
// 4. The page made current, the headers laid out again.
// 5. Repainted; the page area is the layout's.
// 6. For a new page, its units shown and the others' hidden, then event 0.
bool PageControlUnit::switchTo(int page, SwitchCause cause)
{
    if (cause != SwitchCause::Loading && !selectable(page)) {
        if (m_current >= 0) {
            invalidateHeader(page);
            return false;
        }
        page = FirstSelectable(m_pages, rules());
    }
    if (page < 0 || page >= pageCount())
        return false;

    int old = m_current;
    bool changes = page != old;
    if (changes) {
        Hwnd self = handle();
        runtime::EventCall call = raise(kPageChanging, {page});
        if (!IsWindow(self) || runtime::Vetoed(call))
            return false;
    }

    if (HeaderStripInput strip = stripInput(); !strip.multiRow)
        m_scrolled = ScrolledToReveal(strip, page);
    m_current = page;
    m_settings.currentPage = page;
    relayout();
    if (m_settings.overlappingHeaders) {
        invalidateNeighbours(old);
        invalidateNeighbours(page);
    }
    if (!changes)
        return false;

    Hwnd self = handle();
    showCurrentPageUnits();
    if (IsWindow(self))
        raise(kPageChanged);
    return true;
}

// The framework shows the units after the current page's 0 entry of the
// child list and hides the rest; a page with the page flag hides every
// child window instead (the scroll buttons belong to the headers).
void PageControlUnit::showCurrentPageUnits()
{
    if (designTime())
        return;
    if (m_current >= 0 && m_pages[std::size_t(m_current)].hidesChildren) {
        for (Hwnd child : GetChildWindows(handle()))
            if (child != m_scrollButtons[0] && child != m_scrollButtons[1])
                ShowWindow(child, SW_HIDE);
        return;
    }
    runtime::CallService(runtime::Service::ShowContainerUnits, windowId(), unitId());
}

// A setting changed which pages can be made current: a current page that
// no longer can gives way to the first that can.
void PageControlUnit::revalidate()
{
    if (m_current >= 0 && selectable(m_current))
        return;
    int first = FirstSelectable(m_pages, rules());
    if (first >= 0)
        switchTo(first, SwitchCause::Revalidation);
}

// The window's units exist: the stored current page becomes current, and
// its units are shown whether it changed or not (the window showed the
// first page's).
void PageControlUnit::unitsExist()
{
    if (designTime())
        return;
    m_unitsExist = true;
    int stored = m_settings.currentPage;
    bool switched = stored >= 0 && stored < pageCount() && switchTo(stored, SwitchCause::Loading);
    if (!switched)
        showCurrentPageUnits();
}

} // namespace ui
