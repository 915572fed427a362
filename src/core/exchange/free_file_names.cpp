#include "exchange/free_file_names.h"

#include <QDir>

namespace tw {

namespace {

struct SplitName {
    QString dir;   // with its trailing separator, empty for a bare name
    QString name;
};

SplitName splitPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return {path.left(slash + 1), path.mid(slash + 1)};
}

// Base and extension of a lower-cased file name, split at its last dot.
struct BaseAndExtension {
    QString base, extension;
};

BaseAndExtension splitExtension(const QString& name) {
    const int dot = positionOf(QStringLiteral("."), name, true, static_cast<int>(name.size()));
    if (dot == 0) return {name, QString()};
    return {name.left(dot - 1), name.mid(dot - 1)};
}

QString queryKey(const QString& base, const QString& extension) { return base + QChar(0) + extension; }

} // namespace

int positionOf(const QString& pattern, const QString& text, bool backward, int start) {
    const int length = static_cast<int>(text.size());
    const int width = static_cast<int>(pattern.size());
    if (width == 0 || start < 1) return 0;
    const auto matchesAt = [&](int p) { return p + width - 1 <= length && QStringView(text).mid(p - 1, width) == pattern; };
    if (backward) {
        for (int p = std::min(start, length); p >= 1; --p)
            if (matchesAt(p)) return p;
    } else {
        for (int p = start; p <= length; ++p)
            if (matchesAt(p)) return p;
    }
    return 0;
}

qint64 trailingNumber(const QString& fileName) {
    const qsizetype open = fileName.lastIndexOf(u'[');
    const qsizetype close = fileName.lastIndexOf(u']');
    if (open < 0 || close < 0 || close <= open) return 0;
    bool ok = false;
    const int value = fileName.mid(open + 1, close - open - 1).toInt(&ok);
    return ok ? value : 0;
}

bool isSafeFileNamePart(const QString& caption) {
    return !caption.contains(u'/') && !caption.contains(u'\\') && caption != QLatin1String(".") &&
           caption != QLatin1String("..");
}

FreeFileNames::Folder& FreeFileNames::folder(const QString& dir) {
    auto it = folders_.find(dir);
    if (it != folders_.end()) return *it;
    Folder& f = folders_[dir];
    // Files of every kind count (hidden ones and dangling links too); folders do not.
    const QDir listing(dir.isEmpty() ? QStringLiteral(".") : dir);
    for (const QString& name : listing.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        f.names.insert(name);
        f.lowerNames.insert(name.toLower());
    }
    return f;
}

qint64 FreeFileNames::scanLargest(Folder& f, const QString& base, const QString& extension) {
    if (!f.sorted) {
        for (const QString& name : std::as_const(f.names)) f.lowerNames.insert(name.toLower());
        f.sorted = true;
    }
    qint64 n = 0;
    for (auto it = f.lowerNames.lower_bound(base); it != f.lowerNames.end() && it->startsWith(base); ++it)
        if (splitExtension(*it).extension == extension) n = std::max(n, trailingNumber(*it));
    return n;
}

QString FreeFileNames::freeName(const QString& candidate) {
    const SplitName path = splitPath(candidate);
    Folder& f = folder(path.dir);
    if (!f.names.contains(path.name)) return candidate;
    const BaseAndExtension parts = splitExtension(path.name.toLower());
    const QString key = queryKey(parts.base, parts.extension);
    auto known = f.largest.find(key);
    if (known == f.largest.end()) {
        known = f.largest.insert(key, scanLargest(f, parts.base, parts.extension));
        f.baseLengths.insert(parts.base.size());
    }
    return path.dir + parts.base + u'[' + QString::number(*known + 1) + u']' + parts.extension;
}

void FreeFileNames::noteWritten(const QString& fullName) {
    const SplitName path = splitPath(fullName);
    Folder& f = folder(path.dir);
    if (f.names.contains(path.name)) return;
    f.names.insert(path.name);
    // Until a name of this folder has been taken there is nothing sorted to keep and no
    // remembered query to update: the usual case of captions that differ costs one insert.
    if (!f.sorted) return;
    const QString lower = path.name.toLower();
    f.lowerNames.insert(lower);
    // Every remembered query whose base begins this name and whose extension it shares
    // now has to count its number; only the lengths of bases asked about are tried.
    const QString extension = splitExtension(lower).extension;
    const qint64 number = trailingNumber(lower);
    QString key;
    for (const qsizetype k : f.baseLengths) {
        if (k > lower.size()) break;
        key.clear();
        key.append(QStringView(lower).left(k)).append(QChar(0)).append(extension);
        auto it = f.largest.find(key);
        if (it != f.largest.end()) *it = std::max(*it, number);
    }
}

} // namespace tw
