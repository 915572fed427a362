#include "app/program_paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tw {

ProgramPaths ProgramPaths::inFolder(const QString& folder) {
    const QDir dir(folder);
    // The locks of one folder's copies lie in the temporary folder, named after the folder,
    // so that taking a key never creates the folder itself.
    const QByteArray id = QCryptographicHash::hash(dir.absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    return {dir.filePath(QStringLiteral("Settings.ini")), dir.filePath(QStringLiteral("programs")),
            dir.filePath(QStringLiteral("Help.chm")), dir.filePath(QStringLiteral("keys.dat")),
            QDir(QDir::tempPath()).filePath(QStringLiteral("tarnwick-hotkeys-") + QString::fromLatin1(id.left(16)))};
}

ProgramPaths ProgramPaths::standard() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    ProgramPaths paths = inFolder(exeDir);
    const QFileInfo settings(paths.settingsFile);
    const bool usable = settings.exists() ? settings.isWritable() : QFileInfo(exeDir).isWritable();
    if (!usable) {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir().mkpath(config);
        paths.settingsFile = QDir(config).filePath(QStringLiteral("Settings.ini"));
        paths.keysFile = QDir(config).filePath(QStringLiteral("keys.dat"));
    }
    // The runtime folder belongs to the user, so copies run by other users do not clash.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    paths.hotkeyLocks = QDir(runtime.isEmpty() ? QDir::tempPath() : runtime).filePath(QStringLiteral("tarnwick-hotkeys"));
    return paths;
}

} // namespace tw
