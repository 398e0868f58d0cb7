// What a list-view control asks of the view that shows its rows.
#pragma once

#include "platform/qt/list_view_records.h"

class QAbstractItemView;

namespace platform::qt {

class ListViewModel;

class ListViewPane {
public:
    virtual ~ListViewPane() = default;
    virtual QAbstractItemView* itemView() = 0;
    // The control's settings changed (styles, image lists, font): take
    // them over, and measure rows and items again.
    virtual void applySettings(const ListViewSettings& settings) = 0;
    // The column records changed.
    virtual void syncColumns(const ListViewModel&) {}
    // The first row shown; 0 when none is.
    virtual int topRow() = 0;
};

} // namespace platform::qt
