// Editor tabs bound to nodes, and the edits of the tree, driven through the main window.
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "scripted_prompter.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "exchange/directory_export_dialog.h"
#include "workspace/recovery.h"
#include "../test_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class WorkspaceTest : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));

    // root 0; S1 1 [p 2, p 3]; S2 4 [a 5, b 6, c 7]; P 8; Q 9
    void buildSample() {
        Node* root = form->tree().root();
        Node* s1 = form->treeEditor().addSection(root, "S1");
        form->treeEditor().addPage(s1, "p");
        form->treeEditor().addPage(s1, "p");
        Node* s2 = form->treeEditor().addSection(root, "S2");
        for (const char* c : {"a", "b", "c"}) form->treeEditor().addPage(s2, c);
        form->treeEditor().addPage(root, "P");
        form->treeEditor().addPage(root, "Q");
        ASSERT_EQ(form->tree().count(), 10);
    }
    Node* at(int i) { return form->tree().nodeAt(i); }
    void select(int i) { form->selectNode(at(i)); }
    void openNew(int i) {
        select(i);
        form->workspace().openInNewTab();
    }
    void openActive(int i) {
        select(i);
        form->workspace().openInActiveTab();
    }
    QTabBar* tabs() { return form->tabs(); }
    QStringList captions() {
        QStringList out;
        for (int t = 0; t < tabs()->count(); ++t) out << tabs()->tabText(t);
        return out;
    }
    std::vector<int> bound() {
        std::vector<int> out;
        for (int t = 0; t < tabs()->count(); ++t) out.push_back(form->workspace().boundIndex(t));
        return out;
    }
    void typeAtEnd(const QString& text) {
        CodeEditor* e = form->editor();
        e->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        QTest::keyClicks(e, text);
    }
};

} // namespace

TEST_F(WorkspaceTest, OpeningUsesTheNoneTabThenNewTabsAndNeverOpensANodeTwice) {
    buildSample();
    openNew(8);
    EXPECT_EQ(captions(), QStringList{"P"});
    EXPECT_EQ(bound(), std::vector<int>{8});
    EXPECT_EQ(form->workspace().lastOpenedIndex(), 8);
    EXPECT_EQ(form->editor()->wholeText(), " ");

    openNew(9);
    EXPECT_EQ(captions(), (QStringList{"P", "Q"}));
    EXPECT_EQ(tabs()->currentIndex(), 1);

    for (auto open : {&Workspace::openInActiveTab, &Workspace::openInNewTab}) {
        select(8);
        (form->workspace().*open)();
        EXPECT_EQ(tabs()->count(), 2);
        EXPECT_EQ(tabs()->currentIndex(), 0);
    }

    // The active tab is re-bound; the node it showed keeps its text.
    at(8)->page->text = "kept";
    openActive(5);
    EXPECT_EQ(captions(), (QStringList{"a", "Q"}));
    EXPECT_EQ(at(8)->page->text, "kept");

    // The root node opens nowhere.
    const auto before = bound();
    openActive(0);
    openNew(0);
    EXPECT_EQ(bound(), before);
    EXPECT_EQ(form->workspace().lastOpenedIndex(), 0);
}

TEST_F(WorkspaceTest, TypingCopiesTheTextIntoThePageAndMarksTheTabOnce) {
    buildSample();
    at(8)->page->text = "a\r\nb\r\n";
    openNew(8);
    typeAtEnd("c");
    EXPECT_EQ(at(8)->page->text, "a\r\nbc");
    EXPECT_EQ(captions(), QStringList{"P*"});
    typeAtEnd("d");
    EXPECT_EQ(at(8)->page->text, "a\r\nbcd");
    EXPECT_EQ(captions(), QStringList{"P*"});

    // Saving removes the marker and writes the edited text.
    const QString path = dir.filePath("c.xml");
    prompter.fileChoices.push_back(FileChoice{path, 1});
    form->document().saveAs();
    EXPECT_EQ(captions(), QStringList{"P"});
    EXPECT_TRUE(readFileBytes(path).contains("<text>a\r\nbcd</text>"));
}

TEST_F(WorkspaceTest, WhatIsTypedReachesEveryReaderOfTheRecord) {
    // Typing only marks the record as behind the editor; each of these must still see the
    // typed text. The records are read through raw pointers, never through the tree.
    buildSample();
    Node* p = at(8);
    Node* q = at(9);
    openNew(8);
    typeAtEnd("one");
    form->recovery().writeNow();  // the crash copy
    EXPECT_TRUE(readFileBytes(form->recovery().recoveryFile()).contains("<text> one</text>"));

    typeAtEnd("two");
    select(9);
    form->workspace().openInActiveTab();  // another node replaces the editor's text
    EXPECT_EQ(p->page->text, " onetwo");

    openNew(8);
    typeAtEnd("3");
    select(2);
    prompter.answers.push_back(true);
    form->treeEditor().deleteSelected();  // the tree changes shape under the edited page
    EXPECT_EQ(p->page->text, " onetwo3");
    EXPECT_EQ(q->page->text, " ");

    typeAtEnd("4");
    const QString folder = dir.filePath("out");
    QDir().mkpath(folder);
    form->exports().directoryExportDialog()->setBranch(p);
    prompter.directoryChoices.push_back(folder);
    form->exports().directoryExportDialog()->browse();
    form->exports().directoryExportDialog()->exportBranch();
    EXPECT_TRUE(readFileBytes(folder + "/P.txt").startsWith(" onetwo34"));
}

TEST_F(WorkspaceTest, TypingInTheNoneTabChangesNoNode) {
    buildSample();
    typeAtEnd("zz");
    EXPECT_EQ(captions(), QStringList{"None"});
    for (int i = 0; i < form->tree().count(); ++i) EXPECT_NE(at(i)->page->text, "zz");
}

TEST_F(WorkspaceTest, SwitchingTabsReloadsTheNodeAndSelectsIt) {
    buildSample();
    openNew(8);
    openNew(9);
    typeAtEnd("!");
    tabs()->setCurrentIndex(0);  // as the user clicking the first tab
    EXPECT_EQ(form->editor()->wholeText(), " ");
    EXPECT_EQ(form->selectedNode(), at(8));
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(form->editor()->wholeText(), " !");
    int line = -1, index = -1;
    form->editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(form->editor()->isUndoAvailable());
}

TEST_F(WorkspaceTest, ClosingTabs) {
    buildSample();
    form->workspace().closeActiveTab();  // the only tab stays
    EXPECT_EQ(tabs()->count(), 1);
    openNew(8);
    openNew(9);
    openNew(5);
    ASSERT_EQ(tabs()->currentIndex(), 2);
    form->workspace().closeActiveTab();  // the rightmost: the first becomes active
    EXPECT_EQ(captions(), (QStringList{"P", "Q"}));
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_EQ(form->editor()->wholeText(), " ");
}

TEST_F(WorkspaceTest, DeletingASectionClosesItsTabsAndRenumbersTheRest) {
    buildSample();
    for (int i : {1, 4, 6, 9}) openNew(i);
    select(4);
    prompter.answers = {true};
    form->treeEditor().deleteSelected();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, "Удаление");
    EXPECT_EQ(prompter.questions[0].text, "Вы действительно хотите удалить выбранный элемент?");
    EXPECT_EQ(form->tree().count(), 6);
    EXPECT_EQ(bound(), (std::vector<int>{1, 5}));
    EXPECT_EQ(captions(), (QStringList{"S1", "Q"}));
    EXPECT_EQ(tabs()->currentIndex(), 1);
    EXPECT_EQ(at(5)->caption, "Q");
    EXPECT_EQ(form->statusText(0), "Разделов: 1   Страниц: 4");
}

TEST_F(WorkspaceTest, DeletingTheOnlyOpenPageLeavesANoneTabAndNoStopsEverything) {
    buildSample();
    openNew(8);
    select(8);
    prompter.answers = {false};
    form->treeEditor().deleteSelected();
    EXPECT_EQ(form->tree().count(), 10);
    prompter.answers = {true};
    form->treeEditor().deleteSelected();
    EXPECT_EQ(captions(), QStringList{"None"});
    EXPECT_EQ(bound(), std::vector<int>{0});
    EXPECT_EQ(form->editor()->wholeText(), "");

    select(0);  // the root node: a new, empty collection
    prompter.answers = {true};
    form->treeEditor().deleteSelected();
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->currentFileName(), "");
}

TEST_F(WorkspaceTest, AddingFollowsTheKindRulesAndKeepsTabsBound) {
    buildSample();
    openNew(9);  // Q
    EXPECT_EQ(form->treeEditor().addSection(at(8), "x"), nullptr);  // not below a page
    EXPECT_EQ(form->treeEditor().addPage(at(8), "x"), nullptr);
    EXPECT_EQ(form->treeEditor().addPage(nullptr, "x"), nullptr);

    select(1);
    form->treeEditor().addPageToSelected(false);  // a page at the end of S1: index 4, Q moves to 10
    const Node* page = at(4);
    EXPECT_EQ(page->caption, "Новый код");
    EXPECT_EQ(page->kindImage, 2);
    EXPECT_EQ(page->page->text, " ");
    EXPECT_EQ(page->page->language, 1);
    EXPECT_EQ(page->row, 2);
    EXPECT_EQ(bound(), std::vector<int>{10});
    EXPECT_EQ(form->statusText(0), "Разделов: 2   Страниц: 8");

    select(0);
    form->treeEditor().addSectionToSelected();
    EXPECT_EQ(form->tree().nodeAt(form->tree().count() - 1)->page->stateIndex, -1);
    form->treeView()->setCurrentIndex({});
    form->treeEditor().addSectionToSelected();  // nothing selected: under the root, icon value 20
    EXPECT_EQ(form->tree().nodeAt(form->tree().count() - 1)->page->stateIndex, 20);
    const int count = form->tree().count();
    form->treeEditor().addPageToSelected(true);  // the menu adds no page without a selected node
    EXPECT_EQ(form->tree().count(), count);
}

TEST_F(WorkspaceTest, RenamingRecaptionsTheTabButNotTheRecord) {
    buildSample();
    openNew(8);
    typeAtEnd("x");
    ASSERT_EQ(captions(), QStringList{"P*"});
    form->treeModel()->setData(form->treeModel()->indexOf(at(8)), "Renamed", Qt::EditRole);
    EXPECT_EQ(captions(), QStringList{"Renamed"});
    EXPECT_EQ(at(8)->page->name, "P");
    EXPECT_FALSE(form->treeModel()->flags(form->treeModel()->indexOf(at(0))) & Qt::ItemIsEditable);
}

TEST_F(WorkspaceTest, DeleteKeyIsIgnoredWhileACaptionIsEdited) {
    buildSample();
    form->show();
    select(8);
    form->treeEditor().renameSelected();
    ASSERT_TRUE(form->treeEditor().editInProgress());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(form->treeView(), &release);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(form->tree().count(), 10);
}

TEST_F(WorkspaceTest, DroppingAPageOnASectionMovesItFirstAndKeepsTabsOnTheirNodes) {
    buildSample();
    openNew(9);  // Q
    openNew(5);  // a
    TreeModel* model = form->treeModel();
    std::unique_ptr<QMimeData> data(model->mimeData({model->indexOf(at(9))}));
    model->dropMimeData(data.get(), Qt::MoveAction, -1, 0, model->indexOf(at(1)));
    // Q is now S1's first child at index 2; a moved from 5 to 6.
    EXPECT_EQ(at(2)->caption, "Q");
    EXPECT_EQ(at(1)->children.front()->caption, "Q");
    EXPECT_TRUE(form->treeView()->isExpanded(model->indexOf(at(1))));
    EXPECT_EQ(bound(), (std::vector<int>{2, 6}));
    EXPECT_EQ(form->tree().count(), 10);

    // Onto a page, onto itself or into its own subtree: nothing moves.
    form->treeEditor().moveNode(at(4), at(3));
    form->treeEditor().moveNode(at(1), at(1));
    form->treeEditor().moveNode(at(1), at(2));
    EXPECT_EQ(at(2)->caption, "Q");
    EXPECT_EQ(at(1)->caption, "S1");
}

TEST_F(WorkspaceTest, FoldingChangesTheKindPictureAndRecursionReachesEverySection) {
    buildSample();
    Node* s2 = at(4);
    Node* inner = form->treeEditor().addSection(s2, "inner");
    form->treeEditor().addPage(inner, "deep");
    select(4);
    form->command("expandBranch")->trigger();
    EXPECT_EQ(s2->kindImage, 1);
    EXPECT_EQ(s2->selectedImage, 1);
    EXPECT_EQ(s2->page->imageIndex, 0);  // the record keeps its value
    EXPECT_EQ(inner->kindImage, 0);   // no recursion: only the node itself

    form->command("recursionButton")->setChecked(true);
    select(0);
    form->command("expandNode")->trigger();
    EXPECT_EQ(inner->kindImage, 1);
    EXPECT_EQ(at(1)->kindImage, 1);
    form->command("collapseNode")->trigger();
    EXPECT_EQ(s2->kindImage, 0);
    EXPECT_EQ(inner->kindImage, 0);
    EXPECT_EQ(at(0)->kindImage, 3);  // the root node keeps its picture
}

TEST_F(WorkspaceTest, IconMenuStoresItsValues) {
    buildSample();
    struct Case {
        const char* entry;
        int node;
        int expected;
    };
    for (const Case& c : {Case{"Icon0", 8, 15}, Case{"Icon14", 8, 14}, Case{"Icon3", 8, 3}, Case{"IconNone", 8, -1},
                          Case{"Icon5", 0, -1}}) {
        select(c.node);
        form->findChild<QAction*>(c.entry)->trigger();
        EXPECT_EQ(at(c.node)->stateIndex, c.expected) << c.entry;
        EXPECT_EQ(at(c.node)->page->stateIndex, c.node == 0 ? 20 : c.expected) << c.entry;
    }
    select(0);
    form->findChild<QAction*>("IconNone")->trigger();
    EXPECT_EQ(at(0)->page->stateIndex, -1);
}

TEST_F(WorkspaceTest, PopupEnablingFollowsTheNodeKind) {
    buildSample();
    struct Case {
        int node;
        bool addSection, addPage, rename;
    };
    for (const Case& c : {Case{8, false, false, true}, Case{0, true, true, false}, Case{1, true, true, true}}) {
        form->treeEditor().enableTreeMenuItems(at(c.node));
        EXPECT_EQ(form->command("addSection")->isEnabled(), c.addSection);
        EXPECT_EQ(form->command("addPage")->isEnabled(), c.addPage);
        EXPECT_EQ(form->command("rename")->isEnabled(), c.rename);
        EXPECT_TRUE(form->command("deleteNode")->isEnabled());
    }
}

TEST_F(WorkspaceTest, ClickShowsTheNodePathAndSwitchesToItsTab) {
    buildSample();
    openNew(6);
    openNew(9);
    select(6);
    form->workspace().treeClicked();
    EXPECT_EQ(form->statusText(1), "Root\\S2\\b\\");
    EXPECT_EQ(tabs()->currentIndex(), 0);
    select(1);
    form->workspace().treeClicked();
    EXPECT_EQ(form->statusText(1), "Root\\S1\\");
    EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(WorkspaceTest, EditorToolbarClearsLoadsAndSavesText) {
    buildSample();
    openNew(8);
    const QString in = dir.filePath("in.cpp");
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("int x;\nint y;\n");
    }
    prompter.fileChoices.push_back(FileChoice{in, 1});
    form->workspace().loadFileIntoEditor();
    EXPECT_EQ(at(8)->page->text, "int x;\r\nint y;");
    EXPECT_EQ(captions(), QStringList{"P"});

    for (const char* name : {"out", "out.txt"}) {  // ".txt" is added only when there is no extension
        prompter.fileChoices.push_back(FileChoice{dir.filePath(name), 1});
        form->workspace().saveEditorText();
        EXPECT_EQ(readFileBytes(dir.filePath("out.txt")), QByteArray("int x;\r\nint y;"));
        QFile::remove(dir.filePath("out.txt"));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("out.txt.txt")));

    prompter.fileChoices.push_back(FileChoice{dir.filePath("missing.txt"), 1});
    form->workspace().loadFileIntoEditor();
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(at(8)->page->text, "int x;\r\nint y;");

    form->workspace().clearEditor();
    EXPECT_EQ(at(8)->page->text, "");
    EXPECT_EQ(form->editor()->wholeText(), "");
    EXPECT_EQ(captions(), QStringList{"P"});
}

TEST_F(WorkspaceTest, TreeKeysFoldNodesAndFollowOpenTabs) {
    buildSample();
    form->show();
    form->treeView()->expand(form->treeModel()->index(0, 0));
    form->treeView()->setFocus();
    select(4);
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    EXPECT_EQ(at(4)->kindImage, 1);
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    EXPECT_EQ(at(4)->kindImage, 0);

    openNew(8);
    openNew(9);
    select(9);
    QTest::keyClick(form->treeView(), Qt::Key_Up);  // the view moves to P, whose tab opens
    EXPECT_EQ(form->selectedNode(), at(8));
    EXPECT_EQ(tabs()->currentIndex(), 0);
    select(1);
    QTest::keyClick(form->treeView(), Qt::Key_Down);  // S2 has no tab: the tabs stay as they are
    EXPECT_EQ(form->selectedNode(), at(4));
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_EQ(captions(), (QStringList{"P", "Q"}));
}

TEST_F(WorkspaceTest, BranchSavedAndAddedKeepsTabsOnTheirNodes) {
    buildSample();  // root 0; S1 1 [p 2, p 3]; S2 4 [a 5, b 6, c 7]; P 8; Q 9
    openNew(9);
    openNew(6);
    select(4);
    prompter.fileChoices.push_back(FileChoice{dir.filePath("branch.txt"), 1});  // XML filter: branch.xml
    form->branchFiles().saveBranchToFile();
    ASSERT_TRUE(QFile::exists(dir.filePath("branch.xml")));

    select(1);
    prompter.fileChoices.push_back(FileChoice{dir.filePath("branch.xml"), 1});
    form->branchFiles().addBranchFromFile();
    EXPECT_EQ(form->tree().count(), 14);
    EXPECT_EQ(at(1)->children.back()->caption, "S2");
    EXPECT_EQ(bound(), (std::vector<int>{13, 10}));  // Q and b moved behind the new nodes
    EXPECT_EQ(at(13)->caption, "Q");
    EXPECT_EQ(at(10)->caption, "b");
    EXPECT_EQ(form->statusText(0), "Разделов: 3   Страниц: 10");

    select(13);  // a page (Q) takes no branch
    prompter.fileChoices.push_back(FileChoice{dir.filePath("branch.xml"), 1});
    form->branchFiles().addBranchFromFile();
    EXPECT_EQ(prompter.messages, QStringList{"Добавление ветви к странице невозможно!"});

    select(8);  // the text filter writes the branch (the original S2) as a text collection
    prompter.fileChoices.push_back(FileChoice{dir.filePath("branch"), 2});
    form->branchFiles().saveBranchToFile();
    EXPECT_TRUE(readFileBytes(dir.filePath("branch.txt")).startsWith("3\r\n"));
    EXPECT_EQ(form->currentFileName(), "");  // a branch save does not change the current file
}
