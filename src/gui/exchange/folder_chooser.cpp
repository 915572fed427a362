#include "exchange/folder_chooser.h"

#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tw {

FolderChooser::FolderChooser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("folderChooser"));
    setWindowTitle(QStringLiteral("Выбор директории"));
    resize(320, 420);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::Hidden);
    model_->setRootPath(QString());  // the whole file system: drives, or "/" below the root

    pathField_ = new QLineEdit;
    pathField_->setObjectName(QStringLiteral("PathField"));
    auto* completer = new QCompleter(model_, pathField_);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    pathField_->setCompleter(completer);

    folders_ = new QTreeView;
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setModel(model_);
    folders_->setHeaderHidden(true);
    for (int c = 1; c < model_->columnCount(); ++c) folders_->hideColumn(c);
    folders_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    folders_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathField_);
    layout->addWidget(folders_, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &FolderChooser::confirm);
    connect(cancel, &QPushButton::clicked, this, &FolderChooser::cancel);
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this, &FolderChooser::folderChanged);
    // A folder typed or completed in the field is shown in the tree.
    connect(pathField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (QFileInfo(text).isDir()) selectFolder(text);
    });
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this, &FolderChooser::selectFolder);
}

void FolderChooser::setPath(const QString& path) {
    pathField_->setText(path);
    if (QFileInfo(path).isDir()) selectFolder(path);
}

QString FolderChooser::path() const { return pathField_->text(); }

void FolderChooser::selectFolder(const QString& path) {
    const QModelIndex index = model_->index(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!index.isValid()) return;
    ++syncing_;
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index);
    --syncing_;
}

void FolderChooser::folderChanged() {
    if (syncing_) return;
    const QModelIndex current = folders_->currentIndex();
    pathField_->setText(current.isValid() ? QDir::toNativeSeparators(model_->filePath(current)) : QString());
}

void FolderChooser::confirm() { accept(); }

void FolderChooser::cancel() { reject(); }

} // namespace tw
