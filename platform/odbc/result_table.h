// A materialised result: every row of a query, read at execution.  Values
// sit in one array of fixed-size cells, row after row, and the bytes of
// texts and blobs in one arena behind them, so reading a result costs no
// allocation per value.  Texts stay UTF-8, as SQLite gives them; they are
// converted for an application only when it asks for a value.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace access_odbc {

enum class CellKind : std::uint8_t { Null, Integer, Real, Text, Blob };

struct Cell {
    CellKind kind = CellKind::Null;
    bool ascii = false;       // Text: every byte below 0x80, so GBK needs no conversion
    std::uint32_t length = 0; // Text and Blob: bytes in the arena
    union {
        std::int64_t integer = 0;
        double real;
        std::uint64_t offset; // Text and Blob: where the bytes start in the arena
    };
};
static_assert(sizeof(Cell) == 16);

// One value as the conversions see it; `bytes` is UTF-8 for text.
struct CellValue {
    CellKind kind = CellKind::Null;
    bool ascii = false;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;
};

// What the values of one column look like, gathered as rows are added: an
// undeclared column's type and a text column's size are taken from them.
struct ColumnStats {
    bool anyInteger = false, wideInteger = false, anyReal = false, anyText = false, anyBlob = false;
    std::uint32_t longestText = 0; // UTF-8 bytes
    std::uint32_t longestBlob = 0;
};

class ResultTable {
public:
    explicit ResultTable(std::size_t columns = 0) : m_columns(columns), m_stats(columns) {}

    std::size_t columnCount() const { return m_columns; }
    std::size_t rowCount() const { return m_columns ? m_cells.size() / m_columns : m_rows; }
    bool empty() const { return rowCount() == 0; }

    // Adds a row of NULLs and gives its first cell.
    Cell* appendRow();
    void setInteger(std::size_t column, Cell& c, std::int64_t v);
    void setReal(std::size_t column, Cell& c, double v);
    // Always true: whether the bytes are UTF-8 is asked when they are
    // converted.
    bool setText(std::size_t column, Cell& c, std::string_view utf8);
    void setBlob(std::size_t column, Cell& c, std::string_view bytes);
    void clear();
    // Empties the table for a result of `columns` columns, keeping the
    // memory it has.
    void reset(std::size_t columns);
    // The memory the table holds, in bytes.
    std::size_t capacityBytes() const { return m_cells.capacity() * sizeof(Cell) + m_arena.capacity(); }

    const Cell& cell(std::size_t row, std::size_t column) const
    {
        assert(row < rowCount() && column < m_columns);
        return m_cells[row * m_columns + column];
    }
    CellValue value(std::size_t row, std::size_t column) const;
    std::string_view bytes(const Cell& c) const { return std::string_view(m_arena).substr(c.offset, c.length); }
    const ColumnStats& stats(std::size_t column) const { return m_stats[column]; }

private:
    std::size_t m_columns;
    std::size_t m_rows = 0; // rows of a result without columns
    std::vector<Cell> m_cells;
    std::string m_arena;
    std::vector<ColumnStats> m_stats;
};

} // namespace access_odbc
