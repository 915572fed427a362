#pragma once
// The modeless find and replace dialogs. Matching is always exact and case-sensitive,
// so they offer no options that would not act.

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace tw {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);
    bool downward() const;
    void setDownward(bool down);

signals:
    void findNext();

protected:
    // Every time the dialog opens, the caret is in its text field.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* what_;
    QRadioButton* down_;
    QRadioButton* up_;
};

class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget* parent = nullptr);
    QString text() const;
    QString replacement() const;
    void setText(const QString& text);
    void setReplacement(const QString& text);

signals:
    void findNext();
    void replace();
    void replaceAll();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* what_;
    QLineEdit* with_;
};

} // namespace tw
