#pragma once

#include "tree/page.h"

#include <QString>
#include <memory>
#include <vector>

namespace tw {

// Kind images: what a node is, and the picture it shows.
enum KindImage : int { kSectionCollapsed = 0, kSectionExpanded = 1, kPageKind = 2, kRootKind = 3 };

inline bool isSectionKind(int kindImage) { return kindImage == kSectionCollapsed || kindImage == kSectionExpanded; }

struct Node {
    QString caption;
    int kindImage = kSectionCollapsed;
    int selectedImage = kSectionCollapsed;
    int stateIndex = -1;  // node icon: -1 none, 1..15 a picture of the icon list
    std::unique_ptr<PageRecord> page;
    std::vector<std::unique_ptr<Node>> children;
    Node* parent = nullptr;

    // Kept by CollectionTree: position among the parent's children (always current),
    // and pre-order index and level (current while the tree's index cache is).
    int row = 0;
    int index = 0;
    int level = 0;

    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();  // tears the subtree down without recursion, so deep trees cannot overflow the stack
};

} // namespace tw
