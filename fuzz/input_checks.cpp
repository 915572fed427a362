// Short texts from outside: the file masks of the file search and the update host's reply.

#include "checks.h"

#include "app/update_rule.h"
#include "exchange/file_masks.h"

#include <QUrl>

namespace tw::fuzz {

namespace {

std::string quoted(const QString& s) { return "\"" + s.toStdString() + "\""; }

bool matches(const QString& mask, const QString& text) { return matchMask(mask, text) == MaskMatch::Yes; }

} // namespace

// The input is up to four lines: a masks text (also the first mask), a text, a second mask
// and a second text.
Finding checkFileMasks(std::string_view input) {
    const QStringList parts = QString::fromUtf8(input.data(), static_cast<qsizetype>(input.size())).split(u'\n');
    const QString& masksText = parts[0];

    const QStringList masks = parseMasks(masksText);
    if (masks.isEmpty()) return "no mask at all";
    for (const QString& m : masks) {
        if (m.contains(u' ') || m != m.trimmed()) return "the mask " + quoted(m) + " holds blanks";
        if (m.isEmpty() && masks.size() != 1) return "an empty mask beside others";
    }
    if (parseMasks(masks.join(u' ')) != masks) return "the masks of " + quoted(masksText) + " parse differently joined";
    if (parts.size() < 2) return {};

    const QString& mask = parts[0];
    const QString& text = parts[1];
    const bool valid = FileMask::parse(mask).has_value();
    if (valid != (matchMask(mask, text) != MaskMatch::Invalid)) return "parse and matchMask disagree on " + quoted(mask);
    // A text without special characters is a mask that matches itself.
    if (!text.contains(u'*') && !text.contains(u'?') && !text.contains(u'[') && !matches(text, text))
        return quoted(text) + " does not match itself";
    if (!valid || !matches(mask, text)) return {};
    // A match stays a match with any text before a leading "*" and after a trailing one.
    const QString other = parts.size() > 3 ? parts[3] : QStringLiteral("x");
    if (!matches(u'*' + mask, other + text)) return "*" + quoted(mask) + " does not match " + quoted(other + text);
    if (!matches(mask + u'*', text + other)) return quoted(mask) + "* does not match " + quoted(text + other);
    if (parts.size() < 4) return {};
    // Masks match concatenated: one mask after another matches one text after another.
    const QString& mask2 = parts[2];
    if (!FileMask::parse(mask2) || !matches(mask2, parts[3])) return {};
    if (!matches(mask + mask2, text + parts[3]))
        return quoted(mask + mask2) + " does not match " + quoted(text + parts[3]);
    return {};
}

Finding checkUpdateReply(std::string_view input) {
    const QByteArray reply(input.data(), static_cast<qsizetype>(input.size()));
    const std::optional<QString> address = newerVersionAddress(reply);
    if (!address) return {};
    // The reply without the characters of code 32 or less at its ends.
    QString text = QString::fromLatin1(reply);
    while (!text.isEmpty() && text.back().unicode() <= 32) text.chop(1);
    qsizetype lead = 0;
    while (lead < text.size() && text[lead].unicode() <= 32) ++lead;
    text.remove(0, lead);
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0 || text.mid(bar + 1) != *address) return "the address " + quoted(*address) + " is not the reply's";
    const QUrl url(*address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return "accepted " + quoted(*address);
    for (QChar c : *address)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return "accepted an address with a control character";
    // No version is newer than itself.
    if (newerVersionAddress(reply, text.left(bar))) return "the offered version is newer than itself";
    return {};
}

} // namespace tw::fuzz
