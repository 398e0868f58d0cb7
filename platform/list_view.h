// The list-view control, window class "SysListView32": rows of cells shown
// as large icons, small icons, a list, or a report with a column header.
//
// A row ("item") has, in column 0, a text, an image, a state image slot,
// an indent and a 32-bit datum; every further column ("sub-item") has a
// text and an image.  Rows are numbered from 0 in display order, columns
// from 0 in insertion order.  The view is the style's LVS_TYPEMASK part and
// may change at any time (SetWindowStyle).
//
// The user's actions reach the parent as WM_NOTIFY (common_controls.h):
//
//   LVN_ITEMCHANGED    NmListView: a row's state changed (item, newState,
//                      oldState, changed = LVIF_STATE).
//   LVN_ITEMACTIVATE   NmListView: a row was activated (double click, Enter;
//                      a single click with LVS_EX_ONECLICKACTIVATE).
//   LVN_COLUMNCLICK    NmListView: a header button was clicked (subItem).
//   LVN_HOTTRACK       NmListView: with LVS_EX_TRACKSELECT, the row under
//                      the pointer (item, -1 for none) changed.
//   NM_CLICK, NM_RCLICK, NM_DBLCLK  NmListView (item, subItem, ptAction):
//                      a left click, a right click, a double click.
//   LVN_BEGINLABELEDIT NmLvDispInfo: editing a row's label is about to begin
//                      (LVS_EDITLABELS: a click on the selected row's label,
//                      or F2); a non-zero answer refuses it.
//   LVN_ENDLABELEDIT   NmLvDispInfo: editing ended, text the new label (null
//                      when cancelled); a non-zero answer accepts the text.
//   LVN_GETINFOTIP     NmLvGetInfoTip: with LVS_EX_INFOTIP, the pointer rests
//                      on a row; the parent may fill in the tip to show.
//
// With LVS_EX_CHECKBOXES the control supplies its own state images (slot 1
// an empty box, slot 2 a ticked box) and a click on a row's state icon, or
// Space with a focused row, toggles between them.
//
// Report views of 100,000 rows and more scroll smoothly: rows are kept in a
// model apart from the view, all rows have one height, and only the rows
// shown are ever drawn or measured.
#pragma once

#include "platform/common_controls.h"
#include "platform/image_list.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr const char* WC_LISTVIEW = "SysListView32";

// Styles.
enum : std::uint32_t {
    LVS_ICON = 0x0000,
    LVS_REPORT = 0x0001,
    LVS_SMALLICON = 0x0002,
    LVS_LIST = 0x0003,
    LVS_TYPEMASK = 0x0003,
    LVS_SINGLESEL = 0x0004,
    LVS_SHOWSELALWAYS = 0x0008,
    LVS_SORTASCENDING = 0x0010, // rows are inserted in order of their column-0 text
    LVS_SORTDESCENDING = 0x0020,
    LVS_NOLABELWRAP = 0x0080,   // icon views: labels on one line
    LVS_AUTOARRANGE = 0x0100,   // icon views: icons kept arranged
    LVS_EDITLABELS = 0x0200,
    LVS_ALIGNLEFT = 0x0800,     // icon views: arranged in columns from the left
    LVS_NOCOLUMNHEADER = 0x4000,
    LVS_NOSORTHEADER = 0x8000,  // header items are not buttons
};

// Extended styles (ListView_SetExtendedStyle).
enum : std::uint32_t {
    LVS_EX_GRIDLINES = 0x00000001,
    LVS_EX_SUBITEMIMAGES = 0x00000002,
    LVS_EX_CHECKBOXES = 0x00000004,
    LVS_EX_TRACKSELECT = 0x00000008, // hot tracking: the row under the pointer is hot, and selected after a rest
    LVS_EX_HEADERDRAGDROP = 0x00000010,
    LVS_EX_FULLROWSELECT = 0x00000020,
    LVS_EX_ONECLICKACTIVATE = 0x00000040,
    LVS_EX_FLATSB = 0x00000100,
    LVS_EX_INFOTIP = 0x00000400,
    LVS_EX_UNDERLINEHOT = 0x00000800,
    LVS_EX_UNDERLINECOLD = 0x00001000,
};

// Row states.  Bits 12-15 hold the state image slot (0: none).
enum : std::uint32_t {
    LVIS_FOCUSED = 0x0001,
    LVIS_SELECTED = 0x0002,
    LVIS_STATEIMAGEMASK = 0xF000,
};

// Which fields of a ListViewItem count.
enum : std::uint32_t {
    LVIF_TEXT = 0x0001,
    LVIF_IMAGE = 0x0002,
    LVIF_PARAM = 0x0004,
    LVIF_STATE = 0x0008,
    LVIF_INDENT = 0x0010,
};

struct ListViewItem {
    std::uint32_t mask = 0;
    int item = 0;    // the row
    int subItem = 0; // the column; state, indent and datum belong to column 0
    std::uint32_t state = 0;
    std::uint32_t stateMask = 0;
    std::string text; // GBK
    int image = -1;   // -1: none
    LParam param = 0;
    int indent = 0;   // in image widths
};

// Inserts a row at `item.item` (clamped to the rows there are; a sorted
// list places it by its text instead).  Its index, -1 on failure.
int ListView_InsertItem(Hwnd list, const ListViewItem& item);
// Changes the fields `item.mask` names of one cell.
bool ListView_SetItem(Hwnd list, const ListViewItem& item);
// Fills the fields `item.mask` names (state: the bits of stateMask).
bool ListView_GetItem(Hwnd list, ListViewItem& item);
// The cell's whole text; empty for a cell that does not exist.
std::string ListView_GetItemText(Hwnd list, int item, int subItem);
bool ListView_SetItemText(Hwnd list, int item, int subItem, std::string_view text);
bool ListView_DeleteAllItems(Hwnd list);
int ListView_GetItemCount(Hwnd list);

// The next row after `start` (-1: from the first) that has every state of
// `flags` (LVNI_ALL: any row); -1 when none.
enum : std::uint32_t { LVNI_ALL = 0x0000, LVNI_FOCUSED = 0x0001, LVNI_SELECTED = 0x0002 };
int ListView_GetNextItem(Hwnd list, int start, std::uint32_t flags);
// Sets the bits of `mask` to those of `state` on one row (-1: every row).
bool ListView_SetItemState(Hwnd list, int item, std::uint32_t state, std::uint32_t mask);
std::uint32_t ListView_GetItemState(Hwnd list, int item, std::uint32_t mask);
bool ListView_EnsureVisible(Hwnd list, int item);
// The first row shown (report and list views).
int ListView_GetTopIndex(Hwnd list);

// Columns.
enum : int {
    LVCFMT_LEFT = 0x0000,
    LVCFMT_RIGHT = 0x0001,
    LVCFMT_CENTER = 0x0002,
    LVCFMT_JUSTIFYMASK = 0x0003,
    LVCFMT_IMAGE = 0x0800,           // the header shows `image` of the header image list
    LVCFMT_BITMAP_ON_RIGHT = 0x1000, // ... right of the caption
};
enum : std::uint32_t { LVCF_FMT = 0x0001, LVCF_WIDTH = 0x0002, LVCF_TEXT = 0x0004, LVCF_IMAGE = 0x0010 };
struct ListViewColumn {
    std::uint32_t mask = 0;
    int fmt = LVCFMT_LEFT;
    int width = 0;
    std::string text; // GBK
    int image = -1;
};
// Inserts a column at `position` (clamped to the columns there are); its
// index, -1 on failure.
int ListView_InsertColumn(Hwnd list, int position, const ListViewColumn& column);
bool ListView_DeleteColumn(Hwnd list, int column);
bool ListView_GetColumn(Hwnd list, int column, ListViewColumn& out);
int ListView_GetColumnCount(Hwnd list);
int ListView_GetColumnWidth(Hwnd list, int column);
bool ListView_SetColumnWidth(Hwnd list, int column, int width);

// Image lists.  The control draws from them but never destroys them.
enum : int { LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2 };
ImageList ListView_SetImageList(Hwnd list, ImageList images, int which); // the previous list
ImageList ListView_GetImageList(Hwnd list, int which);
// The header's images, drawn over `background`.
ImageList ListView_SetHeaderImageList(Hwnd list, ImageList images, ColorRef background);

std::uint32_t ListView_SetExtendedStyle(Hwnd list, std::uint32_t mask, std::uint32_t style); // the previous styles
std::uint32_t ListView_GetExtendedStyle(Hwnd list);

// Colours (CLR_DEFAULT: the system's; text background CLR_NONE: none).
ColorRef ListView_SetTextColor(Hwnd list, ColorRef color);
ColorRef ListView_GetTextColor(Hwnd list);
ColorRef ListView_SetTextBkColor(Hwnd list, ColorRef color);
ColorRef ListView_GetTextBkColor(Hwnd list);
ColorRef ListView_SetBkColor(Hwnd list, ColorRef color);
ColorRef ListView_GetBkColor(Hwnd list);

// The cursor over the hot row while hot tracking (Null: the class cursor).
Cursor ListView_SetHotCursor(Hwnd list, Cursor cursor);

// Hit testing, client coordinates.
enum : std::uint32_t {
    LVHT_NOWHERE = 0x0001,
    LVHT_ONITEMICON = 0x0002,
    LVHT_ONITEMLABEL = 0x0004,
    LVHT_ONITEMSTATEICON = 0x0008,
    LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON,
};
struct ListHitTestInfo {
    int item = -1;
    int subItem = 0;
    std::uint32_t flags = LVHT_NOWHERE;
};
ListHitTestInfo ListView_HitTest(Hwnd list, Point client);
// A cell's rectangle in client coordinates (the row's column-0 part for
// subItem 0); empty when the row or column does not exist.
Rect ListView_GetSubItemRect(Hwnd list, int item, int subItem);

// Notifications.
enum : std::uint32_t {
    LVN_ITEMCHANGED = std::uint32_t(-101),
    LVN_BEGINLABELEDIT = std::uint32_t(-105),
    LVN_ENDLABELEDIT = std::uint32_t(-106),
    LVN_COLUMNCLICK = std::uint32_t(-108),
    LVN_ITEMACTIVATE = std::uint32_t(-114),
    LVN_HOTTRACK = std::uint32_t(-121),
    LVN_GETINFOTIP = std::uint32_t(-157),
};

struct NmListView {
    NotifyHeader hdr;
    int item = -1;
    int subItem = 0;
    std::uint32_t newState = 0;
    std::uint32_t oldState = 0;
    std::uint32_t changed = 0;
    Point ptAction;
    LParam param = 0;
};

struct NmLvDispInfo {
    NotifyHeader hdr;
    int item = -1;
    const char* text = nullptr; // GBK; LVN_ENDLABELEDIT: null when cancelled
};

struct NmLvGetInfoTip {
    NotifyHeader hdr;
    int item = -1;
    int subItem = 0;
    std::string tip; // GBK, filled in by the parent; empty: no tip
};

} // namespace platform
