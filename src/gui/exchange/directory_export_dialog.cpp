#include "exchange/directory_export_dialog.h"

#include "exchange/directory_export.h"
#include "platform/prompter.h"

#include <QCheckBox>
#include <algorithm>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace tw {

DirectoryExportDialog::DirectoryExportDialog(std::function<const CollectionTree&()> tree, Prompter& prompter,
                                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      tree_(std::move(tree)), prompter_(prompter) {
    setObjectName(QStringLiteral("directoryExport"));
    auto* prompt = new QLabel(QStringLiteral("Путь для экспорта:"));
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("targetEdit"));
    auto* browse = new QToolButton;
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setText(QStringLiteral("..."));
    emptySections_ = new QCheckBox(QStringLiteral("Экспортировать пустые разделы"));
    emptySections_->setObjectName(QStringLiteral("emptySectionsBox"));
    element_ = new QLabel;
    element_->setObjectName(QStringLiteral("elementLabel"));
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 0);
    bar_->setValue(0);
    // The bar keeps its room while hidden, so the dialog does not change its shape.
    QSizePolicy keep = bar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    bar_->setSizePolicy(keep);
    bar_->hide();
    save_ = new QPushButton(QStringLiteral("Сохранить"));
    save_->setObjectName(QStringLiteral("saveButton"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 2);
    layout->addWidget(target_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->addWidget(emptySections_, 2, 0, 1, 2);
    layout->addWidget(element_, 3, 0, 1, 2);
    layout->addWidget(bar_, 4, 0, 1, 2);
    layout->addWidget(save_, 5, 0, 1, 2, Qt::AlignRight);
    setFixedSize(380, sizeHint().height());

    connect(save_, &QPushButton::clicked, this, &DirectoryExportDialog::exportBranch);
    connect(browse, &QToolButton::clicked, this, &DirectoryExportDialog::browse);
}

void DirectoryExportDialog::browse() {
    const auto chosen = prompter_.chooseDirectory(target_->text());
    if (chosen) target_->setText(*chosen);
}

void DirectoryExportDialog::exportBranch() {
    if (!branch_) return;
    Feedback fb;
    QString message;
    fb.message = [&message](const QString& text) { message = text; };
    fb.status = [this](const QString& caption) { element_->setText(caption); };
    fb.beginProgress = [this](int maximum) {
        bar_->setRange(0, std::max(maximum, 1));  // a range of 0..0 would be a busy indicator
        bar_->setValue(0);
        bar_->show();
    };
    fb.stepProgress = [this] {
        if (bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
    };
    fb.endProgress = [this] {
        bar_->setValue(0);
        bar_->hide();
    };
    fb.processEvents = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    DirectoryExportReport report;
    exportBranchAsDirectories(tree_(), *branch_, target_->text(), emptySections_->isChecked(), fb, &report);
    summary_ = pagesExportedStatus(report.pagesWritten);
    // One message; a file that could not be written is named with the reason.
    if (!report.failedFile.isEmpty()) message += u'\n' + report.failedFile + QStringLiteral(": ") + report.reason;
    if (!message.isEmpty()) prompter_.showMessage(message);
}

} // namespace tw
