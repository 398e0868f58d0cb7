#include "app/catalogue_support.h"

#include "app/catalogue/catalogue_database.h"
#include "app/libraries.h"
#include "app/program.h"
#include "runtime/runtime.h"
#include "platform/process.h"
#include "platform/text_codec.h"
#include "tools/catalogue_db/schema.h"
#include "ui/framework/framework.h"

#include <sqlite3.h>

#include <cstdio>

namespace cataloguetest {

void StartCatalogueInProcess()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    for (const ui::KindLibrary& library : app::KindLibraries())
        ui::TheFramework().addKindLibrary(library);
    runtime::TheRuntime().prepare(app::ProgramInformation(), ui::TheFramework());
    runtime::TheRuntime().startRuntime();
}

std::string CatalogueFile()
{
    return app::catalogue::CataloguePath(platform::GetModuleDirectory());
}

void EnsureStarterCatalogue()
{
    // Another test process may make it at the same moment; either wins.
    catalogue_db::CreateCatalogue(CatalogueFile(), catalogue_db::Contents::Starter);
}

bool WriteCatalogue(const std::vector<NodeRow>& nodes, const std::vector<EntryRow>& entries)
{
    std::remove(CatalogueFile().c_str());
    if (!catalogue_db::CreateCatalogue(CatalogueFile(), catalogue_db::Contents::Empty).ok)
        return false;
    sqlite3* db = nullptr;
    if (sqlite3_open(CatalogueFile().c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    auto run = [&](const char* sql, std::initializer_list<std::string> texts, std::initializer_list<int> numbers) {
        sqlite3_stmt* stmt = nullptr;
        // The statement is GBK like every literal here; the file speaks UTF-8.
        if (sqlite3_prepare_v2(db, platform::GbkToUtf8(sql).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return false;
        int i = 1;
        for (const std::string& t : texts)
            sqlite3_bind_text(stmt, i++, platform::GbkToUtf8(t).c_str(), -1, SQLITE_TRANSIENT);
        for (int n : numbers)
            sqlite3_bind_int(stmt, i++, n);
        bool done = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_finalize(stmt);
        return done;
    };
    bool ok = true;
    for (const NodeRow& n : nodes)
        ok = ok && run("INSERT INTO base (节点名称, 数据库索引信息, 父项目, 关联子节点, 图片索引, 选中图片索引) "
                       "VALUES (?1, ?1, ?2, ?3, ?4, ?4)",
                       {n.name}, {n.key, n.parentKey, n.image});
    for (const EntryRow& e : entries)
        ok = ok && run("INSERT INTO cntext (对应节点, 字符, 描述, 详情) VALUES (?, ?, ?, ?)",
                       {e.category, e.code, e.description, e.details}, {});
    sqlite3_close(db);
    return ok;
}

} // namespace cataloguetest
