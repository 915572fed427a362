#pragma once
// Small objects that each attach one behaviour to the code editor.

#include "platform/keyboard_layouts.h"

#include <QObject>
#include <cstdint>
#include <functional>

class QAction;
class QDateTime;

namespace tw {

class CodeEditor;
struct PageRecord;

// The caret line's background: one colour on a line that holds a bookmark of the page on
// screen, another elsewhere. Follows the caret and every repaint.
class CaretLineColour : public QObject {
    Q_OBJECT
public:
    CaretLineColour(CodeEditor& editor, std::function<const PageRecord*()> pageOnScreen);
    // Colours as settings values (0x00BBGGRR).
    void setColours(std::uint32_t line, std::uint32_t bookmarkedLine);
    std::uint32_t lineColour() const { return line_; }
    std::uint32_t bookmarkedLineColour() const { return marked_; }
    void update();

private:
    CodeEditor& editor_;
    std::function<const PageRecord*()> pageOnScreen_;
    std::uint32_t line_ = 0xC3EFEF;
    std::uint32_t marked_ = 0xDDFDC6;
};

// "Увеличить отступ" / "Уменьшить отступ": one blank more or less at the start of every
// selected line, the selection following the text.
class Indentation : public QObject {
    Q_OBJECT
public:
    // changedByProgram is called after each change, which the editor does not report itself.
    Indentation(CodeEditor& editor, std::function<void()> changedByProgram);
    void indent();
    void unindent();

private:
    CodeEditor& editor_;
    std::function<void()> changed_;
};

// "Автоматическое определение раскладки": while the toggle is on, a typed character
// switches the keyboard layout to the script of the text around the caret, and is
// swallowed when it was typed in the other one.
class LayoutSwitcher : public QObject {
    Q_OBJECT
public:
    LayoutSwitcher(CodeEditor& editor, QAction& toggle);
    void setKeyboardLayouts(KeyboardLayouts* layouts) { layouts_ = layouts ? layouts : &none_; }
    void switchByContext(QChar typed, bool& cancel);

private:
    CodeEditor& editor_;
    QAction& toggle_;
    NoKeyboardLayouts none_;
    KeyboardLayouts* layouts_ = &none_;
};

// The date and time as inserted: short date, and long time unless it is midnight.
QString dateTimeText(const QDateTime& when);
// "Вставить дату и время": replaces the selection as one edit.
void insertDateTime(CodeEditor& editor);

} // namespace tw
