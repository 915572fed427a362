#pragma once
// Editor tabs remember the node they show by its absolute index (the bound index;
// 0 = bound to no node). These functions say what every bound index becomes when the
// tree's structure changes, so that each tab stays on its node.

#include <vector>

namespace tw {

inline constexpr int kClosedTab = -1;  // the tab's node was deleted: the tab closes

// A node was inserted at absolute index a: indexes a and above move up by one.
std::vector<int> afterInsertion(const std::vector<int>& tags, int a);

// The node at index i and its count descendants (i .. i+count) were removed.
// Tabs on removed nodes become kClosedTab, tabs behind them move down by count+1.
std::vector<int> afterDeletion(const std::vector<int>& tags, int i, int count);

// The block of size nodes at from .. from+size-1 was removed and re-inserted so that it
// now starts at absolute index to (an index in the tree after the move).
std::vector<int> afterMove(const std::vector<int>& tags, int from, int size, int to);

} // namespace tw
