#include "editor/text_export.h"

#include "editor/html_export.h"
#include "editor/rtf_export.h"
#include "storage/file_names.h"
#include "storage/safe_save.h"


namespace tw {

QString exportFilterName(ExportFormat format) {
    return format == ExportFormat::Html ? QStringLiteral("HTML") : QStringLiteral("RTF");
}

QString exportFilterPattern(ExportFormat format) {
    return format == ExportFormat::Html ? QStringLiteral("*.html") : QStringLiteral("*.rtf");
}

QString exportFileName(const QString& chosen, ExportFormat format) {
    return chosen + (format == ExportFormat::Html ? QStringLiteral(".html") : QStringLiteral(".rtf"));
}

std::string exportDocument(std::string_view text, const Highlighter& highlighter, ExportFormat format,
                           const ExportSettings& settings) {
    return format == ExportFormat::Html ? exportHtml(text, highlighter, settings)
                                        : exportRtf(text, highlighter, settings);
}

bool writeExportFile(const QString& fileName, std::string_view document, QString* message) {
    QString reason;
    if (saveFileBytes(fileName, QByteArrayView(document.data(), static_cast<qsizetype>(document.size())), &reason))
        return true;
    if (message) *message = cannotCreateFileMessage(fileName, reason);
    return false;
}

} // namespace tw
