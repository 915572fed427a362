#pragma once
// The go-to-line dialog: a line number, "Перейти" and "Отмена".

#include <QDialog>

class QSpinBox;

namespace tw {

class SynMemo;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(SynMemo& editor, QWidget* parent = nullptr);
    QSpinBox* SE1() const { return SE1_; }
    // Goes to line v when the text has that many lines (below 1: line 1).
    void goToLine(int v);

public slots:
    void SpeedButton1Click();  // "Перейти"
    void btn1Click();          // "Отмена"

protected:
    void showEvent(QShowEvent* event) override;

private:
    SynMemo& editor_;
    QSpinBox* SE1_;
};

} // namespace tw
