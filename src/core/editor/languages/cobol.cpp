#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;

namespace {

// Reference format columns (0-based character positions).
constexpr size_t kIndicatorColumn = 6;
constexpr size_t kAreaAColumn = 7;
constexpr size_t kAreaBColumn = 11;
constexpr size_t kTagColumn = 72;

// A literal left open at the end of the code area: kStringBase + the index of its quote in
// kQuotes. A continuation line ('-' in the indicator) picks it up again after its quote.
constexpr int kStringBase = 2000;
constexpr std::string_view kQuotes = "\"'";

// The byte offset of a character column (UTF-8 continuation bytes belong to the character
// before them); the line's size when the line is shorter.
size_t columnOffset(std::string_view line, size_t column) {
    size_t i = 0;
    for (size_t col = 0; i < line.size(); ++col) {
        if (col == column) return i;
        ++i;
        while (i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return scan::isAlnum(c) || u >= 0x80 || c == '-' || c == '_';
}

class CobolHighlighter final : public RuleHighlighter {
public:
    using RuleHighlighter::RuleHighlighter;

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        const int carried = state;
        state = 0;
        const size_t indicator = columnOffset(line, kIndicatorColumn);
        const size_t areaA = columnOffset(line, kAreaAColumn);
        const size_t areaB = columnOffset(line, kAreaBColumn);
        const size_t tag = columnOffset(line, kTagColumn);

        const std::string_view sequence = line.substr(0, indicator);
        push(out, 0, indicator,
             sequence.find_first_not_of(" \t") == std::string_view::npos ? space_ : sequence_);
        if (indicator < line.size()) {
            push(out, indicator, areaA, line[indicator] == ' ' ? space_ : indicator_);
            // Only the code area holds tokens; stop the scan at its end.
            const std::string_view code = line.substr(0, tag);
            switch (line[indicator]) {
            case '*':
            case '/':
                push(out, areaA, tag, comment_);
                state = carried; // comment lines may stand between continued lines
                break;
            case 'D':
            case 'd':
                push(out, areaA, tag, debugging_);
                break;
            default: {
                size_t pos = areaA;
                if (line[indicator] == '-' && carried >= kStringBase &&
                    carried < kStringBase + static_cast<int>(kQuotes.size())) {
                    pos = continueLiteral(code, pos, kQuotes[static_cast<size_t>(carried - kStringBase)],
                                          state, out);
                }
                const size_t first = code.find_first_not_of(" \t", pos);
                if (first == std::string_view::npos && pos == areaA) state = carried; // a blank line
                while (pos < code.size())
                    pos = scan(code, pos, pos == first && first < areaB, state, out);
            }
            }
        }
        push(out, tag, line.size(), tag_);
    }

private:
    // On a continuation line: blanks, then the quote that resumes the literal.
    size_t continueLiteral(std::string_view code, size_t pos, char quote, int& state,
                           std::vector<Token>& out) const {
        size_t i = pos;
        while (i < code.size() && isBlank(code[i]))
            ++i;
        if (i >= code.size() || code[i] != quote) return pos;
        push(out, pos, i, space_);
        return literal(code, i, i + 1, quote, state, out);
    }

    // A literal from start with its body at bodyStart; a doubled quote stands for itself.
    size_t literal(std::string_view code, size_t start, size_t bodyStart, char quote, int& state,
                   std::vector<Token>& out) const {
        for (size_t i = bodyStart; i < code.size(); ++i) {
            if (code[i] != quote) continue;
            if (i + 1 < code.size() && code[i + 1] == quote) {
                ++i;
                continue;
            }
            push(out, start, i + 1, string_);
            return i + 1;
        }
        push(out, start, code.size(), string_);
        state = kStringBase + static_cast<int>(kQuotes.find(quote));
        return code.size();
    }

    size_t scan(std::string_view code, size_t pos, bool startsInAreaA, int& state,
                std::vector<Token>& out) const {
        const char c = code[pos];
        if (code.substr(pos, 2) == "*>") { // an inline comment
            push(out, pos, code.size(), comment_);
            return code.size();
        }
        if (code.substr(pos, 2) == ">>" && pos + 2 < code.size() &&
            scan::isAlpha(code[pos + 2])) {
            push(out, pos, code.size(), preprocessor_); // a compiler directive such as >>SOURCE
            return code.size();
        }
        if (kQuotes.find(c) != std::string_view::npos) return literal(code, pos, pos + 1, c, state, out);
        if (c == '.' && pos + 1 < code.size() && isDigit(code[pos + 1])) return number(code, pos, out);
        // A sign straight before the digits belongs to the literal (-12.50); an arithmetic
        // operator stands between blanks.
        if ((c == '+' || c == '-') && pos + 1 < code.size() &&
            (isDigit(code[pos + 1]) ||
             (code[pos + 1] == '.' && pos + 2 < code.size() && isDigit(code[pos + 2]))) &&
            (pos == 0 || isBlank(code[pos - 1]) || code[pos - 1] == '('))
            return number(code, pos, out);
        if (!isWordByte(c) || c == '-' || c == '_')
            return scanOne(code, pos, state, out); // blanks, separators

        // A COBOL word: letters, digits and inner hyphens, with at least one letter.
        size_t end = pos;
        bool letter = false;
        while (end < code.size() && isWordByte(code[end])) {
            letter = letter || (!isDigit(code[end]) && code[end] != '-' && code[end] != '_');
            ++end;
        }
        while (end > pos + 1 && code[end - 1] == '-')
            --end;
        if (!letter) return number(code, pos, out);
        const std::string_view word = code.substr(pos, end - pos);
        if (end < code.size() && kQuotes.find(code[end]) != std::string_view::npos) {
            // X"1F", N'...', Z"...", B"101": hexadecimal, national, null-terminated and boolean literals.
            const std::string lower = asciiLower(word);
            if (lower == "x" || lower == "n" || lower == "nx" || lower == "z" || lower == "b" ||
                lower == "bx" || lower == "g" || lower == "u")
                return literal(code, pos, end + 1, code[end], state, out);
        }
        const int attr = wordAttribute(word);
        push(out, pos, end, attr >= 0 ? attr : startsInAreaA ? areaAIdentifier_ : identifier_);
        return end;
    }

    // An optional sign, digits and an optional decimal point followed by digits; in "12."
    // the point ends a sentence.
    size_t number(std::string_view code, size_t pos, std::vector<Token>& out) const {
        size_t i = pos;
        if (code[i] == '+' || code[i] == '-') ++i;
        while (i < code.size() && isDigit(code[i]))
            ++i;
        if (i + 1 < code.size() && code[i] == '.' && isDigit(code[i + 1])) {
            ++i;
            while (i < code.size() && isDigit(code[i]))
                ++i;
        }
        push(out, pos, i, number_);
        return i;
    }

    int sequence_ = require(u"Sequence Number Area");
    int indicator_ = require(u"Indicator Area");
    int tag_ = require(u"Tag Area");
    int debugging_ = require(u"Debugging Lines");
    int areaAIdentifier_ = require(u"Area A Identifier");
    int preprocessor_ = require(u"Preprocessor");
    int string_ = require(u"String");
};

} // namespace

std::unique_ptr<Highlighter> makeCobol() {
    LanguageRules r;
    r.name = QStringLiteral("COBOL");
    r.filter = QStringLiteral("COBOL Files (*.cbl;*.cob)|*.cbl;*.cob");
    r.attributes = {{QStringLiteral("Area A Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Boolean value"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Debugging Lines"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Indicator Area"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Sequence Number Area"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Tag Area"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    // Literals, words and numbers are scanned by the highlighter above; punctuation shows as
    // Identifier (there is no Symbol attribute).
    r.symbolAttribute = "Identifier";
    r.identifierPart = "_-";
    // clang-format off
    r.words = {
        {{"copy", "end-exec", "exec", "replace"}, "Preprocessor"},
        {{"false", "true"}, "Boolean value"},
        {{"accept", "access", "active-class", "add", "address", "advancing", "after", "aligned", "all",
          "allocate", "alphabet", "alphabetic", "alphabetic-lower", "alphabetic-upper", "alphanumeric",
          "alphanumeric-edited", "also", "alter", "alternate", "and", "any", "anycase", "apply", "are",
          "area", "areas", "as", "ascending", "assign", "at", "author", "based", "before", "binary",
          "binary-char", "binary-double", "binary-long", "binary-short", "bit", "blank", "block", "boolean",
          "bottom", "by", "call", "cancel", "cd", "cf", "ch", "character", "characters", "class", "class-id",
          "clock-units", "close", "code", "code-set", "col", "collating", "cols", "column", "columns",
          "comma", "common", "communication", "comp", "comp-1", "comp-2", "comp-3", "comp-4", "comp-5",
          "comp-x", "computational", "computational-1", "computational-2", "computational-3",
          "computational-4", "computational-5", "compute", "condition", "configuration", "constant",
          "contains", "content", "continue", "control", "controls", "converting", "corr", "corresponding",
          "count", "crt", "currency", "cursor", "data", "data-pointer", "date", "date-compiled",
          "date-written", "day", "day-of-week", "de", "debug-contents", "debug-item", "debug-line",
          "debug-name", "debug-sub-1", "debug-sub-2", "debug-sub-3", "debugging", "decimal-point",
          "declaratives", "default", "delete", "delimited", "delimiter", "depending", "descending",
          "destination", "detail", "disable", "display", "divide", "division", "down", "duplicates",
          "dynamic", "egi", "else", "emi", "enable", "end", "end-accept", "end-add", "end-call",
          "end-compute", "end-delete", "end-display", "end-divide", "end-evaluate", "end-if", "end-invoke",
          "end-multiply", "end-of-page", "end-perform", "end-read", "end-receive", "end-return",
          "end-rewrite", "end-search", "end-start", "end-string", "end-subtract", "end-unstring", "end-write",
          "entry", "environment", "eop", "equal", "error", "esi", "evaluate", "every", "exception",
          "exception-object", "exit", "extend", "external", "factory", "fd", "file", "file-control", "filler",
          "final", "first", "float-extended", "float-long", "float-short", "footing", "for", "format", "free",
          "from", "function", "function-id", "generate", "get", "giving", "global", "go", "goback", "greater",
          "group", "group-usage", "heading", "high-value", "high-values", "i-o", "i-o-control", "id",
          "identification", "if", "in", "index", "indexed", "indicate", "inherits", "initial", "initialize",
          "initiate", "input", "input-output", "inspect", "installation", "interface", "interface-id", "into",
          "invalid", "invoke", "is", "just", "justified", "key", "label", "last", "leading", "left", "length",
          "less", "limit", "limits", "linage", "linage-counter", "line", "line-counter", "lines", "linkage",
          "local-storage", "locale", "lock", "low-value", "low-values", "memory", "merge", "message",
          "method", "method-id", "minus", "mode", "modules", "move", "multiple", "multiply", "national",
          "national-edited", "native", "negative", "nested", "next", "no", "not", "null", "nulls", "number",
          "numeric", "numeric-edited", "object", "object-computer", "object-reference", "occurs", "of", "off",
          "omitted", "on", "open", "optional", "options", "or", "order", "organization", "other", "output",
          "overflow", "override", "packed-decimal", "padding", "page", "page-counter", "perform", "pf", "ph",
          "pic", "picture", "plus", "pointer", "position", "positive", "present", "printing", "procedure",
          "procedure-pointer", "procedures", "proceed", "program", "program-id", "program-pointer",
          "property", "prototype", "purge", "queue", "quote", "quotes", "raise", "raising", "random", "rd",
          "read", "receive", "record", "records", "redefines", "reel", "reference", "references", "relative",
          "release", "remainder", "removal", "renames", "replacing", "report", "reporting", "reports",
          "repository", "rerun", "reserve", "reset", "resume", "retry", "return", "returning", "reversed",
          "rewind", "rewrite", "rf", "rh", "right", "rounded", "run", "same", "screen", "sd", "search",
          "section", "security", "segment", "segment-limit", "select", "self", "send", "sentence", "separate",
          "sequence", "sequential", "set", "sharing", "sign", "size", "sort", "sort-merge", "source",
          "source-computer", "sources", "space", "spaces", "special-names", "standard", "standard-1",
          "standard-2", "start", "status", "stop", "string", "sub-queue-1", "sub-queue-2", "sub-queue-3",
          "subtract", "sum", "super", "suppress", "symbolic", "sync", "synchronized", "system-default",
          "table", "tallying", "tape", "terminal", "terminate", "test", "text", "than", "then", "through",
          "thru", "time", "times", "to", "top", "trailing", "type", "typedef", "unit", "universal", "unlock",
          "unstring", "until", "up", "upon", "usage", "use", "user-default", "using", "validate", "value",
          "values", "varying", "when", "with", "words", "working-storage", "write", "zero", "zeroes",
          "zeros"},
         "Reserved Word"}};
    // clang-format on
    return std::make_unique<CobolHighlighter>(std::move(r));
}

} // namespace tw::languages
