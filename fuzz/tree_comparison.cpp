#include "tree_comparison.h"

#include <utility>
#include <vector>

namespace tw::fuzz {

KeptNode exactNode(const Node& node, int level) {
    const PageRecord& page = *node.page;
    return {node.caption.toStdString(), page.text, level, node.kindImage, node.selectedImage, node.stateIndex,
            page.language, page.imageIndex, page.selectedIndex, page.stateIndex, page.bookmarks.size()};
}

namespace {

std::string describe(const KeptNode& n) {
    return "{level " + std::to_string(n.level) + ", caption \"" + n.caption + "\" (" + std::to_string(n.caption.size()) +
           " bytes), kind " + std::to_string(n.kind) + "/" + std::to_string(n.selectedImage) + ", state " +
           std::to_string(n.stateIndex) + ", language " + std::to_string(n.language) + ", record " +
           std::to_string(n.recordImage) + "/" + std::to_string(n.recordSelected) + "/" +
           std::to_string(n.recordState) + ", " + std::to_string(n.text.size()) + " text bytes, " +
           std::to_string(n.bookmarks) + " bookmarks}";
}

// The subtree in pre-order with levels relative to its top, without recursion.
std::vector<std::pair<const Node*, int>> preorder(const Node& top) {
    std::vector<std::pair<const Node*, int>> out, stack{{&top, 0}};
    while (!stack.empty()) {
        const auto [node, level] = stack.back();
        stack.pop_back();
        out.emplace_back(node, level);
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) stack.emplace_back(it->get(), level + 1);
    }
    return out;
}

} // namespace

Finding compareSubtrees(const Node& a, const KeptForm& formA, const Node& b, const KeptForm& formB) {
    const auto nodesA = preorder(a);
    const auto nodesB = preorder(b);
    for (size_t i = 0; i < nodesA.size() && i < nodesB.size(); ++i) {
        const KeptNode x = formA(*nodesA[i].first, nodesA[i].second);
        const KeptNode y = formB(*nodesB[i].first, nodesB[i].second);
        if (!(x == y)) return "node " + std::to_string(i) + " differs: " + describe(x) + " became " + describe(y);
    }
    if (nodesA.size() != nodesB.size())
        return std::to_string(nodesA.size()) + " nodes became " + std::to_string(nodesB.size());
    return {};
}

} // namespace tw::fuzz
