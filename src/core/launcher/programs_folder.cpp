#include "launcher/programs_folder.h"

#include <QDir>
#include <QFileInfo>

namespace tw {

QString programCaption(const QString& fileName) {
    const QString caption = fileName.section(QLatin1Char('.'), 0, 0);
    return caption.isEmpty() ? fileName : caption;
}

std::vector<ProgramFile> findPrograms(const QString& folder) {
    std::vector<ProgramFile> programs;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return programs;
    const QFileInfoList files =
        dir.entryInfoList(QDir::Files | QDir::Executable | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : files) {
        if (!info.isFile() || !info.isExecutable()) continue;
        programs.push_back({programCaption(info.fileName()), info.filePath()});
    }
    return programs;
}

} // namespace tw
