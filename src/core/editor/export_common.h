#pragma once
// What the HTML and RTF exporters share: their settings, the look of a token (colour and
// font styles), the class names of attributes, and the walk over a text's lines and tokens.

#include "editor/highlighter.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

struct ExportSettings {
    std::uint32_t fontColor = 0x000000;        // 0x00BBGGRR; unset attribute colours count as this
    std::uint32_t backgroundColor = 0xFFFFFF;  // the document background
    QString fontName = QStringLiteral("Arial");
    int fontSize = 10;  // points
    QString title = QStringLiteral("Untitled");
};

// How a token looks in a document: attribute backgrounds are not exported.
struct TokenLook {
    std::uint32_t color = 0;  // 0x00BBGGRR, resolved
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
// line's tokens followed by a line end. Token bounds never fall inside a UTF-8 sequence.
std::vector<ExportPiece> exportPieces(std::string_view text, const Highlighter& highlighter);

// Appends the code points of UTF-8 bytes as UTF-16 units; invalid bytes give U+FFFD.
QString decodeUtf8(std::string_view bytes);

} // namespace tw
