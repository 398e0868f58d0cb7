// A result set: the statement and cursor of one query, its columns with
// their bound text, and where the cursor stands.
#pragma once

#include "db/database_engine.h"
#include "db/odbc_api.h"

#include <memory>
#include <string>
#include <vector>

namespace db {

struct Connection;

// Columns above this size, and long or binary ones, are fetched only when
// read.
inline constexpr SQLULEN kLargestBoundColumn = 512;

struct ResultColumn {
    std::string name;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    bool bound = false;
    // No column before this one has its name: reading by name may land
    // here straight away.
    bool firstOfName = true;
    std::vector<char> text; // bound as SQL_C_CHAR
    SQLLEN indicator = SQL_NULL_DATA;

    // The bound text of the current row; empty for NULL or unbound.
    std::string_view boundText() const;
};

struct ResultSet {
    ResultSetHandle handle = 0;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::string sql; // as sent, brackets replaced
    bool updatable = false;
    std::vector<ResultColumn> columns;
    bool beforeFirst = true;
    bool afterLast = true;
    std::int32_t rowCount = 0;
    std::int32_t position = -1; // row from 0; -1 before the first, rowCount after the last
    SQLUSMALLINT rowStatus = SQL_ROW_SUCCESS;
    // Where SQLGetData puts a value before it is copied out: kept from
    // read to read, so reading a column allocates only the value itself.
    std::unique_ptr<char[]> scratch;
    std::size_t scratchSize = 0;
    // Where ColumnPosition looks first.
    mutable std::size_t nextGuess = 0;

    ResultSet() = default;
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    bool onRow() const { return !beforeFirst && !afterLast; }
    // Runs the query again and walks it; false on any ODBC error.
    bool run();
    // One fetch in a direction; false on an ODBC error (the position is
    // then unknown).
    bool fetch(SQLSMALLINT orientation);
    // Puts the cursor on a row from 0, or before the first / after the
    // last for positions outside.
    bool moveTo(std::int32_t row);
    // The scratch buffer with room for at least `bytes`, its first `keep`
    // bytes kept.
    char* scratchFor(std::size_t bytes, std::size_t keep = 0);

private:
    // Counts the rows of the open cursor from its start, leaving it after
    // the last; false on an ODBC error.
    bool countRows();
    bool countRowsInRowsets();
};

// The position of the first column of a name, compared byte for byte; -1
// for none.
int ColumnPosition(const ResultSet& rs, const char* name);

} // namespace db
