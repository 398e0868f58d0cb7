// The functions behind the engine's entries.  Each checks its connection
// and result set first and answers its default when either is not live.
#pragma once

#include "db/database_engine.h"

namespace db::entries {

Connection* OpenDatabase(const char* connectText, bool readOnly);
Connection* NewOpenDatabase(const char* connectText, bool readOnly, bool suppressDialog);
void CloseDatabase(Connection* c);
std::string GetConnectString(Connection* c);
bool BeginTrans(Connection* c);
void CommitTrans(Connection* c);
void RollbackTrans(Connection* c);

ResultSetHandle OpenTable(Connection* c, const char* sql);
ResultSetHandle OpenTableToModi(Connection* c, const char* sql);
void CloseTable(Connection* c, ResultSetHandle rs);
bool Requery(Connection* c, ResultSetHandle rs);
bool IsBOF(Connection* c, ResultSetHandle rs);
bool IsEOF(Connection* c, ResultSetHandle rs);
void MoveFirst(Connection* c, ResultSetHandle rs);
void MoveNext(Connection* c, ResultSetHandle rs);
void MovePrev(Connection* c, ResultSetHandle rs);
void MoveLast(Connection* c, ResultSetHandle rs);

bool ReadColByIndex(Connection* c, ResultSetHandle rs, std::int32_t position, ColumnValue* value);
bool ReadColByName(Connection* c, ResultSetHandle rs, const char* name, ColumnValue* value);

bool ExecuteSql(Connection* c, const char* sql, const SqlParameter* parameters, std::int32_t count);

std::int32_t BDGetRecCount(Connection* c, ResultSetHandle rs);
std::int32_t BDGetColCount(Connection* c, ResultSetHandle rs);
std::string BDGetColText(Connection* c, ResultSetHandle rs, std::int32_t row, std::int32_t column);
std::int32_t BDGetColSQLType(Connection* c, ResultSetHandle rs, std::int32_t column);
bool BDSetColText(Connection* c, ResultSetHandle rs, std::int32_t row, std::int32_t column, const char* text);
bool BDAppendBlank(Connection* c, ResultSetHandle rs);
bool BDRemove(Connection* c, ResultSetHandle rs, std::int32_t row);
bool BDZap(Connection* c, ResultSetHandle rs);
std::string BDGetColName(Connection* c, ResultSetHandle rs, std::int32_t column);
std::int32_t BDGetColWidth(Connection* c, ResultSetHandle rs, std::int32_t column);

} // namespace db::entries
