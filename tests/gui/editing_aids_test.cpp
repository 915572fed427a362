// Bracket highlighting, caret-line colours, indenting, layout detection, date, undo and
// go to line.
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"
#include "workspace/go_to_line_dialog.h"

#include <QAction>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QTabBar>
#include <QTemporaryDir>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class FakeLayouts : public KeyboardLayouts {
public:
    int current = kRussianLayout;
    std::vector<int> activated;
    int currentLanguage() const override { return current; }
    bool activate(int language) override {
        activated.push_back(language);
        current = language;
        return true;
    }
};

class EditingAids : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    Node* page = nullptr;

    CodeEditor* ed() { return form->editor(); }
    void openText(const std::string& text, int lan = 1) {
        page = form->treeEditor().addPage(form->tree().root(), "p");
        page->page->text = text;
        page->page->language = static_cast<std::uint8_t>(lan);
        form->selectNode(page);
        form->workspace().openInNewTab();
    }
    int offsetOf(int line, int column) {  // 1-based
        int offset = 0;
        for (int l = 0; l < line - 1; ++l) offset += static_cast<int>(ed()->lineAt(l).size()) + 2;
        return offset + column - 1;
    }
    void select(int fromLine, int fromColumn, int toLine, int toColumn) {
        ed()->setSelectionStart(offsetOf(fromLine, fromColumn));
        ed()->setSelectionEnd(offsetOf(toLine, toColumn));
    }
};

} // namespace

TEST_F(EditingAids, BracketsAreHighlightedOnlyOnSymbols) {
    openText("x := (1 + 2);\r\nWriteLn('(a)'); { (b) }\r\nif a < b then f(x)");
    struct Case {
        int line, column;  // caret
        int first, second;  // expected highlight, offsets (-1: none)
    };
    const int l3 = offsetOf(3, 1);
    for (const Case& c : {Case{1, 6, 5, 11},             // caret on "("
                          Case{1, 7, 5, 11},             // caret right after "("
                          Case{1, 13, 11, 5},            // right after ")"
                          Case{1, 3, -1, -1},            // no bracket near
                          Case{2, 10, -1, -1},           // "(" inside a string
                          Case{2, 19, -1, -1},           // "(" inside a comment
                          Case{3, 6, -1, -1},            // "<" is no pair
                          Case{3, 18, l3 + 17, l3 + 15}}) {  // caret on the last ")"
        ed()->setSelectionStart(offsetOf(c.line, c.column));
        ed()->updateBracketHighlight();
        EXPECT_EQ(ed()->highlightedBrackets(), (std::pair<int, int>{c.first, c.second}))
            << "line " << c.line << " column " << c.column;
    }
    select(1, 6, 1, 8);  // with a selection nothing is highlighted
    ed()->updateBracketHighlight();
    EXPECT_EQ(ed()->highlightedBrackets(), (std::pair<int, int>{-1, -1}));
    ed()->setSelectionStart(5);
    ed()->setHighlighter(nullptr);  // no highlighter: nothing
    ed()->updateBracketHighlight();
    EXPECT_EQ(ed()->highlightedBrackets(), (std::pair<int, int>{-1, -1}));
}

TEST_F(EditingAids, CaretLineColourShowsABookmarkedLine) {
    openText("a\r\nb\r\nc\r\nd");
    ed()->setCaretLine(3);
    form->findChild<QAction*>("Assign0")->trigger();
    form->caretLineColour().update();
    EXPECT_EQ(ed()->activeLineColor(), QColor(198, 253, 221));
    ed()->setCaretLine(4);
    form->caretLineColour().update();
    EXPECT_EQ(ed()->activeLineColor(), QColor(239, 239, 195));
}

TEST_F(EditingAids, IndentAndUnindentSelectedLines) {
    openText("l1\r\nl2 line\r\nl3 line\r\nl4 line\r\nl5");
    select(2, 1, 4, 3);
    const int s = ed()->selectionStart(), e = ed()->selectionEnd();
    form->indentation().indent();
    EXPECT_EQ(page->page->text, "l1\r\n l2 line\r\n l3 line\r\n l4 line\r\nl5");
    EXPECT_EQ(ed()->selectionStart(), s + 1);
    EXPECT_EQ(ed()->selectionEnd(), e + 3);
    EXPECT_EQ(form->tabs()->tabText(0), "p");  // no modified marker

    select(4, 1, 5, 1);  // ending at column 1 of line 5 still takes line 5
    form->indentation().indent();
    EXPECT_EQ(page->page->text, "l1\r\n l2 line\r\n l3 line\r\n  l4 line\r\n l5");

    ed()->setSelectionStart(0);
    form->indentation().indent();  // no selection: nothing
    EXPECT_EQ(page->page->text, "l1\r\n l2 line\r\n l3 line\r\n  l4 line\r\n l5");
}

TEST_F(EditingAids, UnindentKeepsEmptyLinesAndMovesTheSelectionByTheRules) {
    openText("  a\r\n b");
    select(1, 1, 2, 3);
    form->indentation().unindent();
    EXPECT_EQ(page->page->text, " a\r\nb");
    EXPECT_EQ(ed()->selectionStart(), 0);  // one left of the old start, which was the text's start
    EXPECT_FALSE(ed()->hasSelection());

    ed()->setWholeText(" x\r\n\r\n y");
    select(1, 1, 3, 2);
    form->indentation().unindent();
    EXPECT_EQ(ed()->wholeText(), "x\r\n\r\ny");
}

TEST_F(EditingAids, LayoutDetectionSwallowsOnceAndSwitches) {
    FakeLayouts layouts;
    form->setKeyboardLayouts(&layouts);
    openText("call(f(x), g(y)).done\r\nкороткая\r\nпривет мир как дела\r\n123456789");
    form->findChild<QAction*>("autoLayout")->setChecked(true);
    ed()->setSelectionStart(offsetOf(1, 8));
    const std::string before = ed()->wholeText();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ы"));
    QCoreApplication::sendEvent(ed(), &typed);  // typed in the Russian layout among latin text
    EXPECT_EQ(ed()->wholeText(), before);
    EXPECT_EQ(layouts.activated, std::vector<int>{kEnglishLayout});
    QTest::keyClicks(ed(), QStringLiteral("s"));  // typed again: inserted
    EXPECT_NE(ed()->wholeText(), before);

    bool cancel = false;
    ed()->setSelectionStart(offsetOf(3, 8));  // Cyrillic around the caret
    form->layoutSwitcher().switchByContext(u'q', cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(layouts.current, kRussianLayout);

    cancel = false;
    layouts.activated.clear();
    ed()->setSelectionStart(offsetOf(4, 5));  // a line of nine characters never switches
    form->layoutSwitcher().switchByContext(u'x', cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(layouts.activated.empty());
}

TEST_F(EditingAids, DateReplacesTheSelectionAndUndoTakesItBack) {
    openText("abc");
    select(1, 2, 1, 3);
    insertDateTime(*form->editor());
    const std::string text = ed()->wholeText();
    EXPECT_EQ(text.front(), 'a');
    EXPECT_EQ(text.back(), 'c');
    EXPECT_NE(text.find(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString()),
              std::string::npos);
    EXPECT_EQ(recordText(*form, page), text);
    EXPECT_EQ(form->tabs()->tabText(0), "p*");
    form->editor()->undo();
    EXPECT_EQ(ed()->wholeText(), "abc");
    EXPECT_EQ(recordText(*form, page), "abc");

    const QDateTime midnight(QDate(2024, 3, 5), QTime(0, 0, 0));
    EXPECT_EQ(dateTimeText(midnight), QLocale::system().toString(midnight.date(), QLocale::ShortFormat));
}

TEST_F(EditingAids, GoToLine) {
    openText("1\r\n2\r\n3\r\n4");
    GoToLineDialog* dialog = form->goToLineDialog();
    dialog->goToLine(3);
    EXPECT_EQ(ed()->caretPos().line, 3);
    dialog->goToLine(0);
    EXPECT_EQ(ed()->caretPos().line, 1);
    dialog->goToLine(9);  // beyond the text: nothing
    EXPECT_EQ(ed()->caretPos().line, 1);
    form->showGoToLineModal();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->findChild<QSpinBox*>("lineSpin")->maximum(), 4);
}
