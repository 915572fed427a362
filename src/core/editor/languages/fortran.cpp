#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <string>

namespace tw::languages {

using scan::isDigit;
using scan::isAlpha;

namespace {

// Dotted operators and logical constants: .EQ., .AND., .TRUE. ...
bool isDottedWord(std::string_view lower) {
    for (std::string_view w :
         {"eq", "ne", "lt", "le", "gt", "ge", "and", "or", "not", "eqv", "neqv", "true", "false"})
        if (lower == w) return true;
    return false;
}

// The length of ".word." at pos when word is letters only (0 otherwise).
size_t dottedLength(std::string_view line, size_t pos) {
    if (pos >= line.size() || line[pos] != '.') return 0;
    size_t i = pos + 1;
    while (i < line.size() && isAlpha(line[i]))
        ++i;
    if (i == pos + 1 || i >= line.size() || line[i] != '.') return 0;
    return i + 1 - pos;
}

// Fixed source form: a C, c, * or ! in the first column makes the line a comment; after
// that, ! starts a comment anywhere outside strings.
class FortranHighlighter final : public RuleHighlighter {
public:
    using RuleHighlighter::RuleHighlighter;

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        state = 0;
        if (!line.empty() && (line[0] == 'C' || line[0] == 'c' || line[0] == '*' || line[0] == '!')) {
            push(out, 0, line.size(), comment_);
            return;
        }
        size_t pos = 0;
        while (pos < line.size())
            pos = scan(line, pos, state, out);
    }

private:
    size_t scan(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        if (const size_t n = dottedLength(line, pos);
            n > 0 && isDottedWord(asciiLower(line.substr(pos + 1, n - 2)))) {
            push(out, pos, pos + n, reserved_);
            return pos + n;
        }
        if (isDigit(c) || (c == '.' && pos + 1 < line.size() && isDigit(line[pos + 1])))
            return number(line, pos, out);
        if (isAlpha(c)) {
            // B'0101', O'17', Z'FF': binary, octal and hexadecimal constants.
            const char q = pos + 1 < line.size() ? line[pos + 1] : 0;
            if ((q == '\'' || q == '"') && std::string_view("bBoOzZ").find(c) != std::string_view::npos) {
                const size_t close = line.find(q, pos + 2);
                const size_t end = close == std::string_view::npos ? line.size() : close + 1;
                push(out, pos, end, number_);
                return end;
            }
        }
        return scanOne(line, pos, state, out);
    }

    size_t number(std::string_view line, size_t pos, std::vector<Token>& out) const {
        size_t i = pos;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        // A point belongs to the number unless it opens a dotted operator: 1.EQ.2 is 1 .EQ. 2,
        // while 1.E5 and 1.D0 are reals.
        if (i < line.size() && line[i] == '.' && (i == pos || dottedLength(line, i) == 0)) {
            ++i;
            while (i < line.size() && isDigit(line[i]))
                ++i;
        }
        if (i < line.size() && std::string_view("eEdDqQ").find(line[i]) != std::string_view::npos) {
            size_t j = i + 1;
            if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
            if (j < line.size() && isDigit(line[j])) {
                i = j;
                while (i < line.size() && isDigit(line[i]))
                    ++i;
            }
        }
        // A kind parameter: 1.0_dp, 42_8.
        if (i + 1 < line.size() && line[i] == '_' &&
            isIdentifierPart(static_cast<unsigned char>(line[i + 1]))) {
            ++i;
            while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                ++i;
        }
        push(out, pos, i, number_);
        return i;
    }

    int reserved_ = require(u"Reserved Word");
};

} // namespace

std::unique_ptr<Highlighter> makeFortran() {
    LanguageRules r;
    r.name = QStringLiteral("Fortran");
    r.filter = QStringLiteral("Fortran Files (*.for)|*.for");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"!"};
    r.strings = {{"'", "'", "String", 0, true}, {"\"", "\"", "String", 0, true}};
    r.identifierStart = ""; // names begin with a letter
    // clang-format off
    r.words = {
        {{"abstract", "allocatable", "allocate", "assign", "assignment", "associate", "asynchronous",
          "backspace", "bind", "block", "blockdata", "call", "case", "character", "class", "close", "common",
          "complex", "concurrent", "contains", "contiguous", "continue", "critical", "cycle", "data",
          "deallocate", "default", "deferred", "dimension", "do", "double", "doubleprecision", "elemental",
          "else", "elseif", "elsewhere", "end", "endassociate", "endblock", "endblockdata", "enddo",
          "endenum", "endfile", "endforall", "endfunction", "endif", "endinterface", "endmodule",
          "endprocedure", "endprogram", "endselect", "endsubmodule", "endsubroutine", "endtype", "endwhere",
          "entry", "enum", "enumerator", "equivalence", "error", "exit", "extends", "external", "final",
          "flush", "forall", "format", "function", "generic", "go", "goto", "if", "implicit", "import",
          "impure", "include", "inquire", "integer", "intent", "interface", "intrinsic", "logical", "module",
          "namelist", "non_overridable", "none", "nopass", "nullify", "only", "open", "operator", "optional",
          "parameter", "pass", "pause", "pointer", "precision", "print", "private", "procedure", "program",
          "protected", "public", "pure", "read", "real", "recursive", "result", "return", "rewind", "save",
          "select", "sequence", "stop", "submodule", "subroutine", "target", "then", "to", "type", "use",
          "value", "volatile", "wait", "where", "while", "write"},
         "Reserved Word"}};
    // clang-format on
    return std::make_unique<FortranHighlighter>(std::move(r));
}

} // namespace tw::languages
