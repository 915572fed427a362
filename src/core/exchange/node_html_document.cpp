#include "exchange/node_html_document.h"

#include "editor/catalogue.h"

#include <array>
#include <optional>
#include <vector>

namespace tw {

namespace {

constexpr std::uint8_t kStrikeOut = 8;

// Short ids of the languages by catalogue position, the stem of every class name.
constexpr std::array<const char*, kLanguageCount> kLanguageIds = {
    "pas", "cpp", "fortran", "java", "vb", "cobol", "cs", "css", "html", "jscript", "php", "perl", "asm", "vbscript",
    "sql"};

std::string htmlColor(std::uint32_t bgr) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    return buf;
}

struct Look {
    std::uint32_t color;
    std::uint8_t style;
    bool operator==(const Look&) const = default;
};

void appendEscaped(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back(text.substr(pos, end - pos));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        pos = end + 1;
    }
    return lines;
}

} // namespace

QString htmlClassName(const Highlighter& highlighter, const Attribute& attribute) {
    const int position = HighlighterSet::GetIndbyLN(highlighter.languageName());
    const QString raw = (QLatin1String(kLanguageIds[static_cast<size_t>(position)]) + QStringLiteral("1.") +
                         attribute.name)
                            .toLower();
    QString out;
    for (QChar c : raw) {
        if (c == u'.' || c == u'_' || c == u'-') out += u'-';
        else if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) out += c;
    }
    return out;
}

std::string nodeHtmlDocument(const Highlighter& highlighter, std::string_view text, const HtmlDocumentStyle& style) {
    const auto& attributes = highlighter.attributes();
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
           "<head>\r\n"
           "<title>Untitled</title>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
           "<meta name=\"generator\" content=\"Tarnwick HTML exporter\" />\r\n"
           "<style type=\"text/css\">\r\n"
           "<!--\r\n";
    out += "body { color: " + htmlColor(style.fontColor) + "; background-color: " + htmlColor(style.background) +
           "; }\r\n";
    for (const Attribute& a : attributes) {
        out += '.' + htmlClassName(highlighter, a).toStdString() + " { ";
        if (a.foreground != kNoColor) out += "color: " + htmlColor(a.foreground) + "; ";
        if (a.style & kBold) out += "font-weight: bold; ";
        if (a.style & kItalic) out += "font-style: italic; ";
        if (a.style & kUnderline) out += "text-decoration: underline; ";
        if (a.style & kStrikeOut) out += "text-decoration: line-through; ";
        out += "}\r\n";
    }
    out += "-->\r\n</style>\r\n</head>\r\n<body>\r\n<pre>\r\n";
    out += "<code><span style=\"font: " + std::to_string(style.fontPoints) + "pt " + style.fontName.toStdString() +
           ";\">";

    std::vector<std::string> classes;
    for (const Attribute& a : attributes) classes.push_back(htmlClassName(highlighter, a).toStdString());
    std::optional<Look> open;
    std::vector<Token> tokens;
    int state = 0;
    for (std::string_view line : splitLines(text)) {
        tokens.clear();
        highlighter.tokenizeLine(line, state, tokens);
        for (const Token& t : tokens) {
            const Attribute& a = attributes[static_cast<size_t>(t.attribute)];
            const Look look{a.foreground == kNoColor ? style.fontColor : a.foreground, a.style};
            if (!open || !(*open == look)) {
                if (open) out += "</span>";
                out += "<span class=\"" + classes[static_cast<size_t>(t.attribute)] + "\">";
                open = look;
            }
            appendEscaped(out, line.substr(static_cast<size_t>(t.start), static_cast<size_t>(t.length)));
        }
        out += "\r\n";
    }
    if (open) out += "</span>";
    out += "</span>\r\n</code></pre>\r\n</body>\r\n</html>";
    return out;
}

} // namespace tw
