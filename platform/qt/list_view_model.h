// The rows and columns of one list-view control, as a table model every
// view of the control shows.  Texts stay GBK here; they become Qt strings
// only when a view asks for a cell it is about to draw.
#pragma once

#include "platform/qt/list_view_records.h"

#include <QAbstractTableModel>

#include <string_view>

namespace platform::qt {

class ListViewModel : public QAbstractTableModel {
public:
    explicit ListViewModel(QObject* parent);

    // The toolkit's view of the table.  There is always at least one
    // column: the list and icon views show column 0 even when the program
    // never inserted a column.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int rows() const { return int(m_rows.size()); }
    bool hasRow(int row) const { return row >= 0 && row < rows(); }
    const ListRow& row(int row) const;
    // A cell; null when the row never held one there.
    const ListCell* cell(int row, int column) const;
    std::string_view cellText(int row, int column) const;
    int cellImage(int row, int column) const;

    void insertRow(int at, ListRow row);
    void removeAllRows();
    // Where a row with this column-0 text goes in a sorted list: after the
    // rows that sort equal, so equal texts keep their insertion order.
    int sortedPosition(std::string_view text, bool descending) const;

    void setCellText(int row, int column, std::string_view text);
    void setCellImage(int row, int column, int image);
    void setParam(int row, LParam param);
    void setIndent(int row, int indent);
    void setStateImage(int row, int slot);
    // Rows without a state image get `slot` (check boxes turned on).
    void fillEmptyStateImages(int slot);

    int columns() const { return int(m_columns.size()); }
    bool hasColumn(int column) const { return column >= 0 && column < columns(); }
    const ListColumn& column(int column) const;
    // A column takes its cells with it: inserting shifts the cells at and
    // after the position one to the right, removing shifts them back.
    void insertColumn(int at, ListColumn column);
    void removeColumn(int column);
    void setColumn(int index, ListColumn column);
    void setColumnWidth(int column, int width);

    void setLabelsEditable(bool editable) { m_labelsEditable = editable; }

private:
    ListCell& cellForWriting(int row, int column);
    void cellChanged(int row, int column);

    std::vector<ListRow> m_rows;
    std::vector<ListColumn> m_columns;
    bool m_labelsEditable = false;
};

// The text alignment of a column format (LVCFMT_*).
Qt::Alignment alignmentForFormat(int format);

// Orders GBK texts as the sorted styles do: byte by byte, ASCII letters
// without regard to case.  Negative, zero or positive like strcmp.
int compareLabels(std::string_view a, std::string_view b);

} // namespace platform::qt
