// The file-search walk over temporary directory trees: sections, pages, masks, loading
// with its size limit and fragment, languages, removal of empty sections, stopping,
// and the walk's safety with links and special files.
#include "editor/catalogue.h"
#include "exchange/file_masks.h"
#include "exchange/file_search.h"
#include "../qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace tw;

namespace {

class FileSearchWalk : public testing::Test {
protected:
    QTemporaryDir dir;
    CollectionTree tree;
    Feedback fb;

    QString at(const QString& relative) const { return dir.path() + u'/' + relative; }
    void write(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QFile f(at(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void mkdir(const QString& relative) { ASSERT_TRUE(QDir().mkpath(at(relative))); }

    void import(FileSearchOptions options, const QString& path = {}) {
        TreeImportSink sink(tree);
        FileSearch search(std::move(options), sink, fb);
        search.run(path.isNull() ? dir.path() : path, tree.root());
    }
    static FileSearchOptions masks(const char* text) {
        FileSearchOptions o;
        o.masks = parseMasks(QString::fromUtf8(text));
        return o;
    }
    // Node paths below the root, a "/" after sections.
    std::multiset<QString> shape() const {
        std::multiset<QString> out;
        for (const Node* n : tree.preorder()) {
            if (!n->parent) continue;
            QString p = nodePath(n).mid(5);  // without "Root\"
            p.chop(1);
            out.insert(isSectionKind(n->kindImage) ? p + u'/' : p);
        }
        return out;
    }
    const Node* find(const QString& caption) const {
        for (const Node* n : tree.preorder())
            if (n->caption == caption) return n;
        ADD_FAILURE() << "no node " << caption.toStdString();
        return tree.root();
    }
    std::string text(const char* caption) const { return find(QString::fromUtf8(caption))->page->text; }
};

TEST_F(FileSearchWalk, SectionsForDirectoriesPagesForMatchingFiles) {
    for (const char* f : {"a.pas", "b.dpr", "c.txt", "Makefile", "src/util/x.txt", "lib/d.PAS"}) write(f, "x");
    import(masks("*.pas *.dpr"));
    EXPECT_EQ(shape(), (std::multiset<QString>{"a.pas", "b.dpr", "src/", "src\\util/", "lib/", "lib\\d.PAS"}));
    // Records as a new section and a new page have them.
    const Node* page = find("a.pas");
    EXPECT_EQ(page->kindImage, kPageKind);
    EXPECT_EQ(page->page->text, " ");
    EXPECT_EQ(page->page->language, 1);
    EXPECT_EQ(find("src")->kindImage, kSectionCollapsed);
    EXPECT_EQ(tree.counts().pages, 3);
}

TEST_F(FileSearchWalk, EntriesAreAddedInNameOrderWhateverTheirCase) {
    for (const char* f : {"b.txt", "A.txt", "c.txt", "Z/z.txt", "a2/y.txt", "B1/x.txt"}) write(f, "x");
    import(masks("*.txt"));
    QStringList order;
    for (const Node* n : tree.preorder())
        if (n->parent) order << n->caption;
    EXPECT_EQ(order, (QStringList{"A.txt", "a2", "y.txt", "b.txt", "B1", "x.txt", "c.txt", "Z", "z.txt"}));
}

TEST_F(FileSearchWalk, MaskOfAllExtensionsSkipsFilesWithoutOne) {
    write("Makefile", "x");
    write("a.c", "x");
    import(masks("*.*"));
    EXPECT_EQ(shape(), (std::multiset<QString>{"a.c"}));
    import(masks("*"));
    EXPECT_EQ(shape(), (std::multiset<QString>{"a.c", "a.c", "Makefile"}));  // a second import adds copies
}

TEST_F(FileSearchWalk, SizeLimitAndLineEnds) {
    write("at.txt", QByteArray(40960, 'a'));
    write("over.txt", QByteArray(40961, 'b'));
    write("ends.txt", "one\rtwo\nthree\r\nfour");
    write("empty.txt", "");
    write("cp1251.txt", "\xcf\xf0\xe8\xe2\xe5\xf2\n");  // "Привет" in Windows-1251
    write("utf8.txt", "\xef\xbb\xbf\xd0\x9f\xd1\x80\xd0\xb8\n");
    FileSearchOptions o = masks("*");
    o.loadFiles = true;
    o.sizeLimit = sizeLimitBytes(QStringLiteral("40"));
    import(o);
    EXPECT_EQ(text("at.txt"), std::string(40960, 'a') + "\r\n");
    EXPECT_EQ(text("over.txt"), " ");
    EXPECT_EQ(text("ends.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n");
    EXPECT_EQ(text("empty.txt"), "");
    EXPECT_EQ(text("cp1251.txt"), "Привет\r\n");
    EXPECT_EQ(text("utf8.txt"), "При\r\n");
    // Without a limit, every size is loaded; without the load option nothing is.
    tree.reset();
    o.sizeLimit = 0;
    import(o);
    EXPECT_EQ(text("over.txt").size(), 40963u);
    tree.reset();
    o.loadFiles = false;
    import(o);
    EXPECT_EQ(text("at.txt"), " ");
}

TEST_F(FileSearchWalk, FragmentIsAMaskForTheWholeContent) {
    write("exact.txt", "PRINT\n");
    write("inside.txt", "x := 1;\nprint(x)\n");
    write("other.txt", "nothing");
    struct Case {
        const char* fragment;
        std::set<std::string> loaded;
    } cases[] = {{"print", {"exact.txt"}},
                 {"*print*", {"exact.txt", "inside.txt"}},
                 {"  ", {"exact.txt", "inside.txt", "other.txt"}},
                 {"*[print*", {}}};
    for (const Case& c : cases) {
        tree.reset();
        FileSearchOptions o = masks("*.txt");
        o.loadFiles = true;
        o.fragment = QString::fromUtf8(c.fragment);
        import(o);
        ASSERT_EQ(tree.counts().pages, 3) << c.fragment;  // every file is a page, loaded or not
        for (const char* f : {"exact.txt", "inside.txt", "other.txt"})
            EXPECT_EQ(text(f) != " ", c.loaded.count(f) == 1) << c.fragment << " / " << f;
        TreeImportSink sink(tree);
        EXPECT_EQ(FileSearch(o, sink, fb).fileMatches(at("exact.txt")), c.loaded.count("exact.txt") == 1);
    }
}

TEST_F(FileSearchWalk, LanguageByExtension) {
    for (const char* f : {"a.cpp", "b.pas", "c.sql", "d.unknown", "Makefile"}) write(f, "x");
    const HighlighterSet highlighters;
    FileSearchOptions o = masks("*");
    o.languages = &highlighters;
    import(o);
    for (const char* f : {"a.cpp", "b.pas", "c.sql", "d.unknown", "Makefile"})
        EXPECT_EQ(find(QString::fromUtf8(f))->page->language, highlighters.languageNumberForFile(QString::fromUtf8(f))) << f;
    EXPECT_NE(find("a.cpp")->page->language, find("c.sql")->page->language);
    EXPECT_EQ(find("d.unknown")->page->language, 1);
}

TEST_F(FileSearchWalk, DeleteEmptySectionsAlsoOlderOnes) {
    mkdir("src/util");
    write("keep/a.pas", "x");
    write("keep/deeper/b.txt", "x");
    Node* old = tree.appendChild(tree.root(), "old", kSectionExpanded, kSectionExpanded, -1, makePageRecord({}, "old", 0, 1, 1, -1));
    tree.appendChild(old, "older", kSectionCollapsed, kSectionCollapsed, -1, makePageRecord({}, "older", 0, 0, 1, -1));
    Node* full = tree.appendChild(tree.root(), "full", kSectionCollapsed, 0, -1, makePageRecord({}, "full", 0, 0, 1, -1));
    tree.appendChild(full, "p", kPageKind, kPageKind, -1, makePageRecord(" ", "p", 1, 2, 2, -1));
    import(masks("*.pas"));
    EXPECT_EQ(shape(), (std::multiset<QString>{"old/", "old\\older/", "full/", "full\\p", "src/", "src\\util/", "keep/",
                                               "keep\\a.pas", "keep\\deeper/"}));
    removeEmptySections(tree);
    EXPECT_EQ(shape(), (std::multiset<QString>{"full/", "full\\p", "keep/", "keep\\a.pas"}));
    // An empty collection keeps its root node.
    tree.reset();
    removeEmptySections(tree);
    EXPECT_EQ(tree.count(), 1);
}

TEST_F(FileSearchWalk, StopEndsEachLevelAfterTheEntryItIsTaking) {
    for (int i = 0; i < 5; ++i) write(QStringLiteral("f%1.txt").arg(i), "x");
    write("sub/a.txt", "x");
    write("sub/b.txt", "x");
    FileSearch* running = nullptr;
    int calls = 0;
    fb.processEvents = [&] {
        if (++calls == 1) running->stop();
    };
    TreeImportSink sink(tree);
    FileSearch search(masks("*"), sink, fb);
    running = &search;
    search.run(dir.path(), tree.root());
    EXPECT_TRUE(search.stopped());
    // The stop came while the first entry was taken: it alone was handled; a directory
    // entered that way handles only its first entry.
    const auto got = shape();
    ASSERT_FALSE(got.empty());
    if (got.count("sub/")) EXPECT_EQ(got.size(), 2u);
    else EXPECT_EQ(got.size(), 1u);
}

TEST_F(FileSearchWalk, StatusShowsEachImportedFile) {
    write("a.txt", "x");
    write("b.bin", "x");
    QStringList shown;
    fb.status = [&](const QString& s) { shown << s; };
    import(masks("*.txt"));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Поиск: ") + dir.path() + QStringLiteral("/a.txt")});
}

TEST_F(FileSearchWalk, MissingOrEmptyPathAddsNothing) {
    import(masks("*"), at("missing"));
    import(masks("*"), QStringLiteral("   "));
    EXPECT_EQ(tree.count(), 1);
    EXPECT_EQ(FileSearch::normalisedPath(QStringLiteral(" /tmp ")), QStringLiteral("/tmp/"));
    EXPECT_EQ(FileSearch::normalisedPath(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
}

TEST_F(FileSearchWalk, LinksAreNotFollowedIntoAndSpecialFilesAreSkipped) {
    write("a/b/c.txt", "x");
    ASSERT_EQ(::symlink("..", at("a/b/up").toLocal8Bit().constData()), 0);        // a cycle
    ASSERT_EQ(::symlink("nowhere", at("a/dangling.txt").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink("b/c.txt", at("a/link.txt").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::mkfifo(at("a/pipe.txt").toLocal8Bit().constData(), 0600), 0);  // reading it would block
    FileSearchOptions o = masks("*");
    o.loadFiles = true;
    import(o);
    EXPECT_EQ(shape(), (std::multiset<QString>{"a/", "a\\b/", "a\\b\\c.txt", "a\\b\\up/", "a\\link.txt"}));
    EXPECT_EQ(text("link.txt"), "x\r\n");
}

TEST_F(FileSearchWalk, UnreadableEntriesAddNothingInside) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    write("closed/a.txt", "x");
    write("secret.txt", "x");
    ASSERT_EQ(::chmod(at("secret.txt").toLocal8Bit().constData(), 0), 0);
    ASSERT_EQ(::chmod(at("closed").toLocal8Bit().constData(), 0), 0);
    FileSearchOptions o = masks("*");
    o.loadFiles = true;
    import(o);
    ::chmod(at("closed").toLocal8Bit().constData(), 0700);
    EXPECT_EQ(shape(), (std::multiset<QString>{"closed/", "secret.txt"}));
    EXPECT_EQ(text("secret.txt"), " ");
}

TEST_F(FileSearchWalk, SinkThatRefusesEndsTheWalk) {
    for (int i = 0; i < 4; ++i) write(QStringLiteral("d%1/f.txt").arg(i), "x");
    struct Refusing : TreeImportSink {
        using TreeImportSink::TreeImportSink;
        int left = 3;
        Node* addSection(Node* p, const QString& c) override { return left-- > 0 ? TreeImportSink::addSection(p, c) : nullptr; }
        Node* addPage(Node* p, const QString& c) override { return left-- > 0 ? TreeImportSink::addPage(p, c) : nullptr; }
    } sink(tree);
    FileSearch search(masks("*"), sink, fb);
    search.run(dir.path(), tree.root());
    EXPECT_TRUE(search.abandoned());
    EXPECT_EQ(tree.count(), 4);
}

} // namespace
