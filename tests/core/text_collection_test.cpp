#include "storage/text_collection.h"
#include "storage/text_encoding.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {
const char kRoot[] = "0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n";

std::string bytes(const CollectionTree& t, const Node& n) { return textCollectionBytes(t, n, Feedback{}); }

struct Recorder {
    QStringList messages;
    Feedback feedback() {
        Feedback fb;
        fb.message = [this](const QString& m) { messages << m; };
        return fb;
    }
};

Node* page(CollectionTree& t, Node* parent, const QString& caption, std::string text, int lan = 1) {
    return t.appendChild(parent, caption, 2, 2, -1, makePageRecord(std::move(text), caption, lan, 2, 2, -1));
}
} // namespace

TEST(TextCollection, WritesTheRecordsByteForByte) {
    CollectionTree t;
    EXPECT_EQ(bytes(t, *t.root()), std::string("0\r\n") + kRoot);
    page(t, t.root(), "P", "abc");
    EXPECT_EQ(bytes(t, *t.root()), std::string("1\r\n") + kRoot + "1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nabc\r\n###\r\n");

    CollectionTree b;
    Node* s = b.appendChild(b.root(), "S", 0, 0, 4, makePageRecord({}, "S", 0, 0, 1, -1));
    page(b, s, "P", "x");
    b.root()->page->text = "never written";
    EXPECT_EQ(bytes(b, *s), std::string("1\r\n") + kRoot + "1\r\n4\r\n0\r\n0\r\n0\r\nS\r\n\r\n###\r\n" +
                                "2\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n");
}

TEST(TextCollection, ReadsBackTextsExactlyAndSavesAgainIdentically) {
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "Раздел", 1, 1, 7, makePageRecord({}, "Раздел", 0, 0, 1, 7));
    for (const char* text : {"abc", "Part", "", "a\r\nb\r\n", "lone\nLF and lone\rCR", "\r\n"}) page(t, s, "p", text, 15);
    const std::string first = bytes(t, *t.root());
    CollectionTree back;
    Recorder rec;
    ASSERT_TRUE(loadTextBytes(back, QByteArray::fromStdString(first), rec.feedback()));
    ASSERT_EQ(back.count(), t.count());
    for (int i = 1; i < t.count(); ++i) {
        EXPECT_EQ(back.pageAt(i).text, t.pageAt(i).text) << i;
        EXPECT_EQ(back.nodeAt(i)->caption, t.nodeAt(i)->caption);
        EXPECT_EQ(back.nodeAt(i)->stateIndex, t.nodeAt(i)->stateIndex);
        EXPECT_EQ(back.pageAt(i).language, t.pageAt(i).language);
        EXPECT_EQ(back.pageAt(i).name, "");  // the format does not hold the record's name
    }
    // The record's image index is not in the file: it is taken from the kind image (1 here, 0 before).
    EXPECT_EQ(back.pageAt(1).imageIndex, 1);
    EXPECT_EQ(bytes(back, *back.root()), first);
}

TEST(TextCollection, BranchReadsAsRootSectionPageAndTheRootKeepsItsCaption) {
    const QByteArray file = "1\r\n0\r\n-1\r\n3\r\n3\r\n9\r\nOther root\r\nignored\r\n###\r\n"
                            "1\r\n-1\r\n0\r\n0\r\n0\r\nS\r\n\r\n###\r\n2\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n";
    CollectionTree t;
    ASSERT_TRUE(loadTextBytes(t, file, Feedback{}));
    ASSERT_EQ(t.count(), 3);
    EXPECT_EQ(t.root()->caption, "Root");
    EXPECT_EQ(t.pageAt(0).language, 0);
    EXPECT_EQ(t.nodeAt(1)->caption, "S");
    EXPECT_EQ(t.nodeAt(2)->parent, t.nodeAt(1));
    EXPECT_EQ(t.pageAt(2).text, "x");
}

TEST(TextCollection, DamagedFiles) {
    struct Case {
        const char* what;
        QByteArray file;
        bool ok;
        int nodes;
    };
    for (const Case& c : {
             Case{"a letter where a level is expected", "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\nx\r\n", false, 1},
             Case{"a level without a parent", "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n3\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n", false, 1},
             Case{"empty lines after the last record", QByteArray("0\r\n") + kRoot + "\r\n\r\n", true, 1},
             Case{"the end inside a record's text keeps what was read", "1\r\n1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nabc", false, 2},
             Case{"the end before a record's caption leaves it out", "1\r\n1\r\n-1\r\n2\r\n2\r\n1\r\n", false, 1},
             Case{"the end inside a record's numbers", "1\r\n1\r\n-1\r\n", false, 1},
             Case{"no count line", "", false, 1},
             Case{"a damaged terminator merges two records", QByteArray("2\r\n") + kRoot + "1\r\n-1\r\n2\r\n2\r\n1\r\nA\r\na\r\n##\r\n"
                  "1\r\n-1\r\n2\r\n2\r\n1\r\nB\r\nb\r\n###\r\n", false, 2},
             Case{"more records than the count line says", QByteArray("1\r\n") + kRoot + "1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n"
                  "1\r\n-1\r\n2\r\n2\r\n1\r\nQ\r\ny\r\n###\r\n", false, 3},
             Case{"fewer records than the count line says", QByteArray("2\r\n") + kRoot + "1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n", false, 2},
             Case{"a branch file counts its own node apart", QByteArray("0\r\n") + kRoot + "1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n"
                  "1\r\n-1\r\n2\r\n2\r\n1\r\nQ\r\ny\r\n###\r\n", false, 3},
         }) {
        CollectionTree t;
        Recorder rec;
        EXPECT_EQ(loadTextBytes(t, c.file, rec.feedback()), c.ok) << c.what;
        EXPECT_EQ(rec.messages, c.ok ? QStringList{} : QStringList{"Ошибка при загрузке файла"}) << c.what;
        EXPECT_EQ(t.count(), c.nodes) << c.what;
    }
}

TEST(TextCollection, EveryTruncationFailsOrLosesNothing) {
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "S", 0, 0, -1, makePageRecord({}, "S", 0, 0, 1, -1));
    page(t, s, "P", "line\r\n\r\nend");
    page(t, t.root(), "Q", "");
    const QByteArray full = QByteArray::fromStdString(bytes(t, *t.root()));
    for (qsizetype size = 0; size < full.size(); ++size) {
        CollectionTree back;
        Recorder rec;
        if (loadTextBytes(back, full.left(size), rec.feedback())) {
            EXPECT_EQ(QByteArray::fromStdString(bytes(back, *back.root())), full) << "cut at " << size;
        } else {
            EXPECT_EQ(rec.messages, QStringList{"Ошибка при загрузке файла"}) << "cut at " << size;
        }
    }
}

TEST(TextCollection, ReadsWindows1251FilesAndWritesThroughASaveFile) {
    const QByteArray cp1251 = "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n1\r\n-1\r\n2\r\n2\r\n1\r\n"
                              "\xCF\xF0\xE8\xEC\xE5\xF0\r\n// \xEA\xEE\xE4\r\n###\r\n";  // "Пример", "// код"
    CollectionTree t;
    ASSERT_TRUE(loadTextBytes(t, cp1251, Feedback{}));
    EXPECT_EQ(t.nodeAt(1)->caption, "Пример");
    EXPECT_EQ(t.pageAt(1).text, "// код");

    QTemporaryDir dir;
    Recorder rec;
    const SaveOutcome out = saveCollectionText(t, dir.filePath("c.dat"), *t.root(), rec.feedback());
    EXPECT_TRUE(out.written);
    EXPECT_EQ(out.fileName, dir.filePath("c.txt"));
    CollectionTree back;
    ASSERT_TRUE(loadCollectionText(back, out.fileName, Feedback{}));
    EXPECT_EQ(back.nodeAt(1)->caption, "Пример");
    EXPECT_FALSE(saveCollectionText(t, "/nonexistent/x.txt", *t.root(), rec.feedback()).written);
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при сохранении файла"});
}

TEST(TextCollection, AFewBytesThatAreNoUtf8AreReplacedAndTheReadSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("c.txt");
    // UTF-8 throughout ("Пример", "// код, код") but for one stray byte in the text.
    ASSERT_TRUE(writeFileBytes(path, "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n1\r\n-1\r\n2\r\n2\r\n1\r\n"
                                     "Пример\r\n// код\xFF, код\r\n###\r\n"));
    CollectionTree t;
    Recorder rec;
    ASSERT_TRUE(loadCollectionText(t, path, rec.feedback()));
    EXPECT_EQ(t.nodeAt(1)->caption, "Пример");
    EXPECT_EQ(t.pageAt(1).text, "// код\uFFFD, код");
    EXPECT_EQ(rec.messages, QStringList{invalidBytesReplacedMessage(path)});

    // A clean file reads without a word.
    rec.messages.clear();
    CollectionTree clean;
    ASSERT_TRUE(writeFileBytes(path, "0\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n"));
    ASSERT_TRUE(loadCollectionText(clean, path, rec.feedback()));
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST(TextCollection, RefusesBeforeWritingWhatCouldNotBeReadBack) {
    struct Case {
        const char* caption;
        const char* text;
        bool unfit;
    };
    for (const Case& c : {Case{"P", "###", true}, Case{"P", "a\r\n###", true}, Case{"P", "###\r\nb", true},
                          Case{"P", "a\r\n###\r\nb", true}, Case{"a\nb", "x", true}, Case{"a\r\nb", "x", true},
                          Case{"P", "####\r\n ###\r\n### ", false}, Case{"P", "a\n###\nb\r###", false}}) {
        const std::string what = std::string(c.caption) + " / " + c.text;
        CollectionTree t;
        Node* s = t.appendChild(t.root(), "S", 0, 0, -1, makePageRecord({}, "S", 0, 0, 1, -1));
        page(t, s, QString::fromUtf8(c.caption), c.text);
        page(t, s, "fine", "text");
        QTemporaryDir dir;
        const QString file = dir.filePath("c.txt");
        ASSERT_TRUE(writeFileBytes(file, "old"));
        Recorder rec;
        EXPECT_EQ(saveCollectionText(t, file, *t.root(), rec.feedback()).written, !c.unfit) << what;
        if (c.unfit) {
            EXPECT_EQ(readFileBytes(file), "old") << what;
            EXPECT_EQ(rec.messages, QStringList{"Ошибка при сохранении файла:\nRoot\\S\\" + QString::fromUtf8(c.caption) + "\\"})
                << what;
        } else {
            CollectionTree back;
            ASSERT_TRUE(loadCollectionText(back, file, Feedback{})) << what;
            EXPECT_EQ(back.pageAt(2).text, c.text) << what;
        }
    }
}

TEST(TextCollection, LargeSavesAreTheExactBytesAndARefusalLeavesNoFileBehind) {
    // Texts larger than the blocks the file is written in, and many small records between.
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "S", 0, 0, -1, makePageRecord({}, "S", 0, 0, 1, -1));
    page(t, s, "big", std::string(3 << 20, 'x') + "\r\n###x");
    for (int k = 0; k < 3000; ++k) page(t, s, "p" + QString::number(k), std::string(700, static_cast<char>('a' + k % 26)));
    QTemporaryDir dir;
    const QString file = dir.filePath("c.txt");
    Recorder rec;
    ASSERT_TRUE(saveCollectionText(t, file, *t.root(), rec.feedback()).written);
    EXPECT_EQ(readFileBytes(file), QByteArray::fromStdString(bytes(t, *t.root())));

    // A node the format cannot hold, found after megabytes were already on their way.
    page(t, s, "bad", "a\r\n###\r\nb");
    ASSERT_TRUE(writeFileBytes(file, "old"));
    EXPECT_FALSE(saveCollectionText(t, file, *t.root(), rec.feedback()).written);
    EXPECT_EQ(readFileBytes(file), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"c.txt"});
    EXPECT_EQ(rec.messages, QStringList{"Ошибка при сохранении файла:\nRoot\\S\\bad\\"});
}
