#include "ui/ext/ext_library.h"

#include "ui/ext/list_view_commands.h"
#include "ui/ext/tree_box_commands.h"

#include <atomic>

namespace ui {
namespace {

std::atomic<runtime::ServiceEntry> g_services{nullptr};

std::intptr_t notify(int message, std::uintptr_t a)
{
    if (message == runtime::kLibraryStarted)
        g_services = reinterpret_cast<runtime::ServiceEntry>(a);
    return 0;
}

// In the order of ExtCommand.
const runtime::CommandDescriptor kExtLibrary1Commands[] = {
    {"TreeBox.GetItemCount", TreeBoxGetItemCount},
    {"TreeBox.GetItemText", TreeBoxGetItemText},
    {"TreeBox.GetItemData", TreeBoxGetItemData},
    {"TreeBox.ExpandItem", TreeBoxExpandItem},
    {"TreeBox.AddItem", TreeBoxAddItem},
    {"TreeBox.Clear", TreeBoxClear},
    {"TreeBox.GetParent", TreeBoxGetParent},
    {"TreeBox.HasChildren", TreeBoxHasChildren},
    {"ListView.GetCellText", ListViewGetCellText},
    {"ListView.SetCellText", ListViewSetCellText},
    {"ListView.SetCellImage", ListViewSetCellImage},
    {"ListView.InsertRow", ListViewInsertRow},
    {"ListView.DeleteAllRows", ListViewDeleteAllRows},
    {"ListView.GetColumnCount", ListViewGetColumnCount},
    {"ListView.DeleteColumn", ListViewDeleteColumn},
    {"ListView.InsertColumn", ListViewInsertColumn},
};
static_assert(std::size(kExtLibrary1Commands) == std::size_t(ExtCommand::ListViewInsertColumn) + 1);

} // namespace

std::span<const runtime::CommandDescriptor> ExtLibrary1Commands()
{
    return kExtLibrary1Commands;
}

std::intptr_t ExtLibrary1Notify(int message, std::uintptr_t a, std::uintptr_t)
{
    return notify(message, a);
}

std::intptr_t ExtLibrary3Notify(int message, std::uintptr_t a, std::uintptr_t)
{
    return notify(message, a);
}

runtime::ServiceEntry ExtLibraryServices()
{
    return g_services;
}

} // namespace ui
