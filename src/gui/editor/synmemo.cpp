#include "editor/synmemo.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringDecoder>

namespace tw {

namespace {
QFont editorFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(13);
    }
    return font;
}

// Text from a file as UTF-8 bytes: kept when it is valid UTF-8, else read as Windows-1251.
std::string fileTextAsUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return bytes.toStdString();
    QStringDecoder cp1251("windows-1251");
    if (!cp1251.isValid()) return text.toStdString();
    return QString(cp1251.decode(bytes)).toStdString();
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
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &SynMemo::onModified);
}

void SynMemo::updateGutterWidth() {
    setMarginWidth(0, QStringLiteral("0") + QString(QString::number(lines()).size(), u'9'));
}

void SynMemo::onModified(int, int modificationType, const char*, int, int, int, int, int, int, int) {
    if (quiet_ > 0) return;
    if (!(modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))) return;
    if (!(modificationType & (SC_PERFORMED_USER | SC_PERFORMED_UNDO | SC_PERFORMED_REDO))) return;
    emit changed();
}

std::string SynMemo::wholeText() const {
    const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
    std::string bytes(static_cast<size_t>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

void SynMemo::setWholeText(const std::string& text) {
    // A break at the very end makes no empty last line.
    size_t end = text.size();
    if (text.ends_with("\r\n")) end -= 2;
    else if (text.ends_with('\n') || text.ends_with('\r')) end -= 1;
    const std::string body = text.substr(0, end);

    ++quiet_;
    SendScintilla(SCI_SETTEXT, static_cast<unsigned long>(0), body.c_str());
    SendScintilla(SCI_CONVERTEOLS, static_cast<unsigned long>(SC_EOL_CRLF));
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(0));
    SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(0));
    --quiet_;
    updateGutterWidth();
}

void SynMemo::clearAll() { setWholeText(std::string()); }

bool SynMemo::loadLinesFromFile(const QString& fileName, QString* error) {
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
    setWholeText(fileTextAsUtf8(bytes));
    return true;
}

bool SynMemo::writeLinesToFile(const QString& fileName, QString* error) const {
    QFile file(fileName);
    const std::string text = wholeText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tw
