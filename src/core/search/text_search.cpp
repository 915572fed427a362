#include "search/text_search.h"

namespace tw {

int findForward(std::string_view text, std::string_view what, int from) {
    return SearchPattern(what).findForward(text, from).start;
}

int findBackward(std::string_view text, std::string_view what, int from) {
    return SearchPattern(what).findBackward(text, from).start;
}

int findNextCaption(const CollectionTree& tree, int after, const SearchPattern& pattern) {
    if (pattern.empty()) return -1;
    const auto& order = tree.preorder();
    for (int i = std::max(after + 1, 1); i < static_cast<int>(order.size()) && !pattern.failed(); ++i) {
        const QByteArray caption = order[static_cast<size_t>(i)]->caption.toUtf8();
        if (pattern.occursIn(std::string_view(caption.constData(), static_cast<size_t>(caption.size())))) return i;
    }
    return -1;
}

int findNextCaption(const CollectionTree& tree, int after, const QString& what) {
    return findNextCaption(tree, after, SearchPattern(what.toStdString()));
}

int findNextText(const CollectionTree& tree, int after, const SearchPattern& pattern) {
    if (pattern.empty()) return -1;
    const auto& order = tree.preorder();
    for (int i = std::max(after + 1, 0); i < static_cast<int>(order.size()) && !pattern.failed(); ++i)
        if (pattern.occursIn(order[static_cast<size_t>(i)]->page->text)) return i;
    return -1;
}

int findNextText(const CollectionTree& tree, int after, std::string_view what) {
    return findNextText(tree, after, SearchPattern(what));
}

} // namespace tw
