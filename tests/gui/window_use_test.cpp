// Faults that only show when the window is used as a person uses it: keys that reach the
// wrong widget, edits that lose history or bookmarks, captions shown wrongly.
#include "app/main_window.h"
#include "window_parts.h"
#include "scripted_prompter.h"
#include "search/find_dialogs.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "../test_files.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include "workspace/go_to_line_dialog.h"
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class WindowUse : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));

    Node* openPage(const QString& caption, const std::string& text) {
        Node* page = form->treeEditor().addPage(form->tree().root(), caption);
        page->page->text = text;
        form->selectNode(page);
        form->workspace().openInNewTab();
        return page;
    }
    bool expanded(const Node* node) const { return form->treeView()->isExpanded(form->treeModel()->indexOf(node)); }
};

} // namespace

TEST_F(WindowUse, OneEnterInTheFindDialogIsOneSearch) {
    openPage("p", "ab ab ab");
    form->command("findInCurrentTab")->trigger();
    FindDialog* find = form->search().findDialog();
    QSignalSpy searches(find, &FindDialog::findNext);
    auto* what = find->findChild<QLineEdit*>("FindWhat");
    ASSERT_NE(what, nullptr);
    EXPECT_TRUE(what->hasFocus() || QApplication::focusWidget() == what || find->focusWidget() == what);
    QTest::keyClicks(what, "ab");
    QTest::keyClick(what, Qt::Key_Return);
    EXPECT_EQ(searches.size(), 1);
    EXPECT_EQ(form->editor()->selectionStart(), 0);

    ReplaceDialog* replace = form->search().replaceDialog();
    QSignalSpy replaceSearches(replace, &ReplaceDialog::findNext);
    form->command("replace")->trigger();
    auto* replaceWhat = replace->findChild<QLineEdit*>("ReplaceWhat");
    QTest::keyClicks(replaceWhat, "ab");
    QTest::keyClick(replaceWhat, Qt::Key_Return);
    EXPECT_EQ(replaceSearches.size(), 1);

    // Reopened, the find dialog has its text field ready for typing.
    find->hide();
    find->findChild<QWidget*>("FindNext")->setFocus();
    form->command("findInCurrentTab")->trigger();
    EXPECT_EQ(find->focusWidget(), what);
}

TEST_F(WindowUse, OnlyAKeyPressedInTheTreeActsOnItsRelease) {
    Node* s = form->treeEditor().addSection(form->tree().root(), "S");
    form->treeEditor().addPage(s, "p");
    form->show();
    form->selectNode(s);
    TreeView* view = form->treeView();
    view->setFocus();
    // The release of an Enter pressed elsewhere (a dialog, a rename) reaches the tree alone.
    QTest::keyRelease(view, Qt::Key_Return);
    EXPECT_FALSE(expanded(s));
    QTest::keyRelease(view, Qt::Key_Delete);
    EXPECT_EQ(form->tree().count(), 3);
    EXPECT_TRUE(prompter.questions.empty());
    // Pressed and released in the tree, it acts.
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(expanded(s));
}

TEST_F(WindowUse, AltWithALetterNobodyHandlesTypesNothing) {
    Node* page = openPage("p", "abc");
    form->editor()->setSelectionStart(3);
    for (Qt::Key key : {Qt::Key_F, Qt::Key_J, Qt::Key_X})
        QTest::keyClick(form->editor(), key, Qt::AltModifier);
    EXPECT_EQ(form->editor()->wholeText(), "abc");
    EXPECT_EQ(page->page->text, "abc");
    QTest::keyClicks(form->editor(), "d");  // plain typing still types
    EXPECT_EQ(form->editor()->wholeText(), "abcd");
    QTest::keyClick(form->editor(), Qt::Key_Z, Qt::ControlModifier);  // and commands still act
    EXPECT_EQ(form->editor()->wholeText(), "abc");
}

TEST_F(WindowUse, LoadingAFileKeepsTheNodesBookmarksOnScreen) {
    Node* page = openPage("p", "one\r\ntwo\r\nthree");
    form->editor()->setCaretLine(2);
    form->bookmarks().assign(0);
    ASSERT_EQ(form->editor()->bookmarkCount(), 1);
    const QString file = dir.filePath("in.txt");
    ASSERT_TRUE(writeFileBytes(file, "1\n2\n3\n4\n"));
    prompter.fileChoices.push_back(FileChoice{file, 1});
    form->command("openTextButton")->trigger();
    EXPECT_EQ(page->page->text, "1\r\n2\r\n3\r\n4");
    EXPECT_EQ(page->page->bookmarks.size(), 1u);
    EXPECT_EQ(form->editor()->bookmarkCount(), 1);
    form->bookmarks().prepareMenu();
    EXPECT_EQ(form->findChild<QAction*>("Goto0")->text(), "2");
}

TEST_F(WindowUse, IndentAndUnindentAreEachOneUndoableStep) {
    Node* page = openPage("p", "a\r\nb\r\nc");
    QTest::keyClicks(form->editor(), "x");  // "xa": typing before the indent stays undoable
    form->editor()->setSelectionStart(0);
    form->editor()->setSelectionEnd(static_cast<int>(form->editor()->wholeText().size()));
    form->indentation().indent();
    EXPECT_EQ(recordText(*form, page), " xa\r\n b\r\n c");
    form->indentation().unindent();
    EXPECT_EQ(recordText(*form, page), "xa\r\nb\r\nc");
    form->command("undo")->trigger();
    EXPECT_EQ(recordText(*form, page), " xa\r\n b\r\n c");
    form->command("undo")->trigger();
    EXPECT_EQ(recordText(*form, page), "xa\r\nb\r\nc");
    form->command("undo")->trigger();
    EXPECT_EQ(recordText(*form, page), "a\r\nb\r\nc");
}

TEST_F(WindowUse, MenusShowCaptionsAsWrittenAndFollowThePageOnScreen) {
    // The edit menu is grouped by separators: undo | find, replace, go to | indenting |
    // layout | date.
    QStringList items;
    for (QAction* a : form->findChild<QMenu*>("editMenu")->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{"Отменить", "-", "Найти", "Заменить...", "Перейти на строку...", "-",
                                  "Увеличить отступ", "Уменьшить отступ", "-", "Автоматическое определение раскладки",
                                  "-", "Вставить дату и время"}));

    // "&" in a line captioning a bookmark and in a tab caption stands for itself.
    Node* amp = openPage("R&D", "a && b\r\nx");
    form->editor()->setCaretLine(1);
    form->bookmarks().assign(0);
    form->bookmarks().prepareMenu();
    EXPECT_EQ(form->findChild<QAction*>("Goto0")->text(), "a &&&& b");
    EXPECT_EQ(form->workspace().tabCaption(form->tabs()->currentIndex()), "R&D");
    EXPECT_EQ(form->tabs()->tabToolTip(form->tabs()->currentIndex()), "R&D");

    // The language menu's check follows the page on screen when tabs are switched.
    amp->page->language = 3;  // C/C++ is position 2
    Node* pascal = openPage("pas", "begin end.");
    pascal->page->language = 1;
    form->workspace().loadNodeIntoTab(form->tabs()->currentIndex(), form->tree().indexOf(pascal));
    EXPECT_EQ(form->workspace().checkedLanguage(), 0);
    form->tabs()->setCurrentIndex(0);  // the user switches to "R&D"
    EXPECT_EQ(form->workspace().checkedLanguage(), 2);

    // The node path in the status bar goes with its node.
    form->selectNode(pascal);
    form->workspace().treeClicked();
    EXPECT_EQ(form->statusText(1), nodePath(pascal));
    prompter.answers.push_back(true);
    form->treeEditor().deleteSelected();
    EXPECT_EQ(form->statusText(1), "");
}

TEST_F(WindowUse, LongTabCaptionsAreElidedWithTheWholeCaptionAsTooltip) {
    form->resize(900, 500);
    form->show();
    const QString longCaption = QString(120, u'Ж');
    openPage(longCaption, "x");
    openPage("short", "y");
    QTabBar* tabs = form->tabs();
    // The first page went into the None tab.
    EXPECT_LE(tabs->tabRect(0).width(), std::max(80, tabs->width() / 3));
    EXPECT_LT(tabs->tabRect(0).width(), tabs->width() / 2);
    EXPECT_EQ(tabs->tabToolTip(0), longCaption);
    EXPECT_EQ(tabs->tabText(0), longCaption);  // the caption itself is kept whole
    EXPECT_EQ(tabs->tabToolTip(1), "short");
}

TEST_F(WindowUse, TheEditorsSaveAsAddsTxtOnlyToANameWithoutExtension) {
    openPage("p", "text");
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case& c : {Case{"snippet.txt", "snippet.txt"}, Case{"snippet", "snippet.txt"},
                          Case{"notes.md", "notes.md"}}) {
        prompter.fileChoices.push_back(FileChoice{dir.filePath(c.chosen), 1});
        form->command("saveTextButton")->trigger();
        EXPECT_EQ(readFileBytes(dir.filePath(c.written)), "text") << c.chosen;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("snippet.txt.txt")));
}

TEST_F(WindowUse, TheUsualKeysReachTheirCommandsFromTheEditor) {
    form->show();
    QApplication::setActiveWindow(form.get());
    openPage("one", "ab ab ab");
    openPage("two", "cd");
    QWidget* editor = form->editor();
    editor->setFocus();
    auto press = [&](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(editor, static_cast<Qt::Key>(key), mods);
    };

    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->tabs()->currentIndex(), 0);
    EXPECT_EQ(form->editor()->wholeText(), "ab ab ab");
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->tabs()->currentIndex(), 1);
    press(Qt::Key_Tab, Qt::ControlModifier);

    // F3 repeats the last search, Shift+F3 goes back.
    form->command("findInCurrentTab")->trigger();
    form->search().findDialog()->setText("ab");
    form->search().findDialog()->hide();
    editor->setFocus();
    form->editor()->setSelectionStart(0);
    press(Qt::Key_F3);
    EXPECT_EQ(form->editor()->selectionStart(), 0);
    press(Qt::Key_F3);
    EXPECT_EQ(form->editor()->selectionStart(), 3);
    press(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(form->editor()->selectionStart(), 0);

    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(form->goToLineDialog()->isVisible());
    form->goToLineDialog()->hide();
    QApplication::setActiveWindow(form.get());
    editor->setFocus();
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(form->search().replaceDialog()->isVisible());
    form->search().replaceDialog()->hide();
    QApplication::setActiveWindow(form.get());
    editor->setFocus();

    prompter.threeWayAnswers.push_back(Prompter::Answer::Cancel);
    press(Qt::Key_O, Qt::ControlModifier);  // changed: first the question about saving (cancelled)
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_TRUE(prompter.filtersOffered.empty());
    prompter.questions.clear();
    prompter.fileChoices.push_back(std::nullopt);
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prompter.filtersOffered.size(), 1u);
    prompter.fileChoices.push_back(FileChoice{dir.filePath("keys.xml"), 1});
    press(Qt::Key_S, Qt::ControlModifier);  // no file yet: the name is asked for
    EXPECT_TRUE(QFile::exists(dir.filePath("keys.xml")));
    prompter.answers.push_back(false);
    QSignalSpy newTriggered(form->command("newCollection"), &QAction::triggered);
    QApplication::setActiveWindow(form.get());
    editor->setFocus();
    press(Qt::Key_N, Qt::ControlModifier);  // saved just now: only the question of clearing
    EXPECT_EQ(newTriggered.size(), 1);
    ASSERT_FALSE(prompter.questions.empty());
    EXPECT_EQ(prompter.questions.back().text, "Вы действительно хотите очистить дерево?");
    EXPECT_EQ(form->editor()->wholeText(), "ab ab ab");  // none of the keys typed anything

    // The menus show the keys.
    EXPECT_EQ(form->command("saveCollection")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(form->command("findAgain")->shortcut(), QKeySequence(Qt::Key_F3));
}
