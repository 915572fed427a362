#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isAlpha;
using scan::isAlnum;
using scan::startsWithNoCase;

namespace {

// Line state: where the line starts (text, a comment, inside a tag and which part of it,
// a <!...> or <?...?> declaration, the raw contents of script/style/textarea/title), the
// raw element the tag being read opens, and whether that tag is an end tag.
enum Mode : int {
    kText = 0,
    kComment = 1,     // <!-- ... -->
    kTag = 2,         // inside a tag, before an attribute name
    kAfterName = 3,   // after an attribute name: "=" may follow
    kAfterEquals = 4, // after "=": the value follows
    kInDouble = 5,    // inside a "value"
    kInSingle = 6,    // inside a 'value'
    kDeclaration = 7, // <!DOCTYPE ...>
    kProcessing = 8,  // <?xml ...?>
    kRawText = 9,     // the contents of a raw element up to its end tag
};
constexpr int kModeMask = 0xF;
constexpr int kRawShift = 4;
constexpr int kEndTagFlag = 1 << 8;

// Elements whose contents are not markup: script and style hold plain text, textarea and
// title hold text with character references.
enum Raw : int { kNoRaw = 0, kScript = 1, kStyle = 2, kTextarea = 3, kTitle = 4 };
const char* const kRawNames[] = {
    "", "script", "style", "textarea", "title"};

bool isNamePart(char c) {
    return isAlnum(c) || c == '-' || c == '_' || c == ':' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}
// Attribute names run up to a blank, /, >, =, a quote or <.
bool isAttributeNameByte(char c) {
    return !isBlank(c) && c != '/' && c != '>' && c != '=' && c != '"' && c != '\'' && c != '<';
}

const char* const kElements[] = {
    "a", "abbr", "acronym", "address", "applet", "area", "article", "aside", "audio", "b", "base", "basefont",
    "bdi", "bdo", "big", "blink", "blockquote", "body", "br", "button", "canvas", "caption", "center", "cite",
    "code", "col", "colgroup", "data", "datalist", "dd", "del", "details", "dfn", "dialog", "dir", "div",
    "dl", "dt", "em", "embed", "fieldset", "figcaption", "figure", "font", "footer", "form", "frame",
    "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hgroup", "hr", "html", "i", "iframe",
    "img", "input", "ins", "kbd", "label", "legend", "li", "link", "main", "map", "mark", "marquee", "math",
    "menu", "meta", "meter", "nav", "nobr", "noembed", "noframes", "noscript", "object", "ol", "optgroup",
    "option", "output", "p", "param", "picture", "pre", "progress", "q", "rp", "rt", "ruby", "s", "samp",
    "script", "search", "section", "select", "slot", "small", "source", "span", "strike", "strong", "style",
    "sub", "summary", "sup", "svg", "table", "tbody", "td", "template", "textarea", "tfoot", "th", "thead",
    "time", "title", "tr", "track", "tt", "u", "ul", "var", "video", "wbr", "xmp"};

const char* const kAttributes[] = {
    "abbr", "accept", "accept-charset", "accesskey", "action", "align", "alink", "allow", "allowfullscreen",
    "alt", "archive", "async", "autocapitalize", "autocomplete", "autofocus", "autoplay", "axis",
    "background", "bgcolor", "border", "cellpadding", "cellspacing", "char", "charoff", "charset", "checked",
    "cite", "class", "classid", "clear", "code", "codebase", "codetype", "color", "cols", "colspan",
    "compact", "content", "contenteditable", "controls", "coords", "crossorigin", "data", "datetime",
    "declare", "decoding", "default", "defer", "dir", "dirname", "disabled", "download", "draggable",
    "enctype", "enterkeyhint", "face", "fetchpriority", "for", "form", "formaction", "formenctype",
    "formmethod", "formnovalidate", "formtarget", "frame", "frameborder", "headers", "height", "hidden",
    "high", "href", "hreflang", "hspace", "http-equiv", "id", "inert", "inputmode", "integrity", "is",
    "ismap", "itemid", "itemprop", "itemref", "itemscope", "itemtype", "kind", "label", "lang", "language",
    "link", "list", "loading", "longdesc", "loop", "low", "marginheight", "marginwidth", "max", "maxlength",
    "media", "method", "min", "minlength", "multiple", "muted", "name", "nohref", "nomodule", "nonce",
    "noresize", "noshade", "novalidate", "nowrap", "open", "optimum", "pattern", "ping", "placeholder",
    "playsinline", "popover", "popovertarget", "poster", "preload", "profile", "readonly", "referrerpolicy",
    "rel", "required", "rev", "reversed", "role", "rows", "rowspan", "rules", "sandbox", "scheme", "scope",
    "scrolling", "selected", "shape", "size", "sizes", "slot", "span", "spellcheck", "src", "srcdoc",
    "srclang", "srcset", "standby", "start", "step", "style", "summary", "tabindex", "target", "text",
    "title", "translate", "type", "usemap", "valign", "value", "valuetype", "version", "vlink", "vspace",
    "width", "wrap", "xmlns",
    // event handlers
    "onabort", "onafterprint", "onbeforeprint", "onbeforeunload", "onblur", "oncancel", "oncanplay",
    "onchange", "onclick", "onclose", "oncontextmenu", "oncopy", "oncut", "ondblclick", "ondrag", "ondragend",
    "ondragenter", "ondragleave", "ondragover", "ondragstart", "ondrop", "onended", "onerror", "onfocus",
    "onhashchange", "oninput", "oninvalid", "onkeydown", "onkeypress", "onkeyup", "onload", "onloadeddata",
    "onmessage", "onmousedown", "onmouseenter", "onmouseleave", "onmousemove", "onmouseout", "onmouseover",
    "onmouseup", "onoffline", "ononline", "onpaste", "onpause", "onplay", "onpopstate", "onreset", "onresize",
    "onscroll", "onselect", "onstorage", "onsubmit", "ontoggle", "onunload", "onwheel"};

// The end of a character reference at pos (&amp; &#160; &#x41;), or pos when there is none.
size_t referenceEnd(std::string_view line, size_t pos) {
    size_t i = pos + 1;
    if (i < line.size() && line[i] == '#') {
        ++i;
        const bool hex = i < line.size() && (line[i] == 'x' || line[i] == 'X');
        if (hex) ++i;
        const size_t digits = i;
        while (i < line.size() && (hex ? std::isxdigit(static_cast<unsigned char>(line[i]))
                                       : scan::isDigit(line[i])))
            ++i;
        if (i == digits) return pos;
    } else {
        const size_t name = i;
        while (i < line.size() && isAlnum(line[i]) && i - name < 32)
            ++i;
        if (i == name || !isAlpha(line[name])) return pos;
    }
    return i < line.size() && line[i] == ';' ? i + 1 : pos;
}

class HtmlHighlighter final : public RuleHighlighter {
public:
    explicit HtmlHighlighter(LanguageRules rules)
        : RuleHighlighter(std::move(rules)), text_(require(u"Text")), reserved_(require(u"Reserved Word")),
          unknown_(require(u"Unknown Word")), value_(require(u"Value")),
          escape_(require(u"Escape Ampersand")), identifierAttr_(require(u"Identifier")) {}

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

private:
    // Pushes [pos, end) as attr with the character references in it split out.
    void pushWithReferences(std::string_view line, size_t pos, size_t end, int attr,
                            std::vector<Token>& out) const;
    // Text from pos as blank and word runs, with references when asked, up to end or (in
    // markup) up to a "<"; returns where it stopped.
    size_t scanText(std::string_view line, size_t pos, size_t end, bool references, bool markup,
                    std::vector<Token>& out) const;

    int text_, reserved_, unknown_, value_, escape_, identifierAttr_;
};

void HtmlHighlighter::pushWithReferences(std::string_view line, size_t pos, size_t end, int attr,
                                         std::vector<Token>& out) const {
    size_t run = pos;
    for (size_t i = pos; i < end;) {
        const size_t ref = line[i] == '&' ? referenceEnd(line.substr(0, end), i) : i;
        if (ref > i) {
            push(out, run, i, attr);
            push(out, i, ref, escape_);
            i = run = ref;
        } else {
            ++i;
        }
    }
    push(out, run, end, attr);
}

size_t HtmlHighlighter::scanText(std::string_view line, size_t pos, size_t end, bool references, bool markup,
                                 std::vector<Token>& out) const {
    while (pos < end && !(markup && line[pos] == '<')) {
        size_t i = pos;
        if (isBlank(line[i])) {
            while (i < end && isBlank(line[i]))
                ++i;
            push(out, pos, i, space_);
        } else {
            while (i < end && !isBlank(line[i]) && !(markup && line[i] == '<'))
                ++i;
            if (references)
                pushWithReferences(line, pos, i, text_, out);
            else
                push(out, pos, i, text_);
        }
        pos = i;
    }
    return pos;
}

void HtmlHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    int mode = state & kModeMask;
    int raw = (state >> kRawShift) & 0xF;
    bool endTag = (state & kEndTagFlag) != 0;
    if (raw > kTitle) raw = kNoRaw;
    if (mode > kRawText) mode = kText;
    size_t pos = 0;

    // Finishes a tag at ">": raw elements go on as raw text.
    auto closeTag = [&]() {
        mode = (raw != kNoRaw && !endTag) ? kRawText : kText;
        if (mode == kText) raw = kNoRaw;
        endTag = false;
    };
    // A quoted value from pos (the quote itself when opening); returns its end.
    auto quoted = [&](size_t from, char quote) {
        const size_t close = line.find(quote, from);
        const size_t end = close == std::string_view::npos ? line.size() : close + 1;
        pushWithReferences(line, pos, end, value_, out);
        mode = close == std::string_view::npos ? (quote == '"' ? kInDouble : kInSingle) : kTag;
        return end;
    };

    while (pos < line.size()) {
        const char c = line[pos];
        switch (mode) {
        case kComment: {
            const size_t close = line.find("-->", pos);
            const size_t end = close == std::string_view::npos ? line.size() : close + 3;
            push(out, pos, end, comment_);
            if (close != std::string_view::npos) mode = kText;
            pos = end;
            continue;
        }
        case kRawText: {
            // Up to the element's own end tag.
            const std::string_view name = kRawNames[raw];
            size_t end = pos;
            while (end < line.size()) {
                end = line.find("</", end);
                if (end == std::string_view::npos) {
                    end = line.size();
                    break;
                }
                const size_t after = end + 2 + name.size();
                if (startsWithNoCase(line, end + 2, name) && (after == line.size() || isBlank(line[after]) ||
                                                              line[after] == '>' || line[after] == '/'))
                    break;
                end += 2;
            }
            pos = scanText(line, pos, end, raw >= kTextarea, false, out);
            if (pos < line.size()) {
                mode = kText;
                raw = kNoRaw;
            }
            continue;
        }
        case kInDouble:
        case kInSingle:
            pos = quoted(pos, mode == kInDouble ? '"' : '\'');
            continue;
        case kDeclaration:
        case kProcessing:
            if (isBlank(c)) {
                pos = scanOne(line, pos, mode, out);
            } else if (c == '>' ||
                       (mode == kProcessing && c == '?' && pos + 1 < line.size() && line[pos + 1] == '>')) {
                const size_t end = c == '?' ? pos + 2 : pos + 1;
                push(out, pos, end, symbol_);
                mode = kText;
                pos = end;
            } else if (c == '"' || c == '\'') {
                const size_t close = line.find(c, pos + 1);
                const size_t end = close == std::string_view::npos ? line.size() : close + 1;
                push(out, pos, end, value_);
                pos = end;
            } else if (c == '=' || c == '[' || c == ']') {
                push(out, pos, pos + 1, symbol_);
                ++pos;
            } else {
                size_t end = pos + 1;
                while (end < line.size() && !isBlank(line[end]) && line[end] != '>' && line[end] != '"' &&
                       line[end] != '\'' && line[end] != '=' && line[end] != '[' && line[end] != ']' &&
                       line[end] != '?')
                    ++end;
                const std::string word = asciiLower(line.substr(pos, end - pos));
                const bool keyword =
                    mode == kDeclaration && (word == "doctype" || word == "public" || word == "system");
                push(out, pos, end, keyword ? reserved_ : identifierAttr_);
                pos = end;
            }
            continue;
        case kTag:
        case kAfterName:
        case kAfterEquals:
            if (isBlank(c)) {
                pos = scanOne(line, pos, mode, out);
                continue;
            }
            if (c == '>') {
                push(out, pos, pos + 1, symbol_);
                closeTag();
                ++pos;
                continue;
            }
            if (mode == kAfterEquals && c != '"' && c != '\'') {
                // A bare value runs to a blank or ">".
                size_t end = pos + 1;
                while (end < line.size() && !isBlank(line[end]) && line[end] != '>')
                    ++end;
                pushWithReferences(line, pos, end, value_, out);
                mode = kTag;
                pos = end;
                continue;
            }
            if (c == '"' || c == '\'') { // a value (or a stray quoted run where a name should be)
                pos = quoted(pos + 1, c);
                continue;
            }
            if (c == '=') {
                push(out, pos, pos + 1, symbol_);
                mode = kAfterEquals;
                ++pos;
                continue;
            }
            if (c == '/') {
                push(out, pos, pos + 1, symbol_);
                if (pos + 1 < line.size() && line[pos + 1] == '>') raw = kNoRaw; // <script/> opens nothing
                mode = kTag;
                ++pos;
                continue;
            }
            if (c == '<') {
                push(out, pos, pos + 1, symbol_);
                mode = kTag;
                ++pos;
                continue;
            }
            {
                size_t end = pos + 1;
                while (end < line.size() && isAttributeNameByte(line[end]))
                    ++end;
                const std::string name = asciiLower(line.substr(pos, end - pos));
                const bool known =
                    inWordList<kAttributes>(name) || name.rfind("data-", 0) == 0 || name.rfind("aria-", 0) == 0;
                push(out, pos, end, known ? reserved_ : unknown_);
                mode = kAfterName;
                pos = end;
            }
            continue;
        default: // text
            break;
        }

        if (c != '<') {
            pos = scanText(line, pos, line.size(), true, true, out);
            continue;
        }
        if (line.substr(pos, 4) == "<!--") {
            const size_t close = line.find("-->", pos + 4);
            const size_t end = close == std::string_view::npos ? line.size() : close + 3;
            push(out, pos, end, comment_);
            if (close == std::string_view::npos) mode = kComment;
            pos = end;
            continue;
        }
        if (pos + 2 < line.size() && line[pos + 1] == '!' &&
            (isAlpha(line[pos + 2]) || line[pos + 2] == '[')) {
            push(out, pos, pos + 2, symbol_);
            mode = kDeclaration;
            pos += 2;
            continue;
        }
        if (pos + 1 < line.size() && line[pos + 1] == '?') {
            push(out, pos, pos + 2, symbol_);
            mode = kProcessing;
            pos += 2;
            continue;
        }
        const bool closing = pos + 1 < line.size() && line[pos + 1] == '/';
        const size_t nameStart = pos + (closing ? 2 : 1);
        if (nameStart >= line.size() || !isAlpha(line[nameStart])) {
            push(out, pos, pos + 1, text_); // a "<" that opens no tag: a < b
            ++pos;
            continue;
        }
        push(out, pos, pos + 1, symbol_);
        if (closing) push(out, pos + 1, pos + 2, symbol_);
        size_t end = nameStart + 1;
        while (end < line.size() && isNamePart(line[end]))
            ++end;
        const std::string name = asciiLower(line.substr(nameStart, end - nameStart));
        push(out, nameStart, end, inWordList<kElements>(name) ? reserved_ : unknown_);
        raw = kNoRaw;
        for (int r = kScript; r <= kTitle; ++r)
            if (name == kRawNames[r]) raw = r;
        endTag = closing;
        mode = kTag;
        pos = end;
    }
    state = mode | raw << kRawShift | (endTag ? kEndTagFlag : 0);
}

} // namespace

std::unique_ptr<Highlighter> makeHtml() {
    LanguageRules r;
    r.name = QStringLiteral("HTML");
    r.filter = QStringLiteral("HTML Documents (*.htm;*.html)|*.htm;*.html");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Escape Ampersand"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Text"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Unknown Word"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Value"), kNoColor, kNoColor, kPlain}};
    // HtmlHighlighter scans markup itself; the table only names the plain attributes.
    r.caseSensitive = false;
    r.identifierAttribute = QStringLiteral("Text");
    r.symbols = "<>/=";
    r.illegalAttribute = QStringLiteral("Text");
    return std::make_unique<HtmlHighlighter>(std::move(r));
}

} // namespace tw::languages
