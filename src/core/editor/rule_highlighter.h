#pragma once
// A highlighter driven by a table of rules: comments, strings, numbers, word lists,
// variables and symbols. Most languages are one such table; languages with column or
// embedding rules derive from it and override tokenizeLine.

#include "editor/highlighter.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tw {

struct LanguageRules {
    struct Block {  // text between two delimiters, possibly over several lines
        std::string open, close;
        QString attribute;
        bool multiline = true;
        bool atLineStartOnly = false;  // the opener counts only as the first non-blank text
    };
    struct Quoted {  // a string literal
        std::string open, close;
        QString attribute;
        char escape = 0;         // 0: none; a doubled closer always stands for itself when doubleCloser
        bool doubleCloser = false;
        bool multiline = false;
    };
    struct Words {
        std::vector<std::string> words;
        QString attribute;
    };

    QString name;
    QString filter;
    std::vector<Attribute> attributes;  // every attribute with its built-in style

    bool caseSensitive = true;
    std::vector<std::string> lineComments;          // to the end of the line
    std::vector<std::string> lineCommentsAtStart;   // only as the first non-blank text
    QString commentAttribute = QStringLiteral("Comment");
    std::vector<Block> blocks;                      // tried in order, before strings
    std::vector<Quoted> strings;
    std::vector<Words> words;

    std::string identifierStart = "_";  // besides ASCII letters and bytes >= 0x80
    std::string identifierPart = "_";   // besides letters, digits and bytes >= 0x80
    std::string variablePrefixes;       // "$@%": a prefix and an identifier form a variable
    QString variableAttribute = QStringLiteral("Variable");

    std::vector<std::string> hexPrefixes;  // "0x", "$", "&h" (matched ignoring case)
    std::string numberSuffixes;            // letters that may end a number ("uUlLfF")
    QString numberAttribute = QStringLiteral("Number");
    QString floatAttribute;  // empty: numbers with a point or exponent are Number too
    QString hexAttribute;    // empty: Number
    QString octalAttribute;  // empty: Number (C-style leading 0)

    std::string symbols = "!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";  // bytes shown as Symbol
    QString symbolAttribute = QStringLiteral("Symbol");
    QString illegalAttribute;  // bytes that are no symbol; empty: Symbol
    QString identifierAttribute = QStringLiteral("Identifier");
    QString spaceAttribute = QStringLiteral("Space");
};

// Words with their attributes, looked up by string_view without making a string of each:
// open addressing over a power-of-two table kept at most half full.
class WordTable {
public:
    // Adds a word; a word already there keeps its attribute.
    void insert(std::string_view word, int attribute);
    // The attribute of the word; -1 when it is not there.
    int find(std::string_view word) const {
        if (slots_.empty()) return -1;
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash(word) & mask;; at = (at + 1) & mask) {
            const int entry = slots_[at];
            if (entry < 0) return -1;
            if (words_[static_cast<size_t>(entry)] == word) return attributes_[static_cast<size_t>(entry)];
        }
    }

private:
    static size_t hash(std::string_view word) {
        std::uint32_t h = 2166136261u;  // FNV-1a
        for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }
    void place(int entry);

    std::vector<std::string> words_;
    std::vector<int> attributes_;
    std::vector<int> slots_;  // entry index, -1 for an empty slot
};

class RuleHighlighter : public Highlighter {
public:
    explicit RuleHighlighter(LanguageRules rules);

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

protected:
    const LanguageRules& rules() const { return rules_; }
    // Scans from pos in normal state; returns the new position and appends one token.
    // Used by derived highlighters for the parts of a line they leave to the table.
    size_t scanOne(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const;
    // Word list lookup; -1 when the word is in no list.
    int wordAttribute(std::string_view word) const;
    bool isIdentifierStart(unsigned char c) const;
    bool isIdentifierPart(unsigned char c) const;
    static void push(std::vector<Token>& out, size_t start, size_t end, int attribute);

    int space_ = 0, identifier_ = 0, symbol_ = 0, illegal_ = 0, comment_ = 0, number_ = 0, float_ = 0, hex_ = 0,
        octal_ = 0, variable_ = -1;

private:
    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const;
    // Continues a block (state 1 + i) or a string (state 1000 + i) from pos.
    size_t continueOpen(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const;
    size_t scanQuoted(std::string_view line, size_t pos, size_t bodyStart, size_t index, int& state,
                      std::vector<Token>& out) const;

    LanguageRules rules_;
    std::vector<int> blockAttr_, stringAttr_;
    WordTable words_;
    size_t longestWord_ = 0;
    // Byte classes from the rules, by byte value.
    std::array<bool, 256> identifierStart_{}, identifierPart_{}, symbolByte_{};
};

// An ASCII letter lower-cased; every other byte as it is, whatever the locale.
inline char asciiLowerByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

// Lower-cases ASCII letters (keywords are ASCII).
std::string asciiLower(std::string_view s);

// Whether word is one of the words of list (an array of C strings), hashed once on first use.
template <const auto& list> bool inWordList(std::string_view word) {
    static const WordTable table = [] {
        WordTable t;
        for (const char* w : list) t.insert(w, 0);
        return t;
    }();
    return table.find(word) >= 0;
}

} // namespace tw
