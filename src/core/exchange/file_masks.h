#pragma once
// File masks of the file search: "*" any run of characters, "?" one character,
// "[...]" one character of a list with ranges ("a-z") and an optional leading "!"
// for the complement; letters compare without regard to case. A mask is matched
// against a file's extension only (".pas", dot included).

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace tw {

class FileMask {
public:
    // nullopt when the mask cannot be parsed (an unclosed bracket, an empty list,
    // a range without a start or an end).
    static std::optional<FileMask> parse(const QString& mask);
    // True when the whole text matches.
    bool matches(const QString& text) const;

private:
    struct Range {
        char16_t first, last;
    };
    struct Token {
        enum Kind { Literal, AnyOne, AnyRun, Set } kind;
        QChar ch;                  // Literal
        bool negate = false;       // Set
        std::vector<Range> ranges; // Set
    };
    bool matchesAt(const Token& t, QChar c) const;
    std::vector<Token> tokens_;
};

enum class MaskMatch { No, Yes, Invalid };
MaskMatch matchMask(const QString& mask, const QString& text);

// The masks of a masks text: separated by blanks, runs of blanks counting as one.
// An empty text gives the one empty mask (files without an extension).
QStringList parseMasks(const QString& text);

// True when a mask of the list matches the extension, tried in order; a mask that
// cannot be parsed ends the test with no match.
bool matchesAnyMask(const QStringList& masks, const QString& extension);

// The same test with the masks parsed once, for testing many extensions.
class MaskList {
public:
    explicit MaskList(const QStringList& masks);
    bool matches(const QString& extension) const;

private:
    std::vector<std::optional<FileMask>> masks_;  // nullopt: a mask that cannot be parsed
};

// The size limit in bytes of a size text in kilobytes (the system's number format or
// the plain one), rounded; 0 (no limit) for an empty text, a non-number or a value
// too large to hold.
std::int64_t sizeLimitBytes(const QString& kilobytes);

} // namespace tw
