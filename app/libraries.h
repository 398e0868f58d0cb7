// The libraries this program links, in their fixed order, and the commands
// of the core library by position.
#pragma once

#include "runtime/library.h"
#include "ui/ext/ext_library.h"
#include "ui/framework/unit_kind.h"

#include <span>

namespace app {

enum class CoreCommand : std::uint16_t {
    LoadWindow,
    ProgramDirectory,
    RightText,
    ToText,
    CurrentDateTime,
    InfoBox,
    DestroyUnit,
    RefreshDisplay,
    PopupMenu,
    CloseDatabaseFile,
    // The external database unit's operations: the unit comes first.
    OpenAccessDatabase,
    OpenTable,
    CloseTable,
    IsEof,
    MoveFirst,
    MoveNext,
    ExecuteSql,
    ReadColumn,
    GetTabList,
};

inline runtime::CommandId Command(CoreCommand c)
{
    return {1, std::uint16_t(c)};
}

inline runtime::CommandId Command(ui::ExtCommand c)
{
    return {ui::kExtLibrary1Number, std::uint16_t(c)};
}

// Core library, extended interface library 1, extended interface library
// 3, special functions.
std::span<const runtime::LibraryDescriptor* const> Libraries();
// The unit kinds of the libraries, for the framework.
std::span<const ui::KindLibrary> KindLibraries();

} // namespace app
