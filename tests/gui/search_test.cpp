// Find and replace in the four scopes, driven through the main window.
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"
#include "search/find_dialogs.h"
#include "tree/tree_view.h"

#include <QTabBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class Search : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));

    // root 0; A 1 "one two"; S 2 [B 3 "two"; C 4 "none"]; D 5 "two two"
    void build() {
        Node* root = form->tree().root();
        page(root, "A", "one two");
        Node* s = form->treeEditor().addSection(root, "S");
        page(s, "B", "two");
        page(s, "C", "none");
        page(root, "D", "two two");
    }
    Node* page(Node* parent, const char* caption, const char* text) {
        Node* n = form->treeEditor().addPage(parent, caption);
        n->page->text = text;
        return n;
    }
    Node* at(int i) { return form->tree().nodeAt(i); }
    void open(int i, bool newTab = true) {
        form->selectNode(at(i));
        newTab ? form->workspace().openInNewTab() : form->workspace().openInActiveTab();
    }
    void find(const char* command, const char* text, bool down = true) {
        form->command(QString::fromLatin1(command))->trigger();
        form->search().findDialog()->setText(QString::fromUtf8(text));
        form->search().findDialog()->setDownward(down);
        form->search().findNext();
    }
    std::string selected() { return form->editor()->selectionText(); }
    QString notFound(const char* text) { return QStringLiteral("Текст \"%1\" не найден.").arg(QString::fromUtf8(text)); }
};

} // namespace

TEST_F(Search, CurrentTabUpwardAndDownward) {
    build();
    open(1);
    form->editor()->setWholeText("abab");
    form->editor()->setSelectionStart(4);
    find("findInCurrentTab", "ab", false);
    EXPECT_EQ(form->editor()->selectionStart(), 2);
    form->search().findNext();
    EXPECT_EQ(form->editor()->selectionStart(), 0);
    form->search().findNext();
    EXPECT_EQ(prompter.messages, QStringList{notFound("ab")});

    form->editor()->setSelectionStart(3);  // downward never wraps to the top
    find("findInCurrentTab", "ab");
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(form->search().scope(), SearchScope::CurrentTab);
}

TEST_F(Search, OpenTabsAreWalkedToTheRightOnly) {
    build();
    open(1);  // "one two"
    open(4);  // "none"
    open(5);  // "two two"
    form->tabs()->setCurrentIndex(0);
    find("findInTabs", "two");
    EXPECT_EQ(form->editor()->selectionStart(), 4);
    form->search().findNext();  // "none" has none; the third tab has two
    EXPECT_EQ(form->tabs()->currentIndex(), 2);
    EXPECT_EQ(form->editor()->selectionStart(), 0);
    form->search().findNext();
    EXPECT_EQ(form->editor()->selectionStart(), 4);
    form->search().findNext();  // the last tab: the message, never back to the first tab
    EXPECT_EQ(prompter.messages, QStringList{notFound("two")});
    EXPECT_EQ(form->tabs()->currentIndex(), 2);
}

TEST_F(Search, AllNodesAfterTheSelectedNodeAndNotFoundOnTheLast) {
    build();
    open(1);
    find("findInAllPages", "two");  // the shown text first
    EXPECT_EQ(form->editor()->selectionStart(), 4);
    form->search().findNext();  // then B, skipping the section S
    EXPECT_EQ(form->selectedNode(), at(3));
    EXPECT_EQ(form->tabs()->tabText(0), "B");
    EXPECT_EQ(selected(), "two");
    form->search().findNext();  // C holds none: on to D
    EXPECT_EQ(form->selectedNode(), at(5));
    form->search().findNext();
    form->search().findNext();
    EXPECT_EQ(prompter.messages, QStringList{notFound("two")});

    find("findInAllPages", "absent");  // the editor ends on the last node visited
    EXPECT_EQ(form->selectedNode(), at(5));
    EXPECT_EQ(prompter.messages.size(), 2);
}

TEST_F(Search, ElementNamesAfterTheSelectedNode) {
    build();
    form->selectNode(at(0));
    find("findInNodeNames", "Root");  // never the root node
    EXPECT_EQ(prompter.messages, QStringList{notFound("Root")});
    form->selectNode(at(0));
    find("findInNodeNames", "D");
    EXPECT_EQ(form->selectedNode(), at(5));
    EXPECT_EQ(form->tabs()->tabText(0), "D");
    form->search().findNext();  // D is the last node: the message at once
    EXPECT_EQ(prompter.messages.size(), 2);
}

TEST_F(Search, ReplaceOneAndReplaceAll) {
    build();
    open(1);
    form->editor()->setWholeText("aaa");
    form->search().findInCurrentTab();
    form->search().showReplace();
    form->search().replaceDialog()->setText("a");
    form->search().replaceDialog()->setReplacement("aa");
    form->search().replace(true);
    EXPECT_EQ(form->editor()->wholeText(), "aaaaaa");
    EXPECT_EQ(at(1)->page->text, "aaaaaa");
    EXPECT_EQ(form->tabs()->tabText(0), "A*");
    EXPECT_EQ(prompter.messages, QStringList{notFound("a")});

    // With the search text selected, replace takes that one and selects nothing more.
    form->editor()->setWholeText("x x");
    form->editor()->setSelectionStart(0);
    form->editor()->setSelectionLength(1);
    form->search().replaceDialog()->setText("x");
    form->search().replaceDialog()->setReplacement("y");
    form->search().replace(false);
    EXPECT_EQ(form->editor()->wholeText(), "y x");
    EXPECT_FALSE(form->editor()->hasSelection());
}

TEST_F(Search, ReplaceAllCarriesOnThroughTheFollowingNodes) {
    build();
    open(1);
    form->selectNode(at(1));
    find("findInAllPages", "zzz");  // sets scope 4; nothing found, ends on the last node
    open(1, false);
    form->selectNode(at(1));
    form->editor()->setSelectionStart(0);
    form->search().replaceDialog()->setText("two");
    form->search().replaceDialog()->setReplacement("2");
    form->search().replace(true);
    EXPECT_EQ(at(1)->page->text, "one 2");
    EXPECT_EQ(at(3)->page->text, "2");
    EXPECT_EQ(at(5)->page->text, "2 2");
    EXPECT_EQ(at(4)->page->text, "none");
}

TEST_F(Search, CommandsNeedTextOrASelectedNode) {
    form->search().findInCurrentTab();
    EXPECT_FALSE(form->search().findDialog()->isVisible());
    form->search().showReplace();
    EXPECT_FALSE(form->search().replaceDialog()->isVisible());
    form->treeView()->setCurrentIndex({});
    form->search().findInAllPages();
    EXPECT_FALSE(form->search().findDialog()->isVisible());
    EXPECT_EQ(form->search().scope(), SearchScope::CurrentTab);  // not the all-pages scope
}

TEST_F(Search, OpenTabsWalkPassesOverTheNoneTabAndReplaceAllFollowsTheTabs) {
    build();
    open(1);                 // the None tab becomes "A"
    form->workspace().addNoneTab();  // a None tab to the right
    open(5);                 // "D" takes the None tab: add a fresh one after it
    form->workspace().addNoneTab();
    ASSERT_EQ(form->tabs()->count(), 3);
    form->tabs()->setCurrentIndex(0);
    form->editor()->setSelectionStart(0);
    find("findInTabs", "two");
    form->search().findNext();  // A's only match is behind us: on to D, passing nothing else
    EXPECT_EQ(form->tabs()->currentIndex(), 1);
    EXPECT_EQ(form->editor()->selectionStart(), 0);

    form->tabs()->setCurrentIndex(0);
    form->editor()->setSelectionStart(0);
    form->search().replaceDialog()->setText("two");
    form->search().replaceDialog()->setReplacement("2");
    form->search().replace(true);  // through A and D, then the None tab yields nothing
    EXPECT_EQ(at(1)->page->text, "one 2");
    EXPECT_EQ(at(5)->page->text, "2 2");
    EXPECT_EQ(at(3)->page->text, "two");  // not open in a tab: untouched
    EXPECT_EQ(form->tabs()->currentIndex(), 2);
    EXPECT_EQ(prompter.messages.back(), notFound("two"));
}
