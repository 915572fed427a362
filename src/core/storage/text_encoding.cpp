#include "storage/text_encoding.h"

#include <cstring>

#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

#if defined(__SSE2__)
// Passes over blocks of 16 bytes that hold only ASCII and well-formed two-byte sequences
// (the bulk of source code and of Cyrillic text), counting the sequences; stops at the
// first block that holds anything else, which the byte-wise scan then takes. p must be at
// the start of a sequence, and so is the result.
// Set bits of each byte value: the baseline x86-64 target has no popcount instruction, and
// the library call that stands in for it showed in profiles of large files.
constexpr std::array<std::uint8_t, 256> kBitCounts = [] {
    std::array<std::uint8_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>((i & 1) + t[i / 2]);
    return t;
}();

const unsigned char* passSimpleBlocks(const unsigned char* p, const unsigned char* end, qsizetype& sequences) {
    const __m128i belowLead = _mm_set1_epi8(static_cast<char>(0xC1));  // bytes compare as signed
    const __m128i aboveLead = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i firstNonContinuation = _mm_set1_epi8(static_cast<char>(0xC0));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        if (high == 0) {
            p += 16;
            continue;
        }
        // Lead bytes C2..DF, and continuation bytes 80..BF; any other byte above 7F
        // (C0, C1, the leads of longer sequences, F5..FF) is left to the byte-wise scan.
        unsigned leads = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi8(v, belowLead), _mm_cmplt_epi8(v, aboveLead))));
        const unsigned continuations = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, firstNonContinuation)));
        if ((leads | continuations) != high) break;
        // A lead in the last byte is left for the next block, with its continuation.
        int take = 16;
        if (leads & 0x8000u) {
            take = 15;
            leads &= 0x7FFFu;
        }
        // Well-formed exactly when every lead is followed by a continuation byte and every
        // continuation byte follows a lead.
        if ((continuations & ((1u << take) - 1)) != leads << 1) break;
        sequences += kBitCounts[leads & 0xFFu] + kBitCounts[leads >> 8];
        p += take;
    }
    return p;
}
#endif

} // namespace

Utf8Evidence scanUtf8(const QByteArray& bytes) {
    Utf8Evidence evidence;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
#if defined(__SSE2__)
        p = passSimpleBlocks(p, end, evidence.validSequences);
        // Byte by byte for a while after a block the fast pass could not take.
        const unsigned char* stretch = end - p > 16 ? p + 16 : end;
#else
        const unsigned char* stretch = end;
#endif
        while (p < stretch) {
            // Runs of ASCII are passed over eight bytes at a time.
            while (end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, 8);
                if (word & 0x8080808080808080u) break;
                p += 8;
            }
            if (p == end) break;
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

void appendWithCrLf(std::string& out, std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    // The next CR and the next LF at or after p, each searched again only once p has
    // passed it, so every byte is looked at a bounded number of times.
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', text.size()));
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', text.size()));
    if (!cr) cr = end;
    if (!lf) lf = end;
    out.reserve(out.size() + text.size() + (lf == end ? 0 : text.size() / 32) + 2);
    while (p < end) {
        const char* brk = cr < lf ? cr : lf;
        out.append(p, static_cast<size_t>(brk - p));
        if (brk == end) break;
        out += "\r\n";
        p = brk + (brk == cr && brk + 1 < end && brk[1] == '\n' ? 2 : 1);
        if (cr < p) {
            cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
            if (!cr) cr = end;
        }
        if (lf < p) {
            lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!lf) lf = end;
        }
    }
}

std::string withCrLf(std::string_view text) {
    std::string out;
    appendWithCrLf(out, text);
    return out;
}

} // namespace tw
