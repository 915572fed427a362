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
class SynMemo;
class TreeModel;
class TreeView;
class TForm4;
class TForm5;
class TForm2;
class TForm3;
class TForm10;
class TForm6;
class TForm7;
class ApplicationHotkeyRegistrar;
class HotkeyRegistrar;
class FindDialog;
class ReplaceDialog;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Prompter& prompter, ProgramPaths paths = ProgramPaths::standard(), QWidget* parent = nullptr);
    ~TForm1() override;

    CollectionTree& tree() { return tree_; }
    const QString& currentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString& name) { currentFileName_ = name; }
    int lastOpenedIndex() const { return lastOpenedIndex_; }
    QString statusText(int panel) const;
    QAction* command(const QString& objectName) const;

    // Resets to a collection of the root node only, with the None tab (and no file name).
    void NewTree();
    void ChangeCaption();
    void GetInfoTree();
    void CreateBar(int maximum);
    // Reads the collection file named by the current file name, when it exists (start-up).
    void openLastFile();

    // Editor tabs: each tab is a caption and the absolute index of the node it shows (0: none).
    QTabBar* tabs() const { return Pages1; }
    SynMemo* editor() const { return SynMemo1; }
    TreeView* treeView() const { return Tree; }
    TreeModel* treeModel() const { return model_; }
    int boundIndex(int tab) const;
    Node* selectedNode() const;
    void selectNode(const Node* node);
    int currentLanguage() const { return currentLanguage_; }

    void MemoToPage(int tab, int absIndex);
    void OpenInActivePage();
    void OpenInNewPage();
    bool PageExists(int absIndex);
    int NoneExists() const;
    void CreateNonePage();
    void DeletePage(int tab);
    void ChangeTabCaption();
    // Puts the highlighter of a catalogue position into the editor (any other value: the first).
    void SetSyn(int position);
    HighlighterSet& highlighters() { return highlighters_; }
    // Sets the language of node absIndex from a file's extension (Object Pascal when none fits).
    void SetSynByFile(const QString& fileName, int absIndex);
    // The position of the checked item of the language menu.
    int checkedLanguage() const;
    TForm5* colourSchemes() const { return Form5; }
    FindDialog* findDialog() const { return Find1; }
    ReplaceDialog* replaceDialog() const { return Replace1; }
    int searchScope() const { return searchScope_; }
    TForm2* goToLineDialog() const { return Form2; }
    TForm4* applicationsList() const { return Form4; }
    // The applications-list dialog; one already on screen comes to the front as it is.
    void showApplicationsList(bool modal);
    // Adds one "Приложения" item per program of the folder (start-up).
    void FindExe(const QString& folder);
    TForm10* exportDialog() const { return Form10; }
    // Writes every node as an HTML document and the index page linking them.
    void AllExportHTML();
    // The go-to-line dialog without blocking the window (the program's own key).
    void showGoToLine();
    // The file-search dialog: modal from the toolbar, without modality from the hotkey;
    // a dialog already on screen comes to the front.
    void showFileSearch(bool modal);
    TForm3* fileSearchDialog() const { return Form3; }
    void setStatusText(int panel, const QString& text);
    // Text-insertion hotkeys: the list window, the assignment dialog and the registrar of
    // the system-wide key combinations.
    TForm6* hotkeyList() const { return Form6; }
    TForm7* assignDialog() const { return Form7; }
    HotkeyRegistrar& hotkeyRegistrar();
    // Registers the own keys 1-5 (Ctrl+Q, Ctrl+W, Ctrl+F, Ctrl+D, Alt+S); the failures are
    // reported in one message.
    void RegisterHotKeys();
    // A press of a registered combination; ignored while the program is not active.
    void WMHotKey(int id);
    // Adds the nodes of a branch file below target, keeping every tab on its node.
    void AddXMLToTree(Node* target, const QString& fileName);
    void IncreaseLine();
    void DecreaseLine();
    // Switches the keyboard layout by the text around the caret; may cancel the character.
    void AutoLan(QChar ch, bool& cancel);
    void setKeyboardLayouts(KeyboardLayouts* layouts) { layouts_ = layouts ? layouts : &noLayouts_; }
    // Starts programs and opens documents and addresses; tests put a recording fake here.
    void setLauncher(Launcher* launcher) { launcher_ = launcher ? launcher : &desktopLauncher_; }
    Launcher& launcher() { return *launcher_; }
    // The date and time as inserted: short date, and long time unless it is midnight.
    static QString dateTimeText(const QDateTime& when);
    const ProgramPaths& paths() const { return paths_; }
    // Settings of this window (geometry, tree width, recursion, line colours, last file).
    void LoadSettings();
    bool SaveSettings();

    // Tree editing.
    Node* AddRazdel(Node* node, const QString& caption);
    Node* AddDoc(Node* node, const QString& caption);
    // AddRazdel without refreshing the status-bar counts, for adding many nodes at once.
    Node* addSectionNode(Node* node, const QString& caption);
    // Removes whole branches (none inside another), keeping every tab on its node; tabs
    // bound to removed nodes are closed.
    void removeBranches(const std::vector<Node*>& branches);
    void DelElem();
    void EnabledItem(const Node* node);
    void setIcon(int menuPosition);  // 0..14 an icon of the icon menu, -1 "Нет"
    void expandBranch(bool expand);
    // Moves the dragged node to be the first child of target, keeping every tab on its node.
    void TreeEndDrag(Node* dragged, Node* target);
    bool recursionOn() const;
    // The editor's text as HTML or RTF, coloured by the language of the node last opened.
    void ExportHTML();
    void ExportRTF();
    bool editInProgress() const;

public slots:
    void N4Click();            // "Новый"
    void N7Click();            // "Открыть..."
    void N55Click();           // "Сохранить"
    void N6Click();            // "Сохранить как..."
    void N9Click();            // "Выход"
    void ToolButton8Click();   // "Очистить дерево"
    void ToolButton7Click();   // "Открыть..."
    void ToolButton5Click();   // "Сохранить"
    void ToolButton33Click();  // "Сохранить как..."
    void N36Click();           // "Открыть в активной закладке"
    void N37Click();           // "Открыть в новой закладке"
    void TreeDblClick();
    void TreeClick();
    void Pages1Change();
    void SynMemo1Change();
    void ToolButton24Click();  // "Закрыть закладку"
    void ToolButton9Click();   // "Очистить" (the editor)
    void ToolButton11Click();  // "Открыть..." (a file into the editor)
    void ToolButton10Click();  // "Сохранить как..." (the editor's text)
    void ToolButton1Click();   // "Создать новый раздел"
    void ToolButton2Click();   // "Создать новую страницу"
    void N28Click();           // "Добавить раздел"
    void N31Click();           // "Добавить страницу"
    void ToolButton4Click();   // "Удалить элемент"
    void N32Click();           // "Удалить"
    void N3Click();            // "Переименовать"
    void N12Click();           // "Развернуть ветвь" / "Свернуть ветвь" of the toolbar
    void N53Click();           // "Развернуть ветвь" / "Свернуть ветвь" of the tree menu
    void SQL1Click();          // every item of the language menu
    void ToolButton14Click();  // the face of "Подсветка синтаксиса"
    void ToolButton27Click();  // "Настройка цветовых схем"
    void ToolButton28Click();  // "Назначение горячих клавиш для вставки текста"
    void N63Click();           // "Найти" > "в текущей вкладке"
    void ToolButton16Click();  // the face of "Правка": find in the current tab
    void N64Click();           // "Найти" > "во вкладках"
    void N65Click();           // "Найти" > "среди всех страниц дерева"
    void N66Click();           // "Найти" > "в названиях элементов"
    void N62Click();           // "Заменить..."
    void FindDlgFind();        // "find next" of the find dialog
    void Replace1Find();       // "find next" of the replace dialog
    void Replace1Replace(bool all);  // "replace" / "replace all"
    void AddBookmark(int n);   // "Назначить" > "Метка n+1"
    void GotoMark(int n);      // "Перейти" > item n
    void N49Click();           // "Очистить" of the bookmark menu
    void PopupMenu7Popup();    // prepares the bookmark menu before it opens
    void N57Click();           // "Добавить ветвь из файла"
    void N59Click();           // "Сохранить ветвь в файл"
    void N60Click();           // "Сохранить ветвь в виде дерева каталогов"
    void N35Click();           // "HTML" > "Всю структуру"
    void N69Click();           // "Отменить"
    void N71Click();           // "Перейти на строку..." (modal)
    void N74Click();           // "Увеличить отступ"
    void N75Click();           // "Уменьшить отступ"
    void N68Click();           // "Вставить дату и время"
    void ToolButton21Click();  // "Воссоздание структуры каталогов"
    void N34Click();           // "HTML" > "Текущий текст"
    void RTF1Click();          // "RTF"
    void SetActiveLineColor();
    void SynMemo1KeyPress(QChar ch, bool& cancel);
    void ProgClick();          // every item of "Приложения": starts its program
    void N40Click();           // "Редактировать список"
    void ToolButton25Click();  // "Открыть файл": the applications list
    void ToolButton30Click();  // "Скачать последнюю версию программы"
    void N42Click();           // "Справка"
    void N10Click();           // "О программе..."
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
    void FormCreate();
    void FormShow();
    void FormClose();

    void buildWidgets();
    void buildCommands();
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint = {},
                        void (TForm1::*slot)() = nullptr);
    QMenu* dropDownMenu(const QString& name);

    void askAndClear();
    void OpenFileT();
    void saveCommand();
    void SaveFileT();
    bool ConfirmReplace(const QString& fileName);
    // Writes the collection by the rules of the extension; false when nothing was written.
    bool writeCollection(const QString& fileName);
    bool writeXml(const QString& fileName);
    bool writeText(const QString& fileName);
    // Reads a collection file (XML or text) into the reset tree; the name becomes current on success.
    void readCollection(const QString& name, bool asXml);
    void setActiveTab(int tab);
    void checkLanguage(int position);
    TPage* boundPage() const;
    void NewMarks(int absIndex);
    void EnableMarkItems(int k);
    void copyEditorIntoBoundNode();
    void CaptionMarkItems();
    bool editorEmpty() const;
    void notFound(const QString& text);
    void FindInElements();
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
    TreeView* Tree = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabBar* Pages1 = nullptr;
    SynMemo* SynMemo1 = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* editorBar_ = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* recurse_ = nullptr;
    class QActionGroup* languageGroup_ = nullptr;
    TForm5* Form5 = nullptr;
    FindDialog* Find1 = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    QMenu* PopupMenu6 = nullptr;
    QMenu* Applications = nullptr;
    TForm10* Form10 = nullptr;
    ApplicationHotkeyRegistrar* registrar_ = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    QAction* autoLayout_ = nullptr;
    NoKeyboardLayouts noLayouts_;
    KeyboardLayouts* layouts_ = &noLayouts_;
    DesktopLauncher desktopLauncher_;
    QString downloadAddress_;
    std::unique_ptr<class TUpdate> update_;
    Launcher* launcher_ = &desktopLauncher_;
    ReplaceDialog* Replace1 = nullptr;
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
