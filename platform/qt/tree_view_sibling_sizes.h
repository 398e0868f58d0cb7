// The subtree sizes of one tree-view item's children, kept as a Fenwick
// tree: "how many items lie in the subtrees of the children before child
// k" and "which child's subtree holds the n-th of them" cost O(log k), and
// so does recording that one child's subtree grew.  Pre-order positions
// are built from these sums, so neither direction walks the tree, and an
// append anywhere costs the same however large the tree is.
#pragma once

#include <vector>

namespace platform::qt {

class SiblingSizes {
public:
    int count() const { return int(m_sums.size()); }
    // A new last child whose subtree holds `size` items.
    void append(int size);
    // The subtree of child `child` gained `delta` items.
    void grow(int child, int delta);
    // The items in the subtrees of children [0, child).
    int sizesBefore(int child) const;
    int total() const { return sizesBefore(count()); }
    // The child whose subtree holds the item `offset` places into the
    // children's subtrees (0 <= offset < total()); `before` receives
    // sizesBefore() of that child.
    int childHolding(int offset, int& before) const;

private:
    // m_sums[i - 1] holds the sizes of children (i - lowbit(i), i], 1-based.
    std::vector<int> m_sums;
};

} // namespace platform::qt
