#include "storage/text_encoding.h"

#include <QStringDecoder>

namespace tw {

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed sequence that starts at p (0 when none does), and in
// bad the length of its ill-formed part otherwise (the lead byte and the continuation
// bytes that were still allowed after it).
int sequenceAt(const unsigned char* p, const unsigned char* end, int& bad) {
    const unsigned char lead = *p;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    }
    bad = 1;
    if (length == 0) return 0;
    for (int k = 1; k < length; ++k) {
        if (p + k >= end) return 0;
        const unsigned char c = p[k];
        if (k == 1 ? (c < low || c > high) : !isContinuation(c)) return 0;
        bad = k + 1;
    }
    return length;
}

} // namespace

Utf8Evidence scanUtf8(const QByteArray& bytes) {
    Utf8Evidence evidence;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int bad = 1;
        const int length = sequenceAt(p, end, bad);
        if (length > 0) {
            ++evidence.validSequences;
            p += length;
        } else {
            ++evidence.invalidSequences;
            p += bad;
        }
    }
    return evidence;
}

QByteArray textFileAsUtf8(const QByteArray& bytes, bool* replaced) {
    const Utf8Evidence evidence = scanUtf8(bytes);
    if (evidence.invalidSequences == 0) return bytes;
    if (evidence.validSequences >= kValidPerInvalidSequence * evidence.invalidSequences) {
        if (replaced) *replaced = true;
        return QString::fromUtf8(bytes).toUtf8();
    }
    QStringDecoder cp1251("windows-1251");
    return cp1251.isValid() ? QString(cp1251.decode(bytes)).toUtf8() : QString::fromUtf8(bytes).toUtf8();
}

QString invalidBytesReplacedMessage(const QString& what) {
    return what + QStringLiteral(": байты, недопустимые в UTF-8, заменены знаком \u00AB\uFFFD\u00BB.");
}

} // namespace tw
