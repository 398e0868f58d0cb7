// The list, small-icon and large-icon views of a list-view control.
#pragma once

#include "platform/qt/list_view_pane_base.h"

#include <QListView>

namespace platform::qt {

class ListIconView : public ListPane<QListView> {
public:
    explicit ListIconView(ListViewControl& control);

    void applySettings(const ListViewSettings& settings) override;
    int topRow() override;
};

} // namespace platform::qt
