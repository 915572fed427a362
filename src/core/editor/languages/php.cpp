#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <cstdint>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;
using scan::startsWith;
using scan::startsWithNoCase;
using scan::isWordStart;
using scan::isWordPart;

namespace {

// Line state: a kind in bits 24..28 with its data in bits 0..23. A text starts inside PHP
// code (snippets seldom carry the opening tag); after ?> it is template text until <?php.
constexpr int kKindShift = 24;
constexpr int kDataMask = (1 << kKindShift) - 1;
enum Kind : int {
    kCode = 0,
    kComment = 1, // inside /* */
    kString = 2,  // inside a quoted string; data: the quote byte
    kHeredoc = 3, // inside <<<ID ... ID; data: hash of ID
    kOutside = 4  // template text outside the PHP tags
};

int labelHash(std::string_view s) {
    return static_cast<int>(scan::fnv1a(s) & static_cast<std::uint32_t>(kDataMask));
}

const char* const kReserved[] = {
    // keywords and language constructs
    "__halt_compiler", "abstract", "and", "array", "as", "break", "callable", "case", "catch", "class",
    "clone", "const", "continue", "declare", "default", "die", "do", "echo", "else", "elseif", "empty",
    "enddeclare", "endfor", "endforeach", "endif", "endswitch", "endwhile", "enum", "eval", "exit", "extends",
    "final", "finally", "fn", "for", "foreach", "function", "global", "goto", "if", "implements", "include",
    "include_once", "instanceof", "insteadof", "interface", "isset", "list", "match", "namespace", "new",
    "or", "print", "private", "protected", "public", "readonly", "require", "require_once", "return",
    "static", "switch", "throw", "trait", "try", "unset", "use", "var", "while", "xor", "yield",
    // magic constants, literals and type names
    "__class__", "__dir__", "__file__", "__function__", "__line__", "__method__", "__namespace__",
    "__trait__", "true", "false", "null", "self", "parent", "bool", "boolean", "int", "integer", "float",
    "double", "string", "object", "iterable", "mixed", "void", "never", "resource",
    // common built-in functions
    "array_filter", "array_key_exists", "array_keys", "array_map", "array_merge", "array_pop", "array_push",
    "array_search", "array_shift", "array_slice", "array_splice", "array_unique", "array_unshift",
    "array_values", "basename", "call_user_func", "call_user_func_array", "ceil", "chr", "class_exists",
    "compact", "count", "date", "define", "defined", "dirname", "explode", "extract", "fclose", "feof",
    "fgets", "file_exists", "file_get_contents", "file_put_contents", "floor", "fopen", "fread",
    "func_get_args", "function_exists", "fwrite", "get_class", "header", "htmlspecialchars", "implode",
    "in_array", "intval", "is_array", "is_bool", "is_callable", "is_dir", "is_file", "is_int", "is_null",
    "is_numeric", "is_object", "is_string", "json_decode", "json_encode", "ksort", "lcfirst", "ltrim", "max",
    "md5", "method_exists", "min", "mkdir", "mktime", "nl2br", "number_format", "ob_get_clean", "ob_start",
    "ord", "preg_match", "preg_match_all", "preg_quote", "preg_replace", "preg_replace_callback",
    "preg_split", "print_r", "printf", "rand", "range", "round", "rtrim", "serialize", "session_start",
    "setcookie", "sort", "sprintf", "str_contains", "str_pad", "str_repeat", "str_replace", "str_split",
    "str_starts_with", "strcmp", "strip_tags", "stripslashes", "strlen", "strpos", "strrpos", "strtolower",
    "strtotime", "strtoupper", "substr", "time", "trim", "ucfirst", "ucwords", "unlink", "unserialize",
    "urlencode", "usort", "var_dump", "var_export"};

template <size_t N> std::vector<std::string> wordsOf(const char* const (&list)[N]) {
    return {list, list + N};
}

class PhpHighlighter final : public RuleHighlighter {
public:
    explicit PhpHighlighter(LanguageRules rules)
        : RuleHighlighter(std::move(rules)), string_(require(u"String")), variableAttr_(require(u"Variable")),
          reserved_(require(u"Reserved Word")) {}

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

private:
    // The end of a string whose body starts at pos, or npos when it goes on past the line.
    static size_t stringEnd(std::string_view line, size_t pos, char quote) {
        for (size_t i = pos; i < line.size(); ++i) {
            if (line[i] == '\\')
                ++i;
            else if (line[i] == quote)
                return i + 1;
        }
        return std::string_view::npos;
    }
    // The length of an opening tag at pos (<?php, <?=, or <? before a blank), 0 if none.
    static size_t openTag(std::string_view line, size_t pos) {
        if (!startsWith(line, pos, "<?")) return 0;
        if (startsWithNoCase(line, pos + 2, "php") && (pos + 5 == line.size() || !isWordPart(line[pos + 5])))
            return 5;
        if (pos + 2 < line.size() && line[pos + 2] == '=') return 3;
        if (pos + 2 == line.size() || isBlank(line[pos + 2])) return 2;
        return 0; // <?xml and the like are text
    }
    static size_t scanNumber(std::string_view line, size_t pos);
    // Template text from pos up to an opening tag; returns where PHP code starts, or the line end.
    size_t scanOutside(std::string_view line, size_t pos, int& kind, std::vector<Token>& out) const;

    int string_, variableAttr_, reserved_;
};

size_t PhpHighlighter::scanNumber(std::string_view line, size_t pos) {
    size_t i = pos;
    auto digits = [&](auto accept) {
        while (i < line.size() &&
               (accept(line[i]) || (line[i] == '_' && i + 1 < line.size() && accept(line[i + 1]))))
            ++i;
    };
    if (line[i] == '0' && i + 2 < line.size()) {
        const char p = asciiLowerByte(line[i + 1]);
        auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
        auto bin = [](char c) { return c == '0' || c == '1'; };
        auto oct = [](char c) { return c >= '0' && c <= '7'; };
        if (p == 'x' && hex(line[i + 2])) {
            i += 2;
            digits(hex);
            return i;
        }
        if (p == 'b' && bin(line[i + 2])) {
            i += 2;
            digits(bin);
            return i;
        }
        if (p == 'o' && oct(line[i + 2])) {
            i += 2;
            digits(oct);
            return i;
        }
    }
    digits(isDigit);
    if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1])) {
        ++i;
        digits(isDigit);
    }
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        if (j < line.size() && isDigit(line[j])) {
            i = j;
            digits(isDigit);
        }
    }
    return i;
}

size_t PhpHighlighter::scanOutside(std::string_view line, size_t pos, int& kind,
                                   std::vector<Token>& out) const {
    while (pos < line.size()) {
        if (const size_t tag = openTag(line, pos)) {
            push(out, pos, pos + tag, reserved_);
            kind = kCode;
            return pos + tag;
        }
        size_t i = pos;
        if (isBlank(line[pos])) {
            while (i < line.size() && isBlank(line[i]))
                ++i;
            push(out, pos, i, space_);
        } else {
            ++i;
            while (i < line.size() && !isBlank(line[i]) && !openTag(line, i))
                ++i;
            push(out, pos, i, identifier_);
        }
        pos = i;
    }
    return pos;
}

void PhpHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    int kind = (state >> kKindShift) & 0x1F;
    const int data = state & kDataMask;
    size_t pos = 0;
    int next = -1; // the state a heredoc opened on this line leaves for the next one

    switch (kind) {
    case kComment: {
        const size_t close = line.find("*/");
        pos = close == std::string_view::npos ? line.size() : close + 2;
        push(out, 0, pos, comment_);
        if (close == std::string_view::npos) return;
        break;
    }
    case kString: {
        const size_t end = stringEnd(line, 0, static_cast<char>(data));
        pos = end == std::string_view::npos ? line.size() : end;
        push(out, 0, pos, string_);
        if (end == std::string_view::npos) return;
        break;
    }
    case kHeredoc: {
        // The closing label may be indented and followed by ; , ) and the like.
        size_t a = 0;
        while (a < line.size() && isBlank(line[a]))
            ++a;
        size_t b = a;
        while (b < line.size() && isWordPart(line[b]))
            ++b;
        if (b == a || labelHash(line.substr(a, b - a)) != data) {
            push(out, 0, line.size(), string_);
            return;
        }
        push(out, 0, a, space_);
        push(out, a, b, string_);
        pos = b;
        break;
    }
    case kOutside:
        pos = scanOutside(line, 0, kind, out);
        if (kind == kOutside) return;
        break;
    default:
        break;
    }
    kind = kCode;

    // A name after -> or ?-> is a property or method and a name after "function" is being
    // declared: keywords are allowed there.
    bool nameOnly = false;
    while (pos < line.size()) {
        const char c = line[pos];
        const bool wasNameOnly = nameOnly;
        nameOnly = false;
        if (isBlank(c)) {
            pos = scanOne(line, pos, kind, out);
            nameOnly = wasNameOnly;
            continue;
        }
        if (startsWith(line, pos, "?>")) {
            push(out, pos, pos + 2, reserved_);
            kind = kOutside;
            pos = scanOutside(line, pos + 2, kind, out);
            continue;
        }
        if (const size_t tag = openTag(line, pos)) {
            push(out, pos, pos + tag, reserved_);
            pos += tag;
            continue;
        }
        // Line comments end at the line end or at a closing tag; #[ opens an attribute.
        if ((c == '#' && !startsWith(line, pos, "#[")) || startsWith(line, pos, "//")) {
            const size_t close = line.find("?>", pos);
            const size_t end = close == std::string_view::npos ? line.size() : close;
            push(out, pos, end, comment_);
            pos = end;
            continue;
        }
        if (startsWith(line, pos, "/*")) {
            const size_t close = line.find("*/", pos + 2);
            if (close == std::string_view::npos) {
                push(out, pos, line.size(), comment_);
                kind = kComment;
                break;
            }
            push(out, pos, close + 2, comment_);
            pos = close + 2;
            continue;
        }
        if (c == '"' || c == '\'' || c == '`') {
            const size_t end = stringEnd(line, pos + 1, c);
            if (end == std::string_view::npos) {
                push(out, pos, line.size(), string_);
                kind = kString;
                next = kString << kKindShift | static_cast<unsigned char>(c);
                break;
            }
            push(out, pos, end, string_);
            pos = end;
            continue;
        }
        // <<<ID, <<<"ID" (heredoc) and <<<'ID' (nowdoc): the text runs from the next line.
        if (startsWith(line, pos, "<<<")) {
            size_t i = pos + 3;
            while (i < line.size() && isBlank(line[i]))
                ++i;
            const char quote = i < line.size() && (line[i] == '"' || line[i] == '\'') ? line[i] : 0;
            const size_t labelStart = quote ? i + 1 : i;
            size_t labelEnd = labelStart;
            if (labelEnd < line.size() && isWordStart(line[labelEnd]))
                while (labelEnd < line.size() && isWordPart(line[labelEnd]))
                    ++labelEnd;
            const bool closed = !quote || (labelEnd < line.size() && line[labelEnd] == quote);
            if (labelEnd > labelStart && closed) {
                const size_t end = quote ? labelEnd + 1 : labelEnd;
                push(out, pos, end, string_);
                next = kHeredoc << kKindShift | labelHash(line.substr(labelStart, labelEnd - labelStart));
                pos = end;
                continue;
            }
        }
        if (c == '$') {
            size_t i = pos + 1;
            while (i < line.size() && line[i] == '$')
                ++i; // $$name: a variable variable
            if (i < line.size() && isWordStart(line[i])) {
                while (i < line.size() && isWordPart(line[i]))
                    ++i;
                push(out, pos, i, variableAttr_);
                pos = i;
                continue;
            }
            // No name follows: every $ of the run is a symbol, all at once (reading the run
            // again from each of them would be quadratic).
            for (; pos < i; ++pos)
                push(out, pos, pos + 1, symbol_);
            continue;
        }
        if (isDigit(c) || (c == '.' && pos + 1 < line.size() && isDigit(line[pos + 1]))) {
            const size_t end = scanNumber(line, pos);
            push(out, pos, end, number_);
            pos = end;
            continue;
        }
        if (isWordStart(c)) {
            size_t i = pos + 1;
            while (i < line.size() && isWordPart(line[i]))
                ++i;
            const std::string_view word = line.substr(pos, i - pos);
            const int attr = wasNameOnly ? -1 : wordAttribute(word);
            push(out, pos, i, attr >= 0 ? attr : identifier_);
            nameOnly = scan::equalsNoCase(word, "function");
            pos = i;
            continue;
        }
        if (startsWith(line, pos, "->") || startsWith(line, pos, "?->")) {
            const size_t n = c == '?' ? 3 : 2;
            for (size_t k = 0; k < n; ++k)
                push(out, pos + k, pos + k + 1, symbol_);
            pos += n;
            nameOnly = true;
            continue;
        }
        pos = scanOne(line, pos, kind, out);
    }
    if (next >= 0 && kind != kOutside)
        state = next;
    else
        state = kind << kKindShift;
}

} // namespace

std::unique_ptr<Highlighter> makePhp() {
    LanguageRules r;
    r.name = QStringLiteral("PHP");
    r.filter = QStringLiteral("PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    // PhpHighlighter scans comments, strings, tags, variables and numbers itself; the table
    // supplies the (case-insensitive) word list, blanks and symbols.
    r.caseSensitive = false;
    r.words = {{wordsOf(kReserved), QStringLiteral("Reserved Word")}};
    return std::make_unique<PhpHighlighter>(std::move(r));
}

} // namespace tw::languages
