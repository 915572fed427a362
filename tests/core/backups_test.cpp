#include "storage/backups.h"
#include "export_tree_helpers.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;
using namespace tw::testing_helpers;

TEST(Backups, KeepsThePreviousFileAndRotatesOlderOnes) {
    struct Case {
        const char* what;
        int count;
        bool previous;            // c.xml exists (holding "new")
        QStringList before;       // backups beside it, each holding its own name
        QStringList after;        // every file afterwards, sorted
        QStringList contents;     // the content of each backup in `after` order, c.xml left out
    };
    const Case cases[] = {
        {"none kept", 0, true, {}, {"c.xml"}, {}},
        {"no previous file", 1, false, {}, {}, {}},
        {"one backup", 1, true, {}, {"c.xml", "c.xml.bak"}, {"new"}},
        {"one backup replaces the last", 1, true, {"c.xml.bak", "c.xml.bak.1"}, {"c.xml", "c.xml.bak", "c.xml.bak.1"},
         {"new", "c.xml.bak.1"}},
        {"three: each moves one up", 3, true, {"c.xml.bak", "c.xml.bak.1"}, {"c.xml", "c.xml.bak", "c.xml.bak.1", "c.xml.bak.2"},
         {"new", "c.xml.bak", "c.xml.bak.1"}},
        {"three: the oldest goes", 3, true, {"c.xml.bak", "c.xml.bak.1", "c.xml.bak.2"},
         {"c.xml", "c.xml.bak", "c.xml.bak.1", "c.xml.bak.2"}, {"new", "c.xml.bak", "c.xml.bak.1"}},
        {"three: a gap stays a gap", 3, true, {"c.xml.bak.1"}, {"c.xml", "c.xml.bak", "c.xml.bak.2"}, {"new", "c.xml.bak.1"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        if (c.previous) {
            ASSERT_TRUE(writeFileBytes(dir.filePath("c.xml"), "new"));
        }
        for (const QString& name : c.before) ASSERT_TRUE(writeFileBytes(dir.filePath(name), name.toUtf8()));
        EXPECT_TRUE(keepBackups(dir.filePath("c.xml"), c.count, dir.filePath("fallback"))) << c.what;
        EXPECT_EQ(listTree(dir.path()), c.after) << c.what;
        QStringList contents;
        for (const QString& name : c.after)
            if (name != "c.xml") contents << QString::fromUtf8(readFileBytes(dir.filePath(name)));
        EXPECT_EQ(contents, c.contents) << c.what;
    }
}

TEST(Backups, GoToTheFallbackFolderWhenTheFileFolderTakesNone) {
    QTemporaryDir dir;
    const QString file = dir.filePath("c.xml");
    ASSERT_TRUE(writeFileBytes(file, "new"));
    // A folder in the way of the backup's name: no backup can be written beside the file,
    // whoever runs the test (as a read-only folder would for anyone but root).
    ASSERT_TRUE(QDir(dir.path()).mkdir("c.xml.bak"));
    EXPECT_TRUE(keepBackups(file, 1, dir.filePath("data/backups")));
    EXPECT_EQ(readFileBytes(dir.filePath("data/backups/c.xml.bak")), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("c.xml.bak")).isDir());
    // With no usable fallback either, the failure is reported.
    EXPECT_FALSE(keepBackups(file, 1, QString()));
    ASSERT_TRUE(writeFileBytes(dir.filePath("plain"), "x"));
    EXPECT_FALSE(keepBackups(file, 1, dir.filePath("plain/below")));
}
