#pragma once
// The HTML exporter: a highlighted text as a complete XHTML document in UTF-8, one CSS
// class per attribute of the highlighter and one span per run of tokens that look alike.

#include "editor/export_common.h"

#include <string>
#include <string_view>

namespace tw {

// The document of the text (UTF-8 bytes, lines as the editor holds them) with the
// highlighter's attributes as they are now (the user's colours included).
std::string exportHtml(std::string_view text, const Highlighter& highlighter,
                       const ExportSettings& settings = {});

// "#RRGGBB" in upper case for a colour 0x00BBGGRR.
std::string htmlColor(std::uint32_t color);

// The text with "&", "<", ">" and the double quote as entities; invalid UTF-8 as U+FFFD.
void appendHtmlEscaped(std::string& out, std::string_view bytes);

} // namespace tw
