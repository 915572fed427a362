#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {
const QString kExample = QStringLiteral(TARNWICK_FIXTURES "/example.xml");
} // namespace

TEST(BranchFiles, APageWithoutChildrenAndTheNameGetsXml) {
    CollectionTree t;
    ASSERT_TRUE(loadCollectionXml(t, kExample, Feedback{}));
    QTemporaryDir dir;
    const SaveOutcome out = saveBranchXml(t, dir.filePath("x.txt"), *t.nodeAt(3), Feedback{});
    ASSERT_TRUE(out.written);
    EXPECT_EQ(out.fileName, dir.filePath("x.xml"));
    const QByteArray xml = readFileBytes(out.fileName);
    EXPECT_TRUE(xml.startsWith("<TREE count=\"0\"><Root name=\"Root\" level=\"0\""));
    EXPECT_TRUE(xml.contains("</text><Страница name=\"Hello\" level=\"1\""));
    EXPECT_TRUE(xml.endsWith("</Страница></Root></TREE>"));
}

TEST(BranchFiles, SavedBranchAddsBelowASectionOfAnotherCollection) {
    CollectionTree source;
    ASSERT_TRUE(loadCollectionXml(source, kExample, Feedback{}));
    QTemporaryDir dir;
    ASSERT_TRUE(saveBranchXml(source, dir.filePath("b.xml"), *source.nodeAt(1), Feedback{}).written);
    EXPECT_TRUE(readFileBytes(dir.filePath("b.xml")).startsWith("<TREE count=\"1\">"));

    CollectionTree target;
    Node* s = target.appendChild(target.root(), "Target", 0, 0, -1, makePageRecord({}, "Target", 0, 0, 1, -1));
    target.appendChild(s, "old", 2, 2, -1, makePageRecord("x", "old", 1, 2, 2, -1));
    Node* after = target.appendChild(target.root(), "after", 2, 2, -1, makePageRecord("y", "after", 1, 2, 2, -1));
    int added = -1;
    GraftHooks hooks;
    hooks.aboutToAdd = [&](int count) { added = count; };
    ASSERT_TRUE(addBranchFile(target, dir.filePath("b.xml"), s, Feedback{}, hooks));
    EXPECT_EQ(added, 1);
    ASSERT_EQ(s->children.size(), 2u);
    EXPECT_EQ(s->children[1]->caption, "Новый раздел");
    EXPECT_EQ(s->children[1]->children[0]->caption, "Новый код");
    EXPECT_EQ(target.indexOf(after), 5);  // behind the branch now
    EXPECT_EQ(s->children[1]->kindImage, 0);  // a collapsed section stays collapsed

    // A whole collection as a branch: every child of its root goes below the target.
    ASSERT_TRUE(addBranchFile(target, kExample, target.root(), Feedback{}));
    EXPECT_EQ(target.root()->children.back()->caption, "Hello");
    EXPECT_EQ(target.count(), 6 + 3);
}

TEST(BranchFiles, TheRootNodesBranchAddsARootKindCopy) {
    CollectionTree t;
    ASSERT_TRUE(loadCollectionXml(t, kExample, Feedback{}));
    QTemporaryDir dir;
    ASSERT_TRUE(saveBranchXml(t, dir.filePath("all"), *t.root(), Feedback{}).written);
    CollectionTree other;
    ASSERT_TRUE(addBranchFile(other, dir.filePath("all.xml"), other.root(), Feedback{}));
    ASSERT_EQ(other.root()->children.size(), 1u);
    const Node* copy = other.root()->children[0].get();
    EXPECT_EQ(copy->kindImage, 3);
    EXPECT_EQ(copy->caption, "Root");
    EXPECT_EQ(other.count(), 1 + 4);
}

TEST(BranchFiles, AFailedAddKeepsWhatWasReadAndReportsIt) {
    QTemporaryDir dir;
    QFile f(dir.filePath("bad.xml"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<TREE count=\"2\"><Root><text/><Страница name=\"ok\" stindex=\"-1\" slindex=\"2\" imindex=\"2\" lan=\"1\">"
            "<text>t</text></Страница><Страница name=\"bad\"><text/></Страница></Root></TREE>");
    f.close();
    CollectionTree t;
    QStringList messages;
    Feedback fb;
    fb.message = [&](const QString& m) { messages << m; };
    EXPECT_FALSE(addBranchFile(t, dir.filePath("bad.xml"), t.root(), fb));
    EXPECT_EQ(messages, QStringList{"Ошибка при открытии файла"});
    EXPECT_EQ(t.count(), 2);
}

TEST(BranchFiles, TextBranchOfASectionReadsAsRootSectionPage) {
    CollectionTree t;
    ASSERT_TRUE(loadCollectionXml(t, kExample, Feedback{}));
    const std::string text = textCollectionBytes(t, *t.nodeAt(1), Feedback{});
    EXPECT_EQ(text.substr(0, 3), "1\r\n");
    CollectionTree back;
    ASSERT_TRUE(loadTextBytes(back, QByteArray::fromStdString(text), Feedback{}));
    ASSERT_EQ(back.count(), 3);
    EXPECT_EQ(back.nodeAt(1)->caption, "Новый раздел");
    EXPECT_EQ(back.nodeAt(2)->parent, back.nodeAt(1));
}
