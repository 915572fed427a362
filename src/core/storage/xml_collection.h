#pragma once
// Collection files: the tree as XML, one element per node in pre-order.
//
//   <TREE count="N"><Root name=".." level="0" stindex=".." slindex=".." imindex=".." lan="..">
//     [" \r\n " when the text is blank]<text>..</text> child elements...</Root></TREE>
//
// Sections are "Раздел", pages "Страница"; no declaration, nothing between elements.

#include "app/feedback.h"
#include "tree/collection_tree.h"

#include <QString>
#include <functional>
#include <pugixml.hpp>
#include <string>

namespace tw {

inline const QString kSaveFileError = QStringLiteral("Ошибка при сохранении файла");
inline const QString kOpenFileError = QStringLiteral("Ошибка при открытии файла");

namespace xml {
class ElementStream;
}

// Writes the element of the node at absIndex into the innermost open element of the
// stream; with withSubtree its descendants go inside it, and it is closed. Without, it
// stays open for the caller to add to and close.
void writeNodeXml(const CollectionTree& tree, xml::ElementStream& out, int absIndex, bool withSubtree,
               const Feedback& fb);

struct SaveOutcome {
    QString fileName;  // the name written to (".xml" appended when it had no extension)
    bool written = false;
};

// Writes the whole collection. Reports "Ошибка при сохранении файла" on failure; a failed
// or interrupted write leaves the file that was there before as it was.
SaveOutcome saveCollectionXml(const CollectionTree& tree, const QString& fileName, const Feedback& fb);

// Builds the node for element and its descendants below the node at absolute index p
// (p < 0: the root element, whose children go below the root node). Returns false when
// an element cannot be interpreted; the nodes made before it stay.
bool readTreeElements(CollectionTree& tree, pugi::xml_node element, int p, const Feedback& fb);
// The same with the parent taken at absolute index offset + p: for the root element (p < 0)
// the children go below the node at offset.
bool readBranchElements(CollectionTree& tree, pugi::xml_node element, int p, int offset, const Feedback& fb);

// Writes the branch of node: TREE with count = its descendants, the collection's Root
// element holding only the branch. The name gets ".xml" in place of its extension.
SaveOutcome saveBranchXml(const CollectionTree& tree, const QString& fileName, const Node& node, const Feedback& fb);

// Reads a branch (or collection) file and adds the children of its Root element as new last
// children of target. Nodes read before a failure stay. Reports "Ошибка при открытии файла".
// A view of the tree is told before and after the new nodes go in below the target.
struct GraftHooks {
    std::function<void(int count)> aboutToAdd;
    std::function<void()> added;
};
bool addBranchFile(CollectionTree& tree, const QString& fileName, Node* target, const Feedback& fb,
                  const GraftHooks& hooks = {});

// Reads a collection file into the tree below its root node. Reports
// "Ошибка при открытии файла" on failure; nodes read before the failure stay.
bool loadCollectionXml(CollectionTree& tree, const QString& fileName, const Feedback& fb);

// Same, from bytes already in memory (the buffer is parsed in place).
bool loadXmlBytes(CollectionTree& tree, QByteArray& bytes, const Feedback& fb);

} // namespace tw
