#include "app/help_and_updates.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "window_parts.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QAction>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class HelpTest : public testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    std::unique_ptr<MainWindow> form;

    void open(const QString& guide, bool chmViewer) {
        ProgramPaths paths = ProgramPaths::inFolder(dir.path());
        paths.helpGuide = guide;
        form = std::make_unique<MainWindow>(prompter, paths);
        form->setLauncher(&launcher);
        form->help().setChmViewerCheck([chmViewer] { return chmViewer; });
    }
    HelpWindow* showHelp() {
        form->command("help")->trigger();
        HelpWindow* window = form->help().helpWindow();
        return window && window->isVisible() ? window : nullptr;
    }
};

// "Справка" opens Help.chm only when it exists and a program for CHM files is installed;
// otherwise the guide in the own help window.
TEST_F(HelpTest, ChmThroughTheLauncherOnlyWithAViewer) {
    struct Case {
        bool chmExists, viewer, launched;
    };
    for (const Case& c : {Case{true, true, true}, Case{true, false, false}, Case{false, true, false}}) {
        SCOPED_TRACE(testing::Message() << "chm " << c.chmExists << " viewer " << c.viewer);
        QFile::remove(dir.filePath("Help.chm"));
        if (c.chmExists) {
            ASSERT_TRUE(writeFileBytes(dir.filePath("Help.chm"), "ITSF"));
        }
        launcher.targets.clear();
        open(QStringLiteral(TARNWICK_HELP "/index.html"), c.viewer);
        HelpWindow* window = showHelp();
        EXPECT_EQ(launcher.targets, c.launched ? QStringList{dir.filePath("Help.chm")} : QStringList{});
        EXPECT_EQ(window != nullptr, !c.launched);
    }
}

// The guide's contents list its headings and scroll to them; links go back and forward;
// the search within the page finds, wraps round, and reports what is not there.
TEST_F(HelpTest, GuideWithContentsHistoryAndSearch) {
    open(QStringLiteral(TARNWICK_HELP "/index.html"), false);
    HelpWindow* window = showHelp();
    ASSERT_NE(window, nullptr);
    window->resize(900, 600);
    QTextBrowser* browser = window->browser();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("help/index.html"));
    QStringList headings;
    for (int i = 0; i < window->contents()->count(); ++i) headings << window->contents()->item(i)->text().trimmed();
    for (const char* expected : {"Что такое коллекция", "Командная строка"})
        EXPECT_TRUE(headings.contains(QString::fromUtf8(expected))) << headings.join('|').toStdString();

    window->contents()->setCurrentRow(window->contents()->count() - 1);
    EXPECT_GT(browser->verticalScrollBar()->value(), 0) << "the last heading is far down the page";
    EXPECT_EQ(browser->textCursor().block().text().trimmed(), headings.last());

    browser->setSource(QUrl(QStringLiteral("#cli")));
    EXPECT_TRUE(window->backButton()->isEnabled());
    window->backButton()->click();
    EXPECT_TRUE(window->forwardButton()->isEnabled());
    EXPECT_FALSE(window->backButton()->isEnabled());

    browser->moveCursor(QTextCursor::End);
    EXPECT_TRUE(window->findInPage("tarnwick-cli")) << "the search wraps round from the end";
    EXPECT_EQ(browser->textCursor().selectedText(), "tarnwick-cli");
    const int first = browser->textCursor().position();
    EXPECT_TRUE(window->findInPage("tarnwick-cli"));
    EXPECT_GT(browser->textCursor().position(), first);
    EXPECT_TRUE(window->findInPage("tarnwick-cli", true));
    EXPECT_EQ(browser->textCursor().position(), first);
    EXPECT_FALSE(window->findInPage("no such words anywhere"));
    EXPECT_EQ(browser->textCursor().position(), first) << "a failed search keeps the place";
}

TEST_F(HelpTest, MissingGuideIsSaidSo) {
    open(dir.filePath("nowhere/index.html"), false);
    HelpWindow* window = showHelp();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->browser()->toPlainText().contains("Файл справки не найден: " + dir.filePath("nowhere/index.html")));
}

} // namespace
