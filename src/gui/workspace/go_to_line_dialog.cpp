#include "workspace/go_to_line_dialog.h"

#include "editor/code_editor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tw {

GoToLineDialog::GoToLineDialog(CodeEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("goToLine"));
    setWindowTitle(QString());
    lineSpin_ = new QSpinBox(this);
    lineSpin_->setObjectName(QStringLiteral("lineSpin"));
    lineSpin_->setRange(1, 999999);  // at most six digits
    auto* go = new QPushButton(QStringLiteral("Перейти"), this);
    go->setObjectName(QStringLiteral("goButton"));
    go->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Номер строки:"), this));
    row->addWidget(lineSpin_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(go, &QPushButton::clicked, this, &GoToLineDialog::go);
    connect(cancel, &QPushButton::clicked, this, &GoToLineDialog::cancel);
}

void GoToLineDialog::showEvent(QShowEvent* event) {
    // The value stays as last entered; the range follows the text.
    lineSpin_->setRange(1, std::max(1, editor_.lineCount()));
    QDialog::showEvent(event);
}

void GoToLineDialog::goToLine(int v) {
    if (v > editor_.lineCount()) return;
    editor_.gotoLineAndCenter(std::max(v, 1));
}

void GoToLineDialog::go() { goToLine(lineSpin_->value()); }
void GoToLineDialog::cancel() { close(); }

} // namespace tw
