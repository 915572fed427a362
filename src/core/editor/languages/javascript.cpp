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
constexpr int kComment = 2000;    // inside /* */
constexpr int kTemplate = 2001;   // inside a `template literal`
constexpr int kSingleMore = 2002; // a '...' string that a trailing backslash carries on
constexpr int kDoubleMore = 2003; // the same for "..."

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;
using scan::startsWith;

const char* const kReserved[] = {
    "await",     "break",  "case",     "catch",  "class",      "const",   "continue",  "debugger",
    "default",   "delete", "do",       "else",   "enum",       "export",  "extends",   "false",
    "finally",   "for",    "function", "if",     "implements", "import",  "in",        "instanceof",
    "interface", "let",    "new",      "null",   "package",    "private", "protected", "public",
    "return",    "static", "super",    "switch", "this",       "throw",   "true",      "try",
    "typeof",    "var",    "void",     "while",  "with",       "yield"};

// Words with a meaning that are not reserved: contextual keywords, global values, functions and objects.
const char* const kNonReserved[] = {
    "arguments", "as", "async", "from", "of", "undefined", "NaN", "Infinity", "globalThis",
    // functions
    "alert", "clearInterval", "clearTimeout", "confirm", "decodeURI", "decodeURIComponent", "encodeURI",
    "encodeURIComponent", "escape", "eval", "fetch", "isFinite", "isNaN", "parseFloat", "parseInt", "prompt",
    "queueMicrotask", "requestAnimationFrame", "setInterval", "setTimeout", "unescape",
    // built-in objects
    "Array", "ArrayBuffer", "BigInt", "Boolean", "DataView", "Date", "Error", "EvalError", "Float32Array",
    "Float64Array", "Function", "Int16Array", "Int32Array", "Int8Array", "Intl", "JSON", "Map", "Math",
    "Number", "Object", "Promise", "Proxy", "RangeError", "ReferenceError", "Reflect", "RegExp", "Set",
    "String", "Symbol", "SyntaxError", "TypeError", "URIError", "Uint16Array", "Uint32Array", "Uint8Array",
    "Uint8ClampedArray", "WeakMap", "WeakRef", "WeakSet",
    // browser objects
    "console", "document", "history", "Image", "localStorage", "location", "navigator", "screen",
    "sessionStorage", "window", "XMLHttpRequest"};

const char* const kEvents[] = {"onabort",        "onafterprint",  "onanimationend", "onbeforeprint",
                               "onbeforeunload", "onblur",        "oncanplay",      "onchange",
                               "onclick",        "oncontextmenu", "oncopy",         "oncut",
                               "ondblclick",     "ondrag",        "ondragend",      "ondragenter",
                               "ondragleave",    "ondragover",    "ondragstart",    "ondrop",
                               "onended",        "onerror",       "onfocus",        "onfocusin",
                               "onfocusout",     "onhashchange",  "oninput",        "oninvalid",
                               "onkeydown",      "onkeypress",    "onkeyup",        "onload",
                               "onloadeddata",   "onloadstart",   "onmessage",      "onmousedown",
                               "onmouseenter",   "onmouseleave",  "onmousemove",    "onmouseout",
                               "onmouseover",    "onmouseup",     "onmousewheel",   "onoffline",
                               "ononline",       "onpagehide",    "onpageshow",     "onpaste",
                               "onpause",        "onplay",        "onpointerdown",  "onpointermove",
                               "onpointerup",    "onpopstate",    "onprogress",     "onreadystatechange",
                               "onreset",        "onresize",      "onscroll",       "onselect",
                               "onstorage",      "onsubmit",      "ontimeupdate",   "ontouchcancel",
                               "ontouchend",     "ontouchmove",   "ontouchstart",   "ontransitionend",
                               "onunload",       "onwheel"};

// After these words a / starts a regular expression, not a division.
const char* const kBeforeExpression[] = {"await", "case",   "delete", "do",     "else", "in",   "instanceof",
                                         "new",   "return", "throw",  "typeof", "void", "yield"};

LanguageRules javascriptRules() {
    LanguageRules r;
    r.name = QStringLiteral("JavaScript");
    r.filter = QStringLiteral("Javascript Files (*.js)|*.js");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Event"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Non-reserved Keyword"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.identifierStart = "_$";
    r.identifierPart = "_$";
    r.words = {{{std::begin(kReserved), std::end(kReserved)}, QStringLiteral("Reserved Word")},
               {{std::begin(kNonReserved), std::end(kNonReserved)}, QStringLiteral("Non-reserved Keyword")},
               {{std::begin(kEvents), std::end(kEvents)}, QStringLiteral("Event")}};
    return r;
}

class JavaScriptHighlighter : public RuleHighlighter {
public:
    JavaScriptHighlighter() : RuleHighlighter(javascriptRules()) {
        reserved_ = require(u"Reserved Word");
        string_ = require(u"String");
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        LineScan ls;
        ls.first = out.size();
        const int from = state;
        state = 0;
        size_t pos = 0;
        switch (from) {
        case kComment:
            pos = comment(line, 0, 0, state, out);
            break;
        case kTemplate:
            pos = quoted(line, 0, 0, '`', state, out);
            break;
        case kSingleMore:
            pos = quoted(line, 0, 0, '\'', state, out);
            break;
        case kDoubleMore:
            pos = quoted(line, 0, 0, '"', state, out);
            break;
        default:
            break;
        }
        while (pos < line.size())
            pos = scan(line, pos, ls, state, out);
    }

private:
    struct LineScan {
        size_t first = 0;         // this line's tokens start here in out
        bool regexFailed = false; // a / found no end as a regular expression
    };

    size_t comment(std::string_view line, size_t start, size_t bodyStart, int& state,
                   std::vector<Token>& out) const {
        const size_t close = line.find("*/", bodyStart);
        const size_t end = close == std::string_view::npos ? line.size() : close + 2;
        if (close == std::string_view::npos) state = kComment;
        push(out, start, end, comment_);
        return end;
    }

    // A string with backslash escapes. Template literals span lines; the others go on to
    // the next line only after a trailing backslash.
    size_t quoted(std::string_view line, size_t start, size_t bodyStart, char quote, int& state,
                  std::vector<Token>& out) const {
        const int more = quote == '`' ? kTemplate : quote == '"' ? kDoubleMore : kSingleMore;
        const scan::Escaped body = scan::escapedBody(line, bodyStart, quote);
        if (body.continued || (!body.closed && quote == '`')) state = more;
        push(out, start, body.end, string_);
        return body.end;
    }

    // Whether a / at pos starts a regular expression: at the start of an expression, that
    // is after an operator, an opening bracket, a comma or a keyword such as return.
    bool regexAllowed(std::string_view line, size_t first, const std::vector<Token>& out) const {
        for (size_t t = out.size(); t > first; --t) {
            const Token& prev = out[t - 1];
            if (prev.attribute == space_ || prev.attribute == comment_) continue;
            const std::string_view text =
                line.substr(static_cast<size_t>(prev.start), static_cast<size_t>(prev.length));
            if (prev.attribute == symbol_) return text != ")" && text != "]" && text != "}";
            if (prev.attribute == reserved_)
                return std::find(std::begin(kBeforeExpression), std::end(kBeforeExpression), text) !=
                       std::end(kBeforeExpression);
            return false;
        }
        return true; // the start of the line
    }

    // A regular expression literal /body/flags at pos; pos when the line holds no end for it.
    // After an earlier attempt on the line has failed, a later one can end only before the
    // next [ or ]: from there on both scans are in the same state and meet the same text.
    size_t regex(std::string_view line, size_t pos, bool earlierFailed, std::vector<Token>& out) const {
        size_t i = pos + 1;
        bool inClass = false;
        while (i < line.size()) {
            const char c = line[i];
            if (c == '\\') {
                i += 2;
                continue;
            }
            if (earlierFailed && (c == '[' || c == ']')) return pos;
            if (c == '[') inClass = true;
            if (c == ']') inClass = false;
            ++i;
            if (c == '/' && !inClass) {
                while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                    ++i; // flags
                push(out, pos, i, string_);
                return i;
            }
        }
        return pos;
    }

    size_t scanNumber(std::string_view line, size_t pos, std::vector<Token>& out) const {
        const size_t n = line.size();
        size_t i = pos;
        auto digits = [&](bool hex) { i = scan::underscoredDigitsEnd(line, i, hex); };
        const char radix = i + 2 < n && line[i] == '0'
                               ? asciiLowerByte(line[i + 1])
                               : 0;
        if ((radix == 'x' && isHexDigit(line[i + 2])) ||
            ((radix == 'o' || radix == 'b') && isDigit(line[i + 2]))) {
            i += 2;
            digits(radix == 'x');
        } else {
            digits(false);
            if (i < n && line[i] == '.') { // 1.5, 1., .5
                ++i;
                digits(false);
            }
            if (const size_t j = scan::exponentDigits(line, i, "eE"); j != i) {
                i = j;
                digits(false);
            }
        }
        if (i < n && line[i] == 'n') ++i; // BigInt
        push(out, pos, i, number_);
        return i;
    }

    size_t scan(std::string_view line, size_t pos, LineScan& ls, int& state, std::vector<Token>& out) const {
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
        if (startsWith(line, pos, "/*")) return comment(line, pos, pos + 2, state, out);
        if (c == '/' && regexAllowed(line, ls.first, out)) {
            if (const size_t end = regex(line, pos, ls.regexFailed, out); end != pos) return end;
            ls.regexFailed = true;
        }
        if (c == '"' || c == '\'' || c == '`') return quoted(line, pos, pos + 1, c, state, out);
        if (isDigit(c) || (c == '.' && pos + 1 < n && isDigit(line[pos + 1])))
            return scanNumber(line, pos, out);
        const bool privateName =
            c == '#' && pos + 1 < n && isIdentifierStart(static_cast<unsigned char>(line[pos + 1]));
        if (privateName || isIdentifierStart(static_cast<unsigned char>(c))) {
            size_t end = pos + 1;
            while (end < n && isIdentifierPart(static_cast<unsigned char>(line[end])))
                ++end;
            int attr = privateName ? -1 : wordAttribute(line.substr(pos, end - pos));
            // Reserved words name properties after a dot: promise.catch(...), obj.default.
            const bool member = pos > 0 && line[pos - 1] == '.' && !(pos > 1 && line[pos - 2] == '.');
            if (attr == reserved_ && member) attr = -1;
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            return end;
        }
        push(out, pos, pos + 1, symbol_);
        return pos + 1;
    }

    int reserved_ = 0, string_ = 0;
};

} // namespace

std::unique_ptr<Highlighter> makeJavaScript() {
    return std::make_unique<JavaScriptHighlighter>();
}

} // namespace tw::languages
