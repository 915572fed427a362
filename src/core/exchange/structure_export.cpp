#include "exchange/structure_export.h"

#include "storage/file_names.h"
#include "storage/safe_save.h"

#include <QFileInfo>
#include <QUrl>

namespace tw {

namespace {

bool isBlank(const std::string& text) {
    for (unsigned char c : text)
        if (c > ' ') return false;
    return true;
}

QString folderOf(const QString& indexPath) { return QFileInfo(indexPath).absolutePath() + u'/'; }

} // namespace

QString nodeSaveError(const QString& caption) {
    return QStringLiteral("Ошибка при сохранении ") + caption + QStringLiteral(".html");
}

QString nodeLink(FreeFileNames& names, const QString& indexPath, const QString& caption, QString& nodeFile) {
    const QString folder = folderOf(indexPath);
    const QString candidate = folder + caption + QStringLiteral(".html");
    // A caption that is no plain file name is linked as it stands but never written.
    nodeFile = isSafeFileNamePart(caption) ? names.freeName(candidate) : candidate;
    // Links are relative to the index page, so the exported folder works wherever it is moved.
    const QString relative = nodeFile.startsWith(folder) ? nodeFile.mid(folder.size()) : nodeFile;
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(relative, "/"));
    return QStringLiteral("<a href=\"") + address + QStringLiteral("\">") + caption.toHtmlEscaped() + QStringLiteral("</a>");
}

QString indexEntryLine(int level, bool isPage, const QString& link) {
    const QString indent = QStringLiteral(" &nbsp&nbsp ").repeated(std::min(level, kIndexIndentDepth) + 1);
    if (isPage) return indent + link + QStringLiteral("<BR>");
    return indent + QStringLiteral("<B>") + link + QStringLiteral("</B><BR>");
}

bool exportNodeDocument(const CollectionTree& tree, const HighlighterSet& highlighters, int absIndex,
                      const QString& nodeFile, FreeFileNames& names, const ExportSettings& style,
                      const Feedback& fb) {
    const Node* node = tree.nodeAt(absIndex);
    const PageRecord& page = *node->page;
    // Every node file has content, sections and the root node included.
    const std::string text = isBlank(page.text) ? std::string(" \r\n ") : page.text;
    fb.step();
    fb.setStatus(QStringLiteral("Сохранение: ") + node->caption + QStringLiteral(".html"));
    fb.repaint();
    const Highlighter& highlighter = highlighters.byPosition(static_cast<int>(page.language) - 1);
    const std::string document = exportHtml(text, highlighter, style);
    if (!isSafeFileNamePart(node->caption) ||
        !writeNewFile(nodeFile, QByteArrayView(document.data(), static_cast<qsizetype>(document.size())))) {
        fb.say(nodeSaveError(node->caption));
        return false;
    }
    names.noteWritten(nodeFile);
    return true;
}

namespace {

// The index page written as it is built: lines are gathered into a batch of bounded size
// and handed to a SafeSave, which puts the page in place only when it is complete.
class IndexPageStream {
public:
    explicit IndexPageStream(const QString& path) : file_(path) {
        if (file_.open()) batch_ = QByteArrayLiteral("\xEF\xBB\xBF");
    }
    void add(const QString& text) {
        batch_ += text.toUtf8();
        if (batch_.size() >= kBatchBytes) flush();
    }
    bool commit() {
        flush();
        return file_.commit();
    }
    QString errorString() const { return file_.errorString(); }

private:
    static constexpr qsizetype kBatchBytes = 64 * 1024;
    void flush() {
        file_.write(batch_);
        batch_.clear();
    }
    SafeSave file_;
    QByteArray batch_;
};

} // namespace

StructureExportOutcome exportStructureHtml(const CollectionTree& tree, const HighlighterSet& highlighters,
                                     const QString& chosenName, const Feedback& fb, const ExportSettings& style) {
    StructureExportOutcome outcome;
    outcome.indexPath = QFileInfo(chosenName + QStringLiteral(".html")).absoluteFilePath();
    if (!QFileInfo(folderOf(outcome.indexPath)).isDir()) {
        fb.say(cannotCreateFileMessage(outcome.indexPath, QStringLiteral("No such directory")));
        return outcome;
    }
    FreeFileNames names;
    // The index page is written last; no node file may take its name meanwhile.
    names.noteWritten(outcome.indexPath);
    const QString crlf = QStringLiteral("\r\n");
    // Opened only after the folder has been listed, so its temporary file is never
    // counted among the names the node files must avoid.
    IndexPageStream index(outcome.indexPath);
    index.add(QStringLiteral("<head><title></title></head><body><font face=\"MS Sans Serif\" size=\"-1\">") + crlf);
    {
        ProgressScope progress(fb, tree.count());
        for (int i = 0; i < tree.count(); ++i) {
            const Node* node = tree.nodeAt(i);
            QString nodeFile;
            const QString link = nodeLink(names, outcome.indexPath, node->caption, nodeFile);
            index.add(crlf + indexEntryLine(tree.levelOf(node), node->kindImage == kPageKind, link) + crlf);
            if (!exportNodeDocument(tree, highlighters, i, nodeFile, names, style, fb)) ++outcome.failedNodes;
        }
        index.add(crlf + QStringLiteral("</font></body></html>") + crlf + crlf);
        outcome.indexWritten = index.commit();
        if (!outcome.indexWritten) fb.say(cannotCreateFileMessage(outcome.indexPath, index.errorString()));
    }
    fb.setStatus(QString());
    return outcome;
}

} // namespace tw
