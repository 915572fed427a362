#pragma once
// The modeless find and replace dialogs, with the search options (match case, whole
// word, regular expression) in each.

#include "search/search_pattern.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tw {

// The three option boxes a search dialog shows.
class SearchOptionsBox : public QWidget {
    Q_OBJECT
public:
    explicit SearchOptionsBox(QWidget* parent = nullptr);
    SearchOptions options() const;
    // Shows options without raising changed().
    void setOptions(const SearchOptions& options);

signals:
    // The user ticked or cleared a box.
    void changed(const tw::SearchOptions& options);

private:
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QCheckBox* regularExpression_;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);
    bool downward() const;
    void setDownward(bool down);
    SearchOptionsBox* optionsBox() const { return options_; }
    // "Найти все" is offered in the scopes that can list their matches.
    void setFindAllShown(bool shown);

signals:
    void findNext();
    void findAll();
    void textChanged();
    void hidden();

protected:
    // Every time the dialog opens, the caret is in its text field.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLineEdit* what_;
    SearchOptionsBox* options_;
    QPushButton* findAll_;
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
    SearchOptionsBox* optionsBox() const { return options_; }

signals:
    void findNext();
    void replace();
    void replaceAll();
    void textChanged();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLineEdit* what_;
    QLineEdit* with_;
    SearchOptionsBox* options_;
};

} // namespace tw
