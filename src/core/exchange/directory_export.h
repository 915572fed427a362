#pragma once
// A branch of the collection as a directory tree: sections and the root node become
// directories named after their captions, pages text files (caption + ".txt") holding
// their text. Existing directories are merged into; existing files are never replaced,
// a new file takes a bracketed number instead.

#include "app/feedback.h"
#include "exchange/free_file_names.h"
#include "tree/collection_tree.h"

#include <QString>

namespace tw {

inline const QString kDirectoryExportError = QStringLiteral("Ошибка при попытке экспорта.");

// Writes node and everything below it into dir (a folder path ending in "/"). Each node
// shows its caption (fb.status) and advances the progress by one. A section without
// children is created only with emptySections; a directory that cannot be created (a
// missing or read-only target) is skipped with its subtree, the rest is written, and
// false is returned at the end. Returns false, and ends the export there, when a page
// file cannot be written or a caption is no plain file name (a separator, "." or "..").
bool writeBranchDirectories(const Node& node, const QString& dir, bool emptySections,
                       FreeFileNames& names, const Feedback& fb);

// One run of the export dialog: the progress range is the number of nodes below node,
// target gets a trailing "/", and a failure (an empty target too) is reported with
// kDirectoryExportError. What was written before a failure stays.
bool exportBranchAsDirectories(const CollectionTree& tree, const Node& node, const QString& target,
                               bool emptySections, const Feedback& fb);

} // namespace tw
