#include "storage/xml_collection.h"

#include "storage/file_bytes.h"
#include "storage/file_names.h"
#include "storage/safe_save.h"
#include "xml/xml_layer.h"

#include <QFile>

namespace tw {

namespace {

const char* elementName(const Node& node) {
    switch (node.kindImage) {
    case kSectionCollapsed:
    case kSectionExpanded:
        return "Раздел";
    case kPageKind:
        return "Страница";
    case kRootKind:
        return "Root";
    default:
        // A kind image read from a file that is no known kind: the record decides, and
        // anything unknown is kept as a section so its children stay below it.
        return node.page && node.page->imageIndex == kPageKind ? "Страница" : "Раздел";
    }
}

bool isBlank(const std::string& text) {
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
    return true;
}

bool setCharacterData(pugi::xml_node element, const std::string& text) {
    if (text.empty()) return true;
    pugi::xml_node data = element.append_child(pugi::node_pcdata);
    if (!data) return false;
    if (xml::isXmlSafe(text)) return data.set_value(text.data(), text.size());
    const std::string safe = xml::xmlSafe(text);
    return data.set_value(safe.data(), safe.size());
}

// Writes one node's element: marker, text and attributes; its children follow it.
void writeNode(const CollectionTree& tree, xml::ElementStream& out, const Node& node, const Feedback& fb) {
    const PageRecord& page = *node.page;
    bool ok = true;
    pugi::xml_node element = out.begin(elementName(node));
    if (!element) {
        fb.say(QStringLiteral("Ошибка при сохранении ") + node.caption);
        return;
    }
    if (isBlank(page.text)) ok = static_cast<bool>(element.append_child(pugi::node_pcdata).set_value(" \r\n "));
    pugi::xml_node text = element.append_child("text");
    if (!text || !setCharacterData(text, page.text)) {
        if (text) text.remove_children();
        fb.say(QStringLiteral("Ошибка при сохранении текста ") + node.caption);
    }
    const std::string caption = xml::xmlSafe(node.caption.toStdString());
    ok = element.append_attribute("name").set_value(caption.c_str()) && ok;
    ok = element.append_attribute("level").set_value(tree.levelOf(&node)) && ok;
    ok = element.append_attribute("stindex").set_value(page.stateIndex) && ok;
    ok = element.append_attribute("slindex").set_value(static_cast<int>(page.selectedIndex)) && ok;
    ok = element.append_attribute("imindex").set_value(static_cast<int>(page.imageIndex)) && ok;
    ok = element.append_attribute("lan").set_value(static_cast<int>(page.language)) && ok;
    if (!ok) fb.say(QStringLiteral("Ошибка при сохранении ") + node.caption);
}

} // namespace

void writeNodeXml(const CollectionTree& tree, xml::ElementStream& out, int absIndex, bool withSubtree,
               const Feedback& fb) {
    const Node* start = tree.nodeAt(absIndex);
    if (!start) return;
    writeNode(tree, out, *start, fb);
    if (!withSubtree) return;
    fb.step();
    // Pre-order without recursion: each frame is an open element and the next child to write.
    std::vector<std::pair<const Node*, size_t>> stack{{start, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next == node->children.size()) {
            out.end();
            stack.pop_back();
            continue;
        }
        const Node* child = node->children[next++].get();
        writeNode(tree, out, *child, fb);
        fb.step();
        stack.emplace_back(child, 0);
    }
}

SaveOutcome saveCollectionXml(const CollectionTree& tree, const QString& fileName, const Feedback& fb) {
    fb.setStatus(QStringLiteral("Сохранение..."));
    SaveOutcome outcome;
    outcome.fileName = withXmlExtensionIfNone(fileName);
    try {
        const int count = tree.count();
        ProgressScope progress(fb, count);
        fb.repaint();
        // Written straight into the new file; only a complete file replaces the old one.
        SafeSave file(outcome.fileName);
        if (file.open()) {
            xml::ElementStream out(file.device());
            out.begin("TREE").append_attribute("count").set_value(count);
            writeNodeXml(tree, out, 0, true, fb);
            if (!out.finish()) file.fail();
            outcome.written = file.commit();
        }
    } catch (const std::bad_alloc&) {
        outcome.written = false;
    }
    if (!outcome.written) fb.say(kSaveFileError);
    fb.setStatus(QString());
    return outcome;
}

namespace {

// Whether the zero-terminated name is rest and nothing more.
bool isRest(const char* name, const char* rest) {
    for (; *rest; ++name, ++rest)
        if (*name != *rest) return false;
    return *name == 0;
}

// Reads the attributes of one node element and adds its node below parent. The attributes
// are read in one pass; where a name repeats, its first attribute counts.
Node* readNode(CollectionTree& tree, pugi::xml_node element, Node* parent) {
    const char* name = nullptr;
    const char* values[4] = {};  // imindex, slindex, stindex, lan
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char** slot = nullptr;
        switch (const char* n = a.name(); n[0]) {
        case 'n': slot = isRest(n + 1, "ame") ? &name : nullptr; break;
        case 'i': slot = isRest(n + 1, "mindex") ? &values[0] : nullptr; break;
        case 's':
            if (isRest(n + 1, "lindex"))
                slot = &values[1];
            else if (isRest(n + 1, "tindex"))
                slot = &values[2];
            break;
        case 'l': slot = isRest(n + 1, "an") ? &values[3] : nullptr; break;
        default: break;
        }
        if (slot && !*slot) *slot = a.value();
    }
    if (!name) return nullptr;
    std::int32_t numbers[4];
    for (int i = 0; i < 4; ++i) {
        if (!values[i]) return nullptr;
        const auto number = xml::parseInt32(values[i]);
        if (!number) return nullptr;
        numbers[i] = *number;
    }
    const auto [imindex, slindex, stindex, lan] = numbers;
    const pugi::xml_node first = xml::firstSignificantChild(element);
    if (!first) return nullptr;
    auto text = xml::characterData(first);
    if (!text) return nullptr;
    const QString caption = QString::fromUtf8(name);
    return tree.appendChild(parent, caption, imindex, slindex, stindex,
                            makePageRecord(std::move(*text), caption, lan, imindex, slindex, stindex));
}

} // namespace

bool readTreeElements(CollectionTree& tree, pugi::xml_node element, int p, const Feedback& fb) {
    return readBranchElements(tree, element, p, 0, fb);
}

bool readBranchElements(CollectionTree& tree, pugi::xml_node element, int p, int offset, const Feedback& fb) {
    Node* top = nullptr;
    if (p < 0) {
        top = tree.nodeAt(offset);
        if (!top) return false;
    } else {
        Node* parent = tree.nodeAt(offset + p);
        if (!parent) return false;
        top = readNode(tree, element, parent);
        if (!top) return false;
        fb.step();
    }
    // Pre-order without recursion. Every child after an element's first (its text) is a node.
    struct Frame {
        pugi::xml_node next;
        Node* parent;
    };
    auto childrenAfterText = [](pugi::xml_node el) {
        pugi::xml_node first = xml::firstSignificantChild(el);
        return first ? xml::nextSignificantSibling(first) : pugi::xml_node();
    };
    std::vector<Frame> stack{{childrenAfterText(element), top}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (!frame.next) {
            stack.pop_back();
            continue;
        }
        const pugi::xml_node child = frame.next;
        frame.next = xml::nextSignificantSibling(child);
        Node* node = readNode(tree, child, frame.parent);
        if (!node) return false;
        fb.step();
        stack.push_back({childrenAfterText(child), node});
    }
    return true;
}

bool loadXmlBytes(CollectionTree& tree, QByteArray& bytes, const Feedback& fb) {
    pugi::xml_document doc;
    if (!xml::loadInPlace(doc, bytes)) return false;
    // Whatever precedes the document element (declaration, comments, processing
    // instructions) is skipped.
    const pugi::xml_node top = doc.document_element();
    if (!top) return false;
    const auto count = xml::requiredInt(top, "count");
    if (!count || *count < 0) return false;
    const pugi::xml_node rootElement = xml::firstSignificantChild(top);
    if (!rootElement) return false;
    ProgressScope progress(fb, *count);
    fb.repaint();
    return readTreeElements(tree, rootElement, -1, fb);
}

SaveOutcome saveBranchXml(const CollectionTree& tree, const QString& fileName, const Node& node, const Feedback& fb) {
    fb.setStatus(QStringLiteral("Сохранение..."));
    SaveOutcome outcome;
    outcome.fileName = replaceExtension(fileName, QStringLiteral(".xml"));
    try {
        int count = 0;
        addDescendantCount(&node, count);
        ProgressScope progress(fb, static_cast<int>(node.children.size()));
        fb.repaint();
        SafeSave file(outcome.fileName);
        if (file.open()) {
            xml::ElementStream out(file.device());
            out.begin("TREE").append_attribute("count").set_value(count);
            writeNodeXml(tree, out, 0, false, Feedback{fb.message, {}, {}, {}, {}, {}});  // Root alone; the bar stays
            writeNodeXml(tree, out, tree.indexOf(&node), true, fb);
            if (!out.finish()) file.fail();
            outcome.written = file.commit();
        }
    } catch (const std::bad_alloc&) {
        outcome.written = false;
    }
    if (!outcome.written) fb.say(kSaveFileError);
    fb.setStatus(QString());
    return outcome;
}

bool addBranchFile(CollectionTree& tree, const QString& fileName, Node* target, const Feedback& fb,
                  const GraftHooks& hooks) {
    // The branch is read into a tree of its own, then handed over below target whole, so
    // the nodes already in the collection never move while the file is read.
    CollectionTree branch;
    bool ok = false;
    try {
        QByteArray bytes;
        ok = readFileBytes(fileName, bytes) && loadXmlBytes(branch, bytes, fb);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    std::vector<std::unique_ptr<Node>> added = std::move(branch.root()->children);
    branch.root()->children.clear();
    if (!added.empty()) {
        if (hooks.aboutToAdd) hooks.aboutToAdd(static_cast<int>(added.size()));
        for (auto& node : added) tree.insertChild(target, static_cast<int>(target->children.size()), std::move(node));
        if (hooks.added) hooks.added();
    }
    if (!ok) fb.say(kOpenFileError);
    return ok;
}

bool loadCollectionXml(CollectionTree& tree, const QString& fileName, const Feedback& fb) {
    bool ok = false;
    try {
        QByteArray bytes;
        ok = readFileBytes(fileName, bytes) && loadXmlBytes(tree, bytes, fb);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) fb.say(kOpenFileError);
    return ok;
}

} // namespace tw
