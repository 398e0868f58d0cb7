// The driver's handles.  Each starts with a tag so that a pointer of the
// wrong kind is refused as SQL_INVALID_HANDLE instead of being used.  A
// connection's mutex guards the connection and all its statements: one
// thread at a time works on a connection, which is all the ODBC threading
// rules ask of a driver.
#pragma once

#include "platform/odbc/convert.h"
#include "platform/odbc/diagnostics.h"
#include "platform/odbc/interface_text.h"
#include "platform/odbc/result_table.h"
#include "platform/odbc/sql_types.h"

#include "platform/odbc/odbc_api.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace access_odbc {

enum class Tag : std::uint32_t { Env = 0x56454E56, Dbc = 0x56444243, Stmt = 0x56535448, Desc = 0x56445343, Dead = 0 };

struct Dbc;
struct Stmt;

struct Env {
    Tag tag = Tag::Env;
    Diagnostics diag;
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;
    std::mutex mutex; // guards `connections`
    std::vector<Dbc*> connections;
};

// How long SQLite may wait for a lock or keep working before the call
// gives up: the login time-out while connecting, the statement's query
// time-out while it runs.  Checked by the connection's busy and progress
// handlers.
struct WaitLimit {
    std::chrono::steady_clock::time_point deadline{};
    bool limited = false;
    bool timedOut = false;
    std::atomic<bool>* cancel = nullptr;
};

struct Dbc {
    Tag tag = Tag::Dbc;
    Env* env = nullptr;
    Diagnostics diag;
    std::recursive_mutex mutex;
    sqlite3* db = nullptr;
    std::string completed;   // the completed connect string (UTF-8)
    std::string dbq;         // the DBQ value as given (UTF-8)
    std::string dsn;         // the data source named, if any (UTF-8)
    // Connected through the wide interface: the client is a Unicode one,
    // and character columns are reported as SQL_WVARCHAR and its kin, so
    // that it reads them as SQL_C_WCHAR.
    bool unicodeClient = false;
    // SQLGetData's pieces of character data end between characters
    // (connect string WholeCharacters=1); see DataPiece.
    bool wholeCharacterPieces = false;
    // Asked for read-write, opened read-only because its folder does not
    // let SQLite create its log.
    bool demotedToReadOnly = false;
    std::vector<Stmt*> statements;
    WaitLimit wait;
    // The storage of the last result closed, kept for the next: a large
    // result then costs no fresh memory (and no page faults) each time.
    ResultTable spareResult;

    SQLUINTEGER loginTimeout = 15; // seconds; 0 waits without limit
    SQLUINTEGER accessMode = SQL_MODE_READ_WRITE;
    SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
    SQLUINTEGER connectionTimeout = 0;
    SQLUINTEGER txnIsolation = SQL_TXN_SERIALIZABLE;
};

// A descriptor handle the driver hands out only so that the driver manager
// has something to hold; no descriptor function is offered.
struct Desc {
    Tag tag = Tag::Desc;
    Stmt* owner = nullptr;
};

struct Column {
    std::string name;       // UTF-8, as reported
    std::string baseColumn; // UTF-8, the table's column name or empty
    std::string table;      // UTF-8, the table's name or empty
    SqlTypeInfo type;
    SQLSMALLINT nullable = SQL_NULLABLE;
    bool autoIncrement = false;
};

struct ColumnBinding {
    SQLSMALLINT cType = 0;
    SQLPOINTER target = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
    bool bound() const { return target != nullptr || indicator != nullptr; }
};

struct ParamBinding {
    bool bound = false;
    SQLSMALLINT ioType = SQL_PARAM_INPUT;
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 0;
    SQLSMALLINT digits = 0;
    SQLPOINTER value = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
};

struct Stmt {
    Tag tag = Tag::Stmt;
    Dbc* dbc = nullptr;
    Diagnostics diag;

    // Prepared SQL, kept until the statement is freed or prepared anew.
    sqlite3_stmt* prepared = nullptr;
    bool searchedChange = false; // UPDATE or DELETE: no row touched is SQL_NO_DATA
    bool executedOnce = false;

    // The open cursor: a static result, materialised at execution.
    bool cursorOpen = false;
    std::vector<Column> columns;
    ResultTable result;
    SQLLEN position = 0;     // first row of the rowset, from 1; 0 before the first, rows+1 after the last
    SQLLEN rowCount = -1;

    // SQLGetData's place in the current row, and each column's last
    // conversion for SQLGetData and for its bound buffer: a column often
    // holds the same text row after row, which is then converted once.
    SQLUSMALLINT dataColumn = 0;
    std::vector<DataPiece> pieces;      // [column - 1]
    std::vector<DataPiece> boundPieces; // [column - 1]

    std::vector<ColumnBinding> bindings; // [0] unused (bookmarks)
    std::vector<ParamBinding> params;    // [0] unused

    // Parameters given at execution (SQL_DATA_AT_EXEC): the ones still to
    // come, the one SQLPutData is filling, and its bytes so far.
    struct DataAtExecution {
        bool active = false;          // between SQL_NEED_DATA and the execution
        std::vector<int> pending;     // parameter numbers, in order
        std::size_t next = 0;         // index into `pending` of the next to ask for
        int current = 0;              // the parameter being filled, 0 for none
        bool isNull = false;
        bool anyPiece = false;
        std::string bytes;
    } dataAtExecution;

    // Attributes.
    SQLULEN queryTimeout = 0;
    SQLULEN cursorType = SQL_CURSOR_FORWARD_ONLY;
    SQLULEN concurrency = SQL_CONCUR_READ_ONLY;
    SQLULEN scrollable = SQL_NONSCROLLABLE;
    SQLULEN sensitivity = SQL_INSENSITIVE;
    SQLULEN maxRows = 0;
    SQLULEN maxLength = 0;
    SQLULEN rowArraySize = 1;
    SQLULEN rowBindType = SQL_BIND_BY_COLUMN;
    SQLULEN* rowBindOffset = nullptr;
    SQLULEN* rowsFetched = nullptr;
    SQLUSMALLINT* rowStatus = nullptr;
    SQLULEN retrieveData = SQL_RD_ON;
    SQLULEN noscan = SQL_NOSCAN_OFF;
    SQLULEN useBookmarks = SQL_UB_OFF;
    SQLULEN paramsetSize = 1;
    SQLULEN* paramsProcessed = nullptr;
    SQLUSMALLINT* paramStatus = nullptr;
    SQLULEN paramBindType = SQL_PARAM_BIND_BY_COLUMN;
    SQLULEN* paramBindOffset = nullptr;
    SQLULEN asyncEnable = SQL_ASYNC_ENABLE_OFF;

    // Set by SQLCancel from another thread; checked while SQLite works.
    std::atomic<bool> cancelled{false};

    Desc descriptors[4]; // ARD, APD, IRD, IPD
};

template <typename T> constexpr Tag kTagOf = Tag::Dead;
template <> constexpr Tag kTagOf<Env> = Tag::Env;
template <> constexpr Tag kTagOf<Dbc> = Tag::Dbc;
template <> constexpr Tag kTagOf<Stmt> = Tag::Stmt;

// Every live handle the driver gave out.  A pointer is looked up here
// before it is read, so a handle freed twice, or freed with its connection
// and then handed back by the driver manager, is refused instead of used.
void RegisterHandle(void* handle);
void UnregisterHandle(void* handle);
bool IsLiveHandle(void* handle);

// The handle as T, or null when it is not a live handle of that kind.
template <typename T>
T* As(SQLHANDLE handle)
{
    if (!handle || !IsLiveHandle(handle))
        return nullptr;
    T* object = static_cast<T*>(handle);
    if (object->tag != kTagOf<T>)
        return nullptr;
    return object;
}

// Shared pieces of the statement functions.
void CloseCursor(Stmt& stmt);
void ReleasePrepared(Stmt& stmt);
// Put a finished catalogue result on the statement as its open cursor.
SQLRETURN OpenResult(Stmt& stmt, std::vector<Column> columns, ResultTable rows);
// A text argument of the application to UTF-8; records 22018 on failure.
bool ToUtf8(Diagnostics& diag, Interface i, const void* text, SQLINTEGER length, std::string& out);
// The type a column or parameter of `type` is reported as to this
// connection's client: a Unicode client sees the wide character types.
SQLSMALLINT ReportedType(const Dbc& dbc, SQLSMALLINT type);

// Start a wait limit of `seconds` (0: none) on the connection.
void StartWait(Dbc& dbc, SQLULEN seconds, std::atomic<bool>* cancel);
// The limit of work that belongs to the connection rather than to a
// statement (transactions): the connection time-out, else the login one,
// so that a lock another process keeps never holds a call for ever.
void StartConnectionWait(Dbc& dbc);
// Install the busy and progress handlers that honour `dbc.wait`.
void InstallWaitHandlers(Dbc& dbc);

// Locks the statement's connection and clears the statement's diagnostics
// for the length of one API call.
struct StatementCall {
    explicit StatementCall(Stmt& s) : stmt(s), lock(s.dbc->mutex) { stmt.diag.clear(); }
    Stmt& stmt;
    std::lock_guard<std::recursive_mutex> lock;
};

// The shape of a statement's entry point: find the statement, hold its
// connection, run the body on it.
template <typename Body>
SQLRETURN OnStatement(SQLHSTMT handle, Body body)
{
    Stmt* stmt = As<Stmt>(handle);
    if (!stmt)
        return SQL_INVALID_HANDLE;
    StatementCall call(*stmt);
    return body(*stmt);
}

void DropStatement(Stmt* stmt);

// Binds every parameter of the prepared statement from its buffers;
// SQL_NEED_DATA when some are to be given at execution.
SQLRETURN BindParameters(Stmt& stmt);
// Runs the prepared statement, its parameters bound: a query's result is
// read whole.
SQLRETURN RunPrepared(Stmt& stmt);
// Forgets parameters still owed at execution.
void CancelDataAtExecution(Stmt& stmt);
// The shared bodies of the narrow and wide forms.
SQLRETURN PrepareText(Stmt& stmt, Interface i, const void* text, SQLINTEGER length);
SQLRETURN ExecuteDirect(Stmt& stmt, Interface i, const void* text, SQLINTEGER length);
SQLRETURN DescribeColumn(Stmt& stmt, Interface i, SQLUSMALLINT column, SQLPOINTER name, SQLSMALLINT bufferLength,
                         SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                         SQLSMALLINT* nullable);
SQLRETURN ColumnAttribute(Stmt& stmt, Interface i, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                          SQLSMALLINT bufferLength, SQLSMALLINT* textLength, SQLLEN* number);

// Begin a transaction when auto-commit is off and none is open.
SQLRETURN BeginIfManual(Dbc& dbc, Diagnostics& diag);
// Commit or roll back the connection's open transaction, if any.
SQLRETURN EndTransaction(Dbc& dbc, SQLSMALLINT completion);

} // namespace access_odbc
