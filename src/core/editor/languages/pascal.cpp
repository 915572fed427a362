#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <iterator>
#include <string>
#include <unordered_set>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;

namespace {

// Comment-like blocks, tried in this order: compiler directives before plain comments.
struct Block {
    std::string_view open, close;
    bool directive;
};
constexpr Block kBlocks[] = {{"{$", "}", true}, {"(*$", "*)", true}, {"{", "}", false}, {"(*", "*)", false}};
constexpr int kBlockCount = static_cast<int>(std::size(kBlocks));

// Line states: the low part is 0, or 1 + the index of the block left open; kAsm is added
// inside an asm ... end body; kClause is set inside a property, external or exports clause,
// where read, write, index, name, default... are directives.
constexpr int kAsm = 2000;
constexpr int kClause = 1 << 16;

// Words reserved everywhere.
const char* const kReserved[] = {
    // clang-format off
    "and", "array", "as", "asm", "begin", "case", "class", "const", "constructor", "destructor",
    "dispinterface", "div", "do", "downto", "else", "end", "except", "exports", "file", "finalization",
    "finally", "for", "function", "goto", "if", "implementation", "in", "inherited", "initialization",
    "inline", "interface", "is", "label", "library", "mod", "nil", "not", "object", "of", "or", "out",
    "packed", "procedure", "program", "property", "raise", "record", "repeat", "resourcestring", "set", "shl",
    "shr", "string", "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var", "while",
    "with", "xor"
    // clang-format on
};

// Directives: reserved where they stand as directives, identifiers where they are used as names
// (after a dot, or before ':', ':=', '(', ',', '=' and the like).
const char* const kDirectives[] = {
    "absolute",  "abstract", "assembler",    "at",       "automated",   "cdecl",    "contains", "deprecated",
    "dispid",    "dynamic",  "experimental", "export",   "external",    "final",    "forward",  "helper",
    "on",        "operator", "overload",     "override", "package",     "pascal",   "platform", "private",
    "protected", "public",   "published",    "register", "reintroduce", "requires", "safecall", "sealed",
    "static",    "stdcall",  "strict",       "unsafe",   "varargs",     "virtual",  "winapi"};

// Directives only inside a property, external or exports clause.
const char* const kClauseDirectives[] = {"default", "delayed",   "implements", "index",
                                         "name",    "nodefault", "read",       "readonly",
                                         "stored",  "write",     "writeonly"};

LanguageRules pascalRules() {
    LanguageRules r;
    r.name = QStringLiteral("Object Pascal");
    r.filter = QStringLiteral("Pascal Files (*.pas;*.pp;*.dpr;*.dpk;*.inc)|*.pas;*.pp;*.dpr;*.dpk;*.inc");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Character"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Float"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Hexadecimal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.floatAttribute = QStringLiteral("Float");
    r.hexAttribute = QStringLiteral("Hexadecimal");
    r.words = {{{std::begin(kReserved), std::end(kReserved)}, QStringLiteral("Reserved Word")}};
    return r;
}

class PascalHighlighter : public RuleHighlighter {
public:
    PascalHighlighter() : RuleHighlighter(pascalRules()) {
        assembler_ = require(u"Assembler");
        character_ = require(u"Character");
        preprocessor_ = require(u"Preprocessor");
        reserved_ = require(u"Reserved Word");
        string_ = require(u"String");
        for (const char* w : kDirectives)
            directives_.insert(w);
        for (const char* w : kClauseDirectives)
            clauseDirectives_.insert(w);
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        Scan s;
        s.clause = (state & kClause) != 0;
        const int mode = state & ~kClause;
        s.inAsm = mode >= kAsm && mode <= kAsm + kBlockCount;
        s.block = s.inAsm ? mode - kAsm : (mode >= 0 && mode <= kBlockCount ? mode : 0);
        size_t pos = 0;
        if (s.block > 0) pos = scanBlock(line, 0, 0, s, out);
        while (pos < line.size())
            pos = s.inAsm ? scanAsm(line, pos, s, out) : scanCode(line, pos, s, out);
        state = (s.inAsm ? kAsm : 0) + s.block + (s.clause ? kClause : 0);
    }

private:
    struct Scan {
        bool inAsm = false;
        bool clause = false;
        bool clauseJustEnded = false; // "default;" may follow an array property's ';'
        int block = 0;                // 1 + index of the block left open at the end of the line
        int depth = 0;                // brackets inside the current line
    };

    // The block s.block - 1 from start, its text after the opener from bodyStart; s.block
    // stays set when the block runs past the end of the line.
    size_t scanBlock(std::string_view line, size_t start, size_t bodyStart, Scan& s,
                     std::vector<Token>& out) const {
        const Block& b = kBlocks[s.block - 1];
        const int attr = b.directive ? preprocessor_ : comment_;
        const size_t close = line.find(b.close, bodyStart);
        if (close == std::string_view::npos) {
            push(out, start, line.size(), attr);
            return line.size();
        }
        s.block = 0;
        push(out, start, close + b.close.size(), attr);
        return close + b.close.size();
    }

    // A comment or directive at pos: returns its end, or pos when there is none.
    size_t scanComment(std::string_view line, size_t pos, Scan& s, std::vector<Token>& out) const {
        // Every comment and directive opens with one of these bytes.
        const char c = line[pos];
        if (c != '/' && c != '{' && c != '(') return pos;
        if (line.substr(pos, 2) == "//") {
            push(out, pos, line.size(), comment_);
            return line.size();
        }
        for (int b = 0; b < kBlockCount; ++b) {
            if (line.substr(pos, kBlocks[b].open.size()) != kBlocks[b].open) continue;
            s.block = b + 1;
            return scanBlock(line, pos, pos + kBlocks[b].open.size(), s, out);
        }
        return pos;
    }

    size_t scanCode(std::string_view line, size_t pos, Scan& s, std::vector<Token>& out) const {
        const char c = line[pos];
        if (isBlank(c)) {
            size_t i = pos;
            while (i < line.size() && isBlank(line[i]))
                ++i;
            push(out, pos, i, space_);
            return i;
        }
        if (const size_t end = scanComment(line, pos, s, out); end != pos) return end;
        const size_t n = line.size();
        if (c == '\'') { // '' inside a string is a quote
            size_t i = pos + 1;
            while (i < n) {
                if (line[i] == '\'') {
                    if (i + 1 < n && line[i + 1] == '\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(out, pos, i, string_);
            return i;
        }
        if (c == '#') { // #13 or #$0D: a character by its code
            size_t i = pos + 1;
            if (i + 1 < n && line[i] == '$' && isHexDigit(line[i + 1])) {
                ++i;
                while (i < n && isHexDigit(line[i]))
                    ++i;
            } else {
                while (i < n && isDigit(line[i]))
                    ++i;
            }
            if (i > pos + 1) {
                push(out, pos, i, character_);
                return i;
            }
        }
        if (c == '$' && pos + 1 < n && isHexDigit(line[pos + 1])) {
            size_t i = pos + 1;
            while (i < n && isHexDigit(line[i]))
                ++i;
            push(out, pos, i, hex_);
            return i;
        }
        if ((c == '%' && pos + 1 < n && (line[pos + 1] == '0' || line[pos + 1] == '1')) ||
            (c == '&' && pos + 1 < n && line[pos + 1] >= '0' && line[pos + 1] <= '7')) {
            // Binary %1010 and octal &17 literals.
            const char high = c == '%' ? '1' : '7';
            size_t i = pos + 1;
            while (i < n && line[i] >= '0' && line[i] <= high)
                ++i;
            push(out, pos, i, number_);
            return i;
        }
        if (c == '&' && pos + 1 < n && isIdentifierStart(static_cast<unsigned char>(line[pos + 1]))) {
            // &begin: a reserved word used as a plain name.
            size_t i = pos + 1;
            while (i < n && isIdentifierPart(static_cast<unsigned char>(line[i])))
                ++i;
            push(out, pos, i, identifier_);
            s.clauseJustEnded = false;
            return i;
        }
        if (isDigit(c)) return scanNumber(line, pos, out);
        if (isIdentifierStart(static_cast<unsigned char>(c))) return scanWord(line, pos, s, out);
        switch (c) {
        case '(':
        case '[':
            ++s.depth;
            break;
        case ')':
        case ']':
            --s.depth;
            break;
        default:
            break;
        }
        const bool endsClause = c == ';' && s.clause && s.depth <= 0;
        if (endsClause) s.clause = false;
        s.clauseJustEnded = endsClause;
        push(out, pos, pos + 1, symbol_);
        return pos + 1;
    }

    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t n = line.size();
        size_t i = pos;
        bool isFloat = false;
        while (i < n && isDigit(line[i]))
            ++i;
        if (i + 1 < n && line[i] == '.' && isDigit(line[i + 1])) { // not "1..9"
            isFloat = true;
            ++i;
            while (i < n && isDigit(line[i]))
                ++i;
        }
        if (i < n && (line[i] == 'e' || line[i] == 'E')) {
            size_t j = i + 1;
            if (j < n && (line[j] == '+' || line[j] == '-')) ++j;
            if (j < n && isDigit(line[j])) {
                isFloat = true;
                i = j;
                while (i < n && isDigit(line[i]))
                    ++i;
            }
        }
        push(out, pos, i, isFloat ? float_ : number_);
        return i;
    }

    size_t scanWord(std::string_view line, size_t pos, Scan& s, std::vector<Token>& out) const {
        size_t end = pos + 1;
        while (end < line.size() && isIdentifierPart(static_cast<unsigned char>(line[end])))
            ++end;
        const std::string word = asciiLower(line.substr(pos, end - pos));
        bool reserved = wordAttribute(word) >= 0;
        if (reserved) {
            if (word == "asm") s.inAsm = true;
            if (word == "property" || word == "exports") s.clause = true;
        } else if (word == "reference") { // reference to procedure
            const size_t next = nextNonBlank(line, end);
            reserved =
                scan::equalsNoCase(line.substr(next, 2), "to") &&
                !(next + 2 < line.size() && isIdentifierPart(static_cast<unsigned char>(line[next + 2])));
        } else if (directives_.count(word)) {
            reserved = standsAsDirective(line, pos, end);
            if (reserved && word == "external") s.clause = true;
        } else if (clauseDirectives_.count(word)) {
            reserved =
                (s.clause || (s.clauseJustEnded && word == "default")) && standsAsDirective(line, pos, end);
        } else if (word == "message") {
            // procedure WMSize(var Message: TWMSize); message WM_SIZE;
            const size_t before = previousNonBlank(line, pos);
            const size_t after = nextNonBlank(line, end);
            reserved = before < pos && line[before] == ';' && after < line.size() &&
                       isIdentifierStart(static_cast<unsigned char>(line[after]));
        }
        s.clauseJustEnded = false;
        push(out, pos, end, reserved ? reserved_ : identifier_);
        return end;
    }

    static size_t previousNonBlank(std::string_view line, size_t pos) {
        size_t i = pos;
        while (i > 0 && isBlank(line[i - 1]))
            --i;
        return i > 0 ? i - 1 : pos; // pos: nothing before
    }
    static size_t nextNonBlank(std::string_view line, size_t pos) {
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        return pos;
    }

    // False where the word is used as a name: a member after a dot, or followed by what
    // follows names in declarations and expressions.
    static bool standsAsDirective(std::string_view line, size_t start, size_t end) {
        const size_t before = previousNonBlank(line, start);
        if (before < start && line[before] == '.' && (before == 0 || line[before - 1] != '.')) return false;
        const size_t after = nextNonBlank(line, end);
        if (after >= line.size()) return true;
        return std::string_view(":(.,=[])^").find(line[after]) == std::string_view::npos;
    }

    // Inside asm ... end: instructions are Assembler up to the "end" that closes the body;
    // comments and directives keep their own colours.
    size_t scanAsm(std::string_view line, size_t pos, Scan& s, std::vector<Token>& out) const {
        const char c = line[pos];
        const size_t n = line.size();
        if (isBlank(c)) {
            size_t i = pos;
            while (i < n && isBlank(line[i]))
                ++i;
            push(out, pos, i, space_);
            return i;
        }
        if (const size_t end = scanComment(line, pos, s, out); end != pos) return end;
        size_t end = pos + 1;
        if (isIdentifierStart(static_cast<unsigned char>(c))) {
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
            const bool label = pos > 0 && line[pos - 1] == '@'; // @@end: a local label
            if (!label && scan::equalsNoCase(line.substr(pos, end - pos), "end")) {
                s.inAsm = false;
                push(out, pos, end, reserved_);
                return end;
            }
        } else if (c == '\'' || c == '"') { // quoted operands, so that 'end' ends nothing
            const size_t close = line.find(c, pos + 1);
            end = close == std::string_view::npos ? n : close + 1;
        } else if (isDigit(c)) {
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
        }
        if (!out.empty() && out.back().attribute == assembler_ &&
            out.back().start + out.back().length == static_cast<int>(pos))
            out.back().length += static_cast<int>(end - pos);
        else
            push(out, pos, end, assembler_);
        return end;
    }

    int assembler_ = 0, character_ = 0, preprocessor_ = 0, reserved_ = 0, string_ = 0;
    std::unordered_set<std::string> directives_, clauseDirectives_;
};

} // namespace

std::unique_ptr<Highlighter> makePascal() {
    return std::make_unique<PascalHighlighter>();
}

} // namespace tw::languages
