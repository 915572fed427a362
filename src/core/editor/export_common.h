#pragma once
// What the HTML and RTF exporters share: their settings, the look of a token (colour and
// font styles), the class names of attributes, and the walk over a text's lines and tokens.

#include "editor/highlighter.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw {

struct ExportSettings {
    std::uint32_t fontColor = 0x000000;       // 0x00BBGGRR; unset attribute colours count as this
    std::uint32_t backgroundColor = 0xFFFFFF; // the document background
    QString fontName = QStringLiteral("Arial");
    int fontSize = 10; // points
    QString title = QStringLiteral("Untitled");
    // What a system colour (a stored value with the high byte 0x80 or 0xFF) stands for in
    // the window's palette, as 0x00BBGGRR; unset or nullopt: the colour counts as unset.
    std::function<std::optional<std::uint32_t>(std::uint32_t)> systemColor;
};

// An attribute colour as a document shows it: its own colour, a system colour resolved
// through the settings, or nullopt for none and default.
std::optional<std::uint32_t> exportColor(std::uint32_t value, const ExportSettings& settings);

// How a token looks in a document: attribute backgrounds are not exported.
struct TokenLook {
    std::uint32_t color = 0; // 0x00BBGGRR, resolved
    std::uint8_t style = kPlain;
    bool operator==(const TokenLook&) const = default;
};

// The look of an attribute; a colour left unset (or a system colour) is the font colour.
TokenLook lookOf(const Attribute& attribute, const ExportSettings& settings);

// True when the attribute has a colour of its own (not none, default or a system colour).
bool hasOwnColor(std::uint32_t color);

// The HTML class of an attribute: the highlighter's short class name, "1", ".", the
// attribute name, lower-cased, "." and "_" as "-", only "-", digits and a-z kept
// ("pas1-comment", "sql1-plsqlreservedword").
QString exportClassName(const Highlighter& highlighter, const QString& attributeName);

// One piece of the exported text: a token's bytes with its attribute, or a line end.
struct ExportPiece {
    std::string_view bytes;
    int attribute = 0;
    bool lineEnd = false;
};

// The text as the editor's lines (split at CR LF, LF or CR; an empty text has none), each
// line's tokens followed by a line end, handed to visit(const ExportPiece&) in order.
// Token bounds never fall inside a UTF-8 sequence.
template <typename Visit>
void forEachExportPiece(std::string_view text, const Highlighter& highlighter, Visit&& visit);
// The same, with the caller's vector for the tokens of a line, so a writer of many texts
// allocates it once.
template <typename Visit>
void forEachExportPiece(std::string_view text, const Highlighter& highlighter, Visit&& visit,
                        std::vector<Token>& tokens);

// The UTF-16 units of UTF-8 bytes, in order; each invalid byte gives U+FFFD. Returns
// false when some byte was invalid.
template <typename Sink> bool forEachUtf16Unit(std::string_view bytes, Sink&& sink);

} // namespace tw

namespace tw::detail {
// The code point of the UTF-8 sequence at bytes[at] and its length; length 1 and U+FFFD
// for an invalid byte.
char32_t decodeUtf8At(std::string_view bytes, size_t at, size_t& length);
} // namespace tw::detail

namespace tw {

template <typename Sink> bool forEachUtf16Unit(std::string_view bytes, Sink&& sink) {
    bool valid = true;
    for (size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            sink(static_cast<char16_t>(lead));
            ++at;
            continue;
        }
        size_t length = 1;
        const char32_t c = detail::decodeUtf8At(bytes, at, length);
        if (c == 0xFFFD && length == 1) valid = false;
        if (c >= 0x10000) {
            sink(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            sink(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            sink(static_cast<char16_t>(c));
        }
        at += length;
    }
    return valid;
}

namespace detail {
// A token boundary moved forward past the continuation bytes of a UTF-8 sequence.
inline size_t snapToCharacter(std::string_view line, size_t at) {
    while (at > 0 && at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
        ++at;
    return std::min(at, line.size());
}
} // namespace detail

template <typename Visit>
void forEachExportPiece(std::string_view text, const Highlighter& highlighter, Visit&& visit) {
    std::vector<Token> tokens;
    forEachExportPiece(text, highlighter, std::forward<Visit>(visit), tokens);
}

template <typename Visit>
void forEachExportPiece(std::string_view text, const Highlighter& highlighter, Visit&& visit,
                        std::vector<Token>& tokens) {
    if (text.empty()) return;
    const int space = std::max(highlighter.spaceAttribute(), 0);
    const int attributeCount = static_cast<int>(highlighter.attributes().size());
    int state = 0;
    size_t pos = 0;
    for (;;) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(pos, end - pos);
        tokens.clear();
        highlighter.tokenizeLine(line, state, tokens);
        if (tokens.empty() && !line.empty()) tokens.push_back({0, static_cast<int>(line.size()), space});
        // Each token runs to the start of the next, so every byte of the line is exported once.
        size_t from = 0;
        for (size_t k = 0; k < tokens.size(); ++k) {
            const size_t to =
                k + 1 < tokens.size()
                    ? detail::snapToCharacter(line, static_cast<size_t>(std::max(tokens[k + 1].start, 0)))
                    : line.size();
            if (to > from) {
                const int attribute = tokens[k].attribute;
                const bool known = attribute >= 0 && attribute < attributeCount;
                visit(ExportPiece{line.substr(from, to - from), known ? attribute : space, false});
                from = to;
            }
        }
        visit(ExportPiece{{}, 0, true});
        if (end == text.size()) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
}

} // namespace tw
