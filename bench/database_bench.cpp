// Statement 8 for a category of 100,000 entries: open, walk every row,
// read its four columns, close.  Once through the program's own path (the
// catalogue's reading, the database unit, the engine, the driver manager
// and our driver), once through the driver manager and the driver alone,
// and with the SQLite C API on the same file, in the same run, so the
// ratios are the cost of each layer in between.

#include "app/catalogue/catalogue_database.h"
#include "bench/bench_main.h"
#include "app/catalogue/statements.h"
#include "app/catalogue_support.h"
#include "app/ids.h"
#include "platform/text_codec.h"
#include "tools/catalogue_db/schema.h"
#include "ui/framework/framework.h"

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <iomanip>
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

// The query through the driver manager and the driver, read as the engine
// reads it (a static cursor, GBK text through SQLGetData) but without the
// engine, the unit and the runtime.
void ThroughOdbc(benchmark::State& state)
{
    if (!prepare()) {
        state.SkipWithError("cannot prepare the catalogue");
        return;
    }
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string connect = "DBQ=" + cataloguetest::CatalogueFile() + ";Driver={Microsoft Access Driver (*.mdb)};";
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS, nullptr, 0,
                                        nullptr, SQL_DRIVER_NOPROMPT))) {
        state.SkipWithError("cannot connect through the driver manager");
        return;
    }
    std::string sql = app::statements::ListEntries(kCategory);
    std::vector<char> buffer(1024);
    auto text = [&](SQLHSTMT stmt, SQLUSMALLINT column) {
        SQLLEN length = 0;
        SQLGetData(stmt, column, SQL_C_CHAR, buffer.data(), SQLLEN(buffer.size()), &length);
        return std::string(buffer.data(), length > 0 ? std::size_t(length) : 0);
    };
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<app::catalogue::EntryRow> entries;
        entries.reserve(kEntries);
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0);
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
        while (SQL_SUCCEEDED(SQLFetch(stmt))) {
            app::catalogue::EntryRow row;
            row.code = text(stmt, 3);
            row.description = text(stmt, 4);
            row.details = text(stmt, 5);
            SQLINTEGER key = 0;
            SQLGetData(stmt, 1, SQL_C_SLONG, &key, sizeof key, nullptr);
            row.key = key;
            entries.push_back(std::move(row));
        }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        rows = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    if (rows != std::size_t(kEntries))
        state.SkipWithError("the query did not give every row");
    state.counters["rows"] = double(rows);
}
BENCHMARK(ThroughOdbc)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The query through the C API.  `mapped` opens the file as the driver
// does, without SQLite's mutexes and reading pages through a mapping of
// the file: the ratio to that run is the cost of the layers alone, the
// ratio to the plain run what a program gains or loses by them.
void sqliteDirect(benchmark::State& state, bool mapped)
{
    if (!prepare()) {
        state.SkipWithError("cannot prepare the catalogue");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(cataloguetest::CatalogueFile().c_str(), &db,
                    SQLITE_OPEN_READONLY | (mapped ? SQLITE_OPEN_NOMUTEX : 0), nullptr);
    if (mapped)
        sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
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

void SqliteDirect(benchmark::State& state)
{
    sqliteDirect(state, false);
}
BENCHMARK(SqliteDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void SqliteDirectMapped(benchmark::State& state)
{
    sqliteDirect(state, true);
}
BENCHMARK(SqliteDirectMapped)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The console's table, then each path's time as a multiple of SQLite's as a
// program opens the file, from the same run (the median where a run is
// repeated).  CPU time: every path runs on one thread, and time the
// machine gives to other work is no cost of the path.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                record(run.run_name.function_name, run.GetAdjustedCPUTime());
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const Path* base = find("SqliteDirect");
        if (!base || base->time <= 0)
            return;
        std::ostream& out = GetOutputStream();
        out << "\nCPU time as a multiple of SqliteDirect's in this run:\n";
        for (const Path& p : m_paths)
            out << "  " << std::left << std::setw(20) << p.name << std::fixed << std::setprecision(2)
                << p.time / base->time << "x\n";
    }

private:
    struct Path {
        std::string name;
        double time = 0;
    };

    Path* find(const std::string& name)
    {
        auto it = std::find_if(m_paths.begin(), m_paths.end(), [&](const Path& p) { return p.name == name; });
        return it == m_paths.end() ? nullptr : &*it;
    }

    void record(const std::string& name, double time)
    {
        if (Path* p = find(name))
            p->time = time;
        else
            m_paths.push_back({.name = name, .time = time});
    }

    std::vector<Path> m_paths; // in the order they ran
};

RatioReporter g_ratios;
[[maybe_unused]] const bool g_reportsRatios = (bench::UseReporter(&g_ratios), true);

} // namespace
