#include "search/find_dialogs.h"

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
} // namespace

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("find"));
    setWindowTitle(QStringLiteral("Найти"));
    setModal(false);
    what_ = new QLineEdit(this);
    what_->setObjectName(QStringLiteral("FindWhat"));
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
    auto* cancel = button(QStringLiteral("Отмена"), "Cancel", this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(direction);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &FindDialog::findNext);
    // Enter in the text field presses the default button "Найти далее": one search per Enter.
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void FindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    what_->setFocus();
    what_->selectAll();
}

QString FindDialog::text() const { return what_->text(); }
void FindDialog::setText(const QString& text) { what_->setText(text); }
bool FindDialog::downward() const { return down_->isChecked(); }
void FindDialog::setDownward(bool down) { (down ? down_ : up_)->setChecked(true); }

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("replace"));
    setWindowTitle(QStringLiteral("Заменить"));
    setModal(false);
    what_ = new QLineEdit(this);
    what_->setObjectName(QStringLiteral("ReplaceWhat"));
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
    auto* top = new QHBoxLayout(this);
    top->addLayout(form, 1);
    top->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &ReplaceDialog::findNext);
    connect(one, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(all, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void ReplaceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    what_->setFocus();
    what_->selectAll();
}

QString ReplaceDialog::text() const { return what_->text(); }
QString ReplaceDialog::replacement() const { return with_->text(); }
void ReplaceDialog::setText(const QString& text) { what_->setText(text); }
void ReplaceDialog::setReplacement(const QString& text) { with_->setText(text); }

} // namespace tw
