// The program's libraries put together from the layers that hold their
// parts, the way the program was linked: each library's notification entry
// and commands, and its unit kinds by position.

#include "app/libraries.h"

#include "db/odbc_db_commands.h"
#include "db/odbc_db_kind.h"
#include "runtime/commands/basic_commands.h"
#include "runtime/commands/core_library.h"
#include "ui/ext/ext_library.h"
#include "ui/framework/unit_commands.h"
#include "ui/units/standard_kinds.h"
#include "ui/units/window_unit.h"

#include <array>

namespace app {
namespace {

namespace rc = runtime::commands;

// In the order of CoreCommand.
const runtime::CommandDescriptor kCoreCommands[] = {
    {"LoadWindow", rc::LoadWindow},
    {"ProgramDirectory", rc::ProgramDirectory},
    {"RightText", rc::RightText},
    {"ToText", rc::ToText},
    {"CurrentDateTime", rc::CurrentDateTime},
    {"InfoBox", rc::InfoBox},
    {"DestroyUnit", ui::DestroyUnitCommand},
    {"RefreshDisplay", rc::RefreshDisplay},
    {"PopupMenu", ui::PopupMenuCommand},
    {"CloseDatabaseFile", rc::CloseDatabaseFile},
    {"OpenAccessDatabase", db::OpenAccessDatabaseCommand},
    {"OpenTable", db::OpenTableCommand},
    {"CloseTable", db::CloseTableCommand},
    {"IsEOF", db::IsEofCommand},
    {"MoveFirst", db::MoveFirstCommand},
    {"MoveNext", db::MoveNextCommand},
    {"ExecuteSql", db::ExecuteSqlCommand},
    {"ReadColumn", db::ReadColumnCommand},
    {"GetTabList", db::GetTabListCommand},
};
static_assert(std::size(kCoreCommands) == std::size_t(CoreCommand::GetTabList) + 1);

const runtime::LibraryDescriptor kCoreLibrary{"core library", 1, runtime::CoreLibraryNotify, kCoreCommands};
const runtime::LibraryDescriptor kExtLibrary1{"extended interface library 1", ui::kExtLibrary1Number,
                                              ui::ExtLibrary1Notify, ui::ExtLibrary1Commands()};
const runtime::LibraryDescriptor kExtLibrary3{"extended interface library 3", 3, ui::ExtLibrary3Notify, {}};
const runtime::LibraryDescriptor kSpecialLibrary{"special functions", 4, runtime::SpecialFunctionsNotify, {}};

const std::array<const runtime::LibraryDescriptor*, 4> kLibraries = {&kCoreLibrary, &kExtLibrary1, &kExtLibrary3,
                                                                     &kSpecialLibrary};

template<std::size_t N>
std::array<ui::UnitKindDescriptor, N> kindTable(std::initializer_list<std::pair<int, const ui::UnitKindDescriptor*>> at)
{
    std::array<ui::UnitKindDescriptor, N> table{};
    for (auto [position, kind] : at)
        table[std::size_t(position - 1)] = *kind;
    return table;
}

} // namespace

std::span<const runtime::LibraryDescriptor* const> Libraries()
{
    return kLibraries;
}

std::span<const ui::KindLibrary> KindLibraries()
{
    // Built on first use, after every kind descriptor has its value.
    static const auto core = kindTable<46>({
        {1, &ui::kWindowKind},
        {3, &ui::kMenuItemKind},
        {5, &ui::kEditBoxKind},
        {6, &ui::kPicBoxKind},
        {11, &ui::kButtonKind},
        {14, &ui::kComboBoxKind},
        {46, &db::kOdbcDbKind},
    });
    static const auto ext1 = kindTable<5>({{1, &ui::kTreeBoxKind}, {4, &ui::kListViewKind}, {5, &ui::kTransLabelKind}});
    static const auto ext3 = kindTable<2>({{2, &ui::kPageControlKind}});
    static const std::array<ui::KindLibrary, 3> libraries = {{{1, core}, {2, ext1}, {3, ext3}}};
    return libraries;
}

} // namespace app
