#pragma once
// Styles an editor's document with one of the program's highlighters. Styling is lazy:
// the editor asks only for what it shows or needs, line by line, and the tokenizer state
// at the end of each line is kept in the document's line states, so a change restyles
// from the changed line on only as far as the state differs.

#include "editor/highlighter.h"

#include <Qsci/qscilexercustom.h>

namespace tw {

class HighlighterLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    HighlighterLexer(Highlighter& highlighter, QObject* parent = nullptr);

    Highlighter& highlighter() const { return highlighter_; }
    const char* language() const override { return languageName_.constData(); }
    QString description(int style) const override;
    void styleText(int start, int end) override;

    // Takes the attribute colours and font styles again (after a colour change).
    void refresh();

    // The colour 0x00BBGGRR as a QColor; none (or any special value) gives an invalid QColor.
    static QColor toQColor(std::uint32_t value);

    // Tells every lexer of a highlighter that its colours changed.
    static void coloursChanged(const Highlighter& highlighter);

private:
    Highlighter& highlighter_;
    QByteArray languageName_;
};

} // namespace tw
