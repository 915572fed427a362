#pragma once
// Every match in a collection at once, for the results list and the command line: in the
// texts of all nodes, or in the captions of all nodes but the root.

#include "search/search_pattern.h"
#include "tree/collection_tree.h"

#include <string_view>
#include <vector>

namespace tw {

struct SearchHit {
    int node = 0;       // absolute index
    TextMatch match;    // in the node's text, or in its caption's UTF-8 bytes
    int line = 0;       // 1-based line of the match's start; 0 for a caption
    int lineStart = 0;  // the byte range of that line, without its line break
    int lineEnd = 0;
};

struct SearchHits {
    std::vector<SearchHit> hits;
    int nodes = 0;  // nodes with at least one match
};

SearchHits findAllInTexts(const CollectionTree& tree, const SearchPattern& pattern);
SearchHits findAllInCaptions(const CollectionTree& tree, const SearchPattern& pattern);

// The bytes a hit was found in: the node's text, or its caption as UTF-8 in holder.
std::string_view hitSource(const CollectionTree& tree, const SearchHit& hit, bool captions, QByteArray& holder);

} // namespace tw
