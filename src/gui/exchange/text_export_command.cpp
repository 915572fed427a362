#include "exchange/text_export_command.h"

#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "schemes/system_colours.h"

#include <QPalette>

namespace tw {

namespace {

std::uint32_t toColorValue(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

} // namespace

ExportSettings exportSettingsFor(const CodeEditor& editor) {
    ExportSettings settings;
    settings.fontColor = toColorValue(editor.palette().color(QPalette::Text));
    settings.backgroundColor = toColorValue(editor.palette().color(QPalette::Base));
    settings.systemColor = [](std::uint32_t value) -> std::optional<std::uint32_t> {
        if (!findSystemColour(value)) return std::nullopt;
        return toColorValue(resolveColour(value));
    };
    return settings;
}

QString exportEditorText(Prompter& prompter, const CodeEditor& editor, const Highlighter& highlighter,
                         ExportFormat format) {
    const auto choice = prompter.chooseSaveFile({{exportFilterName(format), exportFilterPattern(format)}});
    if (!choice) return {};
    const std::string text = editor.wholeText();
    if (text.empty()) return {};  // nothing to export: no file, no message
    const QString fileName = exportFileName(choice->path, format);
    QString message;
    if (writeExportFile(fileName, exportDocument(text, highlighter, format, exportSettingsFor(editor)),
                        &message))
        return fileName;
    prompter.showMessage(message);
    return {};
}

} // namespace tw
