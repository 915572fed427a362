// Numbered bookmarks of the node shown, through the bookmark menu.
#include "app/tform1.h"
#include "editor/synmemo.h"
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
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(prompter, ProgramPaths::inFolder(dir.path()));
    Node* page = nullptr;
    Node* other = nullptr;

    void SetUp() override {
        std::string text;
        for (int line = 1; line <= 30; ++line) {
            if (line > 1) text += "\r\n";
            text += line == 10 ? "    procedure WriteTheWholeReportToDisk(Path: string);" : "line " + std::to_string(line);
        }
        page = form->AddDoc(form->tree().root(), "p");
        page->page->Text = text;
        other = form->AddDoc(form->tree().root(), "q");
        other->page->Text = "a\r\nb";
        open(page);
    }
    void open(Node* n) {
        form->selectNode(n);
        form->N37Click();
    }
    void assign(int n, int line) {
        form->editor()->setCaretLine(line);
        form->findChild<QAction*>(QStringLiteral("Assign%1").arg(n))->trigger();
    }
    QAction* item(const char* prefix, int n) { return form->findChild<QAction*>(QStringLiteral("%1%2").arg(prefix).arg(n)); }
    std::vector<std::pair<int, int>> marks(const Node* n) {  // (line, number) in list order
        std::vector<std::pair<int, int>> out;
        for (const TEditMark& m : n->page->Marks) out.emplace_back(m.Line, m.Number);
        return out;
    }
};

} // namespace

TEST_F(Bookmarks, MenuOffersNumbersInOrderAndCaptionsTheLines) {
    form->PopupMenu7Popup();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(item("Assign", i)->isEnabled(), i == 0);
        EXPECT_EQ(item("Goto", i)->text(), QStringLiteral("Метка %1").arg(i + 1));
    }
    assign(0, 10);
    ASSERT_EQ(marks(page), (std::vector<std::pair<int, int>>{{10, 0}}));
    EXPECT_EQ(page->page->Marks[0].ImageIndex, 0);
    EXPECT_EQ(form->editor()->bookmarkCount(), 1);
    form->PopupMenu7Popup();
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
    EXPECT_EQ(page->page->Marks[1].ImageIndex, 0);
    form->findChild<QAction*>("Goto0")->trigger();
    EXPECT_EQ(form->editor()->caretPos().Line, 20);
    EXPECT_EQ(form->editor()->caretPos().Column, 1);

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
    EXPECT_EQ(form->editor()->bookmark(0).Line, 5);
    form->N49Click();  // clears this node's marks only
    EXPECT_TRUE(page->page->Marks.empty());
    EXPECT_EQ(other->page->Marks.size(), 1u);
    EXPECT_EQ(form->editor()->bookmarkCount(), 0);
}

TEST_F(Bookmarks, GoingToAMarkBeyondTheTextStopsAtTheLastLine) {
    open(other);
    assign(0, 2);
    other->page->Marks[0].Line = 50;  // the text was shortened since
    form->findChild<QAction*>("Goto0")->trigger();
    EXPECT_EQ(form->editor()->caretPos().Line, 2);
    form->MemoToPage(form->tabs()->currentIndex(), form->tree().indexOf(other));
    form->PopupMenu7Popup();
    EXPECT_EQ(item("Goto", 0)->text(), "");
    form->findChild<QAction*>("Goto3")->trigger();  // not in use: nothing happens
}

TEST(BookmarkCaption, TrimsControlsAndCutsTo25Characters) {
    EXPECT_EQ(markCaption("\t  Привет, мир! Это длинная строка текста  \x01"), "Привет, мир! Это длинная ");
    EXPECT_EQ(markCaption(""), "");
}
