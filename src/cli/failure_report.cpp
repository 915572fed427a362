#include "failure_report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <pugixml.hpp>

namespace tw::cli {

void printError(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

Feedback FailureReport::feedback() {
    Feedback fb;
    fb.message = [this](const QString& text) { messages_ << text; };
    return fb;
}

int FailureReport::fail(const QString& path, const QString& reason) {
    const QString where = QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
    printError(messages_.isEmpty() ? where : messages_.join(QStringLiteral("; ")) + QStringLiteral(": ") + where);
    messages_.clear();
    return 1;
}

void FailureReport::flush() {
    for (const QString& m : messages_) printError(m);
    messages_.clear();
}

QString readFailureReason(const QString& path, bool asXml) {
    QFile file(path);
    if (QFileInfo(path).isDir()) return QStringLiteral("Is a directory");
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    if (!asXml) return QStringLiteral("not a text collection (a damaged or missing record)");
    pugi::xml_document doc;
    const QByteArray bytes = file.readAll();
    const pugi::xml_parse_result parsed = doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!parsed)
        return QStringLiteral("not well-formed XML (%1 at byte %2)")
            .arg(QString::fromLatin1(parsed.description()))
            .arg(parsed.offset);
    return QStringLiteral("not a collection (a TREE element with its nodes expected)");
}

QString writeFailureReason(const QString& path) {
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isDir()) return QStringLiteral("No such directory");
    if (info.isDir()) return QStringLiteral("Is a directory");
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("the file could not be written completely");
}

QString folderFailureReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("No such file or directory");
    if (!info.isDir()) return QStringLiteral("Not a directory");
    if (!info.isWritable()) return QStringLiteral("Permission denied");
    return QStringLiteral("a file or folder inside could not be written");
}

} // namespace tw::cli
