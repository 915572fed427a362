#include "exchange/file_masks.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace tw {

std::optional<FileMask> FileMask::parse(const QString& mask) {
    FileMask out;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'*') {
            // Consecutive asterisks match what one matches.
            if (out.tokens_.empty() || out.tokens_.back().kind != Token::AnyRun) out.tokens_.push_back({Token::AnyRun, {}, false, {}});
        } else if (c == u'?') {
            out.tokens_.push_back({Token::AnyOne, {}, false, {}});
        } else if (c == u'[') {
            Token set{Token::Set, {}, false, {}};
            ++i;
            if (i < mask.size() && mask[i] == u'!') {
                set.negate = true;
                ++i;
            }
            bool closed = false;
            bool rangeOpen = false;  // the last character may start a range
            for (; i < mask.size(); ++i) {
                const QChar m = mask[i];
                if (m == u']') {
                    closed = true;
                    break;
                }
                if (m == u'-') {
                    if (!rangeOpen || i + 1 >= mask.size() || mask[i + 1] == u']') return std::nullopt;
                    set.ranges.back().last = mask[++i].unicode();
                    rangeOpen = false;
                } else {
                    set.ranges.push_back({m.unicode(), m.unicode()});
                    rangeOpen = true;
                }
            }
            if (!closed || set.ranges.empty()) return std::nullopt;
            out.tokens_.push_back(std::move(set));
        } else {
            out.tokens_.push_back({Token::Literal, c, false, {}});
        }
    }
    return out;
}

bool FileMask::matchesAt(const Token& t, QChar c) const {
    switch (t.kind) {
    case Token::Literal:
        return t.ch == c || t.ch.toCaseFolded() == c.toCaseFolded();
    case Token::AnyOne:
    case Token::AnyRun:
        return true;
    case Token::Set: {
        const char16_t forms[] = {c.unicode(), c.toLower().unicode(), c.toUpper().unicode()};
        bool in = false;
        for (const Range& r : t.ranges)
            for (char16_t f : forms) in = in || (f >= r.first && f <= r.last);
        return in != t.negate;
    }
    }
    return false;
}

bool FileMask::matches(const QString& text) const {
    // Greedy matching that returns to the last asterisk on a mismatch: O(mask x text)
    // at worst, without recursion.
    size_t t = 0;
    qsizetype s = 0;
    size_t starToken = SIZE_MAX;
    qsizetype starText = 0;
    while (s < text.size()) {
        if (t < tokens_.size() && tokens_[t].kind == Token::AnyRun) {
            starToken = t++;
            starText = s;
        } else if (t < tokens_.size() && matchesAt(tokens_[t], text[s])) {
            ++t;
            ++s;
        } else if (starToken != SIZE_MAX) {
            t = starToken + 1;
            s = ++starText;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Token::AnyRun) ++t;
    return t == tokens_.size();
}

MaskMatch matchMask(const QString& mask, const QString& text) {
    const auto parsed = FileMask::parse(mask);
    if (!parsed) return MaskMatch::Invalid;
    return parsed->matches(text) ? MaskMatch::Yes : MaskMatch::No;
}

QStringList parseMasks(const QString& text) {
    // Masks are separated by blanks; each piece up to the next blank is one mask (trimmed of
    // other white space), and any white space after a blank is skipped. Walked by position so
    // a long list costs time in proportion to its length.
    QStringList masks;
    const QString s = text.trimmed() + u' ';
    qsizetype start = 0;
    while (start < s.size()) {
        const qsizetype blank = s.indexOf(u' ', start);
        masks << s.mid(start, blank - start).trimmed();
        start = blank;
        while (start < s.size() && s[start].isSpace()) ++start;
    }
    return masks;
}

bool matchesAnyMask(const QStringList& masks, const QString& extension) { return MaskList(masks).matches(extension); }

MaskList::MaskList(const QStringList& masks) {
    masks_.reserve(static_cast<size_t>(masks.size()));
    for (const QString& mask : masks) {
        masks_.push_back(FileMask::parse(mask));
        if (!masks_.back()) break;  // the test never looks past a mask that cannot be parsed
    }
}

bool MaskList::matches(const QString& extension) const {
    for (const auto& mask : masks_) {
        if (!mask) return false;
        if (mask->matches(extension)) return true;
    }
    return false;
}

std::int64_t sizeLimitBytes(const QString& kilobytes) {
    bool ok = false;
    double kb = QLocale::system().toDouble(kilobytes.trimmed(), &ok);
    if (!ok) kb = QLocale::c().toDouble(kilobytes.trimmed(), &ok);
    if (!ok || !std::isfinite(kb)) return 0;
    const double bytes = std::round(kb * 1024.0);
    if (std::fabs(bytes) >= 9.0e18) return 0;
    return static_cast<std::int64_t>(bytes);
}

} // namespace tw
