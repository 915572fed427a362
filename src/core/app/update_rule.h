#pragma once
// What the update check makes of the version file the update host serves:
// "<version>|<download address>", for example "1.7|https://host/download".

#include <QByteArray>
#include <QString>
#include <optional>

namespace tw {

// The program's own version, as in the window caption.
inline const QString kProgramVersion = QStringLiteral("1.6");
// The update host when [Update] host is not set.
inline const QString kDefaultUpdateHost = QStringLiteral("update.tarnwick.org");

// The download address when the reply announces a version newer than `own`; nullopt
// otherwise and for every reply that does not follow the form.
//
// Blanks and line breaks around the reply are ignored. The first "." of each version is
// removed and the rest read as a decimal integer ("1.7" is 17, "1.10" is 110, "1.6.1" is no
// integer), so "newer" means a greater integer. Only the version part loses its dot: the
// address is kept whole, and it is accepted only as an http:// or https:// address, since
// the reply is not authenticated and the address is handed to the desktop to open.
std::optional<QString> newerVersionAddress(const QByteArray& reply, const QString& own = kProgramVersion);

// The address of the version file on a host given as "name" or "name:port".
QString versionFileUrl(const QString& host);

} // namespace tw
