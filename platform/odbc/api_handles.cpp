// Allocating and freeing handles, and the environment's attributes.

#include "platform/odbc/handles.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sqlite3.h>
#include <unordered_set>

using namespace access_odbc;

namespace access_odbc {

namespace {
std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}
std::unordered_set<void*>& registry()
{
    static std::unordered_set<void*> handles;
    return handles;
}
// Counts the handles freed.  A thread remembers the last handle it found
// live with the count of that moment; while nothing has been freed since,
// the same handle is still live without a look into the registry, which
// matters for the calls made once a row and a column (SQLGetData).
std::atomic<std::uint64_t> g_freed{0};
// Initial-exec: the driver is loaded with the program's first connection,
// and the general model would cost a call on every look.
[[gnu::tls_model("initial-exec")]] thread_local const void* t_lastLive = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local std::uint64_t t_lastFreed = ~std::uint64_t(0);
} // namespace

void RegisterHandle(void* handle)
{
    std::lock_guard lock(registryMutex());
    registry().insert(handle);
}

void UnregisterHandle(void* handle)
{
    std::lock_guard lock(registryMutex());
    registry().erase(handle);
    g_freed.fetch_add(1, std::memory_order_release);
}

bool IsLiveHandle(void* handle)
{
    std::uint64_t freed = g_freed.load(std::memory_order_acquire);
    if (handle == t_lastLive && freed == t_lastFreed)
        return true;
    std::lock_guard lock(registryMutex());
    if (registry().count(handle) == 0)
        return false;
    t_lastLive = handle;
    t_lastFreed = g_freed.load(std::memory_order_relaxed);
    return true;
}

SQLSMALLINT ReportedType(const Dbc& dbc, SQLSMALLINT type)
{
    return dbc.unicodeClient ? WideType(type) : type;
}

} // namespace access_odbc

namespace {

SQLRETURN allocEnv(SQLHANDLE* out)
{
    Env* env = new (std::nothrow) Env;
    if (!env)
        return SQL_ERROR;
    RegisterHandle(env);
    *out = env;
    return SQL_SUCCESS;
}

SQLRETURN allocDbc(Env* env, SQLHANDLE* out)
{
    env->diag.clear();
    Dbc* dbc = new (std::nothrow) Dbc;
    if (!dbc)
        return env->diag.fail("HY001", "Memory allocation error");
    dbc->env = env;
    std::lock_guard lock(env->mutex);
    env->connections.push_back(dbc);
    RegisterHandle(dbc);
    *out = dbc;
    return SQL_SUCCESS;
}

SQLRETURN allocStmt(Dbc* dbc, SQLHANDLE* out)
{
    std::lock_guard lock(dbc->mutex);
    dbc->diag.clear();
    if (!dbc->db)
        return dbc->diag.fail("08003", "Connection not open");
    Stmt* stmt = new (std::nothrow) Stmt;
    if (!stmt)
        return dbc->diag.fail("HY001", "Memory allocation error");
    stmt->dbc = dbc;
    for (Desc& d : stmt->descriptors)
        d.owner = stmt;
    dbc->statements.push_back(stmt);
    RegisterHandle(stmt);
    *out = stmt;
    return SQL_SUCCESS;
}

SQLRETURN freeEnv(Env* env)
{
    env->diag.clear();
    {
        std::lock_guard lock(env->mutex);
        if (!env->connections.empty())
            return env->diag.fail("HY010", "Function sequence error: connections are still allocated");
    }
    UnregisterHandle(env);
    env->tag = Tag::Dead;
    delete env;
    return SQL_SUCCESS;
}

SQLRETURN freeDbc(Dbc* dbc)
{
    {
        std::lock_guard lock(dbc->mutex);
        dbc->diag.clear();
        if (dbc->db)
            return dbc->diag.fail("HY010", "Function sequence error: the connection is open");
    }
    Env* env = dbc->env;
    {
        std::lock_guard lock(env->mutex);
        std::erase(env->connections, dbc);
    }
    UnregisterHandle(dbc);
    dbc->tag = Tag::Dead;
    delete dbc;
    return SQL_SUCCESS;
}

} // namespace

namespace access_odbc {

// Used by SQLFreeHandle and SQLFreeStmt(SQL_DROP); the caller holds the
// connection's lock.
void DropStatement(Stmt* stmt)
{
    CloseCursor(*stmt);
    ReleasePrepared(*stmt);
    std::erase(stmt->dbc->statements, stmt);
    UnregisterHandle(stmt);
    stmt->tag = Tag::Dead;
    for (Desc& d : stmt->descriptors)
        d.tag = Tag::Dead;
    delete stmt;
}

} // namespace access_odbc

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output)
{
    if (!output)
        return SQL_ERROR;
    switch (type) {
    case SQL_HANDLE_ENV:
        return allocEnv(output);
    case SQL_HANDLE_DBC:
        if (Env* env = As<Env>(input))
            return allocDbc(env, output);
        return SQL_INVALID_HANDLE;
    case SQL_HANDLE_STMT:
        if (Dbc* dbc = As<Dbc>(input))
            return allocStmt(dbc, output);
        return SQL_INVALID_HANDLE;
    case SQL_HANDLE_DESC:
        if (Dbc* dbc = As<Dbc>(input)) {
            std::lock_guard lock(dbc->mutex);
            dbc->diag.clear();
            return dbc->diag.fail("HYC00", "Optional feature not implemented: explicit descriptors");
        }
        return SQL_INVALID_HANDLE;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        if (Env* env = As<Env>(handle))
            return freeEnv(env);
        return SQL_INVALID_HANDLE;
    case SQL_HANDLE_DBC:
        if (Dbc* dbc = As<Dbc>(handle))
            return freeDbc(dbc);
        return SQL_INVALID_HANDLE;
    case SQL_HANDLE_STMT:
        if (Stmt* stmt = As<Stmt>(handle)) {
            std::lock_guard lock(stmt->dbc->mutex);
            DropStatement(stmt);
            return SQL_SUCCESS;
        }
        return SQL_INVALID_HANDLE;
    default:
        return SQL_INVALID_HANDLE;
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    Env* env = As<Env>(handle);
    if (!env)
        return SQL_INVALID_HANDLE;
    env->diag.clear();
    SQLINTEGER v = SQLINTEGER(reinterpret_cast<SQLLEN>(value));
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        if (v != SQL_OV_ODBC2 && v != SQL_OV_ODBC3 && v != SQL_OV_ODBC3_80)
            return env->diag.fail("HY024", "Invalid attribute value");
        env->odbcVersion = v;
        return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
        if (v != SQL_TRUE)
            return env->diag.fail("HYC00", "Optional feature not implemented");
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
    default:
        return env->diag.fail("HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                SQLINTEGER* length)
{
    Env* env = As<Env>(handle);
    if (!env)
        return SQL_INVALID_HANDLE;
    env->diag.clear();
    SQLINTEGER v;
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION: v = env->odbcVersion; break;
    case SQL_ATTR_OUTPUT_NTS: v = SQL_TRUE; break;
    case SQL_ATTR_CONNECTION_POOLING: v = SQL_CP_OFF; break;
    case SQL_ATTR_CP_MATCH: v = SQL_CP_STRICT_MATCH; break;
    default:
        return env->diag.fail("HY092", "Invalid attribute/option identifier");
    }
    if (value)
        *static_cast<SQLINTEGER*>(value) = v;
    if (length)
        *length = sizeof v;
    return SQL_SUCCESS;
}
