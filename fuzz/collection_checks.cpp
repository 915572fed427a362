// The collection readers: XML collection and branch files, the text collection format and
// the decoding every text file goes through. A tree read from any input, written and read
// again, must come back the same.

#include "checks.h"
#include "tree_comparison.h"

#include "storage/text_collection.h"
#include "storage/text_encoding.h"
#include "storage/xml_collection.h"
#include "xml/xml_layer.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

namespace tw::fuzz {

namespace {

QByteArray bytesOf(std::string_view input) { return QByteArray(input.data(), static_cast<qsizetype>(input.size())); }

// A feedback that keeps every message it is given.
struct Messages {
    QStringList said;
    Feedback feedback() {
        Feedback fb;
        fb.message = [this](const QString& m) { said << m; };
        return fb;
    }
    std::string joined() const { return said.join(u"; ").toStdString(); }
};

// What an XML collection file keeps of a node read from any file: characters XML 1.0
// cannot hold are left out of captions and texts, and the kind and selected image are the
// record's bytes (a kind outside 0..255 in a hand-made file comes back as its low byte).
// The root node is never read from a file: it keeps its own record.
KeptNode writtenAsXml(const Node& node, int level) {
    KeptNode kept = exactNode(node, level);
    if (!node.parent) return kept;
    kept.caption = xml::xmlSafe(kept.caption);
    kept.text = xml::xmlSafe(kept.text);
    kept.kind = kept.recordImage;
    kept.selectedImage = kept.recordSelected;
    kept.stateIndex = kept.recordState;
    return kept;
}

// The collection as the XML writer streams it, into memory.
QByteArray xmlBytes(const CollectionTree& tree, Messages& messages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    xml::ElementStream out(buffer);
    out.begin("TREE").append_attribute("count").set_value(tree.count());
    writeNodeXml(tree, out, 0, true, messages.feedback());
    if (!out.finish()) messages.said << QStringLiteral("the stream failed");
    return buffer.data();
}

// Writes tree as XML, reads it back into again and compares it with tree in form.
Finding xmlRoundTrip(const CollectionTree& tree, const KeptForm& form, CollectionTree& again) {
    Messages messages;
    QByteArray written = xmlBytes(tree, messages);
    if (!messages.said.isEmpty()) return "the writer reported: " + messages.joined();
    if (!loadXmlBytes(again, written, {})) return "the written collection does not read back";
    return compareSubtrees(*tree.root(), form, *again.root(), exactNode);
}

const QTemporaryDir& scratchFolder() {
    static const QTemporaryDir dir;
    return dir;
}

bool writeWhole(const QString& fileName, std::string_view input) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) &&
           file.write(input.data(), static_cast<qint64>(input.size())) == static_cast<qint64>(input.size());
}

} // namespace

Finding checkXmlCollection(std::string_view input) {
    CollectionTree tree;
    QByteArray bytes = bytesOf(input);
    loadXmlBytes(tree, bytes, {});  // a failed read keeps what it read: that part must survive a save too
    CollectionTree again;
    if (Finding f = xmlRoundTrip(tree, writtenAsXml, again); !f.empty()) return "first save: " + f;
    // What was saved once saves again unchanged.
    CollectionTree third;
    if (Finding f = xmlRoundTrip(again, exactNode, third); !f.empty()) return "second save: " + f;
    return {};
}

Finding checkXmlBranch(std::string_view input) {
    const QTemporaryDir& dir = scratchFolder();
    const QString branchFile = dir.filePath(QStringLiteral("branch.xml"));
    if (!dir.isValid() || !writeWhole(branchFile, input)) return "cannot write the scratch file";

    // The branch goes below the last of two nodes; the one before must stay as it was.
    CollectionTree tree;
    Node* kept = tree.appendChild(tree.root(), QStringLiteral("Kept"), kPageKind, kPageKind, -1,
                                  makePageRecord("kept text", QStringLiteral("Kept"), 1, kPageKind, kPageKind, -1));
    Node* target = tree.appendChild(tree.root(), QStringLiteral("Target"), kSectionCollapsed, kSectionCollapsed, -1,
                                    makePageRecord({}, QStringLiteral("Target"), 0, kSectionCollapsed, kSectionCollapsed, -1));
    int announced = -1, addedCalls = 0;
    const GraftHooks hooks{[&](int n) { announced = n; }, [&] { ++addedCalls; }};
    Messages messages;
    const bool ok = addBranchFile(tree, branchFile, target, messages.feedback(), hooks);

    // The nodes added are those the collection reader makes of the same bytes.
    CollectionTree reference;
    QByteArray bytes = bytesOf(input);
    const bool referenceOk = loadXmlBytes(reference, bytes, {});
    if (ok != referenceOk) return ok ? "added a branch the reader refuses" : "refused a branch the reader accepts";
    if (!ok && messages.said.isEmpty()) return "a failed read said nothing";
    const auto& expected = reference.root()->children;
    if (target->children.size() != expected.size())
        return std::to_string(expected.size()) + " nodes read, " + std::to_string(target->children.size()) + " added";
    for (size_t i = 0; i < expected.size(); ++i)
        if (Finding f = compareSubtrees(*expected[i], exactNode, *target->children[i], exactNode); !f.empty())
            return "added branch " + std::to_string(i) + ": " + f;
    const bool announcedRight = expected.empty() ? announced == -1 && addedCalls == 0
                                                 : announced == static_cast<int>(expected.size()) && addedCalls == 1;
    if (!announcedRight) return "the view was told of " + std::to_string(announced) + " new nodes";
    if (tree.root()->children.size() != 2 || tree.root()->children[0].get() != kept || kept->caption != u"Kept" ||
        kept->page->text != "kept text" || !kept->children.empty())
        return "the nodes already in the collection changed";

    // The target's branch saved as a branch file and added again is the same branch.
    messages.said.clear();
    const SaveOutcome saved = saveBranchXml(tree, dir.filePath(QStringLiteral("saved.xml")), *target, messages.feedback());
    if (!saved.written || !messages.said.isEmpty()) return "the branch was not saved: " + messages.joined();
    CollectionTree again;
    if (!addBranchFile(again, saved.fileName, again.root(), {})) return "the saved branch does not read back";
    if (again.root()->children.size() != 1) return "the saved branch read back as " + std::to_string(again.root()->children.size()) + " branches";
    return compareSubtrees(*target, writtenAsXml, *again.root()->children[0], exactNode);
}

Finding checkTextCollection(std::string_view input) {
    CollectionTree tree;
    Messages messages;
    const bool ok = loadTextBytes(tree, bytesOf(input), messages.feedback());
    if (!ok && messages.said.isEmpty()) return "a failed read said nothing";
    if (ok && !messages.said.isEmpty()) return "a good read said: " + messages.joined();
    // The writer refuses trees it could not read back (a caption with a lone CR from a file
    // split at LF); such a tree is saved as XML instead.
    if (!nodesUnfitForText(tree, *tree.root()).empty()) return {};

    const std::string whole = textCollectionBytes(tree, *tree.root(), {});
    CollectionTree again;
    if (!loadTextBytes(again, bytesOf(whole), {})) return "the written collection does not read back";
    if (Finding f = compareSubtrees(*tree.root(), exactNode, *again.root(), exactNode); !f.empty()) return "collection: " + f;

    // The first top-level node saved as a branch reads back as the root's only child.
    if (tree.root()->children.empty()) return {};
    const Node& branch = *tree.root()->children.front();
    const std::string branchBytes = textCollectionBytes(tree, branch, {});
    CollectionTree branchTree;
    if (!loadTextBytes(branchTree, bytesOf(branchBytes), {})) return "the written branch does not read back";
    if (branchTree.root()->children.size() != 1) return "the written branch read back as several";
    if (Finding f = compareSubtrees(branch, exactNode, *branchTree.root()->children.front(), exactNode); !f.empty())
        return "branch: " + f;
    return {};
}

Finding checkTextEncoding(std::string_view input) {
    const QByteArray bytes = bytesOf(input);
    bool replaced = false;
    const QByteArray text = textFileAsUtf8(bytes, &replaced);
    // Valid UTF-8 is exactly what survives a trip through Qt's own decoder and encoder.
    const auto isValidUtf8 = [](const QByteArray& b) { return QString::fromUtf8(b).toUtf8() == b; };
    if (!isValidUtf8(text)) return "the result is not valid UTF-8";
    if (isValidUtf8(bytes) && (text != bytes || replaced)) return "valid UTF-8 was changed";
    if (replaced && text == bytes) return "reported replacements that were not made";
    // Windows-1251 takes at most three bytes a character in UTF-8, and so does U+FFFD.
    if (text.size() > 3 * bytes.size()) return "the result grew more than three times";
    bool replacedAgain = false;
    if (textFileAsUtf8(text, &replacedAgain) != text || replacedAgain) return "decoding the result again changed it";
    return {};
}

} // namespace tw::fuzz
