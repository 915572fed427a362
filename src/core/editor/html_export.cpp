#include "editor/html_export.h"

namespace tw {

namespace {

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

void appendRule(std::string& out, const std::string& className, const Attribute& a, const ExportSettings& settings) {
    out += '.';
    out += className;
    out += " { ";
    if (const auto color = exportColor(a.foreground, settings)) out += "color: " + htmlColor(*color) + "; ";
    if (a.style & kBold) out += "font-weight: bold; ";
    if (a.style & kItalic) out += "font-style: italic; ";
    if (a.style & kUnderline) out += "text-decoration: underline; ";
    if (a.style & kStrikeOut) out += "text-decoration: line-through; ";
    out += "}\r\n";
}

} // namespace

std::string htmlColor(std::uint32_t color) {
    static const char digits[] = "0123456789ABCDEF";
    const unsigned rgb[3] = {color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu};
    std::string out = "#";
    for (unsigned c : rgb) {
        out += digits[c >> 4];
        out += digits[c & 0xF];
    }
    return out;
}

void appendHtmlEscaped(std::string& out, std::string_view bytes) {
    std::string checked;
    if (!isAscii(bytes) && !forEachUtf16Unit(bytes, [](char16_t) {})) {
        // Only valid UTF-8 goes into a document that declares UTF-8.
        QString units;
        forEachUtf16Unit(bytes, [&](char16_t u) { units += QChar(u); });
        checked = units.toStdString();
        bytes = checked;
    }
    for (char c : bytes) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

std::string exportHtml(std::string_view text, const Highlighter& highlighter,
                       const ExportSettings& settings) {
    std::string out;
    out.reserve(text.size() * 2 + 2048);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
           "<head>\r\n"
           "<title>";
    appendHtmlEscaped(out, settings.title.toStdString());
    out += "</title>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
           "<meta name=\"generator\" content=\"Tarnwick HTML exporter\" />\r\n"
           "<style type=\"text/css\">\r\n"
           "<!--\r\n";
    out += "body { color: " + htmlColor(settings.fontColor) +
           "; background-color: " + htmlColor(settings.backgroundColor) + "; }\r\n";
    const auto& attributes = highlighter.attributes();
    std::vector<std::string> classes;
    for (const Attribute& a : attributes) {
        classes.push_back(exportClassName(highlighter, a.name).toStdString());
        appendRule(out, classes.back(), a, settings);
    }
    out += "-->\r\n</style>\r\n</head>\r\n<body>\r\n<pre>\r\n";
    out += "<code><span style=\"font: " + std::to_string(settings.fontSize) + "pt ";
    appendHtmlEscaped(out, settings.fontName.toStdString());
    out += ";\">";

    bool open = false;
    TokenLook current;
    forEachExportPiece(text, highlighter, [&](const ExportPiece& piece) {
        if (piece.lineEnd) {
            out += "\r\n";
            return;
        }
        const auto attribute = static_cast<size_t>(piece.attribute);
        const TokenLook look = lookOf(attributes[attribute], settings);
        if (!open || look != current) {
            if (open) out += "</span>";
            out += "<span class=\"" + classes[attribute] + "\">";
            open = true;
            current = look;
        }
        appendHtmlEscaped(out, piece.bytes);
    });
    if (open) out += "</span>";
    out += "</span>\r\n</code></pre>\r\n</body>\r\n</html>";
    return out;
}

} // namespace tw
