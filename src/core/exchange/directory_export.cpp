#include "exchange/directory_export.h"

#include "storage/safe_save.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace tw {

namespace {
bool isDirectoryNode(const Node& node) {
    const int im = node.page->imageIndex;
    return im == kSectionCollapsed || im == kSectionExpanded || im == kRootKind;
}

// The folder exists afterwards: made now, or there already (an export merges into it).
bool makeFolder(const QString& name) {
    const QByteArray local = QFile::encodeName(name);
    if (::mkdir(local.constData(), 0777) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::stat(local.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}
} // namespace

bool writeBranchDirectories(const Node& node, const QString& dir, bool emptySections,
                       FreeFileNames& names, const Feedback& fb, DirectoryExportReport* report) {
    DirectoryExportReport local;
    DirectoryExportReport& out = report ? *report : local;
    // Pre-order with an explicit stack: children in order, each below its parent's folder.
    std::vector<std::pair<const Node*, QString>> pending{{&node, dir}};
    bool allFolders = true;
    while (!pending.empty()) {
        auto [current, folder] = std::move(pending.back());
        pending.pop_back();
        fb.setStatus(current->caption);
        fb.step();
        if (!isSafeFileNamePart(current->caption.trimmed())) {
            out.skipped << nodePath(current);  // the caption cannot name a file: its subtree is skipped
            allFolders = false;
            continue;
        }
        const QString name = (folder + current->caption).trimmed();
        if (!isDirectoryNode(*current)) {
            const QString file = names.freeName(name + QStringLiteral(".txt"));
            const std::string& text = current->page->text;
            QString reason;
            if (!writeNewFile(file, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())), &reason)) {
                out.failedFile = file;
                out.reason = reason;
                return false;
            }
            names.noteWritten(file);
            ++out.pagesWritten;
            fb.repaint();
            continue;
        }
        // A section without children needs no folder of its own (an existing one stays as it is).
        if (!emptySections && current->children.empty()) continue;
        if (!makeFolder(name)) {  // the subtree is skipped, and the export ends as failed
            allFolders = false;
            continue;
        }
        const QString childFolder = name + u'/';  // shared by every child, not copied
        for (auto it = current->children.rbegin(); it != current->children.rend(); ++it)
            pending.emplace_back(it->get(), childFolder);
    }
    return allFolders;
}

QString pagesExportedStatus(int pages) { return QStringLiteral("Экспортировано страниц: %1").arg(pages); }

bool exportBranchAsDirectories(const CollectionTree& tree, const Node& node, const QString& target,
                               bool emptySections, const Feedback& fb, DirectoryExportReport* report) {
    DirectoryExportReport local;
    DirectoryExportReport& out = report ? *report : local;
    bool ok = false;
    {
        ProgressScope progress(fb, tree.descendantCount(tree.indexOf(&node)));
        fb.repaint();
        // An empty field would name the file-system root: nothing is written there.
        if (!target.trimmed().isEmpty()) {
            const QString dir = target.endsWith(u'/') ? target : target + u'/';
            FreeFileNames names;
            ok = writeBranchDirectories(node, dir, emptySections, names, fb, &out);
        }
    }
    fb.setStatus(pagesExportedStatus(out.pagesWritten));
    if (!ok) {
        QString text = kDirectoryExportError;
        if (!out.skipped.isEmpty())
            text += QStringLiteral("\nНе записаны (имя недопустимо для файла):\n") + out.skipped.join(u'\n');
        fb.say(text);
    }
    return ok;
}

} // namespace tw
