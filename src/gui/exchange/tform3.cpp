#include "exchange/tform3.h"

#include "app/ini_file.h"
#include "app/tform1.h"
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
    explicit WindowImportSink(TForm1& form) : form_(form) {
        TreeModel* model = form.treeModel();
        connections_ << QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, [this] { broken_ = true; })
                     << QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, [this] { broken_ = true; });
    }
    ~WindowImportSink() override {
        for (const auto& c : connections_) QObject::disconnect(c);
    }
    Node* addSection(Node* parent, const QString& caption) override {
        return broken_ ? nullptr : form_.addSectionNode(parent, caption);
    }
    Node* addPage(Node* parent, const QString& caption) override {
        return broken_ ? nullptr : form_.AddDoc(parent, caption);
    }
    void directoryDone() override { form_.setStatusText(0, {}); }

private:
    TForm1& form_;
    bool broken_ = false;
    QList<QMetaObject::Connection> connections_;
};

} // namespace

TForm3::TForm3(TForm1& form, Prompter& prompter, QWidget* parent) : QDialog(parent), form_(form), prompter_(prompter) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Поиск файлов"));
    group_ = new QGroupBox(QStringLiteral("Параметры поиска"), this);
    group_->setObjectName(QStringLiteral("GroupBox1"));
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
    path_ = edit("Edit1");
    masks_ = edit("Edit2");
    masks_->setToolTip(QStringLiteral("Множество расширений указывается через пробел"));
    fragment_ = edit("Edit3");
    size_ = edit("Edit4");
    size_->setMaximumWidth(60);
    language_ = check("CheckBox1", QStringLiteral("Определение языка по расширению"));
    language_->setToolTip(QStringLiteral("Существенно замедляет поиск"));
    load_ = check("CheckBox2", QStringLiteral("Загружать содержимое файлов"));
    deleteEmpty_ = check("CheckBox3", QStringLiteral("Удалять пустые разделы"));
    browse_ = new QToolButton(group_);
    browse_->setObjectName(QStringLiteral("SpeedButton4"));
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
    start_ = button("SpeedButton1", QStringLiteral("Начать поиск"));
    cancel_ = button("SpeedButton2", QStringLiteral("Отмена"));
    stop_ = button("SpeedButton3", QStringLiteral("Стоп"));
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

    connect(start_, &QPushButton::clicked, this, &TForm3::SpeedButton1Click);
    connect(cancel_, &QPushButton::clicked, this, &TForm3::SpeedButton2Click);
    connect(stop_, &QPushButton::clicked, this, &TForm3::SpeedButton3Click);
    connect(browse_, &QToolButton::clicked, this, &TForm3::browseClick);
    connect(load_, &QCheckBox::toggled, this, &TForm3::CheckBox2Click);
    CheckBox2Click();
}

TForm3::~TForm3() = default;

void TForm3::showEvent(QShowEvent* event) {
    LoadSettings();
    QDialog::showEvent(event);
}

void TForm3::done(int result) {
    // Escape, "Отмена" and closing the window all end here; a walk under way keeps the
    // dialog open ("Стоп" ends it).
    if (searching()) return;
    SaveSettings();
    QDialog::done(result);
}

void TForm3::LoadSettings() {
    const IniFile ini(form_.paths().settingsFile);
    // The root of the file system stands for the system drive's root of the original default.
    path_->setText(ini.readText(kSection, QStringLiteral("path"), QDir::rootPath()));
    masks_->setText(ini.readText(kSection, QStringLiteral("extensions"), QStringLiteral("*.*")));
    language_->setChecked(ini.readBool(kSection, QStringLiteral("deflan"), false));
    load_->setChecked(ini.readBool(kSection, QStringLiteral("loadfiles"), false));
    size_->setText(ini.readText(kSection, QStringLiteral("MaxSize"), QStringLiteral("40")));
    deleteEmpty_->setChecked(ini.readBool(kSection, QStringLiteral("delempty"), false));
    CheckBox2Click();
}

void TForm3::SaveSettings() {
    IniFile ini(form_.paths().settingsFile);
    ini.writeText(kSection, QStringLiteral("path"), path_->text());
    ini.writeText(kSection, QStringLiteral("extensions"), masks_->text());
    ini.writeBool(kSection, QStringLiteral("deflan"), language_->isChecked());
    ini.writeBool(kSection, QStringLiteral("loadfiles"), load_->isChecked());
    ini.writeText(kSection, QStringLiteral("MaxSize"), size_->text());
    ini.writeBool(kSection, QStringLiteral("delempty"), deleteEmpty_->isChecked());
    if (!ini.save()) prompter_.showMessage(unableToWrite(ini.path()));
}

void TForm3::CheckBox2Click() {
    const bool on = load_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(fragment_), static_cast<QWidget*>(size_), static_cast<QWidget*>(fragmentLabel_),
                       static_cast<QWidget*>(sizeLabel_), static_cast<QWidget*>(kbLabel_)})
        w->setEnabled(on);
}

void TForm3::setWalking(bool walking) {
    group_->setEnabled(!walking);
    cancel_->setEnabled(!walking);
    start_->setVisible(!walking);
    stop_->setVisible(walking);
}

void TForm3::StartSearch() {
    if (searching()) return;
    FileSearchOptions options;
    options.masks = GetExtensions(masks_->text());
    options.sizeLimit = sizeLimitBytes(size_->text());
    options.loadFiles = load_->isChecked();
    options.fragment = fragment_->text();
    if (language_->isChecked()) options.languages = &form_.highlighters();

    Feedback fb;
    fb.status = [this](const QString& text) { form_.setStatusText(1, text); };
    // Pending events are handled once per entry, but at most every 20 ms: enough for the
    // window to repaint and take "Стоп", without the walk spending its time repainting.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    fb.processEvents = [&sinceEvents] {
        if (sinceEvents.elapsed() < 20) return;
        QCoreApplication::processEvents();
        sinceEvents.restart();
    };
    WindowImportSink sink(form_);
    FileSearch search(std::move(options), sink, fb);
    search_ = &search;
    setWalking(true);
    form_.setStatusText(1, path_->text());
    QCoreApplication::processEvents();
    search.run(path_->text(), form_.tree().root());
    search_ = nullptr;
    if (deleteEmpty_->isChecked()) DelEmptyRazdel();
    setWalking(false);
    form_.setStatusText(1, {});
    form_.GetInfoTree();
}

void TForm3::DelEmptyRazdel() { form_.removeBranches(emptyBranches(form_.tree())); }

void TForm3::SpeedButton1Click() { StartSearch(); }

void TForm3::SpeedButton2Click() { reject(); }

void TForm3::SpeedButton3Click() {
    setWalking(false);
    if (search_) search_->stop();
}

void TForm3::browseClick() {
    if (const auto chosen = prompter_.chooseDirectory(path_->text())) {
        const QString path = *chosen;
        path_->setText(path);
    }
}

} // namespace tw
