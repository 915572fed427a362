#include "search/find_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tw {

namespace {
QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QCheckBox* optionBox(const QString& caption, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}
} // namespace

SearchOptionsBox::SearchOptionsBox(QWidget* parent) : QWidget(parent) {
    matchCase_ = optionBox(QStringLiteral("С учётом регистра"), "MatchCase", this);
    wholeWord_ = optionBox(QStringLiteral("Только слово целиком"), "WholeWord", this);
    regularExpression_ = optionBox(QStringLiteral("Регулярное выражение"), "RegularExpression", this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QCheckBox* box : {matchCase_, wholeWord_, regularExpression_}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this] { emit changed(options()); });
    }
    setOptions({});
}

SearchOptions SearchOptionsBox::options() const {
    return {matchCase_->isChecked(), wholeWord_->isChecked(), regularExpression_->isChecked()};
}

void SearchOptionsBox::setOptions(const SearchOptions& options) {
    matchCase_->setChecked(options.matchCase);
    wholeWord_->setChecked(options.wholeWord);
    regularExpression_->setChecked(options.regularExpression);
}

SearchDialog::SearchDialog(const QString& objectName, const QString& title, const QString& whatName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    setModal(false);
    what_ = new QLineEdit(this);
    what_->setObjectName(whatName);
    options_ = new SearchOptionsBox(this);
    connect(what_, &QLineEdit::textChanged, this, &SearchDialog::textChanged);
}

void SearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    what_->setFocus();
    what_->selectAll();
}

void SearchDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit hidden();
}

QString SearchDialog::text() const { return what_->text(); }
void SearchDialog::setText(const QString& text) { what_->setText(text); }

FindDialog::FindDialog(QWidget* parent)
    : SearchDialog(QStringLiteral("find"), QStringLiteral("Найти"), QStringLiteral("FindWhat"), parent) {
    auto* direction = new QGroupBox(QStringLiteral("Направление"), this);
    up_ = new QRadioButton(QStringLiteral("Вверх"), direction);
    down_ = new QRadioButton(QStringLiteral("Вниз"), direction);
    down_->setChecked(true);
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(up_);
    dirLayout->addWidget(down_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Что:"), what_);
    auto* next = button(QStringLiteral("Найти далее"), "FindNext", this);
    next->setDefault(true);
    findAll_ = button(QStringLiteral("Найти все"), "FindAll", this);
    findAll_->hide();
    auto* cancel = button(QStringLiteral("Отмена"), "Cancel", this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(next);
    buttons->addWidget(findAll_);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* below = new QHBoxLayout;
    below->addWidget(options_);
    below->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(below);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(findAll_, &QPushButton::clicked, this, &FindDialog::findAll);
    // Enter in the text field presses the default button "Найти далее": one search per Enter.
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void FindDialog::setFindAllShown(bool shown) { findAll_->setVisible(shown); }

bool FindDialog::downward() const { return down_->isChecked(); }
void FindDialog::setDownward(bool down) { (down ? down_ : up_)->setChecked(true); }

ReplaceDialog::ReplaceDialog(QWidget* parent)
    : SearchDialog(QStringLiteral("replace"), QStringLiteral("Заменить"), QStringLiteral("ReplaceWhat"), parent) {
    with_ = new QLineEdit(this);
    with_->setObjectName(QStringLiteral("ReplaceWith"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Что:"), what_);
    form->addRow(QStringLiteral("Чем:"), with_);
    auto* next = button(QStringLiteral("Найти далее"), "FindNext", this);
    next->setDefault(true);
    auto* one = button(QStringLiteral("Заменить"), "Replace", this);
    auto* all = button(QStringLiteral("Заменить все"), "ReplaceAll", this);
    auto* cancel = button(QStringLiteral("Отмена"), "Cancel", this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {next, one, all, cancel}) buttons->addWidget(b);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(options_);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &ReplaceDialog::findNext);
    connect(one, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(all, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString ReplaceDialog::replacement() const { return with_->text(); }
void ReplaceDialog::setReplacement(const QString& text) { with_->setText(text); }

} // namespace tw
