// The database engine: named entry points for connections and result sets
// on the ODBC API.  Callers reach the entries only by looking them up by
// name; an entry missing, or of another signature than asked for, is null.
#pragma once

#include "db/column_value.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace db {

// A connection made by OpenDatabase or NewOpenDatabase.  Opaque: the engine
// checks a pointer against its live connections before it touches one.
struct Connection;

// A result set, valid while it sits in one of its connection's slots.
// Handles are never 0 and never used twice in a process.
using ResultSetHandle = std::uint32_t;

inline constexpr int kResultSetSlots = 30;

// A parameter of ExecuteSql: text (length -1, NUL-terminated) or bytes.
struct SqlParameter {
    const void* data = nullptr;
    std::int32_t length = -1;
};

// The signatures of the entries.
using OpenDatabaseFn = Connection* (*)(const char* connectText, bool readOnly);
using NewOpenDatabaseFn = Connection* (*)(const char* connectText, bool readOnly, bool suppressDialog);
using ConnectionActionFn = void (*)(Connection*);                // CloseDatabase, CommitTrans, RollbackTrans
using ConnectionTestFn = bool (*)(Connection*);                  // BeginTrans
using ConnectionTextFn = std::string (*)(Connection*);           // GetConnectString
using OpenTableFn = ResultSetHandle (*)(Connection*, const char* sql);
using SetActionFn = void (*)(Connection*, ResultSetHandle);      // CloseTable, moving
using SetTestFn = bool (*)(Connection*, ResultSetHandle);        // IsBOF, IsEOF, Requery, BDAppendBlank, BDZap
using SetCountFn = std::int32_t (*)(Connection*, ResultSetHandle); // BDGetRecCount, BDGetColCount
using ReadColByIndexFn = bool (*)(Connection*, ResultSetHandle, std::int32_t position, ColumnValue* value);
using ReadColByNameFn = bool (*)(Connection*, ResultSetHandle, const char* name, ColumnValue* value);
using ExecuteSqlFn = bool (*)(Connection*, const char* sql, const SqlParameter* parameters, std::int32_t count);
using CellTextFn = std::string (*)(Connection*, ResultSetHandle, std::int32_t row, std::int32_t column);
using ColumnNumberFn = std::int32_t (*)(Connection*, ResultSetHandle, std::int32_t column); // SQL type, width
using ColumnTextFn = std::string (*)(Connection*, ResultSetHandle, std::int32_t column);    // BDGetColName
using SetCellTextFn = bool (*)(Connection*, ResultSetHandle, std::int32_t row, std::int32_t column, const char* text);
using RowTestFn = bool (*)(Connection*, ResultSetHandle, std::int32_t row); // BDRemove
using EmptyVarFn = void (*)(ColumnValue*);

using EngineFunction =
    std::variant<OpenDatabaseFn, NewOpenDatabaseFn, ConnectionActionFn, ConnectionTestFn, ConnectionTextFn,
                 OpenTableFn, SetActionFn, SetTestFn, SetCountFn, ReadColByIndexFn, ReadColByNameFn, ExecuteSqlFn,
                 CellTextFn, ColumnNumberFn, ColumnTextFn, SetCellTextFn, RowTestFn, EmptyVarFn>;

struct EngineEntry {
    const char* name = nullptr;
    std::uint32_t hash = 0;
    EngineFunction function;
};

// h = b + h * 131 over the name's bytes taken as signed, kept to 31 bits.
std::uint32_t EntryNameHash(std::string_view name);

class DatabaseEngine {
public:
    // The engine, its table filled on first use.
    static const DatabaseEngine& instance();

    std::span<const EngineEntry> entries() const;
    // The first entry whose hash and then name are equal; null for none.
    const EngineEntry* find(std::string_view name) const;

    template<typename Fn>
    Fn lookup(std::string_view name) const
    {
        const EngineEntry* e = find(name);
        if (!e)
            return nullptr;
        const Fn* f = std::get_if<Fn>(&e->function);
        return f ? *f : nullptr;
    }

private:
    DatabaseEngine();
    void enter(const char* name, EngineFunction function);

    std::vector<EngineEntry> m_entries;
};

// The owner of any dialog the driver manager shows while connecting: the
// program's top-level window, or 0 for none.
void SetDialogOwner(std::uintptr_t window);

// The engine's live connections, for those who must know whether one is
// still open (a unit that has gone, tests).
bool IsLiveConnection(const Connection* connection);
std::size_t LiveConnectionCount();

} // namespace db
