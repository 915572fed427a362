#include "editor/catalogue.h"
#include "editor/token_runs.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace tw;

namespace {

const QString kSamples = QStringLiteral(TARNWICK_FIXTURES "/highlight");

// Every sample "<name>.<ext>" in the fixtures has its expected runs in "<name>.<ext>.tokens";
// the language is the one whose default filter lists the extension.
std::vector<std::string> sampleNames() {
    std::vector<std::string> names;
    for (const QString& f : QDir(kSamples).entryList(QDir::Files, QDir::Name))
        if (!f.endsWith(QLatin1String(".tokens"))) names.push_back(f.toStdString());
    return names;
}

// A test name made of s: every byte that is no letter or digit becomes "_".
std::string testName(std::string_view s) {
    std::string n;
    for (char c : s) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return n;
}

// Tokens are in order, never empty, name an attribute of the highlighter and cover every byte of text.
void expectCoversEveryByte(const Highlighter& h, std::string_view text, const std::string& what) {
    int at = 0;
    for (const Token& t : h.tokenize(text)) {
        ASSERT_EQ(t.start, at) << h.languageName().toStdString() << ", " << what;
        ASSERT_GT(t.length, 0) << h.languageName().toStdString() << ", " << what;
        ASSERT_GE(t.attribute, 0);
        ASSERT_LT(t.attribute, static_cast<int>(h.attributes().size()));
        at += t.length;
    }
    EXPECT_EQ(at, static_cast<int>(text.size())) << h.languageName().toStdString() << ", " << what;
}

} // namespace

class HighlighterSample : public testing::TestWithParam<std::string> {};

TEST_P(HighlighterSample, ProducesTheExpectedTokenRuns) {
    static const HighlighterSet set;
    const QString name = QString::fromStdString(GetParam());
    const Highlighter* h = set.forExtension(fileExtension(name));
    ASSERT_NE(h, nullptr) << "no language for " << GetParam();
    const QByteArray text = readFileBytes(kSamples + u'/' + name);
    const std::string runs = formatTokenRuns(*h, std::string_view(text.constData(), text.size()));
    EXPECT_EQ(runs, readFileBytes(kSamples + u'/' + name + QStringLiteral(".tokens")).toStdString())
        << h->languageName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Highlighters, HighlighterSample, testing::ValuesIn(sampleNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return testName(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(HighlighterSample);

TEST(Highlighters, CatalogueAttributesAreSortedAndEveryTextIsCovered) {
    const HighlighterSet set;
    const std::string text = "x = (1 + 'a') /* c */ \"s\"\r\n\tend; -- z\n$v @w #p <b>&amp;</b>\r\xD0\x96";
    for (int p = 0; p < kLanguageCount; ++p) {
        const Highlighter& h = set.byPosition(p);
        EXPECT_EQ(h.languageName(), QLatin1String(languageCatalogue()[p].name));
        const auto& attrs = h.attributes();
        for (size_t i = 1; i < attrs.size(); ++i)
            EXPECT_LT(attrs[i - 1].name.compare(attrs[i].name, Qt::CaseInsensitive), 0) << h.languageName().toStdString();
        expectCoversEveryByte(h, text, "mixed sample");
    }
}

// Long one-line runs of one byte, alone and after a long indent, are where a scan that fails
// and is retried from the next byte turns quadratic; every language reads them in one pass
// (a quadratic one does not finish here) and still covers every byte.
class HighlighterLongRuns : public testing::TestWithParam<int> {};

TEST_P(HighlighterLongRuns, CoverEveryByteOfRunsOfOneCharacter) {
    const std::unique_ptr<Highlighter> h = makeHighlighter(GetParam());
    constexpr size_t kRun = 200 * 1024;
    const std::string characters = "$?#'\"`\\/*{<@%- [()]}>&!.:;=+^|~,0x_\t\xD0";
    for (char c : characters) {
        const std::string what = "run of '" + std::string(1, c) + "'";
        expectCoversEveryByte(*h, std::string(kRun, c), what);
        expectCoversEveryByte(*h, std::string(kRun / 2, ' ') + std::string(kRun / 2, c), "indented " + what);
    }
}

INSTANTIATE_TEST_SUITE_P(Highlighters, HighlighterLongRuns, testing::Range(0, kLanguageCount),
                         [](const testing::TestParamInfo<int>& info) {
                             return testName(languageCatalogue()[info.param].name);
                         });

TEST(Highlighters, ListIsSortedByLanguageName) {
    const HighlighterSet set;
    QStringList names;
    for (const Highlighter* h : set.list()) names << h->languageName();
    EXPECT_EQ(names, (QStringList{"C#", "C/C++", "Cascading Style Sheet", "COBOL", "Fortran", "HTML", "Java",
                                  "JavaScript", "MS VBScript", "Object Pascal", "Perl", "PHP", "SQL", "Visual Basic",
                                  "x86 Assembly"}));
}

TEST(Highlighters, ExtensionLookupAndLanguageNames) {
    const HighlighterSet set;
    struct Case {
        const char* file;
        int lan;
    };
    for (const Case& c : {Case{"/a/UNIT.PAS", 1}, Case{"x.inc", 1}, Case{"x.phtml", 11}, Case{"x.txt", 1},
                          Case{"x.hpp", 2}, Case{"q.sql", 15}, Case{"noext", 1}, Case{"d.p/x", 1}, Case{"x.ph", 1}}) {
        EXPECT_EQ(set.languageNumberForFile(c.file), c.lan) << c.file;
    }
    EXPECT_EQ(set.forExtension(".txt"), nullptr);
    EXPECT_EQ(set.forExtension(""), nullptr);
    EXPECT_EQ(HighlighterSet::positionOfName("cobol"), 0);
    EXPECT_EQ(HighlighterSet::positionOfName("COBOL"), 5);
    EXPECT_EQ(&set.byPosition(-1), &set.byPosition(0));
    EXPECT_EQ(&set.byPosition(15), &set.byPosition(0));
    EXPECT_EQ(set.byPosition(0).languageName(), "Object Pascal");
}
