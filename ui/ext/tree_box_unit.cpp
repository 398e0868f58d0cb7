#include "ui/ext/tree_box_unit.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/ext/state_images.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

#include <algorithm>

namespace ui {
namespace {

using namespace platform;

// Posted to the control when the user toggled a check box: by the time it
// arrives the control has changed the state, so event 7 sees the new one.
constexpr std::uint32_t kCheckToggledMessage = WM_USER + 1;
// The one-shot timer after which loaded items get their state images.
constexpr std::uintptr_t kStateImageTimer = 1;
constexpr unsigned kStateImageDelayMs = 30;

struct StyleBit {
    bool TreeBoxData::*setting;
    std::uint32_t style;
};
constexpr StyleBit kStyleBits[] = {
    {&TreeBoxData::expandButtons, TVS_HASBUTTONS},
    {&TreeBoxData::lines, TVS_HASLINES},
    {&TreeBoxData::linesAtRoot, TVS_LINESATROOT},
    {&TreeBoxData::labelEditing, TVS_EDITLABELS},
    {&TreeBoxData::alwaysShowSelection, TVS_SHOWSELALWAYS},
    {&TreeBoxData::checkBoxes, TVS_CHECKBOXES},
};
constexpr std::uint32_t kAllTreeStyles =
    TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_CHECKBOXES;

std::int32_t selectionCause(std::uint32_t action)
{
    switch (action) {
    case TVC_BYKEYBOARD: return 0;
    case TVC_BYMOUSE: return 1;
    default: return 2;
    }
}

} // namespace

TreeBoxUnit::~TreeBoxUnit() = default;

// The creation steps in their order: the control with its style bits; its
// font, images, colours, border and state images; the stored items; the
// timer that gives them their state images once the control has settled;
// then what needs the items in place (expansion, row height, selection).
bool TreeBoxUnit::createControl(const UnitCreateParams& p)
{
    if (!CreateUnitWindow(this, p, WC_TREEVIEW, p.style | treeStyles()))
        return false;
    Hwnd h = handle();
    ApplyFontBlock(h, m_settings.font, m_font);
    attachImageList();
    applyColors();
    ApplyBorderStyle(h, m_settings.borderStyle);
    buildStateImages();

    std::vector<TreeItem> expanded = loadInitialItems();
    SetTimer(h, kStateImageTimer, kStateImageDelayMs);
    for (TreeItem item : expanded)
        TreeView_Expand(h, item, TVE_EXPAND);
    TreeView_SetItemHeight(h, m_settings.itemHeight);
    selectCurrentItem();
    return true;
}

// Records are in pre-order with their depth (1 the top level).  One as deep
// as the current level goes under the current parent; a deeper one opens a
// level under the item inserted last (whatever its depth says, one level
// only); a shallower one closes levels until its own, and one shallower
// than the top level ends the loading.  The items flagged expanded come
// back, to be expanded once all are in.
std::vector<TreeItem> TreeBoxUnit::loadInitialItems()
{
    std::vector<TreeItem> expanded;
    std::optional<std::vector<TreeItemRecord>> records = ReadInitialItems(m_settings.initialItems);
    if (!records)
        return expanded;
    std::vector<TreeItem> parents{TreeItem::Null};
    TreeItem last = TreeItem::Null;
    for (const TreeItemRecord& r : *records) {
        int level = int(parents.size());
        if (r.depth > level) {
            parents.push_back(last);
        } else {
            while (r.depth < int(parents.size()) && parents.size() > 1)
                parents.pop_back();
            if (r.depth < 1)
                break;
        }
        std::uint32_t state = IndexToStateImageMask(r.stateSlot) | (r.bold ? TVIS_BOLD : 0u) |
                              (r.expanded ? TVIS_EXPANDED : 0u);
        TreeViewItem fields{.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                            .state = state,
                            .stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD | TVIS_EXPANDED,
                            .text = r.text,
                            .image = r.image,
                            .selectedImage = r.selectedImage,
                            .param = r.data};
        last = TreeView_InsertItem(handle(), parents.back(), fields);
        if (last == TreeItem::Null)
            continue;
        m_pendingStates.push_back({last, r.stateSlot});
        if (r.expanded)
            expanded.push_back(last);
    }
    return expanded;
}

void TreeBoxUnit::applyPendingStateImages()
{
    KillTimer(handle(), kStateImageTimer);
    for (const PendingState& p : std::exchange(m_pendingStates, {})) {
        std::uint32_t slot = p.slot == 0 && m_settings.checkBoxes ? 1 : p.slot;
        TreeViewItem fields{.mask = TVIF_STATE, .item = p.item, .state = IndexToStateImageMask(slot),
                            .stateMask = TVIS_STATEIMAGEMASK};
        TreeView_SetItem(handle(), fields);
    }
}

// Slot 0 of the state list stands for no state image and holds a copy of
// the first image; the unit's state image k is slot k + 1.
void TreeBoxUnit::buildStateImages()
{
    TreeView_SetImageList(handle(), ImageList::Null, TVSIL_STATE);
    m_stateImages.reset();
    if (!m_settings.checkBoxes)
        return;
    OwnedImageList source(ImageListCreateFromBlock(m_settings.stateImageList));
    if (source.get() == ImageList::Null)
        source.reset(CreateDefaultStateImages());
    int n = ImageListCount(source.get());
    if (n <= 0)
        return;
    if (m_settings.stateImageCount <= 0 || m_settings.stateImageCount > n)
        m_settings.stateImageCount = n;
    Size size = ImageListImageSize(source.get());
    m_stateImages.reset(ImageListCreate(size.cx, size.cy));
    ImageListAdd(m_stateImages.get(), ImageListGetImage(source.get(), 0));
    for (int i = 0; i < m_settings.stateImageCount; ++i)
        ImageListAdd(m_stateImages.get(), ImageListGetImage(source.get(), i));
    TreeView_SetImageList(handle(), m_stateImages.get(), TVSIL_STATE);
}

void TreeBoxUnit::applyColors()
{
    TreeView_SetTextColor(handle(), ColorOfSetting(m_settings.textColor));
    TreeView_SetBkColor(handle(), ColorOfSetting(m_settings.backgroundColor));
}

std::uint32_t TreeBoxUnit::treeStyles() const
{
    std::uint32_t style = 0;
    for (const StyleBit& bit : kStyleBits)
        if (m_settings.*bit.setting)
            style |= bit.style;
    return style;
}

void TreeBoxUnit::applyStyles()
{
    std::uint32_t keep = GetWindowStyle(handle()) & ~(kAllTreeStyles | WS_VISIBLE | WS_DISABLED);
    SetWindowStyle(handle(), keep | treeStyles());
}

void TreeBoxUnit::selectCurrentItem()
{
    TreeView_SelectItem(handle(), itemAt(m_settings.currentItem));
}

bool TreeBoxUnit::apply(TreeBoxData::Effect effect)
{
    using E = TreeBoxData::Effect;
    using Routine = bool (*)(TreeBoxUnit&);
    static constexpr std::pair<E, Routine> kEffects[] = {
        {E::Border, [](TreeBoxUnit& u) { return ApplyBorderStyle(u.handle(), u.m_settings.borderStyle), false; }},
        {E::Colors, [](TreeBoxUnit& u) { return u.applyColors(), false; }},
        {E::Styles, [](TreeBoxUnit& u) { return u.applyStyles(), false; }},
        {E::Select, [](TreeBoxUnit& u) { return u.selectCurrentItem(), false; }},
        {E::ItemHeight, [](TreeBoxUnit& u) { return TreeView_SetItemHeight(u.handle(), u.m_settings.itemHeight), false; }},
        {E::Font, [](TreeBoxUnit& u) { return ApplyFontBlock(u.handle(), u.m_settings.font, u.m_font), false; }},
        {E::ImageList, [](TreeBoxUnit& u) { return u.attachImageList(), false; }},
        {E::ItemsWritten, [](TreeBoxUnit& u) { return u.m_itemsWritten = true; }},
        {E::CheckBoxes,
         [](TreeBoxUnit& u) {
             u.applyStyles();
             u.buildStateImages();
             // The control keeps drawing check boxes until it is made again.
             return !u.m_settings.checkBoxes;
         }},
        {E::StateImages, [](TreeBoxUnit& u) { return u.buildStateImages(), false; }},
    };
    for (auto [e, routine] : kEffects)
        if (e == effect)
            return routine(*this);
    return false;
}

// An invalid block detaches the list.
void TreeBoxUnit::attachImageList()
{
    ImageList list = ImageListCreateFromBlock(m_settings.imageList);
    TreeView_SetImageList(handle(), list, TVSIL_NORMAL);
    m_images.reset(list);
}

PropertyValue TreeBoxUnit::liveValue(TreeBoxData::Live which) const
{
    using L = TreeBoxData::Live;
    using Reader = PropertyValue (*)(const TreeBoxUnit&);
    static constexpr std::pair<L, Reader> kReaders[] = {
        {L::TextColor, [](const TreeBoxUnit& u) { return PropertyValue::ofInteger(TreeView_GetTextColor(u.handle())); }},
        {L::BackgroundColor, [](const TreeBoxUnit& u) { return PropertyValue::ofInteger(TreeView_GetBkColor(u.handle())); }},
        {L::CurrentItem,
         [](const TreeBoxUnit& u) { return PropertyValue::ofInteger(u.indexOf(TreeView_GetSelection(u.handle()))); }},
        {L::ItemHeight, [](const TreeBoxUnit& u) { return PropertyValue::ofInteger(TreeView_GetItemHeight(u.handle())); }},
        {L::Items, [](const TreeBoxUnit& u) { return PropertyValue::ofBytes(u.serializeItems()); }},
        {L::EditedLabel, [](const TreeBoxUnit& u) { return PropertyValue::ofText(u.m_editText); }},
    };
    for (auto [w, reader] : kReaders)
        if (w == which)
            return reader(*this);
    return {};
}

// A written items block waits for the re-creation it asked for; without
// one the live tree is what the unit carries over.
void TreeBoxUnit::completeStoredData(TreeBoxData& data) const
{
    if (m_itemsWritten)
        data.initialItems = m_settings.initialItems;
}

std::vector<std::uint8_t> TreeBoxUnit::serializeItems() const
{
    Hwnd h = handle();
    std::vector<TreeItemRecord> records;
    auto visit = [&](auto& self, TreeItem item, int depth) -> void {
        for (; item != TreeItem::Null; item = TreeView_GetNextSibling(h, item)) {
            TreeViewItem f{.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                           .item = item,
                           .stateMask = TVIS_BOLD | TVIS_EXPANDED | TVIS_STATEIMAGEMASK};
            TreeView_GetItem(h, f);
            records.push_back({.text = f.text,
                               .image = f.image,
                               .selectedImage = f.selectedImage,
                               .data = std::int32_t(f.param),
                               .bold = (f.state & TVIS_BOLD) != 0,
                               .expanded = (f.state & TVIS_EXPANDED) != 0,
                               .stateSlot = StateImageSlotOf(f.state),
                               .depth = depth});
            self(self, TreeView_GetChild(h, item), depth + 1);
        }
    };
    visit(visit, TreeView_GetRoot(h), 1);
    return WriteInitialItems(records);
}

TreeItem TreeBoxUnit::itemAt(int index) const
{
    return index < 0 ? TreeItem::Null : TreeView_GetItemAtPreorderIndex(handle(), index);
}

int TreeBoxUnit::indexOf(TreeItem item) const
{
    return item == TreeItem::Null ? -1 : TreeView_GetPreorderIndex(handle(), item);
}

int TreeBoxUnit::itemCount() const
{
    return TreeView_GetCount(handle());
}

std::string TreeBoxUnit::itemText(int index) const
{
    TreeItem item = itemAt(index);
    return item == TreeItem::Null ? std::string() : TreeView_GetItemText(handle(), item);
}

std::int32_t TreeBoxUnit::itemData(int index) const
{
    TreeViewItem f{.mask = TVIF_PARAM, .item = itemAt(index)};
    return f.item != TreeItem::Null && TreeView_GetItem(handle(), f) ? std::int32_t(f.param) : 0;
}

int TreeBoxUnit::parentOf(int index) const
{
    TreeItem item = itemAt(index);
    return item == TreeItem::Null ? -1 : indexOf(TreeView_GetParent(handle(), item));
}

bool TreeBoxUnit::hasChildren(int index) const
{
    TreeItem item = itemAt(index);
    return item != TreeItem::Null && TreeView_GetChild(handle(), item) != TreeItem::Null;
}

void TreeBoxUnit::expand(int index)
{
    if (TreeItem item = itemAt(index); item != TreeItem::Null)
        TreeView_Expand(handle(), item, TVE_EXPAND);
}

int TreeBoxUnit::addItem(const TreeBoxNewItem& n)
{
    TreeViewItem fields{.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM,
                        .text = n.text,
                        .image = n.image,
                        .selectedImage = n.selectedImage,
                        .param = n.data};
    // The state and its mask go only with a state image or bold.
    if (n.bold || n.stateSlot != 0) {
        fields.mask |= TVIF_STATE;
        fields.state = IndexToStateImageMask(std::uint32_t(n.stateSlot)) | (n.bold ? TVIS_BOLD : 0u);
        fields.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD;
    }
    TreeItem item = TreeView_InsertItem(handle(), itemAt(n.parent), fields);
    return indexOf(item);
}

void TreeBoxUnit::clear()
{
    TreeView_DeleteAllItems(handle());
    m_pendingStates.clear();
}

bool TreeBoxUnit::raiseItemEvent(std::int32_t event, TreeItem item)
{
    return runtime::Vetoed(raise(event, {indexOf(item)}));
}

void TreeBoxUnit::onRightButtonDown(Point at)
{
    TreeHitTestInfo hit = TreeView_HitTest(handle(), at);
    if (hit.item == TreeItem::Null || !(hit.flags & TVHT_ONITEM))
        return;
    TreeView_SelectItem(handle(), hit.item);
    if (IsWindow(handle()))
        raise(kTreeItemRightPressed);
}

void TreeBoxUnit::checkToggled(TreeItem item)
{
    TreeViewItem f{.mask = TVIF_STATE, .item = item, .stateMask = TVIS_STATEIMAGEMASK};
    if (!TreeView_GetItem(handle(), f))
        return;
    TreeView_SelectItem(handle(), item);
    if (!IsWindow(handle()))
        return;
    std::int32_t state = std::int32_t(StateImageSlotOf(f.state)) - 1;
    raise(kTreeCheckToggled, {indexOf(item), state});
}

LResult TreeBoxUnit::onNotify(const NotifyHeader& header)
{
    switch (header.code) {
    case TVN_SELCHANGED: {
        const auto& nm = reinterpret_cast<const NmTreeView&>(header);
        raise(kTreeSelectionChanged, {selectionCause(nm.action)});
        return 0;
    }
    case NM_DBLCLK:
        raise(kTreeDoubleClicked);
        return 0;
    case TVN_BEGINLABELEDIT: {
        const auto& nm = reinterpret_cast<const NmTvDispInfo&>(header);
        return raiseItemEvent(kTreeLabelEditBegins, nm.item) ? 1 : 0;
    }
    case TVN_ENDLABELEDIT: {
        const auto& nm = reinterpret_cast<const NmTvDispInfo&>(header);
        m_editText = nm.text ? std::string(nm.text) : TreeView_GetItemText(handle(), nm.item);
        bool rejected = raiseItemEvent(kTreeLabelEditEnded, nm.item);
        m_editText.clear();
        return nm.text && !rejected ? 1 : 0;
    }
    case TVN_ITEMEXPANDING: {
        const auto& nm = reinterpret_cast<const NmTreeView&>(header);
        if (indexOf(nm.itemNew) < 0)
            return 0;
        std::int32_t event = nm.action == TVE_COLLAPSE ? kTreeItemCollapsing : kTreeItemExpanding;
        return raiseItemEvent(event, nm.itemNew) ? 1 : 0;
    }
    default:
        return 0;
    }
}

LResult TreeBoxUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kReflectedNotify:
        return onNotify(*reinterpret_cast<const NotifyHeader*>(lParam));
    case WM_RBUTTONDOWN:
        // The press selects the item under it and tells the handler; off
        // any item it does nothing at all, and the control's own right-click
        // handling never runs.
        onRightButtonDown(PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (m_settings.checkBoxes)
            if (TreeHitTestInfo hit = TreeView_HitTest(handle(), PointFromLParam(lParam));
                hit.flags & TVHT_ONITEMSTATEICON)
                PostMessage(handle(), kCheckToggledMessage, 0, LParam(hit.item));
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && m_settings.checkBoxes)
            if (TreeItem caret = TreeView_GetSelection(handle()); caret != TreeItem::Null)
                PostMessage(handle(), kCheckToggledMessage, 0, LParam(caret));
        break;
    case kCheckToggledMessage:
        checkToggled(TreeItem(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kStateImageTimer) {
            applyPendingStateImages();
            return 0;
        }
        break;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createTreeBox(const UnitCreateParams& p)
{
    return MakeDescribedUnit<TreeBoxUnit>(p);
}

constexpr KindRoutines kTreeBoxRoutines = DescribedKindRoutines<TreeBoxUnit>(createTreeBox, true);
const std::vector<PropertyDescriptor> kTreeBoxProperties = PropertyTypeTable(TreeBoxDescription());

} // namespace

const UnitKindDescriptor kTreeBoxKind{
    .chineseName = "树型框",
    .englishName = "TreeBox",
    .stateFlags = 0x00000040,
    .propertyCount = std::int32_t(kTreeBoxProperties.size()),
    .properties = kTreeBoxProperties.data(),
    .kindEntry = KindEntryFor<kTreeBoxRoutines>,
};

} // namespace ui
