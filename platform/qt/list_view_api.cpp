// The list-view functions: each finds the control behind the handle and
// works on it directly.

#include "platform/list_view.h"

#include "platform/qt/list_view_class.h"
#include "platform/qt/list_view_control.h"
#include "platform/window.h"

#include <algorithm>

namespace platform {
using namespace qt;
namespace {

constexpr int kStateImageShift = 12;

bool cellExists(const ListViewModel& model, int row, int column)
{
    return model.hasRow(row) && (column == 0 || model.hasColumn(column));
}

ListRow newRow(const ListViewItem& item, const ListViewControl& control)
{
    ListRow row;
    // Room for every column at once: a row is usually filled cell by cell
    // right after it is inserted.
    row.cells.reserve(size_t(control.model().columnCount()));
    row.cells.push_back(ListCell{.text = (item.mask & LVIF_TEXT) ? item.text : std::string(),
                                 .image = (item.mask & LVIF_IMAGE) ? item.image : -1});
    row.param = (item.mask & LVIF_PARAM) ? item.param : 0;
    row.indent = (item.mask & LVIF_INDENT) ? std::max(0, item.indent) : 0;
    bool stateImageGiven = (item.mask & LVIF_STATE) && (item.stateMask & LVIS_STATEIMAGEMASK);
    if (stateImageGiven)
        row.stateImage = int((item.state & LVIS_STATEIMAGEMASK) >> kStateImageShift);
    else if (control.settings().has(LVS_EX_CHECKBOXES))
        row.stateImage = 1; // an empty check box
    return row;
}

int insertPosition(const ListViewControl& control, const ListViewItem& item)
{
    const ListViewModel& model = control.model();
    std::uint32_t sorting = control.settings().style & (LVS_SORTASCENDING | LVS_SORTDESCENDING);
    if (!sorting)
        return std::clamp(item.item, 0, model.rows());
    std::string_view text = (item.mask & LVIF_TEXT) ? std::string_view(item.text) : std::string_view();
    return model.sortedPosition(text, sorting & LVS_SORTDESCENDING);
}

ListColumn newColumn(const ListViewColumn& column)
{
    return ListColumn{.caption = (column.mask & LVCF_TEXT) ? column.text : std::string(),
                      .width = (column.mask & LVCF_WIDTH) ? std::max(0, column.width) : 0,
                      .format = (column.mask & LVCF_FMT) ? column.fmt : LVCFMT_LEFT,
                      .image = (column.mask & LVCF_IMAGE) ? column.image : -1};
}

ColorRef setColor(Hwnd list, ColorRef ListViewSettings::*which, ColorRef color)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->setColor(which, color) : CLR_NONE;
}

ColorRef getColor(Hwnd list, ColorRef ListViewSettings::*which)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->settings().*which : CLR_NONE;
}

} // namespace

int ListView_InsertItem(Hwnd list, const ListViewItem& item)
{
    ListViewControl* c = listViewOf(list);
    if (!c || item.subItem != 0)
        return -1;
    int at = insertPosition(*c, item);
    c->model().insertRow(at, newRow(item, *c));
    std::uint32_t states = (item.mask & LVIF_STATE) ? item.stateMask & (LVIS_FOCUSED | LVIS_SELECTED) : 0;
    if (states)
        c->states().setRowState(at, item.state, states);
    return at;
}

bool ListView_SetItem(Hwnd list, const ListViewItem& item)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !cellExists(c->model(), item.item, item.subItem))
        return false;
    ListViewModel& model = c->model();
    if (item.mask & LVIF_TEXT)
        model.setCellText(item.item, item.subItem, item.text);
    if (item.mask & LVIF_IMAGE)
        model.setCellImage(item.item, item.subItem, item.image);
    if (item.mask & LVIF_PARAM)
        model.setParam(item.item, item.param);
    if (item.mask & LVIF_INDENT)
        model.setIndent(item.item, std::max(0, item.indent));
    // Last: the state changes are announced, and the parent may act on them.
    if (item.mask & LVIF_STATE)
        c->states().setRowState(item.item, item.state, item.stateMask);
    return true;
}

bool ListView_GetItem(Hwnd list, ListViewItem& item)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !cellExists(c->model(), item.item, item.subItem))
        return false;
    const ListViewModel& model = c->model();
    const ListRow& row = model.row(item.item);
    if (item.mask & LVIF_TEXT)
        item.text = std::string(model.cellText(item.item, item.subItem));
    if (item.mask & LVIF_IMAGE)
        item.image = model.cellImage(item.item, item.subItem);
    if (item.mask & LVIF_PARAM)
        item.param = row.param;
    if (item.mask & LVIF_INDENT)
        item.indent = row.indent;
    if (item.mask & LVIF_STATE)
        item.state = c->states().rowState(item.item) & item.stateMask;
    return true;
}

std::string ListView_GetItemText(Hwnd list, int item, int subItem)
{
    ListViewControl* c = listViewOf(list);
    return c ? std::string(c->model().cellText(item, subItem)) : std::string();
}

bool ListView_SetItemText(Hwnd list, int item, int subItem, std::string_view text)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !cellExists(c->model(), item, subItem))
        return false;
    c->model().setCellText(item, subItem, text);
    return true;
}

bool ListView_DeleteAllItems(Hwnd list)
{
    ListViewControl* c = listViewOf(list);
    if (!c)
        return false;
    c->model().removeAllRows();
    return true;
}

int ListView_GetItemCount(Hwnd list)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->model().rows() : 0;
}

int ListView_GetNextItem(Hwnd list, int start, std::uint32_t flags)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->states().nextRow(start, flags) : -1;
}

bool ListView_SetItemState(Hwnd list, int item, std::uint32_t state, std::uint32_t mask)
{
    ListViewControl* c = listViewOf(list);
    if (!c || (item != -1 && !c->model().hasRow(item)))
        return false;
    c->states().setRowState(item, state, mask);
    return true;
}

std::uint32_t ListView_GetItemState(Hwnd list, int item, std::uint32_t mask)
{
    ListViewControl* c = listViewOf(list);
    return c && c->model().hasRow(item) ? c->states().rowState(item) & mask : 0;
}

bool ListView_EnsureVisible(Hwnd list, int item)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !c->model().hasRow(item))
        return false;
    c->ensureVisible(item);
    return true;
}

int ListView_GetTopIndex(Hwnd list)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->topRow() : -1;
}

int ListView_InsertColumn(Hwnd list, int position, const ListViewColumn& column)
{
    ListViewControl* c = listViewOf(list);
    if (!c)
        return -1;
    int at = std::clamp(position, 0, c->model().columns());
    c->insertColumn(at, newColumn(column));
    return at;
}

bool ListView_DeleteColumn(Hwnd list, int column)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !c->model().hasColumn(column))
        return false;
    c->removeColumn(column);
    return true;
}

bool ListView_GetColumn(Hwnd list, int column, ListViewColumn& out)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !c->model().hasColumn(column))
        return false;
    const ListColumn& record = c->model().column(column);
    if (out.mask & LVCF_FMT)
        out.fmt = record.format;
    if (out.mask & LVCF_WIDTH)
        out.width = record.width;
    if (out.mask & LVCF_TEXT)
        out.text = record.caption;
    if (out.mask & LVCF_IMAGE)
        out.image = record.image;
    return true;
}

int ListView_GetColumnCount(Hwnd list)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->model().columns() : 0;
}

int ListView_GetColumnWidth(Hwnd list, int column)
{
    ListViewControl* c = listViewOf(list);
    return c && c->model().hasColumn(column) ? c->model().column(column).width : 0;
}

bool ListView_SetColumnWidth(Hwnd list, int column, int width)
{
    ListViewControl* c = listViewOf(list);
    if (!c || !c->model().hasColumn(column))
        return false;
    ListColumn changed = c->model().column(column);
    changed.width = std::max(0, width);
    c->changeColumn(column, std::move(changed));
    return true;
}

ImageList ListView_SetImageList(Hwnd list, ImageList images, int which)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->setImageList(which, images) : ImageList::Null;
}

ImageList ListView_GetImageList(Hwnd list, int which)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->imageList(which) : ImageList::Null;
}

ImageList ListView_SetHeaderImageList(Hwnd list, ImageList images, ColorRef background)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->setHeaderImages(images, background) : ImageList::Null;
}

std::uint32_t ListView_SetExtendedStyle(Hwnd list, std::uint32_t mask, std::uint32_t style)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->setExtendedStyle(mask, style) : 0;
}

std::uint32_t ListView_GetExtendedStyle(Hwnd list)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->settings().exStyle : 0;
}

ColorRef ListView_SetTextColor(Hwnd list, ColorRef color)
{
    return setColor(list, &ListViewSettings::textColor, color);
}

ColorRef ListView_GetTextColor(Hwnd list)
{
    return getColor(list, &ListViewSettings::textColor);
}

ColorRef ListView_SetTextBkColor(Hwnd list, ColorRef color)
{
    return setColor(list, &ListViewSettings::textBkColor, color);
}

ColorRef ListView_GetTextBkColor(Hwnd list)
{
    return getColor(list, &ListViewSettings::textBkColor);
}

ColorRef ListView_SetBkColor(Hwnd list, ColorRef color)
{
    return setColor(list, &ListViewSettings::bkColor, color);
}

ColorRef ListView_GetBkColor(Hwnd list)
{
    return getColor(list, &ListViewSettings::bkColor);
}

Cursor ListView_SetHotCursor(Hwnd list, Cursor cursor)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->setHotCursor(cursor) : Cursor::Null;
}

ListHitTestInfo ListView_HitTest(Hwnd list, Point client)
{
    ListViewControl* c = listViewOf(list);
    return c ? c->hitTest(QPoint(client.x, client.y)) : ListHitTestInfo{};
}

Rect ListView_GetSubItemRect(Hwnd list, int item, int subItem)
{
    ListViewControl* c = listViewOf(list);
    if (!c)
        return {};
    QRect r = c->subItemRect(item, subItem);
    return r.isNull() ? Rect{} : Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

} // namespace platform
