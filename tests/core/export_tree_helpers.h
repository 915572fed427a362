#pragma once
// Small collections for the export tests.

#include "tree/collection_tree.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace tw::testing_helpers {

inline Node* addSection(CollectionTree& t, Node* parent, const QString& caption) {
    return t.appendChild(parent, caption, kSectionCollapsed, kSectionCollapsed, -1,
                         makePageRecord({}, caption, 0, kSectionCollapsed, kSectionExpanded, -1));
}

inline Node* addPage(CollectionTree& t, Node* parent, const QString& caption, std::string text = {}, int lan = 1) {
    return t.appendChild(parent, caption, kPageKind, kPageKind, -1,
                         makePageRecord(std::move(text), caption, lan, kPageKind, kPageKind, -1));
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void touch(const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

// Every file and folder below dir as relative paths, sorted; folders end with "/".
inline QStringList listTree(const QString& dir) {
    QStringList out;
    QDir root(dir);
    const auto walk = [&](const auto& self, const QString& rel) -> void {
        const QDir d(root.filePath(rel));
        for (const QFileInfo& e : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
            const QString path = rel.isEmpty() ? e.fileName() : rel + u'/' + e.fileName();
            if (e.isDir()) {
                out << path + u'/';
                self(self, path);
            } else {
                out << path;
            }
        }
    };
    walk(walk, QString());
    return out;
}

} // namespace tw::testing_helpers
