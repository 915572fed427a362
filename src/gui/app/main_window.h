#pragma once
// The main window: the collection tree on the left, the editor tabs with the one
// editor on the right, the main menu, two toolbars and the two-panel status bar.
// It keeps the collection, the current file name and the tabs' bindings, and carries
// every command of the program.

#include "app/feedback.h"
#include "app/program_paths.h"
#include "editor/catalogue.h"
#include "platform/keyboard_layouts.h"
#include "platform/launcher.h"
#include "tree/collection_tree.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QEvent;
class QDateTime;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabBar;
class QToolBar;
class QTreeView;

namespace tw {

class Prompter;
class CodeEditor;
class TreeModel;
class TreeView;
class ApplicationsDialog;
class ColourSchemeDialog;
class GoToLineDialog;
class FileSearchDialog;
class DirectoryExportDialog;
class SnippetKeysWindow;
class AssignKeyDialog;
class ApplicationHotkeyRegistrar;
class HotkeyRegistrar;
class FindDialog;
class ReplaceDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Prompter& prompter, ProgramPaths paths = ProgramPaths::standard(), QWidget* parent = nullptr);
    ~MainWindow() override;

    CollectionTree& tree() { return tree_; }
    const QString& currentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString& name) { currentFileName_ = name; }
    int lastOpenedIndex() const { return lastOpenedIndex_; }
    QString statusText(int panel) const;
    QAction* command(const QString& objectName) const;

    // Resets to a collection of the root node only, with the None tab (and no file name).
    void resetCollection();
    void updateCaption();
    void showCounts();
    void startProgress(int maximum);
    // Reads the collection file named by the current file name, when it exists (start-up).
    void openLastFile();

    // Editor tabs: each tab is a caption and the absolute index of the node it shows (0: none).
    QTabBar* tabs() const { return tabs_; }
    CodeEditor* editor() const { return editor_; }
    TreeView* treeView() const { return treeView_; }
    TreeModel* treeModel() const { return model_; }
    int boundIndex(int tab) const;
    Node* selectedNode() const;
    void selectNode(const Node* node);
    int currentLanguage() const { return currentLanguage_; }

    void loadNodeIntoTab(int tab, int absIndex);
    void openInActiveTab();
    void openInNewTab();
    bool activateTabOf(int absIndex);
    int noneTab() const;
    void addNoneTab();
    void closeTab(int tab);
    void clearModifiedMarks();
    // Puts the highlighter of a catalogue position into the editor (any other value: the first).
    void setLanguage(int position);
    HighlighterSet& highlighters() { return highlighters_; }
    // Sets the language of node absIndex from a file's extension (Object Pascal when none fits).
    void setLanguageByFile(const QString& fileName, int absIndex);
    // The position of the checked item of the language menu.
    int checkedLanguage() const;
    ColourSchemeDialog* colourSchemes() const { return colourSchemes_; }
    FindDialog* findDialog() const { return find_; }
    ReplaceDialog* replaceDialog() const { return replace_; }
    int searchScope() const { return searchScope_; }
    GoToLineDialog* goToLineDialog() const { return goToLine_; }
    ApplicationsDialog* applicationsList() const { return applications_; }
    // The applications-list dialog; one already on screen comes to the front as it is.
    void showApplicationsList(bool modal);
    // Adds one "Приложения" item per program of the folder (start-up).
    void addProgramItems(const QString& folder);
    DirectoryExportDialog* exportDialog() const { return directoryExport_; }
    // Writes every node as an HTML document and the index page linking them.
    void exportStructureHtml();
    // The go-to-line dialog without blocking the window (the program's own key).
    void showGoToLine();
    // The file-search dialog: modal from the toolbar, without modality from the hotkey;
    // a dialog already on screen comes to the front.
    void showFileSearch(bool modal);
    FileSearchDialog* fileSearchDialog() const { return fileSearch_; }
    void setStatusText(int panel, const QString& text);
    // Text-insertion hotkeys: the list window, the assignment dialog and the registrar of
    // the system-wide key combinations.
    SnippetKeysWindow* hotkeyList() const { return snippetKeys_; }
    AssignKeyDialog* assignDialog() const { return assignKey_; }
    HotkeyRegistrar& hotkeyRegistrar();
    // Registers the own keys 1-5 (Ctrl+Q, Ctrl+W, Ctrl+F, Ctrl+D, Alt+S); the failures are
    // reported in one message.
    void registerOwnKeys();
    // A press of a registered combination; ignored while the program is not active.
    void hotkeyPressed(int id);
    // Adds the nodes of a branch file below target, keeping every tab on its node.
    void addBranchFile(Node* target, const QString& fileName);
    void indent();
    void unindent();
    // Switches the keyboard layout by the text around the caret; may cancel the character.
    void switchLayoutByContext(QChar ch, bool& cancel);
    void setKeyboardLayouts(KeyboardLayouts* layouts) { layouts_ = layouts ? layouts : &noLayouts_; }
    // Starts programs and opens documents and addresses; tests put a recording fake here.
    void setLauncher(Launcher* launcher) { launcher_ = launcher ? launcher : &desktopLauncher_; }
    Launcher& launcher() { return *launcher_; }
    // The date and time as inserted: short date, and long time unless it is midnight.
    static QString dateTimeText(const QDateTime& when);
    const ProgramPaths& paths() const { return paths_; }
    // Settings of this window (geometry, tree width, recursion, line colours, last file).
    void loadSettings();
    bool saveSettings();

    // Tree editing.
    Node* addSection(Node* node, const QString& caption);
    Node* addPage(Node* node, const QString& caption);
    // addSection without refreshing the status-bar counts, for adding many nodes at once.
    Node* addSectionNode(Node* node, const QString& caption);
    // Removes whole branches (none inside another), keeping every tab on its node; tabs
    // bound to removed nodes are closed.
    void removeBranches(const std::vector<Node*>& branches);
    void deleteSelected();
    void enableTreeMenuItems(const Node* node);
    void setIcon(int menuPosition);  // 0..14 an icon of the icon menu, -1 "Нет"
    void expandBranch(bool expand);
    // Moves the dragged node to be the first child of target, keeping every tab on its node.
    void moveNode(Node* dragged, Node* target);
    bool recursionOn() const;
    // The editor's text as HTML or RTF, coloured by the language of the node last opened.
    void exportTextAsHtml();
    void exportTextAsRtf();
    bool editInProgress() const;

public slots:
    void newCollection();            // "Новый"
    void openCollection();            // "Открыть..."
    void save();           // "Сохранить"
    void saveAs();            // "Сохранить как..."
    void quit();            // "Выход"
    void clearCollection();   // "Очистить дерево"
    void openCollectionTool();   // "Открыть..."
    void saveTool();   // "Сохранить"
    void saveAsTool();  // "Сохранить как..."
    void openSelectedInActiveTab();           // "Открыть в активной закладке"
    void openSelectedInNewTab();           // "Открыть в новой закладке"
    void treeDoubleClicked();
    void treeClicked();
    void activeTabChanged();
    void editorChanged();
    void closeActiveTab();  // "Закрыть закладку"
    void clearEditor();   // "Очистить" (the editor)
    void loadFileIntoEditor();  // "Открыть..." (a file into the editor)
    void saveEditorText();  // "Сохранить как..." (the editor's text)
    void newSectionTool();   // "Создать новый раздел"
    void newPageTool();   // "Создать новую страницу"
    void addSectionFromMenu();           // "Добавить раздел"
    void addPageFromMenu();           // "Добавить страницу"
    void deleteTool();   // "Удалить элемент"
    void deleteFromMenu();           // "Удалить"
    void renameSelected();            // "Переименовать"
    void expandOrCollapseTool();           // "Развернуть ветвь" / "Свернуть ветвь" of the toolbar
    void expandOrCollapseFromMenu();           // "Развернуть ветвь" / "Свернуть ветвь" of the tree menu
    void languageChosen();          // every item of the language menu
    void resetLanguage();  // the face of "Подсветка синтаксиса"
    void showColourSchemes();  // "Настройка цветовых схем"
    void showSnippetKeys();  // "Назначение горячих клавиш для вставки текста"
    void findInCurrentTab();           // "Найти" > "в текущей вкладке"
    void findInCurrentTabTool();  // the face of "Правка": find in the current tab
    void findInTabs();           // "Найти" > "во вкладках"
    void findInAllPages();           // "Найти" > "среди всех страниц дерева"
    void findInNodeNames();           // "Найти" > "в названиях элементов"
    void showReplace();           // "Заменить..."
    void findNext();        // "find next" of the find dialog
    void replaceDialogFindNext();       // "find next" of the replace dialog
    void replace(bool all);  // "replace" / "replace all"
    void assignBookmark(int n);   // "Назначить" > "Метка n+1"
    void goToBookmark(int n);      // "Перейти" > item n
    void clearBookmarksCommand();           // "Очистить" of the bookmark menu
    void prepareBookmarkMenu();    // prepares the bookmark menu before it opens
    void addBranchFromFile();           // "Добавить ветвь из файла"
    void saveBranchToFile();           // "Сохранить ветвь в файл"
    void showDirectoryExport();           // "Сохранить ветвь в виде дерева каталогов"
    void exportWholeStructure();           // "HTML" > "Всю структуру"
    void undo();           // "Отменить"
    void showGoToLineModal();           // "Перейти на строку..." (modal)
    void indentSelection();           // "Увеличить отступ"
    void unindentSelection();           // "Уменьшить отступ"
    void insertDateTime();           // "Вставить дату и время"
    void showImport();  // "Воссоздание структуры каталогов"
    void exportCurrentTextHtml();           // "HTML" > "Текущий текст"
    void exportCurrentTextRtf();          // "RTF"
    void updateCaretLineColour();
    void editorKeyTyped(QChar ch, bool& cancel);
    void startProgram();          // every item of "Приложения": starts its program
    void editApplicationsList();           // "Редактировать список"
    void applicationsTool();  // "Открыть файл": the applications list
    void downloadUpdate();  // "Скачать последнюю версию программы"
    void showHelp();           // "Справка"
    void showAbout();           // "О программе..."
    // The update check found a newer version: remember its address and show the button.
    void newerVersionFound(const QString& address);

public:
    // The about message for the [Info] mail and site of the settings.
    static QString aboutText(const QString& mail, const QString& site);
    // Off in tests and benchmarks, which must not reach out to the network.
    static void setUpdateCheckEnabled(bool enabled);
    const QString& downloadAddress() const { return downloadAddress_; }
    // Starts the update check against the [Update] host of the settings.
    void startUpdateCheck();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void startUp();
    void shutDown();

    void buildWidgets();
    void buildCommands();
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint = {},
                        void (MainWindow::*slot)() = nullptr);
    QMenu* dropDownMenu(const QString& name);

    void askAndClear();
    void openCollectionFile();
    void saveCommand();
    void chooseAndSave();
    bool confirmReplace(const QString& fileName);
    // Writes the collection by the rules of the extension; false when nothing was written.
    bool writeCollection(const QString& fileName);
    bool writeXml(const QString& fileName);
    bool writeText(const QString& fileName);
    // Reads a collection file (XML or text) into the reset tree; the name becomes current on success.
    void readCollection(const QString& name, bool asXml);
    void setActiveTab(int tab);
    void checkLanguage(int position);
    PageRecord* boundPage() const;
    void showBookmarksOf(int absIndex);
    void enableAssignItems(int k);
    void copyEditorIntoBoundNode();
    void captionGoToItems();
    bool editorEmpty() const;
    void notFound(const QString& text);
    void findInCaptions();
    void setBoundLanguage(int lan);
    void retag(const std::vector<int>& tags);
    std::vector<int> tags() const;
    void onExpandedChanged(const QModelIndex& index, bool expanded);
    void onRenamed(Node* node);
    void addSectionCommand(bool fromMenu);
    void addPageCommand(bool fromMenu);
    // The highlighter of the language of the node last opened in a tab (the exports use it).
    Highlighter& lastOpenedHighlighter() const;

    // Feedback for a read or write: messages are gathered and shown as one box.
    Feedback operationFeedback();
    void showGatheredMessages();
    void destroyBar();

    Prompter& prompter_;
    CollectionTree tree_;
    QString currentFileName_;
    int lastOpenedIndex_ = 0;
    bool shown_ = false;
    QStringList gathered_;

    TreeModel* model_ = nullptr;
    TreeView* treeView_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabBar* tabs_ = nullptr;
    CodeEditor* editor_ = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* editorBar_ = nullptr;
    QMenu* treeMenu_ = nullptr;
    QAction* recurse_ = nullptr;
    class QActionGroup* languageGroup_ = nullptr;
    ColourSchemeDialog* colourSchemes_ = nullptr;
    FindDialog* find_ = nullptr;
    GoToLineDialog* goToLine_ = nullptr;
    FileSearchDialog* fileSearch_ = nullptr;
    ApplicationsDialog* applications_ = nullptr;
    QMenu* applicationsMenu_ = nullptr;
    QMenu* programsMenu_ = nullptr;
    DirectoryExportDialog* directoryExport_ = nullptr;
    ApplicationHotkeyRegistrar* registrar_ = nullptr;
    SnippetKeysWindow* snippetKeys_ = nullptr;
    AssignKeyDialog* assignKey_ = nullptr;
    QAction* autoLayout_ = nullptr;
    NoKeyboardLayouts noLayouts_;
    KeyboardLayouts* layouts_ = &noLayouts_;
    DesktopLauncher desktopLauncher_;
    QString downloadAddress_;
    std::unique_ptr<class UpdateCheck> update_;
    Launcher* launcher_ = &desktopLauncher_;
    ReplaceDialog* replace_ = nullptr;
    std::vector<QAction*> assignMarks_, gotoMarks_;
    int searchScope_ = 0;  // 1 current tab, 2 open tabs, 3 element names, 4 all nodes; 0 acts as 1
    ProgramPaths paths_;
    HighlighterSet highlighters_;
    std::uint32_t aLineColor_ = 0xC3EFEF;
    std::uint32_t aMarkColor_ = 0xDDFDC6;
    int currentLanguage_ = 0;
    int programmatic_ = 0;  // > 0 while the window itself changes the active tab or expansion
};

} // namespace tw
