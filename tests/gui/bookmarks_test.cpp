// Numbered bookmarks of the node shown, through the bookmark menu.
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"
#include "tree/bookmarks.h"

#include <QAction>
#include <QTabBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class Bookmarks : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    Node* page = nullptr;
    Node* other = nullptr;

    void SetUp() override {
        std::string text;
        for (int line = 1; line <= 30; ++line) {
            if (line > 1) text += "\r\n";
            text += line == 10 ? "    procedure WriteTheWholeReportToDisk(Path: string);" : "line " + std::to_string(line);
        }
        page = form->treeEditor().addPage(form->tree().root(), "p");
        page->page->text = text;
        other = form->treeEditor().addPage(form->tree().root(), "q");
        other->page->text = "a\r\nb";
        open(page);
    }
    void open(Node* n) {
        form->selectNode(n);
        form->workspace().openInNewTab();
    }
    void assign(int n, int line) {
        form->editor()->setCaretLine(line);
        form->findChild<QAction*>(QStringLiteral("Assign%1").arg(n))->trigger();
    }
    QAction* item(const char* prefix, int n) { return form->findChild<QAction*>(QStringLiteral("%1%2").arg(prefix).arg(n)); }
    std::vector<std::pair<int, int>> marks(const Node* n) {  // (line, number) in list order
        std::vector<std::pair<int, int>> out;
        for (const Bookmark& m : n->page->bookmarks) out.emplace_back(m.line, m.number);
        return out;
    }
};

} // namespace

TEST_F(Bookmarks, MenuOffersNumbersInOrderAndCaptionsTheLines) {
    form->bookmarks().prepareMenu();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(item("Assign", i)->isEnabled(), i == 0);
        EXPECT_EQ(item("Goto", i)->text(), QStringLiteral("Метка %1").arg(i + 1));
    }
    assign(0, 10);
    ASSERT_EQ(marks(page), (std::vector<std::pair<int, int>>{{10, 0}}));
    EXPECT_EQ(page->page->bookmarks[0].imageIndex, 0);
    EXPECT_EQ(form->editor()->bookmarkCount(), 1);
    form->bookmarks().prepareMenu();
    EXPECT_TRUE(item("Assign", 1)->isEnabled());
    EXPECT_FALSE(item("Assign", 2)->isEnabled());
    EXPECT_EQ(item("Goto", 0)->text(), "procedure WriteTheWholeRe");
}

TEST_F(Bookmarks, MovingSwappingAndSharingALine) {
    assign(0, 10);
    assign(0, 20);  // no bookmark on 20: number 0 moves there
    EXPECT_EQ(marks(page), (std::vector<std::pair<int, int>>{{20, 0}}));
    assign(0, 10);
    assign(1, 20);  // a new number on a free line... and then 0 onto the line of 1: they swap
    assign(0, 20);
    EXPECT_EQ(marks(page), (std::vector<std::pair<int, int>>{{10, 1}, {20, 0}}));
    EXPECT_EQ(page->page->bookmarks[1].imageIndex, 0);
    form->findChild<QAction*>("Goto0")->trigger();
    EXPECT_EQ(form->editor()->caretPos().line, 20);
    EXPECT_EQ(form->editor()->caretPos().column, 1);

    assign(2, 10);  // a second mark on line 10
    EXPECT_EQ(marks(page).size(), 3u);
    EXPECT_EQ(marks(page)[2], (std::pair<int, int>{10, 2}));
}

TEST_F(Bookmarks, MarksBelongToTheNodeAndFollowItIntoTabs) {
    assign(0, 5);
    open(other);
    EXPECT_EQ(form->editor()->bookmarkCount(), 0);
    assign(0, 2);
    form->tabs()->setCurrentIndex(0);
    EXPECT_EQ(form->editor()->bookmarkCount(), 1);
    EXPECT_EQ(form->editor()->bookmark(0).line, 5);
    form->bookmarks().clear();  // clears this node's marks only
    EXPECT_TRUE(page->page->bookmarks.empty());
    EXPECT_EQ(other->page->bookmarks.size(), 1u);
    EXPECT_EQ(form->editor()->bookmarkCount(), 0);
}

TEST_F(Bookmarks, GoingToAMarkBeyondTheTextStopsAtTheLastLine) {
    open(other);
    assign(0, 2);
    other->page->bookmarks[0].line = 50;  // the text was shortened since
    form->findChild<QAction*>("Goto0")->trigger();
    EXPECT_EQ(form->editor()->caretPos().line, 2);
    form->workspace().loadNodeIntoTab(form->tabs()->currentIndex(), form->tree().indexOf(other));
    form->bookmarks().prepareMenu();
    EXPECT_EQ(item("Goto", 0)->text(), "");
    form->findChild<QAction*>("Goto3")->trigger();  // not in use: nothing happens
}

TEST(BookmarkCaption, TrimsControlsAndCutsTo25Characters) {
    EXPECT_EQ(markCaption("\t  Привет, мир! Это длинная строка текста  \x01"), "Привет, мир! Это длинная ");
    EXPECT_EQ(markCaption(""), "");
}
