#include "platform/qt/list_view_model.h"

#include "platform/qt/qt_text.h"

#include <algorithm>
#include <cassert>

namespace platform::qt {

Qt::Alignment alignmentForFormat(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

namespace {

unsigned char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : static_cast<unsigned char>(c);
}

} // namespace

int compareLabels(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (folded(a[i]) != folded(b[i]))
            return folded(a[i]) < folded(b[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

ListViewModel::ListViewModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows();
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, columns());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !hasRow(index.row()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return fromGbk(cellText(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return hasColumn(index.column()) ? QVariant::fromValue(alignmentForFormat(column(index.column()).format)) : QVariant();
    default:
        return {};
    }
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !hasColumn(section))
        return {};
    if (role == Qt::DisplayRole)
        return fromGbk(m_columns[size_t(section)].caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentForFormat(m_columns[size_t(section)].format));
    return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_labelsEditable && index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

const ListRow& ListViewModel::row(int row) const
{
    assert(hasRow(row));
    return m_rows[size_t(row)];
}

const ListCell* ListViewModel::cell(int row, int column) const
{
    if (!hasRow(row) || column < 0)
        return nullptr;
    const auto& cells = m_rows[size_t(row)].cells;
    return size_t(column) < cells.size() ? &cells[size_t(column)] : nullptr;
}

std::string_view ListViewModel::cellText(int row, int column) const
{
    const ListCell* c = cell(row, column);
    return c ? std::string_view(c->text) : std::string_view();
}

int ListViewModel::cellImage(int row, int column) const
{
    const ListCell* c = cell(row, column);
    return c ? c->image : -1;
}

void ListViewModel::insertRow(int at, ListRow row)
{
    assert(at >= 0 && at <= rows());
    beginInsertRows({}, at, at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    endInsertRows();
}

void ListViewModel::removeAllRows()
{
    beginResetModel();
    std::vector<ListRow>().swap(m_rows); // give the memory back, not just the rows
    endResetModel();
}

int ListViewModel::sortedPosition(std::string_view text, bool descending) const
{
    auto before = [&](const ListRow& r) {
        std::string_view label = r.cells.empty() ? std::string_view() : std::string_view(r.cells[0].text);
        int order = compareLabels(label, text);
        return descending ? order >= 0 : order <= 0;
    };
    return int(std::partition_point(m_rows.begin(), m_rows.end(), before) - m_rows.begin());
}

ListCell& ListViewModel::cellForWriting(int row, int column)
{
    assert(hasRow(row) && column >= 0 && column < columnCount());
    auto& cells = m_rows[size_t(row)].cells;
    if (size_t(column) >= cells.size())
        cells.resize(size_t(column) + 1);
    return cells[size_t(column)];
}

void ListViewModel::cellChanged(int row, int column)
{
    QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

void ListViewModel::setCellText(int row, int column, std::string_view text)
{
    cellForWriting(row, column).text.assign(text);
    cellChanged(row, column);
}

void ListViewModel::setCellImage(int row, int column, int image)
{
    cellForWriting(row, column).image = image;
    cellChanged(row, column);
}

void ListViewModel::setParam(int row, LParam param)
{
    assert(hasRow(row));
    m_rows[size_t(row)].param = param;
}

void ListViewModel::setIndent(int row, int indent)
{
    assert(hasRow(row));
    m_rows[size_t(row)].indent = indent;
    cellChanged(row, 0);
}

void ListViewModel::setStateImage(int row, int slot)
{
    assert(hasRow(row));
    m_rows[size_t(row)].stateImage = slot;
    cellChanged(row, 0);
}

void ListViewModel::fillEmptyStateImages(int slot)
{
    for (ListRow& r : m_rows)
        if (r.stateImage == 0)
            r.stateImage = slot;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rows() - 1, 0));
}

const ListColumn& ListViewModel::column(int column) const
{
    assert(hasColumn(column));
    return m_columns[size_t(column)];
}

void ListViewModel::insertColumn(int at, ListColumn column)
{
    assert(at >= 0 && at <= columns());
    if (m_columns.empty()) {
        // Column 0 was there all along for the views; now it has a header.
        m_columns.push_back(std::move(column));
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        return;
    }
    beginInsertColumns({}, at, at);
    m_columns.insert(m_columns.begin() + at, std::move(column));
    for (ListRow& r : m_rows)
        if (r.cells.size() > size_t(at))
            r.cells.insert(r.cells.begin() + at, ListCell{});
    endInsertColumns();
}

void ListViewModel::removeColumn(int column)
{
    assert(hasColumn(column));
    auto dropCells = [&] {
        for (ListRow& r : m_rows)
            if (r.cells.size() > size_t(column))
                r.cells.erase(r.cells.begin() + column);
    };
    if (m_columns.size() == 1) {
        // The views keep their column 0, now without a header or cells.
        m_columns.clear();
        dropCells();
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rows() - 1, 0));
        return;
    }
    beginRemoveColumns({}, column, column);
    m_columns.erase(m_columns.begin() + column);
    dropCells();
    endRemoveColumns();
}

void ListViewModel::setColumn(int index, ListColumn column)
{
    assert(hasColumn(index));
    m_columns[size_t(index)] = std::move(column);
    emit headerDataChanged(Qt::Horizontal, index, index);
}

void ListViewModel::setColumnWidth(int column, int width)
{
    assert(hasColumn(column));
    m_columns[size_t(column)].width = width;
}

} // namespace platform::qt
