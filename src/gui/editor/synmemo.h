#pragma once
// The one code editor of the main window, over QsciScintilla. The document is UTF-8
// with CR LF line breaks, so its whole text is exactly the bytes a page's Text holds,
// and an offset into it is a byte offset that counts each line break as two.

#include <Qsci/qsciscintilla.h>
#include <string>

namespace tw {

class SynMemo : public QsciScintilla {
    Q_OBJECT
public:
    explicit SynMemo(QWidget* parent = nullptr);

    // The lines joined by CR LF, no break after the last.
    std::string wholeText() const;
    // Replaces the text without raising changed(): breaks of any kind become CR LF, a
    // break at the very end adds no line, the caret goes to the start, the view to the
    // top, and the undo history is cleared.
    void setWholeText(const std::string& text);
    // No lines, no undo history, nothing modified; no changed().
    void clearAll();

    // Reads a text file's lines into the editor as setWholeText does. A file that is not
    // valid UTF-8 is read as Windows-1251. False (with the system's error text) when the
    // file cannot be read; the editor then keeps its text.
    bool loadLinesFromFile(const QString& fileName, QString* error = nullptr);
    // Writes the lines with CR LF between them, in UTF-8.
    bool writeLinesToFile(const QString& fileName, QString* error = nullptr) const;

signals:
    // Raised after every edit that is recorded for undo: typing, deleting, pasting,
    // cutting, replacing the selection, undo, redo. Never for the loads above.
    void changed();

private:
    void updateGutterWidth();
    void onModified(int position, int modificationType, const char* text, int length, int linesAdded, int line,
                    int foldNow, int foldPrev, int token, int annotationLinesAdded);

    int quiet_ = 0;  // > 0 while the program itself changes the text
};

} // namespace tw
