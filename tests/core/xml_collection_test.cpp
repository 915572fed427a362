#include "app/program.h"
#include "storage/file_names.h"
#include "storage/xml_collection.h"
#include "xml/xml_layer.h"

#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace tw;

namespace {

QString fixture(const char* name) { return QStringLiteral(TARNWICK_FIXTURES "/") + QString::fromUtf8(name); }

struct Recorder {
    QStringList messages;
    int begun = -1, steps = 0, ended = 0;
    Feedback feedback() {
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        fb.beginProgress = [this](int max) { begun = max; };
        fb.stepProgress = [this] { ++steps; };
        fb.endProgress = [this] { ++ended; };
        return fb;
    }
};

// The collection of the example: a section with a new page, and a page Hello.
void buildExample(CollectionTree& t) {
    Node* section = t.appendChild(t.root(), "Новый раздел", 0, 0, -1, makePageRecord({}, "Новый раздел", 0, 0, 1, -1));
    t.appendChild(section, "Новый код", 2, 2, -1, makePageRecord(" ", "Новый код", 1, 2, 2, -1));
    t.appendChild(t.root(), "Hello", 2, 2, 7,
                  makePageRecord("program Hello;\r\nbegin writeln('Hi & <bye>') end.", "Hello", 2, 2, 2, 7));
}

bool loadBytes(CollectionTree& t, const QByteArray& xml, Recorder* rec = nullptr) {
    QByteArray copy = xml;
    Recorder local;
    return loadXmlBytes(t, copy, (rec ? rec : &local)->feedback());
}

} // namespace

TEST(XmlCollection, ExampleIsWrittenByteForByte) {
    CollectionTree t;
    buildExample(t);
    QTemporaryDir dir;
    Recorder rec;
    const SaveOutcome out = saveCollectionXml(t, dir.filePath("example"), rec.feedback());
    EXPECT_TRUE(out.written);
    EXPECT_EQ(out.fileName, dir.filePath("example.xml"));
    EXPECT_EQ(readFileBytes(out.fileName), readFileBytes(fixture("example.xml")));
    EXPECT_TRUE(rec.messages.isEmpty());
    EXPECT_EQ(rec.begun, 4);
    EXPECT_EQ(rec.steps, 4);
    EXPECT_EQ(rec.ended, 1);
}

TEST(XmlCollection, ExampleReadsBackToTheSameTree) {
    CollectionTree t;
    Recorder rec;
    ASSERT_TRUE(loadCollectionXml(t, fixture("example.xml"), rec.feedback()));
    EXPECT_EQ(rec.begun, 4);
    EXPECT_EQ(rec.ended, 1);
    ASSERT_EQ(t.count(), 4);
    const Node* section = t.nodeAt(1);
    EXPECT_EQ(section->caption, "Новый раздел");
    EXPECT_EQ(section->kindImage, 0);
    EXPECT_EQ(section->selectedImage, 1);
    EXPECT_EQ(section->stateIndex, -1);
    EXPECT_EQ(section->page->name, "Новый раздел");
    const PageRecord& fresh = t.pageAt(2);
    EXPECT_EQ(fresh.text, " ");  // a blank text survives the round trip
    EXPECT_EQ(fresh.language, 1);
    EXPECT_EQ(t.levelOf(t.nodeAt(2)), 2);
    const Node* hello = t.nodeAt(3);
    EXPECT_EQ(hello->caption, "Hello");
    EXPECT_EQ(hello->stateIndex, 7);
    EXPECT_EQ(hello->page->stateIndex, 7);
    EXPECT_EQ(hello->page->language, 2);
    EXPECT_EQ(hello->page->text, "program Hello;\r\nbegin writeln('Hi & <bye>') end.");
    // The root node keeps its own record whatever the file says of it.
    EXPECT_EQ(t.pageAt(0).stateIndex, 20);

    QTemporaryDir dir;
    ASSERT_TRUE(saveCollectionXml(t, dir.filePath("again.xml"), rec.feedback()).written);
    EXPECT_EQ(readFileBytes(dir.filePath("again.xml")), readFileBytes(fixture("example.xml")));
}

TEST(XmlCollection, NewCollectionIsRootWithMarkerAndEmptyText) {
    CollectionTree t;
    QTemporaryDir dir;
    ASSERT_TRUE(saveCollectionXml(t, dir.filePath("new.xml"), Feedback{}).written);
    EXPECT_EQ(readFileBytes(dir.filePath("new.xml")),
              QByteArray("<TREE count=\"1\"><Root name=\"Root\" level=\"0\" stindex=\"20\" slindex=\"3\" imindex=\"3\" "
                         "lan=\"0\"> \r\n <text></text></Root></TREE>"));
    CollectionTree back;
    ASSERT_TRUE(loadCollectionXml(back, dir.filePath("new.xml"), Feedback{}));
    EXPECT_EQ(back.count(), 1);
}

TEST(XmlCollection, WhiteSpaceTextsKeepTheirBlanks) {
    for (const std::string text : {" ", "   ", "\r\n\t \r\n"}) {
        CollectionTree t;
        t.appendChild(t.root(), "p", 2, 2, -1, makePageRecord(text, "p", 1, 2, 2, -1));
        QTemporaryDir dir;
        ASSERT_TRUE(saveCollectionXml(t, dir.filePath("w.xml"), Feedback{}).written);
        EXPECT_TRUE(readFileBytes(dir.filePath("w.xml")).contains("lan=\"1\"> \r\n <text>"));
        CollectionTree back;
        ASSERT_TRUE(loadCollectionXml(back, dir.filePath("w.xml"), Feedback{}));
        ASSERT_EQ(back.count(), 2);
        EXPECT_EQ(back.pageAt(1).text, text);
    }
}

TEST(XmlCollection, CharactersXmlCannotHoldAreLeftOut) {
    CollectionTree t;
    t.appendChild(t.root(), QString::fromUtf8("bad\x01name\x1f"), 2, 2, -1,
                  makePageRecord(std::string("a") + '\0' + "b\x07\tc\r\nd\x1b", "x", 1, 2, 2, -1));
    QTemporaryDir dir;
    Recorder rec;
    ASSERT_TRUE(saveCollectionXml(t, dir.filePath("c.xml"), rec.feedback()).written);
    CollectionTree back;
    ASSERT_TRUE(loadCollectionXml(back, dir.filePath("c.xml"), rec.feedback()));
    EXPECT_EQ(back.nodeAt(1)->caption, "badname");
    EXPECT_EQ(back.pageAt(1).text, "ab\tc\r\nd");
}

TEST(XmlCollection, ReadsFilesThatStartWithDeclarationCommentOrInstruction) {
    const QByteArray body = readFileBytes(fixture("example.xml"));
    for (const QByteArray& prolog : {QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"),
                                    QByteArray("<!-- saved by hand -->"), QByteArray("<?style x?>\n"),
                                    QByteArray("\xEF\xBB\xBF")}) {
        CollectionTree t;
        EXPECT_TRUE(loadBytes(t, prolog + body)) << prolog.constData();
        EXPECT_EQ(t.count(), 4);
    }
}

TEST(XmlCollection, ReadsCdataAndIndentedFilesAndValuesModulo256) {
    CollectionTree t;
    ASSERT_TRUE(loadBytes(t, "<TREE count=\"3\">\n  <Root name=\"R\">\n    <text/>\n"
                             "    <Страница name=\"p\" stindex=\"-1\" slindex=\"258\" imindex=\"2\" lan=\"257\">\n"
                             "      <text><![CDATA[a < b]]></text>\n"
                             "      <Раздел name=\"under page\" stindex=\"3\" slindex=\"1\" imindex=\"0\" lan=\"0\">"
                             "<text/></Раздел>\n"
                             "    </Страница>\n  </Root>\n</TREE>\n"));
    ASSERT_EQ(t.count(), 3);
    const Node* page = t.nodeAt(1);
    EXPECT_EQ(page->page->text, "a < b");
    EXPECT_EQ(page->page->language, 1);
    EXPECT_EQ(page->page->selectedIndex, 2);
    EXPECT_EQ(page->selectedImage, 258);
    ASSERT_EQ(page->children.size(), 1u);  // nodes nested below a page are kept
    EXPECT_EQ(page->children[0]->caption, "under page");
}

TEST(XmlCollection, RootWithoutChildNodesReadsToAnUnchangedTree) {
    CollectionTree t;
    EXPECT_TRUE(loadBytes(t, "<TREE count=\"1\"><Root/></TREE>"));
    EXPECT_EQ(t.count(), 1);
}

struct BadFile {
    const char* what;
    const char* xml;
    int nodesKept;  // nodes read before the failure, root node included
};

class ReaderFailure : public testing::TestWithParam<BadFile> {};

TEST_P(ReaderFailure, ReportsTheOpenErrorAndKeepsNodesAlreadyRead) {
    CollectionTree t;
    Recorder rec;
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.xml");
    ASSERT_TRUE(writeFileBytes(path, GetParam().xml));
    EXPECT_FALSE(loadCollectionXml(t, path, rec.feedback()));
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при открытии файла"});
    EXPECT_EQ(t.count(), GetParam().nodesKept);
    if (rec.begun >= 0) {
        EXPECT_EQ(rec.ended, 1);
    }
}

#define GOOD_PAGE "<Страница name=\"ok\" stindex=\"-1\" slindex=\"2\" imindex=\"2\" lan=\"1\"><text>t</text></Страница>"
INSTANTIATE_TEST_SUITE_P(
    XmlCollection, ReaderFailure,
    testing::Values(
        BadFile{"not xml", "<TREE count=\"1\"><Root>", 1}, BadFile{"empty file", "", 1},
        BadFile{"TREE without children", "<TREE count=\"1\"></TREE>", 1},
        BadFile{"count missing", "<TREE><Root><text/></Root></TREE>", 1},
        BadFile{"count negative", "<TREE count=\"-1\"><Root><text/></Root></TREE>", 1},
        BadFile{"count not an integer", "<TREE count=\"4x\"><Root><text/></Root></TREE>", 1},
        BadFile{"name missing",
                "<TREE count=\"3\"><Root><text/>" GOOD_PAGE
                "<Страница stindex=\"-1\" slindex=\"2\" imindex=\"2\" lan=\"1\"><text/></Страница></Root></TREE>",
                2},
        BadFile{"lan missing",
                "<TREE count=\"2\"><Root><text/><Раздел name=\"s\" stindex=\"-1\" slindex=\"1\" imindex=\"0\">"
                "<text/></Раздел></Root></TREE>",
                1},
        BadFile{"imindex not an integer",
                "<TREE count=\"3\"><Root><text/>" GOOD_PAGE
                "<Страница name=\"x\" stindex=\"-1\" slindex=\"2\" imindex=\"two\" lan=\"1\"><text/></Страница>"
                "</Root></TREE>",
                2},
        BadFile{"stindex out of range",
                "<TREE count=\"2\"><Root><text/><Страница name=\"x\" stindex=\"99999999999\" slindex=\"2\" "
                "imindex=\"2\" lan=\"1\"><text/></Страница></Root></TREE>",
                1},
        BadFile{"node element without children",
                "<TREE count=\"3\"><Root><text/>" GOOD_PAGE
                "<Страница name=\"x\" stindex=\"-1\" slindex=\"2\" imindex=\"2\" lan=\"1\"/></Root></TREE>",
                2},
        BadFile{"first child with several children",
                "<TREE count=\"2\"><Root><text/><Страница name=\"x\" stindex=\"-1\" slindex=\"2\" imindex=\"2\" "
                "lan=\"1\"><text>a<b/>c</text></Страница></Root></TREE>",
                1},
        BadFile{"first child holding an element",
                "<TREE count=\"2\"><Root><text/><Страница name=\"x\" stindex=\"-1\" slindex=\"2\" imindex=\"2\" "
                "lan=\"1\"><text><b/></text></Страница></Root></TREE>",
                1},
        BadFile{"nested failure keeps the parent",
                "<TREE count=\"3\"><Root><text/><Раздел name=\"s\" stindex=\"-1\" slindex=\"1\" imindex=\"0\" "
                "lan=\"0\"><text/><Страница name=\"x\"><text/></Страница></Раздел></Root></TREE>",
                2}),
    [](const testing::TestParamInfo<BadFile>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(XmlCollection, NumberAttributesAreWholeDecimalIntegersInRange) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"0", 0},           {"-1", -1},         {"+7", 7},         {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", {}}, {"-2147483649", {}}, {"99999999999999999999", {}},
        {"", {}},           {"+", {}},          {"-", {}},         {"+-1", {}},
        {"-+1", {}},        {"--1", {}},        {" 1", {}},        {"1 ", {}},
        {"1x", {}},         {"0x10", {}},       {"１", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(xml::parseInt32(text), expected) << text;
}

TEST(XmlCollection, MissingFileReportsTheOpenError) {
    CollectionTree t;
    Recorder rec;
    EXPECT_FALSE(loadCollectionXml(t, "/nonexistent/dir/none.xml", rec.feedback()));
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при открытии файла"});
}

TEST(XmlCollection, FailedSaveLeavesThePreviousFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.xml");
    ASSERT_TRUE(writeFileBytes(path, "previous contents"));
    CollectionTree t;
    t.appendChild(t.root(), "big", 2, 2, -1, makePageRecord(std::string(64 * 1024, 'x'), "big", 1, 2, 2, -1));
    // The write runs out of room half-way: files may not grow beyond 4 KiB for a moment.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Recorder rec;
    const SaveOutcome out = saveCollectionXml(t, path, rec.feedback());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(out.written);
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при сохранении файла"});
    EXPECT_EQ(readFileBytes(path), QByteArray("previous contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.xml"});  // no leftovers
}

TEST(XmlCollection, SaveIntoMissingFolderFails) {
    CollectionTree t;
    Recorder rec;
    const SaveOutcome out = saveCollectionXml(t, "/nonexistent/dir/x", rec.feedback());
    EXPECT_FALSE(out.written);
    EXPECT_EQ(out.fileName, "/nonexistent/dir/x.xml");
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при сохранении файла"});
}

struct NameCase {
    const char* in;
    const char* withXml;
    const char* replaced;  // extension replaced by ".txt"
    bool xml;
};

class FileNames : public testing::TestWithParam<NameCase> {};

TEST_P(FileNames, ExtensionRules) {
    const NameCase& c = GetParam();
    EXPECT_EQ(withXmlExtensionIfNone(c.in), c.withXml);
    EXPECT_EQ(replaceExtension(c.in, ".txt"), c.replaced);
    EXPECT_EQ(isXmlName(c.in), c.xml);
}

INSTANTIATE_TEST_SUITE_P(XmlCollection, FileNames,
                         testing::Values(NameCase{"/a/b", "/a/b.xml", "/a/b.txt", false},
                                         NameCase{"/a/b.XML", "/a/b.XML", "/a/b.txt", true},
                                         NameCase{"/a.d/b", "/a.d/b.xml", "/a.d/b.txt", false},
                                         NameCase{"C:\\x.y\\f", "C:\\x.y\\f.xml", "C:\\x.y\\f.txt", false},
                                         NameCase{"/a/b.tar.dat", "/a/b.tar.dat", "/a/b.tar.txt", false}));

TEST(XmlCollection, WindowCaptionShowsTheBareFileName) {
    EXPECT_EQ(windowCaption(""), "Tarnwick v1.6");
    EXPECT_EQ(windowCaption("/home/u/  "), "Tarnwick v1.6");
    EXPECT_EQ(windowCaption("/home/u/Коды.XML"), "Tarnwick v1.6  [Коды.XML]");
}
