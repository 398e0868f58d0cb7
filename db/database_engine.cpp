#include "db/database_engine.h"

#include "db/engine_entries.h"

#include <cstring>

namespace db {
std::uint32_t EntryNameHash(std::string_view name)
{
    std::uint32_t h = 0;
    for (char c : name)
        h = std::uint32_t(std::int32_t(static_cast<signed char>(c))) + h * 131u;
    return h & 0x7FFFFFFFu;
}

void DatabaseEngine::enter(const char* name, EngineFunction f)
{
    m_entries.push_back({name, EntryNameHash(name), f});
}

DatabaseEngine::DatabaseEngine()
{
    namespace e = entries;
    // The order is the table's: a lookup takes the first equal name.
    enter("ReadColByIndex", e::ReadColByIndex);
    enter("ReadColByName", e::ReadColByName);
    enter("MoveNext", SetActionFn(e::MoveNext));
    enter("MovePrev", SetActionFn(e::MovePrev));
    enter("IsBOF", SetTestFn(e::IsBOF));
    enter("IsEOF", SetTestFn(e::IsEOF));
    enter("ExecuteSql", e::ExecuteSql);
    enter("MoveFirst", SetActionFn(e::MoveFirst));
    enter("MoveLast", SetActionFn(e::MoveLast));
    enter("OpenTable", OpenTableFn(e::OpenTable));
    enter("OpenTableToModi", OpenTableFn(e::OpenTableToModi));
    enter("CloseTable", SetActionFn(e::CloseTable));
    enter("Requery", SetTestFn(e::Requery));
    enter("OpenDatabase", e::OpenDatabase);
    enter("NewOpenDatabase", e::NewOpenDatabase);
    enter("CloseDatabase", ConnectionActionFn(e::CloseDatabase));
    enter("GetConnectString", e::GetConnectString);
    enter("BeginTrans", e::BeginTrans);
    enter("RollbackTrans", ConnectionActionFn(e::RollbackTrans));
    enter("CommitTrans", ConnectionActionFn(e::CommitTrans));
    enter("BDGetRecCount", SetCountFn(e::BDGetRecCount));
    enter("BDGetColCount", SetCountFn(e::BDGetColCount));
    enter("BDGetColText", e::BDGetColText);
    enter("BDGetColSQLType", ColumnNumberFn(e::BDGetColSQLType));
    enter("BDSetColText", e::BDSetColText);
    enter("BDAppendBlank", SetTestFn(e::BDAppendBlank));
    enter("BDRemove", e::BDRemove);
    enter("BDZap", SetTestFn(e::BDZap));
    enter("BDGetColName", e::BDGetColName);
    enter("BDGetColWidth", ColumnNumberFn(e::BDGetColWidth));
    enter("EmptyVar", EmptyVar);
}

const DatabaseEngine& DatabaseEngine::instance()
{
    static const DatabaseEngine engine;
    return engine;
}

std::span<const EngineEntry> DatabaseEngine::entries() const
{
    return m_entries;
}

const EngineEntry* DatabaseEngine::find(std::string_view name) const
{
    std::uint32_t h = EntryNameHash(name);
    for (const EngineEntry& e : m_entries)
        if (e.hash == h && std::strlen(e.name) == name.size() && std::memcmp(e.name, name.data(), name.size()) == 0)
            return &e;
    return nullptr;
}

} // namespace db
