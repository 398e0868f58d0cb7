// What the two views of a list-view control (report; list and icons)
// share: label editing only where the control allows it, and no focused
// row made up when the view gains the focus.
#pragma once

#include "platform/gdi.h"
#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/list_view_control.h"
#include "platform/qt/list_view_pane.h"

#include <QAbstractItemView>
#include <QFocusEvent>

namespace platform::qt {

template <class View>
class ListPane : public View, public ListViewPane {
public:
    explicit ListPane(ListViewControl& control) : View(&control), m_control(control) {}

    QAbstractItemView* itemView() override { return this; }

protected:
    // LVN_BEGINLABELEDIT goes out just before an editor would open; when
    // the parent refuses, the attempt is over (and counts as handled, so
    // the toolkit reports no failure).  A click on the selected row only
    // arms the toolkit's double-click delay, which comes back here.
    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event) override
    {
        if (!m_control.mayEditLabel(index, trigger, event))
            return false;
        if (opensEditor(index, trigger) && !m_control.beginLabelEdit(index.row()))
            return true;
        return View::edit(index, trigger, event);
    }

    // The toolkit would make the first row the current one when the view
    // gains the focus by the keyboard; the classic control leaves the
    // focused row as the user or the program set it.
    void focusInEvent(QFocusEvent* event) override
    {
        if (this->currentIndex().isValid()) {
            View::focusInEvent(event);
            return;
        }
        QAbstractScrollArea::focusInEvent(event);
        this->viewport()->update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        View::focusOutEvent(event);
        this->viewport()->update(); // selection colours follow the focus
    }

    // What both views take from the settings.  Sizes of rows or items may
    // have changed with them: lay out again when next shown.
    void applyCommonSettings(const ListViewSettings& settings)
    {
        this->setSelectionMode(settings.style & LVS_SINGLESEL ? QAbstractItemView::SingleSelection
                                                              : QAbstractItemView::ExtendedSelection);
        this->setEditTriggers(settings.style & LVS_EDITLABELS
                                  ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                                  : QAbstractItemView::NoEditTriggers);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Base, colorOrSystem(settings.bkColor, toQColor(GetSysColor(COLOR_WINDOW))));
        this->setPalette(palette);
        this->scheduleDelayedItemsLayout();
        this->viewport()->update();
    }

    ListViewControl& m_control;

private:
    bool opensEditor(const QModelIndex& index, QAbstractItemView::EditTrigger trigger) const
    {
        bool now = trigger == QAbstractItemView::AllEditTriggers ||
                   (trigger == QAbstractItemView::EditKeyPressed && (this->editTriggers() & trigger));
        return now && index.isValid() && (index.flags() & Qt::ItemIsEditable) &&
               this->state() != QAbstractItemView::EditingState;
    }
};

} // namespace platform::qt
