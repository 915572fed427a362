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
class TForm6;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    TForm7(TForm6& list, Prompter& prompter, QWidget* parent = nullptr);

    // The list position of the modifier box's text; -1 when it names no modifier.
    int modifierPosition() const;
    QString modifierText() const;
    QString letterText() const;
    // The text box's content with CR LF line breaks.
    QString text() const;
    // Key code and registration flags of the chosen combination (0: none).
    int ToShortCut() const;
    int ToModifiers() const;
    // True when the chosen combination is reserved.
    bool CheckKeys() const;

    QComboBox* ComboBox1() const { return ComboBox1_; }
    QComboBox* ComboBox2() const { return ComboBox2_; }
    QPlainTextEdit* Memo1() const { return Memo1_; }
    QPushButton* SpeedButton1() const { return ok_; }

public slots:
    void SpeedButton1Click();  // "OK"

private:
    TForm6& list_;
    Prompter& prompter_;
    QComboBox* ComboBox1_;
    QComboBox* ComboBox2_;
    QPlainTextEdit* Memo1_;
    QPushButton* ok_;
};

// The message for a modifier or letter outside the lists.
inline const QString kChooseCombination =
    QStringLiteral("Выберите модификатор ALT, CONTROL или SHIFT и букву от A до Z");

} // namespace tw
