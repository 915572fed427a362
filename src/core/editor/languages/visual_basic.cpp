#include "editor/languages/basic.h"
#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"

#include <cctype>

namespace tw::languages {

using scan::isDigit;
using scan::isHexDigit;

namespace {

// A comment whose line ends in " _" goes on over the next line.
constexpr int kCommentContinues = 2000;

// Type-declaration characters that may end a number or a variable name: Integer, Long,
// Single, Double, Currency, LongLong and (names only) String.
constexpr std::string_view kNumberSuffixes = "%&!#@^";
constexpr std::string_view kNameSuffixes = "%&!#@^$";

// The line-continuation mark: an underscore after a blank, at the end of the line.
bool endsWithContinuation(std::string_view line) {
    size_t end = line.size();
    while (end > 0 && scan::isBlank(line[end - 1]))
        --end;
    return end >= 2 && line[end - 1] == '_' && scan::isBlank(line[end - 2]);
}

class BasicHighlighter final : public RuleHighlighter {
public:
    BasicHighlighter(LanguageRules rules, const BasicDialect& dialect)
        : RuleHighlighter(std::move(rules)), dialect_(dialect) {}

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        if (dialect_.commentContinuation && state == kCommentContinues) {
            push(out, 0, line.size(), comment_);
            state = endsWithContinuation(line) ? kCommentContinues : 0;
            return;
        }
        state = 0;
        size_t pos = 0;
        while (pos < line.size())
            pos = scanToken(line, pos, state, out);
    }

private:
    size_t comment(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        push(out, pos, line.size(), comment_);
        if (dialect_.commentContinuation) state = endsWithContinuation(line) ? kCommentContinues : 0;
        return line.size();
    }

    size_t scanToken(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        if (c == '\'') return comment(line, pos, state, out);
        if (isDigit(c) || (c == '.' && pos + 1 < line.size() && isDigit(line[pos + 1])))
            return number(line, pos, out);
        if (c == '&' && pos + 2 < line.size()) { // &HFF, &O17
            const char base = asciiLowerByte(line[pos + 1]);
            const auto digit = [base](char d) { return base == 'h' ? isHexDigit(d) : d >= '0' && d <= '7'; };
            if ((base == 'h' || base == 'o') && digit(line[pos + 2])) {
                size_t i = pos + 2;
                while (i < line.size() && digit(line[i]))
                    ++i;
                if (dialect_.typeCharacters && i < line.size() &&
                    (line[i] == '&' || line[i] == '%' || line[i] == '^'))
                    ++i;
                push(out, pos, i, number_);
                return i;
            }
        }
        if (c == '#') { // a date literal such as #12/31/1999 11:59 PM#
            size_t i = pos + 1;
            if (i < line.size() && isDigit(line[i])) {
                while (i < line.size() &&
                       (isDigit(line[i]) ||
                        std::string_view("/-:., aApPmM").find(line[i]) != std::string_view::npos))
                    ++i;
                if (i < line.size() && line[i] == '#') {
                    push(out, pos, i + 1, number_);
                    return i + 1;
                }
            }
        }
        const auto u = static_cast<unsigned char>(c);
        if (scan::isAlpha(c) || u >= 0x80 ||
            (dialect_.underscoreNames && c == '_' && pos + 1 < line.size() &&
             isIdentifierPart(line[pos + 1]))) {
            size_t i = pos + 1;
            while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                ++i;
            const std::string_view word = line.substr(pos, i - pos);
            if (scan::equalsNoCase(word, "rem")) return comment(line, pos, state, out);
            if (dialect_.typeCharacters && i < line.size() &&
                kNameSuffixes.find(line[i]) != std::string_view::npos &&
                (i + 1 == line.size() || !isIdentifierPart(static_cast<unsigned char>(line[i + 1])))) {
                push(out, pos, i + 1, identifier_); // Left$, count%: a typed name, never a keyword
                return i + 1;
            }
            // After a dot a name is a member (rs.Close, .name in a With block), never a keyword.
            const int attr = pos > 0 && line[pos - 1] == '.' ? -1 : wordAttribute(word);
            push(out, pos, i, attr >= 0 ? attr : identifier_);
            return i;
        }
        return scanOne(line, pos, state, out); // blanks, strings, symbols (a lone "_" among them)
    }

    size_t number(std::string_view line, size_t pos, std::vector<Token>& out) const {
        size_t i = scan::digitsEnd(line, pos);
        if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1]))
            i = scan::digitsEnd(line, i + 1);
        else if (i < line.size() && line[i] == '.' && i > pos)
            ++i; // "1." is a Double
        i = scan::exponentEnd(line, i, dialect_.exponentLetters);
        if (dialect_.typeCharacters && i < line.size() &&
            kNumberSuffixes.find(line[i]) != std::string_view::npos)
            ++i;
        push(out, pos, i, number_);
        return i;
    }

    BasicDialect dialect_;
};

} // namespace

std::unique_ptr<Highlighter> makeBasic(LanguageRules rules, const BasicDialect& dialect) {
    return std::make_unique<BasicHighlighter>(std::move(rules), dialect);
}

std::unique_ptr<Highlighter> makeVisualBasic() {
    LanguageRules r;
    r.name = QStringLiteral("Visual Basic");
    r.filter = QStringLiteral("Visual Basic Files (*.bas)|*.bas");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    // Comments, numbers and names are scanned by the highlighter above; the table gives
    // strings, keywords and symbols.
    r.strings = {{"\"", "\"", "String", 0, true}};
    r.identifierStart = ""; // a lone "_" is the line-continuation symbol
    r.words = {{{"access",    "addressof",  "alias",      "and",        "any",       "append",   "as",
                 "attribute", "base",       "binary",     "boolean",    "byref",     "byte",     "byval",
                 "call",      "case",       "cbool",      "cbyte",      "ccur",      "cdate",    "cdbl",
                 "cdec",      "cint",       "clng",       "clnglng",    "clngptr",   "close",    "compare",
                 "const",     "csng",       "cstr",       "currency",   "cvar",      "cverr",    "date",
                 "decimal",   "declare",    "defbool",    "defbyte",    "defcur",    "defdate",  "defdbl",
                 "defdec",    "defint",     "deflng",     "deflnglng",  "deflngptr", "defobj",   "defsng",
                 "defstr",    "defvar",     "dim",        "do",         "double",    "each",     "else",
                 "elseif",    "empty",      "end",        "enum",       "eqv",       "erase",    "error",
                 "event",     "exit",       "explicit",   "false",      "for",       "friend",   "function",
                 "get",       "global",     "gosub",      "goto",       "if",        "imp",      "implements",
                 "in",        "input",      "integer",    "is",         "let",       "lib",      "like",
                 "line",      "load",       "lock",       "long",       "longlong",  "longptr",  "loop",
                 "lset",      "me",         "mod",        "new",        "next",      "not",      "nothing",
                 "null",      "object",     "on",         "open",       "option",    "optional", "or",
                 "output",    "paramarray", "preserve",   "print",      "private",   "property", "ptrsafe",
                 "public",    "put",        "raiseevent", "random",     "read",      "redim",    "resume",
                 "return",    "rset",       "seek",       "select",     "set",       "shared",   "single",
                 "static",    "step",       "stop",       "string",     "sub",       "then",     "to",
                 "true",      "type",       "typeof",     "unload",     "unlock",    "until",    "variant",
                 "wend",      "while",      "with",       "withevents", "write",     "xor"},
                "Reserved Word"}};
    BasicDialect dialect;
    dialect.typeCharacters = true;
    dialect.commentContinuation = true;
    dialect.underscoreNames = true;
    dialect.exponentLetters = "eEdD"; // 1D5 is a Double
    return makeBasic(std::move(r), dialect);
}

} // namespace tw::languages
