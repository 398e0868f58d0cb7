// The PageControl's headers under the pointer: the hot header and its
// event, the pages' tips, presses and right-button releases, and the
// scroll buttons of a single row.

#include "ui/ext/page_control_unit.h"

#include "platform/message_queue.h"
#include "platform/window.h"
#include "ui/ext/tip_window.h"

namespace ui {

using namespace platform;

void PageControlUnit::setHot(int page)
{
    if (page == m_hot)
        return;
    invalidateHeader(m_hot);
    invalidateHeader(page);
    m_hot = page;
    if (page >= 0)
        raise(kHeaderHot, {page});
}

// The current header takes no hot state when property 62 says so: it is
// neither drawn hot nor reported.
void PageControlUnit::onMouseMove(Point at)
{
    int under = HeaderAt(m_layout, at);
    int hot = under == m_current && m_settings.currentHeaderNoHot ? -1 : under;
    Hwnd self = handle();
    setHot(hot);
    if (!IsWindow(self))
        return;
    TrackMouseEvent({.flags = TME_LEAVE, .hwnd = self});
    if (under == m_tipHeader)
        return;
    m_tipHeader = under;
    if (TipWindow* tip = TipWindow::of(m_tip)) {
        if (under >= 0 && !m_pages[std::size_t(under)].tip.empty())
            tip->showAfterRest(m_pages[std::size_t(under)].tip, true);
        else
            tip->hide();
    }
}

void PageControlUnit::onMouseLeave()
{
    setHot(-1);
    m_tipHeader = -1;
    if (TipWindow* tip = TipWindow::of(m_tip))
        tip->hide();
}

// Locked pages take no clicks.  A page that cannot be made current gets
// no event 2; the switch then only repaints.
void PageControlUnit::onLeftDown(Point at)
{
    if (TipWindow* tip = TipWindow::of(m_tip))
        tip->hide();
    int page = HeaderAt(m_layout, at);
    if (page < 0 || m_settings.pagesLocked)
        return;
    if (selectable(page)) {
        Hwnd self = handle();
        raise(kHeaderPressed, {page});
        if (!IsWindow(self))
            return;
    }
    switchTo(page, SwitchCause::Click);
}

void PageControlUnit::onRightUp(Point at)
{
    int page = HeaderAt(m_layout, at);
    if (page >= 0 && !m_settings.pagesLocked)
        raise(kHeaderRightReleased, {page});
}

void PageControlUnit::scroll(bool forward)
{
    if (forward ? !m_layout.canScrollOn : !m_layout.canScrollBack)
        return;
    m_scrolled += forward ? 1 : -1;
    m_hot = -1;
    relayout();
}

} // namespace ui
