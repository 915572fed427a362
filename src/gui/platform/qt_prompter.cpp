#include "platform/prompter.h"

#include "app/program.h"
#include "exchange/folder_chooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace tw {

namespace {
QString qtFilter(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) parts << f.description + QStringLiteral(" (") + f.pattern + u')';
    return parts.join(QStringLiteral(";;"));
}

int filterPosition(const std::vector<FileFilter>& filters, const QString& chosen) {
    for (size_t i = 0; i < filters.size(); ++i)
        if (chosen.startsWith(filters[i].description + QStringLiteral(" ("))) return static_cast<int>(i) + 1;
    return 1;
}
} // namespace

bool QtPrompter::askYesNo(const QString& caption, const QString& text, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

Prompter::Answer QtPrompter::askYesNoCancel(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent_);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtPrompter::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kProgramName, text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtPrompter::showInformation(const QString& text) {
    QMessageBox::information(parent_, kProgramName, text);
}

std::optional<FileChoice> QtPrompter::chooseOpenFile(const std::vector<FileFilter>& filters) {
    QString selected;
    const QString path = QFileDialog::getOpenFileName(parent_, QString(), QString(), qtFilter(filters), &selected);
    if (path.isEmpty()) return std::nullopt;
    return FileChoice{path, filterPosition(filters, selected)};
}

std::optional<FileChoice> QtPrompter::chooseSaveFile(const std::vector<FileFilter>& filters) {
    QString selected;
    const QString path = QFileDialog::getSaveFileName(parent_, QString(), QString(), qtFilter(filters), &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return std::nullopt;
    return FileChoice{path, filterPosition(filters, selected)};
}

std::optional<QColor> QtPrompter::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QString> QtPrompter::chooseDirectory(const QString& start) {
    FolderChooser chooser(parent_);
    chooser.setPath(start);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.path();
}

std::optional<QString> QtPrompter::askText(const QString& caption, const QString& prompt, const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

} // namespace tw
