// The items of one tree-view control: what each holds, where it sits, and
// the handles the program knows them by.
//
// Items live in one vector and are addressed by slot; an item's handle is
// its slot plus the first handle of the current generation.  Deleting all
// items starts a new generation above every handle handed out so far, so a
// stale handle never names a new item.  Items are only ever appended, so a
// slot and an item's position among its siblings never change.
#pragma once

#include "platform/qt/tree_view_sibling_sizes.h"
#include "platform/tree_view.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::qt {

using TreeSlot = std::uint32_t;

// What the program sets on an item.
struct TreeItemData {
    std::string text; // GBK; converted only when drawn or edited
    int image = 0;
    int selectedImage = 0;
    LParam param = 0;
    bool bold = false;
    bool expanded = false;
    std::uint8_t stateSlot = 0; // 0: no state image
};

class TreeItems {
public:
    // The invisible parent of the top-level items.
    static constexpr TreeSlot kRoot = ~TreeSlot(0);

    // Appends `data` as the last child of `parent`; the new item's slot.
    TreeSlot append(TreeSlot parent, TreeItemData data);
    // Deletes every item; their handles stay invalid for good.
    void clear();

    int count() const { return int(m_nodes.size()); }
    std::optional<TreeSlot> slotOf(TreeItem item) const;
    TreeItem handleOf(TreeSlot slot) const;
    TreeItem handleOf(std::optional<TreeSlot> slot) const { return slot ? handleOf(*slot) : TreeItem::Null; }

    TreeItemData& data(TreeSlot slot) { return node(slot).data; }
    const TreeItemData& data(TreeSlot slot) const { return node(slot).data; }

    TreeSlot parent(TreeSlot slot) const { return node(slot).parent; }
    int position(TreeSlot slot) const { return int(node(slot).position); }
    int depth(TreeSlot slot) const { return int(node(slot).depth); }
    int childCount(TreeSlot slot) const { return int(node(slot).children.size()); }
    TreeSlot child(TreeSlot slot, int position) const;
    std::optional<TreeSlot> nextSibling(TreeSlot slot) const;
    bool isDescendant(TreeSlot slot, TreeSlot ancestor) const;

    // Positions in the depth-first pre-order walk, collapsed items counted.
    int preorderIndex(TreeSlot slot) const;
    std::optional<TreeSlot> atPreorderIndex(int index) const;

private:
    struct Node {
        TreeItemData data;
        TreeSlot parent = kRoot;
        std::uint32_t position = 0;
        std::uint32_t depth = 0;
        std::vector<TreeSlot> children;
        SiblingSizes childSizes; // subtree sizes of `children`
    };

    Node& node(TreeSlot slot);
    const Node& node(TreeSlot slot) const;

    Node m_root;
    std::vector<Node> m_nodes;
    std::uintptr_t m_firstHandle = 1; // the handle of slot 0
};

} // namespace platform::qt
