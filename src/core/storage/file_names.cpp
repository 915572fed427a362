#include "storage/file_names.h"

#include <QDir>

namespace tw {

namespace {
qsizetype folderEnd(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == u'/' || c == u'\\' || c == u':') return i + 1;
    }
    return 0;
}

qsizetype extensionDot(const QString& path) {
    const qsizetype start = folderEnd(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= start ? dot : -1;
}
} // namespace

QString fileNamePart(const QString& path) { return path.mid(folderEnd(path)); }

bool hasExtension(const QString& path) { return extensionDot(path) >= 0; }

QString withXmlExtensionIfNone(const QString& path) {
    return hasExtension(path) ? path : path + QStringLiteral(".xml");
}

QString replaceExtension(const QString& path, const QString& ext) {
    const qsizetype dot = extensionDot(path);
    return (dot >= 0 ? path.left(dot) : path) + ext;
}

bool isXmlName(const QString& path) {
    const qsizetype dot = extensionDot(path);
    return dot >= 0 && path.mid(dot).compare(QStringLiteral(".xml"), Qt::CaseInsensitive) == 0;
}

QString cannotCreateFileMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace tw
