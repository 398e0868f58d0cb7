#include "platform/odbc/diagnostics.h"

#include "platform/odbc/utf16.h"

#include <cstring>
#include <sqlite3.h>

namespace access_odbc {

namespace {
constexpr const char* kPrefix = "[Velmora][Access ODBC Driver] ";
// The driver manager drops a record whose message does not fit its own
// buffer (SQL_MAX_MESSAGE_LENGTH, 512 characters), so a message quoting a
// long path or statement is cut to fit, at a character boundary.  UTF-8
// bytes are never fewer than the UTF-16 units of the same text.
constexpr std::size_t kMessageRoom = 400;
constexpr const char* kCut = "...";

struct MessageState {
    const char* fragment;
    const char* state;
};

// SQLite reports most statement errors as SQLITE_ERROR; its message tells
// them apart.
constexpr MessageState kMessageStates[] = {
    {"no such table", "42S02"},
    {"no such column", "42S22"},
    {"already exists", "42S01"},
    {"no such index", "42S12"},
    {"syntax error", "42000"},
    {"incomplete input", "42000"},
    {"unrecognized token", "42000"},
    {"values were supplied", "21S01"},
    {" values for ", "21S01"},
    {"ambiguous column name", "42000"},
    {"no such function", "42000"},
    {"wrong number of arguments", "42000"},
    {"misuse of aggregate", "42000"},
};
} // namespace

void Diagnostics::add(const char* state, const std::string& message, SQLINTEGER native)
{
    if (message.size() <= kMessageRoom) {
        records.push_back({state, native, kPrefix + message});
        return;
    }
    std::size_t keep = Utf8PrefixLength(message, kMessageRoom - std::strlen(kCut));
    records.push_back({state, native, kPrefix + message.substr(0, keep) + kCut});
}

const char* StateForSqlite(int code, const char* message)
{
    switch (code & 0xFF) {
    case SQLITE_CONSTRAINT: return "23000";
    case SQLITE_BUSY: case SQLITE_LOCKED: return "HYT00";
    case SQLITE_INTERRUPT: return "HY008";
    case SQLITE_NOMEM: return "HY001";
    case SQLITE_TOOBIG: return "22001";
    case SQLITE_MISMATCH: return "22018";
    case SQLITE_RANGE: return "07009";
    case SQLITE_AUTH: case SQLITE_PERM: return "42000";
    case SQLITE_ERROR:
        for (const MessageState& m : kMessageStates)
            if (message && std::strstr(message, m.fragment))
                return m.state;
        return "HY000";
    default:
        return "HY000";
    }
}

SQLRETURN FailFromSqlite(Diagnostics& diag, sqlite3* db, int code, bool timedOut)
{
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    const char* state = StateForSqlite(code, text);
    std::string message = text ? text : "";
    if (timedOut && ((code & 0xFF) == SQLITE_INTERRUPT || (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED)) {
        state = "HYT00";
        message = "Timeout expired: " + message;
    }
    return diag.fail(state, message, code);
}

} // namespace access_odbc
