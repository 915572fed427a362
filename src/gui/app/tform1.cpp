#include "app/tform1.h"

#include "app/icons.h"
#include "app/program.h"
#include "editor/synmemo.h"
#include "platform/prompter.h"
#include "storage/file_names.h"
#include "storage/xml_collection.h"
#include "tree/tree_model.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
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

namespace tw {

namespace {
const std::vector<FileFilter> kCollectionFilters = {{QStringLiteral("XML"), QStringLiteral("*.xml")}};

void repaintNow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
} // namespace

TForm1::TForm1(Prompter& prompter, QWidget* parent) : QMainWindow(parent), prompter_(prompter) {
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
    ChangeCaption();
}

void TForm1::buildWidgets() {
    model_ = new TreeModel(tree_, this);
    Tree = new QTreeView;
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
    splitter_->setSizes({153, 451});
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
    if (slot) connect(action, &QAction::triggered, this, slot);
    else action->setEnabled(false);  // its command is not available in this build yet
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
    file->addAction(addCommand(QStringLiteral("N57"), QStringLiteral("Добавить ветвь из файла")));
    file->addAction(addCommand(QStringLiteral("N59"), QStringLiteral("Сохранить ветвь в файл")));
    file->addAction(addCommand(QStringLiteral("N60"), QStringLiteral("Сохранить ветвь в виде дерева каталогов")));
    file->addSeparator();
    file->addAction(addCommand(QStringLiteral("N9"), QStringLiteral("Выход"), {}, &TForm1::N9Click));
    QMenu* apps = menuBar()->addMenu(QStringLiteral("Приложения"));
    apps->setObjectName(QStringLiteral("Applications"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addAction(addCommand(QStringLiteral("N42"), QStringLiteral("Справка")));
    help->addAction(addCommand(QStringLiteral("N10"), QStringLiteral("О программе...")));

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
    tool(mainBar_, addCommand(QStringLiteral("ToolButton1"), QString(), QStringLiteral("Создать новый раздел")),
         I::NewSection);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton2"), QString(), QStringLiteral("Создать новую страницу")),
         I::NewPage);
    tool(mainBar_,
         addCommand(QStringLiteral("ToolButton21"), QString(), QStringLiteral("Воссоздание структуры каталогов")),
         I::Import);
    mainBar_->addSeparator();
    QMenu* icons = dropDownMenu(QStringLiteral("PopupMenu3"));
    for (int k = 0; k < 15; ++k) {
        QAction* a = icons->addAction(QIcon(Icons::nodeIcon(k)), QString::number(k + 1));
        a->setEnabled(false);
    }
    icons->addAction(QStringLiteral("Нет"))->setEnabled(false);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton19"), QString(), QStringLiteral("Установить пиктограмму")),
         I::SetIcon, icons);
    QMenu* expand = dropDownMenu(QStringLiteral("PopupMenu4"));
    QAction* expandBranch = addCommand(QStringLiteral("N46"), QStringLiteral("Развернуть ветвь"));
    expandBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QAction* collapseBranch = addCommand(QStringLiteral("N47"), QStringLiteral("Свернуть ветвь"));
    collapseBranch->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    expand->addActions({expandBranch, collapseBranch});
    tool(mainBar_,
         addCommand(QStringLiteral("ToolButton22"), QString(), QStringLiteral("Свернуть/Развернуть ветвь")),
         I::ExpandCollapse, expand);
    QAction* recurse = new QAction(this);
    recurse->setObjectName(QStringLiteral("ToolButton23"));
    recurse->setToolTip(QStringLiteral("Использовать рекурсию"));
    recurse->setCheckable(true);
    tool(mainBar_, recurse, I::Recurse);
    mainBar_->addSeparator();
    tool(mainBar_, addCommand(QStringLiteral("ToolButton4"), QString(), QStringLiteral("Удалить элемент")), I::Delete);
    mainBar_->addSeparator();
    QMenu* openFile = dropDownMenu(QStringLiteral("PopupMenu5"));
    QAction* editList = addCommand(QStringLiteral("N58"), QStringLiteral("Редактировать список"));
    editList->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    openFile->addAction(editList);
    tool(mainBar_, addCommand(QStringLiteral("ToolButton25"), QString(), QStringLiteral("Открыть файл")),
         I::OpenFile, openFile, true);
    QAction* download = tool(mainBar_,
                             addCommand(QStringLiteral("ToolButton30"), QString(),
                                        QStringLiteral("Скачать последнюю версию программы")),
                             I::Download);
    download->setVisible(false);  // shown when the update check finds a newer version

    // Editor toolbar.
    tool(editorBar_, addCommand(QStringLiteral("ToolButton9"), QString(), QStringLiteral("Очистить")), I::ClearText);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton11"), QString(), QStringLiteral("Открыть...")),
         I::OpenText);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton10"), QString(), QStringLiteral("Сохранить как...")),
         I::SaveText);
    editorBar_->addSeparator();
    QMenu* exportMenu = dropDownMenu(QStringLiteral("PopupMenu2"));
    QMenu* html = exportMenu->addMenu(QStringLiteral("HTML"));
    html->addAction(addCommand(QStringLiteral("N34"), QStringLiteral("Текущий текст")));
    html->addAction(addCommand(QStringLiteral("N35"), QStringLiteral("Всю структуру")));
    exportMenu->addAction(addCommand(QStringLiteral("RTF1"), QStringLiteral("RTF")));
    tool(editorBar_, addCommand(QStringLiteral("ToolButton12"), QString(), QStringLiteral("Экспорт кода")), I::Export,
         exportMenu);
    QMenu* languages = dropDownMenu(QStringLiteral("PopupMenu6"));
    for (const char* caption : {"Object Pascal", "C/C++", "Fortran", "Java", "Visual Basic", "Cobol", "C#", "CSS",
                                "HTML", "JScript", "PHP", "Perl", "x86 Assembly", "MS VBScript", "SQL"}) {
        QAction* a = languages->addAction(QString::fromLatin1(caption));
        a->setCheckable(true);
        a->setEnabled(false);
    }
    tool(editorBar_, addCommand(QStringLiteral("ToolButton14"), QString(), QStringLiteral("Подсветка синтаксиса")),
         I::Highlight, languages, true);
    tool(editorBar_,
         addCommand(QStringLiteral("ToolButton27"), QString(), QStringLiteral("Настройка цветовых схем")),
         I::Schemes);
    tool(editorBar_,
         addCommand(QStringLiteral("ToolButton28"), QString(),
                    QStringLiteral("Назначение горячих клавиш для вставки текста")),
         I::Hotkeys);
    QMenu* marks = dropDownMenu(QStringLiteral("PopupMenu7"));
    QMenu* assign = marks->addMenu(QStringLiteral("Назначить"));
    QMenu* go = marks->addMenu(QStringLiteral("Перейти"));
    for (int i = 1; i <= 5; ++i) {
        assign->addAction(QStringLiteral("Метка %1").arg(i))->setEnabled(false);
        go->addAction(QStringLiteral("Метка %1").arg(i))->setEnabled(false);
    }
    marks->addAction(addCommand(QStringLiteral("N49"), QStringLiteral("Очистить")));
    tool(editorBar_, addCommand(QStringLiteral("ToolButton15"), QString()), I::Bookmarks, marks);
    QMenu* edit = dropDownMenu(QStringLiteral("PopupMenu8"));
    edit->addAction(addCommand(QStringLiteral("N69"), QStringLiteral("Отменить")));
    QMenu* find = edit->addMenu(QStringLiteral("Найти"));
    find->addAction(addCommand(QStringLiteral("N63"), QStringLiteral("в текущей вкладке")));
    find->addAction(addCommand(QStringLiteral("N64"), QStringLiteral("во вкладках")));
    find->addAction(addCommand(QStringLiteral("N65"), QStringLiteral("среди всех страниц дерева")));
    find->addAction(addCommand(QStringLiteral("N66"), QStringLiteral("в названиях элементов")));
    edit->addAction(addCommand(QStringLiteral("N62"), QStringLiteral("Заменить...")));
    edit->addAction(addCommand(QStringLiteral("N71"), QStringLiteral("Перейти на строку...")));
    edit->addAction(addCommand(QStringLiteral("N74"), QStringLiteral("Увеличить отступ")));
    edit->addAction(addCommand(QStringLiteral("N75"), QStringLiteral("Уменьшить отступ")));
    QAction* layout = addCommand(QStringLiteral("N76"), QStringLiteral("Автоматическое определение раскладки"));
    layout->setCheckable(true);
    edit->addAction(layout);
    edit->addAction(addCommand(QStringLiteral("N68"), QStringLiteral("Вставить дату и время")));
    tool(editorBar_, addCommand(QStringLiteral("ToolButton16"), QString(), QStringLiteral("Правка")), I::Edit, edit, true);
    tool(editorBar_, addCommand(QStringLiteral("ToolButton24"), QString(), QStringLiteral("Закрыть закладку")),
         I::CloseTab);

    // The tree's right-click menu.
    PopupMenu1 = dropDownMenu(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(addCommand(QStringLiteral("N36"), QStringLiteral("Открыть в активной закладке")));
    PopupMenu1->addAction(addCommand(QStringLiteral("N37"), QStringLiteral("Открыть в новой закладке")));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N28"), QStringLiteral("Добавить раздел")));
    PopupMenu1->addAction(addCommand(QStringLiteral("N31"), QStringLiteral("Добавить страницу")));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N53"), QStringLiteral("Развернуть ветвь")));
    PopupMenu1->addAction(addCommand(QStringLiteral("N54"), QStringLiteral("Свернуть ветвь")));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N3"), QStringLiteral("Переименовать")));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(addCommand(QStringLiteral("N32"), QStringLiteral("Удалить")));
    connect(Tree, &QTreeView::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(Tree->viewport()->mapToGlobal(pos)); });
}

QString TForm1::statusText(int panel) const { return panel == 0 ? panel0_->text() : panel1_->text(); }

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

void TForm1::FormShow() { openLastFile(); }

void TForm1::FormClose() {}

void TForm1::openLastFile() {
    if (currentFileName_.isEmpty() || !QFileInfo(currentFileName_).isFile()) return;
    panel0_->clear();
    panel1_->setText(QStringLiteral("Открытие..."));
    repaintNow();
    const QString name = currentFileName_;
    bool ok = false;
    model_->beginRebuild();
    if (isXmlName(name)) {
        ok = LoadXML(tree_, name, operationFeedback());
    } else {
        operationFeedback().say(kOpenFileError);  // text collections are not read by this build
    }
    model_->endRebuild();
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
    for (int i = Pages1->count() - 1; i >= 1; --i) Pages1->removeTab(i);
    Pages1->setCurrentIndex(0);
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
    currentFileName_ = choice->filterIndex == 1 ? choice->path : QString();
    openLastFile();
}

bool TForm1::writeXml(const QString& fileName) {
    const SaveOutcome outcome = SaveTreeInXML(tree_, fileName, operationFeedback());
    currentFileName_ = outcome.fileName;
    showGatheredMessages();
    return outcome.written;
}

bool TForm1::writeCollection(const QString& fileName) {
    if (isXmlName(fileName)) return writeXml(fileName);
    // Text collections are not written by this build: nothing is touched on disk.
    operationFeedback().say(kSaveFileError);
    showGatheredMessages();
    return false;
}

void TForm1::saveCommand() {
    if (currentFileName_.trimmed().isEmpty()) return;
    const bool written = writeCollection(currentFileName_);
    ChangeCaption();
    if (written) removeModifiedMarkers();
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
    const QString target = withXmlExtensionIfNone(choice->path);
    bool written = false;
    if (ConfirmReplace(target)) written = writeXml(choice->path);
    ChangeCaption();
    if (written) removeModifiedMarkers();
}

void TForm1::removeModifiedMarkers() {
    for (int i = 0; i < Pages1->count(); ++i) {
        const QString caption = Pages1->tabText(i);
        if (caption.endsWith(u'*')) Pages1->setTabText(i, caption.chopped(1));
    }
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

} // namespace tw
