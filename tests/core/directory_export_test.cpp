#include "exchange/directory_export.h"
#include "export_tree_helpers.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;
using namespace tw::testing_helpers;

namespace {

class DirectoryExport : public testing::Test {
protected:
    QTemporaryDir dir;
    CollectionTree tree;
    QStringList messages, statuses;
    int maximum = -1, steps = 0;
    Node* sorting = addSection(tree, tree.root(), "Sorting");
    Node* quick = addPage(tree, sorting, "quick", "void quick();\r\n");
    Node* merge = addPage(tree, sorting, "merge", "");

    bool run(const Node* node, bool emptySections = false, const QString& target = {}) {
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        fb.status = [this](const QString& s) { statuses << s; };
        fb.beginProgress = [this](int m) { maximum = m; };
        fb.stepProgress = [this] { ++steps; };
        return exportBranchAsDirectories(tree, *node, target.isNull() ? dir.path() : target, emptySections, fb);
    }
};

} // namespace

TEST_F(DirectoryExport, SectionBecomesAFolderOfTextFilesAndASecondRunNumbersTheFiles) {
    EXPECT_TRUE(run(sorting));
    EXPECT_EQ(listTree(dir.path()), QStringList({"Sorting/", "Sorting/merge.txt", "Sorting/quick.txt"}));
    EXPECT_EQ(readBytes(dir.filePath("Sorting/quick.txt")), "void quick();\r\n");
    EXPECT_EQ(QFileInfo(dir.filePath("Sorting/merge.txt")).size(), 0);
    EXPECT_EQ(maximum, 2);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(statuses, QStringList({"Sorting", "quick", "merge", "Экспортировано страниц: 2"}));
    EXPECT_TRUE(messages.isEmpty());

    EXPECT_TRUE(run(sorting, false, dir.path() + "/"));
    EXPECT_EQ(listTree(dir.path()), QStringList({"Sorting/", "Sorting/merge.txt", "Sorting/merge[1].txt",
                                                 "Sorting/quick.txt", "Sorting/quick[1].txt"}));
    EXPECT_EQ(readBytes(dir.filePath("Sorting/quick[1].txt")), "void quick();\r\n");
}

TEST_F(DirectoryExport, EmptySectionsOnlyWithTheBox) {
    Node* outer = addSection(tree, tree.root(), "Outer");
    addSection(tree, outer, "Inner");
    struct Case {
        bool box;
        QStringList expected;
    };
    for (const Case& c : {Case{false, {"Root/", "Root/Outer/", "Root/Sorting/", "Root/Sorting/merge.txt", "Root/Sorting/quick.txt"}},
                          Case{true, {"Root/", "Root/Outer/", "Root/Outer/Inner/", "Root/Sorting/", "Root/Sorting/merge.txt",
                                      "Root/Sorting/quick.txt"}}}) {
        QTemporaryDir target;
        EXPECT_TRUE(run(tree.root(), c.box, target.path()));
        EXPECT_EQ(listTree(target.path()), c.expected) << c.box;
    }
    // A childless section alone.
    Node* empty = addSection(tree, tree.root(), "Empty");
    QTemporaryDir a, b;
    run(empty, false, a.path());
    run(empty, true, b.path());
    EXPECT_TRUE(listTree(a.path()).isEmpty());
    EXPECT_EQ(listTree(b.path()), QStringList({"Empty/"}));
}

TEST_F(DirectoryExport, APageAloneAndCaptionsAsTheyStand) {
    EXPECT_TRUE(run(quick));
    Node* named = addPage(tree, tree.root(), "main.cpp  ", "int main();");
    EXPECT_TRUE(run(named));
    EXPECT_EQ(listTree(dir.path()), QStringList({"main.cpp.txt", "quick.txt"}));
    EXPECT_EQ(maximum, 0);
}

TEST_F(DirectoryExport, FailuresAreReportedInOneMessageAndTheRestIsWritten) {
    struct Case {
        const char* what;
        QString caption;  // a page put first into Sorting; empty: none
        QString target;
        bool ok;
        QStringList written;
    };
    const QString missing = dir.filePath("missing");
    // Below a regular file nothing can be created, whoever runs the test.
    const QString underAFile = dir.filePath("file") + "/target";
    ASSERT_TRUE(writeFileBytes(dir.filePath("file"), "x"));
    const Case cases[] = {
        {"section into a missing folder", {}, missing, false, {}},
        {"section into a folder that cannot be written", {}, underAFile, false, {}},
        {"empty target", {}, QStringLiteral(""), false, {}},
        // A caption no file can carry skips that node; the others are written.
        {"separator in a page caption", "../evil", {}, false, {"Sorting/", "Sorting/quick.txt"}},
        {"backslash in a page caption", "a\\b", {}, false, {"Sorting/", "Sorting/quick.txt"}},
        {"dot-dot caption", "..", {}, false, {"Sorting/", "Sorting/quick.txt"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir target;
        CollectionTree t;
        Node* s = addSection(t, t.root(), "Sorting");
        Node* odd = c.caption.isEmpty() ? nullptr : addPage(t, s, c.caption, "x");
        addPage(t, s, "quick", "y");
        messages.clear();
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        const QString where = c.target.isNull() ? target.path() : c.target;
        EXPECT_EQ(exportBranchAsDirectories(t, *s, where, false, fb), c.ok) << c.what;
        ASSERT_EQ(messages.size(), c.ok ? 0 : 1) << c.what;
        if (!c.ok) {
            EXPECT_TRUE(messages[0].startsWith(kDirectoryExportError)) << c.what;
        }
        if (odd) {
            EXPECT_TRUE(messages[0].contains(nodePath(odd))) << c.what << " " << messages[0].toStdString();
        }
        EXPECT_EQ(listTree(target.path()), c.written) << c.what;
    }
    EXPECT_EQ(listTree(dir.path()), QStringList({"file"}));
    // A page alone into a missing folder cannot create its file: the report names it.
    messages.clear();
    DirectoryExportReport report;
    EXPECT_FALSE(exportBranchAsDirectories(tree, *quick, missing, false, Feedback{}, &report));
    EXPECT_EQ(report.failedFile, missing + "/quick.txt");
    EXPECT_FALSE(report.reason.isEmpty());
    EXPECT_FALSE(run(quick, false, missing));
    EXPECT_EQ(messages, QStringList({kDirectoryExportError}));
}

TEST_F(DirectoryExport, SectionCaptionWithASeparatorIsSkippedWithItsBranch) {
    Node* bad = addSection(tree, tree.root(), "x/y");
    addPage(tree, bad, "p", "z");
    addPage(tree, tree.root(), "after", "w");
    EXPECT_FALSE(run(tree.root()));
    EXPECT_EQ(messages, QStringList({kDirectoryExportError + "\nНе записаны (имя недопустимо для файла):\nRoot\\x/y\\"}));
    EXPECT_TRUE(statuses.contains(pagesExportedStatus(3)));
    EXPECT_EQ(listTree(dir.path()),
              QStringList({"Root/", "Root/Sorting/", "Root/Sorting/merge.txt", "Root/Sorting/quick.txt", "Root/after.txt"}));
}
