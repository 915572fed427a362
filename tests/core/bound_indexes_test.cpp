#include "tree/bound_indexes.h"

#include <gtest/gtest.h>

using namespace tw;

namespace {
constexpr int X = kClosedTab;
}

struct InsertCase {
    std::vector<int> tags;
    int at;
    std::vector<int> expected;
};

class Insertion : public testing::TestWithParam<InsertCase> {};

TEST_P(Insertion, MovesIndexesAtOrBehindTheNewNode) {
    EXPECT_EQ(afterInsertion(GetParam().tags, GetParam().at), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(BoundIndexes, Insertion,
                         testing::Values(InsertCase{{0, 2, 5}, 2, {0, 3, 6}},  // None tab keeps 0
                                         InsertCase{{1, 2, 5}, 6, {1, 2, 5}},  // appended as the last node
                                         InsertCase{{4, 3}, 4, {5, 3}}, InsertCase{{}, 1, {}}));

struct DeleteCase {
    std::vector<int> tags;
    int at;
    int descendants;
    std::vector<int> expected;
};

class Deletion : public testing::TestWithParam<DeleteCase> {};

TEST_P(Deletion, ClosesTabsOfRemovedNodesAndShiftsTheRest) {
    EXPECT_EQ(afterDeletion(GetParam().tags, GetParam().at, GetParam().descendants), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(BoundIndexes, Deletion,
                         testing::Values(
                             // A section at 4 with three descendants, tabs on 1, 4, 6 and 9.
                             DeleteCase{{1, 4, 6, 9}, 4, 3, {1, X, X, 5}},
                             DeleteCase{{0, 3}, 3, 0, {0, X}},     // a page alone
                             DeleteCase{{2, 8}, 5, 3, {2, X}},     // last node of the subtree
                             DeleteCase{{0, 2, 9}, 5, 3, {0, 2, 5}}));

struct MoveCase {
    std::vector<int> tags;
    int from, size, to;
    std::vector<int> expected;
};

class Moving : public testing::TestWithParam<MoveCase> {};

TEST_P(Moving, EveryTabFollowsItsNode) {
    const MoveCase& c = GetParam();
    EXPECT_EQ(afterMove(c.tags, c.from, c.size, c.to), c.expected);
}

// Tree: 0 root, 1 A, 2 a1, 3 a2, 4 B, 5 b1. Moving A (1..3) to be B's first child puts
// it at 2 in the new order: 0 root, 1 B, 2 A, 3 a1, 4 a2, 5 b1.
INSTANTIATE_TEST_SUITE_P(BoundIndexes, Moving,
                         testing::Values(MoveCase{{0, 1, 2, 3, 4, 5}, 1, 3, 2, {0, 2, 3, 4, 1, 5}},
                                         // b1 (5) moved to be A's first child: new index 2.
                                         MoveCase{{5, 2, 3, 4}, 5, 1, 2, {2, 3, 4, 5}},
                                         MoveCase{{0, 3}, 3, 1, 3, {0, 3}}));
