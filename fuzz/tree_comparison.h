#pragma once
// Node-by-node comparison of two collection trees for the round-trip checks.

#include "checks.h"
#include "tree/collection_tree.h"

#include <functional>
#include <string>

namespace tw::fuzz {

// What a format keeps of a node: the fields a writer puts into the file, in the form a
// reader gives them back.
struct KeptNode {
    std::string caption;  // UTF-8
    std::string text;
    int level = 0;
    int kind = 0;
    int selectedImage = 0;
    int stateIndex = 0;
    int language = 0;
    int recordImage = 0;
    int recordSelected = 0;
    int recordState = 0;
    size_t bookmarks = 0;
    bool operator==(const KeptNode&) const = default;
};

using KeptForm = std::function<KeptNode(const Node& node, int level)>;

// Every field exactly as the node holds it.
KeptNode exactNode(const Node& node, int level);

// Compares the subtree of a (pre-order, below and including a) with that of b, each node
// first put through its tree's form. Empty when they are the same.
Finding compareSubtrees(const Node& a, const KeptForm& formA, const Node& b, const KeptForm& formB);

} // namespace tw::fuzz
