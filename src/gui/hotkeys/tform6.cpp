#include "hotkeys/tform6.h"

#include "app/ini_file.h"
#include "hotkeys/tform7.h"
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

TForm6::TForm6(HotkeyRegistrar& registrar, Prompter& prompter, QString keysFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      registrar_(registrar), prompter_(prompter), keysFile_(std::move(keysFile)) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QString());
    setFixedSize(348, 265);
    LV1_ = new QTableWidget(0, 2, this);
    LV1_->setObjectName(QStringLiteral("LV1"));
    LV1_->setHorizontalHeaderLabels({QStringLiteral("Сочетание"), QStringLiteral("Текст")});
    LV1_->verticalHeader()->hide();
    LV1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV1_->setSelectionMode(QAbstractItemView::SingleSelection);
    LV1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV1_->setWordWrap(false);
    LV1_->setColumnWidth(0, 110);
    LV1_->horizontalHeader()->setStretchLastSection(true);
    LV1_->verticalHeader()->setDefaultSectionSize(LV1_->fontMetrics().height() + 6);

    auto button = [this](const char* name, const QString& caption, void (TForm6::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("SpeedButton1", QStringLiteral("Добавить"), &TForm6::SpeedButton1Click));
    buttons->addWidget(button("SpeedButton2", QStringLiteral("Удалить"), &TForm6::SpeedButton2Click));
    buttons->addStretch();
    buttons->addWidget(button("SpeedButton3", QStringLiteral("OK"), &TForm6::SpeedButton3Click));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LV1_, 1);
    layout->addLayout(buttons);
}

void TForm6::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

void TForm6::closeEvent(QCloseEvent* event) {
    // A table that cannot be written keeps the window open, so nothing is lost unseen.
    if (!SaveKeys(keysFile_)) {
        prompter_.showMessage(unableToWrite(keysFile_));
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TForm6::SpeedButton3Click() { close(); }

void TForm6::SpeedButton1Click() {
    if (!Form7_) return;
    Form7_->show();
    Form7_->raise();
    Form7_->activateWindow();
}

bool TForm6::registerRow(int i) {
    const HotKeyRow& row = rows_[static_cast<size_t>(i)];
    return registrar_.registerHotKey(kFirstTableHotKey + i, ToModifiers2(row.modifier), rowKey(row));
}

void TForm6::appendRow(HotKeyRow row) {
    const int r = LV1_->rowCount();
    LV1_->insertRow(r);
    LV1_->setItem(r, 0, new QTableWidgetItem(row.caption()));
    // One line per row in the grid; the text itself keeps its line breaks.
    QString shown = row.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    LV1_->setItem(r, 1, new QTableWidgetItem(shown));
    rows_.push_back(std::move(row));
    registerRow(r);  // a combination held elsewhere leaves the row without a key, silently
}

void TForm6::AddHotKey2(int keyCode, const QString& text, const QString& modifier, const QString& letter) {
    appendRow(HotKeyRow{modifier, letter, keyCode, text});
}

bool TForm6::HotKeyExists() const { return Form7_ && tw::HotKeyExists(rows_, Form7_->ToShortCut()); }

void TForm6::AddHotKey(int keyCode, const QString& text) {
    if (!Form7_ || HotKeyExists()) return;
    appendRow(HotKeyRow{Form7_->modifierText(), Form7_->letterText(), keyCode, text});
}

void TForm6::LoadKeys(const QString& fileName) {
    unRegisterAll();
    rows_.clear();
    LV1_->setRowCount(0);
    const KeysReadResult read = tw::LoadKeys(fileName);
    for (const HotKeyRow& row : read.rows) AddHotKey2(row.keyCode, row.text, row.modifier, row.letter);
    if (!read.ok) {
        // The rows after the damage are not in the table, and the next close rewrites the
        // file: keep the damaged file beside it as it was, so no text is lost.
        keepDamagedCopy(fileName);
        prompter_.showMessage(kKeysReadError + QFileInfo(fileName).fileName());
    }
}

void TForm6::keepDamagedCopy(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) return;
    QString copy = fileName + QStringLiteral(".damaged");
    for (int n = 1; QFileInfo::exists(copy); ++n) copy = fileName + QStringLiteral(".damaged%1").arg(n);
    QFile::copy(fileName, copy);
}

bool TForm6::SaveKeys(const QString& fileName) { return tw::SaveKeys(fileName, rows_); }

void TForm6::unRegisterAll() {
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) registrar_.unregisterHotKey(kFirstTableHotKey + i);
}

void TForm6::RegisterAll() {
    QString report;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        if (!registerRow(i)) report += kUnableToRegister + rows_[static_cast<size_t>(i)].caption() + QStringLiteral("\r\n");
    if (!report.isEmpty()) prompter_.showMessage(report);
}

void TForm6::SpeedButton2Click() {
    const QModelIndexList selected = LV1_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int r = selected.first().row();
    if (r < 0 || r >= static_cast<int>(rows_.size())) return;
    unRegisterAll();
    rows_.erase(rows_.begin() + r);
    LV1_->removeRow(r);
    QCoreApplication::processEvents();
    RegisterAll();
}

QString TForm6::rowText(int i) const {
    return i >= 0 && i < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(i)].text : QString();
}

} // namespace tw
