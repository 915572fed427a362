#include "exchange/structure_export.h"

#include "storage/file_names.h"
#include "storage/new_file_writer.h"
#include "storage/safe_save.h"

#include <QFileInfo>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw {

namespace {

bool isBlank(std::string_view text) {
    for (unsigned char c : text)
        if (c > ' ') return false;
    return true;
}

QString folderOf(const QString& indexPath) { return QFileInfo(indexPath).absolutePath() + u'/'; }

// Bytes that stand for themselves in a link address; every other byte of the UTF-8 form
// is percent-encoded (upper-case digits). The slash separates folders.
constexpr std::array<bool, 256> kAddressBytes = [] {
    std::array<bool, 256> t{};
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<size_t>(c)] = true;
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = true;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = true;
    for (char c : std::string_view("-._~/")) t[static_cast<unsigned char>(c)] = true;
    return t;
}();

void appendAddress(std::string& out, const QString& path) {
    static const char digits[] = "0123456789ABCDEF";
    for (char c : path.toUtf8()) {
        const auto b = static_cast<unsigned char>(c);
        if (kAddressBytes[b]) {
            out += c;
        } else {
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 0xF];
        }
    }
}

// The link of a node in the index page, as UTF-8 appended to out; see nodeLink.
void appendNodeLink(std::string& out, FreeFileNames& names, const QString& folder, const QString& caption,
                    QString& nodeFile) {
    QString candidate;
    candidate.reserve(folder.size() + caption.size() + 5);
    candidate.append(folder).append(caption).append(QLatin1String(".html"));
    // A caption that is no plain file name is linked as it stands but never written.
    if (isSafeFileNamePart(caption)) {
        nodeFile = names.freeName(candidate);
        // Taken from now on, whether or not its file can be written: a later node of the same
        // caption must never land under the name this node's link already points to.
        names.noteWritten(nodeFile);
    } else {
        nodeFile = candidate;
    }
    // Links are relative to the index page, so the exported folder works wherever it is moved.
    out += "<a href=\"";
    appendAddress(out, nodeFile.startsWith(folder) ? nodeFile.mid(folder.size()) : nodeFile);
    out += "\">";
    appendHtmlEscaped(out, caption.toStdString());
    out += "</a>";
}

// The index line of a node as UTF-8 appended to out; see indexEntryLine.
void appendIndexEntryLine(std::string& out, int level, bool isPage, std::string_view link) {
    for (int i = 0; i <= std::min(level, kIndexIndentDepth); ++i) out += " &nbsp&nbsp ";
    if (!isPage) out += "<B>";
    out += link;
    if (!isPage) out += "</B>";
    out += "<BR>";
}

// The document writers of one export, one per highlighter, made when a node of its
// language first comes.
class NodeDocuments {
public:
    explicit NodeDocuments(const ExportSettings& style) : style_(style) {}
    // Appends the document of text in the highlighter's language to out.
    void build(const Highlighter& highlighter, std::string_view text, std::string& out) {
        HtmlDocumentWriter* writer = nullptr;
        for (auto& [h, w] : writers_)
            if (h == &highlighter) writer = w.get();
        if (!writer) {
            writers_.emplace_back(&highlighter, std::make_unique<HtmlDocumentWriter>(highlighter, style_));
            writer = writers_.back().second.get();
        }
        writer->append(text, out);
    }

private:
    const ExportSettings& style_;
    std::vector<std::pair<const Highlighter*, std::unique_ptr<HtmlDocumentWriter>>> writers_;
};

// Builds the document of node absIndex and hands it to the writer as nodeFile, showing the
// progress. A blank text is written as two lines of one space. A caption that is no plain
// file name fails at once (false): its message goes to fb after those of the files before it.
bool queueNodeDocument(const CollectionTree& tree, const HighlighterSet& highlighters, int absIndex,
                       const QString& nodeFile, NodeDocuments& documents, NewFileWriter& writer, const Feedback& fb) {
    const Node* node = tree.nodeAt(absIndex);
    const PageRecord& page = *node->page;
    // Every node file has content, sections and the root node included.
    const std::string_view text = isBlank(page.text) ? std::string_view(" \r\n ") : std::string_view(page.text);
    fb.step();
    if (fb.status) fb.setStatus(QStringLiteral("Сохранение: ") + node->caption + QStringLiteral(".html"));
    fb.repaint();
    if (!isSafeFileNamePart(node->caption)) return false;
    const Highlighter& highlighter = highlighters.byPosition(static_cast<int>(page.language) - 1);
    std::string document = writer.takeBuffer();
    documents.build(highlighter, text, document);
    writer.write(nodeFile, std::move(document), absIndex);
    return true;
}

} // namespace

QString nodeSaveError(const QString& caption) {
    return QStringLiteral("Ошибка при сохранении ") + caption + QStringLiteral(".html");
}

QString indexEntryLine(int level, bool isPage, const QString& link) {
    std::string line;
    appendIndexEntryLine(line, level, isPage, link.toStdString());
    return QString::fromStdString(line);
}

namespace {

// The index page written as it is built: lines are gathered into a batch of bounded size
// and handed to a SafeSave, which puts the page in place only when it is complete.
class IndexPageStream {
public:
    explicit IndexPageStream(const QString& path) : file_(path) {
        if (file_.open()) batch_ = "\xEF\xBB\xBF";
    }
    // The batch to append UTF-8 to; call written() after each addition.
    std::string& batch() { return batch_; }
    void written() {
        if (batch_.size() >= kBatchBytes) flush();
    }
    bool commit() {
        flush();
        return file_.commit();
    }
    QString errorString() const { return file_.errorString(); }

private:
    static constexpr size_t kBatchBytes = 64 * 1024;
    void flush() {
        file_.write(QByteArrayView(batch_.data(), static_cast<qsizetype>(batch_.size())));
        batch_.clear();
    }
    SafeSave file_;
    std::string batch_;
};

} // namespace

StructureExportOutcome exportStructureHtml(const CollectionTree& tree, const HighlighterSet& highlighters,
                                     const QString& chosenName, const Feedback& fb, const ExportSettings& style) {
    StructureExportOutcome outcome;
    outcome.indexPath = QFileInfo(chosenName + QStringLiteral(".html")).absoluteFilePath();
    const QString folder = folderOf(outcome.indexPath);
    if (!QFileInfo(folder).isDir()) {
        fb.say(cannotCreateFileMessage(outcome.indexPath, QStringLiteral("No such directory")));
        return outcome;
    }
    FreeFileNames names;
    // The index page is written last; no node file may take its name meanwhile.
    names.noteWritten(outcome.indexPath);
    // Opened only after the folder has been listed, so its temporary file is never
    // counted among the names the node files must avoid.
    IndexPageStream index(outcome.indexPath);
    index.batch() += "<head><title></title></head><body><font face=\"MS Sans Serif\" size=\"-1\">\r\n";
    index.written();
    {
        NodeDocuments documents(style);
        NewFileWriter writer;
        std::string link;
        ProgressScope progress(fb, tree.count());
        // Failures are told in the order of the nodes, whichever thread found them.
        const auto reportWriteFailures = [&] {
            for (const NewFileWriter::Failure& failure : writer.takeFailures()) {
                fb.say(nodeSaveError(tree.nodeAt(failure.tag)->caption));
                ++outcome.failedNodes;
            }
        };
        for (int i = 0; i < tree.count(); ++i) {
            const Node* node = tree.nodeAt(i);
            QString nodeFile;
            link.clear();
            appendNodeLink(link, names, folder, node->caption, nodeFile);
            std::string& batch = index.batch();
            batch += "\r\n";
            appendIndexEntryLine(batch, tree.levelOf(node), node->kindImage == kPageKind, link);
            batch += "\r\n";
            index.written();
            if (!queueNodeDocument(tree, highlighters, i, nodeFile, documents, writer, fb)) {
                writer.finish();
                reportWriteFailures();
                fb.say(nodeSaveError(node->caption));
                ++outcome.failedNodes;
            }
            reportWriteFailures();
        }
        // Every node file is in place before the index page that links them.
        writer.finish();
        reportWriteFailures();
        index.batch() += "\r\n</font></body></html>\r\n\r\n";
        outcome.indexWritten = index.commit();
        if (!outcome.indexWritten) fb.say(cannotCreateFileMessage(outcome.indexPath, index.errorString()));
    }
    fb.setStatus(QString());
    return outcome;
}

} // namespace tw
