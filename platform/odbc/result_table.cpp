#include "platform/odbc/result_table.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace access_odbc {
namespace {

bool isAscii(std::string_view s)
{
    // Eight bytes at a time: a result's texts are mostly code.
    const char* p = s.data();
    std::size_t n = s.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; n > 0; ++p, --n)
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    return true;
}

} // namespace

Cell* ResultTable::appendRow()
{
    if (m_columns == 0) {
        ++m_rows;
        return nullptr;
    }
    m_cells.resize(m_cells.size() + m_columns);
    return &m_cells[m_cells.size() - m_columns];
}

void ResultTable::setInteger(std::size_t column, Cell& c, std::int64_t v)
{
    ColumnStats& s = m_stats[column];
    s.anyInteger = true;
    if (v < INT32_MIN || v > INT32_MAX)
        s.wideInteger = true;
    c.kind = CellKind::Integer;
    c.integer = v;
}

void ResultTable::setReal(std::size_t column, Cell& c, double v)
{
    m_stats[column].anyReal = true;
    c.kind = CellKind::Real;
    c.real = v;
}

bool ResultTable::setText(std::size_t column, Cell& c, std::string_view utf8)
{
    // Text beyond ASCII is checked when it is converted for an application,
    // which reads it whole anyway: a result is not walked twice.
    bool ascii = isAscii(utf8);
    ColumnStats& s = m_stats[column];
    s.anyText = true;
    s.longestText = std::max(s.longestText, std::uint32_t(utf8.size()));
    c.kind = CellKind::Text;
    c.ascii = ascii;
    c.length = std::uint32_t(utf8.size());
    c.offset = m_arena.size();
    m_arena.append(utf8);
    return true;
}

void ResultTable::setBlob(std::size_t column, Cell& c, std::string_view bytes)
{
    ColumnStats& s = m_stats[column];
    s.anyBlob = true;
    s.longestBlob = std::max(s.longestBlob, std::uint32_t(bytes.size()));
    c.kind = CellKind::Blob;
    c.length = std::uint32_t(bytes.size());
    c.offset = m_arena.size();
    m_arena.append(bytes);
}

void ResultTable::clear()
{
    m_cells.clear();
    m_arena.clear();
    m_rows = 0;
    std::fill(m_stats.begin(), m_stats.end(), ColumnStats{});
}

void ResultTable::reset(std::size_t columns)
{
    m_columns = columns;
    m_stats.assign(columns, ColumnStats{});
    m_cells.clear();
    m_arena.clear();
    m_rows = 0;
}

CellValue ResultTable::value(std::size_t row, std::size_t column) const
{
    const Cell& c = cell(row, column);
    switch (c.kind) {
    case CellKind::Integer: return {.kind = c.kind, .integer = c.integer, .real = double(c.integer)};
    case CellKind::Real: return {.kind = c.kind, .real = c.real};
    case CellKind::Text: return {.kind = c.kind, .ascii = c.ascii, .bytes = bytes(c)};
    case CellKind::Blob: return {.kind = c.kind, .bytes = bytes(c)};
    case CellKind::Null: break;
    }
    return {};
}

} // namespace access_odbc
