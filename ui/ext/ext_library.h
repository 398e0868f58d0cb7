// The two extended interface libraries: their kinds, the commands of the
// first, and the runtime services each was handed at start-up.
#pragma once

#include "runtime/library.h"
#include "ui/framework/unit_kind.h"

#include <span>

namespace ui {

// Library 2: tree box, list view, transparent label.
extern const UnitKindDescriptor kTreeBoxKind;
extern const UnitKindDescriptor kListViewKind;
extern const UnitKindDescriptor kTransLabelKind;
// Library 3: the advanced tab.
extern const UnitKindDescriptor kPageControlKind;

// The commands of library 2, by position.
enum class ExtCommand : std::uint16_t {
    TreeBoxGetItemCount,
    TreeBoxGetItemText,
    TreeBoxGetItemData,
    TreeBoxExpandItem,
    TreeBoxAddItem,
    TreeBoxClear,
    TreeBoxGetParent,
    TreeBoxHasChildren,
    ListViewGetCellText,
    ListViewSetCellText,
    ListViewSetCellImage,
    ListViewInsertRow,
    ListViewDeleteAllRows,
    ListViewGetColumnCount,
    ListViewDeleteColumn,
    ListViewInsertColumn,
};
inline constexpr std::uint16_t kExtLibrary1Number = 2;
std::span<const runtime::CommandDescriptor> ExtLibrary1Commands();

std::intptr_t ExtLibrary1Notify(int message, std::uintptr_t a, std::uintptr_t b);
std::intptr_t ExtLibrary3Notify(int message, std::uintptr_t a, std::uintptr_t b);
runtime::ServiceEntry ExtLibraryServices();

} // namespace ui
