#include "exchange/structure_export.h"
#include "export_tree_helpers.h"
#include "../qt_printers.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;
using namespace tw::testing_helpers;

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kIndexHead = "<head><title></title></head><body><font face=\"MS Sans Serif\" size=\"-1\">\r\n";
const QByteArray kIndexTail = "\r\n</font></body></html>\r\n\r\n";

struct Recorded {
    QStringList messages, statuses;
    int maximum = -1, steps = 0, ends = 0;
    Feedback feedback() {
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        fb.status = [this](const QString& s) { statuses << s; };
        fb.beginProgress = [this](int m) { maximum = m; };
        fb.stepProgress = [this] { ++steps; };
        fb.endProgress = [this] { ++ends; };
        return fb;
    }
};

class StructureExport : public testing::Test {
protected:
    QTemporaryDir dir;
    CollectionTree tree;
    HighlighterSet highlighters;
    Recorded rec;

    StructureExportOutcome run(const QString& name = QStringLiteral("out")) {
        return exportStructureHtml(tree, highlighters, dir.filePath(name), rec.feedback());
    }
    QByteArray index(const QString& name = QStringLiteral("out.html")) { return readBytes(dir.filePath(name)); }
    // The address of a node file in a link, relative to the index page: brackets are
    // percent-encoded too.
    QByteArray link(const QString& file, const QString& caption) {
        const QByteArray address = file.toUtf8().replace("[", "%5B").replace("]", "%5D");
        return "<a href=\"" + address + "\">" + caption.toUtf8() + "</a>";
    }
};

} // namespace

TEST(FreeFileNameParts, TrailingNumberAndPositionOf) {
    struct Case {
        const char* name;
        qint64 number;
    };
    for (const Case& c : {Case{"abc[7].html", 7}, Case{"abc[x].html", 0}, Case{"abc.html", 0}, Case{"a[1]b[12].html", 12},
                          Case{"a]b[3.html", 0}, Case{"a[3.html", 0}, Case{"a[-3].html", -3}, Case{"[99999999999].html", 0}})
        EXPECT_EQ(trailingNumber(QString::fromUtf8(c.name)), c.number) << c.name;
    EXPECT_EQ(positionOf(".", "a.b.html", true, 8), 4);
    EXPECT_EQ(positionOf(".", "a.b.html", true, 3), 2);
    EXPECT_EQ(positionOf(".", "a.b.html", false, 3), 4);
    EXPECT_EQ(positionOf("x", "a.b.html", true, 8), 0);
    EXPECT_EQ(positionOf("ml", "a.b.html", true, 8), 7);
}

TEST(FreeFileNames, FreeNameCountsEveryFileThatBeginsWithTheBase) {
    struct Case {
        QStringList existing;
        const char* candidate;
        const char* expected;
    };
    const Case cases[] = {
        {{}, "Loop.html", "Loop.html"},
        {{"Loop.html"}, "Loop.html", "loop[1].html"},
        {{"abc.html", "abcdef[7].html"}, "abc.html", "abc[8].html"},
        {{"abc.html", "abc[x].html"}, "abc.html", "abc[1].html"},
        {{"abc.html", "abc[3].txt", "ab[9].html"}, "abc.html", "abc[1].html"},
        {{"ABC.html", "aBc[4].HTML"}, "ABC.html", "abc[5].html"},
        {{"Сортировка.txt"}, "Сортировка.txt", "сортировка[1].txt"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        for (const QString& f : c.existing) touch(dir.filePath(f));
        FreeFileNames names;
        EXPECT_EQ(names.freeName(dir.filePath(QString::fromUtf8(c.candidate))), dir.filePath(QString::fromUtf8(c.expected)))
            << c.candidate << " with " << c.existing.join(u',').toStdString();
    }
    // A folder of the candidate's name is no file.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("abc.html");
    EXPECT_EQ(FreeFileNames().freeName(dir.filePath("abc.html")), dir.filePath("abc.html"));
}

TEST(FreeFileNames, RemembersWhatTheExportWroteWithoutListingAgain) {
    QTemporaryDir dir;
    touch(dir.filePath("abc.html"));
    FreeFileNames names;
    EXPECT_EQ(names.freeName(dir.filePath("abc.html")), dir.filePath("abc[1].html"));
    // Files that appear behind its back are not seen: the folder was listed once.
    touch(dir.filePath("abc[40].html"));
    EXPECT_EQ(names.freeName(dir.filePath("abc.html")), dir.filePath("abc[1].html"));
    // What it is told about counts, also for a base it was already asked about.
    names.noteWritten(dir.filePath("abc[1].html"));
    names.noteWritten(dir.filePath("abcd[6].html"));
    names.noteWritten(dir.filePath("abcd[9].txt"));
    EXPECT_EQ(names.freeName(dir.filePath("abc.html")), dir.filePath("abc[7].html"));
    EXPECT_EQ(names.freeName(dir.filePath("Loop.html")), dir.filePath("Loop.html"));
    names.noteWritten(dir.filePath("Loop.html"));
    EXPECT_EQ(names.freeName(dir.filePath("Loop.html")), dir.filePath("loop[1].html"));
    // Names told of in a folder before any of its names was taken count as well.
    QTemporaryDir other;
    touch(other.filePath("x.txt"));
    FreeFileNames later;
    later.noteWritten(other.filePath("X[3].txt"));
    later.noteWritten(other.filePath("x[2].txt"));
    EXPECT_EQ(later.freeName(other.filePath("x.txt")), other.filePath("x[4].txt"));
}

TEST_F(StructureExport, RootOnlyGivesTheRootDocumentAndAOneEntryIndex) {
    const StructureExportOutcome out = run();
    EXPECT_TRUE(out.indexWritten);
    EXPECT_EQ(out.failedNodes, 0);
    EXPECT_EQ(listTree(dir.path()), QStringList({"Root.html", "out.html"}));
    EXPECT_EQ(index(), kBom + kIndexHead + "\r\n &nbsp&nbsp <B>" + link("Root.html", "Root") + "</B><BR>\r\n" + kIndexTail);
    const QByteArray root = readBytes(dir.filePath("Root.html"));
    EXPECT_TRUE(root.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n")) << root.left(60).constData();
    EXPECT_TRUE(root.contains("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"));
    EXPECT_TRUE(root.contains("<title>Untitled</title>"));
    EXPECT_TRUE(root.contains("<code><span style=\"font: 10pt Arial;\"><span class=\"pas1-space\"> \r\n \r\n</span></span>\r\n"
                              "</code></pre>\r\n</body>\r\n</html>"))
        << root.constData();
    EXPECT_TRUE(root.endsWith("</html>"));
    // Progress: one step per node, the status named the node file and is cleared at the end.
    EXPECT_EQ(rec.maximum, 1);
    EXPECT_EQ(rec.steps, 1);
    EXPECT_EQ(rec.ends, 1);
    EXPECT_EQ(rec.statuses, QStringList({"Сохранение: Root.html", ""}));
}

TEST_F(StructureExport, ChosenNameAlwaysGetsHtml) {
    for (const char* name : {"out", "out.html"}) {
        QTemporaryDir d;
        EXPECT_TRUE(exportStructureHtml(tree, highlighters, d.filePath(name), Feedback{}).indexWritten);
        EXPECT_EQ(listTree(d.path()), QStringList({"Root.html", QString::fromLatin1(name) + ".html"}));
    }
}

TEST_F(StructureExport, EqualCaptionsTakeNumberedNamesAndEachEntryLinksItsOwnFile) {
    for (int i = 0; i < 3; ++i) addPage(tree, tree.root(), "Loop", "begin end;");
    run();
    EXPECT_EQ(listTree(dir.path()), QStringList({"Loop.html", "Root.html", "loop[1].html", "loop[2].html", "out.html"}));
    const QByteArray page = " &nbsp&nbsp  &nbsp&nbsp ";
    EXPECT_EQ(index(), kBom + kIndexHead + "\r\n &nbsp&nbsp <B>" + link("Root.html", "Root") + "</B><BR>\r\n" + "\r\n" +
                           page + link("Loop.html", "Loop") + "<BR>\r\n\r\n" + page + link("loop[1].html", "Loop") +
                           "<BR>\r\n\r\n" + page + link("loop[2].html", "Loop") + "<BR>\r\n" + kIndexTail);

    // A second export into the same folder numbers every node file and replaces the index.
    run();
    EXPECT_EQ(listTree(dir.path()), QStringList({"Loop.html", "Root.html", "loop[1].html", "loop[2].html", "loop[3].html",
                                                 "loop[4].html", "loop[5].html", "out.html", "root[1].html"}));
    EXPECT_TRUE(index().contains(link("root[1].html", "Root")));
    EXPECT_TRUE(index().contains(link("loop[5].html", "Loop")));
    EXPECT_FALSE(index().contains(link("Loop.html", "Loop")));
}

TEST_F(StructureExport, FilesAlreadyThereCountAndTheIndexNameIsNeverTakenByANode) {
    touch(dir.filePath("abc.html"));
    touch(dir.filePath("abcdef[7].html"));
    addPage(tree, tree.root(), "abc");
    addPage(tree, tree.root(), "out");
    run();
    EXPECT_TRUE(index().contains(link("abc[8].html", "abc")));
    EXPECT_TRUE(index().contains(link("out[1].html", "out")));
    EXPECT_TRUE(readBytes(dir.filePath("out[1].html")).startsWith("<?xml"));
    EXPECT_TRUE(index().startsWith(kBom + kIndexHead));
    EXPECT_EQ(readBytes(dir.filePath("abc.html")), QByteArray());
}

TEST_F(StructureExport, EntriesAreIndentedByLevelAndSectionsAreBold) {
    Node* s = addSection(tree, tree.root(), "S");
    addPage(tree, s, "P");
    EXPECT_EQ(indexEntryLine(1, false, "L"), " &nbsp&nbsp  &nbsp&nbsp <B>L</B><BR>");
    EXPECT_EQ(indexEntryLine(2, true, "L"), " &nbsp&nbsp  &nbsp&nbsp  &nbsp&nbsp L<BR>");
    run();
    EXPECT_TRUE(index().contains("\r\n &nbsp&nbsp  &nbsp&nbsp <B>" + link("S.html", "S") + "</B><BR>\r\n"));
    EXPECT_TRUE(index().contains("\r\n &nbsp&nbsp  &nbsp&nbsp  &nbsp&nbsp " + link("P.html", "P") + "<BR>\r\n"));
}

TEST_F(StructureExport, IndentStopsGrowingBelowDepth64SoADeepChainExports) {
    Node* deepest = tree.root();
    for (int level = 1; level <= 5000; ++level) deepest = addSection(tree, deepest, QStringLiteral("n%1").arg(level));
    const auto indentUnits = [](const QString& line) { return line.count(QStringLiteral(" &nbsp&nbsp ")); };
    EXPECT_EQ(indentUnits(indexEntryLine(63, false, "L")), 64);
    EXPECT_EQ(indentUnits(indexEntryLine(64, false, "L")), 65);
    EXPECT_EQ(indentUnits(indexEntryLine(65, false, "L")), 65);
    const StructureExportOutcome out = run();
    ASSERT_TRUE(out.indexWritten);
    EXPECT_EQ(out.failedNodes, 0);
    const QByteArray page = index();
    const qsizetype deepestLink = page.indexOf(">n5000</a>");
    ASSERT_GE(deepestLink, 0);
    const qsizetype lineStart = page.lastIndexOf('\n', deepestLink) + 1;
    EXPECT_EQ(indentUnits(QString::fromUtf8(page.mid(lineStart, deepestLink - lineStart))), 65);
}

TEST_F(StructureExport, NodeDocumentsAreHighlightedInTheirOwnLanguageAndKeepUtf8) {
    addPage(tree, tree.root(), "Паскаль", "{ x & y }\r\n// комментарий", 1);
    addPage(tree, tree.root(), "Си", "int x; // комментарий <b>", 2);
    run();
    const QByteArray pascal = readBytes(dir.filePath("Паскаль.html"));
    EXPECT_TRUE(pascal.contains(".pas1-comment { ")) << pascal.constData();
    // Both comments look the same: one run, line break included.
    EXPECT_TRUE(pascal.contains(
        QStringLiteral("<span class=\"pas1-comment\">{ x &amp; y }\r\n// комментарий\r\n</span></span>").toUtf8()))
        << pascal.constData();
    const QByteArray c = readBytes(dir.filePath("Си.html"));
    EXPECT_TRUE(c.contains(QStringLiteral("<span class=\"cpp1-comment\">// комментарий &lt;b&gt;\r\n</span>").toUtf8()))
        << c.constData();
    EXPECT_TRUE(index().contains(QStringLiteral(">Паскаль</a>").toUtf8()));
}

TEST_F(StructureExport, CaptionsAreEscapedInTheIndexAndAddressesPercentEncoded) {
    addPage(tree, tree.root(), "a & <b> \"q\"");
    addPage(tree, tree.root(), "x#1 %?");
    run();
    EXPECT_TRUE(index().contains(">a &amp; &lt;b&gt; &quot;q&quot;</a>")) << index().constData();
    // Links are relative to the index page and stay percent-encoded.
    EXPECT_TRUE(index().contains("href=\"a%20%26%20%3Cb%3E%20%22q%22.html\""));
    EXPECT_TRUE(index().contains("href=\"x%231%20%25%3F.html\">x#1 %?</a>"));
    EXPECT_FALSE(index().contains(dir.path().toUtf8()));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("x#1 %?.html")));
}

TEST_F(StructureExport, CaptionsThatAreNoFileNameFailAloneAndNothingIsWrittenOutside) {
    QDir(dir.path()).mkdir("inner");
    for (const char* caption : {"../evil", "a/b", "..\\up", ".", ".."}) addPage(tree, tree.root(), caption);
    addPage(tree, tree.root(), "fine");
    const StructureExportOutcome out = exportStructureHtml(tree, highlighters, dir.filePath("inner/out"), rec.feedback());
    EXPECT_TRUE(out.indexWritten);
    EXPECT_EQ(out.failedNodes, 5);
    EXPECT_EQ(rec.messages, QStringList({"Ошибка при сохранении ../evil.html", "Ошибка при сохранении a/b.html",
                                         "Ошибка при сохранении ..\\up.html", "Ошибка при сохранении ..html",
                                         "Ошибка при сохранении ...html"}));
    EXPECT_EQ(listTree(dir.path()), QStringList({"inner/", "inner/Root.html", "inner/fine.html", "inner/out.html"}));
    EXPECT_EQ(rec.steps, 7);
}

TEST_F(StructureExport, NodeFilesThatCannotBeWrittenAreToldInNodeOrderAndTheirNamesStayTaken) {
    // Folders stand where two node files would go: their writes fail, the export goes on.
    QDir(dir.path()).mkdir("Loop.html");
    QDir(dir.path()).mkdir("Last.html");
    addPage(tree, tree.root(), "Loop", "a");
    addPage(tree, tree.root(), "a/b");
    addPage(tree, tree.root(), "Loop", "b");
    addPage(tree, tree.root(), "Last");
    const StructureExportOutcome out = run();
    EXPECT_TRUE(out.indexWritten);
    EXPECT_EQ(out.failedNodes, 3);
    EXPECT_EQ(rec.messages, QStringList({"Ошибка при сохранении Loop.html", "Ошибка при сохранении a/b.html",
                                         "Ошибка при сохранении Last.html"}));
    // The second "Loop" never takes the name the first one's link points to.
    EXPECT_TRUE(index().contains(link("Loop.html", "Loop")));
    EXPECT_TRUE(index().contains(link("loop[1].html", "Loop")));
    EXPECT_TRUE(readBytes(dir.filePath("loop[1].html")).contains(">b\r\n"));
    EXPECT_EQ(listTree(dir.path()),
              QStringList({"Last.html/", "Loop.html/", "Root.html", "loop[1].html", "out.html"}));
}

TEST_F(StructureExport, AMissingFolderOrAnUnwritableIndexIsReported) {
    const StructureExportOutcome missing = run("no/such/out");
    EXPECT_FALSE(missing.indexWritten);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].startsWith("Cannot create file \"" + dir.filePath("no/such/out.html") + "\". "));
    EXPECT_TRUE(listTree(dir.path()).isEmpty());

    // A folder in the index page's place: the node files stay, the failure is named.
    rec.messages.clear();
    QDir(dir.path()).mkdir("out.html");
    EXPECT_FALSE(run().indexWritten);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].startsWith("Cannot create file \"" + dir.filePath("out.html") + "\". "));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Root.html")));
}
