#include "editor/code_editor.h"

#include "editor/catalogue.h"
#include "editor/highlighter_lexer.h"

#include <QFile>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

namespace tw {
void PrintTo(const EditorPos& pos, std::ostream* os) { *os << "(col " << pos.column << ", line " << pos.line << ")"; }
} // namespace tw

namespace {

using tw::EditorPos;

class CodeEditorTest : public testing::Test {
protected:
    void SetUp() override {
        memo.resize(480, 320);
        memo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    }
    tw::CodeEditor memo;
};

TEST_F(CodeEditorTest, WholeTextHasCrLfBreaksAndNoTrailingEmptyLine) {
    struct Case {
        std::string input;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n", {}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\r\n\rb", {"a", "", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"\xD0\xB6\xD1\x8B\n\tx", {"\xD0\xB6\xD1\x8B", "\tx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        memo.setWholeText(c.input);
        std::string joined;
        for (size_t i = 0; i < c.lines.size(); ++i) joined += (i ? "\r\n" : "") + c.lines[i];
        EXPECT_EQ(memo.wholeText(), joined);
        ASSERT_EQ(memo.lineCount(), static_cast<int>(c.lines.size()));
        for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(memo.lineAt(static_cast<int>(i)), c.lines[i]);
        EXPECT_EQ(memo.lineAt(-1), "");
        EXPECT_EQ(memo.lineAt(memo.lineCount()), "");
    }
}

// A large page opens whatever its line ends (the editor once converted LF alone in quadratic
// time: a 2 MB page did not open in minutes) and holds its lines joined by CR LF.
TEST_F(CodeEditorTest, LargePagesOpenWithEveryKindOfLineEnd) {
    const std::string line = "    total += s[i] == '\\n' ? 1 : 0; // \xD1\x81\xD1\x87\xD1\x91\xD1\x82";
    const int lines = static_cast<int>(2 * 1024 * 1024 / line.size());
    const char* const breaks[] = {"\n", "\r", "\r\n", "mixed"};
    const char* const mixed[] = {"\n", "\r\n", "\r"};
    std::string expected;
    for (int i = 0; i < lines; ++i) expected += (i ? "\r\n" : "") + line;
    for (const char* kind : breaks) {
        SCOPED_TRACE(kind);
        std::string page;
        for (int i = 0; i < lines; ++i) page += line + (std::string_view(kind) == "mixed" ? mixed[i % 3] : kind);
        memo.setWholeText(page);
        EXPECT_EQ(memo.lineCount(), lines);
        EXPECT_TRUE(memo.wholeText() == expected);  // no dump of 2 MB on failure
        EXPECT_EQ(memo.lineAt(lines - 1), line);
        if (std::string_view(kind) != "\n") continue;
        // A text file is read the same way.
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("lf.txt"));
        {
            QFile file(name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(page.data(), static_cast<qint64>(page.size()));
        }
        memo.clearAll();
        ASSERT_TRUE(memo.loadLinesFromFile(name));
        EXPECT_TRUE(memo.wholeText() == expected);
    }
}

// The editor's styles are the tokenizer's attributes byte by byte: after a load (with a
// comment over many lines and a line longer than what the lexer reads at once), and after
// an edit that changes the state of every later line.
TEST_F(CodeEditorTest, StylesFollowTheTokenizerOverTheWholeText) {
    const std::unique_ptr<tw::Highlighter> cpp = tw::makeHighlighter(1);
    memo.setHighlighter(cpp.get());
    std::string text = "int a = 0x1F; /* open\n";
    for (int i = 0; i < 2000; ++i) text += "  still comment " + std::to_string(i) + "\n";
    text += "*/ x = \"s\";\n" + std::string(150 * 1024, 'w') + " + 'c';\n#define X 1\nreturn a;";
    memo.setWholeText(text);
    auto expectStylesMatch = [&] {
        const std::string whole = memo.wholeText();
        // Styles what is not styled yet (from 0 it would restyle everything).
        const long styledTo = memo.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
        memo.SendScintilla(QsciScintillaBase::SCI_COLOURISE, static_cast<unsigned long>(styledTo), -1L);
        std::vector<int> expected(whole.size(), -1);
        for (const tw::Token& t : cpp->tokenize(whole))
            std::fill_n(expected.begin() + t.start, t.length, t.attribute);
        int mismatches = 0, first = -1;
        for (int i = 0; i < static_cast<int>(whole.size()); ++i) {
            if (memo.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, i) == expected[static_cast<size_t>(i)]) continue;
            if (first < 0) first = i;
            ++mismatches;
        }
        EXPECT_EQ(mismatches, 0) << "first at byte " << first;
    };
    expectStylesMatch();
    memo.setSelectionStart(0);
    memo.replaceSelection("/* ");  // everything up to the first */ is comment now
    expectStylesMatch();
    // Styling from a line inside the comment starts from the state the line before left.
    memo.setSelectionStart(static_cast<int>(memo.wholeText().find("still comment 1000")));
    memo.replaceSelection("*/ ");
    expectStylesMatch();
    memo.setHighlighter(nullptr);
}

// A jump to the end of a large text styles only the last screens; the lines skipped get
// their styles when they are shown (or when the caret's bracket needs them), the same
// styles a full pass gives, also after an edit among them.
TEST_F(CodeEditorTest, LinesSkippedByAJumpAreStyledWhenShown) {
    const std::unique_ptr<tw::Highlighter> cpp = tw::makeHighlighter(1);
    memo.setHighlighter(cpp.get());
    std::string text = "/* a comment over the first lines\n";
    for (int i = 0; i < 40000; ++i) text += (i == 20 ? "*/ int x = 1; // line " : "int x = 1; // line ") + std::to_string(i) + "\n";
    text += "/* open at the end\nstill\n";
    memo.setWholeText(text);
    auto* lexer = qobject_cast<tw::HighlighterLexer*>(memo.lexer());
    ASSERT_NE(lexer, nullptr);
    auto mismatchesInLines = [&](long first, long last) {
        const std::string whole = memo.wholeText();
        std::vector<int> expected(whole.size(), -1);
        for (const tw::Token& t : cpp->tokenize(whole)) std::fill_n(expected.begin() + t.start, t.length, t.attribute);
        const long from = memo.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, first);
        const long to = memo.SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, last);
        int mismatches = 0;
        for (long i = from; i < to; ++i)
            if (memo.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, i) != expected[static_cast<size_t>(i)]) ++mismatches;
        return mismatches;
    };
    const long lastLine = memo.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) - 1;
    memo.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    memo.repaint();
    ASSERT_FALSE(lexer->gaps().empty());  // the lines before the end were only scanned
    EXPECT_EQ(mismatchesInLines(lastLine - 30, lastLine), 0);

    // Shown: the middle, then the top (the end of the first comment).
    for (long line : {20000L, 0L}) {
        memo.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, line);
        memo.repaint();
        EXPECT_EQ(mismatchesInLines(line, line + 10), 0) << line;
    }
    // An edit inside the skipped lines: a comment opened there runs on to the next "*/".
    memo.setSelectionStart(static_cast<int>(memo.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 30000L)));
    memo.replaceSelection("/*");
    memo.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 29995L);
    memo.repaint();
    EXPECT_EQ(mismatchesInLines(29995, 30010), 0);
    // Every line shown at last: the whole text has the styles of a full pass.
    lexer->styleLinesShown(0, lastLine);
    const long styledTo = memo.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    memo.SendScintilla(QsciScintillaBase::SCI_COLOURISE, static_cast<unsigned long>(styledTo), -1L);
    lexer->styleLinesShown(0, lastLine);
    EXPECT_TRUE(lexer->gaps().empty());
    EXPECT_EQ(mismatchesInLines(0, lastLine), 0);
    memo.setHighlighter(nullptr);
}

TEST_F(CodeEditorTest, OnlyUserEditsRaiseChangedAndLoadsClearUndo) {
    QSignalSpy changed(&memo, &tw::CodeEditor::changed);
    memo.setWholeText("ab");
    QTest::keyClicks(&memo, "x");
    ASSERT_EQ(memo.wholeText(), "xab");
    EXPECT_FALSE(changed.isEmpty());

    changed.clear();
    memo.undo();
    EXPECT_EQ(memo.wholeText(), "ab");
    EXPECT_FALSE(changed.isEmpty());

    QTest::keyClicks(&memo, "y");
    changed.clear();
    memo.setWholeText("new\ntext");
    memo.clearAll();
    memo.setWholeText("loaded");
    memo.undo();
    EXPECT_EQ(memo.wholeText(), "loaded");
    EXPECT_TRUE(changed.isEmpty());
}

TEST_F(CodeEditorTest, KeyTypedCanCancelTheCharacter) {
    QString seen;
    QObject::connect(&memo, &tw::CodeEditor::keyTyped, [&seen](QChar ch, bool& cancel) {
        seen += ch;
        cancel = ch == u'q';
    });
    memo.setWholeText("");
    QTest::keyClicks(&memo, "aqb");
    EXPECT_EQ(seen, QStringLiteral("aqb"));
    EXPECT_EQ(memo.wholeText(), "ab");
}

TEST_F(CodeEditorTest, SelectionOffsetsAreBytesAndSnapToCharacters) {
    // "жы" and "кот" take two bytes a character; each break takes two.
    const std::string cyr = "\xD0\xB6\xD1\x8B\r\n\xD0\xBA\xD0\xBE\xD1\x82";
    struct Case {
        std::string text;
        int start, end;          // asked for
        int wantStart, wantEnd;  // got
        std::string selected;
        EditorPos endPos;
    };
    const Case cases[] = {
        {"ab\r\ncd", 1, 5, 1, 5, "b\r\nc", {2, 2}},
        {"ab\r\ncd", 0, 3, 0, 2, "ab", {3, 1}},  // inside the break: back to its CR
        {"ab\r\ncd", -4, 99, 0, 6, "ab\r\ncd", {3, 2}},
        {cyr, 2, 8, 2, 8, "\xD1\x8B\r\n\xD0\xBA", {2, 2}},
        {cyr, 3, 11, 2, 10, "\xD1\x8B\r\n\xD0\xBA\xD0\xBE", {3, 2}},  // inside characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " " << c.start << ".." << c.end);
        memo.setWholeText(c.text);
        memo.setSelectionStart(c.start);
        EXPECT_FALSE(memo.hasSelection());
        EXPECT_EQ(memo.caretPos(), memo.offsetToPos(c.wantStart));
        for (int way = 0; way < 2; ++way) {
            memo.setSelectionStart(c.start);
            if (way == 0) memo.setSelectionEnd(c.end);
            else memo.setSelectionLength(c.end - c.start);
            EXPECT_EQ(memo.selectionStart(), c.wantStart);
            EXPECT_EQ(memo.selectionEnd(), c.wantEnd);
            EXPECT_EQ(memo.selectionLength(), c.wantEnd - c.wantStart);
            EXPECT_EQ(memo.selectionText(), c.selected);
            EXPECT_EQ(memo.offsetToPos(c.end), c.endPos);
            EXPECT_EQ(memo.caretPos(), c.endPos);
        }
    }
}

TEST_F(CodeEditorTest, ReplaceSelectionIsOneUndoableEdit) {
    QSignalSpy changed(&memo, &tw::CodeEditor::changed);
    const std::string original = "one two\r\nthree";
    memo.setWholeText(original);
    memo.setSelectionStart(4);
    memo.setSelectionLength(3);
    memo.replaceSelection("2\nx");
    EXPECT_EQ(memo.wholeText(), "one 2\r\nx\r\nthree");
    EXPECT_EQ(memo.caretPos(), (EditorPos{2, 2}));
    EXPECT_FALSE(memo.hasSelection());
    EXPECT_FALSE(changed.isEmpty());

    memo.undo();
    EXPECT_EQ(memo.wholeText(), original);
}

TEST_F(CodeEditorTest, ReplaceLineIsUndoableButNoChangeAndKeepsTheHistory) {
    memo.setWholeText("a\nb\nc");
    QTest::keyClicks(&memo, "x");
    QSignalSpy changed(&memo, &tw::CodeEditor::changed);
    memo.beginUndoAction();
    memo.replaceLine(1, "B");
    memo.replaceLine(2, "C");
    memo.endUndoAction();
    memo.replaceLine(-1, "?");
    memo.replaceLine(3, "?");
    EXPECT_EQ(memo.wholeText(), "xa\r\nB\r\nC");
    EXPECT_TRUE(changed.isEmpty());
    memo.undo();  // both lines in one step, and an undo is a change
    EXPECT_EQ(memo.wholeText(), "xa\r\nb\r\nc");
    EXPECT_FALSE(changed.isEmpty());
    memo.undo();  // the typing before them is still there to undo
    EXPECT_EQ(memo.wholeText(), "a\r\nb\r\nc");
}

TEST_F(CodeEditorTest, CaretMovesAreClampedAndGotoLineCentres) {
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\n";
    memo.setWholeText("\tab\n" + text);  // 101 lines

    memo.setCaretColumn(2);
    EXPECT_EQ(memo.caretPos(), (EditorPos{2, 1}));
    EXPECT_EQ(memo.caretDisplayPos(), (EditorPos{9, 1}));  // behind a tab of width 8
    EXPECT_EQ(memo.textToDisplay({3, 1}), (EditorPos{10, 1}));
    EXPECT_EQ(memo.caretLineText(), "\tab");
    memo.setCaretColumn(0);
    EXPECT_EQ(memo.caretPos(), (EditorPos{1, 1}));
    memo.setCaretColumn(50);
    EXPECT_EQ(memo.caretPos(), (EditorPos{4, 1}));
    memo.setCaretLine(500);
    EXPECT_EQ(memo.caretPos(), (EditorPos{4, 101}));
    EXPECT_EQ(memo.caretLineText(), "line 100");

    const struct {
        int asked, line;
    } gotos[] = {{51, 51}, {0, 1}, {-7, 1}, {1000, 101}};
    for (const auto& g : gotos) {
        SCOPED_TRACE(g.asked);
        memo.setSelectionStart(3);
        memo.setSelectionLength(4);
        memo.gotoLineAndCenter(g.asked);
        EXPECT_EQ(memo.caretPos(), (EditorPos{1, g.line}));
        EXPECT_FALSE(memo.hasSelection());
    }
    memo.gotoLineAndCenter(51);
    const int middle = memo.firstVisibleLine() + static_cast<int>(memo.SendScintilla(tw::CodeEditor::SCI_LINESONSCREEN)) / 2;
    EXPECT_NEAR(middle, 50, 1);
}

TEST_F(CodeEditorTest, MatchingBracket) {
    memo.setWholeText("\xD0\xB6(a[1]) {<x>\n}\n)");
    const struct {
        EditorPos at, partner;
    } cases[] = {
        {{2, 1}, {7, 1}}, {{7, 1}, {2, 1}}, {{4, 1}, {6, 1}}, {{9, 1}, {1, 2}}, {{1, 2}, {9, 1}},
        {{10, 1}, {12, 1}}, {{1, 1}, {}}, {{1, 3}, {}}, {{13, 1}, {}}, {{1, 9}, {}}, {{0, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.at));
        EXPECT_EQ(memo.matchingBracket(c.at), c.partner);
    }
}

TEST_F(CodeEditorTest, BookmarksAreDrawnWhenVisibleAndClearedWithTheText) {
    ASSERT_EQ(tw::CodeEditor::bookmarkPictures().size(), 10u);
    for (const QPixmap& picture : tw::CodeEditor::bookmarkPictures()) EXPECT_EQ(picture.size(), QSize(16, 16));

    memo.setWholeText("a\nb\nc");
    const int bare = memo.gutterWidth();
    tw::Bookmark shown{1, 1, 0, true, false, 1};
    tw::Bookmark hidden{2, 1, 7, false, false, 2};
    tw::Bookmark last{3, 1, 9, true, false, 3};
    tw::Bookmark offText{99, 1, 2, true, false, 4};
    tw::Bookmark badImage{2, 1, 12, true, false, 5};
    memo.setBookmarks({shown, hidden, last, offText, badImage});
    ASSERT_EQ(memo.bookmarkCount(), 5);
    EXPECT_EQ(memo.bookmark(1).imageIndex, 7);
    EXPECT_EQ(memo.bookmark(4).number, 5);
    EXPECT_EQ(memo.bookmark(5).number, -1);  // a fresh record outside the range
    EXPECT_EQ(memo.markersAtLine(0), 1u << 0);
    EXPECT_EQ(memo.markersAtLine(1), 0u);
    EXPECT_EQ(memo.markersAtLine(2), 1u << 9);
    EXPECT_GT(memo.gutterWidth(), bare);

    memo.addBookmark({2, 1, 3, true, false, 6});
    EXPECT_EQ(memo.bookmarkCount(), 6);
    EXPECT_EQ(memo.markersAtLine(1), 1u << 3);

    memo.setWholeText("a\nb\nc");
    EXPECT_EQ(memo.bookmarkCount(), 0);
    EXPECT_EQ(memo.markersAtLine(0), 0u);
    EXPECT_EQ(memo.gutterWidth(), bare);
}

TEST_F(CodeEditorTest, DisplayCellsAndRepaints) {
    memo.setWholeText("\tab\nx");
    // Columns 1..8 are the tab, 9 and 10 the letters, 11 on past the end: each one cell on.
    const QPoint first = memo.displayToPixel({1, 1});
    EXPECT_GE(first.x(), memo.gutterWidth());
    const double cell = (memo.displayToPixel({16, 1}).x() - first.x()) / 15.0;
    ASSERT_GT(cell, 3.0);
    for (int column = 1; column < 16; ++column) {
        SCOPED_TRACE(column);
        const QPoint here = memo.displayToPixel({column, 1});
        EXPECT_EQ(here.y(), first.y());
        EXPECT_NEAR(memo.displayToPixel({column + 1, 1}).x() - here.x(), cell, 1.0);
    }
    EXPECT_EQ(memo.displayToPixel({1, 2}).y() - first.y(), memo.textHeight(0));

    QSignalSpy painted(&memo, &tw::CodeEditor::painted);
    const QColor next = memo.activeLineColor() == Qt::yellow ? Qt::cyan : Qt::yellow;
    memo.setActiveLineColor(next);
    EXPECT_EQ(memo.activeLineColor(), next);
    EXPECT_TRUE(painted.wait(2000));
}

TEST_F(CodeEditorTest, TextFilesInAndOut) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cp1251Name = dir.filePath(QStringLiteral("cp1251.txt"));
    {
        QFile file(cp1251Name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder("windows-1251");
        ASSERT_TRUE(encoder.isValid());
        file.write(encoder.encode(QStringLiteral(u"Привет\nмир\r\n")));
    }
    QSignalSpy changed(&memo, &tw::CodeEditor::changed);
    ASSERT_TRUE(memo.loadLinesFromFile(cp1251Name));
    EXPECT_EQ(QString::fromStdString(memo.wholeText()), QStringLiteral(u"Привет\r\nмир"));
    EXPECT_TRUE(changed.isEmpty());

    const QString utf8Name = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(memo.writeLinesToFile(utf8Name));
    memo.setWholeText("other");
    ASSERT_TRUE(memo.loadLinesFromFile(utf8Name));
    EXPECT_EQ(QString::fromStdString(memo.wholeText()), QStringLiteral(u"Привет\r\nмир"));

    QString error;
    EXPECT_FALSE(memo.loadLinesFromFile(dir.filePath(QStringLiteral("missing.txt")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QString::fromStdString(memo.wholeText()), QStringLiteral(u"Привет\r\nмир"));
}

} // namespace

TEST_F(CodeEditorTest, ANulByteInAPageKeepsTheRestOfItsText) {
    const std::string text("int a;\0int b;\r\nint c;", 21);
    memo.setWholeText(text);
    EXPECT_EQ(memo.wholeText(), text);
    EXPECT_EQ(memo.lineCount(), 2);
}
