// Every saver under a file-size limit: the save reports failure, the file it would have
// replaced keeps its old bytes, and no temporary or half-written file is left behind.

#include "app/ini_file.h"
#include "editor/text_export.h"
#include "exchange/directory_export.h"
#include "exchange/structure_export.h"
#include "export_tree_helpers.h"
#include "hotkeys/hotkey_table.h"
#include "storage/file_bytes.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tw;
using namespace tw::testing_helpers;

namespace {

// Below the size of Qt's write buffer, so a write that only fills the buffer must still fail.
constexpr rlim_t kFileSizeLimit = 2 * 1024;

// Runs save in a child process whose files may not grow beyond kFileSizeLimit (writes past
// it fail with EFBIG instead of killing the process). The child's exit status: 0 saved, 1 not.
int savedUnderLimit(const std::function<bool()>& save) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = kFileSizeLimit;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        _exit(save() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Collections whose files (and every node's export document) are beyond the limit but
// smaller than Qt's write buffer: two pages for the collection savers, forty for the index
// page of the whole-structure export.
void fillWithPages(CollectionTree& tree, int pages) {
    const std::string text(3 * 1024, 'x');
    tree.root()->page->text = text;
    for (int i = 1; i <= pages; ++i) addPage(tree, tree.root(), QStringLiteral("P%1 of a collection large enough").arg(i), text);
}

} // namespace

TEST(SafeSave, NoSaverReplacesAFileWithAnIncompleteOneOrReportsSuccess) {
    CollectionTree small, wide;
    fillWithPages(small, 2);
    fillWithPages(wide, 40);
    const HighlighterSet highlighters;
    const Node& page = *small.nodeAt(1);
    const std::string big(6 * 1024, 'y');
    struct Case {
        const char* saver;
        const char* oldFile;  // the file the save would replace (or, for exports, would not touch)
        std::function<bool(const QString& dir)> save;
    };
    const Case cases[] = {
        {"collection as XML", "c.xml",
         [&](const QString& d) { return saveCollectionXml(small, d + "/c.xml", Feedback{}).written; }},
        {"branch file", "b.xml", [&](const QString& d) { return saveBranchXml(small, d + "/b.xml", page, Feedback{}).written; }},
        {"collection as text", "c.txt",
         [&](const QString& d) { return saveCollectionText(small, d + "/c.txt", *small.root(), Feedback{}).written; }},
        {"keys.dat", "keys.dat",
         [&](const QString& d) {
             return saveKeys(d + "/keys.dat", {{"ALT", "A", keyCodeFor(u'A', "ALT"), QString::fromStdString(big)}});
         }},
        {"Settings.ini", "Settings.ini",
         [&](const QString& d) {
             IniFile ini(d + "/Settings.ini");
             for (int i = 0; i < 3; ++i) ini.writeText("Big", QStringLiteral("k%1").arg(i), QString(2000, u'z'));
             return ini.save();
         }},
        {"current-text export", "t.html",
         [&](const QString& d) { return writeExportFile(d + "/t.html", big, nullptr); }},
        {"whole-structure export", "index.html",
         [&](const QString& d) {
             const StructureExportOutcome out = exportStructureHtml(wide, highlighters, d + "/index", Feedback{});
             return out.indexWritten && out.failedNodes == 0;
         }},
        {"directory export", "P1 of a collection large enough.txt",
         [&](const QString& d) { return exportBranchAsDirectories(small, page, d, false, Feedback{}); }},
    };
    const QByteArray old = "[Old]\r\nkey=" + QByteArray(1024, 'o') + "\r\n";
    for (const Case& k : cases) {
        QTemporaryDir dir;
        const QString oldFile = dir.filePath(QString::fromLatin1(k.oldFile));
        ASSERT_TRUE(writeFileBytes(oldFile, old));
        const QStringList before = listTree(dir.path());

        EXPECT_EQ(savedUnderLimit([&] { return k.save(dir.path()); }), 1) << k.saver;
        EXPECT_TRUE(readFileBytes(oldFile) == old) << k.saver << ": the old file was changed";
        EXPECT_EQ(listTree(dir.path()), before) << k.saver;

        // Without the limit the same save succeeds: the case really writes what it claims to.
        EXPECT_TRUE(k.save(dir.path())) << k.saver;
    }
}

TEST(FileBytes, SmallAndLargeFilesReadWholeAndMissingOnesFail) {
    QTemporaryDir dir;
    // Large enough to be read in two halves at once; no two neighbouring blocks alike, so a
    // half read into the wrong place shows.
    QByteArray large(9 * 1024 * 1024 + 3, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    for (const QByteArray& content : {QByteArray(), QByteArray("<TREE/>"), large}) {
        const QString path = dir.filePath(QString::number(content.size()));
        ASSERT_TRUE(writeFileBytes(path, content));
        QByteArray bytes("left over");
        EXPECT_TRUE(readFileBytes(path, bytes));
        EXPECT_TRUE(bytes == content) << content.size();
    }
    QByteArray bytes("left over");
    EXPECT_FALSE(readFileBytes(dir.filePath("missing"), bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_FALSE(readFileBytes(dir.path(), bytes));  // a folder
}
