// The column header of a list-view control's report view: captions aligned
// as their columns, and header images (LVCFMT_IMAGE) drawn over the
// background colour the program chose, left or right of the caption.
#pragma once

#include <QHeaderView>

namespace platform::qt {

struct ListViewSettings;

class ListViewHeader : public QHeaderView {
public:
    ListViewHeader(const ListViewSettings& settings, QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void paintContents(QPainter* painter, const QRect& rect, int logicalIndex) const;

    const ListViewSettings& m_settings;
};

} // namespace platform::qt
