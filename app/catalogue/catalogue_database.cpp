#include "app/catalogue/catalogue_database.h"

#include "app/app_state.h"
#include "app/catalogue/statements.h"
#include "app/catalogue/transaction.h"
#include "app/units.h"
#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "ui/framework/identifiers.h"

namespace app::catalogue {
namespace {

using runtime::TypedValue;
using runtime::ValueType;

const Database kDatabase{ids::kMainWindow, ids::kDatabase};

// The numbered errors of values of the wrong kind.
constexpr std::int32_t kErrorNotNumeric = 2;
constexpr std::int32_t kErrorTypeMismatch = 5;

// The reading routines, named as program sets so an error report tells
// which read failed.
constexpr std::uint32_t Routine(std::uint32_t serial)
{
    return ui::MakeId(ui::IdCategory::ProgramSet, 0, serial);
}
constexpr std::uint32_t kLoadNodesRoutine = Routine(0x0101);
constexpr std::uint32_t kFindNodeRoutine = Routine(0x0102);
constexpr std::uint32_t kListEntriesRoutine = Routine(0x0103);
constexpr std::uint32_t kReadEntryRoutine = Routine(0x0104);

void inform(const char* message, const char* caption)
{
    InfoBox(message, kInformation, caption);
}

// The first row's integer column of statement 2; nothing from a query
// that failed, which has no row to read a number from.
std::optional<std::int32_t> findNode(std::string_view name, const char* column, std::uint32_t position)
{
    ResultSet set(statements::FindNode(name));
    if (!set.opened())
        return std::nullopt;
    return set.integer(column, {kFindNodeRoutine, position});
}

// Whether a node other than `key` is named `name`; nothing when the query
// failed.
std::optional<bool> otherNodeNamed(std::string_view name, std::int32_t key)
{
    ResultSet set(statements::FindNode(name));
    if (!set.opened())
        return std::nullopt;
    for (; !set.atEnd(); set.next())
        if (set.integer("父项目", {kFindNodeRoutine, 3}) != key)
            return true;
    return false;
}

} // namespace

std::string CataloguePath(std::string_view programDirectory)
{
    std::string path(programDirectory);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + "CN.mdb";
}

void OpenCatalogue()
{
    kDatabase.openAccess(CataloguePath(ProgramDirectory()));
}

std::int32_t IntegerValue(const TypedValue& value, ReadSite site)
{
    // Integers keep their value, reals are cut; any other kind has none.
    std::optional<std::int32_t> n = runtime::ToInteger(value);
    runtime::FreeValue(value);
    if (!n)
        runtime::RaiseRuntimeError(kErrorNotNumeric, site.routine, site.position);
    return *n;
}

std::string TextValue(const TypedValue& value, ReadSite site)
{
    if (!value.is(ValueType::Text)) {
        runtime::FreeValue(value);
        runtime::RaiseRuntimeError(kErrorTypeMismatch, site.routine, site.position);
    }
    return TakeText(value);
}

ResultSet::ResultSet(std::string statement)
{
    State().statement.set(statement);
    m_handle = kDatabase.openTable(statement);
}

ResultSet::~ResultSet()
{
    kDatabase.closeTable(m_handle);
}

bool ResultSet::atEnd() const
{
    return kDatabase.isEof(m_handle);
}

void ResultSet::next() const
{
    kDatabase.moveNext(m_handle);
}

std::int32_t ResultSet::integer(const char* column, ReadSite site) const
{
    return IntegerValue(kDatabase.readColumn(m_handle, column), site);
}

std::string ResultSet::text(const char* column, ReadSite site) const
{
    return TextValue(kDatabase.readColumn(m_handle, column), site);
}

bool Change(std::string statement)
{
    State().statement.set(statement);
    return kDatabase.execute(statement);
}

std::optional<std::vector<NodeRow>> LoadNodes()
{
    ResultSet set(statements::LoadTree());
    if (!set.opened()) {
        inform("请检查数据库文件是否正确！", "查询失败");
        return std::nullopt;
    }
    std::vector<NodeRow> nodes;
    for (; !set.atEnd(); set.next()) {
        NodeRow row;
        row.key = set.integer("父项目", {kLoadNodesRoutine, 1});
        row.name = set.text("节点名称", {kLoadNodesRoutine, 2});
        row.parentKey = set.integer("关联子节点", {kLoadNodesRoutine, 3});
        row.image = set.integer("图片索引", {kLoadNodesRoutine, 4});
        row.selectedImage = set.integer("选中图片索引", {kLoadNodesRoutine, 5});
        nodes.push_back(std::move(row));
    }
    return nodes;
}

std::optional<std::int32_t> FindNodeKey(std::string_view name)
{
    return findNode(name, "父项目", 1);
}

std::optional<std::int32_t> FindNodeImage(std::string_view name)
{
    return findNode(name, "图片索引", 2);
}

bool AddNode(std::string_view name, std::int32_t image, std::optional<std::int32_t> parentKey)
{
    bool done = Change(parentKey ? statements::AddChildNode(name, image, *parentKey)
                                 : statements::AddTopLevelNode(name, image));
    if (done)
        inform("添加新分类成功！", "成功");
    else
        inform("添加失败！", "失败");
    return done;
}

bool RenameNode(std::string_view oldName, std::string_view name, std::int32_t image, std::int32_t key)
{
    std::optional<bool> shared = otherNodeNamed(oldName, key);
    if (!shared)
        return false;
    if (*shared || oldName == name)
        return Change(statements::RenameNode(name, image, key));
    return ChangeTogether({statements::RenameNode(name, image, key), statements::MoveEntries(oldName, name)});
}

bool DeleteNode(std::int32_t key, std::int32_t parentKey, bool hasChildren)
{
    if (hasChildren && !Change(statements::ReparentChildren(parentKey, key)))
        return false;
    return Change(statements::DeleteNode(key));
}

std::vector<EntryRow> ListEntries(std::string_view nodeName)
{
    ResultSet set(statements::ListEntries(nodeName));
    // Room for as many entries as the last listing had: a category of many
    // entries would otherwise grow the vector by doubling each time, and the
    // C library hands the discarded halves back to the system only to fault
    // them in again on the next listing.  A much shorter list gives the
    // room back.
    static std::size_t lastCount = 0;
    std::vector<EntryRow> entries;
    entries.reserve(lastCount);
    for (; !set.atEnd(); set.next()) {
        EntryRow row;
        row.code = set.text("字符", {kListEntriesRoutine, 1});
        row.description = set.text("描述", {kListEntriesRoutine, 2});
        row.details = set.text("详情", {kListEntriesRoutine, 3});
        row.key = set.integer("ID", {kListEntriesRoutine, 4});
        entries.push_back(std::move(row));
    }
    lastCount = entries.size();
    if (entries.size() < entries.capacity() / 2)
        entries.shrink_to_fit();
    return entries;
}

EntryText ReadEntry(std::string_view entryKey)
{
    ResultSet set(statements::ReadEntry(entryKey));
    EntryText entry;
    entry.code = set.text("字符", {kReadEntryRoutine, 1});
    entry.description = set.text("描述", {kReadEntryRoutine, 2});
    entry.details = set.text("详情", {kReadEntryRoutine, 3});
    return entry;
}

bool AddEntry(std::string_view nodeName, const EntryText& entry)
{
    return Change(statements::AddEntry(nodeName, entry.code, entry.description, entry.details));
}

bool ChangeEntry(const EntryText& entry, std::string_view entryKey)
{
    bool done = Change(statements::ChangeEntry(entry.code, entry.description, entry.details, entryKey));
    if (done)
        inform("更新成功", "成功");
    else
        inform("更新失败", "失败");
    return done;
}

bool DeleteEntry(std::string_view entryKey)
{
    return Change(statements::DeleteEntry(entryKey));
}

} // namespace app::catalogue
