#include "app/program_paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tw {

namespace {
const QString kInstalledData = QStringLiteral("../share/tarnwick");

// The guide beside the program (a portable copy, the build tree) or the installed one.
QString helpGuideFor(const QString& programDir) {
    const QDir dir(programDir);
    const QString beside = dir.filePath(QStringLiteral("help/index.html"));
    const QString installed = QDir::cleanPath(dir.filePath(kInstalledData + QStringLiteral("/help/index.html")));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}
} // namespace

ProgramPaths ProgramPaths::inFolder(const QString& folder) {
    const QDir dir(folder);
    // The locks of one folder's copies lie in the temporary folder, named after the folder,
    // so that taking a key never creates the folder itself.
    const QByteArray id = QCryptographicHash::hash(dir.absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    return {dir.filePath(QStringLiteral("Settings.ini")), dir.filePath(QStringLiteral("programs")),
            dir.filePath(QStringLiteral("Help.chm")), dir.filePath(QStringLiteral("keys.dat")),
            QDir(QDir::tempPath()).filePath(QStringLiteral("tarnwick-hotkeys-") + QString::fromLatin1(id.left(16))),
            helpGuideFor(folder), dir.filePath(QStringLiteral("recovery"))};
}

ProgramPaths ProgramPaths::choose(const QString& programDir, bool portable, const QString& configDir) {
    ProgramPaths paths = inFolder(programDir);
    if (!portable) {
        const ProgramPaths user = inFolder(configDir);
        paths.settingsFile = user.settingsFile;
        paths.keysFile = user.keysFile;
        paths.programsDir = user.programsDir;
    }
    // The runtime folder belongs to the user, so copies run by other users do not clash.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    paths.hotkeyLocks = QDir(runtime.isEmpty() ? QDir::tempPath() : runtime).filePath(QStringLiteral("tarnwick-hotkeys"));
    paths.recoveryDir =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
    return paths;
}

bool ProgramPaths::isPortable(const QString& programDir) {
    const QDir dir(programDir);
    if (QFileInfo(dir.filePath(kInstalledData)).isDir()) return false;
    const QFileInfo settings(dir.filePath(QStringLiteral("Settings.ini")));
    return settings.exists() ? settings.isWritable() : QFileInfo(programDir).isWritable();
}

ProgramPaths ProgramPaths::standard() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const bool portable = isPortable(programDir);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const ProgramPaths paths = choose(programDir, portable, config);
    if (!portable) {
        // Created on first use, so the settings can be written at shut-down and the user
        // finds the applications folder to put programs into.
        QDir().mkpath(config);
        QDir().mkpath(paths.programsDir);
    }
    return paths;
}

} // namespace tw
