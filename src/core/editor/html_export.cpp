#include "editor/html_export.h"

#include <array>
#include <cstring>

namespace tw {

namespace {

// The entity of each byte HTML text must not hold as it is; empty for the others.
constexpr std::array<std::string_view, 256> kEntities = [] {
    std::array<std::string_view, 256> t{};
    t['&'] = "&amp;";
    t['<'] = "&lt;";
    t['>'] = "&gt;";
    t['"'] = "&quot;";
    return t;
}();

// True when bytes are valid UTF-8 (ASCII checked eight bytes at a time).
bool isValidUtf8(std::string_view bytes) {
    const char* p = bytes.data();
    const size_t n = bytes.size();
    size_t at = 0;
    while (at < n) {
        if (at + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + at, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                at += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(p[at]) < 0x80) {
            ++at;
            continue;
        }
        size_t length = 1;
        if (detail::decodeUtf8At(bytes, at, length) == 0xFFFD && length == 1) return false;
        at += length;
    }
    return true;
}

// Valid UTF-8 with the four entities: the stretches between them are appended whole.
void appendEscapedValid(std::string& out, std::string_view bytes) {
    const char* p = bytes.data();
    size_t from = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const std::string_view entity = kEntities[static_cast<unsigned char>(p[i])];
        if (entity.empty()) continue;
        out.append(p + from, i - from);
        out.append(entity);
        from = i + 1;
    }
    out.append(p + from, bytes.size() - from);
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

constexpr std::string_view kTail = "</span>\r\n</code></pre>\r\n</body>\r\n</html>";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSpanEnd = "</span>";

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
    if (isValidUtf8(bytes)) {
        appendEscapedValid(out, bytes);
        return;
    }
    // Only valid UTF-8 goes into a document that declares UTF-8: each invalid byte
    // becomes U+FFFD.
    QString units;
    forEachUtf16Unit(bytes, [&](char16_t u) { units += QChar(u); });
    appendEscapedValid(out, units.toStdString());
}

HtmlDocumentWriter::HtmlDocumentWriter(const Highlighter& highlighter, const ExportSettings& settings)
    : highlighter_(highlighter) {
    std::string& out = head_;
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
    for (const Attribute& a : highlighter.attributes()) {
        const std::string className = exportClassName(highlighter, a.name).toStdString();
        appendRule(out, className, a, settings);
        spans_.push_back("<span class=\"" + className + "\">");
        looks_.push_back(lookOf(a, settings));
    }
    out += "-->\r\n</style>\r\n</head>\r\n<body>\r\n<pre>\r\n";
    out += "<code><span style=\"font: " + std::to_string(settings.fontSize) + "pt ";
    appendHtmlEscaped(out, settings.fontName.toStdString());
    out += ";\">";
}

void HtmlDocumentWriter::append(std::string_view text, std::string& out) {
    // Entities and span tags at most double the text in practice; one reservation
    // mostly covers the document.
    out.reserve(out.size() + head_.size() + text.size() * 2 + 256);
    out += head_;
    // Token bounds never split a UTF-8 sequence, so a valid text has only valid pieces and
    // the check is made once; a text with invalid bytes takes the checking path per piece.
    const bool valid = isValidUtf8(text);
    bool open = false;
    TokenLook current;
    forEachExportPiece(
        text, highlighter_,
        [&](const ExportPiece& piece) {
            if (piece.lineEnd) {
                out += kLineEnd;
                return;
            }
            const auto attribute = static_cast<size_t>(piece.attribute);
            const TokenLook& look = looks_[attribute];
            if (!open || look != current) {
                if (open) out += kSpanEnd;
                out += spans_[attribute];
                open = true;
                current = look;
            }
            if (valid)
                appendEscapedValid(out, piece.bytes);
            else
                appendHtmlEscaped(out, piece.bytes);
        },
        tokens_);
    if (open) out += kSpanEnd;
    out += kTail;
}

std::string exportHtml(std::string_view text, const Highlighter& highlighter, const ExportSettings& settings) {
    std::string out;
    HtmlDocumentWriter(highlighter, settings).append(text, out);
    return out;
}

} // namespace tw
