// The report view of a list-view control: one row per line under a column
// header, every row of one height so that only the rows shown are ever
// measured or drawn.
#pragma once

#include "platform/qt/list_view_pane_base.h"

#include <QTreeView>

namespace platform::qt {

class ListViewHeader;

class ListReportView : public ListPane<QTreeView> {
public:
    explicit ListReportView(ListViewControl& control);

    void applySettings(const ListViewSettings& settings) override;
    void syncColumns(const ListViewModel& model) override;
    int topRow() override;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintGridLines(QPainter& painter) const;

    ListViewHeader* m_header;
    bool m_syncing = false;
};

} // namespace platform::qt
