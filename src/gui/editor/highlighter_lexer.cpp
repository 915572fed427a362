#include "editor/highlighter_lexer.h"
#include "schemes/system_colours.h"

#include <Qsci/qsciscintilla.h>
#include <QPalette>
#include <QSet>

#include <algorithm>

namespace tw {

namespace {
QSet<HighlighterLexer*>& allLexers() {
    static QSet<HighlighterLexer*> lexers;
    return lexers;
}
} // namespace

HighlighterLexer::HighlighterLexer(Highlighter& highlighter, QObject* parent)
    : QsciLexerCustom(parent), highlighter_(highlighter), languageName_(highlighter.languageName().toUtf8()) {
    allLexers().insert(this);
    connect(this, &QObject::destroyed, [this] { allLexers().remove(this); });
    refresh();
}

QString HighlighterLexer::description(int style) const {
    const auto& attrs = highlighter_.attributes();
    return style >= 0 && style < static_cast<int>(attrs.size()) ? attrs[static_cast<size_t>(style)].name : QString();
}

QColor HighlighterLexer::toQColor(std::uint32_t value) {
    // Own colours and system colours (through the palette); none and default: invalid, the
    // editor's own colour.
    return resolveColour(value);
}

void HighlighterLexer::refresh() {
    const QFont base = editor() ? editor()->font() : defaultFont();
    const QColor text = editor() ? editor()->palette().color(QPalette::Text) : QColor(Qt::black);
    const QColor paper = editor() ? editor()->palette().color(QPalette::Base) : QColor(Qt::white);
    setDefaultFont(base);
    setDefaultColor(text);
    setDefaultPaper(paper);
    const auto& attrs = highlighter_.attributes();
    for (int s = 0; s < static_cast<int>(attrs.size()); ++s) {
        const Attribute& a = attrs[static_cast<size_t>(s)];
        const QColor fore = toQColor(a.foreground);
        const QColor back = toQColor(a.background);
        setColor(fore.isValid() ? fore : text, s);
        setPaper(back.isValid() ? back : paper, s);
        QFont f = base;
        f.setBold(a.style & kBold);
        f.setItalic(a.style & kItalic);
        f.setUnderline(a.style & kUnderline);
        setFont(f, s);
    }
}

void HighlighterLexer::coloursChanged(const Highlighter& highlighter) {
    for (HighlighterLexer* lexer : allLexers()) {
        if (&lexer->highlighter_ != &highlighter) continue;
        lexer->refresh();
        if (lexer->editor()) lexer->editor()->recolor();
    }
}

long HighlighterLexer::send(unsigned int message, unsigned long wParam, long lParam) const {
    return editor()->SendScintilla(message, wParam, lParam);
}

void HighlighterLexer::clipGaps(long line) {
    std::vector<Gap> kept;
    for (Gap g : gaps_) {
        g.end = std::min(g.end, line);
        if (g.first < g.end) kept.push_back(g);
    }
    gaps_.swap(kept);
}

void HighlighterLexer::styleLinesShown(long first, long last) {
    if (!editor() || gaps_.empty()) return;
    const long frontier = send(QsciScintillaBase::SCI_LINEFROMPOSITION,
                               static_cast<unsigned long>(send(QsciScintillaBase::SCI_GETENDSTYLED)));
    clipGaps(frontier);
    long lowest = -1;
    for (const Gap& g : gaps_)
        if (g.first <= last && first < g.end) {
            const long from = std::max(g.first, first);
            if (lowest < 0 || from < lowest) lowest = from;
        }
    if (lowest < 0) return;
    // Everything from the lowest skipped line shown becomes unstyled for the editor, which
    // then styles it as it styles any line: from the state stored for the line before.
    clipGaps(lowest);
    send(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(send(QsciScintillaBase::SCI_POSITIONFROMLINE, lowest)));
    const long lastEnd = send(QsciScintillaBase::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(last));
    // These lines are wanted now, however many: nothing among them is skipped.
    skipping_ = false;
    send(QsciScintillaBase::SCI_COLOURISE, static_cast<unsigned long>(send(QsciScintillaBase::SCI_GETENDSTYLED)), lastEnd);
    skipping_ = true;
}

int HighlighterLexer::scanStates(long line, long stop, int state) {
    // The lines' bytes are read in place, in one piece; lines end at CR LF, CR or LF, as the
    // editor counts them. A line state is stored only where it changes (the editor compares).
    const long from = send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long to = send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(stop));
    const char* bytes = reinterpret_cast<const char*>(
        send(QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
    const long n = to - from;
    std::vector<Token> tokens;
    long p = 0;
    for (; line < stop && p <= n; ++line) {
        long e = p;
        while (e < n && bytes[e] != '\r' && bytes[e] != '\n') ++e;
        tokens.clear();
        highlighter_.tokenizeLine(std::string_view(bytes + p, static_cast<size_t>(e - p)), state, tokens);
        send(QsciScintillaBase::SCI_SETLINESTATE, static_cast<unsigned long>(line), state);
        p = e + (e + 1 < n && bytes[e] == '\r' && bytes[e + 1] == '\n' ? 2 : 1);
    }
    return state;
}

void HighlighterLexer::styleText(int start, int end) {
    QsciScintilla* ed = editor();
    if (!ed) return;
    const long docLength = send(QsciScintillaBase::SCI_GETLENGTH);
    long line = send(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    // What lies from here on is unstyled for the editor, gaps included.
    clipGaps(line);
    int state = line > 0 ? static_cast<int>(send(QsciScintillaBase::SCI_GETLINESTATE, line - 1)) : 0;
    // Styling far ahead: the lines before the last few screens only pass their states on.
    constexpr long kSkipBytes = 512 * 1024;
    if (skipping_ && static_cast<long>(end) - start > kSkipBytes) {
        const long endLine = send(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end));
        const long keep = 4 * (send(QsciScintillaBase::SCI_LINESONSCREEN) + 1) + 64;
        const long skipTo = endLine - keep;
        if (skipTo > line) {
            state = scanStates(line, skipTo, state);
            gaps_.push_back({line, skipTo});
            line = skipTo;
        }
    }
    long pos = send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const char space = static_cast<char>(std::max(highlighter_.spaceAttribute(), 0));

    // The document's bytes are read in place through a window that grows as lines need it;
    // the styles are collected and handed over in large blocks, since every styling call
    // makes the editor work out what to repaint.
    const char* window = nullptr;
    long windowStart = 0, windowEnd = 0;
    auto readWindow = [&](long from, long to) {
        windowStart = from;
        windowEnd = std::min(to, docLength);
        window = reinterpret_cast<const char*>(
            send(QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(windowStart), windowEnd - windowStart));
    };
    constexpr long kWindowSlack = 64 * 1024;
    constexpr size_t kFlushBytes = 1024 * 1024;
    readWindow(pos, std::max<long>(end, pos) + kWindowSlack);
    std::string styles;
    auto flush = [&] {
        send(QsciScintillaBase::SCI_SETSTYLINGEX, styles.size(), reinterpret_cast<long>(styles.data()));
        styles.clear();
    };
    send(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(pos));
    std::vector<Token> tokens;
    // Whole lines up to end, and on past it while the state left for the next line changed.
    // Lines end at CR LF, CR or LF, as the editor counts them.
    bool stateChanged = false;
    while (pos < docLength && (pos < end || stateChanged)) {
        long lineEnd = pos;
        for (;;) {
            while (lineEnd < windowEnd && window[lineEnd - windowStart] != '\r' && window[lineEnd - windowStart] != '\n')
                ++lineEnd;
            if (lineEnd < windowEnd || windowEnd == docLength) break;
            readWindow(pos, pos + 2 * (windowEnd - pos) + kWindowSlack);  // a line longer than the window
        }
        long next = lineEnd;
        if (next < windowEnd) ++next;
        if (next < docLength && window[lineEnd - windowStart] == '\r') {
            if (next == windowEnd) readWindow(pos, next + kWindowSlack);
            if (window[next - windowStart] == '\n') ++next;
        }
        tokens.clear();
        highlighter_.tokenizeLine(std::string_view(window + (pos - windowStart), static_cast<size_t>(lineEnd - pos)),
                                  state, tokens);
        const size_t lineStyles = styles.size();
        for (const Token& t : tokens) styles.append(static_cast<size_t>(t.length), static_cast<char>(t.attribute));
        styles.resize(lineStyles + static_cast<size_t>(next - pos), space);  // the line break, and any gap
        const int old = static_cast<int>(send(QsciScintillaBase::SCI_GETLINESTATE, line));
        if (old != state) send(QsciScintillaBase::SCI_SETLINESTATE, line, state);
        stateChanged = old != state;
        if (styles.size() >= kFlushBytes) flush();
        ++line;
        pos = next;
    }
    flush();
}

} // namespace tw
