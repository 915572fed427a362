#include "hotkeys/tform7.h"

#include "hotkeys/hotkey_table.h"
#include "hotkeys/tform6.h"
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

TForm7::TForm7(TForm6& list, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Tool), list_(list), prompter_(prompter) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Назначить"));
    QStringList letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters << QString(QChar::fromLatin1(c));
    ComboBox1_ = upperCaseBox(this, "ComboBox1", kModifierNames);
    ComboBox2_ = upperCaseBox(this, "ComboBox2", letters);
    ComboBox2_->lineEdit()->setMaxLength(1);
    Memo1_ = new QPlainTextEdit(this);
    Memo1_->setObjectName(QStringLiteral("Memo1"));
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("SpeedButton1"));
    connect(ok_, &QPushButton::clicked, this, &TForm7::SpeedButton1Click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Сочетание:"), this), 0, 0, 1, 3);
    layout->addWidget(ComboBox1_, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("+"), this), 1, 1);
    layout->addWidget(ComboBox2_, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Текст:"), this), 2, 0, 1, 3);
    layout->addWidget(Memo1_, 3, 0, 1, 3);
    layout->addWidget(ok_, 4, 0, 1, 3, Qt::AlignRight);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(2, 2);
    resize(176, 225);
}

int TForm7::modifierPosition() const { return static_cast<int>(kModifierNames.indexOf(modifierText())); }
QString TForm7::modifierText() const { return ComboBox1_->currentText(); }
QString TForm7::letterText() const { return ComboBox2_->currentText(); }

QString TForm7::text() const {
    QString t = Memo1_->toPlainText();
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

int TForm7::ToShortCut() const { return tw::ToShortCut(modifierPosition(), letterText()); }
int TForm7::ToModifiers() const { return tw::ToModifiers(modifierPosition()); }
bool TForm7::CheckKeys() const { return tw::CheckKeys(modifierText(), letterText()); }

void TForm7::SpeedButton1Click() {
    if (trimControls(text()).isEmpty()) return;
    if (CheckKeys()) {
        prompter_.showMessage(kForbiddenCombination);
        return;
    }
    // The table needs one of the three modifiers and one letter A-Z.
    const QString letter = letterText();
    if (modifierPosition() < 0 || letter.size() != 1 || letter.at(0) < u'A' || letter.at(0) > u'Z') {
        prompter_.showMessage(kChooseCombination);
        return;
    }
    list_.AddHotKey(ToShortCut(), text());
    close();
}

} // namespace tw
