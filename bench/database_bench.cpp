// Statement 8 for a category of 100,000 entries: open, walk every row,
// read its four columns, close.  Once through the program's own path (the
// catalogue's reading, the database unit, the engine, the driver manager
// and our driver) and once with the SQLite C API on the same file, in the
// same run, so the ratio is the cost of everything in between.

#include "app/catalogue/catalogue_database.h"
#include "app/catalogue/statements.h"
#include "app/catalogue_support.h"
#include "app/ids.h"
#include "platform/text_codec.h"
#include "tools/catalogue_db/schema.h"
#include "ui/framework/framework.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr int kEntries = 100'000;
const char* const kCategory = "基准";

bool fill(const std::string& path)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    // Literals here are GBK; SQLite takes UTF-8.
    std::string sql = platform::GbkToUtf8("INSERT INTO cntext (对应节点, 字符, 描述, 详情) VALUES (?, ?, ?, ?)");
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) == SQLITE_OK;
    std::string category = platform::GbkToUtf8(kCategory);
    std::string details = platform::GbkToUtf8("详情");
    for (int i = 0; ok && i < kEntries; ++i) {
        std::string code = "for (int i = 0; i < " + std::to_string(i) + "; ++i) total += values[i];";
        std::string description = platform::GbkToUtf8("条目 " + std::to_string(i) + " 的描述");
        sqlite3_bind_text(insert, 1, category.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, description.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, details.c_str(), -1, SQLITE_STATIC);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The catalogue with its main window open on a database of kEntries rows.
bool prepare()
{
    static const bool ready = [] {
        setenv("ODBCSYSINI", VELMORA_ODBC_ETC, 0);
        std::string path = cataloguetest::CatalogueFile();
        unlink(path.c_str());
        if (!catalogue_db::CreateCatalogue(path, catalogue_db::Contents::Empty).ok || !fill(path))
            return false;
        cataloguetest::StartCatalogueInProcess();
        return ui::TheFramework().openWindow(app::ids::kMainWindow.window, nullptr, false);
    }();
    return ready;
}

void ThroughTheUnit(benchmark::State& state)
{
    if (!prepare()) {
        state.SkipWithError("cannot prepare the catalogue");
        return;
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<app::catalogue::EntryRow> entries = app::catalogue::ListEntries(kCategory);
        rows = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    if (rows != std::size_t(kEntries))
        state.SkipWithError("the query did not give every row");
    state.counters["rows"] = double(rows);
}
BENCHMARK(ThroughTheUnit)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void SqliteDirect(benchmark::State& state)
{
    if (!prepare()) {
        state.SkipWithError("cannot prepare the catalogue");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(cataloguetest::CatalogueFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string sql = platform::GbkToUtf8(app::statements::ListEntries(kCategory));
    std::size_t rows = 0;
    for (auto _ : state) {
        struct Row {
            std::string code, description, details;
            int key;
        };
        std::vector<Row> entries;
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        auto text = [&](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))); };
        while (sqlite3_step(stmt) == SQLITE_ROW)
            entries.push_back({text(2), text(3), text(4), sqlite3_column_int(stmt, 0)});
        sqlite3_finalize(stmt);
        rows = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    sqlite3_close(db);
    if (rows != std::size_t(kEntries))
        state.SkipWithError("the query did not give every row");
    state.counters["rows"] = double(rows);
}
BENCHMARK(SqliteDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
