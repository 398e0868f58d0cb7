// A connection of the engine and the registry of live ones.
#pragma once

#include "db/database_engine.h"
#include "db/odbc_api.h"

#include <array>
#include <memory>
#include <string>

namespace db {

struct ResultSet;

struct Connection {
    SQLHDBC dbc = SQL_NULL_HDBC;
    std::string connectString; // "ODBC;" + the driver's completed string
    std::string quote;         // the driver's identifier quote
    bool setsQueryTimeout = true;
    std::array<std::unique_ptr<ResultSet>, kResultSetSlots> slots;

    Connection();
    ~Connection();
};

// The connection when it is live, else null; never reads through an
// unknown pointer.
Connection* Live(Connection* c);

// A statement of the connection with the options every statement gets;
// null when none can be allocated.
SQLHSTMT AllocateStatement(Connection& c);

// The result set of a handle when it sits in a slot of a live connection.
ResultSet* FindResultSet(Connection* c, ResultSetHandle handle);

} // namespace db

namespace db {

// Runs one statement without parameters on the connection.
bool ExecuteStatement(Connection& c, const std::string& sql);

} // namespace db
