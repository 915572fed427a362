#pragma once
// The HTML exporter: a highlighted text as a complete XHTML document in UTF-8, one CSS
// class per attribute of the highlighter and one span per run of tokens that look alike.

#include "editor/export_common.h"

#include <string>
#include <string_view>
#include <vector>

namespace tw {

// The document of the text (UTF-8 bytes, lines as the editor holds them) with the
// highlighter's attributes as they are now (the user's colours included).
std::string exportHtml(std::string_view text, const Highlighter& highlighter,
                       const ExportSettings& settings = {});

// Writes the documents of many texts in one highlighter and one set of settings: the
// document head (style sheet included), each attribute's opening span and look are made
// once, when the writer is made, so each text costs only its own tokens. The attributes
// and settings are read then; make a new writer after either changes.
class HtmlDocumentWriter {
public:
    HtmlDocumentWriter(const Highlighter& highlighter, const ExportSettings& settings);
    // Appends the document of text to out, the same bytes exportHtml gives.
    void append(std::string_view text, std::string& out);

private:
    const Highlighter& highlighter_;
    std::string head_;                // everything before the first token
    std::vector<std::string> spans_;  // "<span class=\"...\">" by attribute
    std::vector<int> lookIds_;        // by attribute: equal numbers for equal looks
    std::vector<Token> tokens_;       // one line's tokens, reused
};

// "#RRGGBB" in upper case for a colour 0x00BBGGRR.
std::string htmlColor(std::uint32_t color);

// The text with "&", "<", ">" and the double quote as entities; invalid UTF-8 as U+FFFD.
void appendHtmlEscaped(std::string& out, std::string_view bytes);

} // namespace tw
