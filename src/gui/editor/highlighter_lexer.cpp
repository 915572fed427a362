#include "editor/highlighter_lexer.h"
#include "schemes/system_colours.h"

#include <Qsci/qsciscintilla.h>
#include <QPalette>
#include <QSet>

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

void HighlighterLexer::styleText(int start, int end) {
    QsciScintilla* ed = editor();
    if (!ed) return;
    const int lines = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    const int docLength = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    int line = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    int state = line > 0 ? static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line - 1)) : 0;
    int pos = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    const int space = std::max(highlighter_.spaceAttribute(), 0);
    std::vector<Token> tokens;
    QByteArray text;
    startStyling(pos);
    // Style whole lines up to end, and on past it while the state left for the next line changed.
    bool stateChanged = false;
    while (line < lines && (pos < end || stateChanged)) {
        const int lineEnd = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
        const int next = line + 1 < lines
                             ? static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1))
                             : docLength;
        text.resize(lineEnd - pos + 1);
        ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, pos, lineEnd, text.data());
        tokens.clear();
        highlighter_.tokenizeLine(std::string_view(text.constData(), static_cast<size_t>(lineEnd - pos)), state, tokens);
        int covered = 0;
        for (const Token& t : tokens) {
            setStyling(t.length, t.attribute);
            covered += t.length;
        }
        if (covered < lineEnd - pos) setStyling(lineEnd - pos - covered, space);
        if (next > lineEnd) setStyling(next - lineEnd, space);
        const int old = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line));
        ed->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE, line, state);
        stateChanged = old != state;
        ++line;
        pos = next;
    }
}

} // namespace tw
