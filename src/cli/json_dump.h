#pragma once
#include "tree/collection_tree.h"

#include <string>

namespace tw {

// The collection as JSON: one object per node, starting at the root node, with its
// tree-node values, its record and its children in order.
std::string dumpJson(const CollectionTree& tree);

} // namespace tw
