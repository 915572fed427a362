#include "exchange/file_search.h"

#include "editor/catalogue.h"
#include "exchange/file_masks.h"
#include "storage/text_encoding.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tw {

Node* TreeImportSink::addSection(Node* parent, const QString& caption) {
    return tree_.appendChild(parent, caption, kSectionCollapsed, kSectionCollapsed, -1, makePageRecord({}, caption, 0, 0, 1, -1));
}

Node* TreeImportSink::addPage(Node* parent, const QString& caption) {
    return tree_.appendChild(parent, caption, kPageKind, kPageKind, -1, makePageRecord(" ", caption, 1, 2, 2, -1));
}

QString FileSearch::normalisedPath(const QString& path) {
    QString p = path.trimmed();
    if (p.isEmpty()) return p;
    if (!p.endsWith(u'/') && !p.endsWith(u'\\')) p += u'/';
    return p;
}

void FileSearch::run(const QString& path, Node* parent) {
    const QString start = normalisedPath(path);
    if (!start.isEmpty()) walk(start, parent);
}

void FileSearch::walk(const QString& path, Node* parent) {
    // Hidden and system entries too, in name order whatever the case of the names (the
    // order people know from their file manager), not in the file system's own order.
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                 QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : entries) {
        if (abandoned_) break;
        fb_.repaint();
        const bool last = stop_;  // a stop noticed here still lets this entry be handled
        const QString name = info.fileName();
        if (info.isDir()) {
            Node* section = sink_.addSection(parent, name);
            if (!section) {
                abandoned_ = true;
                break;
            }
            // A directory reached through a link is not entered: a link cycle would never end.
            if (!info.isSymLink()) walk(path + name + u'/', section);
            fb_.repaint();
        } else if (info.isFile()) {
            handleFile(path, name, info.size(), parent);
        }
        // Anything else (a dangling link, a device, a pipe, a socket) is skipped: reading
        // a pipe could wait for ever.
        if (last) break;
    }
    sink_.directoryDone();
}

void FileSearch::handleFile(const QString& path, const QString& name, std::int64_t size, Node* parent) {
    if (!matchesAnyMask(options_.masks, fileExtension(name))) return;
    fb_.setStatus(QStringLiteral("Поиск: ") + path + name);
    Node* page = sink_.addPage(parent, name);
    if (!page) {
        abandoned_ = true;
        return;
    }
    if (options_.languages)
        page->page->language = static_cast<std::uint8_t>(options_.languages->languageNumberForFile(name));
    if (options_.loadFiles && (options_.sizeLimit == 0 || size <= options_.sizeLimit)) {
        std::string text;
        // A file that cannot be read keeps the text of a new page.
        bool replaced = false;
        if (readFileAsLines(path + name, text, &replaced) && fragmentMatches(text)) {
            page->page->text = std::move(text);
            replacedInvalidBytes_ = replacedInvalidBytes_ || replaced;
        }
    }
    fb_.repaint();
}

bool FileSearch::fragmentMatches(const std::string& text) const {
    if (options_.fragment.trimmed().isEmpty()) return true;
    // The content as written, without the line break that ends its last line, so that the
    // fragment "print" finds a file holding just that word.
    std::string_view body(text);
    if (body.size() >= 2 && body.substr(body.size() - 2) == "\r\n") body.remove_suffix(2);
    return matchMask(options_.fragment, QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()))) ==
           MaskMatch::Yes;
}

bool FileSearch::fileMatches(const QString& fileName) const {
    if (options_.fragment.trimmed().isEmpty()) return true;
    std::string text;
    return readFileAsLines(fileName, text) && fragmentMatches(text);
}

bool readFileAsLines(const QString& fileName, std::string& text, bool* replaced) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray raw = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    if (raw.startsWith("\xEF\xBB\xBF")) raw.remove(0, 3);
    const QByteArray bytes = textFileAsUtf8(raw, replaced);
    text.clear();
    text.reserve(static_cast<size_t>(bytes.size()) + static_cast<size_t>(bytes.size()) / 16 + 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            text += c;
        }
    }
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    return true;
}

std::vector<Node*> emptyBranches(const CollectionTree& tree) {
    // From the last node to the first, as children come after their parents: a node is
    // kept when it is the root node, a page or a section with a kept child.
    const std::vector<Node*>& order = tree.preorder();
    std::vector<char> kept(order.size(), 0);
    for (size_t i = order.size(); i-- > 0;) {
        const Node* n = order[i];
        bool keep = !n->parent || !isSectionKind(n->kindImage);
        for (size_t c = 0; !keep && c < n->children.size(); ++c) keep = kept[static_cast<size_t>(n->children[c]->index)];
        kept[i] = keep;
    }
    std::vector<Node*> out;
    for (size_t i = order.size(); i-- > 0;) {
        Node* n = order[i];
        if (!kept[i] && kept[static_cast<size_t>(n->parent->index)]) out.push_back(n);
    }
    return out;
}

void removeEmptySections(CollectionTree& tree) {
    for (Node* n : emptyBranches(tree)) tree.take(n);
}

} // namespace tw
