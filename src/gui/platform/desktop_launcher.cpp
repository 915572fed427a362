#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QUrl>

namespace tw {

LaunchTarget resolveLaunchTarget(const QString& target) {
    if (target.trimmed().isEmpty()) return {};
    // "scheme:..." with a scheme of two letters or more is an address ("C:\..." is not one).
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch() && !QFileInfo::exists(target)) return {LaunchTarget::Address, target};
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable()) return {LaunchTarget::Program, info.absoluteFilePath()};
    if (info.exists()) return {LaunchTarget::Document, info.absoluteFilePath()};
    // A bare name ("gedit") is a program on PATH.
    if (!target.contains(u'/')) {
        const QString found = QStandardPaths::findExecutable(target.trimmed());
        if (!found.isEmpty()) return {LaunchTarget::Program, found};
    }
    return {LaunchTarget::Document, info.absoluteFilePath()};
}

QString launchFailedMessage(const QString& target) {
    return QStringLiteral("Не удалось открыть \"%1\".").arg(target);
}

bool DesktopLauncher::shellExecute(const QString& target) {
    const LaunchTarget t = resolveLaunchTarget(target);
    switch (t.kind) {
    case LaunchTarget::Nothing: return false;
    case LaunchTarget::Address: return QDesktopServices::openUrl(QUrl(t.path));
    case LaunchTarget::Program: return QProcess::startDetached(t.path, {}, QFileInfo(t.path).absolutePath());
    case LaunchTarget::Document:
        return QFileInfo::exists(t.path) && QDesktopServices::openUrl(QUrl::fromLocalFile(t.path));
    }
    return false;
}

} // namespace tw
