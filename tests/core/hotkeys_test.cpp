#include "hotkeys/hotkey_table.h"

#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {

const QString kFixtures = QStringLiteral(TARNWICK_FIXTURES "/keys/");
QString fixture(const char* name) { return kFixtures + QString::fromUtf8(name); }

HotKeyRow row(const char* modifier, const char* letter, const char* text) {
    const QString m = QString::fromLatin1(modifier), l = QString::fromLatin1(letter);
    return {m, l, keyCodeFor(l.isEmpty() ? QChar() : l.at(0), m), QString::fromUtf8(text)};
}

// "CAPTION=text" per row, for comparing whole tables in one line.
QStringList describe(const std::vector<HotKeyRow>& rows) {
    QStringList out;
    for (const HotKeyRow& r : rows) out << r.caption() + u'=' + r.text + u'#' + QString::number(r.keyCode);
    return out;
}

const std::vector<HotKeyRow> kThreeRows = {row("ALT", "A", "begin\r\nend"), row("CONTROL", "K", ""),
                                           row("SHIFT", "Z", "######\r\nПривет")};

} // namespace

TEST(HotkeyCodes, ModifiersKeyCodesAndReservedCombinations) {
    EXPECT_EQ(keyCodeFor(u'A', "ALT"), 32833);
    EXPECT_EQ(keyCodeFor(u'A', "CONTROL"), 16449);
    EXPECT_EQ(keyCodeFor(u'A', "SHIFT"), 8257);
    EXPECT_EQ(keyCodeFor(u'A', "alt"), 0);  // names are compared exactly
    EXPECT_EQ(keyCodeAt(1, "K"), 0x4000 + 'K');
    EXPECT_EQ(keyCodeAt(-1, "K"), 0);
    EXPECT_EQ(keyCodeAt(0, ""), 0);
    EXPECT_EQ(modifiersNamed("ALT"), kModAlt);
    EXPECT_EQ(modifiersNamed("CONTROL"), kModControl);
    EXPECT_EQ(modifiersNamed("SHIFT"), kModShift);
    EXPECT_EQ(modifiersNamed("CTRL"), 0);
    EXPECT_EQ(modifiersAt(3), 0);

    for (const char* reserved : {"CONTROL+Q", "CONTROL+W", "CONTROL+F", "CONTROL+D", "CONTROL+C", "CONTROL+V", "ALT+S",
                                 "control+q"}) {
        const QStringList parts = QString::fromLatin1(reserved).split(u'+');
        EXPECT_TRUE(isReservedCombination(parts[0], parts[1])) << reserved;
    }
    for (const char* allowed : {"ALT+Q", "SHIFT+C", "CONTROL+A", "ALT+D"}) {
        const QStringList parts = QString::fromLatin1(allowed).split(u'+');
        EXPECT_FALSE(isReservedCombination(parts[0], parts[1])) << allowed;
    }
    EXPECT_TRUE(hasKeyCode(kThreeRows, 32833));
    EXPECT_FALSE(hasKeyCode(kThreeRows, 16449 + 1));
}

TEST(KeysFile, WritesTheFixtureByteForByteAndReadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.dat");
    ASSERT_TRUE(saveKeys(path, kThreeRows));
    EXPECT_EQ(readFileBytes(path), readFileBytes(fixture("three_rows.dat")));

    const KeysReadResult read = loadKeys(fixture("three_rows.dat"));
    EXPECT_TRUE(read.ok);
    // The text whose first line is the separator survives.
    EXPECT_EQ(describe(read.rows), describe(kThreeRows));
}

TEST(KeysFile, EmptyTableIsAnEmptyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.dat");
    ASSERT_TRUE(saveKeys(path, {}));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    const KeysReadResult read = loadKeys(path);
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.rows.empty());
}

TEST(KeysFile, SeparatorOnALaterLineCutsTheTextAndStartsTheNextRecord) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.dat");
    ASSERT_TRUE(saveKeys(path, {row("ALT", "B", "one\r\n######\r\nSHIFT\r\nY\r\ntail")}));
    const KeysReadResult read = loadKeys(path);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(describe(read.rows), describe({row("ALT", "B", "one"), row("SHIFT", "Y", "tail")}));
}

TEST(KeysFile, TextsAreTrimmedOnTheNextStartOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.dat");
    const HotKeyRow padded = row("CONTROL", "T", " \r\n\t  code();  \r\n\r\n");
    ASSERT_TRUE(saveKeys(path, {padded}));
    // Written as the row holds it.
    EXPECT_EQ(readFileBytes(path), QByteArray("CONTROL\r\nT\r\n \r\n\t  code();  \r\n\r\n\r\n######\r\n"));
    EXPECT_EQ(describe(loadKeys(path).rows), describe({row("CONTROL", "T", "code();")}));
}

TEST(KeysFile, ReadsRecordsOfEveryShape) {
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<HotKeyRow> rows;
        bool ok;
    };
    const Case cases[] = {
        {"empty text", "ALT\r\nE\r\n\r\n######\r\n", {row("ALT", "E", "")}, true},
        {"LF line ends", "ALT\nA\nx\ny\n######\n", {row("ALT", "A", "x\r\ny")}, true},
        {"no separator at the end", "ALT\r\nA\r\nfirst\r\nsecond", {row("ALT", "A", "first\r\nsecond")}, true},
        {"no text line at the end", "SHIFT\r\nQ\r\n", {row("SHIFT", "Q", "")}, true},
        {"blank lines after the last record", "ALT\r\nA\r\nx\r\n######\r\n\r\n \r\n", {row("ALT", "A", "x")}, true},
        {"empty key letter", "ALT\r\nA\r\nx\r\n######\r\nALT\r\n\r\ny\r\n######\r\n", {row("ALT", "A", "x")}, false},
        {"modifier alone at the end", "ALT\r\nA\r\nx\r\n######\r\nCONTROL\r\n", {row("ALT", "A", "x")}, false},
        // Kept in the table; its key code is 0 and it is never registered.
        {"unknown modifier", "CTRL\r\nA\r\nx\r\n######\r\n", {row("CTRL", "A", "x")}, true},
    };
    for (const Case& c : cases) {
        const KeysReadResult read = readKeysBytes(c.bytes);
        EXPECT_EQ(read.ok, c.ok) << c.name;
        EXPECT_EQ(describe(read.rows), describe(c.rows)) << c.name;
    }
}

TEST(KeysFile, FailuresAndEncodings) {
    // Every first start: no file, an empty table, no failure.
    QTemporaryDir dir;
    KeysReadResult read = loadKeys(dir.filePath("keys.dat"));
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.rows.empty());

    // A keys.dat that exists but cannot be read.
    ASSERT_TRUE(QDir(dir.path()).mkdir("keys.dat"));
    EXPECT_FALSE(loadKeys(dir.filePath("keys.dat")).ok);
    EXPECT_FALSE(saveKeys(dir.filePath("missing/keys.dat"), kThreeRows));

    // A damaged record ends the reading; the rows before it stay.
    read = loadKeys(fixture("empty_letter.dat"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(describe(read.rows), describe({row("ALT", "A", "first")}));

    // Files of earlier versions are Windows-1251.
    read = loadKeys(fixture("cp1251.dat"));
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(describe(read.rows), describe({row("ALT", "R", "Привет")}));
}
