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

// What the find and replace dialogs share: the text field "Что:", the option boxes, and the
// caret put in the text field every time the dialog opens.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    QString text() const;
    void setText(const QString& text);
    SearchOptionsBox* optionsBox() const { return options_; }

signals:
    void findNext();
    void textChanged();
    void hidden();

protected:
    // whatName is the object name of the text field.
    SearchDialog(const QString& objectName, const QString& title, const QString& whatName, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    QLineEdit* what_;
    SearchOptionsBox* options_;
};

class FindDialog : public SearchDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);
    bool downward() const;
    void setDownward(bool down);
    // "Найти все" is offered in the scopes that can list their matches.
    void setFindAllShown(bool shown);

signals:
    void findAll();

private:
    QPushButton* findAll_;
    QRadioButton* down_;
    QRadioButton* up_;
};

class ReplaceDialog : public SearchDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget* parent = nullptr);
    QString replacement() const;
    void setReplacement(const QString& text);

signals:
    void replace();
    void replaceAll();

private:
    QLineEdit* with_;
};

} // namespace tw
