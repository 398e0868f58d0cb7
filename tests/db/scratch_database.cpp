#include "scratch_database.h"

#include "db/connect_string.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace dbtest {
namespace {

sqlite3* openFile(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path;
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

} // namespace

std::string UnusedPath(std::string_view stem)
{
    static std::atomic<int> serial{0};
    std::string path = testing::TempDir();
    if (path.empty() || path.back() != '/')
        path += '/';
    path += "velmora_db_" + std::to_string(::getpid()) + "_" + std::to_string(serial++) + "_";
    path += stem;
    std::remove(path.c_str());
    return path;
}

ScratchDatabase::ScratchDatabase(std::string_view schema) : m_path(UnusedPath("scratch.mdb"))
{
    exec(schema.empty() ? std::string_view("PRAGMA user_version = 1;") : schema);
}

ScratchDatabase::~ScratchDatabase()
{
    std::remove(m_path.c_str());
}

std::string ScratchDatabase::connectText() const
{
    return db::AccessConnectString(m_path, "", "");
}

void ScratchDatabase::exec(std::string_view sql) const
{
    sqlite3* db = openFile(m_path);
    if (!db)
        return;
    char* error = nullptr;
    if (sqlite3_exec(db, platform::GbkToUtf8(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << "sqlite: " << (error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string ScratchDatabase::scalar(std::string_view sql) const
{
    sqlite3* db = openFile(m_path);
    if (!db)
        return {};
    std::string result;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, platform::GbkToUtf8(sql).c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        result = platform::Utf8ToGbk(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

} // namespace dbtest
