#include "editor/rule_highlighter.h"

#include "editor/languages/scanning.h"

#include <cctype>

namespace tw {

namespace {
bool startsWithAt(std::string_view line, size_t pos, const std::string& what, bool caseSensitive = true) {
    if (what.empty() || pos + what.size() > line.size()) return false;
    for (size_t i = 0; i < what.size(); ++i) {
        char a = line[pos + i], b = what[i];
        if (!caseSensitive) {
            a = asciiLowerByte(a);
            b = asciiLowerByte(b);
        }
        if (a != b) return false;
    }
    return true;
}

using languages::scan::isBlank;
using languages::scan::isDigit;
using languages::scan::isHexDigit;
using languages::scan::onlyBlanksBefore;

constexpr int kStringBase = 1000;
} // namespace

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiLowerByte(c);
    return out;
}

RuleHighlighter::RuleHighlighter(LanguageRules rules)
    : Highlighter(rules.name, rules.filter, rules.attributes), rules_(std::move(rules)) {
    space_ = require(rules_.spaceAttribute);
    identifier_ = require(rules_.identifierAttribute);
    symbol_ = attributeIndex(rules_.symbolAttribute);
    if (symbol_ < 0) symbol_ = identifier_;
    illegal_ = rules_.illegalAttribute.isEmpty() ? symbol_ : require(rules_.illegalAttribute);
    comment_ = attributeIndex(rules_.commentAttribute);
    number_ = attributeIndex(rules_.numberAttribute);
    if (number_ < 0) number_ = identifier_;
    float_ = rules_.floatAttribute.isEmpty() ? number_ : require(rules_.floatAttribute);
    hex_ = rules_.hexAttribute.isEmpty() ? number_ : require(rules_.hexAttribute);
    octal_ = rules_.octalAttribute.isEmpty() ? number_ : require(rules_.octalAttribute);
    if (!rules_.variablePrefixes.empty()) variable_ = require(rules_.variableAttribute);
    for (const auto& b : rules_.blocks) blockAttr_.push_back(require(b.attribute));
    for (const auto& s : rules_.strings) stringAttr_.push_back(require(s.attribute));
    for (const auto& set : rules_.words) {
        const int attr = require(set.attribute);
        for (const std::string& w : set.words) {
            words_.insert(rules_.caseSensitive ? w : asciiLower(w), attr);  // the first list wins
            longestWord_ = std::max(longestWord_, w.size());
        }
    }
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool letter = languages::scan::isAlpha(c) || b >= 0x80;
        identifierStart_[static_cast<size_t>(b)] = letter || rules_.identifierStart.find(c) != std::string::npos;
        identifierPart_[static_cast<size_t>(b)] =
            letter || languages::scan::isDigit(c) || rules_.identifierPart.find(c) != std::string::npos;
        symbolByte_[static_cast<size_t>(b)] = b != 0 && rules_.symbols.find(c) != std::string::npos;
    }
}

void RuleHighlighter::push(std::vector<Token>& out, size_t start, size_t end, int attribute) {
    if (end > start) out.push_back({static_cast<int>(start), static_cast<int>(end - start), attribute});
}

bool RuleHighlighter::isIdentifierStart(unsigned char c) const { return identifierStart_[c]; }

bool RuleHighlighter::isIdentifierPart(unsigned char c) const { return identifierPart_[c]; }

void WordTable::insert(std::string_view word, int attribute) {
    if (find(word) >= 0) return;
    words_.emplace_back(word);
    attributes_.push_back(attribute);
    if (words_.size() * 2 > slots_.size()) {
        slots_.assign(std::max<size_t>(16, slots_.size() * 2), -1);
        for (size_t e = 0; e < words_.size(); ++e) place(static_cast<int>(e));
    } else {
        place(static_cast<int>(words_.size() - 1));
    }
}

void WordTable::place(int entry) {
    const size_t mask = slots_.size() - 1;
    size_t at = hash(words_[static_cast<size_t>(entry)]) & mask;
    while (slots_[at] >= 0) at = (at + 1) & mask;
    slots_[at] = entry;
}

int RuleHighlighter::wordAttribute(std::string_view word) const {
    if (word.size() > longestWord_) return -1;
    if (rules_.caseSensitive) return words_.find(word);
    // The words are ASCII, so only ASCII letters need lowering to find them.
    char lower[256];
    const size_t n = std::min(word.size(), sizeof lower);
    for (size_t i = 0; i < n; ++i) {
        const char c = word[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    return words_.find(std::string_view(lower, n));
}

void RuleHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    size_t pos = 0;
    if (state != 0) pos = continueOpen(line, 0, state, out);
    while (pos < line.size()) pos = scanOne(line, pos, state, out);
}

size_t RuleHighlighter::continueOpen(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
    if (state >= kStringBase) {
        const size_t index = static_cast<size_t>(state - kStringBase);
        if (index >= rules_.strings.size()) {
            state = 0;
            return pos;
        }
        return scanQuoted(line, pos, pos, index, state, out);
    }
    const size_t index = static_cast<size_t>(state - 1);
    if (index >= rules_.blocks.size()) {
        state = 0;
        return pos;
    }
    const auto& block = rules_.blocks[index];
    const size_t close = line.find(block.close, pos);
    if (close == std::string_view::npos) {
        push(out, pos, line.size(), blockAttr_[index]);
        return line.size();
    }
    push(out, pos, close + block.close.size(), blockAttr_[index]);
    state = 0;
    return close + block.close.size();
}

size_t RuleHighlighter::scanQuoted(std::string_view line, size_t start, size_t bodyStart, size_t index, int& state,
                                   std::vector<Token>& out) const {
    const auto& q = rules_.strings[index];
    size_t i = bodyStart;
    while (i < line.size()) {
        if (q.escape && line[i] == q.escape && i + 1 < line.size()) {
            i += 2;
            continue;
        }
        if (startsWithAt(line, i, q.close)) {
            if (q.doubleCloser && startsWithAt(line, i + q.close.size(), q.close)) {
                i += 2 * q.close.size();
                continue;
            }
            push(out, start, i + q.close.size(), stringAttr_[index]);
            state = 0;
            return i + q.close.size();
        }
        ++i;
    }
    // Unterminated: to the end of the line, and on into the next when strings may span lines
    // (a trailing escape character also continues a string).
    push(out, start, line.size(), stringAttr_[index]);
    const bool continued = q.escape && !line.empty() && line.back() == q.escape;
    state = (q.multiline || continued) ? kStringBase + static_cast<int>(index) : 0;
    return line.size();
}

size_t RuleHighlighter::scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
    const size_t start = pos;
    for (const std::string& prefix : rules_.hexPrefixes) {
        if (startsWithAt(line, pos, prefix, false) && pos + prefix.size() < line.size() &&
            isHexDigit(line[pos + prefix.size()])) {
            size_t i = pos + prefix.size();
            while (i < line.size() && isHexDigit(line[i])) ++i;
            while (i < line.size() && rules_.numberSuffixes.find(line[i]) != std::string::npos) ++i;
            push(out, start, i, hex_);
            return i;
        }
    }
    size_t i = pos;
    bool isFloat = false;
    while (i < line.size() && isDigit(line[i])) ++i;
    if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1])) {
        isFloat = true;
        ++i;
        while (i < line.size() && isDigit(line[i])) ++i;
    } else if (i == pos && line[i] == '.') {  // ".5"
        isFloat = true;
        ++i;
        while (i < line.size() && isDigit(line[i])) ++i;
    }
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        if (j < line.size() && isDigit(line[j])) {
            isFloat = true;
            i = j;
            while (i < line.size() && isDigit(line[i])) ++i;
        }
    }
    while (i < line.size() && rules_.numberSuffixes.find(line[i]) != std::string::npos) ++i;
    int attr = isFloat ? float_ : number_;
    if (!isFloat && octal_ != number_ && i - start > 1 && line[start] == '0') attr = octal_;
    push(out, start, i, attr);
    return i;
}

size_t RuleHighlighter::scanOne(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
    const auto c = static_cast<unsigned char>(line[pos]);
    if (isBlank(static_cast<char>(c))) {
        size_t i = pos;
        while (i < line.size() && isBlank(line[i])) ++i;
        push(out, pos, i, space_);
        return i;
    }
    for (const std::string& marker : rules_.lineComments) {
        if (startsWithAt(line, pos, marker, rules_.caseSensitive)) {
            push(out, pos, line.size(), comment_);
            return line.size();
        }
    }
    if (!rules_.lineCommentsAtStart.empty() && onlyBlanksBefore(line, pos)) {
        for (const std::string& marker : rules_.lineCommentsAtStart) {
            if (startsWithAt(line, pos, marker, rules_.caseSensitive)) {
                push(out, pos, line.size(), comment_);
                return line.size();
            }
        }
    }
    for (size_t b = 0; b < rules_.blocks.size(); ++b) {
        const auto& block = rules_.blocks[b];
        if (!startsWithAt(line, pos, block.open, rules_.caseSensitive)) continue;
        if (block.atLineStartOnly && !onlyBlanksBefore(line, pos)) continue;
        const size_t close = block.close.empty() ? std::string_view::npos : line.find(block.close, pos + block.open.size());
        if (close == std::string_view::npos) {
            push(out, pos, line.size(), blockAttr_[b]);
            if (block.multiline) state = 1 + static_cast<int>(b);
            return line.size();
        }
        push(out, pos, close + block.close.size(), blockAttr_[b]);
        return close + block.close.size();
    }
    for (size_t s = 0; s < rules_.strings.size(); ++s) {
        const auto& q = rules_.strings[s];
        if (startsWithAt(line, pos, q.open)) return scanQuoted(line, pos, pos + q.open.size(), s, state, out);
    }
    if (variable_ >= 0 && rules_.variablePrefixes.find(static_cast<char>(c)) != std::string::npos &&
        pos + 1 < line.size() && isIdentifierStart(static_cast<unsigned char>(line[pos + 1]))) {
        size_t i = pos + 1;
        while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i]))) ++i;
        push(out, pos, i, variable_);
        return i;
    }
    if (isDigit(static_cast<char>(c)) || (c == '.' && pos + 1 < line.size() && isDigit(line[pos + 1]))) {
        return scanNumber(line, pos, out);
    }
    for (const std::string& prefix : rules_.hexPrefixes) {
        if (!isDigit(prefix[0]) && startsWithAt(line, pos, prefix, false) &&
            pos + prefix.size() < line.size() && isHexDigit(line[pos + prefix.size()]))
            return scanNumber(line, pos, out);
    }
    if (isIdentifierStart(c)) {
        size_t i = pos + 1;
        while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i]))) ++i;
        const int attr = wordAttribute(line.substr(pos, i - pos));
        push(out, pos, i, attr >= 0 ? attr : identifier_);
        return i;
    }
    push(out, pos, pos + 1, symbolByte_[c] ? symbol_ : illegal_);
    return pos + 1;
}

} // namespace tw
