#include "storage/text_collection.h"

#include "storage/file_bytes.h"
#include "storage/file_names.h"
#include "storage/safe_save.h"

#include <QFile>
#include <charconv>
#include <cstring>

namespace tw {

namespace {

// Where the line that is exactly "###" starts in data[from, size), lines being ended by
// CR LF (crlf) or by LF; npos when there is none. from must be the start of a line. The
// search jumps from '#' to '#' with memchr, so texts without the mark are passed over at
// memchr's speed.
size_t findTerminatorLine(const char* data, size_t from, size_t size, bool crlf) {
    const size_t breakLength = crlf ? 2 : 1;
    size_t at = from;
    while (at + 3 <= size) {
        const void* hit = std::memchr(data + at, '#', size - at);
        if (!hit) return std::string_view::npos;
        const size_t q = static_cast<size_t>(static_cast<const char*>(hit) - data);
        if (q + 3 > size) return std::string_view::npos;
        const bool startsLine = q == from || (q >= from + breakLength && data[q - 1] == '\n' && (!crlf || data[q - 2] == '\r'));
        if (startsLine && data[q + 1] == '#' && data[q + 2] == '#') {
            if (q + 3 == size) return q;
            if (crlf ? (q + 5 <= size && data[q + 3] == '\r' && data[q + 4] == '\n') : data[q + 3] == '\n') return q;
        }
        at = q + 1;
    }
    return std::string_view::npos;
}

bool hasTerminatorLine(const std::string& text) {
    return findTerminatorLine(text.data(), 0, text.size(), true) != std::string_view::npos;
}

// Where the records go: appended to a string, or written to a file in large blocks. The
// file sink also refuses records that would not read back (kRefusesUnfit): each is looked
// at just before it is written, while its bytes are at hand, instead of in a pass of its own.
class StringSink {
public:
    static constexpr bool kRefusesUnfit = false;
    explicit StringSink(std::string& out) : out_(out) {}
    void append(std::string_view bytes) { out_.append(bytes); }
    bool failed() const { return false; }
    void refuse() {}

private:
    std::string& out_;
};

class BlockSink {
public:
    static constexpr bool kRefusesUnfit = true;
    explicit BlockSink(SafeSave& save) : save_(save) { block_.reserve(kBlock); }
    void append(std::string_view bytes) {
        if (block_.size() + bytes.size() > kBlock) flush();
        if (bytes.size() >= kBlock) {
            write(bytes);  // a large text goes out as it is, without a copy
        } else {
            block_.append(bytes);
        }
    }
    bool flush() {
        if (!block_.empty()) write(block_);
        block_.clear();
        return !failed_;
    }
    bool failed() const { return failed_; }
    // A record that would not read back: nothing more is written, and the file is dropped.
    void refuse() {
        refused_ = true;
        failed_ = true;
    }
    bool refused() const { return refused_; }

private:
    static constexpr size_t kBlock = size_t{1} << 20;
    void write(std::string_view bytes) {
        if (!failed_ && !save_.write(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))) failed_ = true;
    }
    SafeSave& save_;
    std::string block_;
    bool failed_ = false;
    bool refused_ = false;
};

template <typename Sink>
void appendNumberLine(Sink& sink, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits - 2, value).ptr;
    end[0] = '\r';
    end[1] = '\n';
    sink.append(std::string_view(digits, static_cast<size_t>(end + 2 - digits)));
}

template <typename Sink>
void appendRecord(Sink& sink, const Node& node, int level, std::string_view text) {
    appendNumberLine(sink, level);
    appendNumberLine(sink, node.stateIndex);
    appendNumberLine(sink, node.selectedImage);
    appendNumberLine(sink, node.kindImage);
    appendNumberLine(sink, static_cast<int>(node.page->language));
    const QByteArray caption = node.caption.toUtf8();
    if constexpr (Sink::kRefusesUnfit) {
        // A caption with a line break, or a text with a line that is exactly "###".
        const auto size = static_cast<size_t>(caption.size());
        if (std::memchr(caption.constData(), '\n', size) || std::memchr(caption.constData(), '\r', size) ||
            findTerminatorLine(text.data(), 0, text.size(), true) != std::string_view::npos) {
            sink.refuse();
            return;
        }
    }
    sink.append(std::string_view(caption.constData(), static_cast<size_t>(caption.size())));
    sink.append("\r\n");
    sink.append(text);
    sink.append("\r\n###\r\n");
}

// Pre-order without recursion; every node's text is written as it is held. Stops early
// once the sink has failed.
template <typename Sink>
void appendRecords(Sink& sink, const Node& node, int level, const Feedback& fb) {
    std::vector<std::pair<const Node*, int>> stack{{&node, level}};
    while (!stack.empty() && !sink.failed()) {
        auto [n, l] = stack.back();
        stack.pop_back();
        appendRecord(sink, *n, l, n->parent ? std::string_view(n->page->text) : std::string_view());
        fb.step();
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.emplace_back(it->get(), l + 1);
        // The next node is most often far from this one in memory: ask for it while this
        // iteration ends, rather than stall on it at the start of the next.
        if (!stack.empty()) __builtin_prefetch(stack.back().first);
    }
}

// The whole file: the count line (count, the number of node's descendants), then the records.
template <typename Sink>
void appendCollection(Sink& sink, const CollectionTree& tree, const Node& node, int count, const Feedback& fb) {
    appendNumberLine(sink, count);
    if (node.parent) {
        appendRecord(sink, *tree.root(), 0, std::string_view());
        appendRecords(sink, node, 1, fb);
    } else {
        appendRecords(sink, node, 0, fb);
    }
}

} // namespace

void appendTextRecords(std::string& out, const CollectionTree&, const Node& node, int level, const Feedback& fb) {
    StringSink sink(out);
    appendRecords(sink, node, level, fb);
}

std::string textCollectionBytes(const CollectionTree& tree, const Node& node, const Feedback& fb) {
    int count = 0;
    addDescendantCount(&node, count);
    std::string out;
    StringSink sink(out);
    appendCollection(sink, tree, node, count, fb);
    return out;
}

namespace {

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
    int count = 0;
    addDescendantCount(&node, count);
    ProgressScope progress(fb, count);
    SaveOutcome outcome;
    outcome.fileName = replaceExtension(fileName, QStringLiteral(".txt"));
    fb.setStatus(QStringLiteral("Сохранение..."));
    try {
        // The bytes go out in large blocks as they are made, to the safe-save helper's
        // temporary file; every write and the final flush are checked. A record that would
        // not read back stops the save before the file takes the target's name: the
        // temporary file is dropped and the previous file stays as it was.
        SafeSave save(outcome.fileName);
        if (save.open()) {
            BlockSink sink(save);
            appendCollection(sink, tree, node, count, fb);
            outcome.written = !sink.refused() && sink.flush() && save.commit();
        }
    } catch (const std::bad_alloc&) {
        outcome.written = false;
    }
    if (!outcome.written) {
        // Nodes the format cannot hold are named (all of them), whatever else went wrong.
        const std::vector<const Node*> unfit = nodesUnfitForText(tree, node);
        fb.say(unfit.empty() ? kSaveFileError : unfitNodesMessage(unfit));
    }
    fb.setStatus(QString());
    return outcome;
}

namespace {

// The file's lines one after the other: ended by CR LF (a lone CR or LF stays inside its
// line, so texts come back exactly), or by LF in a file without any CR LF.
class LineCursor {
public:
    explicit LineCursor(std::string_view data)
        : data_(data), crlf_(data.find("\r\n") != std::string_view::npos), breakLength_(crlf_ ? 2 : 1) {}

    bool atEnd() const { return pos_ >= data_.size(); }

    // The next line without its break; only while !atEnd().
    std::string_view next() {
        const char* d = data_.data();
        const size_t size = data_.size();
        size_t from = pos_;
        for (;;) {
            const void* hit = std::memchr(d + from, '\n', size - from);
            if (!hit) return take(size, size);
            const size_t e = static_cast<size_t>(static_cast<const char*>(hit) - d);
            if (!crlf_) return take(e, e + 1);
            if (e > pos_ && d[e - 1] == '\r') return take(e - 1, e + 1);
            from = e + 1;  // a lone LF inside the line
        }
    }

    // A record's text, from the current line on: the lines up to the line that is exactly
    // "###" (taken too), or up to the end of the file, joined by CR LF. False when the
    // file ended before such a line. The text is copied in slices, never byte by byte.
    bool takeText(std::string& text) {
        const char* d = data_.data();
        const size_t size = data_.size(), start = pos_;
        text.clear();
        if (start >= size) return false;
        const size_t mark = findTerminatorLine(d, start, size, crlf_);
        size_t end = size;
        if (mark != std::string_view::npos) {
            end = mark == start ? start : mark - breakLength_;
            pos_ = std::min(mark + 3 + breakLength_, size);
        } else {
            // The break after the last line does not belong to the text.
            if (crlf_ ? end - start >= 2 && d[end - 2] == '\r' && d[end - 1] == '\n' : d[end - 1] == '\n') end -= breakLength_;
            pos_ = size;
        }
        if (crlf_) {
            text.assign(d + start, end - start);
        } else {
            // Lines ended by LF are joined by CR LF.
            size_t at = start;
            while (const void* hit = std::memchr(d + at, '\n', end - at)) {
                const size_t e = static_cast<size_t>(static_cast<const char*>(hit) - d);
                text.append(d + at, e - at);
                text.append("\r\n");
                at = e + 1;
            }
            text.append(d + at, end - at);
        }
        return mark != std::string_view::npos;
    }

private:
    std::string_view take(size_t lineEnd, size_t nextStart) {
        const std::string_view line = data_.substr(pos_, lineEnd - pos_);
        pos_ = nextStart;
        return line;
    }

    std::string_view data_;
    bool crlf_;
    size_t breakLength_;
    size_t pos_ = 0;
};

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

bool loadTextBytes(CollectionTree& tree, const QByteArray& raw, const Feedback& fb, bool* replaced) {
    const QByteArray bytes = textFileAsUtf8(raw, replaced);
    LineCursor lines(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    auto nextNumber = [&](int& value) -> int {  // 1 read, 0 end of file, -1 not a number
        while (!lines.atEnd()) {
            const std::string_view line = lines.next();
            if (!isBlankLine(line)) return leadingNumber(line, value) ? 1 : -1;
        }
        return 0;
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
        if (lines.atEnd()) {  // no caption: an unfinished record is left out
            complete = false;
            break;
        }
        const std::string_view captionLine = lines.next();
        const QString caption = QString::fromUtf8(captionLine.data(), static_cast<qsizetype>(captionLine.size()));
        // The text: lines up to "###" (or to the end of the file), joined by CR LF. The CR LF
        // the writer adds after every text is not part of it.
        std::string text;
        if (!lines.takeText(text)) complete = false;
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
    QByteArray bytes;
    if (!readFileBytes(fileName, bytes)) {
        fb.say(kLoadFileError);
        return false;
    }
    bool replaced = false;
    const bool ok = loadTextBytes(tree, bytes, fb, &replaced);
    if (ok && replaced) fb.say(invalidBytesReplacedMessage(fileName));
    return ok;
}

} // namespace tw
