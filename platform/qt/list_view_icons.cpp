#include "platform/qt/list_view_icons.h"

namespace platform::qt {
namespace {

struct Arrangement {
    QListView::ViewMode mode;
    QListView::Flow flow;
};

// How each view type flows its items.  LVS_ALIGNLEFT turns the icon views
// into columns from the left.
Arrangement arrangementFor(const ListViewSettings& s)
{
    bool columns = s.view() == LVS_LIST || (s.style & LVS_ALIGNLEFT);
    QListView::Flow flow = columns ? QListView::TopToBottom : QListView::LeftToRight;
    return {.mode = s.view() == LVS_ICON ? QListView::IconMode : QListView::ListMode, .flow = flow};
}

} // namespace

ListIconView::ListIconView(ListViewControl& control) : ListPane<QListView>(control)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformItemSizes(false);
}

void ListIconView::applySettings(const ListViewSettings& settings)
{
    Arrangement arrangement = arrangementFor(settings);
    setViewMode(arrangement.mode); // sets its own flow and movement first
    setFlow(arrangement.flow);
    setWrapping(true);
    setSpacing(2);
    bool icons = settings.view() == LVS_ICON;
    bool arranged = !icons || (settings.style & LVS_AUTOARRANGE);
    setMovement(arranged ? QListView::Static : QListView::Free);
    setResizeMode(arranged ? QListView::Adjust : QListView::Fixed);
    setWordWrap(icons && !(settings.style & LVS_NOLABELWRAP));
    applyCommonSettings(settings);
}

int ListIconView::topRow()
{
    QModelIndex first = indexAt(QPoint(spacing(), spacing()));
    return first.isValid() ? first.row() : 0;
}

} // namespace platform::qt
