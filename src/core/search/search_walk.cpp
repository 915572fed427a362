#include "search/search_walk.h"

#include "search/text_search.h"

namespace tw {

int nextTabToSearch(const CollectionTree& tree, const std::vector<int>& boundIndexes, int current,
                    const SearchPattern& pattern) {
    const int count = static_cast<int>(boundIndexes.size());
    if (current >= count - 1) return -1;
    for (int k = std::max(current + 1, 0); k < count; ++k) {
        const int bound = boundIndexes[static_cast<size_t>(k)];
        const Node* node = bound != 0 ? tree.nodeAt(bound) : nullptr;
        if (node && pattern.occursIn(node->page->text)) return k;
    }
    return count - 1;
}

int nextTabToSearch(const CollectionTree& tree, const std::vector<int>& boundIndexes, int current,
                    std::string_view what) {
    return nextTabToSearch(tree, boundIndexes, current, SearchPattern(what));
}

int nextNodeToSearch(const CollectionTree& tree, int current, const SearchPattern& pattern) {
    if (current >= tree.count() - 1) return -1;
    const int next = findNextText(tree, current, pattern);
    return next < 0 ? tree.count() - 1 : next;
}

int nextNodeToSearch(const CollectionTree& tree, int current, std::string_view what) {
    return nextNodeToSearch(tree, current, SearchPattern(what));
}

} // namespace tw
