#pragma once
// The collection in memory: one root node, sections and pages below it.
// Nodes are addressed by absolute index, their 0-based position in pre-order.
// Index and level lookups are O(1); the pre-order cache is rebuilt once after a
// structural change, and appending at the end of the pre-order (as the readers do)
// keeps it valid.

#include "tree/node.h"

#include <vector>

namespace tw {

struct TreeCounts {
    int sections = 0;  // every node that is not a page, the root node not counted
    int pages = 0;     // nodes with kind image 2
};

class CollectionTree {
public:
    CollectionTree();  // the root node with its record
    ~CollectionTree();

    CollectionTree(const CollectionTree&) = delete;
    CollectionTree& operator=(const CollectionTree&) = delete;

    Node* root() const { return root_.get(); }
    int count() const;
    Node* nodeAt(int absIndex) const;  // nullptr outside 0..count()-1
    int indexOf(const Node* node) const;
    int levelOf(const Node* node) const;
    PageRecord& pageAt(int absIndex) const { return *nodeAt(absIndex)->page; }

    // Adds a node as the last child of parent and returns it.
    Node* appendChild(Node* parent, QString caption, int kindImage, int selectedImage, int stateIndex,
                      std::unique_ptr<PageRecord> page);

    // Removes node and its subtree (not the root node) and returns it.
    std::unique_ptr<Node> take(Node* node);

    // Inserts a detached subtree as child of parent at position row (clamped).
    Node* insertChild(Node* parent, int row, std::unique_ptr<Node> node);

    // Exchanges the whole contents with other: a tree read elsewhere takes this one's place
    // in constant time, and every reference to either tree stays valid.
    void swap(CollectionTree& other) noexcept;

    // Drops every node and puts a fresh root node back: caption "Root", images 3/3, no icon,
    // record ("", "Root", 0, 3, 3, 20).
    void reset();

    // Number of descendants of the node at absIndex (the nodes absIndex+1 .. absIndex+n).
    int descendantCount(int absIndex) const;

    TreeCounts counts() const;

    // Pre-order sequence of all nodes (valid until the next structural change).
    const std::vector<Node*>& preorder() const;

private:
    void ensureIndexes() const;
    void invalidate() { dirty_ = true; }

    std::unique_ptr<Node> root_;
    mutable std::vector<Node*> order_;
    mutable bool dirty_ = true;
};

// The captions from the root node down to node, each followed by a backslash.
QString nodePath(const Node* node);

// Adds the number of all descendants of node to counter (the counter is not reset).
void addDescendantCount(const Node* node, int& counter);

// The growable list of nodes in creation order that the text-format reader keeps.
using NodeList = std::vector<Node*>;

// Walks nodes from position high down to 0 and returns the first node whose level is
// level - 1: the parent of a new node of that level in a pre-order listing; nullptr if none.
Node* parentForLevel(const CollectionTree& tree, int level, int high, const NodeList& nodes);

} // namespace tw
