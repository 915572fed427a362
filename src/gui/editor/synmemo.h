#pragma once
// The one code editor of the main window, over QsciScintilla. The document is UTF-8
// with CR LF line breaks, so its whole text is exactly the bytes a page's Text holds.

#include <Qsci/qsciscintilla.h>
#include <string>

namespace tw {

class SynMemo : public QsciScintilla {
    Q_OBJECT
public:
    explicit SynMemo(QWidget* parent = nullptr);

    // The lines joined by CR LF, no break after the last.
    std::string wholeText() const;
    // Replaces the text without raising a change notification: breaks of any kind become
    // CR LF, the caret goes to the start and the undo history is cleared.
    void setWholeText(const std::string& text);
    // No lines, no undo history, nothing modified.
    void clearAll();

private:
    void updateGutterWidth();
};

} // namespace tw
