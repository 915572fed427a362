#pragma once
// The current-text export as the commands carry it out: the chosen name gets the format's
// extension, the text becomes a document of that format, and the file is written in one
// step (a failed write leaves any old file as it was).

#include "editor/export_common.h"

#include <QString>
#include <string_view>

namespace tw {

enum class ExportFormat { Html, Rtf };

// The save-dialog filter of the format: "HTML|*.html" or "RTF|*.rtf".
QString exportFilterName(ExportFormat format);
QString exportFilterPattern(ExportFormat format);

// The chosen name with ".html" or ".rtf" appended, always (code.html gives code.html.html).
QString exportFileName(const QString& chosen, ExportFormat format);

// The document of the text in the format.
std::string exportDocument(std::string_view text, const Highlighter& highlighter, ExportFormat format,
                           const ExportSettings& settings = {});

// Writes the document bytes; on failure false, with "Cannot create file "NAME". REASON" in message.
bool writeExportFile(const QString& fileName, std::string_view document, QString* message);

} // namespace tw
