#pragma once
// The RTF exporter: a highlighted text as an RTF document with a colour table of the
// colours used, in order of first use, and style codes where a run of tokens begins.
// Characters beyond ASCII are written as \uN? so any reader shows them as they are.

#include "editor/export_common.h"

#include <string>
#include <string_view>

namespace tw {

std::string exportRtf(std::string_view text, const Highlighter& highlighter,
                      const ExportSettings& settings = {});

// The text with "\", "{" and "}" escaped and every UTF-16 unit beyond ASCII as \uN?
// (N signed 16-bit, so a character beyond the first plane gives two).
void appendRtfEscaped(std::string& out, std::string_view bytes);

} // namespace tw
