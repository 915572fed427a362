// "HTML" > "Текущий текст" and "RTF": the dialog, the name written, the language used,
// and the ends without a file (empty editor, cancel, a folder that does not exist).
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include "editor/highlighter_lexer.h"
#include "editor/html_export.h"
#include "editor/rtf_export.h"
#include "editor/catalogue.h"
#include "exchange/text_export_command.h"
#include <QApplication>
#include <gtest/gtest.h>

using namespace tw;

namespace {

struct FormatCase {
    const char* command;
    const char* filter;
    const char* pattern;
    const char* extension;
    const char* sqlKeyword; // "SELECT" as the SQL highlighter exports it
    const char* cppKeyword; // "int" as the C/C++ highlighter exports it
};

void PrintTo(const FormatCase& f, std::ostream* os) {
    *os << f.filter;
}

const FormatCase kFormats[] = {
    {"exportTextHtml", "HTML", "*.html", ".html", "<span class=\"sql1-reservedword\">SELECT",
     "<span class=\"cpp1-reservedword\">int"},
    {"exportTextRtf", "RTF", "*.rtf", ".rtf", "\\b SELECT", "\\b int"},
};

class TextExport : public testing::TestWithParam<FormatCase> {
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));

    void openPage(const std::string& text, int lan, bool newTab) {
        Node* page = form->treeEditor().addPage(form->tree().root(), "p");
        page->page->text = text;
        page->page->language = static_cast<std::uint8_t>(lan);
        form->selectNode(page);
        newTab ? form->workspace().openInNewTab() : form->workspace().openInActiveTab();
    }
    void exportTo(const QString& chosen) {
        prompter.fileChoices.push_back(FileChoice{chosen, 1});
        form->command(QString::fromLatin1(GetParam().command))->trigger();
    }
    QString written(const QString& name) {
        return dir.filePath(name + QString::fromLatin1(GetParam().extension));
    }
    std::string contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }
    QStringList files() { return QDir(dir.path()).entryList({QStringLiteral("code*")}, QDir::Files); }
};

} // namespace

TEST_P(TextExport, WritesTheEditorTextInTheLastOpenedNodesLanguage) {
    const FormatCase& f = GetParam();
    openPage("SELECT 1;\r\n-- Отчёт", 15, false);
    exportTo(dir.filePath(QStringLiteral("code")));
    ASSERT_EQ(prompter.filtersOffered.size(), 1u);
    ASSERT_EQ(prompter.filtersOffered[0].size(), 1u);
    EXPECT_EQ(prompter.filtersOffered[0][0].description, QString::fromLatin1(f.filter));
    EXPECT_EQ(prompter.filtersOffered[0][0].pattern, QString::fromLatin1(f.pattern));
    const std::string doc = contents(written(QStringLiteral("code")));
    EXPECT_NE(doc.find(f.sqlKeyword), std::string::npos) << doc;
    EXPECT_NE(
        doc.find(f.command == std::string("exportTextHtml") ? "Отчёт" : "\\u1054?\\u1090?\\u1095?\\u1105?\\u1090?"),
        std::string::npos);
    EXPECT_TRUE(prompter.messages.isEmpty());

    // A name that already ends in the extension gets it once more, and the file is replaced.
    exportTo(dir.filePath(QStringLiteral("code")) + QString::fromLatin1(f.extension));
    EXPECT_TRUE(QFile::exists(written(QStringLiteral("code")) + QString::fromLatin1(f.extension)));
    exportTo(dir.filePath(QStringLiteral("code")));
    EXPECT_EQ(files().size(), 2);
}

TEST_P(TextExport, SwitchingTabsKeepsTheLanguageOfTheNodeLastOpened) {
    openPage("SELECT 1;", 15, false);
    openPage("int x;", 2, true); // opened last: C/C++
    form->tabs()->setCurrentIndex(0);
    ASSERT_EQ(form->editor()->wholeText(), "SELECT 1;");
    exportTo(dir.filePath(QStringLiteral("code")));
    const std::string doc = contents(written(QStringLiteral("code")));
    EXPECT_EQ(doc.find(GetParam().sqlKeyword), std::string::npos) << doc;
    EXPECT_NE(doc.find("SELECT"), std::string::npos);
    // The same text opened in the tab of the C/C++ node shows the keyword as C/C++ marks it.
    form->editor()->setWholeText("int y;");
    exportTo(dir.filePath(QStringLiteral("code")));
    EXPECT_NE(contents(written(QStringLiteral("code"))).find(GetParam().cppKeyword), std::string::npos);
}

TEST_P(TextExport, EndsWithoutAFileOnEmptyEditorCancelOrMissingFolder) {
    // Empty editor: the name is asked for, then nothing is written and nothing said.
    exportTo(dir.filePath(QStringLiteral("code-empty")));
    EXPECT_EQ(prompter.filtersOffered.size(), 1u);
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());

    openPage("x := 1;", 1, false);
    prompter.fileChoices.push_back(std::nullopt);
    form->command(QString::fromLatin1(GetParam().command))->trigger();
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());

    const QString missing = dir.filePath(QStringLiteral("missing/code"));
    exportTo(missing);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("Cannot create file \"") + missing))
        << prompter.messages[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Formats, TextExport, testing::ValuesIn(kFormats),
                         [](const testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.filter);
                         });

TEST(SystemColours, TheEditorAndTheExportsShowThePalettesColour) {
    const QColor windowText = QApplication::palette().color(QPalette::Text);
    const QColor window = QApplication::palette().color(QPalette::Base);
    // Both stored forms name the same colour; none and default stay unset.
    EXPECT_EQ(HighlighterLexer::toQColor(0x80000008u), windowText);
    EXPECT_EQ(HighlighterLexer::toQColor(static_cast<std::uint32_t>(-16777208)), windowText);
    EXPECT_EQ(HighlighterLexer::toQColor(0x80000005u), window);
    EXPECT_FALSE(HighlighterLexer::toQColor(kNoColor).isValid());
    EXPECT_EQ(HighlighterLexer::toQColor(0x0000FFu), QColor(255, 0, 0));

    HighlighterSet set;
    Highlighter& c = set.byPosition(1);
    const int comment = c.attributeIndex(u"Comment");
    ASSERT_GE(comment, 0);
    c.attribute(comment).foreground = 0xFF000005u;  // "Window": the editor's background colour
    CodeEditor editor;
    const ExportSettings settings = exportSettingsFor(editor);
    const std::string html = exportHtml("/* x */", c, settings);
    const QString expected = QString::fromStdString(htmlColor(static_cast<std::uint32_t>(window.red()) |
                                                              static_cast<std::uint32_t>(window.green()) << 8 |
                                                              static_cast<std::uint32_t>(window.blue()) << 16));
    EXPECT_NE(QString::fromStdString(html).indexOf("comment { color: " + expected), -1) << html;
    const std::string rtf = exportRtf("/* x */", c, settings);
    EXPECT_NE(rtf.find("\\red" + std::to_string(window.red()) + "\\green" + std::to_string(window.green())),
              std::string::npos)
        << rtf;
}
