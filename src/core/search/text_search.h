#pragma once
// Exact, case-sensitive search over UTF-8 texts and node captions. Offsets are bytes,
// a line break counting as the two bytes CR LF, as in the editor.

#include "tree/collection_tree.h"

#include <QString>
#include <string_view>

namespace tw {

// The first occurrence of what at or after from; -1 when there is none (or what is empty).
int findForward(std::string_view text, std::string_view what, int from);

// Upward from from: candidates start at from - |what| (a match ending exactly at from
// counts) and go down to 0; -1 when none matches.
int findBackward(std::string_view text, std::string_view what, int from);

// The first node after absolute index after whose caption contains what; -1 when none.
// The root node is never a candidate, since the search starts behind the selected node.
int findNextCaption(const CollectionTree& tree, int after, const QString& what);

// The first node after absolute index after whose text contains what; -1 when none.
int findNextText(const CollectionTree& tree, int after, std::string_view what);

} // namespace tw
