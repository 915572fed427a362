#pragma once
// The line-oriented text collection format: a count line, then one record per node in
// pre-order (level, icon, selected image, kind image, language, caption, the text lines, "###"),
// lines ended by CR LF. UTF-8 is written; a file is read by the rule of textFileAsUtf8.

#include "app/feedback.h"
#include "storage/text_encoding.h"
#include "storage/xml_collection.h"
#include "tree/collection_tree.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace tw {

inline const QString kLoadFileError = QStringLiteral("Ошибка при загрузке файла");

// Appends the record of node at the given level and those of its subtree (levels + 1).
void appendTextRecords(std::string& out, const CollectionTree& tree, const Node& node, int level, const Feedback& fb);

// The file's bytes for node and its subtree (the whole collection for the root node; for
// another node the root node's record first, then the branch from level 1).
std::string textCollectionBytes(const CollectionTree& tree, const Node& node, const Feedback& fb);

// The nodes whose records the format cannot hold so that they read back: a text with a
// line that is exactly "###" (it would end the record early) or a caption with a line
// break. The root node's record and node's branch are looked at, in pre-order.
std::vector<const Node*> nodesUnfitForText(const CollectionTree& tree, const Node& node);

// Writes node's branch (the whole collection for the root node) to name with its extension
// replaced by ".txt". Reports "Ошибка при сохранении файла" on failure; a failed write
// leaves the previous file as it was. A branch with nodes unfit for the format is refused
// (the previous file stays as it was, no new file is left): the message then lists their
// paths, one a line.
SaveOutcome saveCollectionText(const CollectionTree& tree, const QString& fileName, const Node& node, const Feedback& fb);

// Reads a text collection into a tree that holds only its root node. On failure (a line
// that is no number where one belongs, a record without a parent, a file that ends inside
// a record, or records that do not match the count line) reports "Ошибка при загрузке
// файла" and returns false; the nodes read before stay (the window resets the collection).
// A file in UTF-8 with a few bytes that are not reads with those bytes as U+FFFD; a read
// that succeeds then says so (invalidBytesReplacedMessage).
bool loadCollectionText(CollectionTree& tree, const QString& fileName, const Feedback& fb);
// The same from bytes in memory; replaced (when given) tells whether invalid bytes were replaced.
bool loadTextBytes(CollectionTree& tree, const QByteArray& bytes, const Feedback& fb, bool* replaced = nullptr);

} // namespace tw
