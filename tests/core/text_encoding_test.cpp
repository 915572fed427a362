#include "exchange/file_search.h"
#include "hotkeys/hotkey_table.h"
#include "storage/text_encoding.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

TEST(TextEncoding, TheBytesDecideBetweenUtf8AndWindows1251) {
    struct Case {
        const char* what;
        QByteArray file;
        QString text;
        bool replaced;
    };
    const QString fffd(QChar(0xFFFD));
    const Case cases[] = {
        {"empty", "", "", false},
        {"pure ASCII", "int main() { return 0; }\r\n", "int main() { return 0; }\r\n", false},
        {"valid UTF-8", "// Привет, мир\r\n", "// Привет, мир\r\n", false},
        {"UTF-8 with one stray byte", "// Привет,\xFF мир", "// Привет," + fffd + " мир", true},
        {"UTF-8 cut inside its last letter", "Привет\xD0", "Привет" + fffd, true},
        {"Windows-1251 Cyrillic", "// \xCF\xF0\xE8\xEC\xE5\xF0 \xEA\xEE\xE4\xE0", "// Пример кода", false},
        {"Windows-1251 with a pair that happens to be UTF-8", "\xC5\xB8 \xEC\xEE\xE9", "Её мой", false},
        {"Windows-1251 Ukrainian", "\xC4\xB3\xE4 \xB3 \xE1\xE0\xE1\xE0", "Дід і баба", false},
        {"ASCII with one byte above 127", "x = 1; // \xE0", "x = 1; // а", false},
        {"one byte", "\xFF", "я", false},
        {"one letter", "\xD0\xAF", "Я", false},
        {"one letter and one stray byte", "\xD0\xAF\xFF", "РЇя", false},
    };
    for (const Case& c : cases) {
        bool replaced = false;
        EXPECT_EQ(QString::fromUtf8(textFileAsUtf8(c.file, &replaced)), c.text) << c.what;
        EXPECT_EQ(replaced, c.replaced) << c.what;
    }
}

TEST(TextEncoding, KeysAndImportTellTheCallerOfReplacedBytes) {
    const KeysReadResult keys = readKeysBytes("ALT\r\nA\r\n// Привет, мир\xFF\r\n######\r\n");
    ASSERT_EQ(keys.rows.size(), 1u);
    EXPECT_EQ(keys.rows[0].text, "// Привет, мир" + QString(QChar(0xFFFD)));
    EXPECT_TRUE(keys.replacedInvalidBytes);
    EXPECT_FALSE(readKeysBytes("ALT\r\nA\r\n// \xCF\xF0\xE8\xEC\xE5\xF0\r\n######\r\n").replacedInvalidBytes);

    QTemporaryDir dir;
    ASSERT_TRUE(writeFileBytes(dir.filePath("a.txt"), "// Привет, мир\xFF"));
    std::string text;
    bool replaced = false;
    ASSERT_TRUE(readFileAsLines(dir.filePath("a.txt"), text, &replaced));
    EXPECT_EQ(text, "// Привет, мир\xEF\xBF\xBD\r\n");
    EXPECT_TRUE(replaced);
}

TEST(TextEncoding, SequencesAreCountedWhereverTheyFallInTheScan) {
    // Each sequence after 0..40 ASCII bytes and before more ASCII and Cyrillic, so that it
    // meets every position of the blocks the scan takes at once, and their edges.
    struct Case {
        const char* sequence;
        qsizetype valid, invalid;
    };
    const Case cases[] = {
        {"\xD0\xAF", 1, 0},           {"\xD0", 0, 1},           {"\xAF", 0, 1},
        {"\xC1\x81", 0, 2},           {"\xD0\xD0\xAF", 1, 1},   {"\xD0\xAF\xAF", 1, 1},
        {"\xE2\x82\xAC", 1, 0},       {"\xE2\x82", 0, 1},       {"\xED\xA0\x80", 0, 3},
        {"\xF0\x9F\x98\x80", 1, 0},   {"\xF4\x90\x80\x80", 0, 4}, {"\xFF", 0, 1},
    };
    for (const Case& c : cases) {
        for (int before = 0; before <= 40; ++before) {
            const QByteArray bytes = QByteArray(before, 'a') + c.sequence + QByteArray(before % 7, 'b') + "\xD0\xAF" + QByteArray(20, 'c');
            const Utf8Evidence e = scanUtf8(bytes);
            EXPECT_EQ(e.validSequences, c.valid + 1) << bytes.toHex().constData();
            EXPECT_EQ(e.invalidSequences, c.invalid) << bytes.toHex().constData();
        }
    }
}

TEST(TextEncoding, EveryKindOfLineBreakBecomesCrLf) {
    EXPECT_EQ(withCrLf(""), "");
    EXPECT_EQ(withCrLf("plain"), "plain");
    // CR CR LF is two breaks; a CR last and a LF first are breaks of their own.
    EXPECT_EQ(withCrLf("\na\r\r\nb\n\nc\rd\r\ne\r"), "\r\na\r\n\r\nb\r\n\r\nc\r\nd\r\ne\r\n");
    std::string out = "kept ";
    appendWithCrLf(out, "x\ny");
    EXPECT_EQ(out, "kept x\r\ny");
}
