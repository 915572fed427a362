#include "storage/text_collection.h"

#include "storage/file_names.h"
#include "storage/safe_save.h"

#include <QFile>
#include <charconv>

namespace tw {

namespace {

void appendRecord(std::string& out, const Node& node, int level, const std::string& text) {
    out += std::to_string(level) + "\r\n";
    out += std::to_string(node.stateIndex) + "\r\n";
    out += std::to_string(node.selectedImage) + "\r\n";
    out += std::to_string(node.kindImage) + "\r\n";
    out += std::to_string(static_cast<int>(node.page->language)) + "\r\n";
    out += node.caption.toStdString() + "\r\n";
    out += text + "\r\n";
    out += "###\r\n";
}

} // namespace

void appendTextRecords(std::string& out, const CollectionTree&, const Node& node, int level, const Feedback& fb) {
    // Pre-order without recursion; every node's text is written as it is held.
    std::vector<std::pair<const Node*, int>> stack{{&node, level}};
    while (!stack.empty()) {
        auto [n, l] = stack.back();
        stack.pop_back();
        appendRecord(out, *n, l, n->parent ? n->page->text : std::string());
        fb.step();
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.emplace_back(it->get(), l + 1);
    }
}

std::string textCollectionBytes(const CollectionTree& tree, const Node& node, const Feedback& fb) {
    int count = 0;
    addDescendantCount(&node, count);
    std::string body;
    if (node.parent) {
        appendRecord(body, *tree.root(), 0, std::string());
        appendTextRecords(body, tree, node, 1, fb);
    } else {
        appendTextRecords(body, tree, node, 0, fb);
    }
    // The built text ends in "###" CR LF already, which is what the file ends with.
    return std::to_string(count) + "\r\n" + body;
}

namespace {

bool hasTerminatorLine(const std::string& text) {
    const std::string_view view(text);
    return view == "###" || view.starts_with("###\r\n") || view.ends_with("\r\n###") ||
           view.find("\r\n###\r\n") != std::string_view::npos;
}

bool hasLineBreak(const QString& caption) { return caption.contains(u'\n') || caption.contains(u'\r'); }

// At most this many paths are named in the message; more are shown as "...".
constexpr size_t kNamedUnfitNodes = 20;

QString unfitNodesMessage(const std::vector<const Node*>& nodes) {
    QString message = kSaveFileError + u':';
    for (size_t k = 0; k < nodes.size() && k < kNamedUnfitNodes; ++k) message += u'\n' + nodePath(nodes[k]);
    if (nodes.size() > kNamedUnfitNodes) message += QStringLiteral("\n...");
    return message;
}

} // namespace

std::vector<const Node*> nodesUnfitForText(const CollectionTree& tree, const Node& node) {
    std::vector<const Node*> unfit;
    if (node.parent && hasLineBreak(tree.root()->caption)) unfit.push_back(tree.root());
    std::vector<const Node*> stack{&node};
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        // The root node's text is never written.
        if (hasLineBreak(n->caption) || (n->parent && hasTerminatorLine(n->page->text))) unfit.push_back(n);
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.push_back(it->get());
    }
    return unfit;
}

SaveOutcome saveCollectionText(const CollectionTree& tree, const QString& fileName, const Node& node, const Feedback& fb) {
    const std::vector<const Node*> unfit = nodesUnfitForText(tree, node);
    if (!unfit.empty()) {
        fb.say(unfitNodesMessage(unfit));
        return {replaceExtension(fileName, QStringLiteral(".txt")), false};
    }
    int count = 0;
    addDescendantCount(&node, count);
    ProgressScope progress(fb, count);
    SaveOutcome outcome;
    outcome.fileName = replaceExtension(fileName, QStringLiteral(".txt"));
    fb.setStatus(QStringLiteral("Сохранение..."));
    try {
        const std::string bytes = textCollectionBytes(tree, node, fb);
        outcome.written = saveFileBytes(outcome.fileName, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } catch (const std::bad_alloc&) {
        outcome.written = false;
    }
    if (!outcome.written) fb.say(kSaveFileError);
    fb.setStatus(QString());
    return outcome;
}

namespace {

// Lines of the file: split at CR LF (a lone CR or LF stays inside its line, so texts come
// back exactly); a file without any CR LF is split at LF.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    const std::string_view breakSeq = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find(breakSeq, pos);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + breakSeq.size();
    }
    return lines;
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// A number at the start of a line (leading blanks skipped, the rest of the line ignored).
bool leadingNumber(std::string_view line, int& value) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return false;
    const char* first = line.data() + start;
    const char* last = line.data() + line.size();
    if (*first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr != first;
}

} // namespace

bool loadTextBytes(CollectionTree& tree, const QByteArray& raw, const Feedback& fb) {
    const QByteArray bytes = textFileAsUtf8(raw);
    const std::vector<std::string_view> lines = splitLines(std::string_view(bytes.constData(), bytes.size()));
    size_t i = 0;
    auto nextNumber = [&](int& value) -> int {  // 1 read, 0 end of file, -1 not a number
        while (i < lines.size() && isBlankLine(lines[i])) ++i;
        if (i >= lines.size()) return 0;
        return leadingNumber(lines[i++], value) ? 1 : -1;
    };
    int count = 0;
    if (nextNumber(count) != 1) {
        fb.say(kLoadFileError);
        return false;
    }
    ProgressScope progress(fb, std::max(count, 0));
    // The most recent node of every level: the parent of a record of level L is the entry
    // of L - 1, as walking the list of nodes made so far backwards would find, without
    // walking it (a flat collection would make that quadratic).
    std::vector<Node*> lastAtLevel{tree.root()};
    // A file that ends inside a record, or holds fewer or more records than its count line
    // says, is damaged: the nodes read so far stay, and the read fails.
    bool complete = true;
    int records = 0, topRecords = 0;  // records below the root node, and those of level 1
    for (;;) {
        int values[5];
        int got = 1, numbers = 0;
        while (numbers < 5 && (got = nextNumber(values[numbers])) == 1) ++numbers;
        if (got == -1) {
            fb.say(kLoadFileError);
            return false;
        }
        if (got == 0) {
            if (numbers > 0) complete = false;  // the end inside a record, not between two
            break;
        }
        if (i >= lines.size()) {  // no caption: an unfinished record is left out
            complete = false;
            break;
        }
        const QString caption = QString::fromUtf8(lines[i].data(), static_cast<qsizetype>(lines[i].size()));
        ++i;
        // The text: lines up to "###" (or to the end of the file), joined by CR LF. The CR LF
        // the writer adds after every text is not part of it.
        std::string text;
        bool first = true;
        while (i < lines.size() && lines[i] != "###") {
            if (!first) text += "\r\n";
            text.append(lines[i]);
            first = false;
            ++i;
        }
        if (i < lines.size()) ++i;  // the terminator
        else complete = false;
        fb.step();
        fb.repaint();
        const int level = values[0];
        if (level == 0) continue;  // the root node keeps its own caption, images and record
        Node* parent = level > 0 && level - 1 < static_cast<int>(lastAtLevel.size())
                           ? lastAtLevel[static_cast<size_t>(level - 1)]
                           : nullptr;
        if (!parent) {
            fb.say(kLoadFileError);
            return false;
        }
        const int stateIndex = values[1], selected = values[2], kind = values[3];
        Node* node = tree.appendChild(parent, caption, kind, selected, stateIndex,
                                      makePageRecord(std::move(text), QString(), values[4], kind, selected, stateIndex));
        if (static_cast<size_t>(level) >= lastAtLevel.size()) lastAtLevel.resize(static_cast<size_t>(level) + 1, nullptr);
        lastAtLevel[static_cast<size_t>(level)] = node;
        ++records;
        if (level == 1) ++topRecords;
    }
    // The count line holds the number of descendants of the node written: the whole
    // collection has that many records below the root node, a branch file one more (its
    // own node, the only record of level 1).
    const bool counted = records == count || (records == count + 1 && topRecords == 1);
    if (!complete || !counted) {
        fb.say(kLoadFileError);
        return false;
    }
    return true;
}

bool loadCollectionText(CollectionTree& tree, const QString& fileName, const Feedback& fb) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        fb.say(kLoadFileError);
        return false;
    }
    return loadTextBytes(tree, file.readAll(), fb);
}

} // namespace tw
