#include "hotkeys/hotkey_table.h"

#include "storage/safe_save.h"
#include "storage/text_encoding.h"

#include <QFile>
#include <QFileInfo>

namespace tw {

namespace {
constexpr int kModifierBits[] = {0x8000, 0x4000, 0x2000};
constexpr int kModifierFlags[] = {kModAlt, kModControl, kModShift};

const QStringList kReserved = {QStringLiteral("CONTROL + Q"), QStringLiteral("CONTROL + W"),
                               QStringLiteral("CONTROL + F"), QStringLiteral("CONTROL + D"),
                               QStringLiteral("CONTROL + C"), QStringLiteral("CONTROL + V"),
                               QStringLiteral("ALT + S")};

bool validPosition(int position) { return position >= 0 && position < 3; }
} // namespace

int modifiersAt(int position) { return validPosition(position) ? kModifierFlags[position] : 0; }

int modifiersNamed(const QString& modifier) { return modifiersAt(static_cast<int>(kModifierNames.indexOf(modifier))); }

int keyCodeAt(int position, const QString& letter) {
    if (!validPosition(position) || letter.isEmpty()) return 0;
    return letter.at(0).unicode() + kModifierBits[position];
}

int keyCodeFor(QChar letter, const QString& modifier) {
    return keyCodeAt(static_cast<int>(kModifierNames.indexOf(modifier)), QString(letter));
}

bool isReservedCombination(const QString& modifier, const QString& letter) {
    return kReserved.contains((modifier + QStringLiteral(" + ") + letter).toUpper());
}

bool hasKeyCode(const std::vector<HotKeyRow>& rows, int keyCode) {
    for (const HotKeyRow& row : rows)
        if (row.keyCode == keyCode) return true;
    return false;
}

int rowKey(const HotKeyRow& row) {
    if (row.letter.isEmpty()) return 0;
    const char16_t c = row.letter.at(0).unicode();
    return c >= u'A' && c <= u'Z' ? c : 0;
}

QString trimControls(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32) ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32) --end;
    return text.mid(begin, end - begin);
}

QByteArray keysFileBytes(const std::vector<HotKeyRow>& rows) {
    QString out;
    const QString crlf = QStringLiteral("\r\n");
    for (const HotKeyRow& row : rows) out += row.modifier + crlf + row.letter + crlf + row.text + crlf + kKeysSeparator + crlf;
    return out.toUtf8();
}

KeysReadResult readKeysBytes(const QByteArray& bytes) {
    KeysReadResult result;
    const QString content = QString::fromUtf8(textFileAsUtf8(bytes, &result.replacedInvalidBytes));
    // Lines end with LF, CR LF accepted; the break after the last line is optional.
    QStringList lines = content.split(u'\n');
    if (lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);

    qsizetype i = 0;
    const qsizetype n = lines.size();
    while (i < n) {
        const qsizetype start = i;
        const QString modifier = lines.at(i++);
        const QString letter = i < n ? lines.at(i++) : QString();
        // The first text line is never taken as the separator.
        QString text;
        bool separated = false;
        if (i < n) text = lines.at(i++) + QStringLiteral("\r\n");
        while (i < n) {
            const QString& line = lines.at(i++);
            if (line == kKeysSeparator) {
                separated = true;
                break;
            }
            text += line + QStringLiteral("\r\n");
        }
        if (!separated) {
            // Blank lines at the end of the file are no record.
            bool blank = true;
            for (qsizetype k = start; k < n && blank; ++k) blank = trimControls(lines.at(k)).isEmpty();
            if (blank) break;
        }
        if (letter.isEmpty()) {
            result.ok = false;
            break;
        }
        HotKeyRow row{modifier, letter, keyCodeFor(letter.at(0), modifier), trimControls(text)};
        result.rows.push_back(std::move(row));
    }
    return result;
}

KeysReadResult loadKeys(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) return {};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {{}, false};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {{}, false};
    return readKeysBytes(bytes);
}

bool saveKeys(const QString& fileName, const std::vector<HotKeyRow>& rows) {
    return saveFileBytes(fileName, keysFileBytes(rows));
}

} // namespace tw
