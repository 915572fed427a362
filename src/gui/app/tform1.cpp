#include "app/tform1.h"

#include "app/icons.h"
#include "app/program.h"
#include "app/tupdate.h"
#include "app/ini_file.h"
#include "editor/highlighter_lexer.h"
#include "editor/synmemo.h"
#include "launcher/programs_folder.h"
#include "launcher/tform4.h"
#include "exchange/text_export_command.h"
#include "exchange/structure_export.h"
#include "exchange/tform10.h"
#include "schemes/tform5.h"
#include "search/find_dialogs.h"
#include "search/text_search.h"
#include "workspace/tform2.h"
#include "exchange/tform3.h"
#include "hotkeys/tform6.h"
#include "hotkeys/tform7.h"
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

TForm1::TForm1(Prompter& prompter, ProgramPaths paths, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), paths_(std::move(paths)) {
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    // The tree already holds the root node with its record; nothing is open yet.
    lastOpenedIndex_ = 0;
    resize(604, 474);
    setMinimumSize(520, 350);
    buildWidgets();
    buildCommands();
    SetSyn(0);
    // The dialogs live as long as the window.
    Form5 = new TForm5(highlighters_, paths_, prompter_, this);
    Form2 = new TForm2(*SynMemo1, this);
    Form3 = new TForm3(*this, prompter_, this);
    Form4 = new TForm4(*PopupMenu6, paths_, prompter_, this);
    connect(Form4, &TForm4::openObject, this, [this](const QString& object) { launcher_->shellExecute(object); });
    Form10 = new TForm10(tree_, prompter_, this);
    connect(SynMemo1, &SynMemo::painted, this, &TForm1::SetActiveLineColor);
    connect(SynMemo1, &QsciScintilla::cursorPositionChanged, this, &TForm1::SetActiveLineColor);
    connect(SynMemo1, &SynMemo::keyTyped, this, &TForm1::SynMemo1KeyPress, Qt::DirectConnection);
    Find1 = new FindDialog(this);
    Replace1 = new ReplaceDialog(this);
    connect(Find1, &FindDialog::findNext, this, &TForm1::FindDlgFind);
    connect(Replace1, &ReplaceDialog::findNext, this, &TForm1::Replace1Find);
    connect(Replace1, &ReplaceDialog::replace, this, [this] { Replace1Replace(false); });
    connect(Replace1, &ReplaceDialog::replaceAll, this, [this] { Replace1Replace(true); });
    registrar_ = new ApplicationHotkeyRegistrar(paths_.hotkeyLocks, this);
    registrar_->setReceiver([this](int id) { WMHotKey(id); });
    Form6 = new TForm6(*registrar_, prompter_, paths_.keysFile, this);
    Form7 = new TForm7(*Form6, prompter_, Form6);
    Form6->setAssignDialog(Form7);
    ChangeCaption();
    RegisterHotKeys();
}

void TForm1::buildWidgets() {
    model_ = new TreeModel(tree_, this);
    Tree = new TreeView;
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setModel(model_);
    Tree->setHeaderHidden(true);
    Tree->setIndentation(27);
    Tree->setIconSize(QSize(42, 24));
    Tree->setUniformRowHeights(true);
    // Long captions scroll sideways rather than being cut short.
    Tree->setTextElideMode(Qt::ElideNone);
    Tree->header()->setStretchLastSection(false);
    Tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Tree->setContextMenuPolicy(Qt::CustomContextMenu);
    Tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    Tree->setDragEnabled(true);
    Tree->setAcceptDrops(true);
    Tree->setDropIndicatorShown(true);
    Tree->setDragDropMode(QAbstractItemView::DragDrop);
    Tree->setDragDropOverwriteMode(true);  // a drop lands on the node under the pointer
    Tree->setDefaultDropAction(Qt::MoveAction);
    Tree->installEventFilter(this);
    connect(Tree, &QTreeView::clicked, this, &TForm1::TreeClick);
    connect(Tree, &QTreeView::doubleClicked, this, &TForm1::TreeDblClick);
    connect(Tree, &QTreeView::expanded, this, [this](const QModelIndex& i) { onExpandedChanged(i, true); });
    connect(Tree, &QTreeView::collapsed, this, [this](const QModelIndex& i) { onExpandedChanged(i, false); });
    connect(model_, &TreeModel::renamed, this, &TForm1::onRenamed);
    model_->onDrop = [this](Node* dragged, Node* target) { TreeEndDrag(dragged, target); };

    editorBar_ = new QToolBar;
    editorBar_->setObjectName(QStringLiteral("ToolBar2"));
    editorBar_->setIconSize(QSize(20, 20));

    Pages1 = new QTabBar;
    Pages1->setObjectName(QStringLiteral("Pages1"));
    Pages1->setExpanding(false);
    Pages1->setDocumentMode(true);
    Pages1->addTab(QStringLiteral("None"));
    Pages1->setTabData(0, 0);

    SynMemo1 = new SynMemo;
    connect(SynMemo1, &SynMemo::changed, this, &TForm1::SynMemo1Change);
    connect(Pages1, &QTabBar::currentChanged, this, [this] {
        if (programmatic_ == 0) Pages1Change();
    });

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(editorBar_);
    rightLayout->addWidget(Pages1);
    rightLayout->addWidget(SynMemo1, 1);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->addWidget(Tree);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    // Wider than the classic 153 px so that captions two levels down are not cut off.
    splitter_->setSizes({220, 384});
    setCentralWidget(splitter_);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(true);
    panel0_ = new QLabel;
    panel0_->setObjectName(QStringLiteral("StatusPanel0"));
    panel0_->setFixedWidth(175);
    panel1_ = new QLabel;
    panel1_->setObjectName(QStringLiteral("StatusPanel1"));
    panel1_->setMinimumWidth(100);
    statusBar()->addWidget(panel0_);
    statusBar()->addWidget(panel1_, 1);

    Tree->setCurrentIndex(model_->index(0, 0));
}

QAction* TForm1::addCommand(const QString& name, const QString& caption, const QString& hint,
                            void (TForm1::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) action->setToolTip(hint);
    if (slot) connect(action, &QAction::triggered, this, slot);  // none for a button that only opens its menu
    return action;
}

QMenu* TForm1::dropDownMenu(const QString& name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    return menu;
}

QAction* TForm1::command(const QString& objectName) const { return findChild<QAction*>(objectName); }

void TForm1::buildCommands() {
    using I = Icons::Tool;
    // Main menu.
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(addCommand(QStringLiteral("N4"), QStringLiteral("Новый"), {}, &TForm1::N4Click));
    file->addAction(addCommand(QStringLiteral("N7"), QStringLiteral("Открыть..."), {}, &TForm1::N7Click));
    file->addAction(addCommand(QStringLiteral("N55"), QStringLiteral("Сохранить"), {}, &TForm1::N55Click));
    file->addAction(addCommand(QStringLiteral("N6"), QStringLiteral("Сохранить как..."), {}, &TForm1::N6Click));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("N57"), QStringLiteral("Добавить ветвь из файла"), {}, &TForm1::N57Click));
    file->addAction(addCommand(QStringLiteral("N59"), QStringLiteral("Сохранить ветвь в файл"), {}, &TForm1::N59Click));
    file->addAction(addCommand(QStringLiteral("N60"), QStringLiteral("Сохранить ветвь в виде дерева каталогов"), {}, &TForm1::N60Click));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("N9"), QStringLiteral("Выход"), {}, &TForm1::N9Click));
    QMenu* apps = menuBar()->addMenu(QStringLiteral("Приложения"));
    apps->setObjectName(QStringLiteral("Applications"));
    Applications = apps;
    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addAction(addCommand(QStringLiteral("N42"), QStringLiteral("Справка"), {}, &TForm1::N42Click));
    help->addAction(addCommand(QStringLiteral("N10"), QStringLiteral("О программе..."), {}, &TForm1::N10Click));

    // Main toolbar.
    mainBar_ = addToolBar(QStringLiteral("ToolBar1"));
    mainBar_->setObjectName(QStringLiteral("ToolBar1"));
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
    tool(mainBar_, addCommand(QStringLiteral("ToolButton8"), QString(), QStringLiteral("Очистить дерево"),
                              &TForm1::ToolButton8Click), I::ClearTree);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton7"), QString(), QStringLiteral("Открыть..."),
                              &TForm1::ToolButton7Click), I::Open);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton5"), QString(), QStringLiteral("Сохранить"),
                              &TForm1::ToolButton5Click), I::Save);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton33"), QString(), QStringLiteral("Сохранить как..."),
                              &TForm1::ToolButton33Click), I::SaveAs);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("ToolButton1"), QString(), QStringLiteral("Создать новый раздел"), &TForm1::ToolButton1Click),
         I::NewSection);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton2"), QString(), QStringLiteral("Создать новую страницу"), &TForm1::ToolButton2Click),
         I::NewPage);
    tool(mainBar_,
         addCommand(QStringLiteral("ToolButton21"), QString(), QStringLiteral("Воссоздание структуры каталогов"),
                    &TForm1::ToolButton21Click),
         I::Import);
    mainBar_->addSeparator();
    QMenu* icons = dropDownMenu(QStringLiteral("PopupMenu3"));
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
    iconButton->setObjectName(QStringLiteral("ToolButton19"));
    iconButton->setToolTip(QStringLiteral("Установить пиктограмму"));
    tool(mainBar_, iconButton, I::SetIcon, icons);
    QMenu* expand = dropDownMenu(QStringLiteral("PopupMenu4"));
    QAction* expandBranch = addCommand(QStringLiteral("N46"), QStringLiteral("Развернуть ветвь"), {}, &TForm1::N12Click);
    expandBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QAction* collapseBranch = addCommand(QStringLiteral("N47"), QStringLiteral("Свернуть ветвь"), {}, &TForm1::N12Click);
    collapseBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    expand->addActions({expandBranch, collapseBranch});
    QAction* expandButton = new QAction(this);
    expandButton->setObjectName(QStringLiteral("ToolButton22"));
    expandButton->setToolTip(QStringLiteral("Свернуть/Развернуть ветвь"));
    tool(mainBar_, expandButton, I::ExpandCollapse, expand);
    recurse_ = new QAction(this);
    recurse_->setObjectName(QStringLiteral("ToolButton23"));
    recurse_->setToolTip(QStringLiteral("Использовать рекурсию"));
    recurse_->setCheckable(true);
    tool(mainBar_, recurse_, I::Recurse);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("ToolButton4"), QString(), QStringLiteral("Удалить элемент"), &TForm1::ToolButton4Click), I::Delete);
    mainBar_->addSeparator();
    // The entries of the applications list go before the separator (TForm4::AddProg).
    PopupMenu6 = dropDownMenu(QStringLiteral("PopupMenu6"));
    PopupMenu6->addSeparator();
    QAction* editList = addCommand(QStringLiteral("N40"), QStringLiteral("Редактировать список"), {}, &TForm1::N40Click);
    // Shown in the menu; the key itself is one of the program's own keys, caught elsewhere.
    editList->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    editList->setShortcutContext(Qt::WidgetShortcut);
    PopupMenu6->addAction(editList);
    tool(mainBar_,
         addCommand(QStringLiteral("ToolButton25"), QString(), QStringLiteral("Открыть файл"), &TForm1::ToolButton25Click),
         I::OpenFile, PopupMenu6, true);
    QAction* downloadSeparator = mainBar_->addSeparator();
    downloadSeparator->setObjectName(QStringLiteral("ToolButton31"));
    downloadSeparator->setVisible(false);  // shown with the download button
    QAction* download = tool(mainBar_,
                             addCommand(QStringLiteral("ToolButton30"), QString(),
                                        QStringLiteral("Скачать последнюю версию программы"),
                                        &TForm1::ToolButton30Click),
                             I::Download);
    download->setVisible(false);  // shown when the update check finds a newer version

    // Editor toolbar.
    tool(editorBar_, addCommand(QStringLiteral("ToolButton9"), QString(), QStringLiteral("Очистить"), &TForm1::ToolButton9Click), I::ClearText);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton11"), QString(), QStringLiteral("Открыть..."), &TForm1::ToolButton11Click),
         I::OpenText);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton10"), QString(), QStringLiteral("Сохранить как..."), &TForm1::ToolButton10Click),
         I::SaveText);
    editorBar_->addSeparator();
    QMenu* exportMenu = dropDownMenu(QStringLiteral("ExportMenu"));
    QMenu* html = exportMenu->addMenu(QStringLiteral("HTML"));
    html->addAction(addCommand(QStringLiteral("N34"), QStringLiteral("Текущий текст"), {}, &TForm1::N34Click));
    html->addAction(addCommand(QStringLiteral("N35"), QStringLiteral("Всю структуру"), {}, &TForm1::N35Click));
    exportMenu->addAction(addCommand(QStringLiteral("RTF1"), QStringLiteral("RTF"), {}, &TForm1::RTF1Click));
    tool(editorBar_, addCommand(QStringLiteral("ToolButton12"), QString(), QStringLiteral("Экспорт кода")), I::Export,
         exportMenu);
    QMenu* languages = dropDownMenu(QStringLiteral("PopupMenu2"));
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    for (int p = 0; p < kLanguageCount; ++p) {
        QAction* a = languages->addAction(QString::fromLatin1(languageCatalogue()[static_cast<size_t>(p)].menuCaption));
        a->setObjectName(QStringLiteral("Language%1").arg(p));
        a->setData(p);
        a->setCheckable(true);
        a->setChecked(p == 0);
        languageGroup_->addAction(a);
        connect(a, &QAction::triggered, this, &TForm1::SQL1Click);
    }
    tool(editorBar_, addCommand(QStringLiteral("ToolButton14"), QString(), QStringLiteral("Подсветка синтаксиса"),
                    &TForm1::ToolButton14Click),
         I::Highlight, languages, true);
    tool(editorBar_,
         addCommand(QStringLiteral("ToolButton27"), QString(), QStringLiteral("Настройка цветовых схем"),
                    &TForm1::ToolButton27Click),
         I::Schemes);
    tool(editorBar_,
         addCommand(QStringLiteral("ToolButton28"), QString(),
                    QStringLiteral("Назначение горячих клавиш для вставки текста"), &TForm1::ToolButton28Click),
         I::Hotkeys);
    QMenu* marks = dropDownMenu(QStringLiteral("PopupMenu7"));
    QMenu* assign = marks->addMenu(QStringLiteral("Назначить"));
    QMenu* go = marks->addMenu(QStringLiteral("Перейти"));
    for (int i = 0; i < kBookmarkCount; ++i) {
        QAction* a = assign->addAction(QStringLiteral("Метка %1").arg(i + 1));
        a->setObjectName(QStringLiteral("Assign%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { AddBookmark(i); });
        assignMarks_.push_back(a);
        QAction* g = go->addAction(QStringLiteral("Метка %1").arg(i + 1));
        g->setObjectName(QStringLiteral("Goto%1").arg(i));
        connect(g, &QAction::triggered, this, [this, i] { GotoMark(i); });
        gotoMarks_.push_back(g);
    }
    marks->addSeparator();
    marks->addAction(addCommand(QStringLiteral("N49"), QStringLiteral("Очистить"), {}, &TForm1::N49Click));
    connect(marks, &QMenu::aboutToShow, this, &TForm1::PopupMenu7Popup);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton15"), QString()), I::Bookmarks, marks);
    QMenu* edit = dropDownMenu(QStringLiteral("PopupMenu8"));
    edit->addAction(addCommand(QStringLiteral("N69"), QStringLiteral("Отменить"), {}, &TForm1::N69Click));
    QMenu* find = edit->addMenu(QStringLiteral("Найти"));
    find->addAction(addCommand(QStringLiteral("N63"), QStringLiteral("в текущей вкладке"), {}, &TForm1::N63Click));
    find->addAction(addCommand(QStringLiteral("N64"), QStringLiteral("во вкладках"), {}, &TForm1::N64Click));
    find->addAction(addCommand(QStringLiteral("N65"), QStringLiteral("среди всех страниц дерева"), {}, &TForm1::N65Click));
    find->addAction(addCommand(QStringLiteral("N66"), QStringLiteral("в названиях элементов"), {}, &TForm1::N66Click));
    edit->addAction(addCommand(QStringLiteral("N62"), QStringLiteral("Заменить..."), {}, &TForm1::N62Click));
    edit->addAction(addCommand(QStringLiteral("N71"), QStringLiteral("Перейти на строку..."), {}, &TForm1::N71Click));
    edit->addAction(addCommand(QStringLiteral("N74"), QStringLiteral("Увеличить отступ"), {}, &TForm1::N74Click));
    edit->addAction(addCommand(QStringLiteral("N75"), QStringLiteral("Уменьшить отступ"), {}, &TForm1::N75Click));
    QAction* layout = new QAction(QStringLiteral("Автоматическое определение раскладки"), this);
    layout->setObjectName(QStringLiteral("N72"));
    layout->setCheckable(true);
    autoLayout_ = layout;
    edit->addAction(layout);
    edit->addAction(addCommand(QStringLiteral("N68"), QStringLiteral("Вставить дату и время"), {}, &TForm1::N68Click));
    tool(editorBar_, addCommand(QStringLiteral("ToolButton16"), QString(), QStringLiteral("Правка"), &TForm1::ToolButton16Click), I::Edit, edit, true);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton24"), QString(), QStringLiteral("Закрыть закладку"), &TForm1::ToolButton24Click),
         I::CloseTab);

    // The tree's right-click menu.
    PopupMenu1 = dropDownMenu(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(addCommand(QStringLiteral("N36"), QStringLiteral("Открыть в активной закладке"), {}, &TForm1::N36Click));
    PopupMenu1->addAction(addCommand(QStringLiteral("N37"), QStringLiteral("Открыть в новой закладке"), {}, &TForm1::N37Click));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N28"), QStringLiteral("Добавить раздел"), {}, &TForm1::N28Click));
    PopupMenu1->addAction(addCommand(QStringLiteral("N31"), QStringLiteral("Добавить страницу"), {}, &TForm1::N31Click));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N53"), QStringLiteral("Развернуть ветвь"), {}, &TForm1::N53Click));
    PopupMenu1->addAction(addCommand(QStringLiteral("N54"), QStringLiteral("Свернуть ветвь"), {}, &TForm1::N53Click));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N3"), QStringLiteral("Переименовать"), {}, &TForm1::N3Click));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N32"), QStringLiteral("Удалить"), {}, &TForm1::N32Click));
    connect(Tree, &QTreeView::customContextMenuRequested, this, [this](const QPoint& pos) {
        // A right click selects the node under the pointer; the menu acts on the selected node.
        const QModelIndex at = Tree->indexAt(pos);
        if (at.isValid()) Tree->setCurrentIndex(at);
        if (Node* node = selectedNode()) EnabledItem(node);
        PopupMenu1->popup(Tree->viewport()->mapToGlobal(pos));
    });
}

QString TForm1::statusText(int panel) const { return panel == 0 ? panel0_->text() : panel1_->text(); }

void TForm1::setStatusText(int panel, const QString& text) { (panel == 0 ? panel0_ : panel1_)->setText(text); }

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::FormShow() {
    LoadSettings();
    Form4->LoadSettings();
    Form5->LoadSettings();
    FindExe(paths_.programsDir);
    Form6->LoadKeys(paths_.keysFile);
    openLastFile();
    startUpdateCheck();
}

void TForm1::FormClose() {
    // An applications list still open is written as if closed, not lost.
    if (Form4->isVisible()) Form4->close();
    if (!SaveSettings()) prompter_.showMessage(unableToWrite(paths_.settingsFile));
    for (int id = 1; id <= 5; ++id) registrar_->unregisterHotKey(id);
}

void TForm1::LoadSettings() {
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
    if (line.isValid()) SynMemo1->setActiveLineColor(line);
}

bool TForm1::SaveSettings() {
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

void TForm1::openLastFile() {
    if (currentFileName_.isEmpty() || !QFileInfo(currentFileName_).isFile()) return;
    readCollection(currentFileName_, isXmlName(currentFileName_));
}

void TForm1::readCollection(const QString& name, bool asXml) {
    currentFileName_ = name;
    panel0_->clear();
    panel1_->setText(QStringLiteral("Открытие..."));
    repaintNow();
    model_->beginRebuild();
    const bool ok = asXml ? LoadXML(tree_, name, operationFeedback()) : loadTree(tree_, name, operationFeedback());
    model_->endRebuild();
    if (!ok && !asXml) NewTree();  // a damaged text collection leaves a new, empty collection
    if (!ok) currentFileName_.clear();
    showGatheredMessages();
    Tree->expand(model_->index(0, 0));
    ChangeCaption();
    repaintNow();
    panel1_->clear();
    GetInfoTree();
}

void TForm1::ChangeCaption() { setWindowTitle(windowCaption(currentFileName_)); }

void TForm1::GetInfoTree() {
    const TreeCounts c = tree_.counts();
    panel0_->setText(QStringLiteral("Разделов: %1   Страниц: %2").arg(c.sections).arg(c.pages));
}

void TForm1::CreateBar(int maximum) {
    destroyBar();
    bar_ = new QProgressBar(statusBar());
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, std::max(0, maximum));
    bar_->setValue(0);
    bar_->setGeometry(2, 2, panel0_->width() - 4, statusBar()->height() - 4);
    bar_->show();
}

void TForm1::destroyBar() {
    delete bar_;
    bar_ = nullptr;
}

Feedback TForm1::operationFeedback() {
    Feedback fb;
    fb.message = [this](const QString& text) { gathered_ << text; };
    fb.status = [this](const QString& text) { panel1_->setText(text); };
    fb.beginProgress = [this](int maximum) { CreateBar(maximum); };
    fb.stepProgress = [this] {
        if (bar_ && bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
    };
    fb.endProgress = [this] { destroyBar(); };
    fb.processEvents = [] { repaintNow(); };
    return fb;
}

void TForm1::showGatheredMessages() {
    if (gathered_.isEmpty()) return;
    const QString text = gathered_.join(u'\n');
    gathered_.clear();
    prompter_.showMessage(text);
}

void TForm1::NewTree() {
    lastOpenedIndex_ = 0;
    currentFileName_.clear();
    model_->beginRebuild();
    tree_.reset();
    model_->endRebuild();
    // The first tab survives as the None tab; every other tab goes, from the last.
    ++programmatic_;
    for (int i = Pages1->count() - 1; i >= 1; --i) Pages1->removeTab(i);
    Pages1->setCurrentIndex(0);
    --programmatic_;
    Pages1->setTabText(0, QStringLiteral("None"));
    Pages1->setTabData(0, 0);
    SynMemo1->clearAll();
    Tree->setCurrentIndex(model_->index(0, 0));
    GetInfoTree();
    ChangeCaption();
}

void TForm1::askAndClear() {
    if (prompter_.askYesNo(kProgramName, QStringLiteral("Вы действительно хотите очистить дерево?"))) NewTree();
}

void TForm1::OpenFileT() {
    const auto choice = prompter_.chooseOpenFile(kCollectionFilters);
    if (!choice) return;
    NewTree();
    readCollection(choice->path, choice->filterIndex == 1);
}

bool TForm1::writeXml(const QString& fileName) {
    const SaveOutcome outcome = SaveTreeInXML(tree_, fileName, operationFeedback());
    currentFileName_ = outcome.fileName;
    showGatheredMessages();
    return outcome.written;
}

bool TForm1::writeText(const QString& fileName) {
    const SaveOutcome outcome = SaveTree(tree_, fileName, *tree_.root(), operationFeedback());
    currentFileName_ = outcome.fileName;
    showGatheredMessages();
    return outcome.written;
}

bool TForm1::writeCollection(const QString& fileName) {
    return isXmlName(fileName) ? writeXml(fileName) : writeText(fileName);
}

void TForm1::saveCommand() {
    if (currentFileName_.trimmed().isEmpty()) return;
    const bool written = writeCollection(currentFileName_);
    ChangeCaption();
    if (written) ChangeTabCaption();
}

bool TForm1::ConfirmReplace(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) return true;
    return prompter_.askYesNo(QStringLiteral("Сохранение"), fileName + QStringLiteral("\n уже существует. Заменить?"),
                              true);
}

void TForm1::SaveFileT() {
    const auto choice = prompter_.chooseSaveFile(kCollectionFilters);
    if (!choice) return;
    // The question is asked about the very file that will be written.
    const bool asXml = choice->filterIndex != 2;
    const QString target =
        asXml ? withXmlExtensionIfNone(choice->path) : replaceExtension(choice->path, QStringLiteral(".txt"));
    bool written = false;
    if (ConfirmReplace(target)) written = asXml ? writeXml(choice->path) : writeText(choice->path);
    ChangeCaption();
    if (written) ChangeTabCaption();
}

void TForm1::N4Click() { askAndClear(); }
void TForm1::ToolButton8Click() { askAndClear(); }
void TForm1::N7Click() { OpenFileT(); }
void TForm1::ToolButton7Click() { OpenFileT(); }
void TForm1::N55Click() { saveCommand(); }
void TForm1::ToolButton5Click() { saveCommand(); }
void TForm1::N6Click() { SaveFileT(); }
void TForm1::ToolButton33Click() { SaveFileT(); }
void TForm1::N9Click() { close(); }


// ---- Editor tabs ----

int TForm1::boundIndex(int tab) const { return Pages1->tabData(tab).toInt(); }

std::vector<int> TForm1::tags() const {
    std::vector<int> out;
    for (int t = 0; t < Pages1->count(); ++t) out.push_back(boundIndex(t));
    return out;
}

void TForm1::retag(const std::vector<int>& newTags) {
    for (int t = 0; t < Pages1->count() && t < static_cast<int>(newTags.size()); ++t) Pages1->setTabData(t, newTags[t]);
}

void TForm1::setActiveTab(int tab) {
    ++programmatic_;
    Pages1->setCurrentIndex(tab);
    --programmatic_;
}

Node* TForm1::selectedNode() const {
    if (!Tree->selectionModel()) return nullptr;
    return model_->nodeOf(Tree->selectionModel()->currentIndex());
}

void TForm1::selectNode(const Node* node) { Tree->setCurrentIndex(model_->indexOf(node)); }

void TForm1::SetSyn(int position) {
    currentLanguage_ = (position >= 0 && position < kLanguageCount) ? position : 0;
    SynMemo1->setHighlighter(&highlighters_.GetSynHL(currentLanguage_));
}

void TForm1::SetSynByFile(const QString& fileName, int absIndex) {
    if (Node* node = tree_.nodeAt(absIndex))
        node->page->Lan = static_cast<std::uint8_t>(highlighters_.languageNumberForFile(fileName));
}

int TForm1::checkedLanguage() const {
    QAction* a = languageGroup_->checkedAction();
    return a ? a->data().toInt() : -1;
}

void TForm1::checkLanguage(int position) {
    for (QAction* a : languageGroup_->actions())
        if (a->data().toInt() == position) a->setChecked(true);
}

void TForm1::setBoundLanguage(int lan) {
    if (Node* node = tree_.nodeAt(boundIndex(Pages1->currentIndex()))) node->page->Lan = static_cast<std::uint8_t>(lan);
}

void TForm1::SQL1Click() {
    auto* a = qobject_cast<QAction*>(sender());
    if (!a) return;
    const int p = a->data().toInt();
    SetSyn(p);
    setBoundLanguage(p + 1);
    checkLanguage(p);
}

void TForm1::ToolButton27Click() {
    Form5->show();
    Form5->raise();
    Form5->activateWindow();
}

void TForm1::ToolButton14Click() {
    SetSyn(0);
    setBoundLanguage(1);
}

void TForm1::MemoToPage(int tab, int absIndex) {
    if (tab < 0 || tab >= Pages1->count()) return;
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    SynMemo1->setWholeText(node->page->Text);
    SetSyn(node->page->Lan - 1);
    NewMarks(absIndex);
}

bool TForm1::PageExists(int absIndex) {
    for (int t = 0; t < Pages1->count(); ++t) {
        if (boundIndex(t) == absIndex) {
            setActiveTab(t);
            return true;
        }
    }
    return false;
}

int TForm1::NoneExists() const {
    for (int t = 0; t < Pages1->count(); ++t)
        if (Pages1->tabText(t) == QLatin1String("None") && boundIndex(t) == 0) return t;
    return -1;
}

void TForm1::CreateNonePage() {
    ++programmatic_;
    const int t = Pages1->addTab(QStringLiteral("None"));
    Pages1->setTabData(t, 0);
    Pages1->setCurrentIndex(t);
    --programmatic_;
    SynMemo1->clearAll();
}

void TForm1::OpenInActivePage() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (i == 0) return;
    if (PageExists(i)) {
        MemoToPage(Pages1->currentIndex(), i);
        return;
    }
    if (node->page->Lan >= 1 && node->page->Lan <= 15) {
        SetSyn(node->page->Lan - 1);
        checkLanguage(node->page->Lan - 1);
    }
    const int none = NoneExists();
    const int t = none >= 0 ? none : Pages1->currentIndex();
    Pages1->setTabText(t, node->caption);
    Pages1->setTabData(t, i);
    setActiveTab(t);
    MemoToPage(t, i);
}

void TForm1::OpenInNewPage() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (PageExists(i)) {
        MemoToPage(Pages1->currentIndex(), i);
        return;
    }
    if (i == 0) return;
    if (node->page->Lan >= 1 && node->page->Lan <= 15) {
        SetSyn(node->page->Lan - 1);
        checkLanguage(node->page->Lan - 1);
    }
    int t = NoneExists();
    if (t < 0) {
        ++programmatic_;
        t = Pages1->addTab(QString());
        --programmatic_;
    }
    Pages1->setTabText(t, node->caption);
    Pages1->setTabData(t, i);
    setActiveTab(t);
    MemoToPage(t, i);
}

void TForm1::DeletePage(int tab) {
    if (Pages1->count() <= 1 || tab < 0 || tab >= Pages1->count()) return;
    ++programmatic_;
    Pages1->removeTab(tab);
    // The tab that followed the closed one becomes active, or the first when it was the last.
    Pages1->setCurrentIndex(tab < Pages1->count() ? tab : 0);
    --programmatic_;
    MemoToPage(Pages1->currentIndex(), boundIndex(Pages1->currentIndex()));
}

void TForm1::ChangeTabCaption() {
    for (int t = 0; t < Pages1->count(); ++t) {
        const QString caption = Pages1->tabText(t);
        if (caption.endsWith(u'*')) Pages1->setTabText(t, caption.chopped(1));
    }
}

void TForm1::Pages1Change() {
    const int t = Pages1->currentIndex();
    const int b = boundIndex(t);
    if (b != 0) {
        selectNode(tree_.nodeAt(b));
        MemoToPage(t, b);
    }
}

void TForm1::SynMemo1Change() {
    const int t = Pages1->currentIndex();
    const int b = boundIndex(t);
    if (b == 0) return;
    Node* node = tree_.nodeAt(b);
    if (!node) return;
    SynMemo1->copyWholeTextInto(node->page->Text);
    const QString caption = Pages1->tabText(t);
    if (!caption.endsWith(u'*')) Pages1->setTabText(t, caption + u'*');
}

void TForm1::TreeClick() {
    Node* node = selectedNode();
    if (!node) return;
    panel1_->setText(nodePath(node));
    const int i = tree_.indexOf(node);
    if (i > 0) {
        const std::vector<int> bound = tags();
        if (std::find(bound.begin(), bound.end(), i) != bound.end()) OpenInActivePage();
    }
}

void TForm1::TreeDblClick() { OpenInActivePage(); }
void TForm1::N36Click() { OpenInActivePage(); }
void TForm1::N37Click() { OpenInNewPage(); }
void TForm1::ToolButton24Click() { DeletePage(Pages1->currentIndex()); }

void TForm1::ToolButton9Click() {
    SynMemo1->clearAll();
    const int b = boundIndex(Pages1->currentIndex());
    if (b > 0) tree_.GetPage(b).Text.clear();
}

void TForm1::ToolButton11Click() {
    const auto choice = prompter_.chooseOpenFile({{QStringLiteral("ANY"), QStringLiteral("*.*")}});
    if (!choice) return;
    QString error;
    if (!SynMemo1->loadLinesFromFile(choice->path, &error)) {
        prompter_.showMessage(error);
        return;
    }
    SynMemo1->setHighlighter(highlighters_.FindHighlighterByExtension(fileExtension(choice->path)));
    const int b = boundIndex(Pages1->currentIndex());
    if (b > 0) tree_.GetPage(b).Text = SynMemo1->wholeText();
}

void TForm1::ToolButton10Click() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("TXT"), QStringLiteral("*.txt")}});
    if (!choice) return;
    QString error;
    if (!SynMemo1->writeLinesToFile(choice->path + QStringLiteral(".txt"), &error)) prompter_.showMessage(error);
}

// ---- Tree editing ----

Node* TForm1::AddRazdel(Node* node, const QString& caption) {
    Node* added = addSectionNode(node, caption);
    if (added) GetInfoTree();
    return added;
}

Node* TForm1::addSectionNode(Node* node, const QString& caption) {
    Node* added = nullptr;
    if (node) {
        if (node->kindImage != kSectionCollapsed && node->kindImage != kSectionExpanded && node->kindImage != kRootKind)
            return nullptr;
        added = model_->appendNode(node, caption, 0, 0, -1, MakePage({}, caption, 0, 0, 1, -1));
    } else {
        added = model_->appendNode(tree_.root(), caption, 0, 0, -1, MakePage({}, caption, 0, 0, 1, 20));
    }
    retag(IncIndexes(tags(), tree_.indexOf(added)));
    return added;
}

Node* TForm1::AddDoc(Node* node, const QString& caption) {
    if (!node) return nullptr;
    if (node->kindImage != kSectionCollapsed && node->kindImage != kSectionExpanded && node->kindImage != kRootKind)
        return nullptr;
    auto page = MakePage(" ", caption, 1, 2, 2, -1);
    const int kind = page->ImIndex, selected = page->SlIndex;
    Node* added = model_->appendNode(node, caption, kind, selected, -1, std::move(page));
    retag(IncIndexes(tags(), tree_.indexOf(added)));
    return added;
}

void TForm1::addSectionCommand(bool) { AddRazdel(selectedNode(), QStringLiteral("Новый раздел")); }

void TForm1::addPageCommand(bool fromMenu) {
    Node* node = selectedNode();
    if (!node && fromMenu) return;
    AddDoc(node, QStringLiteral("Новый код"));
    GetInfoTree();
}

void TForm1::ToolButton1Click() { addSectionCommand(false); }
void TForm1::N28Click() { addSectionCommand(true); }
void TForm1::ToolButton2Click() { addPageCommand(false); }
void TForm1::N31Click() { addPageCommand(true); }

void TForm1::DelElem() {
    Node* node = selectedNode();
    if (!node) return;
    if (!prompter_.askYesNo(QStringLiteral("Удаление"), QStringLiteral("Вы действительно хотите удалить выбранный элемент?"),
                            true))
        return;
    if (!node->parent) {
        NewTree();
        return;
    }
    const int d = tree_.indexOf(node);
    const int c = tree_.GetChildCount(d);
    const std::vector<int> after = afterDeletion(tags(), d, c);
    // Close the tabs of the nodes that go, from the last to the first; each closing makes
    // the tab that followed it active (the first tab when it was the rightmost).
    ++programmatic_;
    for (int t = Pages1->count() - 1; t >= 0; --t) {
        if (after[t] == kClosedTab) {
            Pages1->removeTab(t);
            if (Pages1->count() > 0) Pages1->setCurrentIndex(t < Pages1->count() ? t : 0);
        } else {
            Pages1->setTabData(t, after[t]);
        }
    }
    --programmatic_;
    repaintNow();
    model_->removeNode(node);
    if (Pages1->count() == 0) CreateNonePage();
    else MemoToPage(Pages1->currentIndex(), boundIndex(Pages1->currentIndex()));
    GetInfoTree();
}

void TForm1::removeBranches(const std::vector<Node*>& branches) {
    if (branches.empty()) return;
    const std::unordered_set<const Node*> going(branches.begin(), branches.end());
    auto removed = [&going](const Node* n) {
        for (; n; n = n->parent)
            if (going.count(n)) return true;
        return false;
    };
    std::vector<const Node*> noted;
    for (int t = 0; t < Pages1->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    // Close the tabs of the nodes that go as deletion does, from the last tab to the first.
    bool closed = false;
    ++programmatic_;
    for (int t = Pages1->count() - 1; t >= 0; --t) {
        if (!removed(noted[static_cast<size_t>(t)])) continue;
        noted.erase(noted.begin() + t);
        Pages1->removeTab(t);
        if (Pages1->count() > 0) Pages1->setCurrentIndex(t < Pages1->count() ? t : 0);
        closed = true;
    }
    --programmatic_;
    for (Node* n : branches) model_->removeNode(n);
    for (int t = 0; t < Pages1->count(); ++t) Pages1->setTabData(t, noted[static_cast<size_t>(t)] ? tree_.indexOf(noted[static_cast<size_t>(t)]) : 0);
    if (Pages1->count() == 0) CreateNonePage();
    else if (closed) MemoToPage(Pages1->currentIndex(), boundIndex(Pages1->currentIndex()));
    GetInfoTree();
}

void TForm1::ToolButton4Click() { DelElem(); }
void TForm1::N32Click() { DelElem(); }

void TForm1::N3Click() {
    Node* node = selectedNode();
    if (node && node->parent) Tree->edit(model_->indexOf(node));
}

bool TForm1::editInProgress() const { return Tree->editing(); }

void TForm1::onRenamed(Node* node) {
    const int i = tree_.indexOf(node);
    for (int t = 0; t < Pages1->count(); ++t) {
        if (boundIndex(t) == i) {
            Pages1->setTabText(t, node->caption);
            break;
        }
    }
}

void TForm1::EnabledItem(const Node* node) {
    if (!node) return;
    for (QAction* a : PopupMenu1->actions()) a->setEnabled(true);
    if (node->kindImage == kPageKind) {
        command(QStringLiteral("N28"))->setEnabled(false);
        command(QStringLiteral("N31"))->setEnabled(false);
    }
    if (node->kindImage == kRootKind) command(QStringLiteral("N3"))->setEnabled(false);
}

void TForm1::setIcon(int menuPosition) {
    Node* node = selectedNode();
    if (!node) return;
    int value = -1;
    if (menuPosition >= 0) {
        if (!node->parent) return;  // the root node takes no icon
        value = menuPosition == 0 ? 15 : menuPosition;
    }
    node->stateIndex = value;
    node->page->StIndex = value;
    model_->nodeChanged(node);
}

bool TForm1::recursionOn() const { return recurse_ && recurse_->isChecked(); }

void TForm1::expandBranch(bool expand) {
    Node* node = selectedNode();
    if (!node) return;
    const QModelIndex index = model_->indexOf(node);
    if (expand) Tree->expand(index);
    else Tree->collapse(index);
}

void TForm1::N12Click() {
    expandBranch(sender() == command(QStringLiteral("N46")));
}

void TForm1::N53Click() {
    expandBranch(sender() == command(QStringLiteral("N53")));
}

void TForm1::onExpandedChanged(const QModelIndex& index, bool expanded) {
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
        if (expanded) Tree->expand(i);
        else Tree->collapse(i);
        for (const auto& child : n->children) stack.push_back(child.get());
    }
    --programmatic_;
}

void TForm1::TreeEndDrag(Node* dragged, Node* target) {
    if (!dragged || !target || target->kindImage == kPageKind || !dragged->parent) return;
    for (const Node* n = target; n; n = n->parent)
        if (n == dragged) return;  // onto itself or into its own subtree
    // Note each tab's node (the None tab stands for the root node), move, then re-derive.
    std::vector<const Node*> noted;
    for (int t = 0; t < Pages1->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    model_->moveToFirstChild(dragged, target);
    Tree->expand(model_->indexOf(target));
    repaintNow();
    for (int t = 0; t < Pages1->count(); ++t) Pages1->setTabData(t, noted[t] ? tree_.indexOf(noted[t]) : 0);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Tree && event->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Delete:
            if (!editInProgress()) DelElem();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Node* node = selectedNode(); node && !editInProgress()) {
                const QModelIndex i = model_->indexOf(node);
                if (Tree->isExpanded(i)) Tree->collapse(i);
                else Tree->expand(i);
            }
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (Node* node = selectedNode(); node && node->parent) {
                const std::vector<int> bound = tags();
                if (std::find(bound.begin(), bound.end(), tree_.indexOf(node)) != bound.end()) OpenInActivePage();
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

bool TForm1::editorEmpty() const { return SynMemo1->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) == 0; }

void TForm1::N63Click() {
    if (editorEmpty()) return;
    searchScope_ = 1;
    bringUp(Find1);
}

void TForm1::ToolButton16Click() { N63Click(); }

void TForm1::N64Click() {
    if (editorEmpty()) return;
    searchScope_ = 2;
    bringUp(Find1);
}

void TForm1::N65Click() {
    if (!selectedNode()) return;
    searchScope_ = 4;
    bringUp(Find1);
}

void TForm1::N66Click() {
    if (!selectedNode()) return;
    searchScope_ = 3;
    bringUp(Find1);
}

void TForm1::N62Click() {
    if (editorEmpty()) return;
    bringUp(Replace1);
}

void TForm1::notFound(const QString& text) {
    prompter_.showInformation(QStringLiteral("Текст \"%1\" не найден.").arg(text));
}

void TForm1::FindInElements() {
    Node* node = selectedNode();
    if (!node) return;
    const int next = findNextCaption(tree_, tree_.indexOf(node), Find1->text());
    if (next < 0) {
        notFound(Find1->text());
        return;
    }
    selectNode(tree_.nodeAt(next));
    OpenInActivePage();
}

void TForm1::FindDlgFind() {
    if (searchScope_ == 3) {
        FindInElements();
        return;
    }
    const QString shown = Find1->text();
    const std::string what = shown.toStdString();
    const int n = static_cast<int>(what.size());
    const bool down = Find1->downward();
    std::string text;
    for (;;) {
        if (down) SynMemo1->setSelectionStart(SynMemo1->selectionStart() + SynMemo1->selectionLength());
        SynMemo1->copyWholeTextInto(text);
        const int p = SynMemo1->selectionStart();
        const int q = down ? findForward(text, what, p) : findBackward(text, what, p);
        if (q >= 0) {
            SynMemo1->setSelectionStart(q);
            SynMemo1->setSelectionLength(n);
            return;
        }
        if (!down) break;
        if (searchScope_ == 2) {
            const int t = Pages1->currentIndex();
            if (t >= Pages1->count() - 1) break;
            // Go straight to the next tab whose node holds the text (the last tab when none
            // does); the tabs passed over would have yielded nothing. A None tab yields nothing.
            int target = Pages1->count() - 1;
            for (int k = t + 1; k < Pages1->count(); ++k) {
                const int b = boundIndex(k);
                if (b != 0 && tree_.GetPage(b).Text.find(what) != std::string::npos) {
                    target = k;
                    break;
                }
            }
            setActiveTab(target);
            selectNode(tree_.nodeAt(boundIndex(target)));
            OpenInActivePage();
            repaintNow();
        } else if (searchScope_ == 4) {
            Node* node = selectedNode();
            const int i = node ? tree_.indexOf(node) : tree_.count() - 1;
            if (i >= tree_.count() - 1) break;
            // Only the node that holds the text is opened (the last node when none does).
            int next = findNextText(tree_, i, what);
            if (next < 0) next = tree_.count() - 1;
            selectNode(tree_.nodeAt(next));
            OpenInActivePage();
            repaintNow();
        } else {
            break;
        }
    }
    notFound(shown);
}

void TForm1::Replace1Find() {
    Find1->setText(Replace1->text());
    Find1->setDownward(true);
    FindDlgFind();
}

void TForm1::Replace1Replace(bool all) {
    Find1->setText(Replace1->text());
    Find1->setDownward(true);
    const std::string what = Replace1->text().toStdString();
    const std::string with = Replace1->replacement().toStdString();
    for (;;) {
        if (SynMemo1->selectionText() != what) FindDlgFind();
        if (!SynMemo1->hasSelection()) return;
        SynMemo1->replaceSelection(with);
        if (!all) return;
    }
}


// ---- Bookmarks ----

TPage* TForm1::boundPage() const {
    Node* node = tree_.nodeAt(boundIndex(Pages1->currentIndex()));
    return node ? node->page.get() : nullptr;
}

void TForm1::NewMarks(int absIndex) {
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    std::vector<TEditMark> copies;
    for (const TEditMark& mark : node->page->Marks) copies.push_back(CopyMark(mark));
    SynMemo1->setBookmarks(copies);
}

void TForm1::AddBookmark(int n) {
    TPage* page = boundPage();
    if (!page) return;
    AddItem(page->Marks, n, 0, SynMemo1->caretPos().Line);
    NewMarks(boundIndex(Pages1->currentIndex()));
}

void TForm1::GotoMark(int n) {
    const TPage* page = boundPage();
    if (!page) return;
    const int p = GetMarkIndex(page->Marks, n);
    if (p < 0) return;
    SynMemo1->setCaretLine(page->Marks[static_cast<size_t>(p)].Line);
    SynMemo1->setCaretColumn(0);
}

void TForm1::N49Click() {
    if (TPage* page = boundPage()) page->Marks.clear();
    SynMemo1->clearBookmarks();
}

void TForm1::EnableMarkItems(int k) {
    for (int i = 0; i < static_cast<int>(assignMarks_.size()); ++i) assignMarks_[static_cast<size_t>(i)]->setEnabled(i <= k);
}

void TForm1::CaptionMarkItems() {
    for (int i = 0; i < static_cast<int>(gotoMarks_.size()); ++i)
        gotoMarks_[static_cast<size_t>(i)]->setText(QStringLiteral("Метка %1").arg(i + 1));
    for (int r = 0; r < SynMemo1->bookmarkCount(); ++r) {
        const TEditMark mark = SynMemo1->bookmark(r);
        if (mark.Number < 0 || mark.Number >= static_cast<int>(gotoMarks_.size())) continue;
        gotoMarks_[static_cast<size_t>(mark.Number)]->setText(markCaption(SynMemo1->lineAt(mark.Line - 1)));
    }
}

void TForm1::PopupMenu7Popup() {
    EnableMarkItems(SynMemo1->bookmarkCount());
    CaptionMarkItems();
}


// ---- Editing aids ----

void TForm1::N69Click() { SynMemo1->undo(); }

void TForm1::N71Click() { Form2->open(); }

void TForm1::ToolButton21Click() { showFileSearch(true); }

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

void TForm1::showFileSearch(bool modal) { bringUp(Form3, modal); }

void TForm1::showGoToLine() { bringUp(Form2, false); }

QString TForm1::dateTimeText(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime t = when.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0) text += u' ' + locale.toString(t, QLocale::LongFormat);
    return text;
}

void TForm1::N68Click() { SynMemo1->replaceSelection(dateTimeText(QDateTime::currentDateTime()).toStdString()); }

void TForm1::copyEditorIntoBoundNode() {
    if (TPage* page = boundPage(); page && boundIndex(Pages1->currentIndex()) > 0) SynMemo1->copyWholeTextInto(page->Text);
}

void TForm1::IncreaseLine() {
    if (SynMemo1->selectionLength() == 0) return;
    const int s = SynMemo1->selectionStart(), e = SynMemo1->selectionEnd();
    const int ls = SynMemo1->offsetToPos(s).Line, le = SynMemo1->offsetToPos(e).Line;
    for (int line = ls; line <= le; ++line) SynMemo1->replaceLine(line - 1, ' ' + SynMemo1->lineAt(line - 1));
    SynMemo1->setSelectionStart(s + 1);
    SynMemo1->setSelectionEnd(e + (le - ls + 1));
    copyEditorIntoBoundNode();
}

void TForm1::DecreaseLine() {
    if (SynMemo1->selectionLength() == 0) return;
    const int s = SynMemo1->selectionStart(), e = SynMemo1->selectionEnd();
    const int ls = SynMemo1->offsetToPos(s).Line, le = SynMemo1->offsetToPos(e).Line;
    for (int line = ls; line <= le; ++line) {
        const std::string text = SynMemo1->lineAt(line - 1);
        if (!text.empty() && text[0] == ' ') SynMemo1->replaceLine(line - 1, text.substr(1));
    }
    auto startsBlank = [this](int line) {
        const std::string text = SynMemo1->lineAt(line - 1);
        return !text.empty() && text[0] == ' ';
    };
    if (startsBlank(ls)) SynMemo1->setSelectionStart(s - 1);
    if (startsBlank(le)) SynMemo1->setSelectionEnd(e - (le - ls) - 1);
    copyEditorIntoBoundNode();
}

void TForm1::N74Click() { IncreaseLine(); }
void TForm1::N75Click() { DecreaseLine(); }

void TForm1::SetActiveLineColor() {
    bool marked = false;
    if (const TPage* page = boundPage()) {
        const int line = SynMemo1->caretPos().Line;
        for (const TEditMark& m : page->Marks) marked = marked || m.Line == line;
    }
    const QColor colour = HighlighterLexer::toQColor(marked ? aMarkColor_ : aLineColor_);
    if (colour.isValid() && colour != SynMemo1->activeLineColor()) SynMemo1->setActiveLineColor(colour);
}

void TForm1::SynMemo1KeyPress(QChar ch, bool& cancel) {
    if (autoLayout_->isChecked()) AutoLan(ch, cancel);
}

void TForm1::AutoLan(QChar, bool& cancel) {
    const QString line = QString::fromStdString(SynMemo1->caretLineText());
    if (line.size() < 10) return;
    const int x = SynMemo1->caretPos().Column;
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

void TForm1::N59Click() {
    Node* node = selectedNode();
    if (!node) return;
    const auto choice = prompter_.chooseSaveFile(kCollectionFilters);
    if (!choice) return;
    const bool asXml = choice->filterIndex != 2;
    const QString target = replaceExtension(choice->path, asXml ? QStringLiteral(".xml") : QStringLiteral(".txt"));
    if (!ConfirmReplace(target)) return;
    if (asXml) SaveEdjeInXML(tree_, choice->path, *node, operationFeedback());
    else SaveTree(tree_, choice->path, *node, operationFeedback());
    showGatheredMessages();
}

void TForm1::N57Click() {
    const auto choice = prompter_.chooseOpenFile({kCollectionFilters.front()});
    if (!choice) return;
    Node* node = selectedNode();
    if (!node) return;
    if (node->kindImage == kPageKind) {
        prompter_.showMessage(QStringLiteral("Добавление ветви к странице невозможно!"));
        return;
    }
    AddXMLToTree(node, choice->path);
}

void TForm1::AddXMLToTree(Node* target, const QString& fileName) {
    // Every tab stays on its node: note them, add, then re-derive the indexes.
    std::vector<const Node*> noted;
    for (int t = 0; t < Pages1->count(); ++t) noted.push_back(tree_.nodeAt(boundIndex(t)));
    GraftHooks hooks;
    hooks.aboutToAdd = [this, target](int count) { model_->beginAppend(target, count); };
    hooks.added = [this] { model_->endAppend(); };
    tw::AddXMLToTree(tree_, fileName, target, operationFeedback(), hooks);
    for (int t = 0; t < Pages1->count(); ++t) Pages1->setTabData(t, noted[t] ? tree_.indexOf(noted[t]) : 0);
    showGatheredMessages();
    GetInfoTree();
}

// ---- Applications ----

void TForm1::FindExe(const QString& folder) {
    for (const ProgramFile& program : findPrograms(folder)) {
        QAction* item = Applications->addAction(menuText(program.caption));
        item->setData(program.path);
        connect(item, &QAction::triggered, this, &TForm1::ProgClick);
    }
}

void TForm1::ProgClick() {
    if (auto* item = qobject_cast<QAction*>(sender())) launcher_->shellExecute(item->data().toString());
}

void TForm1::showApplicationsList(bool modal) { bringUp(Form4, modal); }

void TForm1::N40Click() { showApplicationsList(false); }
void TForm1::ToolButton25Click() { showApplicationsList(false); }

// ---- Current-text export ----

Highlighter& TForm1::lastOpenedHighlighter() const {
    const Node* last = tree_.nodeAt(lastOpenedIndex_);
    return highlighters_.GetSynHL(last ? last->page->Lan - 1 : -1);
}

void TForm1::ExportHTML() { exportEditorText(prompter_, *SynMemo1, lastOpenedHighlighter(), ExportFormat::Html); }

void TForm1::ExportRTF() { exportEditorText(prompter_, *SynMemo1, lastOpenedHighlighter(), ExportFormat::Rtf); }

void TForm1::N34Click() { ExportHTML(); }

void TForm1::RTF1Click() { ExportRTF(); }

// ---- Exports to HTML and to directories ----

void TForm1::N35Click() { AllExportHTML(); }

void TForm1::AllExportHTML() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("HTML"), QStringLiteral("*.html")}});
    if (!choice) return;
    tw::AllExportHTML(tree_, highlighters_, choice->path, operationFeedback(), exportSettingsFor(*SynMemo1));
    showGatheredMessages();
}

void TForm1::N60Click() {
    Node* node = selectedNode();
    if (!node) {
        prompter_.showInformation(QStringLiteral("Вы не выбрали ветвь для экспорта!"));
        return;
    }
    Form10->setWindowTitle(panel1_->text());
    Form10->setBranch(node);
    Form10->exec();
    Form10->setBranch(nullptr);
}

} // namespace tw
