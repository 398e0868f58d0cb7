#include "tools/catalogue_db/schema.h"

#include "tools/catalogue_db/starter_data.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace catalogue_db {
namespace {

// Keys are auto-numbers that grow with every insert and are never handed
// out again; the columns carry exactly the names the program reads, `ID`
// in capitals.  Names fit in 255 characters, snippets are long texts.
constexpr const char* kSchema = R"sql(
CREATE TABLE base (
    父项目 INTEGER PRIMARY KEY AUTOINCREMENT,
    节点名称 VARCHAR(255),
    关联子节点 INTEGER DEFAULT 0,
    图片索引 INTEGER DEFAULT 0,
    选中图片索引 INTEGER DEFAULT 0,
    数据库索引信息 VARCHAR(255)
);
CREATE TABLE cntext (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    对应节点 VARCHAR(255),
    字符 LONGTEXT,
    描述 LONGTEXT,
    详情 LONGTEXT
);
CREATE INDEX base_by_name ON base (节点名称);
CREATE INDEX cntext_by_node ON cntext (对应节点);
)sql";

class Database {
public:
    ~Database() { sqlite3_close(m_db); }
    bool open(const std::string& path)
    {
        return sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
    }
    bool exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    // Runs a statement once per row of texts and integers.
    bool insert(const char* sql, std::initializer_list<const char*> texts, int integer = -1)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return false;
        int i = 1;
        for (const char* t : texts)
            sqlite3_bind_text(stmt, i++, t, -1, SQLITE_STATIC);
        if (integer >= 0)
            sqlite3_bind_int(stmt, i, integer);
        bool done = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_finalize(stmt);
        return done;
    }
    std::string error() const { return m_db ? sqlite3_errmsg(m_db) : "out of memory"; }

private:
    sqlite3* m_db = nullptr;
};

bool fillStarter(Database& db)
{
    // A category's parent is named; its key is looked up, 0 for none.
    for (const StarterCategory& c : StarterCategories())
        if (!db.insert("INSERT INTO base (节点名称, 图片索引, 选中图片索引, 数据库索引信息, 关联子节点)"
                       " VALUES (?1, ?3, ?3, ?1, coalesce((SELECT 父项目 FROM base WHERE 节点名称 = ?2), 0))",
                       {c.name, c.parent}, c.image))
            return false;
    for (const StarterEntry& e : StarterEntries())
        if (!db.insert("INSERT INTO cntext (对应节点, 字符, 描述, 详情) VALUES (?, ?, ?, ?)",
                       {e.category, e.code, e.description, e.details}))
            return false;
    return true;
}

Result build(const std::string& path, Contents contents)
{
    Database db;
    if (!db.open(path))
        return {false, db.error()};
    if (!db.exec("BEGIN") || !db.exec(kSchema) || (contents == Contents::Starter && !fillStarter(db)) ||
        !db.exec("COMMIT"))
        return {false, db.error()};
    return {true, {}};
}

} // namespace

Result CreateCatalogue(const std::string& path, Contents contents)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return {false, path + ": exists; left as it is"};
    // Built beside the target under a name of its own, then linked into
    // place: link() never replaces a file that appeared meanwhile, and a
    // half-built database never carries the real name.
    std::string temp = path + ".new-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return {false, path + ": " + std::strerror(errno)};
    // mkstemp makes the file private; a catalogue gets the user's usual mode.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    Result r = build(temp, contents);
    if (r.ok && link(temp.c_str(), path.c_str()) != 0)
        r = {false, path + ": " + std::strerror(errno)};
    unlink(temp.c_str());
    unlink((temp + "-journal").c_str());
    return r;
}

} // namespace catalogue_db
