#pragma once
// Small scanning pieces shared by the language highlighters: byte classes, position tests
// and the runs (blanks, digits, escaped strings) that several languages read alike.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tw::languages::scan {

// A blank within a line: space, tab, form feed, vertical tab.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
// An ASCII decimal digit.
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// An ASCII letter (whatever the locale: a byte of a multi-byte character is never one).
inline bool isAlpha(char c) { return static_cast<unsigned char>((c | 0x20) - 'a') < 26; }
// An ASCII letter or digit.
inline bool isAlnum(char c) { return isAlpha(c) || isDigit(c); }
// An ASCII hexadecimal digit.
inline bool isHexDigit(char c) { return isDigit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 6; }
// A byte that may start a word: a letter, "_" or a byte of a multi-byte character.
inline bool isWordStart(char c) { return isAlpha(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80; }
// A byte that may continue a word: as isWordStart, or a digit.
inline bool isWordPart(char c) { return isWordStart(c) || isDigit(c); }

// Whether what stands in line at pos (pos may be past the end).
inline bool startsWith(std::string_view line, size_t pos, std::string_view what) {
    if (pos > line.size() || line.size() - pos < what.size()) return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (line[pos + i] != what[i]) return false;
    return true;
}
// The same ignoring ASCII case; what must be lower case.
bool startsWithNoCase(std::string_view line, size_t pos, std::string_view what);
// Whether word is what ignoring ASCII case; what must be lower case.
inline bool equalsNoCase(std::string_view word, std::string_view what) {
    return word.size() == what.size() && startsWithNoCase(word, 0, what);
}
// Whether only blanks stand before pos; reads only the blanks just before pos.
bool onlyBlanksBefore(std::string_view line, size_t pos);

// The end of the run of blanks from pos.
size_t blanksEnd(std::string_view line, size_t pos);
// The end of the run of decimal digits from pos.
size_t digitsEnd(std::string_view line, size_t pos);
// The end of the run of decimal (or, with hex, hexadecimal) digits and "_" separators from pos.
size_t underscoredDigitsEnd(std::string_view line, size_t pos, bool hex = false);
// Where the digits of an exponent start when one of letters, an optional sign and a digit
// stand at pos; pos when there is no exponent.
size_t exponentDigits(std::string_view line, size_t pos, std::string_view letters);
// The end of an exponent of plain digits (such as E+10) at pos; pos when there is none.
size_t exponentEnd(std::string_view line, size_t pos, std::string_view letters);

// A string body with backslash escapes, read from pos up to the closing quote.
struct Escaped {
    size_t end = 0;         // just past the closing quote, or the line's size
    bool closed = false;    // the closing quote was found
    bool continued = false; // the line ends in an escaping backslash
};
Escaped escapedBody(std::string_view line, size_t pos, char quote);

// The 32-bit FNV-1a hash of s, to tell delimiters apart in a line state.
std::uint32_t fnv1a(std::string_view s);

} // namespace tw::languages::scan
