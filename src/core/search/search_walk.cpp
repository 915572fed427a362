#include "search/search_walk.h"

#include "search/text_search.h"

namespace tw {

int nextTabToSearch(const CollectionTree& tree, const std::vector<int>& boundIndexes, int current,
                    std::string_view what) {
    const int count = static_cast<int>(boundIndexes.size());
    if (current >= count - 1) return -1;
    for (int k = std::max(current + 1, 0); k < count; ++k) {
        const Node* node = boundIndexes[static_cast<size_t>(k)] != 0 ? tree.nodeAt(boundIndexes[static_cast<size_t>(k)])
                                                                      : nullptr;
        if (node && node->page->text.find(what) != std::string::npos) return k;
    }
    return count - 1;
}

int nextNodeToSearch(const CollectionTree& tree, int current, std::string_view what) {
    if (current >= tree.count() - 1) return -1;
    const int next = findNextText(tree, current, what);
    return next < 0 ? tree.count() - 1 : next;
}

} // namespace tw
