#pragma once
// Where "find next" goes on when the text on screen holds no further match. Across the
// open tabs and across all nodes it jumps straight to the next text that holds a match:
// the texts passed over would have yielded nothing.

#include "search/search_pattern.h"
#include "tree/collection_tree.h"

#include <string_view>
#include <vector>

namespace tw {

// The tab to search next after tab current, given every tab's bound index (0: a tab on no
// node, which holds nothing): the first later tab whose node's text holds a match, else the
// last tab; -1 when current is the last tab already.
int nextTabToSearch(const CollectionTree& tree, const std::vector<int>& boundIndexes, int current,
                    const SearchPattern& pattern);
int nextTabToSearch(const CollectionTree& tree, const std::vector<int>& boundIndexes, int current,
                    std::string_view what);

// The node to search next after node current in pre-order: the first later node whose
// text holds a match, else the last node; -1 when current is the last node already.
int nextNodeToSearch(const CollectionTree& tree, int current, const SearchPattern& pattern);
int nextNodeToSearch(const CollectionTree& tree, int current, std::string_view what);

} // namespace tw
