#pragma once
// The highlighted HTML document of one node's text, as the whole-structure export
// writes it: a complete XHTML document in UTF-8 (declared as such), one span per run of
// tokens that look the same, classes named after the language and the attribute.
// (The export of the current text writes the same form; the two can share this.)

#include "editor/highlighter.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

struct HtmlDocumentStyle {
    std::uint32_t fontColor = 0x000000;   // 0x00BBGGRR: the window-text colour
    std::uint32_t background = 0xFFFFFF;  // the window colour
    QString fontName = QStringLiteral("Arial");
    int fontPoints = 10;
};

// The CSS class of an attribute: language id + "1-" + attribute name, lower-cased, with
// "." and "_" as "-" and everything but "-", digits and a-z dropped ("pas1-comment").
QString htmlClassName(const Highlighter& highlighter, const Attribute& attribute);

// The document of text split into lines at CR LF, LF or CR (a last line break adds no
// line); every line is followed by CR LF. Bytes outside the markup characters pass unchanged.
std::string nodeHtmlDocument(const Highlighter& highlighter, std::string_view text,
                             const HtmlDocumentStyle& style = {});

} // namespace tw
