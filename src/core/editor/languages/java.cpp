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
constexpr int kComment = 2000;       // inside /* */
constexpr int kDocumentation = 2001; // inside /** */
constexpr int kTextBlock = 2002;     // inside a """text block"""

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;
using scan::startsWith;

const char* const kKeywords[] = {
    "abstract", "assert", "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue",
    "default", "do", "double", "else", "enum", "extends", "final", "finally", "float", "for", "goto", "if",
    "implements", "import", "instanceof", "int", "interface", "long", "native", "new", "package", "private",
    "protected", "public", "return", "short", "static", "strictfp", "super", "switch", "synchronized", "this",
    "throw", "throws", "transient", "try", "void", "volatile", "while", "_",
    // literals
    "true", "false", "null",
    // contextual keywords
    "permits", "record", "sealed", "var", "yield"};

LanguageRules javaRules() {
    LanguageRules r;
    r.name = QStringLiteral("Java");
    r.filter = QStringLiteral("Java Files (*.java)|*.java");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Documentation"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Invalid Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.illegalAttribute = QStringLiteral("Invalid Symbol");
    r.identifierStart = "_$";
    r.identifierPart = "_$";
    r.symbols = "!%&()*+,-./:;<=>?@[]^{|}~"; // @ of annotations
    r.words = {{{std::begin(kKeywords), std::end(kKeywords)}, QStringLiteral("Reserved Word")}};
    return r;
}

class JavaHighlighter : public RuleHighlighter {
public:
    JavaHighlighter() : RuleHighlighter(javaRules()) {
        documentation_ = require(u"Documentation");
        reserved_ = require(u"Reserved Word");
        string_ = require(u"String");
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        const int from = state;
        state = 0;
        size_t pos = 0;
        if (from == kComment || from == kDocumentation)
            pos = comment(line, 0, 0, from, state, out);
        else if (from == kTextBlock)
            pos = textBlock(line, 0, 0, state, out);
        while (pos < line.size())
            pos = scan(line, pos, state, out);
    }

private:
    // A /* */ or /** */ comment (kind: kComment or kDocumentation).
    size_t comment(std::string_view line, size_t start, size_t bodyStart, int kind, int& state,
                   std::vector<Token>& out) const {
        const size_t close = line.find("*/", bodyStart);
        const size_t end = close == std::string_view::npos ? line.size() : close + 2;
        if (close == std::string_view::npos) state = kind;
        push(out, start, end, kind == kDocumentation ? documentation_ : comment_);
        return end;
    }

    // A string or character literal: backslash escapes, ends with the line.
    size_t quoted(std::string_view line, size_t pos, char quote, std::vector<Token>& out) const {
        const size_t end = scan::escapedBody(line, pos + 1, quote).end;
        push(out, pos, end, string_);
        return end;
    }

    // A text block: backslash escapes, ends at the next unescaped """.
    size_t textBlock(std::string_view line, size_t start, size_t bodyStart, int& state,
                     std::vector<Token>& out) const {
        size_t i = bodyStart;
        while (i < line.size()) {
            if (line[i] == '\\') {
                i += 2;
                continue;
            }
            if (startsWith(line, i, "\"\"\"")) {
                push(out, start, i + 3, string_);
                return i + 3;
            }
            ++i;
        }
        state = kTextBlock;
        push(out, start, line.size(), string_);
        return line.size();
    }

    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t n = line.size();
        size_t i = pos;
        auto digits = [&](bool hex) { i = scan::underscoredDigitsEnd(line, i, hex); };
        auto exponent = [&](std::string_view letters) {
            if (const size_t j = scan::exponentDigits(line, i, letters); j != i) {
                i = j;
                digits(false);
            }
        };
        if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'x' || line[i + 1] == 'X') &&
            (isHexDigit(line[i + 2]) || line[i + 2] == '.')) {
            i += 2;
            digits(true);
            if (i < n && line[i] == '.') { // hexadecimal floating point: 0x1.8p3
                ++i;
                digits(true);
            }
            exponent("pP");
        } else if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'b' || line[i + 1] == 'B') &&
                   (line[i + 2] == '0' || line[i + 2] == '1')) {
            i += 2;
            digits(false);
        } else {
            digits(false);
            if (i < n && line[i] == '.' && !(i + 1 < n && line[i + 1] == '.')) { // 1.5, 1., .5
                ++i;
                digits(false);
            }
            exponent("eE");
        }
        if (i < n && std::string_view("lLfFdD").find(line[i]) != std::string_view::npos) ++i;
        push(out, pos, i, number_);
        return i;
    }

    size_t scan(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        const size_t n = line.size();
        if (isBlank(c)) {
            const size_t i = scan::blanksEnd(line, pos);
            push(out, pos, i, space_);
            return i;
        }
        if (startsWith(line, pos, "//")) {
            push(out, pos, n, comment_);
            return n;
        }
        if (startsWith(line, pos, "/**/")) { // an empty comment, not documentation
            push(out, pos, pos + 4, comment_);
            return pos + 4;
        }
        if (startsWith(line, pos, "/**")) return comment(line, pos, pos + 3, kDocumentation, state, out);
        if (startsWith(line, pos, "/*")) return comment(line, pos, pos + 2, kComment, state, out);
        if (startsWith(line, pos, "\"\"\"")) return textBlock(line, pos, pos + 3, state, out);
        if (c == '"' || c == '\'') return quoted(line, pos, c, out);
        if (isDigit(c) || (c == '.' && pos + 1 < n && isDigit(line[pos + 1])))
            return scanNumber(line, pos, out);
        if (isIdentifierStart(static_cast<unsigned char>(c))) {
            size_t end = pos + 1;
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
            const std::string_view word = line.substr(pos, end - pos);
            if (word == "non" && startsWith(line, end, "-sealed") &&
                !(end + 7 < n && isIdentifierPart(static_cast<unsigned char>(line[end + 7])))) {
                push(out, pos, end + 7, reserved_);
                return end + 7;
            }
            const int attr = wordAttribute(word);
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            return end;
        }
        push(out, pos, pos + 1, rules().symbols.find(c) != std::string::npos ? symbol_ : illegal_);
        return pos + 1;
    }

    int documentation_ = 0, reserved_ = 0, string_ = 0;
};

} // namespace

std::unique_ptr<Highlighter> makeJava() {
    return std::make_unique<JavaHighlighter>();
}

} // namespace tw::languages
