#include "storage/backups.h"

#include "storage/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tw {

QString backupName(const QString& fileName, int generation) {
    const QString newest = fileName + QStringLiteral(".bak");
    return generation == 0 ? newest : newest + u'.' + QString::number(generation);
}

namespace {

// Moves every backup one generation up, the oldest kept one out, so generation 0 is free.
// Only regular files are moved: a folder of such a name is no backup.
void rotate(const QString& file, int count) {
    const QString oldest = backupName(file, count - 1);
    if (QFileInfo(oldest).isFile()) QFile::remove(oldest);
    for (int k = count - 2; k >= 0; --k) {
        const QString from = backupName(file, k);
        if (QFileInfo(from).isFile()) QFile::rename(from, backupName(file, k + 1));
    }
}

// Writes the new backup completely first; only then are the older ones moved up and the
// new one put in place, so a failed write leaves the backups as they were.
bool backupInto(const QString& dir, const QString& fileName, const QByteArray& bytes, int count) {
    const QString file = dir + u'/' + QFileInfo(fileName).fileName();
    SafeSave backup(backupName(file, 0));
    if (!backup.open() || !backup.write(bytes)) return false;
    if (count > 1) rotate(file, count);
    return backup.commit();
}

} // namespace

bool keepBackups(const QString& fileName, int count, const QString& fallbackDir) {
    if (count <= 0 || !QFileInfo(fileName).isFile()) return true;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    if (backupInto(QFileInfo(fileName).absolutePath(), fileName, bytes, count)) return true;
    return !fallbackDir.isEmpty() && QDir().mkpath(fallbackDir) && backupInto(fallbackDir, fileName, bytes, count);
}

} // namespace tw
