#pragma once
// The search engine: what the user searches for, with the options, compiled once and
// matched over UTF-8 bytes in place. The exact, case-sensitive search (the default) is a
// plain substring search; ignoring case, whole words and regular expressions go through
// PCRE2 (JIT, UTF mode, Unicode case folding and word characters). Offsets are bytes,
// a line break counting as the two bytes CR LF, as in the editor. Matches are never empty.

#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

struct SearchOptions {
    bool matchCase = true;
    bool wholeWord = false;
    bool regularExpression = false;
    bool operator==(const SearchOptions&) const = default;
    // The exact, case-sensitive substring search.
    bool plain() const { return matchCase && !wholeWord && !regularExpression; }
};

struct TextMatch {
    int start = -1;  // byte offset, -1 when nothing matched
    int length = 0;
    bool found() const { return start >= 0; }
    int end() const { return start + length; }
    bool operator==(const TextMatch&) const = default;
};

class SearchPattern {
public:
    SearchPattern(std::string_view what, SearchOptions options = {});
    ~SearchPattern();
    SearchPattern(SearchPattern&&) noexcept;
    SearchPattern& operator=(SearchPattern&&) noexcept;

    const std::string& what() const { return what_; }
    const SearchOptions& options() const { return options_; }
    bool empty() const { return what_.empty(); }

    // False when the regular expression does not compile; error() then names the error
    // and its position, and nothing matches.
    bool valid() const { return error_.isEmpty(); }
    // The compile error, or after a match ran into the step limit (a pattern that would
    // take too long), that failure; empty while all is well.
    const QString& error() const { return error_; }
    bool failed() const { return !error_.isEmpty(); }

    // The first match starting at or after from; none for an empty pattern or a from
    // outside the text.
    TextMatch findForward(std::string_view text, int from) const;
    // The last match that ends at or before from (a match ending exactly at from counts).
    TextMatch findBackward(std::string_view text, int from) const;
    // Whether the text holds a match. An empty pattern occurs in every text, as an empty
    // substring does.
    bool occursIn(std::string_view text) const;
    // Every match from left to right, none overlapping.
    std::vector<TextMatch> findAll(std::string_view text) const;

    // The replacement of match m of text: with itself, and for a regular expression with
    // $N, ${N} and \N standing for group N ($0 the whole match), $$ for "$" and \\ for "\".
    std::string replacement(std::string_view text, TextMatch m, std::string_view with) const;

private:
    struct Compiled;
    TextMatch matchAt(std::string_view text, int from, bool anchored) const;
    TextMatch plainForward(std::string_view text, int from) const;
    TextMatch plainBackward(std::string_view text, int from) const;

    std::string what_;
    SearchOptions options_;
    std::vector<int> reversedBorders_;  // the backward exact search's failure table
    std::unique_ptr<Compiled> compiled_;
    mutable QString error_;
};

} // namespace tw
