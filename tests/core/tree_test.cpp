#include "tree/collection_tree.h"

#include <gtest/gtest.h>
#include <random>

using namespace tw;

namespace {

Node* addSection(CollectionTree& t, Node* parent, const QString& caption) {
    return t.appendChild(parent, caption, 0, 0, -1, makePageRecord({}, caption, 0, 0, 1, -1));
}
Node* addPage(CollectionTree& t, Node* parent, const QString& caption) {
    return t.appendChild(parent, caption, 2, 2, -1, makePageRecord(" ", caption, 1, 2, 2, -1));
}

// Pre-order and levels computed the slow, obvious way.
void bruteForce(const Node* n, int level, std::vector<std::pair<const Node*, int>>& out) {
    out.emplace_back(n, level);
    for (const auto& c : n->children) bruteForce(c.get(), level + 1, out);
}

} // namespace

TEST(CollectionTree, NewCollectionHoldsOnlyTheRootNode) {
    CollectionTree t;
    ASSERT_EQ(t.count(), 1);
    const Node* root = t.nodeAt(0);
    EXPECT_EQ(root, t.root());
    EXPECT_EQ(root->caption, "Root");
    EXPECT_EQ(root->kindImage, 3);
    EXPECT_EQ(root->selectedImage, 3);
    EXPECT_EQ(root->stateIndex, -1);
    EXPECT_EQ(t.levelOf(root), 0);
    const PageRecord& p = t.pageAt(0);
    EXPECT_EQ(p.text, "");
    EXPECT_EQ(p.name, "Root");
    EXPECT_EQ(p.language, 0);
    EXPECT_EQ(p.imageIndex, 3);
    EXPECT_EQ(p.selectedIndex, 3);
    EXPECT_EQ(p.stateIndex, 20);
    EXPECT_TRUE(p.bookmarks.empty());
}

TEST(CollectionTree, MakePageRecordKeepsLowEightBits) {
    auto p = makePageRecord("x", "n", 258, 0x1FF, -1, -5);
    EXPECT_EQ(p->language, 2);
    EXPECT_EQ(p->imageIndex, 0xFF);
    EXPECT_EQ(p->selectedIndex, 0xFF);
    EXPECT_EQ(p->stateIndex, -5);
}

TEST(CollectionTree, CountsDescendantsAndSectionsAndPages) {
    CollectionTree t;
    Node* a = addSection(t, t.root(), "a");
    Node* b = addSection(t, t.root(), "b");
    for (Node* s : {a, b}) {
        Node* inner = addSection(t, s, "inner");
        addPage(t, inner, "p1");
        addPage(t, s, "p2");
        addPage(t, s, "p3");
    }
    // a and b hold three children each, and one of those holds one more.
    int counter = 0;
    addDescendantCount(a, counter);
    EXPECT_EQ(counter, 4);
    counter = 10;
    addDescendantCount(t.root(), counter);
    EXPECT_EQ(counter, 10 + 10);

    EXPECT_EQ(t.descendantCount(0), t.count() - 1);
    EXPECT_EQ(t.descendantCount(t.indexOf(a)), 4);
    EXPECT_EQ(t.descendantCount(t.indexOf(a->children[1].get())), 0);  // a page
    EXPECT_EQ(t.descendantCount(t.count() - 1), 0);                    // the last node

    const TreeCounts c = t.counts();
    EXPECT_EQ(c.sections, 4);
    EXPECT_EQ(c.pages, 6);
}

TEST(CollectionTree, DescendantCountOfTwoSectionsWithThreeChildrenEach) {
    CollectionTree t;
    Node* s = addSection(t, t.root(), "s");
    for (int i = 0; i < 2; ++i) {
        Node* c = addSection(t, s, "c");
        for (int j = 0; j < 3; ++j) addPage(t, c, "p");
    }
    int counter = 0;
    addDescendantCount(s, counter);
    EXPECT_EQ(counter, 8);
}

TEST(CollectionTree, ParentForLevelFindsTheNearestNodeOneLevelUp) {
    CollectionTree t;
    NodeList mass{t.root()};
    Node* a = addSection(t, t.root(), "a");
    mass.push_back(a);
    Node* b = addPage(t, a, "b");
    mass.push_back(b);
    EXPECT_EQ(parentForLevel(t, 1, 0, mass), t.root());
    EXPECT_EQ(parentForLevel(t, 2, 2, mass), a);
    EXPECT_EQ(parentForLevel(t, 3, 2, mass), b);
    EXPECT_EQ(parentForLevel(t, 1, 2, mass), t.root());
    EXPECT_EQ(parentForLevel(t, 5, 2, mass), nullptr);
    EXPECT_EQ(parentForLevel(t, 0, 2, mass), nullptr);
    EXPECT_EQ(parentForLevel(t, 1, 0, NodeList{}), nullptr);
}

// Indexes, levels and rows stay right through appends, middle inserts and removals.
TEST(CollectionTree, IndexCacheAgreesWithAPlainWalkAfterRandomEdits) {
    CollectionTree t;
    std::mt19937 rng(7);
    for (int step = 0; step < 600; ++step) {
        const int n = t.count();
        Node* target = t.nodeAt(static_cast<int>(rng() % n));
        const int op = static_cast<int>(rng() % 10);
        if (op < 6) {
            addSection(t, target, QString::number(step));
        } else if (op < 8) {
            t.insertChild(target, static_cast<int>(rng() % (target->children.size() + 1)), std::make_unique<Node>())
                ->page = makePageRecord({}, {}, 0, 0, 0, -1);
        } else if (target != t.root()) {
            t.take(target);
        }
        std::vector<std::pair<const Node*, int>> expected;
        bruteForce(t.root(), 0, expected);
        ASSERT_EQ(t.count(), static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(t.nodeAt(static_cast<int>(i)), expected[i].first);
            ASSERT_EQ(t.indexOf(expected[i].first), static_cast<int>(i));
            ASSERT_EQ(t.levelOf(expected[i].first), expected[i].second);
            const Node* node = expected[i].first;
            if (node->parent) {
                ASSERT_EQ(node->parent->children[node->row].get(), node);
            }
        }
    }
}

TEST(CollectionTree, DeepChainIsBuiltAndDestroyedWithoutRecursion) {
    auto t = std::make_unique<CollectionTree>();
    Node* n = t->root();
    for (int i = 0; i < 200000; ++i) n = addSection(*t, n, "d");
    EXPECT_EQ(t->levelOf(n), 200000);
    EXPECT_EQ(t->descendantCount(0), 200000);
    t.reset();  // must not overflow the stack
}

TEST(CollectionTree, ResetPutsAFreshRootBack) {
    CollectionTree t;
    addPage(t, t.root(), "p");
    t.root()->page->text = "typed";
    t.reset();
    EXPECT_EQ(t.count(), 1);
    EXPECT_EQ(t.pageAt(0).text, "");
    EXPECT_EQ(t.pageAt(0).stateIndex, 20);
}
