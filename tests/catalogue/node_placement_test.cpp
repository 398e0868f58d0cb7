// Where the nodes of a tree load go, checked against the rule itself: a
// tree built item by item, whose parent lookup walks the items in index
// order as the rule reads.

#include "app/catalogue/node_placement.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using app::catalogue::NodeLink;
using app::catalogue::PlaceNodes;

// The rule, literally: items in pre-order, each a key and a depth; a node
// goes under the first item whose key is its parent key, as that item's
// last child.
std::vector<int> placeByWalking(const std::vector<NodeLink>& nodes)
{
    struct Item {
        std::int32_t key;
        int depth;
    };
    std::vector<Item> preorder;
    std::vector<int> parents;
    for (const NodeLink& n : nodes) {
        int parent = -1;
        if (n.parentKey != 0)
            for (std::size_t i = 0; i < preorder.size(); ++i)
                if (preorder[i].key == n.parentKey) {
                    parent = int(i);
                    break;
                }
        parents.push_back(parent);
        // The last child goes after the parent's last descendant.
        std::size_t at = preorder.size();
        int depth = 0;
        if (parent >= 0) {
            depth = preorder[std::size_t(parent)].depth + 1;
            at = std::size_t(parent) + 1;
            while (at < preorder.size() && preorder[at].depth >= depth)
                ++at;
        }
        preorder.insert(preorder.begin() + std::ptrdiff_t(at), Item{n.key, depth});
    }
    return parents;
}

TEST(NodePlacement, ParentsAsTheRuleFindsThem)
{
    // A (1) with children 3 and 4, B (2); 5 under 3; 6 names no node; 7
    // under 2 comes after A's subtree.
    std::vector<NodeLink> nodes = {{1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 3}, {6, 99}, {7, 2}};
    EXPECT_EQ(PlaceNodes(nodes), (std::vector<int>{-1, -1, 0, 0, 1, -1, 4}));
    EXPECT_EQ(PlaceNodes(nodes), placeByWalking(nodes));
}

TEST(NodePlacement, AChildWhoseParentComesLaterIsTopLevel)
{
    std::vector<NodeLink> nodes = {{1, 5}, {5, 0}, {6, 5}};
    EXPECT_EQ(PlaceNodes(nodes), (std::vector<int>{-1, -1, 1}));
}

TEST(NodePlacement, TwoItemsOfOneKeyTakeTheFirstInIndexOrder)
{
    // The second item of key 7 is added under node 1, which comes before
    // the first item of key 7 (top-level, added earlier): it is now first.
    std::vector<NodeLink> nodes = {{1, 0}, {7, 0}, {7, 1}, {9, 7}};
    EXPECT_EQ(PlaceNodes(nodes), (std::vector<int>{-1, -1, 0, 1}));
    EXPECT_EQ(PlaceNodes(nodes), placeByWalking(nodes));
}

TEST(NodePlacement, RandomLoadsAgreeWithTheRule)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        int count = 1 + int(random() % 60);
        // Few distinct keys, so duplicates and self-references are common.
        std::uniform_int_distribution<std::int32_t> key(1, count / 2 + 2);
        std::uniform_int_distribution<std::int32_t> parentKey(0, count / 2 + 4);
        std::vector<NodeLink> nodes;
        for (int i = 0; i < count; ++i)
            nodes.push_back({key(random), parentKey(random)});
        ASSERT_EQ(PlaceNodes(nodes), placeByWalking(nodes)) << "round " << round;
    }
}

} // namespace
