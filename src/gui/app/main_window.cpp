#include "app/main_window.h"

#include "app/help_and_updates.h"
#include "app/icons.h"
#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "editor/editing_aids.h"
#include "exchange/branch_file_commands.h"
#include "exchange/export_commands.h"
#include "exchange/file_search_dialog.h"
#include "app/bring_up.h"
#include "hotkeys/snippet_keys.h"
#include "launcher/applications_menu.h"
#include "schemes/colour_scheme_dialog.h"
#include "search/find_dialogs.h"
#include "search/search_commands.h"
#include "search/search_results.h"
#include "tree/bookmarks.h"
#include "tree/tree_editor.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/background_read.h"
#include "workspace/bookmark_commands.h"
#include "workspace/collection_document.h"
#include "workspace/go_to_line_dialog.h"
#include "workspace/recovery.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tw {

MainWindow::MainWindow(Prompter& prompter, ProgramPaths paths, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), paths_(std::move(paths)) {
    setObjectName(QStringLiteral("mainWindow"));
    resize(604, 474);
    setMinimumSize(520, 350);
    readLastFileAhead();  // the read runs while the window is built and shown
    buildTreeView();
    buildParts();
    layoutWidgets();
    buildCommands();
    document_->updateCaption();
    snippetKeys_->registerOwnKeys();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildTreeView() {
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
}

void MainWindow::buildParts() {
    status_ = std::make_unique<StatusPanels>(*statusBar(), prompter_);
    workspace_ = new Workspace(tree_, *model_, *treeView_, *status_, prompter_, this);
    document_ = new CollectionDocument(*workspace_, *status_, prompter_, this);
    connect(document_, &CollectionDocument::captionChanged, this, &QWidget::setWindowTitle);
    connect(document_, &CollectionDocument::readingChanged, this, [this](bool reading) {
        setBusy(reading);
        if (!reading && startUpPending_) {
            startUpPending_ = false;
            finishStartUp();
        }
    });
    treeEditor_ = new TreeEditor(*workspace_, *document_, *status_, prompter_, this);
    recovery_ = new Recovery(*document_, *workspace_, prompter_, paths_.recoveryDir, this);
    connect(treeView_, &QTreeView::clicked, workspace_, &Workspace::treeClicked);
    connect(treeView_, &QTreeView::doubleClicked, workspace_, &Workspace::openInActiveTab);
    search_ = new SearchCommands(*workspace_, *status_, prompter_, paths_.settingsFile, this);
    addDockWidget(Qt::BottomDockWidgetArea, search_->resultsPanel());
    bookmarks_ = new BookmarkCommands(*workspace_, this);
    branchFiles_ = new BranchFileCommands(*workspace_, *document_, *status_, prompter_, this);
    exports_ = new ExportCommands(*workspace_, *status_, prompter_, this);
    const auto launcher = [this]() -> Launcher& { return *launcher_; };
    help_ = new HelpAndUpdates(paths_, prompter_, launcher, this);
    CodeEditor& editor = *workspace_->editor();
    caretLine_ = new CaretLineColour(editor, [this] { return workspace_->boundPage(); });
    indentation_ = new Indentation(editor, [this] { workspace_->copyEditorIntoBoundNode(); });
    colourSchemes_ = new ColourSchemeDialog(workspace_->highlighters(), paths_, prompter_, this);
    goToLine_ = new GoToLineDialog(editor, this);
    fileSearch_ = new FileSearchDialog(*treeEditor_, *status_, paths_, workspace_->highlighters(), prompter_, this);
    OwnKeyCommands ownKeys;
    ownKeys.expandBranch = [this] { treeEditor_->expandBranch(true); };
    ownKeys.collapseBranch = [this] { treeEditor_->expandBranch(false); };
    ownKeys.applicationsList = [this] { applications_->showList(false); };
    ownKeys.goToLine = [this] { showGoToLine(); };
    ownKeys.fileSearch = [this] { showFileSearch(false); };
    snippetKeys_ = new SnippetKeys(editor, paths_, prompter_, std::move(ownKeys), this);
}

void MainWindow::layoutWidgets() {
    editorBar_ = new QToolBar;
    editorBar_->setObjectName(QStringLiteral("editorToolBar"));
    editorBar_->setIconSize(QSize(20, 20));

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(editorBar_);
    rightLayout->addWidget(workspace_->tabs());
    rightLayout->addWidget(workspace_->editor(), 1);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->addWidget(treeView_);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    // Wider than the classic 153 px so that captions two levels down are not cut off.
    splitter_->setSizes({220, 384});
    setCentralWidget(splitter_);
    treeView_->setCurrentIndex(model_->index(0, 0));
}

// ---- Commands ----

template <typename Slot>
QAction* MainWindow::addCommand(const QString& name, const QString& caption, const QString& hint, Slot slot) {
    QAction* action = addCommand(name, caption, hint);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction* MainWindow::addCommand(const QString& name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) action->setToolTip(hint);
    return action;
}

QMenu* MainWindow::dropDownMenu(const QString& name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    return menu;
}

QAction* MainWindow::command(const QString& objectName) const { return findChild<QAction*>(objectName); }

namespace {
using I = Icons::Tool;
// Puts an action on a toolbar with its picture; a drop-down whose button has a command of
// its own splits into button and arrow.
QAction* tool(QToolBar* bar, QAction* action, I icon, QMenu* menu = nullptr, bool split = false) {
    action->setIcon(Icons::tool(icon));
    if (menu) action->setMenu(menu);
    bar->addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        button->setObjectName(action->objectName());
        if (menu) button->setPopupMode(split ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
    }
    return action;
}
} // namespace

void MainWindow::buildCommands() {
    buildFileMenu();
    buildMainToolBar();
    buildEditorToolBar();
    buildTreeMenu();
    // Ctrl+Tab and Ctrl+Shift+Tab step through the editor tabs, in a circle.
    QAction* nextTab = withKey(addCommand(QStringLiteral("nextTab"), QStringLiteral("Следующая вкладка"), {},
                                          [this] { stepTab(1); }),
                               QKeySequence(Qt::CTRL | Qt::Key_Tab));
    QAction* previousTab = withKey(addCommand(QStringLiteral("previousTab"), QStringLiteral("Предыдущая вкладка"), {},
                                              [this] { stepTab(-1); }),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab));
    previousTab->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    addActions({nextTab, previousTab});
}

QAction* MainWindow::withKey(QAction* action, const QKeySequence& key) {
    action->setShortcut(key);
    // The key works wherever the focus is in the window, the editor included.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void MainWindow::stepTab(int step) {
    QTabBar* bar = workspace_->tabs();
    if (bar->count() < 2) return;
    bar->setCurrentIndex((bar->currentIndex() + step + bar->count()) % bar->count());
}

void MainWindow::findAgain(bool downward) {
    // The last search again in its scope; without one, the find dialog for the current tab.
    FindDialog* dialog = search_->findDialog();
    if (dialog->text().isEmpty()) {
        search_->findInCurrentTab();
        return;
    }
    dialog->setDownward(downward);
    search_->findNext();
}

void MainWindow::buildFileMenu() {
    CollectionDocument* doc = document_;
    BranchFileCommands* branch = branchFiles_;
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(withKey(addCommand(QStringLiteral("newCollection"), QStringLiteral("Новый"), {},
                                       [doc] { doc->clearCollection(); }),
                            QKeySequence::New));
    file->addAction(withKey(addCommand(QStringLiteral("openCollection"), QStringLiteral("Открыть..."), {},
                                       [doc] { doc->open(); }),
                            QKeySequence::Open));
    file->addAction(withKey(addCommand(QStringLiteral("saveCollection"), QStringLiteral("Сохранить"), {},
                                       [doc] { doc->save(); }),
                            QKeySequence::Save));
    file->addAction(withKey(addCommand(QStringLiteral("saveCollectionAs"), QStringLiteral("Сохранить как..."), {},
                                       [doc] { doc->saveAs(); }),
                            QKeySequence(QStringLiteral("Ctrl+Shift+S"))));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("addBranchFile"), QStringLiteral("Добавить ветвь из файла"), {},
                               [branch] { branch->addBranchFromFile(); }));
    file->addAction(addCommand(QStringLiteral("saveBranchFile"), QStringLiteral("Сохранить ветвь в файл"), {},
                               [branch] { branch->saveBranchToFile(); }));
    file->addAction(addCommand(QStringLiteral("exportBranchDirectories"),
                               QStringLiteral("Сохранить ветвь в виде дерева каталогов"), {},
                               [this] { exports_->showDirectoryExport(); }));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("quit"), QStringLiteral("Выход"), {}, [this] { close(); }));
    programsMenu_ = menuBar()->addMenu(QStringLiteral("Приложения"));
    programsMenu_->setObjectName(QStringLiteral("programsMenu"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addAction(addCommand(QStringLiteral("help"), QStringLiteral("Справка"), {}, [this] { help_->showHelp(); }));
    help->addAction(addCommand(QStringLiteral("about"), QStringLiteral("О программе..."), {}, [this] { help_->showAbout(); }));
}

void MainWindow::buildMainToolBar() {
    CollectionDocument* doc = document_;
    TreeEditor* edit = treeEditor_;
    mainBar_ = addToolBar(QStringLiteral("Панель инструментов"));
    mainBar_->setObjectName(QStringLiteral("mainToolBar"));
    mainBar_->setIconSize(QSize(32, 32));
    mainBar_->setMovable(false);
    tool(mainBar_, addCommand(QStringLiteral("clearTree"), QString(), QStringLiteral("Очистить дерево"),
                              [doc] { doc->clearCollection(); }), I::ClearTree);
    tool(mainBar_, addCommand(QStringLiteral("openCollectionButton"), QString(), QStringLiteral("Открыть..."),
                              [doc] { doc->open(); }), I::Open);
    tool(mainBar_, addCommand(QStringLiteral("saveButton"), QString(), QStringLiteral("Сохранить"),
                              [doc] { doc->save(); }), I::Save);
    tool(mainBar_, addCommand(QStringLiteral("saveAsButton"), QString(), QStringLiteral("Сохранить как..."),
                              [doc] { doc->saveAs(); }), I::SaveAs);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("newSectionButton"), QString(), QStringLiteral("Создать новый раздел"),
                              [edit] { edit->addSectionToSelected(); }), I::NewSection);
    tool(mainBar_, addCommand(QStringLiteral("newPageButton"), QString(), QStringLiteral("Создать новую страницу"),
                              [edit] { edit->addPageToSelected(false); }), I::NewPage);
    tool(mainBar_, addCommand(QStringLiteral("importButton"), QString(), QStringLiteral("Воссоздание структуры каталогов"),
                              [this] { showFileSearch(true); }), I::Import);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("iconButton"), QString(), QStringLiteral("Установить пиктограмму")),
         I::SetIcon, buildIconMenu());
    QMenu* expand = dropDownMenu(QStringLiteral("expandMenu"));
    QAction* expandBranch = addCommand(QStringLiteral("expandBranch"), QStringLiteral("Развернуть ветвь"), {},
                                       [edit] { edit->expandBranch(true); });
    expandBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QAction* collapseBranch = addCommand(QStringLiteral("collapseBranch"), QStringLiteral("Свернуть ветвь"), {},
                                         [edit] { edit->expandBranch(false); });
    collapseBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    expand->addActions({expandBranch, collapseBranch});
    tool(mainBar_, addCommand(QStringLiteral("expandButton"), QString(), QStringLiteral("Свернуть/Развернуть ветвь")),
         I::ExpandCollapse, expand);
    recursion_ = addCommand(QStringLiteral("recursionButton"), QString(), QStringLiteral("Использовать рекурсию"));
    recursion_->setCheckable(true);
    treeEditor_->setRecursionAction(recursion_);
    tool(mainBar_, recursion_, I::Recurse);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("deleteButton"), QString(), QStringLiteral("Удалить элемент"),
                              [edit] { edit->deleteSelected(); }), I::Delete);
    mainBar_->addSeparator();
    // The entries of the applications list go before the separator.
    applicationsMenu_ = dropDownMenu(QStringLiteral("applicationsMenu"));
    applicationsMenu_->addSeparator();
    applications_ = new ApplicationsMenu(*programsMenu_, *applicationsMenu_, paths_, prompter_,
                                         [this]() -> Launcher& { return *launcher_; }, this);
    QAction* editList = addCommand(QStringLiteral("editApplications"), QStringLiteral("Редактировать список"), {},
                                   [this] { applications_->showList(false); });
    // Shown in the menu; the key itself is one of the program's own keys, caught elsewhere.
    editList->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    editList->setShortcutContext(Qt::WidgetShortcut);
    applicationsMenu_->addAction(editList);
    tool(mainBar_, addCommand(QStringLiteral("applicationsButton"), QString(), QStringLiteral("Открыть файл"),
                              [this] { applications_->showList(false); }),
         I::OpenFile, applicationsMenu_, true);
    QAction* downloadSeparator = mainBar_->addSeparator();
    downloadSeparator->setObjectName(QStringLiteral("downloadSeparator"));
    downloadSeparator->setVisible(false);  // shown with the download button
    QAction* download = tool(mainBar_,
                             addCommand(QStringLiteral("downloadUpdate"), QString(),
                                        QStringLiteral("Скачать последнюю версию программы"),
                                        [this] { help_->downloadUpdate(); }),
                             I::Download);
    download->setVisible(false);  // shown when the update check finds a newer version
    help_->setDownloadActions(downloadSeparator, download);
}

QMenu* MainWindow::buildIconMenu() {
    QMenu* icons = dropDownMenu(QStringLiteral("iconMenu"));
    const char* iconCaptions[] = {"Время", "Наука",  "Дела",    "Ошибка", "Интернет", "Учеба", "Вопрос", "Идея",
                                  "Железо", "Расчеты", "Игра", "Звезда", "Стоп",     "Важно", "Мусор"};
    for (int k = 0; k < 15; ++k) {
        QAction* a = icons->addAction(QIcon(Icons::nodeIcon(k)), QString::fromUtf8(iconCaptions[k]));
        a->setObjectName(QStringLiteral("Icon%1").arg(k));
        connect(a, &QAction::triggered, treeEditor_, [this, k] { treeEditor_->setIcon(k); });
    }
    icons->addSeparator();
    QAction* noIcon = icons->addAction(QStringLiteral("Нет"));
    noIcon->setObjectName(QStringLiteral("IconNone"));
    connect(noIcon, &QAction::triggered, treeEditor_, [this] { treeEditor_->setIcon(-1); });
    return icons;
}

void MainWindow::buildEditorToolBar() {
    Workspace* ws = workspace_;
    ExportCommands* exports = exports_;
    tool(editorBar_, addCommand(QStringLiteral("clearTextButton"), QString(), QStringLiteral("Очистить"),
                                [ws] { ws->clearEditor(); }), I::ClearText);
    tool(editorBar_, addCommand(QStringLiteral("openTextButton"), QString(), QStringLiteral("Открыть..."),
                                [ws] { ws->loadFileIntoEditor(); }), I::OpenText);
    tool(editorBar_, addCommand(QStringLiteral("saveTextButton"), QString(), QStringLiteral("Сохранить как..."),
                                [ws] { ws->saveEditorText(); }), I::SaveText);
    editorBar_->addSeparator();
    QMenu* exportMenu = dropDownMenu(QStringLiteral("exportMenu"));
    QMenu* html = exportMenu->addMenu(QStringLiteral("HTML"));
    html->addAction(addCommand(QStringLiteral("exportTextHtml"), QStringLiteral("Текущий текст"), {},
                               [exports] { exports->exportTextAsHtml(); }));
    html->addAction(addCommand(QStringLiteral("exportStructure"), QStringLiteral("Всю структуру"), {},
                               [exports] { exports->exportWholeStructure(); }));
    exportMenu->addAction(addCommand(QStringLiteral("exportTextRtf"), QStringLiteral("RTF"), {},
                                     [exports] { exports->exportTextAsRtf(); }));
    tool(editorBar_, addCommand(QStringLiteral("exportButton"), QString(), QStringLiteral("Экспорт кода")), I::Export,
         exportMenu);
    tool(editorBar_, addCommand(QStringLiteral("languageButton"), QString(), QStringLiteral("Подсветка синтаксиса"),
                                [ws] { ws->resetLanguage(); }),
         I::Highlight, buildLanguageMenu(), true);
    tool(editorBar_, addCommand(QStringLiteral("colourSchemesButton"), QString(), QStringLiteral("Настройка цветовых схем"),
                                [this] { showColourSchemes(); }),
         I::Schemes);
    tool(editorBar_, addCommand(QStringLiteral("snippetKeysButton"), QString(),
                                QStringLiteral("Назначение горячих клавиш для вставки текста"),
                                [this] { snippetKeys_->showList(); }),
         I::Hotkeys);
    tool(editorBar_, addCommand(QStringLiteral("bookmarksButton"), QString()), I::Bookmarks, buildBookmarkMenu());
    tool(editorBar_, addCommand(QStringLiteral("editButton"), QString(), QStringLiteral("Правка"),
                                [this] { search_->findInCurrentTab(); }),
         I::Edit, buildEditMenu(), true);
    tool(editorBar_, addCommand(QStringLiteral("closeTabButton"), QString(), QStringLiteral("Закрыть закладку"),
                                [ws] { ws->closeActiveTab(); }), I::CloseTab);
}

QMenu* MainWindow::buildLanguageMenu() {
    QMenu* languages = dropDownMenu(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int p = 0; p < kLanguageCount; ++p) {
        QAction* a = languages->addAction(QString::fromLatin1(languageCatalogue()[static_cast<size_t>(p)].menuCaption));
        a->setObjectName(QStringLiteral("Language%1").arg(p));
        a->setData(p);
        a->setCheckable(true);
        a->setChecked(p == 0);
        group->addAction(a);
        connect(a, &QAction::triggered, workspace_, [this, p] { workspace_->chooseLanguage(p); });
    }
    workspace_->setLanguageActions(group);
    return languages;
}

QMenu* MainWindow::buildBookmarkMenu() {
    QMenu* marks = dropDownMenu(QStringLiteral("bookmarkMenu"));
    QMenu* assign = marks->addMenu(QStringLiteral("Назначить"));
    QMenu* go = marks->addMenu(QStringLiteral("Перейти"));
    std::vector<QAction*> assignItems, goToItems;
    for (int i = 0; i < kBookmarkCount; ++i) {
        QAction* a = assign->addAction(QStringLiteral("Метка %1").arg(i + 1));
        a->setObjectName(QStringLiteral("Assign%1").arg(i));
        connect(a, &QAction::triggered, bookmarks_, [this, i] { bookmarks_->assign(i); });
        assignItems.push_back(a);
        QAction* g = go->addAction(QStringLiteral("Метка %1").arg(i + 1));
        g->setObjectName(QStringLiteral("Goto%1").arg(i));
        connect(g, &QAction::triggered, bookmarks_, [this, i] { bookmarks_->goTo(i); });
        goToItems.push_back(g);
    }
    bookmarks_->setMenuItems(std::move(assignItems), std::move(goToItems));
    marks->addSeparator();
    marks->addAction(addCommand(QStringLiteral("clearBookmarks"), QStringLiteral("Очистить"), {},
                                [this] { bookmarks_->clear(); }));
    connect(marks, &QMenu::aboutToShow, bookmarks_, &BookmarkCommands::prepareMenu);
    return marks;
}

QMenu* MainWindow::buildEditMenu() {
    SearchCommands* find = search_;
    QMenu* edit = dropDownMenu(QStringLiteral("editMenu"));
    edit->addAction(addCommand(QStringLiteral("undo"), QStringLiteral("Отменить"), {},
                               [this] { workspace_->editor()->undo(); }));
    edit->addSeparator();
    QMenu* findMenu = edit->addMenu(QStringLiteral("Найти"));
    findMenu->addAction(addCommand(QStringLiteral("findInCurrentTab"), QStringLiteral("в текущей вкладке"), {},
                                   [find] { find->findInCurrentTab(); }));
    findMenu->addAction(addCommand(QStringLiteral("findInTabs"), QStringLiteral("во вкладках"), {},
                                   [find] { find->findInTabs(); }));
    findMenu->addAction(addCommand(QStringLiteral("findInAllPages"), QStringLiteral("среди всех страниц дерева"), {},
                                   [find] { find->findInAllPages(); }));
    findMenu->addAction(addCommand(QStringLiteral("findInNodeNames"), QStringLiteral("в названиях элементов"), {},
                                   [find] { find->findInNodeNames(); }));
    findMenu->addSeparator();
    findMenu->addAction(withKey(addCommand(QStringLiteral("findAgain"), QStringLiteral("Найти далее"), {},
                                           [this] { findAgain(true); }),
                                QKeySequence(Qt::Key_F3)));
    findMenu->addAction(withKey(addCommand(QStringLiteral("findAgainBackward"), QStringLiteral("Найти ранее"), {},
                                           [this] { findAgain(false); }),
                                QKeySequence(Qt::SHIFT | Qt::Key_F3)));
    edit->addAction(withKey(addCommand(QStringLiteral("replace"), QStringLiteral("Заменить..."), {},
                                       [find] { find->showReplace(); }),
                            QKeySequence(QStringLiteral("Ctrl+H"))));
    edit->addAction(withKey(addCommand(QStringLiteral("goToLine"), QStringLiteral("Перейти на строку..."), {},
                                       [this] { showGoToLineModal(); }),
                            QKeySequence(QStringLiteral("Ctrl+G"))));
    edit->addSeparator();
    edit->addAction(addCommand(QStringLiteral("indent"), QStringLiteral("Увеличить отступ"), {},
                               [this] { indentation_->indent(); }));
    edit->addAction(addCommand(QStringLiteral("unindent"), QStringLiteral("Уменьшить отступ"), {},
                               [this] { indentation_->unindent(); }));
    edit->addSeparator();
    autoLayout_ = addCommand(QStringLiteral("autoLayout"), QStringLiteral("Автоматическое определение раскладки"));
    autoLayout_->setCheckable(true);
    layoutSwitcher_ = new LayoutSwitcher(*workspace_->editor(), *autoLayout_);
    edit->addAction(autoLayout_);
    edit->addSeparator();
    edit->addAction(addCommand(QStringLiteral("insertDateTime"), QStringLiteral("Вставить дату и время"), {},
                               [this] { insertDateTime(*workspace_->editor()); }));
    return edit;
}

void MainWindow::buildTreeMenu() {
    Workspace* ws = workspace_;
    TreeEditor* edit = treeEditor_;
    QMenu* menu = dropDownMenu(QStringLiteral("treeMenu"));
    menu->addAction(addCommand(QStringLiteral("openInActiveTab"), QStringLiteral("Открыть в активной закладке"), {},
                               [ws] { ws->openInActiveTab(); }));
    menu->addAction(addCommand(QStringLiteral("openInNewTab"), QStringLiteral("Открыть в новой закладке"), {},
                               [ws] { ws->openInNewTab(); }));
    menu->addSeparator();
    menu->addAction(addCommand(QStringLiteral("addSection"), QStringLiteral("Добавить раздел"), {},
                               [edit] { edit->addSectionToSelected(); }));
    menu->addAction(addCommand(QStringLiteral("addPage"), QStringLiteral("Добавить страницу"), {},
                               [edit] { edit->addPageToSelected(true); }));
    menu->addSeparator();
    menu->addAction(addCommand(QStringLiteral("expandNode"), QStringLiteral("Развернуть ветвь"), {},
                               [edit] { edit->expandBranch(true); }));
    menu->addAction(addCommand(QStringLiteral("collapseNode"), QStringLiteral("Свернуть ветвь"), {},
                               [edit] { edit->expandBranch(false); }));
    menu->addSeparator();
    menu->addAction(addCommand(QStringLiteral("rename"), QStringLiteral("Переименовать"), {},
                               [edit] { edit->renameSelected(); }));
    menu->addSeparator();
    menu->addAction(addCommand(QStringLiteral("deleteNode"), QStringLiteral("Удалить"), {},
                               [edit] { edit->deleteSelected(); }));
    treeEditor_->setTreeMenu(menu);
}

// ---- Dialogs ----

void MainWindow::showGoToLine() { bringUp(goToLine_, false); }

void MainWindow::showGoToLineModal() { goToLine_->open(); }

void MainWindow::showFileSearch(bool modal) { bringUp(fileSearch_, modal); }

void MainWindow::showColourSchemes() { bringUp(colourSchemes_, false); }

// ---- Accessors ----

CollectionTree& MainWindow::tree() { return workspace_->tree(); }
CodeEditor* MainWindow::editor() const { return workspace_->editor(); }
QTabBar* MainWindow::tabs() const { return workspace_->tabs(); }
Node* MainWindow::selectedNode() const { return workspace_->selectedNode(); }
void MainWindow::selectNode(const Node* node) { workspace_->selectNode(node); }
const QString& MainWindow::currentFileName() const { return document_->fileName(); }
QString MainWindow::statusText(int panel) const { return status_->text(panel); }
void MainWindow::setKeyboardLayouts(KeyboardLayouts* layouts) { layoutSwitcher_->setKeyboardLayouts(layouts); }

// ---- Start-up and shut-down ----

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        startUp();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A changed collection is saved or dropped only when the user says so.
    if (!document_->maySaveChanges()) {
        event->ignore();
        return;
    }
    shutDown();
    QMainWindow::closeEvent(event);
}

} // namespace tw
