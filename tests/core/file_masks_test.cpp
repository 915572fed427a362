// File masks of the file search, the masks text and the size limit.
#include "editor/catalogue.h"
#include "exchange/file_masks.h"
#include "../qt_printers.h"

#include <gtest/gtest.h>

using namespace tw;

namespace {

struct MaskCase {
    const char* mask;
    const char* text;
    MaskMatch expected;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << '"' << c.mask << "\" on \"" << c.text << '"'; }

class Masks : public testing::TestWithParam<MaskCase> {};

TEST_P(Masks, MatchWholeText) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(matchMask(QString::fromUtf8(c.mask), QString::fromUtf8(c.text)), c.expected)
        << c.mask << " against " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    FileMask, Masks,
    testing::Values(MaskCase{"*.pas", ".pas", MaskMatch::Yes}, MaskCase{"*.pas", ".PAS", MaskMatch::Yes},
                    MaskCase{"*.PaS", ".pAs", MaskMatch::Yes}, MaskCase{"*.pas", ".pass", MaskMatch::No},
                    MaskCase{"*.*", ".pas", MaskMatch::Yes}, MaskCase{"*.*", "", MaskMatch::No},
                    MaskCase{"*", "", MaskMatch::Yes}, MaskCase{"*", ".x", MaskMatch::Yes},
                    MaskCase{"", "", MaskMatch::Yes}, MaskCase{"", ".c", MaskMatch::No},
                    MaskCase{".?", ".c", MaskMatch::Yes}, MaskCase{".?", ".cc", MaskMatch::No},
                    MaskCase{".?", ".", MaskMatch::No}, MaskCase{"*.c?", ".cs", MaskMatch::Yes},
                    MaskCase{"**.h", ".h", MaskMatch::Yes}, MaskCase{"*a*b*", "xxaxxbxx", MaskMatch::Yes},
                    MaskCase{"*a*b", "xxbxxa", MaskMatch::No},
                    // Lists and ranges, their complement, and letters of either case.
                    MaskCase{".[ch]", ".c", MaskMatch::Yes}, MaskCase{".[ch]", ".H", MaskMatch::Yes},
                    MaskCase{".[ch]", ".x", MaskMatch::No}, MaskCase{".[a-f]", ".D", MaskMatch::Yes},
                    MaskCase{".[A-F]", ".d", MaskMatch::Yes}, MaskCase{".[a-f]", ".g", MaskMatch::No},
                    MaskCase{".[!a-f]", ".g", MaskMatch::Yes}, MaskCase{".[!a-f]", ".B", MaskMatch::No},
                    MaskCase{".[0-9x]", ".7", MaskMatch::Yes}, MaskCase{".[0-9x]", ".X", MaskMatch::Yes},
                    MaskCase{".[а-я]", ".Ж", MaskMatch::Yes}, MaskCase{"*.тxt", ".ТXT", MaskMatch::Yes},
                    // Masks that cannot be parsed, whatever the text.
                    MaskCase{".[ch", ".c", MaskMatch::Invalid}, MaskCase{".[-c]", ".c", MaskMatch::Invalid},
                    MaskCase{".[!-c]", ".c", MaskMatch::Invalid}, MaskCase{".[a-]", ".a", MaskMatch::Invalid},
                    MaskCase{".[]", ".c", MaskMatch::Invalid}, MaskCase{"*[", "", MaskMatch::Invalid}));

TEST(FileMask, LongTextsWithManyAsterisksMatchQuickly) {
    // Returning only to the last asterisk keeps this linear in the text per mask token.
    const QString text = QString(200000, u'a') + QStringLiteral("print") + QString(200000, u'a');
    EXPECT_EQ(matchMask(QStringLiteral("*a*a*a*PRINT*a*"), text), MaskMatch::Yes);
    EXPECT_EQ(matchMask(QStringLiteral("*a*a*a*printx*"), text), MaskMatch::No);
}

TEST(FileMask, ExtensionIsFromTheLastDot) {
    EXPECT_EQ(fileExtension(QStringLiteral("unit.pas")), QStringLiteral(".pas"));
    EXPECT_EQ(fileExtension(QStringLiteral("a.tar.gz")), QStringLiteral(".gz"));
    EXPECT_EQ(fileExtension(QStringLiteral(".bashrc")), QStringLiteral(".bashrc"));
    EXPECT_EQ(fileExtension(QStringLiteral("Makefile")), QString());
}

struct ExtensionsCase {
    const char* text;
    QStringList masks;
};

TEST(FileMask, ParseMasksSplitsAtBlanks) {
    const ExtensionsCase cases[] = {
        {"*.pas *.dpr", {"*.pas", "*.dpr"}},
        {"  *.c   *.h  ", {"*.c", "*.h"}},
        {"*.*", {"*.*"}},
        {"", {""}},
        {"   ", {""}},
        {"[a *.pas", {"[a", "*.pas"}},
    };
    for (const ExtensionsCase& c : cases) EXPECT_EQ(parseMasks(QString::fromUtf8(c.text)), c.masks) << c.text;
}

TEST(FileMask, ParseMasksTakesAVeryLongListInOnePass) {
    // 200,000 masks with runs of blanks and tabs between them; a split that copies the rest
    // of the text for every mask would not finish.
    QString text;
    for (int i = 0; i < 200000; ++i) text += QStringLiteral("*.e%1 \t  ").arg(i % 10);
    const QStringList masks = parseMasks(text);
    ASSERT_EQ(masks.size(), 200000);
    EXPECT_EQ(masks.first(), QStringLiteral("*.e0"));
    EXPECT_EQ(masks.last(), QStringLiteral("*.e9"));
}

TEST(FileMask, MatchesAnyMaskTriesMasksInOrderAndStopsAtAnUnparsableOne) {
    struct Case {
        const char* masks;
        const char* extension;
        bool expected;
    } cases[] = {
        {"*.pas *.dpr", ".pas", true}, {"*.pas *.dpr", ".DPR", true}, {"*.pas *.dpr", ".txt", false},
        {"*.pas *.dpr", "", false},    {"*.*", "", false},           {"*", "", true},
        {"", "", true},                {"", ".c", false},            {"[a *.pas", ".pas", false},
        {"*.pas [a", ".pas", true},    {"*.pas [a", ".c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesAnyMask(parseMasks(QString::fromUtf8(c.masks)), QString::fromUtf8(c.extension)), c.expected)
            << c.masks << " / " << c.extension;
}

TEST(FileMask, SizeLimitInBytes) {
    struct Case {
        const char* text;
        std::int64_t bytes;
    } cases[] = {{"40", 40960}, {" 40 ", 40960}, {"0", 0},  {"", 0},          {"abc", 0},
                 {"0.5", 512},  {"1e30", 0},     {"inf", 0}, {"1024", 1048576}};
    for (const Case& c : cases) EXPECT_EQ(sizeLimitBytes(QString::fromUtf8(c.text)), c.bytes) << c.text;
}

} // namespace
