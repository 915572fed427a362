#include "editor/synmemo.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace tw {

namespace {
QFont editorFont() {
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    return font;
}
} // namespace

SynMemo::SynMemo(QWidget* parent) : QsciScintilla(parent) {
    setObjectName(QStringLiteral("SynMemo1"));
    setUtf8(true);
    setEolMode(EolWindows);
    setFont(editorFont());
    setMarginsFont(editorFont());
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setMarginWidth(1, 0);
    // The horizontal scroll bar follows the longest line instead of a fixed width.
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    updateGutterWidth();
    connect(this, &QsciScintilla::linesChanged, this, &SynMemo::updateGutterWidth);
}

void SynMemo::updateGutterWidth() {
    setMarginWidth(0, QStringLiteral("0") + QString(QString::number(lines()).size(), u'9'));
}

std::string SynMemo::wholeText() const {
    const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
    std::string bytes(static_cast<size_t>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

void SynMemo::setWholeText(const std::string& text) {
    const bool blocked = blockSignals(true);
    SendScintilla(SCI_SETTEXT, static_cast<unsigned long>(0), text.c_str());
    SendScintilla(SCI_CONVERTEOLS, static_cast<unsigned long>(SC_EOL_CRLF));
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(0));
    blockSignals(blocked);
    updateGutterWidth();
}

void SynMemo::clearAll() { setWholeText(std::string()); }

} // namespace tw
