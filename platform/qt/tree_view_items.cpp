#include "platform/qt/tree_view_items.h"

#include <cassert>
#include <utility>

namespace platform::qt {

TreeItems::Node& TreeItems::node(TreeSlot slot)
{
    return const_cast<Node&>(std::as_const(*this).node(slot));
}

const TreeItems::Node& TreeItems::node(TreeSlot slot) const
{
    if (slot == kRoot)
        return m_root;
    assert(slot < m_nodes.size());
    return m_nodes[slot];
}

TreeSlot TreeItems::append(TreeSlot parent, TreeItemData data)
{
    const TreeSlot slot = TreeSlot(m_nodes.size());
    assert(slot != kRoot);
    Node& p = node(parent);
    Node added{
        .data = std::move(data),
        .parent = parent,
        .position = std::uint32_t(p.children.size()),
        .depth = parent == kRoot ? 0 : p.depth + 1,
    };
    p.children.push_back(slot);
    p.childSizes.append(1);
    // Every ancestor's subtree grew by one: tell each one's parent.
    for (TreeSlot s = parent; s != kRoot; s = node(s).parent)
        node(node(s).parent).childSizes.grow(int(node(s).position), 1);
    // `p` may dangle after this push_back; it is not used again.
    m_nodes.push_back(std::move(added));
    return slot;
}

void TreeItems::clear()
{
    m_firstHandle += m_nodes.size();
    m_nodes.clear();
    m_root = Node{};
}

std::optional<TreeSlot> TreeItems::slotOf(TreeItem item) const
{
    const auto value = std::uintptr_t(item);
    if (value < m_firstHandle || value - m_firstHandle >= m_nodes.size())
        return std::nullopt;
    return TreeSlot(value - m_firstHandle);
}

TreeItem TreeItems::handleOf(TreeSlot slot) const
{
    assert(slot < m_nodes.size());
    return TreeItem(m_firstHandle + slot);
}

TreeSlot TreeItems::child(TreeSlot slot, int position) const
{
    const Node& n = node(slot);
    assert(position >= 0 && std::size_t(position) < n.children.size());
    return n.children[std::size_t(position)];
}

std::optional<TreeSlot> TreeItems::nextSibling(TreeSlot slot) const
{
    const Node& n = node(slot);
    const Node& p = node(n.parent);
    if (n.position + 1 >= p.children.size())
        return std::nullopt;
    return p.children[n.position + 1];
}

bool TreeItems::isDescendant(TreeSlot slot, TreeSlot ancestor) const
{
    for (TreeSlot s = node(slot).parent; s != kRoot; s = node(s).parent)
        if (s == ancestor)
            return true;
    return false;
}

int TreeItems::preorderIndex(TreeSlot slot) const
{
    // An item comes right after its parent and after the whole subtrees of
    // its earlier siblings; the top-level items' parent stands at -1.
    int index = -1;
    for (TreeSlot s = slot; s != kRoot; s = node(s).parent) {
        const Node& n = node(s);
        index += 1 + node(n.parent).childSizes.sizesBefore(int(n.position));
    }
    return index;
}

std::optional<TreeSlot> TreeItems::atPreorderIndex(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    // `index` counts within the subtrees of `parent`'s children.
    TreeSlot parent = kRoot;
    for (;;) {
        const Node& p = node(parent);
        int before = 0;
        int position = p.childSizes.childHolding(index, before);
        TreeSlot child = p.children[std::size_t(position)];
        if (index == before)
            return child;
        index -= before + 1;
        parent = child;
    }
}

} // namespace platform::qt
