#include "ui/ext/list_view_unit.h"

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

#include <algorithm>

namespace ui {
namespace {

using namespace platform;

// Posted to the control when the user toggled a check box: by the time it
// arrives the control has changed the state, so event 8 sees the new one.
constexpr std::uint32_t kCheckToggledMessage = WM_USER + 1;

// By the stored view 0-3.
constexpr std::uint32_t kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
// By the stored alignment 0-2 (left, centre, right).
constexpr int kColumnFormats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT};

constexpr std::uint32_t kAllListStyles = LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING |
                                         LVS_SORTDESCENDING | LVS_NOLABELWRAP | LVS_AUTOARRANGE | LVS_EDITLABELS |
                                         LVS_ALIGNLEFT | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;

int formatOfAlignment(int alignment)
{
    return kColumnFormats[alignment >= 0 && alignment <= 2 ? alignment : 0];
}

int alignmentOfFormat(int fmt)
{
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_CENTER: return 1;
    case LVCFMT_RIGHT: return 2;
    default: return 0;
    }
}

bool gainedFocus(const NmListView& nm)
{
    return (nm.changed & LVIF_STATE) && (nm.newState & LVIS_FOCUSED) && !(nm.oldState & LVIS_FOCUSED);
}

} // namespace

ListViewUnit::~ListViewUnit() = default;

// The creation steps in their order: the control with the styles of its
// view; extended styles; font and image lists; colours and border; the hot
// cursor; the stored columns (report view) and rows; then the current row,
// which needs the rows in place.
bool ListViewUnit::createControl(const UnitCreateParams& p)
{
    if (!CreateUnitWindow(this, p, WC_LISTVIEW, p.style | WS_CLIPCHILDREN | listStyles()))
        return false;
    Hwnd h = handle();
    ListView_SetExtendedStyle(h, ~0u, extendedStyles());
    ApplyFontBlock(h, m_settings.font, m_font);
    attachImages();
    attachStateImages();
    if (reportView())
        attachHeaderImages();
    applyColors();
    ApplyBorderStyle(h, m_settings.borderStyle);
    if (m_settings.hotTracking)
        applyHotCursor();
    if (reportView())
        insertStoredColumns();
    loadInitialRows();
    selectCurrentRow();
    return true;
}

std::uint32_t ListViewUnit::listStyles() const
{
    const ListViewData& s = m_settings;
    std::uint32_t style = kViewStyles[std::clamp(s.view, 0, 3)];
    if (s.view == 0 || s.view == 1) {
        style |= s.iconAlignment == 1 ? LVS_ALIGNLEFT : 0u;
        style |= s.autoArrange ? LVS_AUTOARRANGE : 0u;
        style |= s.wrapLabels ? 0u : LVS_NOLABELWRAP;
    }
    if (reportView()) {
        if (s.hideColumnHeader)
            style |= LVS_NOCOLUMNHEADER;
        else if (!s.headerButtons)
            style |= LVS_NOSORTHEADER;
    }
    style |= s.sorting == 1 ? LVS_SORTASCENDING : s.sorting == 2 ? LVS_SORTDESCENDING : 0u;
    style |= s.labelEditing ? LVS_EDITLABELS : 0u;
    style |= s.singleSelection ? LVS_SINGLESEL : 0u;
    style |= s.alwaysShowSelection ? LVS_SHOWSELALWAYS : 0u;
    return style;
}

std::uint32_t ListViewUnit::extendedStyles() const
{
    const ListViewData& s = m_settings;
    std::uint32_t ex = LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
    if (reportView()) {
        ex |= s.fullRowSelect ? LVS_EX_FULLROWSELECT : 0u;
        ex |= s.gridLines ? LVS_EX_GRIDLINES : 0u;
        ex |= s.headerDragDrop && !s.hideColumnHeader ? LVS_EX_HEADERDRAGDROP : 0u;
    }
    if (s.hotTracking) {
        ex |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
        ex |= s.underlineHot ? LVS_EX_UNDERLINEHOT : 0u;
        ex |= s.underlineCold ? LVS_EX_UNDERLINECOLD : 0u;
    }
    ex |= s.checkBoxes ? LVS_EX_CHECKBOXES : 0u;
    ex |= s.flatScrollBars ? LVS_EX_FLATSB : 0u;
    return ex;
}

void ListViewUnit::applyColors()
{
    Hwnd h = handle();
    ListView_SetTextColor(h, ColorOfSetting(m_settings.textColor));
    ListView_SetTextBkColor(h, ColorOfSetting(m_settings.textBackgroundColor));
    ListView_SetBkColor(h, ColorOfSetting(m_settings.backgroundColor));
    InvalidateRect(h, nullptr, true);
}

// The style bits a write changes at once: label wrapping in the icon views,
// the hidden header in the report view.
void ListViewUnit::applyStyles()
{
    std::uint32_t style = GetWindowStyle(handle());
    std::uint32_t wanted = listStyles();
    std::uint32_t atOnce = 0;
    if (m_settings.view == 0 || m_settings.view == 1)
        atOnce |= LVS_NOLABELWRAP;
    if (reportView())
        atOnce |= LVS_NOCOLUMNHEADER;
    std::uint32_t changed = (style & ~atOnce) | (wanted & atOnce);
    if (changed != style)
        SetWindowStyle(handle(), changed & ~(WS_VISIBLE | WS_DISABLED));
}

// The large-icon list in the large-icon view, the small-icon list in the
// others; an invalid block detaches the list.
void ListViewUnit::attachImages()
{
    ImageList list = ImageListCreateFromBlock(m_settings.imageList);
    ListView_SetImageList(handle(), list, m_settings.view == 0 ? LVSIL_NORMAL : LVSIL_SMALL);
    m_images.reset(list);
}

void ListViewUnit::attachStateImages()
{
    ImageList list = ImageListCreateFromBlock(m_settings.stateImageList);
    ListView_SetImageList(handle(), list, LVSIL_STATE);
    m_stateImages.reset(list);
}

void ListViewUnit::attachHeaderImages()
{
    ImageList list = ImageListCreateFromBlock(m_settings.headerImageList);
    ListView_SetHeaderImageList(handle(), list, GetSysColor(COLOR_BTNFACE));
    m_headerImages.reset(list);
}

void ListViewUnit::applyHotCursor()
{
    Cursor cursor = m_settings.handCursor ? LoadStandardCursor(StandardCursor::Hand) : Cursor::Null;
    if (cursor == Cursor::Null)
        cursor = LoadStandardCursor(StandardCursor::Arrow);
    ListView_SetHotCursor(handle(), cursor);
}

void ListViewUnit::insertStoredColumns()
{
    std::optional<std::vector<ListColumn>> columns = ReadColumns(m_settings.columns);
    if (!columns)
        return;
    for (const ListColumn& c : *columns)
        insertColumn({.caption = c.caption,
                      .width = c.width,
                      .alignment = c.alignment,
                      .headerImage = c.headerImage,
                      .imageOnRight = c.imageOnRight});
}

// Row-start records make rows in order; every other record fills the next
// column of the row made last.  Images count only when a list is attached
// and holds them; a record before any row addresses no row and changes
// nothing.
void ListViewUnit::loadInitialRows()
{
    Hwnd h = handle();
    ListView_DeleteAllItems(h);
    m_storedTips.clear();
    std::optional<std::vector<ListCellRecord>> cells = ReadInitialRows(m_settings.initialRows);
    if (!cells)
        return;
    ImageList images = ListView_GetImageList(h, m_settings.view == 0 ? LVSIL_NORMAL : LVSIL_SMALL);
    ImageList states = ListView_GetImageList(h, LVSIL_STATE);
    auto imageOf = [&](int image) { return image >= 0 && image < ImageListCount(images) ? image : -1; };
    int row = -1;
    int column = 0;
    for (const ListCellRecord& c : *cells) {
        if (!c.startsRow) {
            ListView_SetItem(h, {.mask = LVIF_TEXT | LVIF_IMAGE, .item = row, .subItem = ++column,
                                 .text = c.text, .image = imageOf(c.image)});
            continue;
        }
        int slot = c.stateImage >= 0 && c.stateImage + 1 < ImageListCount(states) ? c.stateImage + 1 : 0;
        row = ListView_InsertItem(h, {.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT,
                                      .item = int(m_storedTips.size()),
                                      .state = std::uint32_t(slot) << 12,
                                      .stateMask = slot ? LVIS_STATEIMAGEMASK : 0u,
                                      .text = c.text,
                                      .image = imageOf(c.image),
                                      .param = c.itemData,
                                      .indent = reportView() ? std::max(0, c.indent) : 0});
        column = 0;
        m_storedTips.push_back(c.tip);
    }
}

// Only a single-selection list takes a current row: it gets the selected
// and focused states, or a negative row takes them from the first
// selected row.
void ListViewUnit::selectCurrentRow()
{
    if (!m_settings.singleSelection)
        return;
    constexpr std::uint32_t both = LVIS_SELECTED | LVIS_FOCUSED;
    if (m_settings.currentRow >= 0) {
        ListView_SetItemState(handle(), m_settings.currentRow, both, both);
        return;
    }
    if (int selected = ListView_GetNextItem(handle(), -1, LVNI_SELECTED); selected >= 0)
        ListView_SetItemState(handle(), selected, 0, both);
}

bool ListViewUnit::apply(ListViewData::Effect effect)
{
    using E = ListViewData::Effect;
    using Routine = bool (*)(ListViewUnit&);
    static constexpr std::pair<E, Routine> kEffects[] = {
        {E::Border, [](ListViewUnit& u) { return ApplyBorderStyle(u.handle(), u.m_settings.borderStyle), false; }},
        {E::Colors, [](ListViewUnit& u) { return u.applyColors(), false; }},
        {E::Font, [](ListViewUnit& u) { return ApplyFontBlock(u.handle(), u.m_settings.font, u.m_font), false; }},
        {E::Styles, [](ListViewUnit& u) { return u.applyStyles(), false; }},
        {E::HeaderImages,
         [](ListViewUnit& u) {
             if (u.reportView())
                 u.attachHeaderImages();
             return false;
         }},
        {E::Images, [](ListViewUnit& u) { return u.attachImages(), false; }},
        {E::StateImages, [](ListViewUnit& u) { return u.attachStateImages(), false; }},
        {E::SelectRow, [](ListViewUnit& u) { return u.selectCurrentRow(), false; }},
        {E::Rows, [](ListViewUnit& u) { return u.loadInitialRows(), false; }},
        {E::Recreate, [](ListViewUnit&) { return true; }},
        {E::RecreateIfHot, [](ListViewUnit& u) { return u.m_settings.hotTracking; }},
        {E::ColumnsWritten, [](ListViewUnit& u) { return u.m_columnsWritten = true; }},
    };
    for (auto [e, routine] : kEffects)
        if (e == effect)
            return routine(*this);
    return false;
}

PropertyValue ListViewUnit::liveValue(ListViewData::Live which) const
{
    using L = ListViewData::Live;
    using Reader = PropertyValue (*)(const ListViewUnit&);
    static constexpr std::pair<L, Reader> kReaders[] = {
        {L::TextColor, [](const ListViewUnit& u) { return PropertyValue::ofInteger(ListView_GetTextColor(u.handle())); }},
        {L::TextBackgroundColor,
         [](const ListViewUnit& u) { return PropertyValue::ofInteger(ListView_GetTextBkColor(u.handle())); }},
        {L::BackgroundColor, [](const ListViewUnit& u) { return PropertyValue::ofInteger(ListView_GetBkColor(u.handle())); }},
        {L::CurrentRow,
         [](const ListViewUnit& u) { return PropertyValue::ofInteger(ListView_GetNextItem(u.handle(), -1, LVNI_SELECTED)); }},
        {L::EditedLabel, [](const ListViewUnit& u) { return PropertyValue::ofText(u.m_editText); }},
    };
    for (auto [w, reader] : kReaders)
        if (w == which)
            return reader(*this);
    return {};
}

// When the window is made again it shows what it shows now: the live rows
// (with the stored rows' tips) and the live columns — unless the columns
// were written, which is what the re-creation is for.
void ListViewUnit::completeStoredData(ListViewData& data) const
{
    if (!m_columnsWritten)
        data.columns = liveColumns();
    data.initialRows = liveRows();
}

std::vector<std::uint8_t> ListViewUnit::liveColumns() const
{
    std::vector<ListColumn> columns;
    for (int i = 0, n = columnCount(); i < n; ++i) {
        ListViewColumn c{.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_IMAGE};
        if (!ListView_GetColumn(handle(), i, c))
            continue;
        columns.push_back({.imageOnRight = (c.fmt & LVCFMT_BITMAP_ON_RIGHT) != 0,
                           .headerImage = (c.fmt & LVCFMT_IMAGE) ? c.image : -1,
                           .alignment = alignmentOfFormat(c.fmt),
                           .width = c.width,
                           .caption = c.text});
    }
    return WriteColumns(columns);
}

std::vector<std::uint8_t> ListViewUnit::liveRows() const
{
    Hwnd h = handle();
    std::vector<ListCellRecord> cells;
    int columns = std::max(1, columnCount());
    for (int row = 0, n = ListView_GetItemCount(h); row < n; ++row) {
        ListViewItem item{.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT,
                          .item = row,
                          .stateMask = LVIS_STATEIMAGEMASK};
        ListView_GetItem(h, item);
        cells.push_back({.startsRow = true,
                         .image = item.image,
                         .stateImage = int((item.state & LVIS_STATEIMAGEMASK) >> 12) - 1,
                         .indent = item.indent,
                         .itemData = std::int32_t(item.param),
                         .text = item.text,
                         .tip = std::size_t(row) < m_storedTips.size() ? m_storedTips[std::size_t(row)] : ""});
        for (int column = 1; column < columns; ++column) {
            ListViewItem cell{.mask = LVIF_TEXT | LVIF_IMAGE, .item = row, .subItem = column};
            ListView_GetItem(h, cell);
            cells.push_back({.startsRow = false, .image = cell.image, .text = cell.text});
        }
    }
    return WriteInitialRows(cells);
}

std::string ListViewUnit::cellText(int row, int column) const
{
    return ListView_GetItemText(handle(), row, column);
}

void ListViewUnit::setCellText(int row, int column, const std::string& text)
{
    ListView_SetItemText(handle(), row, column, text);
}

// An image taken away leaves nothing of it drawn: the whole control is
// erased and painted again.
void ListViewUnit::setCellImage(int row, int column, int image)
{
    ListView_SetItem(handle(), {.mask = LVIF_IMAGE, .item = row, .subItem = column, .image = image});
    if (image == -1)
        InvalidateRect(handle(), nullptr, true);
}

int ListViewUnit::insertRow(const ListViewNewRow& r)
{
    int position = r.position < 0 ? ListView_GetItemCount(handle()) : r.position;
    return ListView_InsertItem(handle(), {.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT,
                                          .item = position,
                                          .state = std::uint32_t(r.stateSlot) << 12,
                                          .stateMask = r.stateSlot ? LVIS_STATEIMAGEMASK : 0u,
                                          .text = r.text,
                                          .image = r.image,
                                          .param = r.data,
                                          .indent = r.indent});
}

void ListViewUnit::deleteAllRows()
{
    ListView_DeleteAllItems(handle());
}

int ListViewUnit::columnCount() const
{
    return ListView_GetColumnCount(handle());
}

void ListViewUnit::deleteColumn(int column)
{
    ListView_DeleteColumn(handle(), column);
}

int ListViewUnit::insertColumn(const ListViewNewColumn& c)
{
    ListViewColumn column{.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT,
                          .fmt = formatOfAlignment(c.alignment),
                          .width = c.width,
                          .text = c.caption};
    if (c.headerImage >= 0) {
        column.mask |= LVCF_IMAGE;
        column.fmt |= LVCFMT_IMAGE;
        column.image = c.headerImage;
    }
    if (c.imageOnRight)
        column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
    int position = c.position < 0 ? columnCount() : c.position;
    return ListView_InsertColumn(handle(), position, column);
}

void ListViewUnit::postCheckToggle(Point at)
{
    ListHitTestInfo hit = ListView_HitTest(handle(), at);
    if (hit.item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON))
        PostMessage(handle(), kCheckToggledMessage, WParam(hit.item), 0);
}

void ListViewUnit::checkToggled(int row)
{
    if (row < 0 || row >= ListView_GetItemCount(handle()))
        return;
    std::uint32_t state = ListView_GetItemState(handle(), row, LVIS_STATEIMAGEMASK);
    raise(kListCheckToggled, {row, std::int32_t(state >> 12) - 1});
}

LResult ListViewUnit::onNotify(const NotifyHeader& header)
{
    const auto& nm = reinterpret_cast<const NmListView&>(header);
    switch (header.code) {
    case LVN_ITEMCHANGED:
        if (gainedFocus(nm))
            raise(kListFocusedRowChanged);
        return 0;
    case LVN_ITEMACTIVATE:
        raise(kListRowActivated);
        return 0;
    case LVN_COLUMNCLICK:
        raise(kListColumnClicked, {nm.subItem});
        return 0;
    case LVN_HOTTRACK:
        raise(kListHotRowChanged, {nm.item});
        return 0;
    case NM_CLICK:
        raise(kListClicked);
        return 0;
    case NM_RCLICK:
        raise(kListRightClicked);
        return 0;
    case LVN_BEGINLABELEDIT: {
        const auto& edit = reinterpret_cast<const NmLvDispInfo&>(header);
        if (edit.item < 0)
            return 0;
        return runtime::Vetoed(raise(kListLabelEditBegins, {edit.item})) ? 1 : 0;
    }
    case LVN_ENDLABELEDIT: {
        const auto& edit = reinterpret_cast<const NmLvDispInfo&>(header);
        if (edit.item < 0)
            return 0;
        m_editText = edit.text ? std::string(edit.text) : cellText(edit.item, 0);
        bool rejected = runtime::Vetoed(raise(kListLabelEditEnded, {edit.item}));
        m_editText.clear();
        return edit.text && !rejected ? 1 : 0;
    }
    case LVN_GETINFOTIP: {
        auto& tip = const_cast<NmLvGetInfoTip&>(reinterpret_cast<const NmLvGetInfoTip&>(header));
        if (tip.item >= 0 && std::size_t(tip.item) < m_storedTips.size())
            tip.tip = m_storedTips[std::size_t(tip.item)];
        return 0;
    }
    default:
        return 0;
    }
}

LResult ListViewUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kReflectedNotify:
        return onNotify(*reinterpret_cast<const NotifyHeader*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_settings.checkBoxes)
            postCheckToggle(PointFromLParam(lParam));
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && m_settings.checkBoxes)
            if (int focused = ListView_GetNextItem(handle(), -1, LVNI_FOCUSED); focused >= 0)
                PostMessage(handle(), kCheckToggledMessage, WParam(focused), 0);
        break;
    case kCheckToggledMessage:
        checkToggled(int(wParam));
        return 0;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createListView(const UnitCreateParams& p)
{
    return MakeDescribedUnit<ListViewUnit>(p);
}

constexpr KindRoutines kListViewRoutines = DescribedKindRoutines<ListViewUnit>(createListView);
const std::vector<PropertyDescriptor> kListViewProperties = PropertyTypeTable(ListViewDescription());

} // namespace

const UnitKindDescriptor kListViewKind{
    .chineseName = "超级列表框",
    .englishName = "ListView",
    .stateFlags = 0x00000040,
    .propertyCount = std::int32_t(kListViewProperties.size()),
    .properties = kListViewProperties.data(),
    .kindEntry = KindEntryFor<kListViewRoutines>,
};

} // namespace ui
