#pragma once
// The assignment dialog "Назначить": a modifier (ALT, CONTROL, SHIFT), a letter A-Z and
// the text to bind to them. "OK" adds the row to the hotkey list window's table. The
// dialog keeps its last contents between openings.

#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace tw {

class Prompter;
class SnippetKeysWindow;

class AssignKeyDialog : public QWidget {
    Q_OBJECT
public:
    AssignKeyDialog(SnippetKeysWindow& list, Prompter& prompter, QWidget* parent = nullptr);

    // The list position of the modifier box's text; -1 when it names no modifier.
    int modifierPosition() const;
    QString modifierText() const;
    QString letterText() const;
    // The text box's content with CR LF line breaks.
    QString text() const;
    // Key code and registration flags of the chosen combination (0: none).
    int keyCodeAt() const;
    int modifiersAt() const;
    // True when the chosen combination is reserved.
    bool isReservedCombination() const;

    QComboBox* modifierBox() const { return modifierBox_; }
    QComboBox* letterBox() const { return letterBox_; }
    QPlainTextEdit* textEdit() const { return textEdit_; }
    QPushButton* okButton() const { return ok_; }

public slots:
    void confirm();  // "OK"

private:
    SnippetKeysWindow& list_;
    Prompter& prompter_;
    QComboBox* modifierBox_;
    QComboBox* letterBox_;
    QPlainTextEdit* textEdit_;
    QPushButton* ok_;
};

// The message for a modifier or letter outside the lists.
inline const QString kChooseCombination =
    QStringLiteral("Выберите модификатор ALT, CONTROL или SHIFT и букву от A до Z");

} // namespace tw
