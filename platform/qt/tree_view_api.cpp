// The tree-view functions: each finds the control behind the handle and
// asks it directly; a handle that is no tree view gets the failure value.

#include "platform/tree_view.h"

#include "platform/image_list_stream.h"
#include "platform/qt/tree_view_class.h"
#include "platform/qt/tree_view_widget.h"

#include <utility>

namespace platform {
namespace {

using qt::TreeViewWidget;

template <typename Result, typename Call>
Result withTree(Hwnd tree, Result failure, Call&& call)
{
    TreeViewWidget* widget = qt::treeViewOf(tree);
    return widget ? Result(call(*widget)) : failure;
}

// Navigation: the item `pick` finds from an existing slot.
template <typename Pick>
TreeItem navigate(Hwnd tree, TreeItem from, Pick&& pick)
{
    return withTree(tree, TreeItem::Null, [&](TreeViewWidget& w) {
        const qt::TreeItems& items = w.items();
        std::optional<qt::TreeSlot> slot = items.slotOf(from);
        return slot ? items.handleOf(pick(items, *slot)) : TreeItem::Null;
    });
}

} // namespace

TreeItem TreeView_InsertItem(Hwnd tree, TreeItem parent, const TreeViewItem& item)
{
    return withTree(tree, TreeItem::Null, [&](TreeViewWidget& w) { return w.insertItem(parent, item); });
}

bool TreeView_DeleteAllItems(Hwnd tree)
{
    return withTree(tree, false, [](TreeViewWidget& w) {
        w.deleteAllItems();
        return true;
    });
}

bool TreeView_GetItem(Hwnd tree, TreeViewItem& item)
{
    return withTree(tree, false, [&](TreeViewWidget& w) { return w.getItem(item); });
}

bool TreeView_SetItem(Hwnd tree, const TreeViewItem& item)
{
    return withTree(tree, false, [&](TreeViewWidget& w) { return w.setItem(item); });
}

std::string TreeView_GetItemText(Hwnd tree, TreeItem item)
{
    TreeViewItem request{.mask = TVIF_TEXT, .item = item};
    return TreeView_GetItem(tree, request) ? std::move(request.text) : std::string();
}

int TreeView_GetCount(Hwnd tree)
{
    return withTree(tree, 0, [](TreeViewWidget& w) { return w.items().count(); });
}

TreeItem TreeView_GetRoot(Hwnd tree)
{
    return withTree(tree, TreeItem::Null, [](TreeViewWidget& w) {
        const qt::TreeItems& items = w.items();
        return items.count() > 0 ? items.handleOf(items.child(qt::TreeItems::kRoot, 0)) : TreeItem::Null;
    });
}

TreeItem TreeView_GetChild(Hwnd tree, TreeItem item)
{
    return navigate(tree, item, [](const qt::TreeItems& items, qt::TreeSlot s) -> std::optional<qt::TreeSlot> {
        if (items.childCount(s) == 0)
            return std::nullopt;
        return items.child(s, 0);
    });
}

TreeItem TreeView_GetNextSibling(Hwnd tree, TreeItem item)
{
    return navigate(tree, item, [](const qt::TreeItems& items, qt::TreeSlot s) { return items.nextSibling(s); });
}

TreeItem TreeView_GetParent(Hwnd tree, TreeItem item)
{
    return navigate(tree, item, [](const qt::TreeItems& items, qt::TreeSlot s) -> std::optional<qt::TreeSlot> {
        if (items.parent(s) == qt::TreeItems::kRoot)
            return std::nullopt;
        return items.parent(s);
    });
}

TreeItem TreeView_GetItemAtPreorderIndex(Hwnd tree, int index)
{
    return withTree(tree, TreeItem::Null,
                    [&](TreeViewWidget& w) { return w.items().handleOf(w.items().atPreorderIndex(index)); });
}

int TreeView_GetPreorderIndex(Hwnd tree, TreeItem item)
{
    return withTree(tree, -1, [&](TreeViewWidget& w) {
        std::optional<qt::TreeSlot> slot = w.items().slotOf(item);
        return slot ? w.items().preorderIndex(*slot) : -1;
    });
}

TreeItem TreeView_GetSelection(Hwnd tree)
{
    return withTree(tree, TreeItem::Null, [](TreeViewWidget& w) { return w.selection(); });
}

bool TreeView_SelectItem(Hwnd tree, TreeItem item)
{
    return withTree(tree, false, [&](TreeViewWidget& w) { return w.selectItem(item); });
}

bool TreeView_Expand(Hwnd tree, TreeItem item, std::uint32_t action)
{
    return withTree(tree, false, [&](TreeViewWidget& w) { return w.expand(item, action); });
}

TreeHitTestInfo TreeView_HitTest(Hwnd tree, Point client)
{
    return withTree(tree, TreeHitTestInfo{}, [&](TreeViewWidget& w) { return w.hitTest(client); });
}

Rect TreeView_GetItemRect(Hwnd tree, TreeItem item, bool textOnly)
{
    return withTree(tree, Rect{}, [&](TreeViewWidget& w) { return w.itemRect(item, textOnly); });
}

ImageList TreeView_SetImageList(Hwnd tree, ImageList list, int which)
{
    return withTree(tree, ImageList::Null, [&](TreeViewWidget& w) { return w.setImageList(which, list); });
}

ImageList TreeView_GetImageList(Hwnd tree, int which)
{
    return withTree(tree, ImageList::Null, [&](TreeViewWidget& w) { return w.imageList(which); });
}

int TreeView_SetItemHeight(Hwnd tree, int height)
{
    return withTree(tree, 0, [&](TreeViewWidget& w) { return w.setItemHeight(height); });
}

int TreeView_GetItemHeight(Hwnd tree)
{
    return withTree(tree, 0, [](TreeViewWidget& w) { return w.itemHeight(); });
}

// A handle that is no tree view has no colour: CLR_NONE.
ColorRef TreeView_SetTextColor(Hwnd tree, ColorRef color)
{
    return withTree(tree, CLR_NONE, [&](TreeViewWidget& w) { return w.setTextColor(color); });
}

ColorRef TreeView_GetTextColor(Hwnd tree)
{
    return withTree(tree, CLR_NONE, [](TreeViewWidget& w) { return w.textColor(); });
}

ColorRef TreeView_SetBkColor(Hwnd tree, ColorRef color)
{
    return withTree(tree, CLR_NONE, [&](TreeViewWidget& w) { return w.setBkColor(color); });
}

ColorRef TreeView_GetBkColor(Hwnd tree)
{
    return withTree(tree, CLR_NONE, [](TreeViewWidget& w) { return w.bkColor(); });
}

} // namespace platform
