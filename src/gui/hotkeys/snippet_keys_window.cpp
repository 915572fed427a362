#include "hotkeys/snippet_keys_window.h"
#include "storage/text_encoding.h"

#include "app/ini_file.h"
#include "hotkeys/assign_key_dialog.h"
#include "platform/hotkey_registrar.h"
#include "platform/prompter.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tw {

SnippetKeysWindow::SnippetKeysWindow(HotkeyRegistrar& registrar, Prompter& prompter, QString keysFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      registrar_(registrar), prompter_(prompter), keysFile_(std::move(keysFile)) {
    setObjectName(QStringLiteral("snippetKeys"));
    setWindowTitle(QString());
    setFixedSize(348, 265);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Сочетание"), QStringLiteral("Текст")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setColumnWidth(0, 110);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);

    auto button = [this](const char* name, const QString& caption, void (SnippetKeysWindow::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("addButton", QStringLiteral("Добавить"), &SnippetKeysWindow::addKey));
    buttons->addWidget(button("removeButton", QStringLiteral("Удалить"), &SnippetKeysWindow::removeKey));
    buttons->addStretch();
    buttons->addWidget(button("okButton", QStringLiteral("OK"), &SnippetKeysWindow::confirm));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
}

void SnippetKeysWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

void SnippetKeysWindow::closeEvent(QCloseEvent* event) {
    // A table that cannot be written keeps the window open, so nothing is lost unseen.
    if (!saveKeys(keysFile_)) {
        prompter_.showMessage(unableToWrite(keysFile_));
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void SnippetKeysWindow::confirm() { close(); }

void SnippetKeysWindow::addKey() {
    if (!assignDialog_) return;
    assignDialog_->show();
    assignDialog_->raise();
    assignDialog_->activateWindow();
}

bool SnippetKeysWindow::registerRow(int i) {
    const HotKeyRow& row = rows_[static_cast<size_t>(i)];
    return registrar_.registerHotKey(kFirstTableHotKey + i, modifiersNamed(row.modifier), rowKey(row));
}

void SnippetKeysWindow::appendRow(HotKeyRow row) {
    const int r = table_->rowCount();
    table_->insertRow(r);
    table_->setItem(r, 0, new QTableWidgetItem(row.caption()));
    // One line per row in the grid; the text itself keeps its line breaks.
    QString shown = row.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    table_->setItem(r, 1, new QTableWidgetItem(shown));
    rows_.push_back(std::move(row));
    registerRow(r);  // a combination held elsewhere leaves the row without a key, silently
}

void SnippetKeysWindow::addRowFromFile(int keyCode, const QString& text, const QString& modifier, const QString& letter) {
    appendRow(HotKeyRow{modifier, letter, keyCode, text});
}

bool SnippetKeysWindow::hasKeyCode() const { return assignDialog_ && tw::hasKeyCode(rows_, assignDialog_->keyCodeAt()); }

void SnippetKeysWindow::addRow(int keyCode, const QString& text) {
    if (!assignDialog_ || hasKeyCode()) return;
    appendRow(HotKeyRow{assignDialog_->modifierText(), assignDialog_->letterText(), keyCode, text});
}

void SnippetKeysWindow::loadKeys(const QString& fileName) {
    unregisterAll();
    rows_.clear();
    table_->setRowCount(0);
    const KeysReadResult read = tw::loadKeys(fileName);
    for (const HotKeyRow& row : read.rows) addRowFromFile(row.keyCode, row.text, row.modifier, row.letter);
    if (!read.ok) {
        // The rows after the damage are not in the table, and the next close rewrites the
        // file: keep the damaged file beside it as it was, so no text is lost.
        keepDamagedCopy(fileName);
        prompter_.showMessage(kKeysReadError + QFileInfo(fileName).fileName());
    } else if (read.replacedInvalidBytes) {
        prompter_.showMessage(invalidBytesReplacedMessage(fileName));
    }
}

void SnippetKeysWindow::keepDamagedCopy(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) return;
    QString copy = fileName + QStringLiteral(".damaged");
    for (int n = 1; QFileInfo::exists(copy); ++n) copy = fileName + QStringLiteral(".damaged%1").arg(n);
    QFile::copy(fileName, copy);
}

bool SnippetKeysWindow::saveKeys(const QString& fileName) { return tw::saveKeys(fileName, rows_); }

void SnippetKeysWindow::unregisterAll() {
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) registrar_.unregisterHotKey(kFirstTableHotKey + i);
}

void SnippetKeysWindow::registerAll() {
    QString report;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        if (!registerRow(i)) report += kUnableToRegister + rows_[static_cast<size_t>(i)].caption() + QStringLiteral("\r\n");
    if (!report.isEmpty()) prompter_.showMessage(report);
}

void SnippetKeysWindow::removeKey() {
    const QModelIndexList selected = table_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int r = selected.first().row();
    if (r < 0 || r >= static_cast<int>(rows_.size())) return;
    unregisterAll();
    rows_.erase(rows_.begin() + r);
    table_->removeRow(r);
    QCoreApplication::processEvents();
    registerAll();
}

QString SnippetKeysWindow::rowText(int i) const {
    return i >= 0 && i < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(i)].text : QString();
}

} // namespace tw
