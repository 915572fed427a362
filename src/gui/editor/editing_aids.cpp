#include "editor/editing_aids.h"

#include "editor/code_editor.h"
#include "editor/highlighter_lexer.h"
#include "tree/page.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>

namespace tw {

// ---- Caret line colour ----

CaretLineColour::CaretLineColour(CodeEditor& editor, std::function<const PageRecord*()> pageOnScreen)
    : QObject(&editor), editor_(editor), pageOnScreen_(std::move(pageOnScreen)) {
    connect(&editor, &CodeEditor::painted, this, &CaretLineColour::update);
    connect(&editor, &QsciScintilla::cursorPositionChanged, this, &CaretLineColour::update);
}

void CaretLineColour::setColours(std::uint32_t line, std::uint32_t bookmarkedLine) {
    line_ = line;
    marked_ = bookmarkedLine;
    const QColor colour = HighlighterLexer::toQColor(line_);
    if (colour.isValid()) editor_.setActiveLineColor(colour);
}

void CaretLineColour::update() {
    bool marked = false;
    if (const PageRecord* page = pageOnScreen_()) {
        const int line = editor_.caretPos().line;
        for (const Bookmark& m : page->bookmarks) marked = marked || m.line == line;
    }
    const QColor colour = HighlighterLexer::toQColor(marked ? marked_ : line_);
    if (colour.isValid() && colour != editor_.activeLineColor()) editor_.setActiveLineColor(colour);
}

// ---- Indentation ----

Indentation::Indentation(CodeEditor& editor, std::function<void()> changedByProgram)
    : QObject(&editor), editor_(editor), changed_(std::move(changedByProgram)) {}

void Indentation::indent() {
    if (editor_.selectionLength() == 0) return;
    const int s = editor_.selectionStart(), e = editor_.selectionEnd();
    const int ls = editor_.offsetToPos(s).line, le = editor_.offsetToPos(e).line;
    editor_.beginUndoAction();  // one undoable step
    for (int line = ls; line <= le; ++line) editor_.replaceLine(line - 1, ' ' + editor_.lineAt(line - 1));
    editor_.endUndoAction();
    editor_.setSelectionStart(s + 1);
    editor_.setSelectionEnd(e + (le - ls + 1));
    changed_();
}

void Indentation::unindent() {
    if (editor_.selectionLength() == 0) return;
    const int s = editor_.selectionStart(), e = editor_.selectionEnd();
    const int ls = editor_.offsetToPos(s).line, le = editor_.offsetToPos(e).line;
    auto startsBlank = [this](int line) {
        const std::string text = editor_.lineAt(line - 1);
        return !text.empty() && text[0] == ' ';
    };
    editor_.beginUndoAction();  // one undoable step
    for (int line = ls; line <= le; ++line)
        if (startsBlank(line)) editor_.replaceLine(line - 1, editor_.lineAt(line - 1).substr(1));
    editor_.endUndoAction();
    if (startsBlank(ls)) editor_.setSelectionStart(s - 1);
    if (startsBlank(le)) editor_.setSelectionEnd(e - (le - ls) - 1);
    changed_();
}

// ---- Keyboard layout by context ----

LayoutSwitcher::LayoutSwitcher(CodeEditor& editor, QAction& toggle)
    : QObject(&editor), editor_(editor), toggle_(toggle) {
    connect(
        &editor, &CodeEditor::keyTyped, this,
        [this](QChar ch, bool& cancel) {
            if (toggle_.isChecked()) switchByContext(ch, cancel);
        },
        Qt::DirectConnection);
}

void LayoutSwitcher::switchByContext(QChar, bool& cancel) {
    const QString line = QString::fromStdString(editor_.caretLineText());
    if (line.size() < 10) return;
    const int x = editor_.caretPos().column;
    int latin = 0, blank = 0, other = 0;
    for (int p = x - 5; p <= x + 5; ++p) {
        if (p < 1 || p > line.size()) continue;
        const QChar c = line[p - 1];
        if (c == u' ') ++blank;
        else if (c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("().[]").contains(c))) ++latin;
        else ++other;
    }
    if (blank >= other && blank >= latin) return;
    if (latin >= other) {
        if (layouts_->currentLanguage() == kRussianLayout) cancel = true;
        layouts_->activate(kEnglishLayout);
    } else {
        if (layouts_->currentLanguage() == kEnglishLayout) cancel = true;
        layouts_->activate(kRussianLayout);
    }
}

// ---- Date and time ----

QString dateTimeText(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime t = when.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0) text += u' ' + locale.toString(t, QLocale::LongFormat);
    return text;
}

void insertDateTime(CodeEditor& editor) {
    editor.replaceSelection(dateTimeText(QDateTime::currentDateTime()).toStdString());
}

} // namespace tw
