#include "platform/qt/tree_view_item_fields.h"

namespace platform::qt {
namespace {

// The state bits an item keeps itself.
constexpr std::uint32_t kKeptState = TVIS_BOLD | TVIS_EXPANDED | TVIS_STATEIMAGEMASK;

std::uint32_t stateOf(const TreeItemData& d)
{
    return IndexToStateImageMask(d.stateSlot) | (d.bold ? TVIS_BOLD : 0u) | (d.expanded ? TVIS_EXPANDED : 0u);
}

void setState(TreeItemData& d, std::uint32_t state)
{
    d.stateSlot = std::uint8_t(StateImageSlotOf(state));
    d.bold = state & TVIS_BOLD;
    d.expanded = state & TVIS_EXPANDED;
}

} // namespace

void applyItemFields(TreeItemData& d, const TreeViewItem& item)
{
    if (item.mask & TVIF_TEXT)
        d.text = item.text;
    if (item.mask & TVIF_IMAGE)
        d.image = item.image;
    if (item.mask & TVIF_SELECTEDIMAGE)
        d.selectedImage = item.selectedImage;
    if (item.mask & TVIF_PARAM)
        d.param = item.param;
    if (item.mask & TVIF_STATE) {
        const std::uint32_t changing = item.stateMask & kKeptState;
        setState(d, (stateOf(d) & ~changing) | (item.state & changing));
    }
}

void readItemFields(TreeViewItem& item, const TreeItemData& d, bool selected)
{
    if (item.mask & TVIF_TEXT)
        item.text = d.text;
    if (item.mask & TVIF_IMAGE)
        item.image = d.image;
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.selectedImage = d.selectedImage;
    if (item.mask & TVIF_PARAM)
        item.param = d.param;
    if (item.mask & TVIF_STATE)
        item.state = (stateOf(d) | (selected ? TVIS_SELECTED : 0u)) & item.stateMask;
}

} // namespace platform::qt
