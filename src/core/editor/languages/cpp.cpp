#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <string>

namespace tw::languages {

namespace {

// Line states.
constexpr int kBlockComment = 2000;     // inside /* */
constexpr int kLineCommentMore = 2001;  // a // comment that a trailing backslash carries on
constexpr int kStringMore = 2002;       // a string that a trailing backslash carries on
constexpr int kCharMore = 2003;         // the same for a character literal
constexpr int kDirective = 2004;        // a preprocessor line that a trailing backslash carries on
constexpr int kDirectiveComment = 2005; // a /* */ comment opened inside a preprocessor line
constexpr int kAsmBlock = 2006;         // inside asm { }
constexpr int kAsmComment = 2007;       // a /* */ comment opened inside asm { }
constexpr int kAsmPending = 2008;       // asm at the end of a line: a { on the next one opens the body
constexpr int kRawString = 1 << 24;     // + a hash of the delimiter of an open raw string R"d( ... )d"
constexpr int kRawHashMask = (1 << 20) - 1;
constexpr size_t kRawDelimiterMax = 16;

enum class Mode { Code, Directive, Asm, AsmLine };

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;
using scan::startsWith;
using scan::onlyBlanksBefore;

bool endsWithBackslash(std::string_view line) {
    return !line.empty() && line.back() == '\\';
}

int rawHash(std::string_view delimiter) {
    return static_cast<int>(scan::fnv1a(delimiter) & kRawHashMask);
}

// A valid raw string delimiter byte: any but blanks, parentheses, backslash and quote.
bool isRawDelimiterByte(char c) {
    return c > ' ' && c != '(' && c != ')' && c != '\\' && c != '"' && static_cast<unsigned char>(c) < 0x7F;
}

const char* const kKeywords[] = {
    // C
    "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "else", "enum", "extern",
    "float", "for", "goto", "if", "inline", "int", "long", "register", "restrict", "return", "short",
    "signed", "sizeof", "static", "struct", "switch", "typedef", "typeof", "typeof_unqual", "union",
    "unsigned", "void", "volatile", "while", "_Alignas", "_Alignof", "_Atomic", "_BitInt", "_Bool",
    "_Complex", "_Decimal128", "_Decimal32", "_Decimal64", "_Generic", "_Imaginary", "_Noreturn",
    "_Static_assert", "_Thread_local",
    // C++
    "alignas", "alignof", "and", "and_eq", "asm", "bitand", "bitor", "bool", "catch", "char8_t", "char16_t",
    "char32_t", "class", "compl", "concept", "consteval", "constexpr", "constinit", "const_cast", "co_await",
    "co_return", "co_yield", "decltype", "delete", "dynamic_cast", "explicit", "export", "false", "final",
    "friend", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr", "operator", "or",
    "or_eq", "override", "private", "protected", "public", "reinterpret_cast", "requires", "static_assert",
    "static_cast", "template", "this", "thread_local", "throw", "true", "try", "typeid", "typename", "using",
    "virtual", "wchar_t", "xor", "xor_eq",
    // compiler extensions
    "_asm", "__asm", "__asm__", "__attribute__", "__cdecl", "__declspec", "__except", "__extension__",
    "__fastcall", "__finally", "__forceinline", "__inline", "__int16", "__int32", "__int64", "__int8",
    "__leave", "__restrict", "__stdcall", "__thiscall", "__try", "__typeof__", "__volatile__"};

LanguageRules cppRules() {
    LanguageRules r;
    r.name = QStringLiteral("C/C++");
    r.filter = QStringLiteral("C/C++ Files (*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Character"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Float"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Hexadecimal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Octal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.floatAttribute = QStringLiteral("Float");
    r.hexAttribute = QStringLiteral("Hexadecimal");
    r.octalAttribute = QStringLiteral("Octal");
    r.illegalAttribute = QStringLiteral("Illegal Char");
    r.symbols = "!%&()*+,-./:;<=>?[]^{|}~";
    r.words = {{{std::begin(kKeywords), std::end(kKeywords)}, QStringLiteral("Reserved Word")}};
    return r;
}

class CppHighlighter : public RuleHighlighter {
public:
    CppHighlighter() : RuleHighlighter(cppRules()) {
        assembler_ = require(u"Assembler");
        character_ = require(u"Character");
        preprocessor_ = require(u"Preprocessor");
        string_ = require(u"String");
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        const int from = state;
        state = 0;
        Mode mode = Mode::Code;
        size_t pos = 0;
        if (from >= kRawString && from <= (kRawString | kRawHashMask)) {
            pos = rawBody(line, 0, 0, from - kRawString, state, out);
        } else {
            switch (from) {
            case kBlockComment:
                pos = blockComment(line, 0, 0, kBlockComment, state, out);
                break;
            case kLineCommentMore:
                pos = lineComment(line, 0, state, out);
                break;
            case kStringMore:
                pos = quoted(line, 0, 0, '"', string_, kStringMore, state, out);
                break;
            case kCharMore:
                pos = quoted(line, 0, 0, '\'', character_, kCharMore, state, out);
                break;
            case kDirective:
                mode = Mode::Directive;
                break;
            case kDirectiveComment:
                mode = Mode::Directive;
                pos = blockComment(line, 0, 0, kDirectiveComment, state, out);
                break;
            case kAsmBlock:
                mode = Mode::Asm;
                break;
            case kAsmComment:
                mode = Mode::Asm;
                pos = blockComment(line, 0, 0, kAsmComment, state, out);
                break;
            case kAsmPending:
                pos = openAsmBody(line, 0, mode, state, out);
                break;
            default:
                break;
            }
        }
        while (pos < line.size()) {
            switch (mode) {
            case Mode::Code:
                pos = scanCode(line, pos, mode, state, out);
                break;
            case Mode::Directive:
                pos = scanDirective(line, pos, state, out);
                break;
            case Mode::Asm:
            case Mode::AsmLine:
                pos = scanAsm(line, pos, mode, state, out);
                break;
            }
        }
        if (state == 0) {
            if (mode == Mode::Directive && endsWithBackslash(line)) state = kDirective;
            if (mode == Mode::Asm) state = kAsmBlock;
        }
    }

private:
    // A /* */ comment from start, its text from bodyStart; more is the state when it stays open.
    size_t blockComment(std::string_view line, size_t start, size_t bodyStart, int more, int& state,
                        std::vector<Token>& out) const {
        const size_t close = line.find("*/", bodyStart);
        const size_t end = close == std::string_view::npos ? line.size() : close + 2;
        if (close == std::string_view::npos) state = more;
        push(out, start, end, comment_);
        return end;
    }

    // A // comment: a trailing backslash joins the next line to it.
    size_t lineComment(std::string_view line, size_t start, int& state, std::vector<Token>& out) const {
        if (endsWithBackslash(line)) state = kLineCommentMore;
        push(out, start, line.size(), comment_);
        return line.size();
    }

    // A string or character literal with backslash escapes; a trailing backslash carries it on.
    size_t quoted(std::string_view line, size_t start, size_t bodyStart, char quote, int attr, int more,
                  int& state, std::vector<Token>& out) const {
        const scan::Escaped body = scan::escapedBody(line, bodyStart, quote);
        if (body.continued) state = more;
        push(out, start, body.end, attr);
        return body.end;
    }

    // The body of a raw string up to )delimiter"; hash identifies the delimiter.
    size_t rawBody(std::string_view line, size_t start, size_t bodyStart, int hash, int& state,
                   std::vector<Token>& out) const {
        for (size_t p = line.find(')', bodyStart); p != std::string_view::npos; p = line.find(')', p + 1)) {
            const size_t d = line.substr(p + 1, kRawDelimiterMax + 1).find('"');
            if (d != std::string_view::npos && rawHash(line.substr(p + 1, d)) == hash) {
                push(out, start, p + d + 2, string_);
                return p + d + 2;
            }
        }
        state = kRawString + hash;
        push(out, start, line.size(), string_);
        return line.size();
    }

    // A string or character literal with its encoding prefix (L, u, U, u8, and R for raw
    // strings) at pos; returns pos when there is none.
    size_t scanLiteral(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        size_t i = pos;
        if (startsWith(line, i, "u8"))
            i += 2;
        else if (line[i] == 'L' || line[i] == 'u' || line[i] == 'U')
            ++i;
        if (i < line.size() && line[i] == 'R' && i + 1 < line.size() && line[i + 1] == '"') {
            size_t d = i + 2;
            while (d < line.size() && d - (i + 2) <= kRawDelimiterMax && isRawDelimiterByte(line[d]))
                ++d;
            if (d < line.size() && line[d] == '(' && d - (i + 2) <= kRawDelimiterMax)
                return rawBody(line, pos, d + 1, rawHash(line.substr(i + 2, d - (i + 2))), state, out);
            return pos; // no raw string: R is a name
        }
        if (i < line.size() && line[i] == '"')
            return quoted(line, pos, i + 1, '"', string_, kStringMore, state, out);
        if (i < line.size() && line[i] == '\'' && i > pos)
            return quoted(line, pos, i + 1, '\'', character_, kCharMore, state, out);
        return pos;
    }

    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t n = line.size();
        size_t i = pos;
        int attr = number_;
        // Digits with ' separators between them.
        auto digits = [&](bool hex) {
            while (i < n && (hex ? isHexDigit(line[i]) : isDigit(line[i]))) {
                ++i;
                if (i + 1 < n && line[i] == '\'' && (hex ? isHexDigit(line[i + 1]) : isDigit(line[i + 1])))
                    ++i;
            }
        };
        auto exponent = [&](std::string_view letters) {
            const size_t j = scan::exponentDigits(line, i, letters);
            if (j == i) return false;
            i = j;
            digits(false);
            return true;
        };
        if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'x' || line[i + 1] == 'X') &&
            (isHexDigit(line[i + 2]) || line[i + 2] == '.')) {
            i += 2;
            digits(true);
            if (i < n && line[i] == '.') {
                ++i;
                digits(true);
            }
            exponent("pP");
            attr = hex_;
        } else if (line[i] == '0' && i + 2 < n && (line[i + 1] == 'b' || line[i + 1] == 'B') &&
                   (line[i + 2] == '0' || line[i + 2] == '1')) {
            i += 2;
            digits(false);
        } else {
            digits(false);
            bool isFloat = false;
            if (i < n && line[i] == '.' && !(i + 1 < n && line[i + 1] == '.')) {
                isFloat = true;
                ++i;
                digits(false);
            }
            if (exponent("eE")) isFloat = true;
            if (isFloat)
                attr = float_;
            else if (line[pos] == '0' && i - pos > 1)
                attr = octal_;
        }
        while (i < n && scan::isWordPart(line[i]))
            ++i; // u, l, ll, f, z and user-defined suffixes
        push(out, pos, i, attr);
        return i;
    }

    size_t scanCode(std::string_view line, size_t pos, Mode& mode, int& state,
                    std::vector<Token>& out) const {
        const char c = line[pos];
        const size_t n = line.size();
        if (isBlank(c)) {
            const size_t i = scan::blanksEnd(line, pos);
            push(out, pos, i, space_);
            return i;
        }
        if (startsWith(line, pos, "//")) return lineComment(line, pos, state, out);
        if (startsWith(line, pos, "/*")) return blockComment(line, pos, pos + 2, kBlockComment, state, out);
        if (c == '#' && onlyBlanksBefore(line, pos)) {
            mode = Mode::Directive;
            return scanDirective(line, pos, state, out);
        }
        if (c == '"') return quoted(line, pos, pos + 1, '"', string_, kStringMore, state, out);
        if (c == '\'') return quoted(line, pos, pos + 1, '\'', character_, kCharMore, state, out);
        if (c == 'L' || c == 'u' || c == 'U' || c == 'R') {
            if (const size_t end = scanLiteral(line, pos, state, out); end != pos) return end;
        }
        if (isDigit(c) || (c == '.' && pos + 1 < n && isDigit(line[pos + 1])))
            return scanNumber(line, pos, out);
        if (isIdentifierStart(static_cast<unsigned char>(c))) {
            size_t end = pos + 1;
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
            const std::string_view word = line.substr(pos, end - pos);
            const int attr = wordAttribute(word);
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            if (word == "asm" || word == "_asm" || word == "__asm" || word == "__asm__")
                return afterAsmKeyword(line, end, word[0] == '_' && word != "__asm__", mode, state, out);
            return end;
        }
        if (c == '\\' && pos + 1 == n) { // a line splice
            push(out, pos, n, symbol_);
            return n;
        }
        push(out, pos, pos + 1, rules().symbols.find(c) != std::string::npos ? symbol_ : illegal_);
        return pos + 1;
    }

    // After asm, _asm or __asm: a { opens an asm body (on this line or a later one); the
    // one-statement form "__asm mov eax, 1" makes the rest of the line Assembler; the
    // asm("...") and asm volatile (...) forms stay code.
    size_t afterAsmKeyword(std::string_view line, size_t pos, bool statementForm, Mode& mode, int& state,
                           std::vector<Token>& out) const {
        const size_t i = scan::blanksEnd(line, pos);
        if (i == line.size() || line[i] == '{') return openAsmBody(line, pos, mode, state, out);
        if (!statementForm || !isIdentifierStart(static_cast<unsigned char>(line[i]))) return pos;
        size_t end = i;
        while (end < line.size() && isIdentifierPart(static_cast<unsigned char>(line[end])))
            ++end;
        const std::string_view next = line.substr(i, end - i);
        if (next == "volatile" || next == "__volatile__" || next == "goto" || next == "inline") return pos;
        push(out, pos, i, space_);
        mode = Mode::AsmLine;
        return i;
    }

    // Blanks and the { that opens an asm body; blanks up to the end of the line leave the
    // body still to come; anything else is code.
    size_t openAsmBody(std::string_view line, size_t pos, Mode& mode, int& state,
                       std::vector<Token>& out) const {
        const size_t i = scan::blanksEnd(line, pos);
        if (i == line.size()) {
            push(out, pos, i, space_);
            state = kAsmPending;
            return i;
        }
        if (line[i] != '{') return pos;
        push(out, pos, i, space_);
        push(out, i, i + 1, symbol_);
        mode = Mode::Asm;
        return i + 1;
    }

    // Inside a preprocessor line: text up to a comment is Preprocessor (quoted text may
    // hold comment markers).
    size_t scanDirective(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        if (startsWith(line, pos, "//")) return lineComment(line, pos, state, out);
        if (startsWith(line, pos, "/*"))
            return blockComment(line, pos, pos + 2, kDirectiveComment, state, out);
        size_t i = pos;
        while (i < line.size() && !startsWith(line, i, "//") && !startsWith(line, i, "/*")) {
            const char c = line[i++];
            if (c != '"' && c != '\'') continue;
            while (i < line.size() && line[i] != c)
                i += line[i] == '\\' ? 2 : 1;
            i = std::min(i + 1, line.size());
        }
        push(out, pos, i, preprocessor_);
        return i;
    }

    // Inside an asm body: instructions as Assembler; ; starts an assembler comment, and
    // C comments stay comments; } closes the body.
    size_t scanAsm(std::string_view line, size_t pos, Mode& mode, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        const size_t n = line.size();
        if (isBlank(c)) {
            const size_t i = scan::blanksEnd(line, pos);
            push(out, pos, i, space_);
            return i;
        }
        if (c == ';' || startsWith(line, pos, "//")) {
            push(out, pos, n, comment_);
            return n;
        }
        if (startsWith(line, pos, "/*"))
            return blockComment(line, pos, pos + 2, mode == Mode::Asm ? kAsmComment : kBlockComment, state,
                                out);
        if (c == '}') {
            mode = Mode::Code;
            push(out, pos, pos + 1, symbol_);
            return pos + 1;
        }
        size_t i = pos + 1;
        while (i < n && !isBlank(line[i]) && line[i] != ';' && line[i] != '}' && !startsWith(line, i, "//") &&
               !startsWith(line, i, "/*"))
            ++i;
        push(out, pos, i, assembler_);
        return i;
    }

    int assembler_ = 0, character_ = 0, preprocessor_ = 0, string_ = 0;
};

} // namespace

std::unique_ptr<Highlighter> makeCpp() {
    return std::make_unique<CppHighlighter>();
}

} // namespace tw::languages
