#pragma once
// A branch of the collection as a directory tree: sections and the root node become
// directories named after their captions, pages text files (caption + ".txt") holding
// their text. Existing directories are merged into; existing files are never replaced,
// a new file takes a bracketed number instead.

#include "app/feedback.h"
#include "exchange/free_file_names.h"
#include "tree/collection_tree.h"

#include <QString>
#include <QStringList>

namespace tw {

inline const QString kDirectoryExportError = QStringLiteral("Ошибка при попытке экспорта.");

// What an export wrote and what it could not.
struct DirectoryExportReport {
    int pagesWritten = 0;
    QStringList skipped;  // paths of nodes whose caption no file system can hold
    QString failedFile;   // the page file that could not be written, and why
    QString reason;
};

// Writes node and everything below it into dir (a folder path ending in "/"). Each node
// shows its caption (fb.status) and advances the progress by one. A section without
// children is created only with emptySections. A directory that cannot be created (a
// missing or read-only target) and a node whose caption is no plain file name (a
// separator, "." or "..") are skipped with their subtrees, the rest is written, and false
// is returned at the end. Returns false, and ends the export there, when a page file
// cannot be written.
bool writeBranchDirectories(const Node& node, const QString& dir, bool emptySections,
                       FreeFileNames& names, const Feedback& fb, DirectoryExportReport* report = nullptr);

// One run of the export dialog: the progress range is the number of nodes below node,
// target gets a trailing "/", and a failure (an empty target too) is reported in one
// message: kDirectoryExportError, then the skipped nodes by path (the report names a file
// that could not be written, and why). What was written stays. The status ends with the
// number of pages written.
bool exportBranchAsDirectories(const CollectionTree& tree, const Node& node, const QString& target,
                               bool emptySections, const Feedback& fb, DirectoryExportReport* report = nullptr);

// "Экспортировано страниц: N".
QString pagesExportedStatus(int pages);

} // namespace tw
