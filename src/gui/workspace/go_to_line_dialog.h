#pragma once
// The go-to-line dialog: a line number, "Перейти" and "Отмена".

#include <QDialog>

class QSpinBox;

namespace tw {

class CodeEditor;

class GoToLineDialog : public QDialog {
    Q_OBJECT
public:
    GoToLineDialog(CodeEditor& editor, QWidget* parent = nullptr);
    QSpinBox* lineSpin() const { return lineSpin_; }
    // Goes to line v when the text has that many lines (below 1: line 1).
    void goToLine(int v);

public slots:
    void go();  // "Перейти"
    void cancel();          // "Отмена"

protected:
    void showEvent(QShowEvent* event) override;

private:
    CodeEditor& editor_;
    QSpinBox* lineSpin_;
};

} // namespace tw
