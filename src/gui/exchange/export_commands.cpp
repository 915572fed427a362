#include "exchange/export_commands.h"

#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "exchange/directory_export.h"
#include "exchange/directory_export_dialog.h"
#include "exchange/structure_export.h"
#include "exchange/text_export_command.h"
#include "platform/prompter.h"
#include "workspace/workspace.h"

namespace tw {

ExportCommands::ExportCommands(Workspace& workspace, StatusPanels& status, Prompter& prompter, QWidget* dialogParent)
    : QObject(dialogParent), workspace_(workspace), status_(status), prompter_(prompter) {
    directoryExport_ = new DirectoryExportDialog([&workspace]() -> const CollectionTree& { return workspace.tree(); }, prompter,
                                                dialogParent);
}

void ExportCommands::exportTextAsHtml() {
    exportEditorText(prompter_, *workspace_.editor(), workspace_.lastOpenedHighlighter(), ExportFormat::Html);
}

void ExportCommands::exportTextAsRtf() {
    exportEditorText(prompter_, *workspace_.editor(), workspace_.lastOpenedHighlighter(), ExportFormat::Rtf);
}

void ExportCommands::exportWholeStructure() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("HTML"), QStringLiteral("*.html")}});
    if (!choice) return;
    const StructureExportOutcome outcome =
        exportStructureHtml(workspace_.tree(), workspace_.highlighters(), choice->path, status_.operationFeedback(),
                            exportSettingsFor(*workspace_.editor()));
    status_.setText(1, pagesExportedStatus(workspace_.tree().count() - outcome.failedNodes));
    status_.showGatheredMessages();
}

void ExportCommands::showDirectoryExport() {
    Node* node = workspace_.selectedNode();
    if (!node) {
        prompter_.showInformation(QStringLiteral("Вы не выбрали ветвь для экспорта!"));
        return;
    }
    directoryExport_->setWindowTitle(status_.text(1));
    directoryExport_->setBranch(node);
    const QString before = directoryExport_->summary();
    directoryExport_->exec();
    directoryExport_->setBranch(nullptr);
    if (directoryExport_->summary() != before || !before.isEmpty()) status_.setText(1, directoryExport_->summary());
}

} // namespace tw
