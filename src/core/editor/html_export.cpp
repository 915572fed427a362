#include "editor/html_export.h"

#include <algorithm>
#include <cstring>

namespace tw {

namespace {

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

// The bytes as valid UTF-8: each invalid byte becomes U+FFFD (a document that declares
// UTF-8 holds nothing else).
std::string withInvalidReplaced(std::string_view bytes) {
    QString units;
    forEachUtf16Unit(bytes, [&](char16_t u) { units += QChar(u); });
    return units.toStdString();
}

// Appends to a string through a raw pointer: room is made in large steps, so each piece
// costs no capacity check of its own beyond one comparison. finish() trims the string to
// what was written. Text goes in escaped by putEscaped, the one escaping routine of the
// exporter.
class RawAppender {
public:
    RawAppender(std::string& out, size_t expected) : out_(out) {
        const size_t used = out_.size();
        out_.resize(used + expected);
        at_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    void put(std::string_view bytes) {
        room(bytes.size());
        std::memcpy(at_, bytes.data(), bytes.size());
        at_ += bytes.size();
    }
    // The bytes with "&", "<", ">" and the double quote as entities.
    void putEscaped(std::string_view bytes) {
        room(bytes.size() * 6);
        char* p = at_;
        for (const char c : bytes) {
            switch (c) {
            case '&': p = copy(p, "&amp;"); break;
            case '<': p = copy(p, "&lt;"); break;
            case '>': p = copy(p, "&gt;"); break;
            case '"': p = copy(p, "&quot;"); break;
            default: *p++ = c;
            }
        }
        at_ = p;
    }
    void finish() { out_.resize(static_cast<size_t>(at_ - out_.data())); }

private:
    template <size_t N> static char* copy(char* p, const char (&entity)[N]) {
        std::memcpy(p, entity, N - 1);
        return p + N - 1;
    }
    void room(size_t n) {
        if (static_cast<size_t>(end_ - at_) >= n) return;
        const size_t used = static_cast<size_t>(at_ - out_.data());
        out_.resize(std::max(out_.size() * 2, used + n));
        at_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    std::string& out_;
    char* at_;
    char* end_;
};

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
    RawAppender w(out, bytes.size());
    if (isValidUtf8(bytes))
        w.putEscaped(bytes);
    else
        w.putEscaped(withInvalidReplaced(bytes));
    w.finish();
}

HtmlDocumentWriter::HtmlDocumentWriter(const Highlighter& highlighter, const ExportSettings& settings)
    : highlighter_(highlighter) {
    std::string& out = head_;
    std::vector<TokenLook> looks;
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
        looks.push_back(lookOf(a, settings));
        lookIds_.push_back(static_cast<int>(std::find(looks.begin(), looks.end(), looks.back()) - looks.begin()));
    }
    out += "-->\r\n</style>\r\n</head>\r\n<body>\r\n<pre>\r\n";
    out += "<code><span style=\"font: " + std::to_string(settings.fontSize) + "pt ";
    appendHtmlEscaped(out, settings.fontName.toStdString());
    out += ";\">";
}

void HtmlDocumentWriter::append(std::string_view text, std::string& out) {
    // Entities and span tags at most double the text in practice; the first reservation
    // mostly covers the document.
    RawAppender w(out, head_.size() + text.size() * 2 + 256);
    w.put(head_);
    // Token bounds never split a UTF-8 sequence, so a valid text has only valid pieces and
    // the check is made once; a text with invalid bytes takes the checking path per piece.
    const bool valid = isValidUtf8(text);
    int openLook = -1;
    forEachExportPiece(
        text, highlighter_,
        [&](const ExportPiece& piece) {
            if (piece.lineEnd) {
                w.put(kLineEnd);
                return;
            }
            const auto attribute = static_cast<size_t>(piece.attribute);
            // Tokens that look alike share one span.
            if (const int look = lookIds_[attribute]; look != openLook) {
                if (openLook >= 0) w.put(kSpanEnd);
                w.put(spans_[attribute]);
                openLook = look;
            }
            if (valid || isValidUtf8(piece.bytes))
                w.putEscaped(piece.bytes);
            else
                w.putEscaped(withInvalidReplaced(piece.bytes));
        },
        tokens_);
    if (openLook >= 0) w.put(kSpanEnd);
    w.put(kTail);
    w.finish();
}

std::string exportHtml(std::string_view text, const Highlighter& highlighter, const ExportSettings& settings) {
    std::string out;
    HtmlDocumentWriter(highlighter, settings).append(text, out);
    return out;
}

} // namespace tw
