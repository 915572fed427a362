#include "editor/highlighter.h"

#include <algorithm>
#include <stdexcept>

namespace tw {

Highlighter::Highlighter(QString name, QString filter, std::vector<Attribute> attributes)
    : name_(std::move(name)), filter_(std::move(filter)), attributes_(std::move(attributes)) {
    std::stable_sort(attributes_.begin(), attributes_.end(), [](const Attribute& a, const Attribute& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
}

int Highlighter::attributeIndex(QStringView name) const {
    for (size_t i = 0; i < attributes_.size(); ++i)
        if (attributes_[i].name == name) return static_cast<int>(i);
    return -1;
}

int Highlighter::require(QStringView name) const {
    const int i = attributeIndex(name);
    if (i < 0) throw std::logic_error("highlighter has no attribute " + name.toString().toStdString());
    return i;
}

std::vector<Token> Highlighter::tokenize(std::string_view text) const {
    std::vector<Token> out;
    std::vector<Token> line;
    const int space = std::max(spaceAttribute(), 0);
    int state = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        line.clear();
        tokenizeLine(text.substr(pos, end - pos), state, line);
        for (Token t : line) {
            t.start += static_cast<int>(pos);
            out.push_back(t);
        }
        if (end == text.size()) break;
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        out.push_back({static_cast<int>(end), static_cast<int>(next - end), space});
        pos = next;
    }
    return out;
}

Token Highlighter::tokenAt(std::string_view text, int offset) const {
    if (offset < 0 || offset >= static_cast<int>(text.size())) return {0, 0, -1};
    for (const Token& t : tokenize(text))
        if (offset >= t.start && offset < t.start + t.length) return t;
    return {0, 0, -1};
}

} // namespace tw
