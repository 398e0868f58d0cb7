// The tree-view control, window class "SysTreeView32": a hierarchy of
// items, each with a text, an image and a selected image from the normal
// image list, an optional state image (check boxes) from the state image
// list, a 32-bit item datum, and bold and expanded states.
//
// Items are appended as the last child of their parent; the control has
// no other way of inserting and deletes only all items at once.  Item
// handles stay valid until the item is deleted and are never reused.
//
// The user's actions reach the parent as WM_NOTIFY (common_controls.h):
//
//   TVN_SELCHANGED     NmTreeView: the selection moved, after the change;
//                      action TVC_BYMOUSE, TVC_BYKEYBOARD or TVC_UNKNOWN
//                      (the program's own TreeView_SelectItem).
//   NM_DBLCLK          NotifyHeader: a double click in the control.
//   TVN_BEGINLABELEDIT NmTvDispInfo: label editing is about to begin
//                      (TVS_EDITLABELS: a click on the selected item's label,
//                      or F2); a non-zero answer refuses it.
//   TVN_ENDLABELEDIT   NmTvDispInfo: editing ended, text the new label (null
//                      when cancelled); a non-zero answer accepts the text.
//   TVN_ITEMEXPANDING  NmTreeView: itemNew is about to expand (action
//                      TVE_EXPAND) or collapse (TVE_COLLAPSE), by the user
//                      (button, double click, keys) or by TreeView_Expand;
//                      a non-zero answer refuses it.  Only real changes are
//                      announced: an item without children does not expand.
//
// With TVS_CHECKBOXES a click on an item's state icon, or Space with a
// caret item, advances that item's state image to the next one of the
// state list (after the last comes the first real image, slot 1).
#pragma once

#include "platform/common_controls.h"
#include "platform/image_list.h"
#include "platform/types.h"

#include <cstdint>
#include <string>

namespace platform {

inline constexpr const char* WC_TREEVIEW = "SysTreeView32";

enum class TreeItem : std::uintptr_t { Null = 0 };

// Styles.
enum : std::uint32_t {
    TVS_HASBUTTONS = 0x0001,    // expand and collapse buttons
    TVS_HASLINES = 0x0002,      // lines between parents and children
    TVS_LINESATROOT = 0x0004,   // lines and buttons at the top level too
    TVS_EDITLABELS = 0x0008,
    TVS_SHOWSELALWAYS = 0x0020, // the selection shows without the focus
    TVS_CHECKBOXES = 0x0100,
};

// Item states.  Bits 12-15 hold the state image slot (0: none).
enum : std::uint32_t {
    TVIS_SELECTED = 0x0002,
    TVIS_BOLD = 0x0010,
    TVIS_EXPANDED = 0x0020,
    TVIS_STATEIMAGEMASK = 0xF000,
};
constexpr std::uint32_t IndexToStateImageMask(std::uint32_t slot)
{
    return (slot & 0xF) << 12;
}
constexpr std::uint32_t StateImageSlotOf(std::uint32_t state)
{
    return (state & TVIS_STATEIMAGEMASK) >> 12;
}

// Which fields of a TreeViewItem count.
enum : std::uint32_t {
    TVIF_TEXT = 0x0001,
    TVIF_IMAGE = 0x0002,
    TVIF_PARAM = 0x0004,
    TVIF_STATE = 0x0008,
    TVIF_SELECTEDIMAGE = 0x0020,
};

struct TreeViewItem {
    std::uint32_t mask = 0;
    TreeItem item = TreeItem::Null; // TreeView_GetItem / TreeView_SetItem
    std::uint32_t state = 0;        // the bits of stateMask count
    std::uint32_t stateMask = 0;
    std::string text;               // GBK
    int image = 0;
    int selectedImage = 0;
    LParam param = 0;
};

// Appends an item as the last child of `parent` (Null: the last top-level
// item).  Fields the mask leaves out are empty or 0.  Null when the parent
// is no item of the control.
TreeItem TreeView_InsertItem(Hwnd tree, TreeItem parent, const TreeViewItem& item);
bool TreeView_DeleteAllItems(Hwnd tree);
// Fills the fields `item.mask` names (state: the bits of stateMask).
bool TreeView_GetItem(Hwnd tree, TreeViewItem& item);
// Changes the fields `item.mask` names.  Setting TVIS_EXPANDED this way
// changes the flag without notifying (as when items are loaded).
bool TreeView_SetItem(Hwnd tree, const TreeViewItem& item);
std::string TreeView_GetItemText(Hwnd tree, TreeItem item);
int TreeView_GetCount(Hwnd tree);

// Navigation; Null where there is no such item.
TreeItem TreeView_GetRoot(Hwnd tree); // the first top-level item
TreeItem TreeView_GetChild(Hwnd tree, TreeItem item);
TreeItem TreeView_GetNextSibling(Hwnd tree, TreeItem item);
TreeItem TreeView_GetParent(Hwnd tree, TreeItem item);

// Positions in a depth-first pre-order walk over the whole tree, collapsed
// items counted: the first top-level item is 0, every item is followed by
// all of its descendants.  Kept by the control, so neither direction walks
// the tree.  Null / -1 when there is no such item.
TreeItem TreeView_GetItemAtPreorderIndex(Hwnd tree, int index);
int TreeView_GetPreorderIndex(Hwnd tree, TreeItem item);

// The selection is one item, which is also the caret (keyboard) item.
TreeItem TreeView_GetSelection(Hwnd tree);
// Selects the item and makes it the caret item, scrolling it into view;
// Null clears the selection.  Sends TVN_SELCHANGED (TVC_UNKNOWN) when the
// selection changed.
bool TreeView_SelectItem(Hwnd tree, TreeItem item);

enum : std::uint32_t { TVE_COLLAPSE = 1, TVE_EXPAND = 2, TVE_TOGGLE = 3 };
// Expands or collapses an item's children (TVN_ITEMEXPANDING first); false
// when nothing changed.
bool TreeView_Expand(Hwnd tree, TreeItem item, std::uint32_t action);

// Hit testing, client coordinates.
enum : std::uint32_t {
    TVHT_NOWHERE = 0x0001,
    TVHT_ONITEMICON = 0x0002,
    TVHT_ONITEMLABEL = 0x0004,
    TVHT_ONITEMINDENT = 0x0008,
    TVHT_ONITEMBUTTON = 0x0010,
    TVHT_ONITEMRIGHT = 0x0020,
    TVHT_ONITEMSTATEICON = 0x0040,
    TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON,
    TVHT_ABOVE = 0x0100,
    TVHT_BELOW = 0x0200,
    TVHT_TORIGHT = 0x0400,
    TVHT_TOLEFT = 0x0800,
};
struct TreeHitTestInfo {
    TreeItem item = TreeItem::Null;
    std::uint32_t flags = TVHT_NOWHERE;
};
TreeHitTestInfo TreeView_HitTest(Hwnd tree, Point client);
// The item's row (textOnly: its label) in client coordinates; empty when
// the item is not shown (a collapsed parent above it).
Rect TreeView_GetItemRect(Hwnd tree, TreeItem item, bool textOnly);

// Image lists.  The control draws from them but never destroys them.
enum : int { TVSIL_NORMAL = 0, TVSIL_STATE = 2 };
ImageList TreeView_SetImageList(Hwnd tree, ImageList list, int which); // the previous list
ImageList TreeView_GetImageList(Hwnd tree, int which);

// Row height in pixels; -1 goes back to the height the font and the images
// need.  Set returns the previous height.
int TreeView_SetItemHeight(Hwnd tree, int height);
int TreeView_GetItemHeight(Hwnd tree);

// Colours (CLR_DEFAULT: the system's).  Set returns the previous colour.
ColorRef TreeView_SetTextColor(Hwnd tree, ColorRef color);
ColorRef TreeView_GetTextColor(Hwnd tree);
ColorRef TreeView_SetBkColor(Hwnd tree, ColorRef color);
ColorRef TreeView_GetBkColor(Hwnd tree);

// Notifications.
enum : std::uint32_t {
    TVN_SELCHANGED = std::uint32_t(-402),
    TVN_ITEMEXPANDING = std::uint32_t(-405),
    TVN_BEGINLABELEDIT = std::uint32_t(-410),
    TVN_ENDLABELEDIT = std::uint32_t(-411),
};
enum : std::uint32_t { TVC_UNKNOWN = 0, TVC_BYMOUSE = 1, TVC_BYKEYBOARD = 2 };

struct NmTreeView {
    NotifyHeader hdr;
    std::uint32_t action = 0; // TVC_* for TVN_SELCHANGED, TVE_* for TVN_ITEMEXPANDING
    TreeItem itemOld = TreeItem::Null;
    TreeItem itemNew = TreeItem::Null;
};

struct NmTvDispInfo {
    NotifyHeader hdr;
    TreeItem item = TreeItem::Null;
    const char* text = nullptr; // GBK; TVN_ENDLABELEDIT: null when cancelled
};

} // namespace platform
