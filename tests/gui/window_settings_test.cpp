// The main window's settings and its language menu.
#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/window_placement.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class WindowSettings : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;

    QString ini() const { return dir.filePath("Settings.ini"); }
    void writeIni(const QByteArray& text) {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void start() {
        form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
        form->show();
    }
    QAction* language(int p) { return form->findChild<QAction*>(QStringLiteral("Language%1").arg(p)); }
    Node* at(int i) { return form->tree().nodeAt(i); }
    void openNew(Node* n) {
        form->selectNode(n);
        form->workspace().openInNewTab();
    }
};

} // namespace

TEST_F(WindowSettings, FirstStartUsesTheDefaultsAndCloseWritesThem) {
    start();
    EXPECT_FALSE(form->treeEditor().recursionOn());
    EXPECT_EQ(form->editor()->activeLineColor(), QColor(239, 239, 195));
    EXPECT_EQ(form->currentFileName(), "");
    EXPECT_EQ(form->workspace().checkedLanguage(), 0);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Object Pascal");
    form->close();
    const IniFile written(ini());
    EXPECT_EQ(written.readInt("Controls", "ALineColor", 0), 12840943);
    EXPECT_EQ(written.readInt("Controls", "AMarkColor", 0), 14548422);
    EXPECT_EQ(written.readInt("Window", "width", 0), form->width());
    EXPECT_EQ(written.readText("Files", "LastFile", "x"), "");
}

TEST_F(WindowSettings, AMaximisedWindowComesBackOnScreen) {
    writeIni("[Window]\nleft=-4\ntop=-4\nwidth=100000\nheight=100000\n[Controls]\nSplitterPos=250\n");
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form->frameGeometry())) << form->geometry().x() << "," << form->geometry().y();
    EXPECT_EQ(form->frameGeometry().width(), screen.width());
    EXPECT_EQ(form->findChild<QSplitter*>("splitter")->sizes().value(0), 250);
}

TEST_F(WindowSettings, TheSavedGeometryComesBackUnchangedAtEveryStart) {
    start();
    const QRect wanted(40, 70, 610, 420);
    form->setGeometry(wanted);
    for (int run = 0; run < 3; ++run) {
        form->close();
        start();
        EXPECT_EQ(form->geometry(), wanted) << "start " << run;
    }
}

TEST(WindowPlacement, AWindowOffEveryScreenComesOntoTheNearest) {
    const QRect small(0, 0, 1366, 728);  // a 1366x768 screen less a panel
    const QRect right(1366, 0, 1920, 1050);
    struct Case {
        QRect client;
        QList<QRect> screens;
        QRect expected;
    };
    for (const Case& c : {
             Case{{100, 100, 600, 400}, {small}, {100, 100, 600, 400}},      // on screen: unchanged
             Case{{900, 500, 604, 474}, {small}, {762, 254, 604, 474}},      // hanging off the corner
             Case{{10, 5, 604, 474}, {small}, {10, 30, 604, 474}},           // title bar above the screen
             Case{{0, 0, 3000, 2000}, {small}, {0, 30, 1366, 698}},          // larger than the screen
             Case{{-3000, 200, 600, 400}, {small, right}, {0, 200, 600, 400}},  // far left: the left screen
             Case{{1500, 100, 600, 400}, {small, right}, {1500, 100, 600, 400}}, // on the second screen
             Case{{5000, 100, 600, 400}, {small, right}, {2686, 100, 600, 400}}, // beyond it
         }) {
        EXPECT_EQ(placeOnScreens(c.client, c.screens, QMargins(0, 30, 0, 0)), c.expected) << c.client.x() << "," << c.client.y();
    }
}

TEST_F(WindowSettings, ValuesFollowTheRulesAndAreWrittenBackNormalised) {
    struct Case {
        const char* value;
        QColor expected;
    };
    for (const Case& c : {Case{"0xFF", QColor(255, 0, 0)}, Case{"255", QColor(255, 0, 0)},
                          Case{"red", QColor(239, 239, 195)}}) {
        writeIni(QByteArray("[Controls]\nRecurse=2\nALineColor=") + c.value + "\n");
        start();
        EXPECT_EQ(form->editor()->activeLineColor(), c.expected) << c.value;
        EXPECT_TRUE(form->treeEditor().recursionOn());
        form->close();
        EXPECT_EQ(IniFile(ini()).readText("Controls", "Recurse"), "1");
    }
}

TEST_F(WindowSettings, RefusedWriteAtCloseIsReported) {
    form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.filePath("missing/folder")));
    form->show();
    form->close();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith("Unable to write to "));
}

TEST_F(WindowSettings, LanguageMenuSetsTheBoundNodesLanguage) {
    start();
    Node* p = form->treeEditor().addPage(form->tree().root(), "p");
    Node* q = form->treeEditor().addPage(form->tree().root(), "q");
    Node* s = form->treeEditor().addSection(form->tree().root(), "s");
    openNew(p);
    openNew(q);
    form->tabs()->setCurrentIndex(0);
    language(14)->trigger();  // SQL
    EXPECT_EQ(p->page->language, 15);
    EXPECT_EQ(form->workspace().checkedLanguage(), 14);
    EXPECT_EQ(form->tabs()->tabText(0), "p");  // not an edit: no marker
    form->tabs()->setCurrentIndex(1);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Object Pascal");
    form->tabs()->setCurrentIndex(0);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "SQL");

    // The button face: Object Pascal and language 1, the check mark stays.
    language(6)->trigger();  // C#
    form->workspace().resetLanguage();
    EXPECT_EQ(p->page->language, 1);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Object Pascal");
    EXPECT_EQ(form->workspace().checkedLanguage(), 6);

    // A section (language 0) shows Object Pascal and leaves the check mark where it is.
    openNew(s);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Object Pascal");
    EXPECT_EQ(form->workspace().checkedLanguage(), 6);
    // Opening a page checks its language (a node already open only gets its tab back).
    Node* r = form->treeEditor().addPage(form->tree().root(), "r");
    r->page->language = 2;
    form->selectNode(r);
    form->workspace().openInActiveTab();
    EXPECT_EQ(form->workspace().checkedLanguage(), 1);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "C/C++");
}

TEST_F(WindowSettings, LanguageChosenOnTheNoneTabGoesToTheRootNode) {
    start();
    language(7)->trigger();
    EXPECT_EQ(form->tree().root()->page->language, 8);
    form->workspace().loadNodeIntoTab(0, 0);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Cascading Style Sheet");
}

TEST_F(WindowSettings, LoadingAFileChoosesTheHighlighterByItsExtension) {
    start();
    Node* p = form->treeEditor().addPage(form->tree().root(), "p");
    openNew(p);
    for (const auto& [name, language] : {std::pair{"a.cpp", "C/C++"}, std::pair{"b.txt", ""}}) {
        const QString path = dir.filePath(name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("int x;\n");
        f.close();
        prompter.fileChoices.push_back(FileChoice{path, 1});
        form->workspace().loadFileIntoEditor();
        const Highlighter* h = form->editor()->highlighter();
        EXPECT_EQ(h ? h->languageName() : QString(), QString::fromLatin1(language));
        EXPECT_EQ(p->page->language, 1);  // the node keeps its language
    }
    form->tabs()->setCurrentIndex(0);
    form->workspace().loadNodeIntoTab(0, 1);
    EXPECT_EQ(form->editor()->highlighter()->languageName(), "Object Pascal");
}

TEST_F(WindowSettings, ColourSchemeButtonOpensTheDialogAndItsColoursComeBackNextStart) {
    start();
    form->command("colourSchemesButton")->trigger();
    QDialog* dialog = form->findChild<QDialog*>("colourSchemes");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    Highlighter& pascal = form->workspace().highlighters().byPosition(0);
    pascal.attribute(pascal.attributeIndex(u"Comment")).foreground = 0x008000;
    dialog->close();
    EXPECT_EQ(IniFile(ini()).readInt("Object Pascal", "Comment", 0), 32768);
    form->close();

    start();  // the next start reads the colour
    Highlighter& again = form->workspace().highlighters().byPosition(0);
    EXPECT_EQ(again.attributes()[static_cast<size_t>(again.attributeIndex(u"Comment"))].foreground, 0x008000u);
}
