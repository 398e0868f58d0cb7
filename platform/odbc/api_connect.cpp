// Connecting, disconnecting, connection attributes and transactions.

#include "platform/odbc/connect_string.h"
#include "platform/odbc/data_source.h"
#include "platform/odbc/handles.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sqlite3.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace access_odbc;

namespace {

constexpr const char* kDriverName = "Microsoft Access Driver (*.mdb)";

bool waitOver(Dbc& dbc)
{
    WaitLimit& w = dbc.wait;
    if (w.cancel && w.cancel->load())
        return true;
    if (w.limited && std::chrono::steady_clock::now() >= w.deadline) {
        w.timedOut = true;
        return true;
    }
    return false;
}

int onBusy(void* context, int)
{
    Dbc& dbc = *static_cast<Dbc*>(context);
    if (waitOver(dbc))
        return 0;
    usleep(2000);
    return 1;
}

int onProgress(void* context)
{
    return waitOver(*static_cast<Dbc*>(context)) ? 1 : 0;
}

std::string resolvePath(const std::string& dbq, const std::optional<std::string>& defaultDir)
{
    if (dbq.empty() || dbq.front() == '/' || !defaultDir || defaultDir->empty())
        return dbq;
    std::string path = *defaultDir;
    if (path.back() != '/')
        path += '/';
    return path + dbq;
}

std::string directoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Checks that make the reason for a failed open plain; SQLite itself would
// only say "unable to open database file".  Nothing here creates a file.
SQLRETURN checkFile(Dbc& dbc, const std::string& path, bool readOnly)
{
    struct stat st;
    const std::string& name = dbc.dbq;
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return dbc.diag.fail("08001", "Could not find file '" + name + "'");
        return dbc.diag.fail("08001", "Cannot open file '" + name + "': " + std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode))
        return dbc.diag.fail("08001", "'" + name + "' is a directory, not a database file");
    if (!S_ISREG(st.st_mode))
        return dbc.diag.fail("08001", "'" + name + "' is not a regular file");
    if (st.st_size == 0)
        return dbc.diag.fail("08001", "'" + name + "' is empty: not a database file");
    if (access(path.c_str(), readOnly ? R_OK : R_OK | W_OK) != 0)
        return dbc.diag.fail("08001", std::string("No permission to ") + (readOnly ? "read" : "read and write")
                                          + " file '" + name + "'");
    return SQL_SUCCESS;
}

// A file name as an SQLite URI path: the characters URIs reserve are
// escaped.
std::string uriPath(const std::string& path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "file:";
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// How the SQLite connection is opened: read-write whenever the file and its
// folder allow it, even for a read-only ODBC connection (which then sets
// query_only), so that the last connection to close can always fold the
// log back into the file.  A folder where nobody can create a log or a
// journal is one where nobody can change the file either: there a file in
// WAL mode without its log is opened immutable, as nothing else could
// otherwise read it.
struct OpenPlan {
    int flags = 0;
    std::string name;
    bool queryOnly = false;
};

OpenPlan planOpen(const std::string& path, bool readOnly, bool folderWritable)
{
    OpenPlan plan;
    plan.name = path;
    bool fileWritable = access(path.c_str(), W_OK) == 0;
    // Each connection is used by one thread at a time under the driver's
    // own lock, so SQLite's mutexes would only cost.
    plan.flags = SQLITE_OPEN_NOMUTEX;
    if (fileWritable && folderWritable) {
        plan.flags |= SQLITE_OPEN_READWRITE;
        plan.queryOnly = readOnly;
    } else {
        plan.flags |= SQLITE_OPEN_READONLY;
        if (!folderWritable && !fileExists(path + "-wal")) {
            plan.flags |= SQLITE_OPEN_URI;
            plan.name = uriPath(path) + "?immutable=1";
        }
    }
    return plan;
}

SQLRETURN failedRead(Dbc& dbc, sqlite3* db, int rc)
{
    int primary = rc & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return dbc.diag.fail("HYT00", "Timeout expired: database '" + dbc.dbq + "' is locked by another process", rc);
    if (primary == SQLITE_NOTADB)
        return dbc.diag.fail("08001", "'" + dbc.dbq + "' is not a database file", rc);
    return dbc.diag.fail("08001", "Cannot read database '" + dbc.dbq + "': " + sqlite3_errmsg(db), rc);
}

// Puts the file into write-ahead logging once, if it is not already: then
// a reader in another process, even one that keeps a transaction open,
// never makes this connection's changes wait.  A file already in WAL mode
// is left as it is; when the change cannot be made now (another process
// holds the file in the old mode), the file keeps its mode, which is safe.
void useWriteAheadLog(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
        const char* mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        wal = mode && strcasecmp(mode, "wal") == 0;
    }
    sqlite3_finalize(st);
    if (!wal)
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
}

SQLRETURN openDatabase(Dbc& dbc, const std::string& path)
{
    bool readOnly = dbc.accessMode == SQL_MODE_READ_ONLY;
    if (SQLRETURN rc = checkFile(dbc, path, readOnly); rc != SQL_SUCCESS)
        return rc;
    SQLRETURN result = SQL_SUCCESS;
    bool folderWritable = access(directoryOf(path).c_str(), W_OK) == 0;
    if (!readOnly && !folderWritable) {
        // SQLite could open the file but never write it: say so now, not
        // at the first change.
        dbc.accessMode = SQL_MODE_READ_ONLY;
        dbc.demotedToReadOnly = true;
        readOnly = true;
        dbc.diag.add("01000", "Database '" + dbc.dbq + "' is opened read-only: its folder '" + directoryOf(dbc.dbq)
                                  + "' does not let SQLite create its log, so no change could be written");
        result = SQL_SUCCESS_WITH_INFO;
    }
    OpenPlan plan = planOpen(path, readOnly, folderWritable);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(plan.name.c_str(), &db, plan.flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        return dbc.diag.fail("08001", "Cannot open database '" + dbc.dbq + "'", rc);
    }
    sqlite3_extended_result_codes(db, 1);
    dbc.db = db;
    InstallWaitHandlers(dbc);
    dbc.db = nullptr;
    StartWait(dbc, dbc.loginTimeout, nullptr);

    // Reading the schema proves the file is a database, and waits out a
    // lock another process holds, within the login time-out.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        SQLRETURN failed = failedRead(dbc, db, rc);
        sqlite3_close(db);
        return failed;
    }
    if (!readOnly && sqlite3_db_readonly(db, "main") == 1) {
        sqlite3_close(db);
        return dbc.diag.fail("08001", "Database '" + dbc.dbq + "' can only be opened read-only");
    }
    // Every committed statement is on the disk before it returns.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // Pages are read through a mapping of the file rather than copied in by
    // a read call each; a result of many rows is read whole at execution.
    sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    if (!readOnly)
        useWriteAheadLog(db);
    if (plan.queryOnly)
        sqlite3_exec(db, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
    dbc.db = db;
    StartConnectionWait(dbc); // the login time-out is over
    return result;
}

std::string completeString(const ConnectString& cs, const std::string& dbq)
{
    std::string out;
    if (auto dsn = cs.find("DSN"))
        out += FormatConnectAttribute("DSN", *dsn);
    out += FormatConnectAttribute("DBQ", dbq);
    if (auto dir = cs.find("DefaultDir"))
        out += FormatConnectAttribute("DefaultDir", *dir);
    out += FormatConnectAttribute("Driver", cs.find("Driver").value_or(kDriverName), true);
    out += FormatConnectAttribute("FIL", cs.find("FIL").value_or("MS Access"));
    if (auto uid = cs.find("UID"))
        out += FormatConnectAttribute("UID", *uid);
    if (auto pwd = cs.find("PWD"))
        out += FormatConnectAttribute("PWD", *pwd);
    if (auto whole = cs.find("WholeCharacters"))
        out += FormatConnectAttribute("WholeCharacters", *whole);
    return out;
}

bool truthy(const std::optional<std::string>& value)
{
    return value && !value->empty() && *value != "0" && strcasecmp(value->c_str(), "no") != 0
           && strcasecmp(value->c_str(), "false") != 0;
}

// Connects with the attributes of a connect string (UTF-8), those of the
// data source it names filling in what it lacks.
SQLRETURN connectWith(Dbc& dbc, ConnectString cs, SQLUSMALLINT completion)
{
    if (dbc.db)
        return dbc.diag.fail("08002", "Connection name in use");
    if (std::optional<std::string> dsn = cs.find("DSN"); dsn && !dsn->empty()) {
        std::optional<ConnectString> source = ReadDataSource(*dsn);
        if (!source)
            return dbc.diag.fail("IM002", "Data source name not found: '" + *dsn + "' is not defined in odbc.ini");
        cs = MergeAttributes(cs, *source);
        dbc.dsn = *dsn;
    } else {
        dbc.dsn.clear();
    }
    std::optional<std::string> dbq = cs.find("DBQ");
    if (!dbq || dbq->empty()) {
        if (completion == SQL_DRIVER_NOPROMPT)
            return dbc.diag.fail("08001", "Connect string has no DBQ: no database file named");
        // There is no dialog to ask the user for the missing file.
        return dbc.diag.fail("IM008", "Dialog failed: the driver cannot prompt for a database file (DBQ)");
    }
    if (truthy(cs.find("ReadOnly")))
        dbc.accessMode = SQL_MODE_READ_ONLY;
    dbc.wholeCharacterPieces = truthy(cs.find("WholeCharacters"));
    dbc.dbq = *dbq;
    SQLRETURN rc = openDatabase(dbc, resolvePath(*dbq, cs.find("DefaultDir")));
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
        return rc;
    dbc.completed = completeString(cs, *dbq);
    return rc;
}

SQLRETURN driverConnect(Dbc& dbc, Interface i, const void* in, SQLSMALLINT inLength, SQLPOINTER out,
                        SQLSMALLINT outLength, SQLSMALLINT* outTotal, SQLUSMALLINT completion)
{
    if (outLength < 0)
        return dbc.diag.fail("HY090", "Invalid string or buffer length");
    switch (completion) {
    case SQL_DRIVER_NOPROMPT: case SQL_DRIVER_COMPLETE: case SQL_DRIVER_COMPLETE_REQUIRED: case SQL_DRIVER_PROMPT:
        break;
    default:
        return dbc.diag.fail("HY110", "Invalid driver completion");
    }
    std::string text;
    if (!ArgumentToUtf8(i, in, inLength < 0 && inLength != SQL_NTS ? 0 : inLength, text))
        return dbc.diag.fail("HY000", i == Interface::Narrow ? "The connect string is not valid GBK text"
                                                             : "The connect string is not valid UTF-16 text");
    dbc.unicodeClient = i == Interface::Wide;
    SQLRETURN rc = connectWith(dbc, ParseConnectString(text), completion);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
        return rc;
    if (CopyOut(i, dbc.completed, out, outLength, Counted::Units, outTotal)) {
        dbc.diag.add("01004", "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    return rc;
}

SQLRETURN connectToSource(Dbc& dbc, Interface i, const void* dsn, SQLSMALLINT dsnLength, const void* uid,
                          SQLSMALLINT uidLength, const void* pwd, SQLSMALLINT pwdLength)
{
    std::string name, user, password;
    if (!ArgumentToUtf8(i, dsn, dsnLength, name) || !ArgumentToUtf8(i, uid, uidLength, user)
        || !ArgumentToUtf8(i, pwd, pwdLength, password))
        return dbc.diag.fail("HY000", "A name given to SQLConnect is not valid text");
    if (name.empty())
        return dbc.diag.fail("IM002", "Data source name not found: no data source named");
    ConnectString cs;
    cs.attributes.push_back({.key = "DSN", .value = name});
    if (uid)
        cs.attributes.push_back({.key = "UID", .value = user});
    if (pwd)
        cs.attributes.push_back({.key = "PWD", .value = password});
    dbc.unicodeClient = i == Interface::Wide;
    return connectWith(dbc, std::move(cs), SQL_DRIVER_NOPROMPT);
}

struct ConnectionLock {
    explicit ConnectionLock(Dbc* d) : dbc(d)
    {
        if (dbc) {
            dbc->mutex.lock();
            dbc->diag.clear();
        }
    }
    ~ConnectionLock()
    {
        if (dbc)
            dbc->mutex.unlock();
    }
    Dbc* dbc;
};

} // namespace

namespace access_odbc {

void StartWait(Dbc& dbc, SQLULEN seconds, std::atomic<bool>* cancel)
{
    dbc.wait.limited = seconds > 0;
    dbc.wait.timedOut = false;
    dbc.wait.cancel = cancel;
    if (seconds > 0)
        dbc.wait.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}

void StartConnectionWait(Dbc& dbc)
{
    StartWait(dbc, dbc.connectionTimeout ? dbc.connectionTimeout : dbc.loginTimeout, nullptr);
}

void InstallWaitHandlers(Dbc& dbc)
{
    sqlite3_busy_handler(dbc.db, onBusy, &dbc);
    sqlite3_progress_handler(dbc.db, 1000, onProgress, &dbc);
}

SQLRETURN BeginIfManual(Dbc& dbc, Diagnostics& diag)
{
    if (dbc.autocommit == SQL_AUTOCOMMIT_ON || !sqlite3_get_autocommit(dbc.db))
        return SQL_SUCCESS;
    int rc = sqlite3_exec(dbc.db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return FailFromSqlite(diag, dbc.db, rc);
    return SQL_SUCCESS;
}

SQLRETURN EndTransaction(Dbc& dbc, SQLSMALLINT completion)
{
    if (!dbc.db)
        return dbc.diag.fail("08003", "Connection not open");
    if (completion != SQL_COMMIT && completion != SQL_ROLLBACK)
        return dbc.diag.fail("HY012", "Invalid transaction operation code");
    if (sqlite3_get_autocommit(dbc.db))
        return SQL_SUCCESS; // nothing open
    StartConnectionWait(dbc);
    int rc = sqlite3_exec(dbc.db, completion == SQL_COMMIT ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return FailFromSqlite(dbc.diag, dbc.db, rc);
    return SQL_SUCCESS;
}

} // namespace access_odbc

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength, SQLCHAR* out,
                                   SQLSMALLINT outLength, SQLSMALLINT* outTotal, SQLUSMALLINT completion)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    return driverConnect(*dbc, Interface::Narrow, in, inLength, out, outLength, outTotal, completion);
}

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC handle, SQLHWND, SQLWCHAR* in, SQLSMALLINT inLength, SQLWCHAR* out,
                                    SQLSMALLINT outLength, SQLSMALLINT* outTotal, SQLUSMALLINT completion)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    return driverConnect(*dbc, Interface::Wide, in, inLength, out, outLength, outTotal, completion);
}

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* uid, SQLSMALLINT uidLength,
                             SQLCHAR* pwd, SQLSMALLINT pwdLength)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    return connectToSource(*dbc, Interface::Narrow, dsn, dsnLength, uid, uidLength, pwd, pwdLength);
}

SQLRETURN SQL_API SQLConnectW(SQLHDBC handle, SQLWCHAR* dsn, SQLSMALLINT dsnLength, SQLWCHAR* uid,
                              SQLSMALLINT uidLength, SQLWCHAR* pwd, SQLSMALLINT pwdLength)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    return connectToSource(*dbc, Interface::Wide, dsn, dsnLength, uid, uidLength, pwd, pwdLength);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    if (!dbc->db)
        return dbc->diag.fail("08003", "Connection not open");
    while (!dbc->statements.empty())
        DropStatement(dbc->statements.back());
    // An open manual transaction is rolled back: what was not committed
    // never reaches the file.
    StartConnectionWait(*dbc);
    if (!sqlite3_get_autocommit(dbc->db))
        sqlite3_exec(dbc->db, "ROLLBACK", nullptr, nullptr, nullptr);
    // The last connection to close folds the log back into the file and
    // removes it: with no connection open the catalogue is one file.
    sqlite3_close(dbc->db);
    dbc->db = nullptr;
    dbc->completed.clear();
    dbc->unicodeClient = false;
    if (dbc->demotedToReadOnly)
        dbc->accessMode = SQL_MODE_READ_WRITE;
    dbc->demotedToReadOnly = false;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    SQLUINTEGER v = SQLUINTEGER(reinterpret_cast<SQLULEN>(value));
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT:
        dbc->loginTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT:
        dbc->connectionTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
        if (v != SQL_MODE_READ_ONLY && v != SQL_MODE_READ_WRITE)
            return dbc->diag.fail("HY024", "Invalid attribute value");
        if (dbc->db) {
            StartConnectionWait(*dbc);
            // Opened read-only, the file stays so; the mode can only narrow.
            std::string sql = std::string("PRAGMA query_only=") + (v == SQL_MODE_READ_ONLY ? "1" : "0");
            sqlite3_exec(dbc->db, sql.c_str(), nullptr, nullptr, nullptr);
        }
        dbc->accessMode = v;
        return SQL_SUCCESS;
    case SQL_ATTR_AUTOCOMMIT:
        if (v != SQL_AUTOCOMMIT_ON && v != SQL_AUTOCOMMIT_OFF)
            return dbc->diag.fail("HY024", "Invalid attribute value");
        if (v == SQL_AUTOCOMMIT_ON && dbc->db && dbc->autocommit == SQL_AUTOCOMMIT_OFF) {
            // Switching auto-commit on commits what is open.
            if (SQLRETURN rc = EndTransaction(*dbc, SQL_COMMIT); rc != SQL_SUCCESS)
                return rc;
        }
        dbc->autocommit = v;
        return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
        if (v != SQL_TXN_SERIALIZABLE) {
            dbc->diag.add("01S02", "Option value changed: transactions are serializable");
            return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_PACKET_SIZE:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_TRACEFILE:
    case SQL_ATTR_TRANSLATE_LIB:
    case SQL_ATTR_TRANSLATE_OPTION:
    case SQL_ATTR_ODBC_CURSORS:
        return SQL_SUCCESS; // held by the driver manager or meaningless here
    case SQL_ATTR_METADATA_ID:
        if (v != SQL_FALSE)
            return dbc->diag.fail("HYC00", "Optional feature not implemented");
        return SQL_SUCCESS;
    case SQL_ATTR_CURRENT_CATALOG:
        return dbc->diag.fail("HYC00", "Optional feature not implemented: catalogs");
    case SQL_ATTR_ASYNC_ENABLE:
        if (v != SQL_ASYNC_ENABLE_OFF)
            return dbc->diag.fail("HYC00", "Optional feature not implemented: asynchronous execution");
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_DEAD:
        return dbc->diag.fail("HY092", "Invalid attribute/option identifier: read-only attribute");
    default:
        return dbc->diag.fail("HY092", "Invalid attribute/option identifier");
    }
}

namespace {

SQLRETURN getConnectAttr(Interface i, SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                         SQLINTEGER bufferLength, SQLINTEGER* length)
{
    Dbc* dbc = As<Dbc>(handle);
    if (!dbc)
        return SQL_INVALID_HANDLE;
    ConnectionLock lock(dbc);
    SQLUINTEGER v;
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT: v = dbc->loginTimeout; break;
    case SQL_ATTR_CONNECTION_TIMEOUT: v = dbc->connectionTimeout; break;
    case SQL_ATTR_ACCESS_MODE: v = dbc->accessMode; break;
    case SQL_ATTR_AUTOCOMMIT: v = dbc->autocommit; break;
    case SQL_ATTR_TXN_ISOLATION: v = dbc->txnIsolation; break;
    case SQL_ATTR_CONNECTION_DEAD: v = dbc->db ? SQL_CD_FALSE : SQL_CD_TRUE; break;
    case SQL_ATTR_METADATA_ID: v = SQL_FALSE; break;
    case SQL_ATTR_ASYNC_ENABLE: v = SQL_ASYNC_ENABLE_OFF; break;
    case SQL_ATTR_ODBC_CURSORS: v = SQL_CUR_USE_DRIVER; break;
    case SQL_ATTR_CURRENT_CATALOG: {
        if (!dbc->db)
            return dbc->diag.fail("08003", "Connection not open");
        if (CopyOut(i, dbc->dbq, value, bufferLength, Counted::Bytes, length)) {
            dbc->diag.add("01004", "String data, right truncated");
            return SQL_SUCCESS_WITH_INFO;
        }
        return SQL_SUCCESS;
    }
    default:
        return dbc->diag.fail("HY092", "Invalid attribute/option identifier");
    }
    if (value)
        *static_cast<SQLUINTEGER*>(value) = v;
    if (length)
        *length = sizeof v;
    return SQL_SUCCESS;
}

} // namespace

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                    SQLINTEGER* length)
{
    return getConnectAttr(Interface::Narrow, handle, attribute, value, bufferLength, length);
}

SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                     SQLINTEGER* length)
{
    return getConnectAttr(Interface::Wide, handle, attribute, value, bufferLength, length);
}

// No attribute this driver takes is a string it keeps, so the wide form
// only passes on.
SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length)
{
    return SQLSetConnectAttr(handle, attribute, value, length);
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion)
{
    if (type == SQL_HANDLE_DBC) {
        Dbc* dbc = As<Dbc>(handle);
        if (!dbc)
            return SQL_INVALID_HANDLE;
        ConnectionLock lock(dbc);
        return EndTransaction(*dbc, completion);
    }
    if (type == SQL_HANDLE_ENV) {
        Env* env = As<Env>(handle);
        if (!env)
            return SQL_INVALID_HANDLE;
        env->diag.clear();
        std::lock_guard envLock(env->mutex);
        SQLRETURN result = SQL_SUCCESS;
        for (Dbc* dbc : env->connections) {
            ConnectionLock lock(dbc);
            if (dbc->db && EndTransaction(*dbc, completion) != SQL_SUCCESS)
                result = env->diag.fail("25S01", "Transaction state unknown: a connection failed to end its transaction");
        }
        return result;
    }
    return SQL_INVALID_HANDLE;
}

SQLRETURN SQL_API SQLTransact(SQLHENV env, SQLHDBC dbc, SQLUSMALLINT completion)
{
    if (dbc)
        return SQLEndTran(SQL_HANDLE_DBC, dbc, SQLSMALLINT(completion));
    return SQLEndTran(SQL_HANDLE_ENV, env, SQLSMALLINT(completion));
}
