#include "app/catalogue_file.h"

#include "app/catalogue_support.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace cataloguetest {

std::vector<std::string> FileRows(const std::string& gbkSql)
{
    sqlite3* db = nullptr;
    std::vector<std::string> rows;
    if (sqlite3_open_v2(CatalogueFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open the catalogue";
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, platform::GbkToUtf8(gbkSql).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(db);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            if (i)
                row += '|';
            auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            row += text ? platform::Utf8ToGbk(text) : "NULL";
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

bool ChangeFile(const std::string& gbkSql)
{
    sqlite3* db = nullptr;
    bool done = sqlite3_open(CatalogueFile().c_str(), &db) == SQLITE_OK &&
                sqlite3_exec(db, platform::GbkToUtf8(gbkSql).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done;
}

} // namespace cataloguetest
