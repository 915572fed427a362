#include "workspace/tform2.h"

#include "editor/synmemo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tw {

TForm2::TForm2(SynMemo& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString());
    SE1_ = new QSpinBox(this);
    SE1_->setObjectName(QStringLiteral("SE1"));
    SE1_->setRange(1, 999999);  // at most six digits
    auto* go = new QPushButton(QStringLiteral("Перейти"), this);
    go->setObjectName(QStringLiteral("SpeedButton1"));
    go->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btn1"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Номер строки:"), this));
    row->addWidget(SE1_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(go, &QPushButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(cancel, &QPushButton::clicked, this, &TForm2::btn1Click);
}

void TForm2::showEvent(QShowEvent* event) {
    // The value stays as last entered; the range follows the text.
    SE1_->setRange(1, std::max(1, editor_.lineCount()));
    QDialog::showEvent(event);
}

void TForm2::goToLine(int v) {
    if (v > editor_.lineCount()) return;
    editor_.gotoLineAndCenter(std::max(v, 1));
}

void TForm2::SpeedButton1Click() { goToLine(SE1_->value()); }
void TForm2::btn1Click() { close(); }

} // namespace tw
