#include "exchange/file_search_dialog.h"
#include "storage/text_encoding.h"

#include "app/ini_file.h"
#include "app/program_paths.h"
#include "app/status_panels.h"
#include "editor/catalogue.h"
#include "tree/tree_editor.h"
#include "exchange/file_masks.h"
#include "platform/prompter.h"
#include "tree/tree_model.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tw {

namespace {

const QString kSection = QStringLiteral("Search");

// Adds through the window, so the tree view, the tabs' bindings and the counts follow.
// Once nodes are removed from the tree while the walk runs (the window stays usable when
// the dialog is not modal), the sections the walk holds may be gone: it adds no more.
class WindowImportSink : public ImportSink {
public:
    WindowImportSink(TreeEditor& editor, StatusPanels& status) : editor_(editor), status_(status) {
        TreeModel* model = &editor.model();
        connections_ << QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, [this] { broken_ = true; })
                     << QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, [this] { broken_ = true; });
    }
    ~WindowImportSink() override {
        for (const auto& c : connections_) QObject::disconnect(c);
    }
    Node* addSection(Node* parent, const QString& caption) override {
        Node* added = broken_ ? nullptr : editor_.addSectionNode(parent, caption);
        if (added) ++sections;
        return added;
    }
    Node* addPage(Node* parent, const QString& caption) override {
        Node* added = broken_ ? nullptr : editor_.addPage(parent, caption);
        if (added) ++pages;
        return added;
    }
    void directoryDone() override { status_.setText(0, {}); }
    int sections = 0, pages = 0;

private:
    TreeEditor& editor_;
    StatusPanels& status_;
    bool broken_ = false;
    QList<QMetaObject::Connection> connections_;
};

} // namespace

FileSearchDialog::FileSearchDialog(TreeEditor& editor, StatusPanels& status, const ProgramPaths& paths,
                                   HighlighterSet& highlighters, Prompter& prompter, QWidget* parent)
    : QDialog(parent), editor_(editor), status_(status), paths_(paths), highlighters_(highlighters), prompter_(prompter) {
    setObjectName(QStringLiteral("fileSearch"));
    setWindowTitle(QStringLiteral("Поиск файлов"));
    group_ = new QGroupBox(QStringLiteral("Параметры поиска"), this);
    group_->setObjectName(QStringLiteral("loadGroup"));
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(group_);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    auto check = [this](const char* name, const QString& caption) {
        auto* c = new QCheckBox(caption, group_);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    path_ = edit("pathEdit");
    masks_ = edit("masksEdit");
    masks_->setToolTip(QStringLiteral("Множество расширений указывается через пробел"));
    fragment_ = edit("fragmentEdit");
    size_ = edit("sizeEdit");
    size_->setMaximumWidth(60);
    language_ = check("languageBox", QStringLiteral("Определение языка по расширению"));
    language_->setToolTip(QStringLiteral("Существенно замедляет поиск"));
    load_ = check("loadBox", QStringLiteral("Загружать содержимое файлов"));
    deleteEmpty_ = check("deleteEmptyBox", QStringLiteral("Удалять пустые разделы"));
    browse_ = new QToolButton(group_);
    browse_->setObjectName(QStringLiteral("browseButton"));
    browse_->setText(QStringLiteral("..."));
    fragmentLabel_ = new QLabel(QStringLiteral("Фрагмент текста:"), group_);
    sizeLabel_ = new QLabel(QStringLiteral("Размер файла не больше:"), group_);
    kbLabel_ = new QLabel(QStringLiteral("Кб"), group_);

    auto* grid = new QGridLayout(group_);
    grid->addWidget(new QLabel(QStringLiteral("Путь поиска:"), group_), 0, 0);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse_);
    grid->addLayout(pathRow, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Маски:"), group_), 1, 0);
    grid->addWidget(masks_, 1, 1, 1, 3);
    grid->addWidget(language_, 2, 0, 1, 4);
    grid->addWidget(load_, 3, 0, 1, 4);
    grid->addWidget(fragmentLabel_, 4, 0);
    grid->addWidget(fragment_, 4, 1, 1, 3);
    grid->addWidget(sizeLabel_, 5, 0);
    grid->addWidget(size_, 5, 1);
    grid->addWidget(kbLabel_, 5, 2);
    grid->setColumnStretch(3, 1);
    grid->addWidget(deleteEmpty_, 6, 0, 1, 4);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    start_ = button("startButton", QStringLiteral("Начать поиск"));
    cancel_ = button("cancelButton", QStringLiteral("Отмена"));
    stop_ = button("stopButton", QStringLiteral("Стоп"));
    stop_->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(start_, &QPushButton::clicked, this, &FileSearchDialog::start);
    connect(cancel_, &QPushButton::clicked, this, &FileSearchDialog::cancel);
    connect(stop_, &QPushButton::clicked, this, &FileSearchDialog::stop);
    connect(browse_, &QToolButton::clicked, this, &FileSearchDialog::browseClick);
    connect(load_, &QCheckBox::toggled, this, &FileSearchDialog::loadToggled);
    loadToggled();
}

FileSearchDialog::~FileSearchDialog() = default;

void FileSearchDialog::showEvent(QShowEvent* event) {
    loadSettings();
    QDialog::showEvent(event);
}

void FileSearchDialog::done(int result) {
    // Escape, "Отмена" and closing the window all end here; a walk under way keeps the
    // dialog open ("Стоп" ends it).
    if (searching()) return;
    saveSettings();
    QDialog::done(result);
}

void FileSearchDialog::loadSettings() {
    const IniFile ini(paths_.settingsFile);
    // The root of the file system stands for the system drive's root of the original default.
    path_->setText(ini.readText(kSection, QStringLiteral("path"), QDir::rootPath()));
    masks_->setText(ini.readText(kSection, QStringLiteral("extensions"), QStringLiteral("*.*")));
    language_->setChecked(ini.readBool(kSection, QStringLiteral("deflan"), false));
    load_->setChecked(ini.readBool(kSection, QStringLiteral("loadfiles"), false));
    size_->setText(ini.readText(kSection, QStringLiteral("MaxSize"), QStringLiteral("40")));
    deleteEmpty_->setChecked(ini.readBool(kSection, QStringLiteral("delempty"), false));
    loadToggled();
}

void FileSearchDialog::saveSettings() {
    IniFile ini(paths_.settingsFile);
    ini.writeText(kSection, QStringLiteral("path"), path_->text());
    ini.writeText(kSection, QStringLiteral("extensions"), masks_->text());
    ini.writeBool(kSection, QStringLiteral("deflan"), language_->isChecked());
    ini.writeBool(kSection, QStringLiteral("loadfiles"), load_->isChecked());
    ini.writeText(kSection, QStringLiteral("MaxSize"), size_->text());
    ini.writeBool(kSection, QStringLiteral("delempty"), deleteEmpty_->isChecked());
    if (!ini.save()) prompter_.showMessage(unableToWrite(ini.path()));
}

void FileSearchDialog::loadToggled() {
    const bool on = load_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(fragment_), static_cast<QWidget*>(size_), static_cast<QWidget*>(fragmentLabel_),
                       static_cast<QWidget*>(sizeLabel_), static_cast<QWidget*>(kbLabel_)})
        w->setEnabled(on);
}

void FileSearchDialog::setWalking(bool walking) {
    group_->setEnabled(!walking);
    cancel_->setEnabled(!walking);
    start_->setVisible(!walking);
    stop_->setVisible(walking);
}

void FileSearchDialog::startSearch() {
    if (searching()) return;
    FileSearchOptions options;
    options.masks = parseMasks(masks_->text());
    options.sizeLimit = sizeLimitBytes(size_->text());
    options.loadFiles = load_->isChecked();
    options.fragment = fragment_->text();
    if (language_->isChecked()) options.languages = &highlighters_;

    Feedback fb;
    // The file being looked at goes to the status line at most every 50 ms; a name held
    // back is shown before the window next repaints and at the end, so the line never
    // lags behind what the window shows.
    QElapsedTimer sinceStatus;
    QString heldStatus;
    auto showHeldStatus = [this, &heldStatus] {
        if (heldStatus.isNull()) return;
        status_.setText(1, heldStatus);
        heldStatus = QString();
    };
    fb.status = [this, &sinceStatus, &heldStatus](const QString& text) {
        if (sinceStatus.isValid() && !sinceStatus.hasExpired(50)) {
            heldStatus = text;
            return;
        }
        status_.setText(1, text);
        heldStatus = QString();
        sinceStatus.start();
    };
    // Pending events are handled once per entry, but at most every 20 ms: enough for the
    // window to repaint and take "Стоп", without the walk spending its time repainting.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    // The nodes added go to the tree at once and to the view in one insertion per parent
    // just before events are handled: a model insertion per node costs more than the walk.
    TreeModel& model = editor_.model();
    fb.processEvents = [&sinceEvents, &showHeldStatus, &model] {
        if (sinceEvents.elapsed() < 20) return;
        model.showAppended();
        showHeldStatus();
        QCoreApplication::processEvents();
        sinceEvents.restart();
    };
    WindowImportSink sink(editor_, status_);
    FileSearch search(std::move(options), sink, fb);
    search_ = &search;
    setWalking(true);
    status_.setText(1, path_->text());
    QCoreApplication::processEvents();
    model.holdAppends();
    search.run(path_->text(), editor_.tree().root());
    model.releaseAppends();
    showHeldStatus();
    search_ = nullptr;
    if (deleteEmpty_->isChecked()) removeEmptySections();
    setWalking(false);
    status_.setText(1, QStringLiteral("Импортировано разделов: %1, страниц: %2").arg(sink.sections).arg(sink.pages));
    status_.showCounts(editor_.tree());
    if (search.replacedInvalidBytes()) prompter_.showMessage(invalidBytesReplacedMessage(path_->text()));
}

void FileSearchDialog::removeEmptySections() { editor_.removeBranches(emptyBranches(editor_.tree())); }

void FileSearchDialog::start() { startSearch(); }

void FileSearchDialog::cancel() { reject(); }

void FileSearchDialog::stop() {
    setWalking(false);
    if (search_) search_->stop();
}

void FileSearchDialog::browseClick() {
    if (const auto chosen = prompter_.chooseDirectory(path_->text())) {
        const QString path = *chosen;
        path_->setText(path);
    }
}

} // namespace tw
