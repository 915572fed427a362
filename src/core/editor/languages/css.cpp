#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;
using scan::isHexDigit;
using scan::startsWith;

namespace {

// Line state. The braces open at the end of a line (at most kMaxDepth are told apart) and,
// for each, whether it holds rules (@media { ... }) or declarations (a { ... }); whether a
// value (after "property:") or an at-rule's prelude is under way; an open comment or string.
constexpr int kDepthMask = 0xF;
constexpr int kMaxDepth = 15;
constexpr int kRuleListShift = 4; // bit kRuleListShift + d - 1: level d holds rules
constexpr int kInValue = 1 << 20;
constexpr int kInPrelude = 1 << 21;
constexpr int kPreludeRules = 1 << 22; // the at-rule being read opens a block of rules
constexpr int kInComment = 1 << 23;
constexpr int kStringShift = 24; // 1: inside "...", 2: inside '...' (continued by a trailing backslash)

bool isNameStart(char c) {
    return scan::isAlpha(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool isNamePart(char c) { return isNameStart(c) || isDigit(c) || c == '-'; }

// The end of a name at pos (letters, digits, -, _, escapes such as \: ), pos when none.
size_t nameEnd(std::string_view line, size_t pos) {
    size_t i = pos;
    while (i < line.size()) {
        if (isNamePart(line[i]))
            ++i;
        else if (line[i] == '\\' && i + 1 < line.size())
            i += 2;
        else
            break;
    }
    return i;
}

// Whether an identifier may start at pos: a letter, -letter, --, or an escape.
bool identStartsAt(std::string_view line, size_t pos) {
    if (pos >= line.size()) return false;
    const char c = line[pos];
    if (isNameStart(c) || (c == '\\' && pos + 1 < line.size())) return true;
    if (c == '-' && pos + 1 < line.size())
        return isNameStart(line[pos + 1]) || line[pos + 1] == '-' || line[pos + 1] == '\\';
    return false;
}

const char* const kProperties[] = {
    "accent-color", "align-content", "align-items", "align-self", "all", "animation", "animation-delay",
    "animation-direction", "animation-duration", "animation-fill-mode", "animation-iteration-count",
    "animation-name", "animation-play-state", "animation-timing-function", "appearance", "aspect-ratio",
    "backdrop-filter", "backface-visibility", "background", "background-attachment", "background-blend-mode",
    "background-clip", "background-color", "background-image", "background-origin", "background-position",
    "background-position-x", "background-position-y", "background-repeat", "background-size", "block-size",
    "border", "border-block", "border-block-end", "border-block-start", "border-bottom",
    "border-bottom-color", "border-bottom-left-radius", "border-bottom-right-radius", "border-bottom-style",
    "border-bottom-width", "border-collapse", "border-color", "border-image", "border-image-outset",
    "border-image-repeat", "border-image-slice", "border-image-source", "border-image-width", "border-inline",
    "border-inline-end", "border-inline-start", "border-left", "border-left-color", "border-left-style",
    "border-left-width", "border-radius", "border-right", "border-right-color", "border-right-style",
    "border-right-width", "border-spacing", "border-style", "border-top", "border-top-color",
    "border-top-left-radius", "border-top-right-radius", "border-top-style", "border-top-width",
    "border-width", "bottom", "box-decoration-break", "box-shadow", "box-sizing", "break-after",
    "break-before", "break-inside", "caption-side", "caret-color", "clear", "clip", "clip-path", "color",
    "color-scheme", "column-count", "column-fill", "column-gap", "column-rule", "column-rule-color",
    "column-rule-style", "column-rule-width", "column-span", "column-width", "columns", "contain",
    "container", "container-name", "container-type", "content", "content-visibility", "counter-increment",
    "counter-reset", "counter-set", "cursor", "direction", "display", "empty-cells", "filter", "flex",
    "flex-basis", "flex-direction", "flex-flow", "flex-grow", "flex-shrink", "flex-wrap", "float", "font",
    "font-display", "font-family", "font-feature-settings", "font-kerning", "font-size", "font-size-adjust",
    "font-stretch", "font-style", "font-variant", "font-variant-caps", "font-variant-numeric",
    "font-variation-settings", "font-weight", "gap", "grid", "grid-area", "grid-auto-columns",
    "grid-auto-flow", "grid-auto-rows", "grid-column", "grid-column-end", "grid-column-gap",
    "grid-column-start", "grid-gap", "grid-row", "grid-row-end", "grid-row-gap", "grid-row-start",
    "grid-template", "grid-template-areas", "grid-template-columns", "grid-template-rows",
    "hanging-punctuation", "height", "hyphens", "image-rendering", "inline-size", "inset", "inset-block",
    "inset-inline", "isolation", "justify-content", "justify-items", "justify-self", "left", "letter-spacing",
    "line-break", "line-height", "list-style", "list-style-image", "list-style-position", "list-style-type",
    "margin", "margin-block", "margin-block-end", "margin-block-start", "margin-bottom", "margin-inline",
    "margin-inline-end", "margin-inline-start", "margin-left", "margin-right", "margin-top", "mask",
    "mask-image", "mask-position", "mask-repeat", "mask-size", "max-block-size", "max-height",
    "max-inline-size", "max-width", "min-block-size", "min-height", "min-inline-size", "min-width",
    "mix-blend-mode", "object-fit", "object-position", "opacity", "order", "orphans", "outline",
    "outline-color", "outline-offset", "outline-style", "outline-width", "overflow", "overflow-wrap",
    "overflow-x", "overflow-y", "overscroll-behavior", "padding", "padding-block", "padding-block-end",
    "padding-block-start", "padding-bottom", "padding-inline", "padding-inline-end", "padding-inline-start",
    "padding-left", "padding-right", "padding-top", "page-break-after", "page-break-before",
    "page-break-inside", "perspective", "perspective-origin", "place-content", "place-items", "place-self",
    "pointer-events", "position", "quotes", "resize", "right", "rotate", "row-gap", "scale",
    "scroll-behavior", "scroll-margin", "scroll-padding", "scroll-snap-align", "scroll-snap-type",
    "scrollbar-color", "scrollbar-gutter", "scrollbar-width", "shape-outside", "speak", "src", "tab-size",
    "table-layout", "text-align", "text-align-last", "text-decoration", "text-decoration-color",
    "text-decoration-line", "text-decoration-style", "text-decoration-thickness", "text-indent",
    "text-justify", "text-orientation", "text-overflow", "text-rendering", "text-shadow", "text-size-adjust",
    "text-transform", "text-underline-offset", "top", "touch-action", "transform", "transform-origin",
    "transform-style", "transition", "transition-delay", "transition-duration", "transition-property",
    "transition-timing-function", "translate", "unicode-bidi", "unicode-range", "user-select",
    "vertical-align", "visibility", "white-space", "widows", "width", "will-change", "word-break",
    "word-spacing", "word-wrap", "writing-mode", "z-index", "zoom"};

// At-rules whose block holds rules rather than declarations.
const char* const kRuleBlockAtRules[] = {
    "media", "supports", "document", "keyframes", "layer", "container", "scope", "starting-style"};

template <size_t N> std::vector<std::string> wordsOf(const char* const (&list)[N]) {
    return {list, list + N};
}

// Strips a vendor prefix: -webkit-transition -> transition.
std::string_view withoutVendorPrefix(std::string_view name) {
    for (std::string_view p : {"-webkit-", "-moz-", "-ms-", "-o-"})
        if (name.substr(0, p.size()) == p) return name.substr(p.size());
    return name;
}

class CssHighlighter final : public RuleHighlighter {
public:
    explicit CssHighlighter(LanguageRules rules)
        : RuleHighlighter(std::move(rules)), string_(require(u"String")), value_(require(u"Value")),
          color_(require(u"Color Value")), reserved_(require(u"Reserved Word")) {}

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

private:
    // The end of a string whose body starts at pos, or npos when the line ends first.
    static size_t stringEnd(std::string_view line, size_t pos, char quote) {
        for (size_t i = pos; i < line.size(); ++i) {
            if (line[i] == '\\')
                ++i;
            else if (line[i] == quote)
                return i + 1;
        }
        return std::string_view::npos;
    }
    // A number with an optional sign, fraction, exponent and unit (px, em, %), or pos.
    static size_t numberEnd(std::string_view line, size_t pos);

    int string_, value_, color_, reserved_;
};

size_t CssHighlighter::numberEnd(std::string_view line, size_t pos) {
    size_t i = pos;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
    const size_t digitsStart = i;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1])) {
        ++i;
        while (i < line.size() && isDigit(line[i]))
            ++i;
    }
    if (i == digitsStart) return pos;
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        if (j < line.size() && isDigit(line[j])) {
            i = j;
            while (i < line.size() && isDigit(line[i]))
                ++i;
        }
    }
    if (i < line.size() && line[i] == '%') return i + 1;
    if (identStartsAt(line, i)) return nameEnd(line, i);
    return i;
}

void CssHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    int depth = state & kDepthMask;
    int flags = state & ~kDepthMask & ~(3 << kStringShift);
    const int openString = (state >> kStringShift) & 3;
    size_t pos = 0;

    auto holdsRules = [&](int d) { return d == 0 || (flags >> (kRuleListShift + d - 1) & 1) != 0; };

    if (flags & kInComment) {
        const size_t close = line.find("*/");
        pos = close == std::string_view::npos ? line.size() : close + 2;
        push(out, 0, pos, comment_);
        if (close == std::string_view::npos) {
            state = depth | flags;
            return;
        }
        flags &= ~kInComment;
    } else if (openString) {
        const size_t end = stringEnd(line, 0, openString == 1 ? '"' : '\'');
        pos = end == std::string_view::npos ? line.size() : end;
        push(out, 0, pos, string_);
        if (end == std::string_view::npos) {
            if (!line.empty() && line.back() == '\\') {
                state = depth | flags | openString << kStringShift;
                return;
            }
        }
    }
    int nextString = 0;

    while (pos < line.size()) {
        const char c = line[pos];
        if (isBlank(c)) {
            pos = scanOne(line, pos, depth, out); // blanks only: the state is left alone
            continue;
        }
        if (startsWith(line, pos, "/*")) {
            const size_t close = line.find("*/", pos + 2);
            if (close == std::string_view::npos) {
                push(out, pos, line.size(), comment_);
                flags |= kInComment;
                break;
            }
            push(out, pos, close + 2, comment_);
            pos = close + 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            const size_t end = stringEnd(line, pos + 1, c);
            if (end == std::string_view::npos) {
                push(out, pos, line.size(), string_);
                if (line.back() == '\\') nextString = c == '"' ? 1 : 2; // a backslash continues it
                break;
            }
            push(out, pos, end, string_);
            pos = end;
            continue;
        }
        if (c == '{') {
            push(out, pos, pos + 1, symbol_);
            const bool rules = (flags & kInPrelude) && (flags & kPreludeRules);
            if (depth < kMaxDepth) {
                ++depth;
                const int bit = 1 << (kRuleListShift + depth - 1);
                flags = rules ? flags | bit : flags & ~bit;
            }
            flags &= ~(kInValue | kInPrelude | kPreludeRules);
            ++pos;
            continue;
        }
        if (c == '}' || c == ';') {
            push(out, pos, pos + 1, symbol_);
            if (c == '}' && depth > 0) --depth;
            flags &= ~(kInValue | kInPrelude | kPreludeRules);
            ++pos;
            continue;
        }
        // At-rules: @media, @import, @font-face ...
        if (c == '@' && !(flags & kInValue) && identStartsAt(line, pos + 1)) {
            const size_t end = nameEnd(line, pos + 1);
            push(out, pos, end, reserved_);
            const std::string name = asciiLower(withoutVendorPrefix(line.substr(pos + 1, end - pos - 1)));
            flags |= kInPrelude;
            if (inWordList<kRuleBlockAtRules>(name)) flags |= kPreludeRules;
            pos = end;
            continue;
        }

        if ((flags & kInValue) || (flags & kInPrelude)) {
            // Values and at-rule preludes: numbers with units, #colours, url(...), words.
            const bool signAllowed = pos == 0 || !isNamePart(line[pos - 1]);
            if (isDigit(c) ||
                ((c == '.' || ((c == '+' || c == '-') && signAllowed)) && numberEnd(line, pos) > pos)) {
                const size_t end = numberEnd(line, pos);
                if (end > pos) {
                    push(out, pos, end, number_);
                    pos = end;
                    continue;
                }
            }
            if (c == '#' && !(flags & kInPrelude)) {
                size_t end = pos + 1;
                while (end < line.size() && isHexDigit(line[end]))
                    ++end;
                const size_t n = end - pos - 1;
                const size_t word = nameEnd(line, pos + 1);
                if (word == end && (n == 3 || n == 4 || n == 6 || n == 8)) {
                    push(out, pos, end, color_);
                    pos = end;
                    continue;
                }
                if (word > pos + 1) {
                    push(out, pos, word, value_);
                    pos = word;
                    continue;
                }
            }
            if (c == '!' && identStartsAt(line, pos + 1)) { // !important
                const size_t end = nameEnd(line, pos + 1);
                push(out, pos, end, reserved_);
                pos = end;
                continue;
            }
            if (identStartsAt(line, pos)) {
                const size_t end = nameEnd(line, pos);
                push(out, pos, end, value_);
                // url(path) without quotes: the path is a string.
                if (scan::equalsNoCase(line.substr(pos, end - pos), "url") && end < line.size() &&
                    line[end] == '(') {
                    size_t a = end + 1;
                    while (a < line.size() && isBlank(line[a]))
                        ++a;
                    if (a < line.size() && line[a] != '"' && line[a] != '\'' && line[a] != ')') {
                        push(out, end, end + 1, symbol_);
                        push(out, end + 1, a, space_);
                        size_t b = line.find(')', a);
                        if (b == std::string_view::npos) b = line.size();
                        size_t e = b;
                        while (e > a && isBlank(line[e - 1]))
                            --e;
                        push(out, a, e, string_);
                        push(out, e, b, space_);
                        pos = b;
                        continue;
                    }
                }
                pos = end;
                continue;
            }
        } else if (holdsRules(depth)) {
            // Selectors: names, classes, ids, pseudo-classes are text.
            if (isNamePart(c) || c == '\\') {
                size_t end = nameEnd(line, pos);
                if (end == pos) end = pos + 1;
                push(out, pos, end, identifier_);
                pos = end;
                continue;
            }
        } else {
            // A declaration: a property name, then ":" starts its value.
            if (identStartsAt(line, pos)) {
                const size_t end = nameEnd(line, pos);
                const std::string name = asciiLower(line.substr(pos, end - pos));
                const bool known = startsWith(name, 0, "--") || wordAttribute(withoutVendorPrefix(name)) >= 0;
                push(out, pos, end, known ? reserved_ : identifier_);
                pos = end;
                continue;
            }
            if (c == ':') {
                push(out, pos, pos + 1, symbol_);
                flags |= kInValue;
                ++pos;
                continue;
            }
        }
        // Anything else is a symbol or a stray byte; names and numbers were taken above.
        if (isNameStart(c) || isDigit(c)) {
            size_t end = pos + 1;
            while (end < line.size() && isNamePart(line[end]))
                ++end;
            push(out, pos, end, (flags & (kInValue | kInPrelude)) ? value_ : identifier_);
            pos = end;
            continue;
        }
        push(out, pos, pos + 1, symbol_);
        ++pos;
    }
    state = depth | flags | nextString << kStringShift;
}

} // namespace

std::unique_ptr<Highlighter> makeCss() {
    LanguageRules r;
    r.name = QStringLiteral("Cascading Style Sheet");
    r.filter = QStringLiteral("Cascading Stylesheets (*.css)|*.css");
    r.attributes = {{QStringLiteral("Color Value"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Text"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Value"), kNoColor, kNoColor, kPlain}};
    // CssHighlighter follows selectors, blocks and values itself; the table supplies the
    // property names (a word list), blanks and symbols. Selectors and unknown names are Text.
    r.caseSensitive = false;
    r.identifierAttribute = QStringLiteral("Text");
    r.words = {{wordsOf(kProperties), QStringLiteral("Reserved Word")}};
    return std::make_unique<CssHighlighter>(std::move(r));
}

} // namespace tw::languages
