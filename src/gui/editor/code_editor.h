#pragma once
// The one code editor of the main window, over QsciScintilla. The document is UTF-8
// with CR LF line breaks, so its whole text is exactly the bytes a page's Text holds,
// and an offset into it is a byte offset that counts each line break as two.

#include "tree/page.h"

#include "editor/highlighter.h"

#include <Qsci/qsciscintilla.h>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QTimer>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace tw {

// A place in the editor: 1-based line and 1-based column. In text coordinates the column
// counts the characters of the line; in display coordinates tabs are expanded to the tab
// width. (0, 0) stands for "no place".
struct EditorPos {
    int column = 0;
    int line = 0;
    bool operator==(const EditorPos&) const = default;
};

class CodeEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget* parent = nullptr);

    // The lines joined by CR LF, no break after the last.
    std::string wholeText() const;
    // The same into an existing string, reusing its buffer.
    void copyWholeTextInto(std::string& target) const;
    // Replaces the text without raising changed(): breaks of any kind become CR LF, a
    // break at the very end adds no line, the caret goes to the start, the view to the
    // top, the undo history is cleared and no bookmarks are shown any more.
    void setWholeText(const std::string& text);
    // No lines, no undo history, nothing modified, no bookmarks shown; no changed().
    void clearAll();

    // Reads a text file's lines into the editor as setWholeText does. A file that is not
    // valid UTF-8 is read as Windows-1251. False (with the system's error text) when the
    // file cannot be read; the editor then keeps its text.
    bool loadLinesFromFile(const QString& fileName, QString* error = nullptr, bool* replaced = nullptr);
    // Writes the lines with CR LF between them, in UTF-8.
    bool writeLinesToFile(const QString& fileName, QString* error = nullptr) const;

    // Lines, by 0-based index. An empty document has no lines; an index outside the
    // lines reads as "". replaceLine is the program's own change: it raises no changed(),
    // but it is recorded for undo like any edit (group several with beginUndoAction and
    // endUndoAction to undo them as one step). Breaks in the new text become CR LF.
    int lineCount() const;
    std::string lineAt(int index) const;
    void replaceLine(int index, const std::string& text);

    // The caret, in text and in display coordinates. Setting the line keeps the column
    // where the line is long enough; both clamp to the text (below 1 counts as 1), drop
    // the selection and scroll the caret into view.
    EditorPos caretPos() const;
    EditorPos caretDisplayPos() const;
    void setCaretLine(int line);
    void setCaretColumn(int column);
    std::string caretLineText() const;

    // The selection as byte offsets into wholeText(). Offsets are clamped to the text and
    // moved back to the start of the character they fall into. setSelectionStart drops
    // the selection and puts the caret there; setSelectionEnd selects from the start to
    // the offset; setSelectionLength selects that many bytes from the start. The caret
    // ends up at the end given and is scrolled into view.
    int selectionStart() const;
    int selectionEnd() const;
    int selectionLength() const;
    bool hasSelection() const;
    void setSelectionStart(int offset);
    void setSelectionEnd(int offset);
    void setSelectionLength(int length);
    // Text coordinates of an offset (clamped to the text).
    EditorPos offsetToPos(int offset) const;

    // The selected bytes, and their replacement as one undoable edit that raises
    // changed(); the caret goes behind the inserted text and nothing stays selected.
    // (undo() undoes the last edit or group and raises changed() too.)
    std::string selectionText() const;
    void replaceSelection(const std::string& text);

    // Caret to column 1 of the line (clamped to the text), no selection, and the line
    // scrolled to the middle of the view.
    void gotoLineAndCenter(int line);

    // Background of the line that holds the caret.
    QColor activeLineColor() const { return activeLineColor_; }
    void setActiveLineColor(const QColor& color);

    // Geometry for drawing over the editor. displayToPixel gives the top left of the
    // character cell in viewport coordinates, also for columns past the end of a line.
    EditorPos textToDisplay(EditorPos pos) const;
    QPoint displayToPixel(EditorPos pos) const;
    int gutterWidth() const;
    QColor editorBackground() const;
    QFont editorFont() const;

    // The partner of the bracket ( ) [ ] { } < > at a text position, or (0, 0) when the
    // position holds no bracket or the bracket has no partner.
    EditorPos matchingBracket(EditorPos pos) const;

    // Bookmarks shown in the gutter: each visible one at its line (1-based) with picture
    // imageIndex (0..9) of bookmarkPictures(). Records with another line or picture are kept
    // but not drawn. The bookmark margin is only as wide as a picture while one is drawn.
    void setBookmarks(const std::vector<tw::Bookmark>& marks);
    void clearBookmarks();
    void addBookmark(const tw::Bookmark& mark);
    int bookmarkCount() const { return static_cast<int>(bookmarks_.size()); }
    tw::Bookmark bookmark(int index) const;  // a default record for an index outside
    // The ten 16x16 bookmark pictures: flags numbered 1..5 and round badges numbered 6..9, 0.
    static const std::array<QPixmap, 10>& bookmarkPictures();
    // The margin the bookmarks are drawn in, and the marker number of picture k is k.
    static constexpr int kBookmarkMargin = 1;

    // Highlights the bracket at or just before the caret and its partner, bold black on a
    // light red, when it is a symbol of the highlighter (not inside a string or comment).
    void updateBracketHighlight();
    // The positions highlighted now (-1 when none).
    std::pair<int, int> highlightedBrackets() const { return brackets_; }

    // Colours the text with a highlighter of the program; nullptr leaves it plain.
    void setHighlighter(Highlighter* highlighter);
    Highlighter* highlighter() const { return highlighter_; }

signals:
    // Raised for every edit that is recorded for undo: typing, deleting, pasting, cutting,
    // replacing the selection, undo, redo; never for the loads above. It comes as the edit
    // is made, before the editor holds the new text: a handler may note that the text
    // changed, but must not read it then.
    void changed();
    // Raised for every change of the text, the program's own loads included, as it is made
    // (the same caution as for changed()).
    void textEdited();
    // Raised before setWholeText replaces the text: the last moment the old text can be read.
    void aboutToReplaceText();
    // Raised for a typed printable character before it is inserted; a handler that sets
    // cancel swallows the key. Connect directly: the flag is read back after the emit.
    void keyTyped(QChar ch, bool& cancel);
    // Raised after each repaint of the text area.
    void painted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Lines skipped by a jump far ahead are styled as they come into view.
    void paintEvent(QPaintEvent* event) override;

private:
    long sci(unsigned int message, long wParam = 0, long lParam = 0) const;
    int textLength() const;
    int lineStartOffset(int line0) const;
    int lineEndOffset(int line0) const;
    int charBoundary(int offset) const;
    int offsetOfTextPos(EditorPos pos, int* beyond = nullptr) const;
    void moveCaretTo(int offset);
    void showBookmarks();
    void updateGutterWidth();
    void onModified(int position, int modificationType, const char* text, int length, int linesAdded, int line,
                    int foldNow, int foldPrev, int token, int annotationLinesAdded);

    int quiet_ = 0;  // > 0 while the program itself changes the text
    Highlighter* highlighter_ = nullptr;
    std::pair<int, int> brackets_{-1, -1};
    void applyBracketStyle();
    std::map<const Highlighter*, class HighlighterLexer*> lexers_;  // one per highlighter used here
    QColor activeLineColor_;
    QTimer gutterTimer_;
    std::vector<tw::Bookmark> bookmarks_;
};

} // namespace tw
