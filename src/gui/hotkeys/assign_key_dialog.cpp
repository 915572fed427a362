#include "hotkeys/assign_key_dialog.h"

#include "hotkeys/hotkey_table.h"
#include "hotkeys/snippet_keys_window.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tw {

namespace {
// An editable box whose text is always upper case, as typed or chosen.
QComboBox* upperCaseBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentIndex(0);
    QObject::connect(box, &QComboBox::editTextChanged, box, [box](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        QLineEdit* edit = box->lineEdit();
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
    return box;
}
} // namespace

AssignKeyDialog::AssignKeyDialog(SnippetKeysWindow& list, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Tool), list_(list), prompter_(prompter) {
    setObjectName(QStringLiteral("assignKey"));
    setWindowTitle(QStringLiteral("Назначить"));
    QStringList letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters << QString(QChar::fromLatin1(c));
    modifierBox_ = upperCaseBox(this, "modifierBox", kModifierNames);
    letterBox_ = upperCaseBox(this, "letterBox", letters);
    letterBox_->lineEdit()->setMaxLength(1);
    textEdit_ = new QPlainTextEdit(this);
    textEdit_->setObjectName(QStringLiteral("textEdit"));
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    connect(ok_, &QPushButton::clicked, this, &AssignKeyDialog::confirm);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Сочетание:"), this), 0, 0, 1, 3);
    layout->addWidget(modifierBox_, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("+"), this), 1, 1);
    layout->addWidget(letterBox_, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Текст:"), this), 2, 0, 1, 3);
    layout->addWidget(textEdit_, 3, 0, 1, 3);
    layout->addWidget(ok_, 4, 0, 1, 3, Qt::AlignRight);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(2, 2);
    resize(176, 225);
}

int AssignKeyDialog::modifierPosition() const { return static_cast<int>(kModifierNames.indexOf(modifierText())); }
QString AssignKeyDialog::modifierText() const { return modifierBox_->currentText(); }
QString AssignKeyDialog::letterText() const { return letterBox_->currentText(); }

QString AssignKeyDialog::text() const {
    QString t = textEdit_->toPlainText();
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

int AssignKeyDialog::keyCodeAt() const { return tw::keyCodeAt(modifierPosition(), letterText()); }
int AssignKeyDialog::modifiersAt() const { return tw::modifiersAt(modifierPosition()); }
bool AssignKeyDialog::isReservedCombination() const { return tw::isReservedCombination(modifierText(), letterText()); }

void AssignKeyDialog::confirm() {
    if (trimControls(text()).isEmpty()) return;
    if (isReservedCombination()) {
        prompter_.showMessage(kForbiddenCombination);
        return;
    }
    // The table needs one of the three modifiers and one letter A-Z.
    const QString letter = letterText();
    if (modifierPosition() < 0 || letter.size() != 1 || letter.at(0) < u'A' || letter.at(0) > u'Z') {
        prompter_.showMessage(kChooseCombination);
        return;
    }
    list_.addRow(keyCodeAt(), text());
    close();
}

} // namespace tw
