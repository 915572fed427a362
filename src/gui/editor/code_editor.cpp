#include "editor/code_editor.h"

#include "editor/highlighter_lexer.h"
#include "storage/text_collection.h"
#include "storage/text_encoding.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <string_view>

namespace tw {

namespace {
// The editor component's own accessible object converts the caret's byte position into a
// character count from the start of the text on every update of the view, and every edit
// into one as well: work that grows with the text, on every keystroke. While no assistive
// technology listens, the editor is described by a plain accessible widget instead; when
// one does, the component's full text interface is kept.
QAccessibleInterface* plainEditorAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("tw::CodeEditor") || QAccessible::isActive() || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

// About 13 pixels high at 96 dpi. The size is given in points: the editor takes the
// point size of the font, and a font sized in pixels has none.
QFont defaultEditorFont() {
    constexpr double kPoints = 9.75;
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(kPoints);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(kPoints);
    }
    return font;
}

bool isBracket(char c) { return std::string_view("()[]{}<>").find(c) != std::string_view::npos; }

QPixmap bookmarkPicture(int k) {
    static const QColor colors[5] = {QColor(0xD0, 0x30, 0x30), QColor(0xE0, 0x80, 0x10), QColor(0x20, 0x90, 0x40),
                                     QColor(0x30, 0x60, 0xD0), QColor(0x80, 0x40, 0xB0)};
    const QColor color = colors[k % 5];
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF face;
    if (k < 5) {  // a flag on a pole
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
        painter.drawLine(QPointF(2.5, 1), QPointF(2.5, 15.5));
        face = QRectF(3.5, 1.5, 12, 10);
        painter.setPen(color.darker(140));
        painter.setBrush(color);
        painter.drawRect(face);
    } else {  // a round badge
        face = QRectF(0.5, 0.5, 15, 15);
        painter.setPen(color.darker(140));
        painter.setBrush(color);
        painter.drawEllipse(face);
    }
    QFont digitFont(QStringLiteral("Sans Serif"));
    digitFont.setPixelSize(10);
    digitFont.setBold(true);
    painter.setFont(digitFont);
    painter.setPen(Qt::white);
    painter.drawText(face, Qt::AlignCenter, QString::number((k + 1) % 10));
    return picture;
}
} // namespace

CodeEditor::CodeEditor(QWidget* parent) : QsciScintilla(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(plainEditorAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setObjectName(QStringLiteral("editor"));
    // Edits are reported before they are made, never after: the component's report after an
    // edit counts the characters from the start of the text to the edit for its accessibility
    // support, which makes a keystroke at the end of a large text cost time in proportion to
    // the text. The reports before an edit carry no such cost.
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    gutterTimer_.setSingleShot(true);
    gutterTimer_.setInterval(0);
    connect(&gutterTimer_, &QTimer::timeout, this, &CodeEditor::updateGutterWidth);
    setUtf8(true);
    setEolMode(EolWindows);
    setFont(defaultEditorFont());
    setMarginsFont(defaultEditorFont());
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setMarginMarkerMask(0, 0);
    setMarginType(kBookmarkMargin, SymbolMargin);
    // Bookmark picture k is marker k, drawn only in the bookmark margin.
    const int pictures = static_cast<int>(bookmarkPictures().size());
    setMarginMarkerMask(kBookmarkMargin, (1 << pictures) - 1);
    setMarginWidth(kBookmarkMargin, 0);
    for (int k = 0; k < pictures; ++k) markerDefine(bookmarkPictures()[static_cast<size_t>(k)], k);
    setCaretLineVisible(true);
    setActiveLineColor(QColor(0xE8, 0xF0, 0xFF));
    // The horizontal scroll bar follows the longest line instead of a fixed width.
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    updateGutterWidth();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &CodeEditor::onModified);
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { updateBracketHighlight(); });
    // The editor's own brace matching stays off: brackets are matched only on symbols.
    setBraceMatching(NoBraceMatch);
    applyBracketStyle();
}

void CodeEditor::updateGutterWidth() {
    setMarginWidth(0, QStringLiteral("0") + QString(QString::number(lines()).size(), u'9'));
}

void CodeEditor::onModified(int, int modificationType, const char*, int, int, int, int, int, int, int) {
    if (!(modificationType & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE))) return;
    // The number of lines is known only after the edit; the gutter follows it then.
    gutterTimer_.start();
    emit textEdited();
    if (quiet_ > 0) return;
    if (!(modificationType & (SC_PERFORMED_USER | SC_PERFORMED_UNDO | SC_PERFORMED_REDO))) return;
    emit changed();
}

std::string CodeEditor::wholeText() const {
    std::string bytes;
    copyWholeTextInto(bytes);
    return bytes;
}

void CodeEditor::copyWholeTextInto(std::string& target) const {
    // Reuses the target's buffer: a page's text is copied on every keystroke, and a fresh
    // allocation of a large text each time costs far more than the copy itself.
    const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
    if (target.capacity() < static_cast<size_t>(length) + 1) target.reserve(static_cast<size_t>(length) + length / 8 + 64);
    target.resize(static_cast<size_t>(length) + 1);
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length + 1), target.data());
    target.resize(static_cast<size_t>(length));
}

void CodeEditor::setWholeText(const std::string& text) {
    // First of all: a handler may bring text (a page's record) up to date from the editor.
    emit aboutToReplaceText();
    if (auto* styler = qobject_cast<HighlighterLexer*>(lexer())) styler->forgetGaps();
    // A break at the very end makes no empty last line.
    size_t end = text.size();
    if (text.ends_with("\r\n")) end -= 2;
    else if (text.ends_with('\n') || text.ends_with('\r')) end -= 1;
    // The breaks are made CR LF here, in one pass: the editor's own conversion after the
    // text is set takes quadratic time on a large text whose lines end in LF alone.
    const std::string body = withCrLf(std::string_view(text).substr(0, end));

    ++quiet_;
    // Set by length, not as a C string: a NUL byte in a page must not cut its text short.
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(body.size()), body.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(0));
    SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(0));
    --quiet_;
    bookmarks_.clear();
    showBookmarks();
    updateGutterWidth();
}

void CodeEditor::clearAll() { setWholeText(std::string()); }

bool CodeEditor::loadLinesFromFile(const QString& fileName, QString* error, bool* replaced) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    setWholeText(textFileAsUtf8(bytes, replaced).toStdString());
    return true;
}

bool CodeEditor::writeLinesToFile(const QString& fileName, QString* error) const {
    QFile file(fileName);
    const std::string text = wholeText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

// ---- Helpers over the document ----

long CodeEditor::sci(unsigned int message, long wParam, long lParam) const {
    return SendScintilla(message, static_cast<unsigned long>(wParam), lParam);
}

int CodeEditor::textLength() const { return static_cast<int>(sci(SCI_GETLENGTH)); }

int CodeEditor::lineStartOffset(int line0) const { return static_cast<int>(sci(SCI_POSITIONFROMLINE, line0)); }

int CodeEditor::lineEndOffset(int line0) const { return static_cast<int>(sci(SCI_GETLINEENDPOSITION, line0)); }

// The offset clamped to the text and moved back to the start of the character it falls
// into: never between the bytes of a UTF-8 sequence or between CR and LF.
int CodeEditor::charBoundary(int offset) const {
    const int length = textLength();
    offset = std::clamp(offset, 0, length);
    if (offset == 0 || offset == length) return offset;
    const auto byteAt = [this](int at) { return static_cast<unsigned char>(sci(SCI_GETCHARAT, at)); };
    for (int back = 1; back <= 3 && offset - back >= 0; ++back) {
        const unsigned char b = byteAt(offset - back);
        if ((byteAt(offset - back + 1) & 0xC0) != 0x80) break;  // not inside a sequence
        if (b >= 0xC0) {
            const int sequence = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
            if (sequence > back) return offset - back;
            break;
        }
        if ((b & 0xC0) != 0x80) break;
    }
    if (byteAt(offset) == '\n' && byteAt(offset - 1) == '\r') return offset - 1;
    return offset;
}

// The offset of a text position, clamped to the text. Columns past the end of the line
// give the line end, and *beyond tells how many columns past it the position was.
int CodeEditor::offsetOfTextPos(EditorPos pos, int* beyond) const {
    const int line0 = std::clamp(pos.line - 1, 0, static_cast<int>(sci(SCI_GETLINECOUNT)) - 1);
    const int column0 = std::max(pos.column, 1) - 1;
    const int start = lineStartOffset(line0);
    const int end = lineEndOffset(line0);
    const int characters = static_cast<int>(sci(SCI_COUNTCHARACTERS, start, end));
    if (beyond) *beyond = std::max(column0 - characters, 0);
    if (column0 >= characters) return end;
    return static_cast<int>(sci(SCI_POSITIONRELATIVE, start, column0));
}

void CodeEditor::moveCaretTo(int offset) {
    sci(SCI_GOTOPOS, offset);
    sci(SCI_CHOOSECARETX);
}

// ---- Lines ----

int CodeEditor::lineCount() const { return textLength() == 0 ? 0 : static_cast<int>(sci(SCI_GETLINECOUNT)); }

std::string CodeEditor::lineAt(int index) const {
    if (index < 0 || index >= lineCount()) return {};
    const int start = lineStartOffset(index);
    const int end = lineEndOffset(index);
    std::string bytes(static_cast<size_t>(end - start) + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(start), static_cast<long>(end), bytes.data());
    bytes.resize(static_cast<size_t>(end - start));
    return bytes;
}

void CodeEditor::replaceLine(int index, const std::string& text) {
    if (index < 0 || index >= lineCount()) return;
    const std::string bytes = withCrLf(text);
    ++quiet_;
    sci(SCI_SETTARGETRANGE, lineStartOffset(index), lineEndOffset(index));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.c_str());
    --quiet_;
}

// ---- Caret ----

EditorPos CodeEditor::caretPos() const { return offsetToPos(static_cast<int>(sci(SCI_GETCURRENTPOS))); }

EditorPos CodeEditor::caretDisplayPos() const {
    const long offset = sci(SCI_GETCURRENTPOS);
    return {static_cast<int>(sci(SCI_GETCOLUMN, offset)) + 1, static_cast<int>(sci(SCI_LINEFROMPOSITION, offset)) + 1};
}

void CodeEditor::setCaretLine(int line) { moveCaretTo(offsetOfTextPos({caretPos().column, line})); }

void CodeEditor::setCaretColumn(int column) { moveCaretTo(offsetOfTextPos({column, caretPos().line})); }

std::string CodeEditor::caretLineText() const { return lineAt(caretPos().line - 1); }

void CodeEditor::gotoLineAndCenter(int line) {
    const int line0 = std::clamp(line - 1, 0, static_cast<int>(sci(SCI_GETLINECOUNT)) - 1);
    sci(SCI_ENSUREVISIBLE, line0);
    moveCaretTo(lineStartOffset(line0));
    const long visible = sci(SCI_VISIBLEFROMDOCLINE, line0);
    sci(SCI_SETFIRSTVISIBLELINE, std::max(0L, visible - sci(SCI_LINESONSCREEN) / 2));
    sci(SCI_SETXOFFSET, 0);
}

// ---- Selection ----

int CodeEditor::selectionStart() const { return static_cast<int>(sci(SCI_GETSELECTIONSTART)); }

int CodeEditor::selectionEnd() const { return static_cast<int>(sci(SCI_GETSELECTIONEND)); }

int CodeEditor::selectionLength() const { return selectionEnd() - selectionStart(); }

bool CodeEditor::hasSelection() const { return selectionLength() > 0; }

void CodeEditor::setSelectionStart(int offset) { moveCaretTo(charBoundary(offset)); }

void CodeEditor::setSelectionEnd(int offset) {
    sci(SCI_SETSEL, selectionStart(), charBoundary(offset));
    sci(SCI_CHOOSECARETX);
}

void CodeEditor::setSelectionLength(int length) {
    const int start = selectionStart();
    sci(SCI_SETSEL, start, charBoundary(start + std::clamp(length, 0, textLength() - start)));
    sci(SCI_CHOOSECARETX);
}

EditorPos CodeEditor::offsetToPos(int offset) const {
    const int at = charBoundary(offset);
    const int line0 = static_cast<int>(sci(SCI_LINEFROMPOSITION, at));
    return {static_cast<int>(sci(SCI_COUNTCHARACTERS, lineStartOffset(line0), at)) + 1, line0 + 1};
}

std::string CodeEditor::selectionText() const {
    const int start = selectionStart();
    const int end = selectionEnd();
    std::string bytes(static_cast<size_t>(end - start) + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(start), static_cast<long>(end), bytes.data());
    bytes.resize(static_cast<size_t>(end - start));
    return bytes;
}

void CodeEditor::replaceSelection(const std::string& text) {
    const std::string bytes = withCrLf(text);
    sci(SCI_BEGINUNDOACTION);
    sci(SCI_TARGETFROMSELECTION);
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.c_str());
    sci(SCI_ENDUNDOACTION);
    moveCaretTo(static_cast<int>(sci(SCI_GETTARGETEND)));
}

// ---- Look ----

void CodeEditor::setActiveLineColor(const QColor& color) {
    if (!color.isValid() || color == activeLineColor_) return;
    activeLineColor_ = color;
    setCaretLineBackgroundColor(color);
    viewport()->update();
}

EditorPos CodeEditor::textToDisplay(EditorPos pos) const {
    int beyond = 0;
    const long offset = offsetOfTextPos(pos, &beyond);
    return {static_cast<int>(sci(SCI_GETCOLUMN, offset)) + 1 + beyond,
            static_cast<int>(sci(SCI_LINEFROMPOSITION, offset)) + 1};
}

QPoint CodeEditor::displayToPixel(EditorPos pos) const {
    const int line0 = std::clamp(pos.line - 1, 0, static_cast<int>(sci(SCI_GETLINECOUNT)) - 1);
    const long column0 = std::max(pos.column, 1) - 1;
    const long offset = sci(SCI_FINDCOLUMN, line0, column0);
    // FINDCOLUMN stops at the line end or at a tab spanning the column: count the rest in
    // spaces. A space can be a fraction of a pixel wider than TEXTWIDTH says, so measure many.
    constexpr int kSpaces = 64;
    const double spaceWidth = static_cast<double>(SendScintilla(SCI_TEXTWIDTH, static_cast<uintptr_t>(STYLE_DEFAULT),
                                                                std::string(kSpaces, ' ').c_str())) / kSpaces;
    const long rest = column0 - sci(SCI_GETCOLUMN, offset);
    const long x = sci(SCI_POINTXFROMPOSITION, 0, offset) + std::lround(static_cast<double>(rest) * spaceWidth);
    return {static_cast<int>(x), static_cast<int>(sci(SCI_POINTYFROMPOSITION, 0, offset))};
}

int CodeEditor::gutterWidth() const {
    int width = 0;
    const int margins = static_cast<int>(sci(SCI_GETMARGINS));
    for (int m = 0; m < margins; ++m) width += static_cast<int>(sci(SCI_GETMARGINWIDTHN, m));
    return width;
}

QColor CodeEditor::editorBackground() const { return paper(); }

QFont CodeEditor::editorFont() const { return font(); }

EditorPos CodeEditor::matchingBracket(EditorPos pos) const {
    if (pos.line < 1 || pos.line > lineCount() || pos.column < 1) return {};
    int beyond = 0;
    const int offset = offsetOfTextPos(pos, &beyond);
    if (beyond > 0 || offset >= lineEndOffset(pos.line - 1)) return {};
    if (!isBracket(static_cast<char>(sci(SCI_GETCHARAT, offset)))) return {};
    const long partner = sci(SCI_BRACEMATCH, offset, 0);
    return partner < 0 ? EditorPos{} : offsetToPos(static_cast<int>(partner));
}

// ---- Bookmarks ----

const std::array<QPixmap, 10>& CodeEditor::bookmarkPictures() {
    static const std::array<QPixmap, 10> pictures = [] {
        std::array<QPixmap, 10> list;
        for (int k = 0; k < 10; ++k) list[static_cast<size_t>(k)] = bookmarkPicture(k);
        return list;
    }();
    return pictures;
}

void CodeEditor::setBookmarks(const std::vector<tw::Bookmark>& marks) {
    bookmarks_ = marks;
    showBookmarks();
}

void CodeEditor::clearBookmarks() {
    bookmarks_.clear();
    showBookmarks();
}

void CodeEditor::addBookmark(const tw::Bookmark& mark) {
    bookmarks_.push_back(mark);
    showBookmarks();
}

tw::Bookmark CodeEditor::bookmark(int index) const {
    if (index < 0 || index >= bookmarkCount()) return {};
    return bookmarks_[static_cast<size_t>(index)];
}

void CodeEditor::showBookmarks() {
    const int pictures = static_cast<int>(bookmarkPictures().size());
    for (int k = 0; k < pictures; ++k) markerDeleteAll(k);
    const int lines = static_cast<int>(sci(SCI_GETLINECOUNT));
    bool shown = false;
    for (const tw::Bookmark& mark : bookmarks_) {
        if (!mark.visible || mark.imageIndex < 0 || mark.imageIndex >= pictures || mark.line < 1 || mark.line > lines)
            continue;
        markerAdd(mark.line - 1, mark.imageIndex);
        shown = true;
    }
    setMarginWidth(kBookmarkMargin, shown ? 18 : 0);
}

// ---- Events ----

void CodeEditor::keyPressEvent(QKeyEvent* event) {
    // Keys held with Ctrl or Meta are commands, unless Alt is held too (AltGr).
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool command = (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
    const QString text = event->text();
    // Alt alone with a character is a combination, never typing: a combination that nothing
    // handles changes no text. The editor still sees the key, without its text.
    const bool altCombination = (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier);
    if ((command || altCombination) && !text.isEmpty()) {
        QKeyEvent bare(event->type(), event->key(), mods, event->nativeScanCode(), event->nativeVirtualKey(),
                       event->nativeModifiers(), QString(), event->isAutoRepeat(), event->count());
        QsciScintilla::keyPressEvent(&bare);
        event->setAccepted(bare.isAccepted());
        return;
    }
    if (!command && text.size() == 1 && text[0].isPrint()) {
        bool cancel = false;
        emit keyTyped(text[0], cancel);
        if (cancel) {
            event->accept();
            return;
        }
    }
    QsciScintilla::keyPressEvent(event);
}

void CodeEditor::setHighlighter(Highlighter* highlighter) {
    if (highlighter == highlighter_ && (highlighter != nullptr) == (lexer() != nullptr)) return;
    highlighter_ = highlighter;
    if (!highlighter) {
        setLexer(nullptr);
        return;
    }
    HighlighterLexer*& lexer = lexers_[highlighter];
    if (!lexer) lexer = new HighlighterLexer(*highlighter, this);
    lexer->forgetGaps();  // its gaps were of a text it styled before
    setLexer(lexer);
    lexer->refresh();
    applyBracketStyle();
}

void CodeEditor::paintEvent(QPaintEvent* event) {
    if (auto* styler = qobject_cast<HighlighterLexer*>(lexer())) {
        const long first = SendScintilla(SCI_DOCLINEFROMVISIBLE, SendScintilla(SCI_GETFIRSTVISIBLELINE));
        const long last = std::min<long>(first + SendScintilla(SCI_LINESONSCREEN) + 1, SendScintilla(SCI_GETLINECOUNT) - 1);
        styler->styleLinesShown(first, last);
    }
    QsciScintilla::paintEvent(event);
    emit painted();
}

void CodeEditor::applyBracketStyle() {
    SendScintilla(SCI_STYLESETFORE, STYLE_BRACELIGHT, 0x000000L);
    SendScintilla(SCI_STYLESETBACK, STYLE_BRACELIGHT, 0xAAAAFFL);
    SendScintilla(SCI_STYLESETBOLD, STYLE_BRACELIGHT, 1L);
}

void CodeEditor::updateBracketHighlight() {
    auto show = [this](int a, int b) {
        if (brackets_ == std::pair{a, b}) return;
        brackets_ = {a, b};
        SendScintilla(SCI_BRACEHIGHLIGHT, static_cast<unsigned long>(a), static_cast<long>(b));
    };
    if (hasSelection() || !highlighter_) return show(-1, -1);
    const int symbol = highlighter_->symbolAttribute();
    const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
    const int caret = static_cast<int>(SendScintilla(SCI_GETCURRENTPOS));
    auto isBracket = [](int c) { return c > 0 && std::strchr("()[]{}<>", c) != nullptr; };
    const int at = caret < length ? static_cast<int>(SendScintilla(SCI_GETCHARAT, caret)) : 0;
    const int before = caret > 0 ? static_cast<int>(SendScintilla(SCI_GETCHARAT, caret - 1)) : 0;
    int pos = -1;
    if (isBracket(at)) pos = caret;
    else if (isBracket(before)) pos = caret - 1;
    const int c = pos >= 0 ? static_cast<int>(SendScintilla(SCI_GETCHARAT, pos)) : 0;
    // "<" and ">" are brackets for the test above but belong to no pair.
    if (pos < 0 || symbol < 0 || c == '<' || c == '>') return show(-1, -1);
    // The style at pos must be known: style on from where styling stopped (colourising from
    // 0 would make the editor style the whole text again on every caret move by a bracket).
    if (auto* styler = qobject_cast<HighlighterLexer*>(lexer())) {
        const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
        styler->styleLinesShown(line, line);
    }
    const long styledTo = SendScintilla(SCI_GETENDSTYLED);
    if (styledTo <= pos) SendScintilla(SCI_COLOURISE, static_cast<unsigned long>(styledTo), static_cast<long>(pos + 1));
    if (static_cast<int>(SendScintilla(SCI_GETSTYLEAT, pos)) != symbol) return show(-1, -1);
    const int partner = static_cast<int>(SendScintilla(SCI_BRACEMATCH, pos, 0L));
    show(pos, partner);
}

} // namespace tw
