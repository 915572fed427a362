#pragma once
// Styles an editor's document with one of the program's highlighters. Styling is lazy:
// the editor asks only for what it shows or needs, line by line, and the tokenizer state
// at the end of each line is kept in the document's line states, so a change restyles
// from the changed line on only as far as the state differs.
//
// A request to style far ahead (a jump to the end of a large text) tokenizes the lines in
// between for their states only and styles just the last screens' worth; the skipped lines
// are kept as gaps below the styled frontier and styled when they come into view.

#include "editor/highlighter.h"

#include <Qsci/qscilexercustom.h>
#include <vector>

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

    // Makes lines first..last (0-based, inclusive) styled before they are shown or their
    // styles are read: lines among them that were skipped get styled.
    void styleLinesShown(long first, long last);
    // Forgets the skipped lines (the document was replaced).
    void forgetGaps() { gaps_.clear(); }
    // Lines skipped and not styled yet, as [first, end) ranges.
    struct Gap {
        long first;
        long end;
    };
    const std::vector<Gap>& gaps() const { return gaps_; }

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    // Drops what lies at or after line from the gaps: it is above the styled frontier.
    void clipGaps(long line);
    // Runs the tokenizer over lines [line, stop) for their end states only, storing them as
    // the line states; returns the state at the end of the last line.
    int scanStates(long line, long stop, int state);

    Highlighter& highlighter_;
    QByteArray languageName_;
    std::vector<Gap> gaps_;
    bool skipping_ = true;
};

} // namespace tw
