#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace tw {

void DesktopLauncher::shellExecute(const QString& target) {
    if (target.trimmed().isEmpty()) return;
    // "scheme:..." with a scheme of two letters or more is an address ("C:\..." is not one).
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch() && !QFileInfo::exists(target)) {
        QDesktopServices::openUrl(QUrl(target));
        return;
    }
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable()) {
        QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

} // namespace tw
