#pragma once
// Search over UTF-8 texts and node captions with the search engine. Offsets are bytes,
// a line break counting as the two bytes CR LF, as in the editor. The overloads that take
// a plain text search exactly and case-sensitively.

#include "search/search_pattern.h"
#include "tree/collection_tree.h"

#include <QString>
#include <string_view>

namespace tw {

// The first occurrence of what at or after from; -1 when there is none (or what is empty).
int findForward(std::string_view text, std::string_view what, int from);

// Upward from from: candidates start at from - |what| (a match ending exactly at from
// counts) and go down to 0; -1 when none matches.
int findBackward(std::string_view text, std::string_view what, int from);

// The first node after absolute index after whose caption contains a match; -1 when none
// (or the pattern is empty). The root node is never a candidate, since the search starts
// behind the selected node.
int findNextCaption(const CollectionTree& tree, int after, const SearchPattern& pattern);
int findNextCaption(const CollectionTree& tree, int after, const QString& what);

// The first node after absolute index after whose text contains a match; -1 when none
// (or the pattern is empty).
int findNextText(const CollectionTree& tree, int after, const SearchPattern& pattern);
int findNextText(const CollectionTree& tree, int after, std::string_view what);

} // namespace tw
