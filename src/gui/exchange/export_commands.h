#pragma once
// The exports: the editor's text as HTML or RTF, every node as HTML documents with an
// index page, and the selected branch as a tree of folders and text files.

#include <QObject>

namespace tw {

class DirectoryExportDialog;
class Prompter;
class StatusPanels;
class Workspace;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    ExportCommands(Workspace& workspace, StatusPanels& status, Prompter& prompter, QWidget* dialogParent);

    DirectoryExportDialog* directoryExportDialog() const { return directoryExport_; }

    // The editor's text coloured by the language of the node last opened.
    void exportTextAsHtml();
    void exportTextAsRtf();
    // "Всю структуру": asks for the index page's name, then writes every node.
    void exportWholeStructure();
    // "Сохранить ветвь в виде дерева каталогов": the export dialog for the selected branch.
    void showDirectoryExport();

private:
    Workspace& workspace_;
    StatusPanels& status_;
    Prompter& prompter_;
    DirectoryExportDialog* directoryExport_;
};

} // namespace tw
