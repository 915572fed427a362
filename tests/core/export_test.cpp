// The HTML and RTF exporters: whole documents against expected fixtures, the class
// names, the escaping of both formats, and the writing of the file.
#include "../qt_printers.h"
#include "app/ini_file.h"
#include "editor/catalogue.h"
#include "editor/html_export.h"
#include "editor/rtf_export.h"
#include "editor/text_export.h"
#include "schemes/scheme_settings.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {

const QString kFixtures = QStringLiteral(TARNWICK_FIXTURES "/export/");

std::string readFixture(const QString& name) {
    QFile f(kFixtures + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll().toStdString();
}

// The fifteen highlighters with the colour scheme of the fixtures' colours.ini.
const HighlighterSet& colouredSet() {
    static const HighlighterSet set = [] {
        HighlighterSet s;
        loadSchemeColours(IniFile(kFixtures + QStringLiteral("colours.ini")), s);
        return s;
    }();
    return set;
}

struct DocumentCase {
    const char* input; // a text in tests/fixtures/export, exported to input + ".html" / ".rtf"
    int position;      // catalogue position of the language
};

void PrintTo(const DocumentCase& c, std::ostream* os) {
    *os << c.input;
}

} // namespace

class ExportedDocument : public testing::TestWithParam<DocumentCase> {};

TEST_P(ExportedDocument, MatchesTheExpectedHtmlAndRtf) {
    const DocumentCase c = GetParam();
    const std::string text = readFixture(QString::fromLatin1(c.input));
    const Highlighter& h = colouredSet().byPosition(c.position);
    EXPECT_EQ(exportHtml(text, h), readFixture(QString::fromLatin1(c.input) + QStringLiteral(".html")));
    EXPECT_EQ(exportRtf(text, h), readFixture(QString::fromLatin1(c.input) + QStringLiteral(".rtf")));
}

INSTANTIATE_TEST_SUITE_P(
    Export, ExportedDocument,
    testing::Values(DocumentCase{"pascal.txt", 0}, DocumentCase{"c.txt", 1}, DocumentCase{"sql.txt", 14}),
    [](const testing::TestParamInfo<DocumentCase>& info) {
        return std::string(info.param.input).substr(0, std::string(info.param.input).find('.'));
    });

TEST(ExportClassName, IsTheShortNameOneAndTheAttributeInLowerCaseLetters) {
    const HighlighterSet set;
    struct Case {
        int position;
        const char* attribute;
        const char* expected;
    };
    for (const Case& c : {Case{0, "Comment", "pas1-comment"}, Case{1, "Illegal Char", "cpp1-illegalchar"},
                          Case{4, "Reserved Word", "vb1-reservedword"}, Case{6, "Comment", "cs1-comment"},
                          Case{7, "Color Value", "css1-colorvalue"},
                          Case{9, "Non-reserved Keyword", "jscript1-non-reservedkeyword"},
                          Case{12, "Number", "asm1-number"}, Case{13, "Comment", "vbscript1-comment"},
                          Case{14, "PL/SQL Reserved Word", "sql1-plsqlreservedword"},
                          Case{14, "SQL*Plus Command", "sql1-sqlpluscommand"}})
        EXPECT_EQ(exportClassName(set.byPosition(c.position), QString::fromLatin1(c.attribute)),
                  QString::fromLatin1(c.expected));
    // Every attribute of every language gets a class of its own that CSS accepts as it stands.
    QStringList all;
    for (const Highlighter* h : set.list())
        for (const Attribute& a : h->attributes())
            all << exportClassName(*h, a.name);
    EXPECT_EQ(all.filter(QRegularExpression(QStringLiteral("^[a-z]+1-[-0-9a-z]+$"))).size(), all.size());
    const qsizetype count = all.size();
    all.removeDuplicates();
    EXPECT_EQ(all.size(), count);
}

TEST(ExportEscaping, KeepsEveryCharacterOfBothFormats) {
    struct Case {
        const char* text;
        const char* html;
        const char* rtf;
    };
    for (const Case& c :
         {Case{"a\\b{c}", "a\\b{c}", "a\\\\b\\{c\\}"}, Case{"<&>\"'", "&lt;&amp;&gt;&quot;'", "<&>\"'"},
          Case{"Жё", "Жё", "\\u1046?\\u1105?"},
          Case{"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"}, // a surrogate pair
          Case{"a\xFF", "a\xEF\xBF\xBD", "a\\u-3?"}}) {                        // invalid UTF-8
        std::string html, rtf;
        appendHtmlEscaped(html, c.text);
        appendRtfEscaped(rtf, c.text);
        EXPECT_EQ(html, c.html) << c.text;
        EXPECT_EQ(rtf, c.rtf) << c.text;
    }
}

namespace {

// Splits every line into one-byte tokens of alternating attributes, cutting through
// UTF-8 sequences as a careless tokenizer might.
class ByteHighlighter : public Highlighter {
public:
    ByteHighlighter()
        : Highlighter(QStringLiteral("Bytes"), QString(),
                      {{QStringLiteral("Comment"), 0x0000FF, kNoColor, kItalic},
                       {QStringLiteral("Space"), kNoColor, kNoColor, kPlain}}) {}
    void tokenizeLine(std::string_view line, int&, std::vector<Token>& out) const override {
        for (int i = 0; i < static_cast<int>(line.size()); ++i)
            out.push_back({i, 1, i % 2});
    }
};

std::string rtfBody(const std::string& document) {
    const std::string start = "\\fs20 ";
    return document.substr(document.find(start) + start.size());
}

} // namespace

TEST(ExportRuns, FollowLinesAndNeverSplitACharacter) {
    const ByteHighlighter h;
    struct Case {
        std::string text;
        const char* body;
    };
    for (const Case& c :
         {Case{"\xD0\x96", "\\cf0\\i \\u1046?\r\n\\par }"},               // Ж cut after its lead byte
          Case{"ab", "\\cf0\\i a\\i0\\cf1 b\r\n\\par }"},                 // back to the font colour
          Case{"a\nb\rc", "\\cf0\\i a\r\n\\par b\r\n\\par c\r\n\\par }"}, // LF and CR end lines
          Case{"a\r\n", "\\cf0\\i a\r\n\\par \r\n\\par }"},               // an empty last line
          Case{"", "}"}}) {
        EXPECT_EQ(rtfBody(exportRtf(c.text, h)), c.body) << c.text;
    }
    EXPECT_NE(exportRtf("ab", h).find("{\\colortbl\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"),
              std::string::npos);
}

TEST(ExportSettingsUse, FontTitleAndColoursComeFromTheSettings) {
    const ByteHighlighter h;
    ExportSettings s;
    s.fontName = QStringLiteral("Шрифт");
    s.fontSize = 12;
    s.fontColor = 0x112233;
    s.backgroundColor = 0x445566;
    const std::string html = exportHtml("x", h, s);
    EXPECT_NE(html.find("body { color: #332211; background-color: #665544; }"), std::string::npos);
    EXPECT_NE(html.find("<span style=\"font: 12pt Шрифт;\">"), std::string::npos);
    EXPECT_NE(html.find("<title>Untitled</title>"), std::string::npos);
    const std::string rtf = exportRtf("x", h, s);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fmodern \\u1064?\\u1088?\\u1080?\\u1092?\\u1090?;}}"),
              std::string::npos);
    EXPECT_NE(rtf.find("{\\title Untitled}}\r\n\\deflang1033\\pard\\plain\\f0\\fs24 "), std::string::npos);
}

TEST(ExportFile, NameGetsTheExtensionAndAFailedWriteSaysWhy) {
    EXPECT_EQ(exportFileName(QStringLiteral("/d/code"), ExportFormat::Html), QStringLiteral("/d/code.html"));
    EXPECT_EQ(exportFileName(QStringLiteral("/d/code.html"), ExportFormat::Html),
              QStringLiteral("/d/code.html.html"));
    EXPECT_EQ(exportFileName(QStringLiteral("/d/code"), ExportFormat::Rtf), QStringLiteral("/d/code.rtf"));

    QTemporaryDir dir;
    QString message;
    const QString bad = dir.filePath(QStringLiteral("missing/x.rtf"));
    EXPECT_FALSE(writeExportFile(bad, "{\\rtf1}", &message));
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"") + bad + QStringLiteral("\". ")))
        << message.toStdString();
    EXPECT_GT(message.size(),
              (QStringLiteral("Cannot create file \"") + bad + QStringLiteral("\". ")).size());
}
