// Where each node of a tree load goes: the rule is that a node is added
// under the first item, in index order, whose key is its parent key, or at
// the top level when there is none yet; items are only ever appended as the
// last child of their parent.
//
// Looking the parent up by walking the items, as the rule reads, costs a
// read per item per node.  Placing the nodes first gives every answer at
// once: the rows build the tree's shape in memory (a key's first item is
// kept as items come, since appending never reorders the items there are),
// each item's final pre-order position follows from the shape, and a
// parent's index at the time its child is added is the number of items
// added by then that come before it — a prefix count over final positions.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace app::catalogue {

struct NodeLink {
    std::int32_t key = 0;       // the node's key, its item's data
    std::int32_t parentKey = 0; // 0: a top-level node
};

// For each node in load order, the index of the item it is added under
// when its turn comes (-1: the top level).
std::vector<int> PlaceNodes(std::span<const NodeLink> nodes);

} // namespace app::catalogue
