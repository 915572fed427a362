#include "app/main_window.h"

#include "app/icons.h"
#include "app/program.h"
#include "app/update_check.h"
#include "app/ini_file.h"
#include "editor/highlighter_lexer.h"
#include "editor/code_editor.h"
#include "launcher/programs_folder.h"
#include "launcher/applications_dialog.h"
#include "exchange/text_export_command.h"
#include "exchange/structure_export.h"
#include "exchange/directory_export_dialog.h"
#include "schemes/colour_scheme_dialog.h"
#include "search/find_dialogs.h"
#include "search/text_search.h"
#include "workspace/go_to_line_dialog.h"
#include "exchange/file_search_dialog.h"
#include "hotkeys/snippet_keys_window.h"
#include "hotkeys/assign_key_dialog.h"
#include "platform/hotkey_registrar.h"
#include "platform/prompter.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "tree/bookmarks.h"
#include "tree/bound_indexes.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>
#include <QActionGroup>
#include <QGuiApplication>
#include <QScreen>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <unordered_set>

namespace tw {

namespace {
const std::vector<FileFilter> kCollectionFilters = {{QStringLiteral("XML"), QStringLiteral("*.xml")},
                                                    {QStringLiteral("TXT"), QStringLiteral("*.txt")}};

void repaintNow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
} // namespace

MainWindow::MainWindow(Prompter& prompter, ProgramPaths paths, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), paths_(std::move(paths)) {
    setObjectName(QStringLiteral("mainWindow"));
    build();
}

MainWindow::~MainWindow() = default;

void MainWindow::build() {
    // The tree already holds the root node with its record; nothing is open yet.
    lastOpenedIndex_ = 0;
    resize(604, 474);
    setMinimumSize(520, 350);
    buildWidgets();
    buildCommands();
    setLanguage(0);
    // The dialogs live as long as the window.
    colourSchemes_ = new ColourSchemeDialog(highlighters_, paths_, prompter_, this);
    goToLine_ = new GoToLineDialog(*editor_, this);
    fileSearch_ = new FileSearchDialog(*this, prompter_, this);
    applications_ = new ApplicationsDialog(*applicationsMenu_, paths_, prompter_, this);
    connect(applications_, &ApplicationsDialog::openObject, this, [this](const QString& object) { launcher_->shellExecute(object); });
    directoryExport_ = new DirectoryExportDialog(tree_, prompter_, this);
    connect(editor_, &CodeEditor::painted, this, &MainWindow::updateCaretLineColour);
    connect(editor_, &QsciScintilla::cursorPositionChanged, this, &MainWindow::updateCaretLineColour);
    connect(editor_, &CodeEditor::keyTyped, this, &MainWindow::editorKeyTyped, Qt::DirectConnection);
    find_ = new FindDialog(this);
    replace_ = new ReplaceDialog(this);
    connect(find_, &FindDialog::findNext, this, &MainWindow::findNext);
    connect(replace_, &ReplaceDialog::findNext, this, &MainWindow::replaceDialogFindNext);
    connect(replace_, &ReplaceDialog::replace, this, [this] { replace(false); });
    connect(replace_, &ReplaceDialog::replaceAll, this, [this] { replace(true); });
    registrar_ = new ApplicationHotkeyRegistrar(paths_.hotkeyLocks, this);
    registrar_->setReceiver([this](int id) { hotkeyPressed(id); });
    snippetKeys_ = new SnippetKeysWindow(*registrar_, prompter_, paths_.keysFile, this);
    assignKey_ = new AssignKeyDialog(*snippetKeys_, prompter_, snippetKeys_);
    snippetKeys_->setAssignDialog(assignKey_);
    updateCaption();
    registerOwnKeys();
}

void MainWindow::buildWidgets() {
    model_ = new TreeModel(tree_, this);
    treeView_ = new TreeView;
    treeView_->setObjectName(QStringLiteral("treeView"));
    treeView_->setModel(model_);
    treeView_->setHeaderHidden(true);
    treeView_->setIndentation(27);
    treeView_->setIconSize(QSize(42, 24));
    treeView_->setUniformRowHeights(true);
    // Long captions scroll sideways rather than being cut short.
    treeView_->setTextElideMode(Qt::ElideNone);
    treeView_->header()->setStretchLastSection(false);
    treeView_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treeView_->setContextMenuPolicy(Qt::CustomContextMenu);
    treeView_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    treeView_->setDragEnabled(true);
    treeView_->setAcceptDrops(true);
    treeView_->setDropIndicatorShown(true);
    treeView_->setDragDropMode(QAbstractItemView::DragDrop);
    treeView_->setDragDropOverwriteMode(true);  // a drop lands on the node under the pointer
    treeView_->setDefaultDropAction(Qt::MoveAction);
    treeView_->installEventFilter(this);
    connect(treeView_, &QTreeView::clicked, this, &MainWindow::treeClicked);
    connect(treeView_, &QTreeView::doubleClicked, this, &MainWindow::treeDoubleClicked);
    connect(treeView_, &QTreeView::expanded, this, [this](const QModelIndex& i) { onExpandedChanged(i, true); });
    connect(treeView_, &QTreeView::collapsed, this, [this](const QModelIndex& i) { onExpandedChanged(i, false); });
    connect(model_, &TreeModel::renamed, this, &MainWindow::onRenamed);
    model_->onDrop = [this](Node* dragged, Node* target) { moveNode(dragged, target); };

    editorBar_ = new QToolBar;
    editorBar_->setObjectName(QStringLiteral("editorToolBar"));
    editorBar_->setIconSize(QSize(20, 20));

    tabs_ = new QTabBar;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setExpanding(false);
    tabs_->setDocumentMode(true);
    tabs_->addTab(QStringLiteral("None"));
    tabs_->setTabData(0, 0);

    editor_ = new CodeEditor;
    connect(editor_, &CodeEditor::changed, this, &MainWindow::editorChanged);
    connect(tabs_, &QTabBar::currentChanged, this, [this] {
        if (programmatic_ == 0) activeTabChanged();
    });

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(editorBar_);
    rightLayout->addWidget(tabs_);
    rightLayout->addWidget(editor_, 1);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->addWidget(treeView_);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    // Wider than the classic 153 px so that captions two levels down are not cut off.
    splitter_->setSizes({220, 384});
    setCentralWidget(splitter_);

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(true);
    panel0_ = new QLabel;
    panel0_->setObjectName(QStringLiteral("StatusPanel0"));
    panel0_->setFixedWidth(175);
    panel1_ = new QLabel;
    panel1_->setObjectName(QStringLiteral("StatusPanel1"));
    panel1_->setMinimumWidth(100);
    statusBar()->addWidget(panel0_);
    statusBar()->addWidget(panel1_, 1);

    treeView_->setCurrentIndex(model_->index(0, 0));
}

QAction* MainWindow::addCommand(const QString& name, const QString& caption, const QString& hint,
                            void (MainWindow::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) action->setToolTip(hint);
    if (slot) connect(action, &QAction::triggered, this, slot);  // none for a button that only opens its menu
    return action;
}

QMenu* MainWindow::dropDownMenu(const QString& name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    return menu;
}

QAction* MainWindow::command(const QString& objectName) const { return findChild<QAction*>(objectName); }

void MainWindow::buildCommands() {
    using I = Icons::Tool;
    // Main menu.
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(addCommand(QStringLiteral("newCollection"), QStringLiteral("Новый"), {}, &MainWindow::newCollection));
    file->addAction(addCommand(QStringLiteral("openCollection"), QStringLiteral("Открыть..."), {}, &MainWindow::openCollection));
    file->addAction(addCommand(QStringLiteral("saveCollection"), QStringLiteral("Сохранить"), {}, &MainWindow::save));
    file->addAction(addCommand(QStringLiteral("saveCollectionAs"), QStringLiteral("Сохранить как..."), {}, &MainWindow::saveAs));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("addBranchFile"), QStringLiteral("Добавить ветвь из файла"), {}, &MainWindow::addBranchFromFile));
    file->addAction(addCommand(QStringLiteral("saveBranchFile"), QStringLiteral("Сохранить ветвь в файл"), {}, &MainWindow::saveBranchToFile));
    file->addAction(addCommand(QStringLiteral("exportBranchDirectories"), QStringLiteral("Сохранить ветвь в виде дерева каталогов"), {}, &MainWindow::showDirectoryExport));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("quit"), QStringLiteral("Выход"), {}, &MainWindow::quit));
    QMenu* apps = menuBar()->addMenu(QStringLiteral("Приложения"));
    apps->setObjectName(QStringLiteral("programsMenu"));
    programsMenu_ = apps;
    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addAction(addCommand(QStringLiteral("help"), QStringLiteral("Справка"), {}, &MainWindow::showHelp));
    help->addAction(addCommand(QStringLiteral("about"), QStringLiteral("О программе..."), {}, &MainWindow::showAbout));

    // Main toolbar.
    mainBar_ = addToolBar(QStringLiteral("mainToolBar"));
    mainBar_->setObjectName(QStringLiteral("mainToolBar"));
    mainBar_->setIconSize(QSize(32, 32));
    mainBar_->setMovable(false);
    // A drop-down whose button has a command of its own splits into button and arrow.
    auto tool = [](QToolBar* bar, QAction* action, I icon, QMenu* menu = nullptr, bool split = false) {
        action->setIcon(Icons::tool(icon));
        if (menu) action->setMenu(menu);
        bar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            button->setObjectName(action->objectName());
            if (menu)
                button->setPopupMode(split ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
        }
        return action;
    };
    tool(mainBar_, addCommand(QStringLiteral("clearTree"), QString(), QStringLiteral("Очистить дерево"),
                              &MainWindow::clearCollection), I::ClearTree);
    tool(mainBar_, addCommand(QStringLiteral("openCollectionButton"), QString(), QStringLiteral("Открыть..."),
                              &MainWindow::openCollectionTool), I::Open);
    tool(mainBar_, addCommand(QStringLiteral("saveButton"), QString(), QStringLiteral("Сохранить"),
                              &MainWindow::saveTool), I::Save);
    tool(mainBar_, addCommand(QStringLiteral("saveAsButton"), QString(), QStringLiteral("Сохранить как..."),
                              &MainWindow::saveAsTool), I::SaveAs);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("newSectionButton"), QString(), QStringLiteral("Создать новый раздел"), &MainWindow::newSectionTool),
         I::NewSection);
    tool(mainBar_, addCommand(QStringLiteral("newPageButton"), QString(), QStringLiteral("Создать новую страницу"), &MainWindow::newPageTool),
         I::NewPage);
    tool(mainBar_,
         addCommand(QStringLiteral("importButton"), QString(), QStringLiteral("Воссоздание структуры каталогов"),
                    &MainWindow::showImport),
         I::Import);
    mainBar_->addSeparator();
    QMenu* icons = dropDownMenu(QStringLiteral("iconMenu"));
    const char* iconCaptions[] = {"Время", "Наука",  "Дела",    "Ошибка", "Интернет", "Учеба", "Вопрос", "Идея",
                                  "Железо", "Расчеты", "Игра", "Звезда", "Стоп",     "Важно", "Мусор"};
    for (int k = 0; k < 15; ++k) {
        QAction* a = icons->addAction(QIcon(Icons::nodeIcon(k)), QString::fromUtf8(iconCaptions[k]));
        a->setObjectName(QStringLiteral("Icon%1").arg(k));
        connect(a, &QAction::triggered, this, [this, k] { setIcon(k); });
    }
    icons->addSeparator();
    QAction* noIcon = icons->addAction(QStringLiteral("Нет"));
    noIcon->setObjectName(QStringLiteral("IconNone"));
    connect(noIcon, &QAction::triggered, this, [this] { setIcon(-1); });
    QAction* iconButton = new QAction(this);
    iconButton->setObjectName(QStringLiteral("iconButton"));
    iconButton->setToolTip(QStringLiteral("Установить пиктограмму"));
    tool(mainBar_, iconButton, I::SetIcon, icons);
    QMenu* expand = dropDownMenu(QStringLiteral("expandMenu"));
    QAction* expandBranch = addCommand(QStringLiteral("expandBranch"), QStringLiteral("Развернуть ветвь"), {}, &MainWindow::expandOrCollapseTool);
    expandBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QAction* collapseBranch = addCommand(QStringLiteral("collapseBranch"), QStringLiteral("Свернуть ветвь"), {}, &MainWindow::expandOrCollapseTool);
    collapseBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    expand->addActions({expandBranch, collapseBranch});
    QAction* expandButton = new QAction(this);
    expandButton->setObjectName(QStringLiteral("expandButton"));
    expandButton->setToolTip(QStringLiteral("Свернуть/Развернуть ветвь"));
    tool(mainBar_, expandButton, I::ExpandCollapse, expand);
    recurse_ = new QAction(this);
    recurse_->setObjectName(QStringLiteral("recursionButton"));
    recurse_->setToolTip(QStringLiteral("Использовать рекурсию"));
    recurse_->setCheckable(true);
    tool(mainBar_, recurse_, I::Recurse);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("deleteButton"), QString(), QStringLiteral("Удалить элемент"), &MainWindow::deleteTool), I::Delete);
    mainBar_->addSeparator();
    // The entries of the applications list go before the separator (ApplicationsDialog::insertEntry).
    applicationsMenu_ = dropDownMenu(QStringLiteral("applicationsMenu_"));
    applicationsMenu_->addSeparator();
    QAction* editList = addCommand(QStringLiteral("editApplications"), QStringLiteral("Редактировать список"), {}, &MainWindow::editApplicationsList);
    // Shown in the menu; the key itself is one of the program's own keys, caught elsewhere.
    editList->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    editList->setShortcutContext(Qt::WidgetShortcut);
    applicationsMenu_->addAction(editList);
    tool(mainBar_,
         addCommand(QStringLiteral("applicationsButton"), QString(), QStringLiteral("Открыть файл"), &MainWindow::applicationsTool),
         I::OpenFile, applicationsMenu_, true);
    QAction* downloadSeparator = mainBar_->addSeparator();
    downloadSeparator->setObjectName(QStringLiteral("downloadSeparator"));
    downloadSeparator->setVisible(false);  // shown with the download button
    QAction* download = tool(mainBar_,
                             addCommand(QStringLiteral("downloadUpdate"), QString(),
                                        QStringLiteral("Скачать последнюю версию программы"),
                                        &MainWindow::downloadUpdate),
                             I::Download);
    download->setVisible(false);  // shown when the update check finds a newer version

    // Editor toolbar.
    tool(editorBar_, addCommand(QStringLiteral("clearTextButton"), QString(), QStringLiteral("Очистить"), &MainWindow::clearEditor), I::ClearText);
    tool(editorBar_, addCommand(QStringLiteral("openTextButton"), QString(), QStringLiteral("Открыть..."), &MainWindow::loadFileIntoEditor),
         I::OpenText);
    tool(editorBar_, addCommand(QStringLiteral("saveTextButton"), QString(), QStringLiteral("Сохранить как..."), &MainWindow::saveEditorText),
         I::SaveText);
    editorBar_->addSeparator();
    QMenu* exportMenu = dropDownMenu(QStringLiteral("ExportMenu"));
    QMenu* html = exportMenu->addMenu(QStringLiteral("HTML"));
    html->addAction(addCommand(QStringLiteral("exportTextHtml"), QStringLiteral("Текущий текст"), {}, &MainWindow::exportCurrentTextHtml));
    html->addAction(addCommand(QStringLiteral("exportStructure"), QStringLiteral("Всю структуру"), {}, &MainWindow::exportWholeStructure));
    exportMenu->addAction(addCommand(QStringLiteral("exportTextRtf"), QStringLiteral("RTF"), {}, &MainWindow::exportCurrentTextRtf));
    tool(editorBar_, addCommand(QStringLiteral("exportButton"), QString(), QStringLiteral("Экспорт кода")), I::Export,
         exportMenu);
    QMenu* languages = dropDownMenu(QStringLiteral("languageMenu"));
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    for (int p = 0; p < kLanguageCount; ++p) {
        QAction* a = languages->addAction(QString::fromLatin1(languageCatalogue()[static_cast<size_t>(p)].menuCaption));
        a->setObjectName(QStringLiteral("Language%1").arg(p));
        a->setData(p);
        a->setCheckable(true);
        a->setChecked(p == 0);
        languageGroup_->addAction(a);
        connect(a, &QAction::triggered, this, &MainWindow::languageChosen);
    }
    tool(editorBar_, addCommand(QStringLiteral("languageButton"), QString(), QStringLiteral("Подсветка синтаксиса"),
                    &MainWindow::resetLanguage),
         I::Highlight, languages, true);
    tool(editorBar_,
         addCommand(QStringLiteral("colourSchemesButton"), QString(), QStringLiteral("Настройка цветовых схем"),
                    &MainWindow::showColourSchemes),
         I::Schemes);
    tool(editorBar_,
         addCommand(QStringLiteral("snippetKeysButton"), QString(),
                    QStringLiteral("Назначение горячих клавиш для вставки текста"), &MainWindow::showSnippetKeys),
         I::Hotkeys);
    QMenu* marks = dropDownMenu(QStringLiteral("bookmarkMenu"));
    QMenu* assign = marks->addMenu(QStringLiteral("Назначить"));
    QMenu* go = marks->addMenu(QStringLiteral("Перейти"));
    for (int i = 0; i < kBookmarkCount; ++i) {
        QAction* a = assign->addAction(QStringLiteral("Метка %1").arg(i + 1));
        a->setObjectName(QStringLiteral("Assign%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { assignBookmark(i); });
        assignMarks_.push_back(a);
        QAction* g = go->addAction(QStringLiteral("Метка %1").arg(i + 1));
        g->setObjectName(QStringLiteral("Goto%1").arg(i));
        connect(g, &QAction::triggered, this, [this, i] { goToBookmark(i); });
        gotoMarks_.push_back(g);
    }
    marks->addSeparator();
    marks->addAction(addCommand(QStringLiteral("clearBookmarks"), QStringLiteral("Очистить"), {}, &MainWindow::clearBookmarksCommand));
    connect(marks, &QMenu::aboutToShow, this, &MainWindow::prepareBookmarkMenu);
    tool(editorBar_, addCommand(QStringLiteral("bookmarksButton"), QString()), I::Bookmarks, marks);
    QMenu* edit = dropDownMenu(QStringLiteral("editMenu"));
    edit->addAction(addCommand(QStringLiteral("undo"), QStringLiteral("Отменить"), {}, &MainWindow::undo));
    QMenu* find = edit->addMenu(QStringLiteral("Найти"));
    find->addAction(addCommand(QStringLiteral("findInCurrentTab"), QStringLiteral("в текущей вкладке"), {}, &MainWindow::findInCurrentTab));
    find->addAction(addCommand(QStringLiteral("findInTabs"), QStringLiteral("во вкладках"), {}, &MainWindow::findInTabs));
    find->addAction(addCommand(QStringLiteral("findInAllPages"), QStringLiteral("среди всех страниц дерева"), {}, &MainWindow::findInAllPages));
    find->addAction(addCommand(QStringLiteral("findInNodeNames"), QStringLiteral("в названиях элементов"), {}, &MainWindow::findInNodeNames));
    edit->addAction(addCommand(QStringLiteral("replace"), QStringLiteral("Заменить..."), {}, &MainWindow::showReplace));
    edit->addAction(addCommand(QStringLiteral("goToLine"), QStringLiteral("Перейти на строку..."), {}, &MainWindow::showGoToLineModal));
    edit->addAction(addCommand(QStringLiteral("indent"), QStringLiteral("Увеличить отступ"), {}, &MainWindow::indentSelection));
    edit->addAction(addCommand(QStringLiteral("unindent"), QStringLiteral("Уменьшить отступ"), {}, &MainWindow::unindentSelection));
    QAction* layout = new QAction(QStringLiteral("Автоматическое определение раскладки"), this);
    layout->setObjectName(QStringLiteral("autoLayout"));
    layout->setCheckable(true);
    autoLayout_ = layout;
    edit->addAction(layout);
    edit->addAction(addCommand(QStringLiteral("insertDateTime"), QStringLiteral("Вставить дату и время"), {}, &MainWindow::insertDateTime));
    tool(editorBar_, addCommand(QStringLiteral("editButton"), QString(), QStringLiteral("Правка"), &MainWindow::findInCurrentTabTool), I::Edit, edit, true);
    tool(editorBar_, addCommand(QStringLiteral("closeTabButton"), QString(), QStringLiteral("Закрыть закладку"), &MainWindow::closeActiveTab),
         I::CloseTab);

    // The tree's right-click menu.
    treeMenu_ = dropDownMenu(QStringLiteral("treeMenu_"));
    treeMenu_->addAction(addCommand(QStringLiteral("openInActiveTab"), QStringLiteral("Открыть в активной закладке"), {}, &MainWindow::openSelectedInActiveTab));
    treeMenu_->addAction(addCommand(QStringLiteral("openInNewTab"), QStringLiteral("Открыть в новой закладке"), {}, &MainWindow::openSelectedInNewTab));
    treeMenu_->addSeparator();
    treeMenu_->addAction(addCommand(QStringLiteral("addSection"), QStringLiteral("Добавить раздел"), {}, &MainWindow::addSectionFromMenu));
    treeMenu_->addAction(addCommand(QStringLiteral("addPage"), QStringLiteral("Добавить страницу"), {}, &MainWindow::addPageFromMenu));
    treeMenu_->addSeparator();
    treeMenu_->addAction(addCommand(QStringLiteral("expandNode"), QStringLiteral("Развернуть ветвь"), {}, &MainWindow::expandOrCollapseFromMenu));
    treeMenu_->addAction(addCommand(QStringLiteral("collapseNode"), QStringLiteral("Свернуть ветвь"), {}, &MainWindow::expandOrCollapseFromMenu));
    treeMenu_->addSeparator();
    treeMenu_->addAction(addCommand(QStringLiteral("rename"), QStringLiteral("Переименовать"), {}, &MainWindow::renameSelected));
    treeMenu_->addSeparator();
    treeMenu_->addAction(addCommand(QStringLiteral("deleteNode"), QStringLiteral("Удалить"), {}, &MainWindow::deleteFromMenu));
    connect(treeView_, &QTreeView::customContextMenuRequested, this, [this](const QPoint& pos) {
        // A right click selects the node under the pointer; the menu acts on the selected node.
        const QModelIndex at = treeView_->indexAt(pos);
        if (at.isValid()) treeView_->setCurrentIndex(at);
        if (Node* node = selectedNode()) enableTreeMenuItems(node);
        treeMenu_->popup(treeView_->viewport()->mapToGlobal(pos));
    });
}

QString MainWindow::statusText(int panel) const { return panel == 0 ? panel0_->text() : panel1_->text(); }

void MainWindow::setStatusText(int panel, const QString& text) { (panel == 0 ? panel0_ : panel1_)->setText(text); }

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        startUp();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::startUp() {
    loadSettings();
    applications_->loadSettings();
    colourSchemes_->loadSettings();
    addProgramItems(paths_.programsDir);
    snippetKeys_->loadKeys(paths_.keysFile);
    openLastFile();
    startUpdateCheck();
}

void MainWindow::shutDown() {
    // An applications list still open is written as if closed, not lost.
    if (applications_->isVisible()) applications_->close();
    if (!saveSettings()) prompter_.showMessage(unableToWrite(paths_.settingsFile));
    for (int id = 1; id <= 5; ++id) registrar_->unregisterHotKey(id);
}

void MainWindow::loadSettings() {
    const IniFile ini(paths_.settingsFile);
    const int treeWidth = splitter_->sizes().value(0, 153);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect workArea = screen ? screen->availableGeometry() : screenRect;
    const QRect desktop = screen ? screen->virtualGeometry() : screenRect;
    const QString window = QStringLiteral("Window");
    int left = ini.readInt(window, QStringLiteral("left"), (screenRect.width() - x()) / 2);
    int top = ini.readInt(window, QStringLiteral("top"), (workArea.height() - y()) / 2);
    int w = ini.readInt(window, QStringLiteral("width"), width());
    int h = ini.readInt(window, QStringLiteral("height"), height());
    // Keep the window on screen.
    if (left < 0) left = 1;
    if (top < 0) top = 1;
    w = std::min(w, desktop.width());
    h = std::min(h, desktop.height());
    move(left, top);
    resize(w, h);
    currentFileName_ = ini.readText(QStringLiteral("Files"), QStringLiteral("LastFile"));
    const QString controls = QStringLiteral("Controls");
    const int splitter = ini.readInt(controls, QStringLiteral("SplitterPos"), treeWidth);
    splitter_->setSizes({splitter, std::max(1, w - splitter)});
    recurse_->setChecked(ini.readBool(controls, QStringLiteral("Recurse"), false));
    aLineColor_ = static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("ALineColor"), 12840943));
    aMarkColor_ = static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("AMarkColor"), 14548422));
    const QColor line = HighlighterLexer::toQColor(aLineColor_);
    if (line.isValid()) editor_->setActiveLineColor(line);
}

bool MainWindow::saveSettings() {
    IniFile ini(paths_.settingsFile);
    const QString window = QStringLiteral("Window"), controls = QStringLiteral("Controls");
    ini.writeInt(window, QStringLiteral("left"), x());
    ini.writeInt(window, QStringLiteral("top"), y());
    ini.writeInt(window, QStringLiteral("width"), width());
    ini.writeInt(window, QStringLiteral("height"), height());
    ini.writeInt(controls, QStringLiteral("SplitterPos"), splitter_->sizes().value(0, 153));
    ini.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), currentFileName_);
    ini.writeBool(controls, QStringLiteral("Recurse"), recurse_->isChecked());
    ini.writeInt(controls, QStringLiteral("ALineColor"), static_cast<std::int32_t>(aLineColor_));
    ini.writeInt(controls, QStringLiteral("AMarkColor"), static_cast<std::int32_t>(aMarkColor_));
    return ini.save();
}

void MainWindow::openLastFile() {
    if (currentFileName_.isEmpty() || !QFileInfo(currentFileName_).isFile()) return;
    readCollection(currentFileName_, isXmlName(currentFileName_));
}

void MainWindow::readCollection(const QString& name, bool asXml) {
    currentFileName_ = name;
    panel0_->clear();
    panel1_->setText(QStringLiteral("Открытие..."));
    repaintNow();
    model_->beginRebuild();
    const bool ok = asXml ? loadCollectionXml(tree_, name, operationFeedback()) : loadCollectionText(tree_, name, operationFeedback());
    model_->endRebuild();
    if (!ok && !asXml) resetCollection();  // a damaged text collection leaves a new, empty collection
    if (!ok) currentFileName_.clear();
    showGatheredMessages();
    treeView_->expand(model_->index(0, 0));
    updateCaption();
    repaintNow();
    panel1_->clear();
    showCounts();
}

void MainWindow::updateCaption() { setWindowTitle(windowCaption(currentFileName_)); }

void MainWindow::showCounts() {
    const TreeCounts c = tree_.counts();
    panel0_->setText(QStringLiteral("Разделов: %1   Страниц: %2").arg(c.sections).arg(c.pages));
}

void MainWindow::startProgress(int maximum) {
    destroyBar();
    bar_ = new QProgressBar(statusBar());
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, std::max(0, maximum));
    bar_->setValue(0);
    bar_->setGeometry(2, 2, panel0_->width() - 4, statusBar()->height() - 4);
    bar_->show();
}

void MainWindow::destroyBar() {
    delete bar_;
    bar_ = nullptr;
}

Feedback MainWindow::operationFeedback() {
    Feedback fb;
    fb.message = [this](const QString& text) { gathered_ << text; };
    fb.status = [this](const QString& text) { panel1_->setText(text); };
    fb.beginProgress = [this](int maximum) { startProgress(maximum); };
    fb.stepProgress = [this] {
        if (bar_ && bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
    };
    fb.endProgress = [this] { destroyBar(); };
    fb.processEvents = [] { repaintNow(); };
    return fb;
}

void MainWindow::showGatheredMessages() {
    if (gathered_.isEmpty()) return;
    const QString text = gathered_.join(u'\n');
    gathered_.clear();
    prompter_.showMessage(text);
}

void MainWindow::resetCollection() {
    lastOpenedIndex_ = 0;
    currentFileName_.clear();
    model_->beginRebuild();
    tree_.reset();
    model_->endRebuild();
    // The first tab survives as the None tab; every other tab goes, from the last.
    ++programmatic_;
    for (int i = tabs_->count() - 1; i >= 1; --i) tabs_->removeTab(i);
    tabs_->setCurrentIndex(0);
    --programmatic_;
    tabs_->setTabText(0, QStringLiteral("None"));
    tabs_->setTabData(0, 0);
    editor_->clearAll();
    treeView_->setCurrentIndex(model_->index(0, 0));
    showCounts();
    updateCaption();
}

void MainWindow::askAndClear() {
    if (prompter_.askYesNo(kProgramName, QStringLiteral("Вы действительно хотите очистить дерево?"))) resetCollection();
}

void MainWindow::openCollectionFile() {
    const auto choice = prompter_.chooseOpenFile(kCollectionFilters);
    if (!choice) return;
    resetCollection();
    readCollection(choice->path, choice->filterIndex == 1);
}

bool MainWindow::writeXml(const QString& fileName) {
    const SaveOutcome outcome = saveCollectionXml(tree_, fileName, operationFeedback());
    currentFileName_ = outcome.fileName;
    showGatheredMessages();
    return outcome.written;
}

bool MainWindow::writeText(const QString& fileName) {
    const SaveOutcome outcome = saveCollectionText(tree_, fileName, *tree_.root(), operationFeedback());
    currentFileName_ = outcome.fileName;
    showGatheredMessages();
    return outcome.written;
}

bool MainWindow::writeCollection(const QString& fileName) {
    return isXmlName(fileName) ? writeXml(fileName) : writeText(fileName);
}

void MainWindow::saveCommand() {
    if (currentFileName_.trimmed().isEmpty()) return;
    const bool written = writeCollection(currentFileName_);
    updateCaption();
    if (written) clearModifiedMarks();
}

bool MainWindow::confirmReplace(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) return true;
    return prompter_.askYesNo(QStringLiteral("Сохранение"), fileName + QStringLiteral("\n уже существует. Заменить?"),
                              true);
}

void MainWindow::chooseAndSave() {
    const auto choice = prompter_.chooseSaveFile(kCollectionFilters);
    if (!choice) return;
    // The question is asked about the very file that will be written.
    const bool asXml = choice->filterIndex != 2;
    const QString target =
        asXml ? withXmlExtensionIfNone(choice->path) : replaceExtension(choice->path, QStringLiteral(".txt"));
    bool written = false;
    if (confirmReplace(target)) written = asXml ? writeXml(choice->path) : writeText(choice->path);
    updateCaption();
    if (written) clearModifiedMarks();
}

void MainWindow::newCollection() { askAndClear(); }
void MainWindow::clearCollection() { askAndClear(); }
void MainWindow::openCollection() { openCollectionFile(); }
void MainWindow::openCollectionTool() { openCollectionFile(); }
void MainWindow::save() { saveCommand(); }
void MainWindow::saveTool() { saveCommand(); }
void MainWindow::saveAs() { chooseAndSave(); }
void MainWindow::saveAsTool() { chooseAndSave(); }
void MainWindow::quit() { close(); }


// ---- Editor tabs ----

int MainWindow::boundIndex(int tab) const { return tabs_->tabData(tab).toInt(); }

std::vector<int> MainWindow::tags() const {
    std::vector<int> out;
    for (int t = 0; t < tabs_->count(); ++t) out.push_back(boundIndex(t));
    return out;
}

void MainWindow::retag(const std::vector<int>& newTags) {
    for (int t = 0; t < tabs_->count() && t < static_cast<int>(newTags.size()); ++t) tabs_->setTabData(t, newTags[t]);
}

void MainWindow::setActiveTab(int tab) {
    ++programmatic_;
    tabs_->setCurrentIndex(tab);
    --programmatic_;
}

Node* MainWindow::selectedNode() const {
    if (!treeView_->selectionModel()) return nullptr;
    return model_->nodeOf(treeView_->selectionModel()->currentIndex());
}

void MainWindow::selectNode(const Node* node) { treeView_->setCurrentIndex(model_->indexOf(node)); }

void MainWindow::setLanguage(int position) {
    currentLanguage_ = (position >= 0 && position < kLanguageCount) ? position : 0;
    editor_->setHighlighter(&highlighters_.byPosition(currentLanguage_));
}

void MainWindow::setLanguageByFile(const QString& fileName, int absIndex) {
    if (Node* node = tree_.nodeAt(absIndex))
        node->page->language = static_cast<std::uint8_t>(highlighters_.languageNumberForFile(fileName));
}

int MainWindow::checkedLanguage() const {
    QAction* a = languageGroup_->checkedAction();
    return a ? a->data().toInt() : -1;
}

void MainWindow::checkLanguage(int position) {
    for (QAction* a : languageGroup_->actions())
        if (a->data().toInt() == position) a->setChecked(true);
}

void MainWindow::setBoundLanguage(int lan) {
    if (Node* node = tree_.nodeAt(boundIndex(tabs_->currentIndex()))) node->page->language = static_cast<std::uint8_t>(lan);
}

void MainWindow::languageChosen() {
    auto* a = qobject_cast<QAction*>(sender());
    if (!a) return;
    const int p = a->data().toInt();
    setLanguage(p);
    setBoundLanguage(p + 1);
    checkLanguage(p);
}

void MainWindow::showColourSchemes() {
    colourSchemes_->show();
    colourSchemes_->raise();
    colourSchemes_->activateWindow();
}

void MainWindow::resetLanguage() {
    setLanguage(0);
    setBoundLanguage(1);
}

void MainWindow::loadNodeIntoTab(int tab, int absIndex) {
    if (tab < 0 || tab >= tabs_->count()) return;
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    editor_->setWholeText(node->page->text);
    setLanguage(node->page->language - 1);
    showBookmarksOf(absIndex);
}

bool MainWindow::activateTabOf(int absIndex) {
    for (int t = 0; t < tabs_->count(); ++t) {
        if (boundIndex(t) == absIndex) {
            setActiveTab(t);
            return true;
        }
    }
    return false;
}

int MainWindow::noneTab() const {
    for (int t = 0; t < tabs_->count(); ++t)
        if (tabs_->tabText(t) == QLatin1String("None") && boundIndex(t) == 0) return t;
    return -1;
}

void MainWindow::addNoneTab() {
    ++programmatic_;
    const int t = tabs_->addTab(QStringLiteral("None"));
    tabs_->setTabData(t, 0);
    tabs_->setCurrentIndex(t);
    --programmatic_;
    editor_->clearAll();
}

void MainWindow::openInActiveTab() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (i == 0) return;
    if (activateTabOf(i)) {
        loadNodeIntoTab(tabs_->currentIndex(), i);
        return;
    }
    if (node->page->language >= 1 && node->page->language <= 15) {
        setLanguage(node->page->language - 1);
        checkLanguage(node->page->language - 1);
    }
    const int none = noneTab();
    const int t = none >= 0 ? none : tabs_->currentIndex();
    tabs_->setTabText(t, node->caption);
    tabs_->setTabData(t, i);
    setActiveTab(t);
    loadNodeIntoTab(t, i);
}

void MainWindow::openInNewTab() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (activateTabOf(i)) {
        loadNodeIntoTab(tabs_->currentIndex(), i);
        return;
    }
    if (i == 0) return;
    if (node->page->language >= 1 && node->page->language <= 15) {
        setLanguage(node->page->language - 1);
        checkLanguage(node->page->language - 1);
    }
    int t = noneTab();
    if (t < 0) {
        ++programmatic_;
        t = tabs_->addTab(QString());
        --programmatic_;
    }
    tabs_->setTabText(t, node->caption);
    tabs_->setTabData(t, i);
    setActiveTab(t);
    loadNodeIntoTab(t, i);
}

void MainWindow::closeTab(int tab) {
    if (tabs_->count() <= 1 || tab < 0 || tab >= tabs_->count()) return;
    ++programmatic_;
    tabs_->removeTab(tab);
    // The tab that followed the closed one becomes active, or the first when it was the last.
    tabs_->setCurrentIndex(tab < tabs_->count() ? tab : 0);
    --programmatic_;
    loadNodeIntoTab(tabs_->currentIndex(), boundIndex(tabs_->currentIndex()));
}

void MainWindow::clearModifiedMarks() {
    for (int t = 0; t < tabs_->count(); ++t) {
        const QString caption = tabs_->tabText(t);
        if (caption.endsWith(u'*')) tabs_->setTabText(t, caption.chopped(1));
    }
}

void MainWindow::activeTabChanged() {
    const int t = tabs_->currentIndex();
    const int b = boundIndex(t);
    if (b != 0) {
        selectNode(tree_.nodeAt(b));
        loadNodeIntoTab(t, b);
    }
}

void MainWindow::editorChanged() {
    const int t = tabs_->currentIndex();
    const int b = boundIndex(t);
    if (b == 0) return;
    Node* node = tree_.nodeAt(b);
    if (!node) return;
    editor_->copyWholeTextInto(node->page->text);
    const QString caption = tabs_->tabText(t);
    if (!caption.endsWith(u'*')) tabs_->setTabText(t, caption + u'*');
}

void MainWindow::treeClicked() {
    Node* node = selectedNode();
    if (!node) return;
    panel1_->setText(nodePath(node));
    const int i = tree_.indexOf(node);
    if (i > 0) {
        const std::vector<int> bound = tags();
        if (std::find(bound.begin(), bound.end(), i) != bound.end()) openInActiveTab();
    }
}

void MainWindow::treeDoubleClicked() { openInActiveTab(); }
void MainWindow::openSelectedInActiveTab() { openInActiveTab(); }
void MainWindow::openSelectedInNewTab() { openInNewTab(); }
void MainWindow::closeActiveTab() { closeTab(tabs_->currentIndex()); }

void MainWindow::clearEditor() {
    editor_->clearAll();
    const int b = boundIndex(tabs_->currentIndex());
    if (b > 0) tree_.pageAt(b).text.clear();
}

void MainWindow::loadFileIntoEditor() {
    const auto choice = prompter_.chooseOpenFile({{QStringLiteral("ANY"), QStringLiteral("*.*")}});
    if (!choice) return;
    QString error;
    if (!editor_->loadLinesFromFile(choice->path, &error)) {
        prompter_.showMessage(error);
        return;
    }
    editor_->setHighlighter(highlighters_.forExtension(fileExtension(choice->path)));
    const int b = boundIndex(tabs_->currentIndex());
    if (b > 0) tree_.pageAt(b).text = editor_->wholeText();
}

void MainWindow::saveEditorText() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("TXT"), QStringLiteral("*.txt")}});
    if (!choice) return;
    QString error;
    if (!editor_->writeLinesToFile(choice->path + QStringLiteral(".txt"), &error)) prompter_.showMessage(error);
}

// ---- Tree editing ----

Node* MainWindow::addSection(Node* node, const QString& caption) {
    Node* added = addSectionNode(node, caption);
    if (added) showCounts();
    return added;
}

Node* MainWindow::addSectionNode(Node* node, const QString& caption) {
    Node* added = nullptr;
    if (node) {
        if (node->kindImage != kSectionCollapsed && node->kindImage != kSectionExpanded && node->kindImage != kRootKind)
            return nullptr;
        added = model_->appendNode(node, caption, 0, 0, -1, makePageRecord({}, caption, 0, 0, 1, -1));
    } else {
        added = model_->appendNode(tree_.root(), caption, 0, 0, -1, makePageRecord({}, caption, 0, 0, 1, 20));
    }
    retag(afterInsertion(tags(), tree_.indexOf(added)));
    return added;
}

Node* MainWindow::addPage(Node* node, const QString& caption) {
    if (!node) return nullptr;
    if (node->kindImage != kSectionCollapsed && node->kindImage != kSectionExpanded && node->kindImage != kRootKind)
        return nullptr;
    auto page = makePageRecord(" ", caption, 1, 2, 2, -1);
    const int kind = page->imageIndex, selected = page->selectedIndex;
    Node* added = model_->appendNode(node, caption, kind, selected, -1, std::move(page));
    retag(afterInsertion(tags(), tree_.indexOf(added)));
    return added;
}

void MainWindow::addSectionCommand(bool) { addSection(selectedNode(), QStringLiteral("Новый раздел")); }

void MainWindow::addPageCommand(bool fromMenu) {
    Node* node = selectedNode();
    if (!node && fromMenu) return;
    addPage(node, QStringLiteral("Новый код"));
    showCounts();
}

void MainWindow::newSectionTool() { addSectionCommand(false); }
void MainWindow::addSectionFromMenu() { addSectionCommand(true); }
void MainWindow::newPageTool() { addPageCommand(false); }
void MainWindow::addPageFromMenu() { addPageCommand(true); }

void MainWindow::deleteSelected() {
    Node* node = selectedNode();
    if (!node) return;
    if (!prompter_.askYesNo(QStringLiteral("Удаление"), QStringLiteral("Вы действительно хотите удалить выбранный элемент?"),
                            true))
        return;
    if (!node->parent) {
        resetCollection();
        return;
    }
    const int d = tree_.indexOf(node);
    const int c = tree_.descendantCount(d);
    const std::vector<int> after = afterDeletion(tags(), d, c);
    // Close the tabs of the nodes that go, from the last to the first; each closing makes
    // the tab that followed it active (the first tab when it was the rightmost).
    ++programmatic_;
    for (int t = tabs_->count() - 1; t >= 0; --t) {
        if (after[t] == kClosedTab) {
            tabs_->removeTab(t);
            if (tabs_->count() > 0) tabs_->setCurrentIndex(t < tabs_->count() ? t : 0);
        } else {
            tabs_->setTabData(t, after[t]);
        }
    }
    --programmatic_;
    repaintNow();
    model_->removeNode(node);
    if (tabs_->count() == 0) addNoneTab();
    else loadNodeIntoTab(tabs_->currentIndex(), boundIndex(tabs_->currentIndex()));
    showCounts();
}

void MainWindow::removeBranches(const std::vector<Node*>& branches) {
    if (branches.empty()) return;
    const std::unordered_set<const Node*> going(branches.begin(), branches.end());
    auto removed = [&going](const Node* n) {
        for (; n; n = n->parent)
            if (going.count(n)) return true;
        return false;
    };
    std::vector<const Node*> noted;
    for (int t = 0; t < tabs_->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    // Close the tabs of the nodes that go as deletion does, from the last tab to the first.
    bool closed = false;
    ++programmatic_;
    for (int t = tabs_->count() - 1; t >= 0; --t) {
        if (!removed(noted[static_cast<size_t>(t)])) continue;
        noted.erase(noted.begin() + t);
        tabs_->removeTab(t);
        if (tabs_->count() > 0) tabs_->setCurrentIndex(t < tabs_->count() ? t : 0);
        closed = true;
    }
    --programmatic_;
    for (Node* n : branches) model_->removeNode(n);
    for (int t = 0; t < tabs_->count(); ++t) tabs_->setTabData(t, noted[static_cast<size_t>(t)] ? tree_.indexOf(noted[static_cast<size_t>(t)]) : 0);
    if (tabs_->count() == 0) addNoneTab();
    else if (closed) loadNodeIntoTab(tabs_->currentIndex(), boundIndex(tabs_->currentIndex()));
    showCounts();
}

void MainWindow::deleteTool() { deleteSelected(); }
void MainWindow::deleteFromMenu() { deleteSelected(); }

void MainWindow::renameSelected() {
    Node* node = selectedNode();
    if (node && node->parent) treeView_->edit(model_->indexOf(node));
}

bool MainWindow::editInProgress() const { return treeView_->editing(); }

void MainWindow::onRenamed(Node* node) {
    const int i = tree_.indexOf(node);
    for (int t = 0; t < tabs_->count(); ++t) {
        if (boundIndex(t) == i) {
            tabs_->setTabText(t, node->caption);
            break;
        }
    }
}

void MainWindow::enableTreeMenuItems(const Node* node) {
    if (!node) return;
    for (QAction* a : treeMenu_->actions()) a->setEnabled(true);
    if (node->kindImage == kPageKind) {
        command(QStringLiteral("addSection"))->setEnabled(false);
        command(QStringLiteral("addPage"))->setEnabled(false);
    }
    if (node->kindImage == kRootKind) command(QStringLiteral("rename"))->setEnabled(false);
}

void MainWindow::setIcon(int menuPosition) {
    Node* node = selectedNode();
    if (!node) return;
    int value = -1;
    if (menuPosition >= 0) {
        if (!node->parent) return;  // the root node takes no icon
        value = menuPosition == 0 ? 15 : menuPosition;
    }
    node->stateIndex = value;
    node->page->stateIndex = value;
    model_->nodeChanged(node);
}

bool MainWindow::recursionOn() const { return recurse_ && recurse_->isChecked(); }

void MainWindow::expandBranch(bool expand) {
    Node* node = selectedNode();
    if (!node) return;
    const QModelIndex index = model_->indexOf(node);
    if (expand) treeView_->expand(index);
    else treeView_->collapse(index);
}

void MainWindow::expandOrCollapseTool() {
    expandBranch(sender() == command(QStringLiteral("expandBranch")));
}

void MainWindow::expandOrCollapseFromMenu() {
    expandBranch(sender() == command(QStringLiteral("expandNode")));
}

void MainWindow::onExpandedChanged(const QModelIndex& index, bool expanded) {
    Node* node = model_->nodeOf(index);
    if (!node) return;
    if (isSectionKind(node->kindImage)) {
        node->kindImage = expanded ? kSectionExpanded : kSectionCollapsed;
        node->selectedImage = node->kindImage;
        model_->nodeChanged(node);
    }
    if (!recursionOn() || programmatic_ > 0) return;
    // With recursion, every node below follows; the nested signals are not recursed again.
    ++programmatic_;
    std::vector<const Node*> stack;
    for (const auto& child : node->children) stack.push_back(child.get());
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        if (n->children.empty()) continue;
        const QModelIndex i = model_->indexOf(n);
        if (expanded) treeView_->expand(i);
        else treeView_->collapse(i);
        for (const auto& child : n->children) stack.push_back(child.get());
    }
    --programmatic_;
}

void MainWindow::moveNode(Node* dragged, Node* target) {
    if (!dragged || !target || target->kindImage == kPageKind || !dragged->parent) return;
    for (const Node* n = target; n; n = n->parent)
        if (n == dragged) return;  // onto itself or into its own subtree
    // Note each tab's node (the None tab stands for the root node), move, then re-derive.
    std::vector<const Node*> noted;
    for (int t = 0; t < tabs_->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    model_->moveToFirstChild(dragged, target);
    treeView_->expand(model_->indexOf(target));
    repaintNow();
    for (int t = 0; t < tabs_->count(); ++t) tabs_->setTabData(t, noted[t] ? tree_.indexOf(noted[t]) : 0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == treeView_ && event->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Delete:
            if (!editInProgress()) deleteSelected();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Node* node = selectedNode(); node && !editInProgress()) {
                const QModelIndex i = model_->indexOf(node);
                if (treeView_->isExpanded(i)) treeView_->collapse(i);
                else treeView_->expand(i);
            }
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (Node* node = selectedNode(); node && node->parent) {
                const std::vector<int> bound = tags();
                if (std::find(bound.begin(), bound.end(), tree_.indexOf(node)) != bound.end()) openInActiveTab();
            }
            return false;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}


// ---- Search and replace ----

namespace {
void bringUp(QDialog* dialog) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
} // namespace

bool MainWindow::editorEmpty() const { return editor_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) == 0; }

void MainWindow::findInCurrentTab() {
    if (editorEmpty()) return;
    searchScope_ = 1;
    bringUp(find_);
}

void MainWindow::findInCurrentTabTool() { findInCurrentTab(); }

void MainWindow::findInTabs() {
    if (editorEmpty()) return;
    searchScope_ = 2;
    bringUp(find_);
}

void MainWindow::findInAllPages() {
    if (!selectedNode()) return;
    searchScope_ = 4;
    bringUp(find_);
}

void MainWindow::findInNodeNames() {
    if (!selectedNode()) return;
    searchScope_ = 3;
    bringUp(find_);
}

void MainWindow::showReplace() {
    if (editorEmpty()) return;
    bringUp(replace_);
}

void MainWindow::notFound(const QString& text) {
    prompter_.showInformation(QStringLiteral("Текст \"%1\" не найден.").arg(text));
}

void MainWindow::findInCaptions() {
    Node* node = selectedNode();
    if (!node) return;
    const int next = findNextCaption(tree_, tree_.indexOf(node), find_->text());
    if (next < 0) {
        notFound(find_->text());
        return;
    }
    selectNode(tree_.nodeAt(next));
    openInActiveTab();
}

void MainWindow::findNext() {
    if (searchScope_ == 3) {
        findInCaptions();
        return;
    }
    const QString shown = find_->text();
    const std::string what = shown.toStdString();
    const int n = static_cast<int>(what.size());
    const bool down = find_->downward();
    std::string text;
    for (;;) {
        if (down) editor_->setSelectionStart(editor_->selectionStart() + editor_->selectionLength());
        editor_->copyWholeTextInto(text);
        const int p = editor_->selectionStart();
        const int q = down ? findForward(text, what, p) : findBackward(text, what, p);
        if (q >= 0) {
            editor_->setSelectionStart(q);
            editor_->setSelectionLength(n);
            return;
        }
        if (!down) break;
        if (searchScope_ == 2) {
            const int t = tabs_->currentIndex();
            if (t >= tabs_->count() - 1) break;
            // Go straight to the next tab whose node holds the text (the last tab when none
            // does); the tabs passed over would have yielded nothing. A None tab yields nothing.
            int target = tabs_->count() - 1;
            for (int k = t + 1; k < tabs_->count(); ++k) {
                const int b = boundIndex(k);
                if (b != 0 && tree_.pageAt(b).text.find(what) != std::string::npos) {
                    target = k;
                    break;
                }
            }
            setActiveTab(target);
            selectNode(tree_.nodeAt(boundIndex(target)));
            openInActiveTab();
            repaintNow();
        } else if (searchScope_ == 4) {
            Node* node = selectedNode();
            const int i = node ? tree_.indexOf(node) : tree_.count() - 1;
            if (i >= tree_.count() - 1) break;
            // Only the node that holds the text is opened (the last node when none does).
            int next = findNextText(tree_, i, what);
            if (next < 0) next = tree_.count() - 1;
            selectNode(tree_.nodeAt(next));
            openInActiveTab();
            repaintNow();
        } else {
            break;
        }
    }
    notFound(shown);
}

void MainWindow::replaceDialogFindNext() {
    find_->setText(replace_->text());
    find_->setDownward(true);
    findNext();
}

void MainWindow::replace(bool all) {
    find_->setText(replace_->text());
    find_->setDownward(true);
    const std::string what = replace_->text().toStdString();
    const std::string with = replace_->replacement().toStdString();
    for (;;) {
        if (editor_->selectionText() != what) findNext();
        if (!editor_->hasSelection()) return;
        editor_->replaceSelection(with);
        if (!all) return;
    }
}


// ---- Bookmarks ----

PageRecord* MainWindow::boundPage() const {
    Node* node = tree_.nodeAt(boundIndex(tabs_->currentIndex()));
    return node ? node->page.get() : nullptr;
}

void MainWindow::showBookmarksOf(int absIndex) {
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    std::vector<Bookmark> copies;
    for (const Bookmark& mark : node->page->bookmarks) copies.push_back(copyBookmark(mark));
    editor_->setBookmarks(copies);
}

void MainWindow::assignBookmark(int n) {
    PageRecord* page = boundPage();
    if (!page) return;
    setBookmark(page->bookmarks, n, 0, editor_->caretPos().line);
    showBookmarksOf(boundIndex(tabs_->currentIndex()));
}

void MainWindow::goToBookmark(int n) {
    const PageRecord* page = boundPage();
    if (!page) return;
    const int p = bookmarkPosition(page->bookmarks, n);
    if (p < 0) return;
    editor_->setCaretLine(page->bookmarks[static_cast<size_t>(p)].line);
    editor_->setCaretColumn(0);
}

void MainWindow::clearBookmarksCommand() {
    if (PageRecord* page = boundPage()) page->bookmarks.clear();
    editor_->clearBookmarks();
}

void MainWindow::enableAssignItems(int k) {
    for (int i = 0; i < static_cast<int>(assignMarks_.size()); ++i) assignMarks_[static_cast<size_t>(i)]->setEnabled(i <= k);
}

void MainWindow::captionGoToItems() {
    for (int i = 0; i < static_cast<int>(gotoMarks_.size()); ++i)
        gotoMarks_[static_cast<size_t>(i)]->setText(QStringLiteral("Метка %1").arg(i + 1));
    for (int r = 0; r < editor_->bookmarkCount(); ++r) {
        const Bookmark mark = editor_->bookmark(r);
        if (mark.number < 0 || mark.number >= static_cast<int>(gotoMarks_.size())) continue;
        gotoMarks_[static_cast<size_t>(mark.number)]->setText(markCaption(editor_->lineAt(mark.line - 1)));
    }
}

void MainWindow::prepareBookmarkMenu() {
    enableAssignItems(editor_->bookmarkCount());
    captionGoToItems();
}


// ---- Editing aids ----

void MainWindow::undo() { editor_->undo(); }

void MainWindow::showGoToLineModal() { goToLine_->open(); }

void MainWindow::showImport() { showFileSearch(true); }

namespace {
// Shows one of the window's dialogs, or only brings it to the front when it is already on
// screen (its modality then stays as it is).
void bringUp(QWidget* dialog, bool modal) {
    if (!dialog->isVisible()) {
        dialog->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
}
} // namespace

void MainWindow::showFileSearch(bool modal) { bringUp(fileSearch_, modal); }

void MainWindow::showGoToLine() { bringUp(goToLine_, false); }

QString MainWindow::dateTimeText(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime t = when.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0) text += u' ' + locale.toString(t, QLocale::LongFormat);
    return text;
}

void MainWindow::insertDateTime() { editor_->replaceSelection(dateTimeText(QDateTime::currentDateTime()).toStdString()); }

void MainWindow::copyEditorIntoBoundNode() {
    if (PageRecord* page = boundPage(); page && boundIndex(tabs_->currentIndex()) > 0) editor_->copyWholeTextInto(page->text);
}

void MainWindow::indent() {
    if (editor_->selectionLength() == 0) return;
    const int s = editor_->selectionStart(), e = editor_->selectionEnd();
    const int ls = editor_->offsetToPos(s).line, le = editor_->offsetToPos(e).line;
    for (int line = ls; line <= le; ++line) editor_->replaceLine(line - 1, ' ' + editor_->lineAt(line - 1));
    editor_->setSelectionStart(s + 1);
    editor_->setSelectionEnd(e + (le - ls + 1));
    copyEditorIntoBoundNode();
}

void MainWindow::unindent() {
    if (editor_->selectionLength() == 0) return;
    const int s = editor_->selectionStart(), e = editor_->selectionEnd();
    const int ls = editor_->offsetToPos(s).line, le = editor_->offsetToPos(e).line;
    for (int line = ls; line <= le; ++line) {
        const std::string text = editor_->lineAt(line - 1);
        if (!text.empty() && text[0] == ' ') editor_->replaceLine(line - 1, text.substr(1));
    }
    auto startsBlank = [this](int line) {
        const std::string text = editor_->lineAt(line - 1);
        return !text.empty() && text[0] == ' ';
    };
    if (startsBlank(ls)) editor_->setSelectionStart(s - 1);
    if (startsBlank(le)) editor_->setSelectionEnd(e - (le - ls) - 1);
    copyEditorIntoBoundNode();
}

void MainWindow::indentSelection() { indent(); }
void MainWindow::unindentSelection() { unindent(); }

void MainWindow::updateCaretLineColour() {
    bool marked = false;
    if (const PageRecord* page = boundPage()) {
        const int line = editor_->caretPos().line;
        for (const Bookmark& m : page->bookmarks) marked = marked || m.line == line;
    }
    const QColor colour = HighlighterLexer::toQColor(marked ? aMarkColor_ : aLineColor_);
    if (colour.isValid() && colour != editor_->activeLineColor()) editor_->setActiveLineColor(colour);
}

void MainWindow::editorKeyTyped(QChar ch, bool& cancel) {
    if (autoLayout_->isChecked()) switchLayoutByContext(ch, cancel);
}

void MainWindow::switchLayoutByContext(QChar, bool& cancel) {
    const QString line = QString::fromStdString(editor_->caretLineText());
    if (line.size() < 10) return;
    const int x = editor_->caretPos().column;
    int latin = 0, blank = 0, other = 0;
    for (int p = x - 5; p <= x + 5; ++p) {
        if (p < 1 || p > line.size()) continue;
        const QChar c = line[p - 1];
        if (c == u' ') ++blank;
        else if (c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("().[]").contains(c))) ++latin;
        else ++other;
    }
    if (blank >= other && blank >= latin) return;
    if (latin >= other) {
        if (layouts_->currentLanguage() == kRussianLayout) cancel = true;
        layouts_->activate(kEnglishLayout);
    } else {
        if (layouts_->currentLanguage() == kEnglishLayout) cancel = true;
        layouts_->activate(kRussianLayout);
    }
}


// ---- Branch files ----

void MainWindow::saveBranchToFile() {
    Node* node = selectedNode();
    if (!node) return;
    const auto choice = prompter_.chooseSaveFile(kCollectionFilters);
    if (!choice) return;
    const bool asXml = choice->filterIndex != 2;
    const QString target = replaceExtension(choice->path, asXml ? QStringLiteral(".xml") : QStringLiteral(".txt"));
    if (!confirmReplace(target)) return;
    if (asXml) saveBranchXml(tree_, choice->path, *node, operationFeedback());
    else saveCollectionText(tree_, choice->path, *node, operationFeedback());
    showGatheredMessages();
}

void MainWindow::addBranchFromFile() {
    const auto choice = prompter_.chooseOpenFile({kCollectionFilters.front()});
    if (!choice) return;
    Node* node = selectedNode();
    if (!node) return;
    if (node->kindImage == kPageKind) {
        prompter_.showMessage(QStringLiteral("Добавление ветви к странице невозможно!"));
        return;
    }
    addBranchFile(node, choice->path);
}

void MainWindow::addBranchFile(Node* target, const QString& fileName) {
    // Every tab stays on its node: note them, add, then re-derive the indexes.
    std::vector<const Node*> noted;
    for (int t = 0; t < tabs_->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    GraftHooks hooks;
    hooks.aboutToAdd = [this, target](int count) { model_->beginAppend(target, count); };
    hooks.added = [this] { model_->endAppend(); };
    tw::addBranchFile(tree_, fileName, target, operationFeedback(), hooks);
    for (int t = 0; t < tabs_->count(); ++t) tabs_->setTabData(t, noted[t] ? tree_.indexOf(noted[t]) : 0);
    showGatheredMessages();
    showCounts();
}

// ---- programsMenu_ ----

void MainWindow::addProgramItems(const QString& folder) {
    for (const ProgramFile& program : findPrograms(folder)) {
        QAction* item = programsMenu_->addAction(menuText(program.caption));
        item->setData(program.path);
        connect(item, &QAction::triggered, this, &MainWindow::startProgram);
    }
}

void MainWindow::startProgram() {
    if (auto* item = qobject_cast<QAction*>(sender())) launcher_->shellExecute(item->data().toString());
}

void MainWindow::showApplicationsList(bool modal) { bringUp(applications_, modal); }

void MainWindow::editApplicationsList() { showApplicationsList(false); }
void MainWindow::applicationsTool() { showApplicationsList(false); }

// ---- Current-text export ----

Highlighter& MainWindow::lastOpenedHighlighter() const {
    const Node* last = tree_.nodeAt(lastOpenedIndex_);
    return highlighters_.byPosition(last ? last->page->language - 1 : -1);
}

void MainWindow::exportTextAsHtml() { exportEditorText(prompter_, *editor_, lastOpenedHighlighter(), ExportFormat::Html); }

void MainWindow::exportTextAsRtf() { exportEditorText(prompter_, *editor_, lastOpenedHighlighter(), ExportFormat::Rtf); }

void MainWindow::exportCurrentTextHtml() { exportTextAsHtml(); }

void MainWindow::exportCurrentTextRtf() { exportTextAsRtf(); }

// ---- Exports to HTML and to directories ----

void MainWindow::exportWholeStructure() { exportStructureHtml(); }

void MainWindow::exportStructureHtml() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("HTML"), QStringLiteral("*.html")}});
    if (!choice) return;
    tw::exportStructureHtml(tree_, highlighters_, choice->path, operationFeedback(), exportSettingsFor(*editor_));
    showGatheredMessages();
}

void MainWindow::showDirectoryExport() {
    Node* node = selectedNode();
    if (!node) {
        prompter_.showInformation(QStringLiteral("Вы не выбрали ветвь для экспорта!"));
        return;
    }
    directoryExport_->setWindowTitle(panel1_->text());
    directoryExport_->setBranch(node);
    directoryExport_->exec();
    directoryExport_->setBranch(nullptr);
}

} // namespace tw
