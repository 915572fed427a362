#include "exchange/file_search.h"

#include "editor/catalogue.h"
#include "exchange/file_masks.h"
#include "storage/text_encoding.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

enum class EntryKind { Directory, LinkedDirectory, File, Other };

struct Entry {
    QString name;
    QString key;        // the name lower-cased: the order of the listing
    QByteArray local;   // the name as the file system spells it
    EntryKind kind;
};

// What an entry is, from the type the listing gives; only links and entries of unknown type
// cost a stat. A link counts as what it leads to (a dangling one is skipped).
EntryKind kindOf(int dirFd, const dirent* e) {
    struct stat st {};
    switch (e->d_type) {
    case DT_DIR:
        return EntryKind::Directory;
    case DT_REG:
        return EntryKind::File;
    case DT_LNK:
        break;
    case DT_UNKNOWN:
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
        if (S_ISDIR(st.st_mode)) return EntryKind::Directory;
        if (S_ISREG(st.st_mode)) return EntryKind::File;
        if (!S_ISLNK(st.st_mode)) return EntryKind::Other;
        break;
    default:
        return EntryKind::Other;
    }
    if (::fstatat(dirFd, e->d_name, &st, 0) != 0) return EntryKind::Other;
    if (S_ISDIR(st.st_mode)) return EntryKind::LinkedDirectory;
    return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
}

// Every entry of a directory but "." and "..", hidden ones included; empty when it cannot
// be listed.
std::vector<Entry> listDirectory(const QByteArray& localPath) {
    std::vector<Entry> entries;
    DIR* dir = ::opendir(localPath.constData());
    if (!dir) return entries;
    const int fd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        Entry entry;
        entry.local = QByteArray(n);
        entry.name = QFile::decodeName(entry.local);
        entry.key = entry.name.toLower();
        entry.kind = kindOf(fd, e);
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

enum class ReadResult { Read, Unreadable, TooLarge };

// The file's bytes into buffer with one read for a file whose size is known (reading on
// while more comes, for files that report no size). A file larger than sizeLimit (when
// not 0) is not read.
ReadResult readWhole(const char* localFile, std::int64_t sizeLimit, std::string& buffer) {
    const int fd = ::open(localFile, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ReadResult::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return ReadResult::Unreadable;
    }
    if (sizeLimit != 0 && st.st_size > sizeLimit) {
        ::close(fd);
        return ReadResult::TooLarge;
    }
    // One byte more than the size, so that the read that reaches the end says so at once.
    buffer.resize(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    for (;;) {
        if (got == buffer.size()) buffer.resize(buffer.size() * 2);
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::Unreadable;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    buffer.resize(got);
    return ReadResult::Read;
}

// A file's bytes as a page's text (see readFileAsLines).
void bytesAsLines(std::string_view raw, std::string& text, bool* replaced) {
    if (raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
    // Valid UTF-8 comes back as the same bytes, without a copy.
    const QByteArray bytes =
        textFileAsUtf8(QByteArray::fromRawData(raw.data(), static_cast<qsizetype>(raw.size())), replaced);
    text.clear();
    appendWithCrLf(text, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!text.empty() && text.back() != '\n') text += "\r\n";
}

} // namespace

void FileSearch::walk(const QString& path, Node* parent) { walkDirectory(path, QFile::encodeName(path), parent); }

void FileSearch::walkDirectory(const QString& path, const QByteArray& localPath, Node* parent) {
    // Hidden and system entries too, in name order whatever the case of the names (the
    // order people know from their file manager), not in the file system's own order.
    std::vector<Entry> entries = listDirectory(localPath);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.name < b.name;
    });
    for (const Entry& entry : entries) {
        if (abandoned_) break;
        fb_.repaint();
        const bool last = stop_;  // a stop noticed here still lets this entry be handled
        if (entry.kind == EntryKind::Directory || entry.kind == EntryKind::LinkedDirectory) {
            Node* section = sink_.addSection(parent, entry.name);
            if (!section) {
                abandoned_ = true;
                break;
            }
            // A directory reached through a link is not entered: a link cycle would never end.
            if (entry.kind == EntryKind::Directory)
                walkDirectory(path + entry.name + u'/', localPath + entry.local + '/', section);
            fb_.repaint();
        } else if (entry.kind == EntryKind::File) {
            handleFile(path, entry.name, localPath + entry.local, parent);
        }
        // Anything else (a dangling link, a device, a pipe, a socket) is skipped: reading
        // a pipe could wait for ever.
        if (last) break;
    }
    sink_.directoryDone();
}

void FileSearch::handleFile(const QString& path, const QString& name, const QByteArray& localFile, Node* parent) {
    const QString extension = fileExtension(name);
    if (!masks_.matches(extension)) return;
    if (fb_.status) fb_.setStatus(QStringLiteral("Поиск: ") + path + name);
    Node* page = sink_.addPage(parent, name);
    if (!page) {
        abandoned_ = true;
        return;
    }
    if (options_.languages) {
        // The language depends on the extension alone; finding it compares with the
        // patterns of every language, so each extension is looked up once.
        auto known = languageOfExtension_.constFind(extension);
        if (known == languageOfExtension_.constEnd())
            known = languageOfExtension_.insert(
                extension, static_cast<std::uint8_t>(options_.languages->languageNumberForFile(name)));
        page->page->language = *known;
    }
    // A file that cannot be read keeps the text of a new page.
    if (options_.loadFiles && readWhole(localFile.constData(), options_.sizeLimit, buffer_) == ReadResult::Read) {
        std::string text;
        bool replaced = false;
        bytesAsLines(buffer_, text, &replaced);
        if (fragmentMatches(text)) {
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
    std::string raw;
    if (readWhole(QFile::encodeName(fileName).constData(), 0, raw) != ReadResult::Read) return false;
    bytesAsLines(raw, text, replaced);
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
