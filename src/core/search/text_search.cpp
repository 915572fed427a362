#include "search/text_search.h"

namespace tw {

int findForward(std::string_view text, std::string_view what, int from) {
    if (what.empty() || from < 0 || from > static_cast<int>(text.size())) return -1;
    const size_t at = text.find(what, static_cast<size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int findBackward(std::string_view text, std::string_view what, int from) {
    if (what.empty()) return -1;
    from = std::min(from, static_cast<int>(text.size()));
    const int start = from - static_cast<int>(what.size());
    if (start < 0) return -1;
    const size_t at = text.substr(0, static_cast<size_t>(from)).rfind(what, static_cast<size_t>(start));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int findNextCaption(const CollectionTree& tree, int after, const QString& what) {
    if (what.isEmpty()) return -1;
    const auto& order = tree.preorder();
    for (int i = std::max(after + 1, 1); i < static_cast<int>(order.size()); ++i)
        if (order[static_cast<size_t>(i)]->caption.contains(what, Qt::CaseSensitive)) return i;
    return -1;
}

int findNextText(const CollectionTree& tree, int after, std::string_view what) {
    if (what.empty()) return -1;
    const auto& order = tree.preorder();
    for (int i = std::max(after + 1, 0); i < static_cast<int>(order.size()); ++i)
        if (order[static_cast<size_t>(i)]->page->text.find(what) != std::string::npos) return i;
    return -1;
}

} // namespace tw
