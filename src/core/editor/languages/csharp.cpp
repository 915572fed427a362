#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

namespace tw::languages {

namespace {

// Line states.
constexpr int kBlockComment = 2000;   // inside /* */
constexpr int kVerbatimString = 2001; // inside @"..." (which may span lines)
constexpr int kRawString = 3000;      // + the number of quotes of an open """raw string"""
constexpr int kRawQuotesMax = 1 << 20;

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;
using scan::startsWith;
size_t quotesAt(std::string_view line, size_t pos) {
    size_t i = pos;
    while (i < line.size() && line[i] == '"')
        ++i;
    return i - pos;
}

const char* const kKeywords[] = {
    "abstract", "as", "base", "bool", "break", "byte", "case", "catch", "char", "checked", "class", "const",
    "continue", "decimal", "default", "delegate", "do", "double", "else", "enum", "event", "explicit",
    "extern", "false", "finally", "fixed", "float", "for", "foreach", "goto", "if", "implicit", "in", "int",
    "interface", "internal", "is", "lock", "long", "namespace", "new", "null", "object", "operator", "out",
    "override", "params", "private", "protected", "public", "readonly", "ref", "return", "sbyte", "sealed",
    "short", "sizeof", "stackalloc", "static", "string", "struct", "switch", "this", "throw", "true", "try",
    "typeof", "uint", "ulong", "unchecked", "unsafe", "ushort", "using", "virtual", "void", "volatile",
    "while",
    // contextual keywords
    "add", "alias", "and", "ascending", "async", "await", "by", "descending", "dynamic", "equals", "file",
    "from", "get", "global", "group", "init", "into", "join", "let", "managed", "nameof", "nint", "not",
    "notnull", "nuint", "on", "or", "orderby", "partial", "record", "remove", "required", "scoped", "select",
    "set", "unmanaged", "value", "var", "when", "where", "with", "yield"};

LanguageRules csharpRules() {
    LanguageRules r;
    r.name = QStringLiteral("C#");
    r.filter = QStringLiteral("C# Files (*.cs)|*.cs");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.illegalAttribute = QStringLiteral("Illegal Char");
    r.symbols = "!%&()*+,-./:;<=>?[]^{|}~";
    r.words = {{{std::begin(kKeywords), std::end(kKeywords)}, QStringLiteral("Reserved Word")}};
    return r;
}

class CSharpHighlighter : public RuleHighlighter {
public:
    CSharpHighlighter() : RuleHighlighter(csharpRules()) {
        preprocessor_ = require(u"Preprocessor");
        string_ = require(u"String");
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        const int from = state;
        state = 0;
        size_t pos = 0;
        if (from == kBlockComment)
            pos = blockComment(line, 0, 0, state, out);
        else if (from == kVerbatimString)
            pos = verbatim(line, 0, 0, state, out);
        else if (from >= kRawString + 3 && from < kRawString + kRawQuotesMax)
            pos = raw(line, 0, 0, static_cast<size_t>(from - kRawString), state, out);
        size_t noStringBefore = 0;
        while (pos < line.size())
            pos = scan(line, pos, noStringBefore, state, out);
    }

private:
    size_t blockComment(std::string_view line, size_t start, size_t bodyStart, int& state,
                        std::vector<Token>& out) const {
        const size_t close = line.find("*/", bodyStart);
        const size_t end = close == std::string_view::npos ? line.size() : close + 2;
        if (close == std::string_view::npos) state = kBlockComment;
        push(out, start, end, comment_);
        return end;
    }

    // A regular string or character literal: backslash escapes, ends with the line.
    size_t quoted(std::string_view line, size_t start, size_t bodyStart, char quote,
                  std::vector<Token>& out) const {
        const size_t end = scan::escapedBody(line, bodyStart, quote).end;
        push(out, start, end, string_);
        return end;
    }

    // A verbatim string: "" stands for a quote, no escapes, may span lines.
    size_t verbatim(std::string_view line, size_t start, size_t bodyStart, int& state,
                    std::vector<Token>& out) const {
        size_t i = bodyStart;
        for (;;) {
            const size_t q = line.find('"', i);
            if (q == std::string_view::npos) {
                state = kVerbatimString;
                push(out, start, line.size(), string_);
                return line.size();
            }
            if (q + 1 < line.size() && line[q + 1] == '"') {
                i = q + 2;
                continue;
            }
            push(out, start, q + 1, string_);
            return q + 1;
        }
    }

    // A raw string opened by quotes quotes: it ends at a run of as many quotes.
    size_t raw(std::string_view line, size_t start, size_t bodyStart, size_t quotes, int& state,
               std::vector<Token>& out) const {
        size_t i = bodyStart;
        while (i < line.size()) {
            if (line[i] != '"') {
                ++i;
                continue;
            }
            const size_t run = quotesAt(line, i);
            if (run >= quotes) {
                push(out, start, i + run, string_);
                return i + run;
            }
            i += run;
        }
        state = kRawString + static_cast<int>(quotes);
        push(out, start, line.size(), string_);
        return line.size();
    }

    // A string with its $ (interpolated) and @ (verbatim) prefixes at pos; pos when none. Then
    // noStringBefore is set to where the prefixes read from any byte before it open no string
    // either: the end of the prefixes, or just past their @ (after which another @ may follow).
    size_t scanString(std::string_view line, size_t pos, size_t& noStringBefore, int& state,
                      std::vector<Token>& out) const {
        size_t i = pos;
        bool isVerbatim = false;
        while (i < line.size() && line[i] == '$')
            ++i;
        if (i < line.size() && line[i] == '@') {
            isVerbatim = true;
            noStringBefore = ++i;
            while (i < line.size() && line[i] == '$')
                ++i;
        }
        if (i >= line.size() || line[i] != '"') {
            if (!isVerbatim) noStringBefore = i;
            return pos;
        }
        if (isVerbatim) return verbatim(line, pos, i + 1, state, out);
        const size_t quotes = quotesAt(line, i);
        if (quotes >= 3) {
            const size_t count = std::min(quotes, static_cast<size_t>(kRawQuotesMax - 1));
            return raw(line, pos, i + quotes, count, state, out);
        }
        return quoted(line, pos, i + 1, '"', out);
    }

    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t n = line.size();
        size_t i = pos;
        auto digits = [&](bool hex) { i = scan::underscoredDigitsEnd(line, i, hex); };
        if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'x' || line[i + 1] == 'X') &&
            isHexDigit(line[i + 2])) {
            i += 2;
            digits(true);
        } else if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'b' || line[i + 1] == 'B') &&
                   (line[i + 2] == '0' || line[i + 2] == '1')) {
            i += 2;
            digits(false);
        } else {
            digits(false);
            if (i + 1 < n && line[i] == '.' && isDigit(line[i + 1])) {
                ++i;
                digits(false);
            }
            if (const size_t j = scan::exponentDigits(line, i, "eE"); j != i) {
                i = j;
                digits(false);
            }
        }
        while (i < n && std::string_view("uUlLfFdDmM").find(line[i]) != std::string_view::npos)
            ++i;
        push(out, pos, i, number_);
        return i;
    }

    // A directive line: #region, #endregion, #error, #warning and #pragma take the rest of
    // the line as their text; the others may end with a // comment.
    size_t scanDirective(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t name = scan::blanksEnd(line, pos + 1);
        size_t nameEnd = name;
        while (nameEnd < line.size() && scan::isAlpha(line[nameEnd]))
            ++nameEnd;
        const std::string_view directive = line.substr(name, nameEnd - name);
        size_t end = line.size();
        if (directive != "region" && directive != "endregion" && directive != "error" &&
            directive != "warning" && directive != "pragma")
            end = std::min(line.find("//", nameEnd), line.size());
        while (end > nameEnd && isBlank(line[end - 1]))
            --end;
        push(out, pos, end, preprocessor_);
        return end;
    }

    // noStringBefore: no string opens before it (found when string prefixes from an earlier
    // byte opened none); the prefixes are not read again from each byte of a long run of them.
    size_t scan(std::string_view line, size_t pos, size_t& noStringBefore, int& state,
                std::vector<Token>& out) const {
        const char c = line[pos];
        const size_t n = line.size();
        if (isBlank(c)) {
            const size_t i = scan::blanksEnd(line, pos);
            push(out, pos, i, space_);
            return i;
        }
        if (startsWith(line, pos, "//")) { // /// documentation comments too
            push(out, pos, n, comment_);
            return n;
        }
        if (startsWith(line, pos, "/*")) return blockComment(line, pos, pos + 2, state, out);
        if (c == '#' && scan::onlyBlanksBefore(line, pos)) return scanDirective(line, pos, out);
        if ((c == '"' || c == '$' || c == '@') && pos >= noStringBefore) {
            if (const size_t end = scanString(line, pos, noStringBefore, state, out); end != pos) return end;
        }
        if (c == '\'') return quoted(line, pos, pos + 1, '\'', out);
        if (isDigit(c) || (c == '.' && pos + 1 < n && isDigit(line[pos + 1])))
            return scanNumber(line, pos, out);
        const bool escapedName =
            c == '@' && pos + 1 < n && isIdentifierStart(static_cast<unsigned char>(line[pos + 1]));
        if (escapedName || isIdentifierStart(static_cast<unsigned char>(c))) {
            size_t end = pos + 1;
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
            const int attr =
                escapedName ? -1 : wordAttribute(line.substr(pos, end - pos)); // @class is a name
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            return end;
        }
        push(out, pos, pos + 1, rules().symbols.find(c) != std::string::npos ? symbol_ : illegal_);
        return pos + 1;
    }

    int preprocessor_ = 0, string_ = 0;
};

} // namespace

std::unique_ptr<Highlighter> makeCSharp() {
    return std::make_unique<CSharpHighlighter>();
}

} // namespace tw::languages
