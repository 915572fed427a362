#include "app/program_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tw {

ProgramPaths ProgramPaths::inFolder(const QString& folder) {
    const QDir dir(folder);
    return {dir.filePath(QStringLiteral("Settings.ini")), dir.filePath(QStringLiteral("programs")),
            dir.filePath(QStringLiteral("Help.chm"))};
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
    }
    return paths;
}

} // namespace tw
