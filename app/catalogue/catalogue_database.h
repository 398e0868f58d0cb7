// The catalogue's database: where CN.mdb lives, how it is opened, and
// each statement run as the current statement, with the values it reads
// and the message that reports its outcome.
#pragma once

#include "runtime/typed_value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app::catalogue {

// The database file in the program directory, with one separator between.
std::string CataloguePath(std::string_view programDirectory);

// Opens CN.mdb through the main window's database unit.  The result is not
// looked at: a database that failed to open shows at the first query.
void OpenCatalogue();

// Where a value was read, for the runtime error a value of the wrong kind
// raises: the reading routine and the read's position in it.
struct ReadSite {
    std::uint32_t routine = 0;
    std::uint32_t position = 0;
};

// A column value used as a number: every integer kind keeps its value (a
// long its low 32 bits), reals are cut toward zero; anything else is the
// runtime error "未得到所需要的数值型数据".  Frees the value.
std::int32_t IntegerValue(const runtime::TypedValue& value, ReadSite site);
// A column value used as text; anything but text is the runtime error
// "数据或数组类型不匹配".  Frees the value.
std::string TextValue(const runtime::TypedValue& value, ReadSite site);

// One query's result set, closed when it goes out of scope.
class ResultSet {
public:
    // Runs the statement as the current statement.
    explicit ResultSet(std::string statement);
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    bool opened() const { return m_handle != 0; }
    bool atEnd() const;
    void next() const;
    std::int32_t integer(const char* column, ReadSite site) const;
    std::string text(const char* column, ReadSite site) const;

private:
    std::int32_t m_handle = 0;
};

// Runs a statement that changes the database as the current statement;
// true when it was done.
bool Change(std::string statement);

struct NodeRow {
    std::int32_t key = 0;
    std::string name;
    std::int32_t parentKey = 0;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
};

struct EntryRow {
    std::string code;
    std::string description;
    std::string details;
    std::int32_t key = 0;
};

struct EntryText {
    std::string code;
    std::string description;
    std::string details;
};

// Every node in key order; when the query fails, "请检查数据库文件是否正确！"
// is shown and nothing is returned.
std::optional<std::vector<NodeRow>> LoadNodes();
// The key, or the picture, of the first node of that name (0 when there
// is none); nothing when the query failed (the database busy or gone).
std::optional<std::int32_t> FindNodeKey(std::string_view name);
std::optional<std::int32_t> FindNodeImage(std::string_view name);
// Adds a node, at the top level or under a parent, and reports the outcome.
bool AddNode(std::string_view name, std::int32_t image, std::optional<std::int32_t> parentKey);
// Renames a node and changes its picture.  Its entries follow it, in the
// same transaction, unless another node keeps the old name: two nodes of
// one name share their entries, so they stay listed under that one.  When
// that cannot be told, nothing is changed.
bool RenameNode(std::string_view oldName, std::string_view name, std::int32_t image, std::int32_t key);
// Deletes a node; with children, they go to the node's parent first.
bool DeleteNode(std::int32_t key, std::int32_t parentKey, bool hasChildren);

// The entries of a category, in the order the database gives them.
std::vector<EntryRow> ListEntries(std::string_view nodeName);
// One entry; empty texts when the query fails or finds nothing.
EntryText ReadEntry(std::string_view entryKey);
// Adds or deletes an entry; the caller reports the outcome once the list
// shows it.
bool AddEntry(std::string_view nodeName, const EntryText& entry);
bool DeleteEntry(std::string_view entryKey);
// Changes an entry and reports the outcome.
bool ChangeEntry(const EntryText& entry, std::string_view entryKey);

} // namespace app::catalogue
