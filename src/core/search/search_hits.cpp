#include "search/search_hits.h"

#include <cstring>

namespace tw {

namespace {

// Adds the matches of one text; lines are counted once per text, from match to match.
void addHits(std::vector<SearchHit>& out, int node, std::string_view text, const SearchPattern& pattern, bool lines) {
    int line = 1, lineStart = 0, lineEnd = -1, counted = 0;
    for (TextMatch m = pattern.findForward(text, 0); m.found(); m = pattern.findForward(text, m.end())) {
        SearchHit hit{node, m, 0, 0, static_cast<int>(text.size())};
        if (lines) {
            if (m.start > lineEnd) {
                // Count the line breaks passed since the last match and find this line's end.
                for (const char* p = text.data() + counted;
                     (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(m.start) - static_cast<size_t>(p - text.data()))));
                     ++p) {
                    ++line;
                    lineStart = static_cast<int>(p - text.data()) + 1;
                }
                counted = m.start;
                const void* br = std::memchr(text.data() + m.start, '\n', text.size() - static_cast<size_t>(m.start));
                lineEnd = br ? static_cast<int>(static_cast<const char*>(br) - text.data()) : static_cast<int>(text.size());
                if (br && lineEnd > lineStart && text[static_cast<size_t>(lineEnd) - 1] == '\r') --lineEnd;
            }
            hit.line = line;
            hit.lineStart = lineStart;
            hit.lineEnd = lineEnd;
        }
        out.push_back(hit);
    }
}

} // namespace

SearchHits findAllInTexts(const CollectionTree& tree, const SearchPattern& pattern) {
    SearchHits found;
    if (pattern.empty()) return found;
    const auto& order = tree.preorder();
    for (size_t i = 0; i < order.size() && !pattern.failed(); ++i) {
        const size_t before = found.hits.size();
        addHits(found.hits, static_cast<int>(i), order[i]->page->text, pattern, true);
        if (found.hits.size() > before) ++found.nodes;
    }
    return found;
}

SearchHits findAllInCaptions(const CollectionTree& tree, const SearchPattern& pattern) {
    SearchHits found;
    if (pattern.empty()) return found;
    const auto& order = tree.preorder();
    for (size_t i = 1; i < order.size() && !pattern.failed(); ++i) {
        const QByteArray caption = order[i]->caption.toUtf8();
        const size_t before = found.hits.size();
        addHits(found.hits, static_cast<int>(i), std::string_view(caption.constData(), static_cast<size_t>(caption.size())),
                pattern, false);
        if (found.hits.size() > before) ++found.nodes;
    }
    return found;
}

std::string_view hitSource(const CollectionTree& tree, const SearchHit& hit, bool captions, QByteArray& holder) {
    const Node* node = tree.nodeAt(hit.node);
    if (!node) return {};
    if (!captions) return node->page->text;
    holder = node->caption.toUtf8();
    return std::string_view(holder.constData(), static_cast<size_t>(holder.size()));
}

} // namespace tw
