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
    EXPECT_EQ(statuses, QStringList({"Sorting", "quick", "merge", ""}));
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

TEST_F(DirectoryExport, FailuresEndTheExportWithTheMessage) {
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
        {"separator in a page caption", "../evil", {}, false, {"Sorting/"}},
        {"backslash in a page caption", "a\\b", {}, false, {"Sorting/"}},
        {"dot-dot caption", "..", {}, false, {"Sorting/"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir target;
        CollectionTree t;
        Node* s = addSection(t, t.root(), "Sorting");
        if (!c.caption.isEmpty()) addPage(t, s, c.caption, "x");
        addPage(t, s, "quick", "y");
        messages.clear();
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        const QString where = c.target.isNull() ? target.path() : c.target;
        EXPECT_EQ(exportBranchAsDirectories(t, *s, where, false, fb), c.ok) << c.what;
        EXPECT_EQ(messages, c.ok ? QStringList() : QStringList({"Ошибка при попытке экспорта."})) << c.what;
        EXPECT_EQ(listTree(target.path()), c.written) << c.what;
    }
    EXPECT_EQ(listTree(dir.path()), QStringList({"file"}));
    // A page alone into a missing folder cannot create its file.
    messages.clear();
    EXPECT_FALSE(run(quick, false, missing));
    EXPECT_EQ(messages, QStringList({"Ошибка при попытке экспорта."}));
}

TEST_F(DirectoryExport, SectionCaptionWithASeparatorEndsTheExport) {
    Node* bad = addSection(tree, tree.root(), "x/y");
    addPage(tree, bad, "p", "z");
    EXPECT_FALSE(run(tree.root()));
    EXPECT_EQ(messages, QStringList({"Ошибка при попытке экспорта."}));
    EXPECT_EQ(listTree(dir.path()), QStringList({"Root/", "Root/Sorting/", "Root/Sorting/merge.txt", "Root/Sorting/quick.txt"}));
}
