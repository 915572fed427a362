#include "app/update_rule.h"

#include <QUrl>

namespace tw {

namespace {

// Characters of code 32 or less at both ends are dropped.
QByteArray trimmedReply(const QByteArray& reply) {
    qsizetype begin = 0, end = reply.size();
    while (begin < end && static_cast<unsigned char>(reply[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(reply[end - 1]) <= 32) --end;
    return reply.mid(begin, end - begin);
}

// The version with its first "." removed, read as a decimal integer: an optional sign and
// digits, nothing else.
std::optional<long long> versionNumber(QString version) {
    const qsizetype dot = version.indexOf(u'.');
    if (dot >= 0) version.remove(dot, 1);
    qsizetype i = (version.startsWith(u'+') || version.startsWith(u'-')) ? 1 : 0;
    if (i >= version.size() || version.size() > 18) return std::nullopt;
    for (; i < version.size(); ++i)
        if (!version[i].isDigit() || version[i].unicode() > 127) return std::nullopt;
    return version.toLongLong();
}

} // namespace

std::optional<QString> newerVersionAddress(const QByteArray& reply, const QString& own) {
    // The file is single-byte text; Latin-1 keeps every byte as one character.
    const QString text = QString::fromLatin1(trimmedReply(reply));
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0) return std::nullopt;
    const std::optional<long long> offered = versionNumber(text.left(bar));
    const std::optional<long long> current = versionNumber(own);
    if (!offered || !current || *offered <= *current) return std::nullopt;
    const QString address = text.mid(bar + 1);
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty())
        return std::nullopt;
    return address;
}

QString versionFileUrl(const QString& host) {
    return QStringLiteral("http://") + host.trimmed() + QStringLiteral("/version.txt");
}

} // namespace tw
