#pragma once
// The main window: the collection tree on the left, the editor tabs with the one editor
// on the right, the main menu, two toolbars and the two-panel status bar. It builds the
// window, wires every command to the part that owns it, and runs start-up and shut-down;
// the parts implement the commands.

#include "app/program_paths.h"
#include "platform/launcher.h"
#include "tree/collection_tree.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <vector>

class QAction;
class QKeySequence;
class QMenu;
class QSplitter;
class QTabBar;
class QToolBar;

namespace tw {

class ApplicationsMenu;
class BackgroundRead;
class BookmarkCommands;
class BranchFileCommands;
class CaretLineColour;
class CodeEditor;
class CollectionDocument;
class ColourSchemeDialog;
class ExportCommands;
class FileSearchDialog;
class GoToLineDialog;
class HelpAndUpdates;
class Indentation;
class KeyboardLayouts;
class LayoutSwitcher;
class Prompter;
class SearchCommands;
class SnippetKeys;
class StatusPanels;
class TreeEditor;
class TreeModel;
class TreeView;
class Recovery;
class Workspace;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Prompter& prompter, ProgramPaths paths = ProgramPaths::standard(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // The parts.
    CollectionDocument& document() const { return *document_; }
    Workspace& workspace() const { return *workspace_; }
    TreeEditor& treeEditor() const { return *treeEditor_; }
    SearchCommands& search() const { return *search_; }
    BookmarkCommands& bookmarks() const { return *bookmarks_; }
    BranchFileCommands& branchFiles() const { return *branchFiles_; }
    ExportCommands& exports() const { return *exports_; }
    ApplicationsMenu& applications() const { return *applications_; }
    SnippetKeys& snippetKeys() const { return *snippetKeys_; }
    HelpAndUpdates& help() const { return *help_; }
    CaretLineColour& caretLineColour() const { return *caretLine_; }
    Indentation& indentation() const { return *indentation_; }
    LayoutSwitcher& layoutSwitcher() const { return *layoutSwitcher_; }
    StatusPanels& status() const { return *status_; }
    Recovery& recovery() const { return *recovery_; }
    ColourSchemeDialog* colourSchemes() const { return colourSchemes_; }
    GoToLineDialog* goToLineDialog() const { return goToLine_; }
    FileSearchDialog* fileSearchDialog() const { return fileSearch_; }

    // What most commands and tests look at.
    // The collection as every reader sees it: with the text being typed in its record.
    CollectionTree& tree();
    CodeEditor* editor() const;
    QTabBar* tabs() const;
    TreeView* treeView() const { return treeView_; }
    TreeModel* treeModel() const { return model_; }
    Node* selectedNode() const;
    void selectNode(const Node* node);
    const QString& currentFileName() const;
    QString statusText(int panel) const;
    QAction* command(const QString& objectName) const;
    const ProgramPaths& paths() const { return paths_; }

    // The go-to-line dialog without blocking the window (the program's own key), and modal.
    void showGoToLine();
    void showGoToLineModal();
    // The file-search dialog: modal from the toolbar, without modality from the own key.
    void showFileSearch(bool modal);
    void showColourSchemes();

    // Starts programs and opens documents and addresses; tests put a recording fake here.
    void setLauncher(Launcher* launcher) { launcher_ = launcher ? launcher : &desktopLauncher_; }
    Launcher& launcher() { return *launcher_; }
    void setKeyboardLayouts(KeyboardLayouts* layouts);

    // The collection the window opens at start-up in place of the last file (the program's
    // command-line argument); set before the window is first shown.
    void setStartFile(const QString& fileName);

    // Settings of this window (geometry, tree width, recursion, line colours, last file).
    void loadSettings();
    bool saveSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTreeView();
    void buildParts();
    void layoutWidgets();
    void buildCommands();
    void buildFileMenu();
    void buildMainToolBar();
    void buildEditorToolBar();
    void buildTreeMenu();
    QMenu* buildIconMenu();
    QMenu* buildLanguageMenu();
    QMenu* buildBookmarkMenu();
    QMenu* buildEditMenu();
    // An action named for its command, triggering slot.
    template <typename Slot>
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint, Slot slot);
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint = {});
    QMenu* dropDownMenu(const QString& name);
    // The usual key of a command, shown in its menu.
    static QAction* withKey(QAction* action, const QKeySequence& key);
    void stepTab(int step);
    void findAgain(bool downward);
    // First show: settings, programs, keys, the last file (read in the background), then,
    // once it is read, the recovery offer and the update check.
    void startUp();
    void finishStartUp();
    // Starts reading the last file named in the settings before the window is built.
    void readLastFileAhead();
    // While a collection is read in the background the window takes no commands.
    void setBusy(bool busy);
    // Close: the settings written, the own keys released.
    void shutDown();

    Prompter& prompter_;
    ProgramPaths paths_;
    CollectionTree tree_;
    bool shown_ = false;
    QString startFile_;
    // The last file named in the settings, read ahead while the window is built and shown;
    // start-up takes the read over.
    std::unique_ptr<BackgroundRead> readAhead_;
    bool startUpPending_ = false;  // start-up goes on when the background read ends
    std::vector<QPointer<QAction>> pausedActions_;  // the commands disabled while busy
    QPointer<QWidget> pausedFocus_;                 // where the keyboard was before

    TreeModel* model_ = nullptr;
    TreeView* treeView_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* editorBar_ = nullptr;
    QMenu* programsMenu_ = nullptr;
    QMenu* applicationsMenu_ = nullptr;
    QAction* recursion_ = nullptr;
    QAction* autoLayout_ = nullptr;

    std::unique_ptr<StatusPanels> status_;
    Workspace* workspace_ = nullptr;
    CollectionDocument* document_ = nullptr;
    TreeEditor* treeEditor_ = nullptr;
    SearchCommands* search_ = nullptr;
    BookmarkCommands* bookmarks_ = nullptr;
    BranchFileCommands* branchFiles_ = nullptr;
    ExportCommands* exports_ = nullptr;
    ApplicationsMenu* applications_ = nullptr;
    SnippetKeys* snippetKeys_ = nullptr;
    HelpAndUpdates* help_ = nullptr;
    CaretLineColour* caretLine_ = nullptr;
    Indentation* indentation_ = nullptr;
    LayoutSwitcher* layoutSwitcher_ = nullptr;
    ColourSchemeDialog* colourSchemes_ = nullptr;
    GoToLineDialog* goToLine_ = nullptr;
    FileSearchDialog* fileSearch_ = nullptr;
    Recovery* recovery_ = nullptr;

    DesktopLauncher desktopLauncher_;
    Launcher* launcher_ = &desktopLauncher_;
};

} // namespace tw
