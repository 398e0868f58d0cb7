#include "app/catalogue/node_placement.h"

#include <cassert>
#include <unordered_map>

namespace app::catalogue {
namespace {

struct Item {
    int parent = -1;     // item number, -1: top level
    int depth = 0;
    int childIndex = 0;  // position among its parent's children (or the top level)
    std::vector<int> children;
};

// Whether item a comes before item b in pre-order.
bool before(const std::vector<Item>& items, int a, int b)
{
    while (items[std::size_t(a)].depth > items[std::size_t(b)].depth) {
        a = items[std::size_t(a)].parent;
        if (a == b)
            return false; // b is an ancestor of the original a
    }
    while (items[std::size_t(b)].depth > items[std::size_t(a)].depth) {
        b = items[std::size_t(b)].parent;
        if (a == b)
            return true; // a is an ancestor of the original b
    }
    while (items[std::size_t(a)].parent != items[std::size_t(b)].parent) {
        a = items[std::size_t(a)].parent;
        b = items[std::size_t(b)].parent;
    }
    return items[std::size_t(a)].childIndex < items[std::size_t(b)].childIndex;
}

// Counts of added items by final position, summed over prefixes.
class PrefixCounts {
public:
    explicit PrefixCounts(std::size_t n) : m_tree(n + 1, 0) {}
    void add(std::size_t position)
    {
        for (std::size_t i = position + 1; i < m_tree.size(); i += i & (~i + 1))
            ++m_tree[i];
    }
    // Added items at positions below `position`.
    int before(std::size_t position) const
    {
        int sum = 0;
        for (std::size_t i = position; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return sum;
    }

private:
    std::vector<int> m_tree;
};

} // namespace

std::vector<int> PlaceNodes(std::span<const NodeLink> nodes)
{
    // The shape: each node's parent item, by the rule, among the items
    // added before it.
    std::vector<Item> items(nodes.size());
    std::vector<int> topLevel;
    std::unordered_map<std::int32_t, int> firstWithKey;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        int parent = -1;
        if (nodes[i].parentKey != 0)
            if (auto it = firstWithKey.find(nodes[i].parentKey); it != firstWithKey.end())
                parent = it->second;
        Item& item = items[i];
        item.parent = parent;
        std::vector<int>& siblings = parent < 0 ? topLevel : items[std::size_t(parent)].children;
        item.depth = parent < 0 ? 0 : items[std::size_t(parent)].depth + 1;
        item.childIndex = int(siblings.size());
        siblings.push_back(int(i));
        auto [first, added] = firstWithKey.try_emplace(nodes[i].key, int(i));
        if (!added && before(items, int(i), first->second))
            first->second = int(i);
    }

    // Final pre-order positions.
    std::vector<std::size_t> position(nodes.size());
    std::size_t next = 0;
    std::vector<int> stack(topLevel.rbegin(), topLevel.rend());
    while (!stack.empty()) {
        int i = stack.back();
        stack.pop_back();
        position[std::size_t(i)] = next++;
        const std::vector<int>& children = items[std::size_t(i)].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    assert(next == nodes.size());

    // A parent's index when its child is added: the items added by then
    // that come before it.
    std::vector<int> parentIndex(nodes.size(), -1);
    PrefixCounts added(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (int p = items[i].parent; p >= 0)
            parentIndex[i] = added.before(position[std::size_t(p)]);
        added.add(position[i]);
    }
    return parentIndex;
}

} // namespace app::catalogue
