// The hotkey list window, the assignment dialog, and the dispatch of the program's own
// keys and of the table's keys, driven by real key events.
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "exchange/file_search_dialog.h"
#include "hotkeys/snippet_keys_window.h"
#include "launcher/applications_dialog.h"
#include "hotkeys/assign_key_dialog.h"
#include "platform/hotkey_registrar.h"
#include "scripted_prompter.h"
#include "../test_files.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/go_to_line_dialog.h"

#include "platform/physical_keys.h"

#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tw;

namespace {

const QString kOwnKeysReport = QStringLiteral(
    "Unable to assign Ctrl-Q as hotkey.\r\nUnable to assign Ctrl-W as hotkey.\r\nUnable to assign Ctrl-F as hotkey.\r\n"
    "Unable to assign Ctrl-D as hotkey.\r\nUnable to assign Alt-S as hotkey.\r\n");

class Hotkeys : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;

    QString keysFile() const { return dir.filePath("keys.dat"); }
    // Shows the window (which reads keys.dat) and makes it the active one.
    void start(const QByteArray& keys = {}) {
        if (!keys.isNull()) {
            ASSERT_TRUE(writeFileBytes(keysFile(), keys));
        }
        form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    // A key pressed on the widget that has the focus, as the keyboard would.
    void press(QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focus->setFocus();
        QTest::keyClick(focus, key, modifiers);
    }
    Node* openPage(const std::string& text) {
        Node* page = form->treeEditor().addPage(form->tree().root(), "p");
        page->page->text = text;
        form->selectNode(page);
        form->workspace().openInNewTab();
        return page;
    }
    bool expanded(const Node* node) const {
        return form->treeView()->isExpanded(form->treeModel()->indexOf(node));
    }
    SnippetKeysWindow* list() const { return form->snippetKeys().listWindow(); }
    AssignKeyDialog* assign() const { return form->snippetKeys().assignDialog(); }
};

} // namespace

TEST_F(Hotkeys, CtrlQAndCtrlWExpandAndCollapseTheSelectedNode) {
    start();
    Node* outer = form->treeEditor().addSection(form->tree().root(), "outer");
    Node* inner = form->treeEditor().addSection(outer, "inner");
    form->treeEditor().addPage(inner, "page");
    form->selectNode(outer);
    form->treeView()->collapseAll();
    // The window's menu shortcuts for the same combinations stay silent.
    QSignalSpy menuExpand(form->command("expandBranch"), &QAction::triggered);
    QSignalSpy menuCollapse(form->command("collapseBranch"), &QAction::triggered);

    press(form->treeView(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(expanded(outer));
    EXPECT_FALSE(expanded(inner));
    press(form->treeView(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(expanded(outer));

    form->command("recursionButton")->setChecked(true);  // "Использовать рекурсию"
    press(form->treeView(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(expanded(outer));
    EXPECT_TRUE(expanded(inner));
    press(form->treeView(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(expanded(outer));
    EXPECT_FALSE(expanded(inner));
    EXPECT_EQ(menuExpand.count() + menuCollapse.count(), 0);

    // With no node selected nothing happens.
    form->treeView()->setCurrentIndex(QModelIndex());
    press(form->treeView(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(expanded(outer));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Hotkeys, OwnKeysOpenTheDialogsWithoutModality) {
    start();
    QSignalSpy editList(form->command("editApplications"), &QAction::triggered);

    press(form->editor(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(form->applications().dialog()->isVisible());
    EXPECT_FALSE(form->applications().dialog()->isModal());
    EXPECT_EQ(editList.count(), 0);
    QApplication::setActiveWindow(form.get());
    press(form->editor(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(form->fileSearchDialog()->isVisible());
    EXPECT_FALSE(form->fileSearchDialog()->isModal());

    QApplication::setActiveWindow(form.get());
    press(form->editor(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(form->goToLineDialog()->isVisible());
    EXPECT_FALSE(form->goToLineDialog()->isModal());
}

TEST_F(Hotkeys, TableKeyReplacesTheSelectionAndReachesThePage) {
    start("ALT\r\nA\r\nbegin\r\n  end;\r\n######\r\nSHIFT\r\nK\r\nkey\r\n######\r\n");
    EXPECT_TRUE(prompter.messages.isEmpty());
    ASSERT_EQ(list()->rows().size(), 2u);
    Node* page = openPage("if x then\r\nfoo");
    form->editor()->setSelectionStart(11);
    form->editor()->setSelectionLength(3);  // "foo"

    press(form->editor(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(recordText(*form, page), "if x then\r\nbegin\r\n  end;");
    EXPECT_TRUE(form->tabs()->tabText(form->tabs()->currentIndex()).endsWith('*'));

    // A SHIFT combination inserts its text in place of the capital letter, at the caret.
    press(form->editor(), Qt::Key_K, Qt::ShiftModifier);
    EXPECT_EQ(recordText(*form, page), "if x then\r\nbegin\r\n  end;key");
    // Other combinations insert nothing, wherever the focus is (pressed on the tree, since
    // the editor would type their letters).
    press(form->treeView(), Qt::Key_B, Qt::AltModifier);
    press(form->treeView(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(recordText(*form, page), "if x then\r\nbegin\r\n  end;key");

    // A key pressed while the list window is in front still inserts into the editor.
    form->command("snippetKeysButton")->trigger();
    ASSERT_TRUE(list()->isVisible());
    QApplication::setActiveWindow(list());
    press(list()->table(), Qt::Key_K, Qt::ShiftModifier);
    EXPECT_EQ(recordText(*form, page), "if x then\r\nbegin\r\n  end;keykey");
}

TEST_F(Hotkeys, CombinationsMatchThePhysicalKeyUnderARussianLayout) {
    // Under the Russian layout the key of "S" reports "Ы", and that of "A" reports "Ф".
    start("ALT\r\nA\r\nsnippet\r\n######\r\n");
    Node* page = openPage("text");
    form->editor()->setSelectionStart(0);
    auto pressCyrillic = [](QWidget* focus, char16_t upper, Qt::KeyboardModifiers mods) {
        focus->setFocus();
        QKeyEvent press(QEvent::KeyPress, upper, mods, QString(QChar(upper).toLower()));
        QApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, upper, mods, QString(QChar(upper).toLower()));
        QApplication::sendEvent(focus, &release);
    };
    pressCyrillic(form->editor(), u'Ф', Qt::AltModifier);
    EXPECT_EQ(recordText(*form, page), "snippettext");
    pressCyrillic(form->editor(), u'Ы', Qt::AltModifier);
    EXPECT_TRUE(form->goToLineDialog()->isVisible());
    QApplication::setActiveWindow(form.get());
    pressCyrillic(form->editor(), u'В', Qt::ControlModifier);  // the key of "D"
    EXPECT_TRUE(form->fileSearchDialog()->isVisible());
    EXPECT_EQ(recordText(*form, page), "snippettext");  // nothing typed by any of them
}

TEST(PhysicalKeys, LatinLetterOfAKeyWhateverTheLayout) {
    struct Case {
        int key;
        unsigned scanCode;
        bool xkb;
        int letter;
    };
    for (const Case& c : {Case{Qt::Key_S, 0, false, 'S'}, Case{0x042B, 0, false, 'S'},  // "Ы"
                          Case{0x044B, 0, false, 'S'},                                      // "ы"
                          Case{0x0424, 0, false, 'A'}, Case{0x042F, 0, false, 'Z'},         // "Ф", "Я"
                          Case{0x0416, 0, false, 0},                                        // "Ж": no letter key
                          Case{0x03A3, 39, true, 'S'},  // any character: the X key code of "S" decides
                          Case{0x03A3, 39, false, 0}, Case{Qt::Key_1, 10, true, 0}, Case{0, 24, true, 'Q'},
                          Case{0, 58, true, 'M'}, Case{0, 59, true, 0}}) {
        EXPECT_EQ(latinLetterOf(c.key, c.scanCode, c.xkb), c.letter) << std::hex << c.key << " " << c.scanCode;
    }
}

TEST_F(Hotkeys, NothingHappensWhileTheProgramIsNotActive) {
    start("ALT\r\nA\r\nsnippet\r\n######\r\n");
    Node* section = form->treeEditor().addSection(form->tree().root(), "s");
    form->treeEditor().addPage(section, "inner");
    Node* page = openPage("text");
    form->selectNode(section);
    form->treeView()->collapseAll();
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    QTest::keyClick(form->treeView(), Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(form->editor(), Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(form->editor(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(form->editor(), Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(expanded(section));
    EXPECT_EQ(recordText(*form, page), "text");
    EXPECT_FALSE(form->applications().dialog()->isVisible());
    EXPECT_FALSE(form->goToLineDialog()->isVisible());
}

TEST_F(Hotkeys, SecondCopyCannotRegisterTheKeys) {
    start("ALT\r\nA\r\nfirst copy\r\n######\r\n");
    ScriptedPrompter secondPrompter;
    {
        MainWindow second(secondPrompter, ProgramPaths::inFolder(dir.path()));
        EXPECT_EQ(secondPrompter.messages, QStringList{kOwnKeysReport});
        // Its table keys do not work: loading is silent, registering again reports them.
        second.show();
        EXPECT_EQ(second.snippetKeys().listWindow()->rows().size(), 1u);
        EXPECT_EQ(secondPrompter.messages.size(), 1);
        second.snippetKeys().listWindow()->registerAll();
        EXPECT_EQ(secondPrompter.messages.value(1), "Unable to register ALT + A\r\n");
    }
    // The first copy keeps every key.
    Node* page = openPage("");
    press(form->editor(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(recordText(*form, page), "first copy");
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Closing the window releases the own keys; the table's stay registered.
    ApplicationHotkeyRegistrar probe(ProgramPaths::inFolder(dir.path()).hotkeyLocks);
    EXPECT_FALSE(probe.registerHotKey(1, kModControl, 'Q'));
    prompter.threeWayAnswers.push_back(Prompter::Answer::No);  // the typed snippet is not kept
    form->close();
    EXPECT_TRUE(probe.registerHotKey(1, kModControl, 'Q'));
    EXPECT_TRUE(probe.registerHotKey(4, kModAlt, 'S'));
    EXPECT_FALSE(probe.registerHotKey(7, kModAlt, 'A'));
}

TEST_F(Hotkeys, DeletingARowRegistersTheRestUnderTheirNewIdentifiers) {
    start("ALT\r\nA\r\na\r\n######\r\nALT\r\nB\r\nb\r\n######\r\nALT\r\nC\r\nc\r\n######\r\n");
    Node* page = openPage("");
    // Nothing is deleted without a selected row.
    list()->removeKey();
    ASSERT_EQ(list()->rows().size(), 3u);

    list()->table()->selectRow(1);
    list()->removeKey();
    ASSERT_EQ(list()->table()->rowCount(), 2);
    EXPECT_EQ(list()->table()->item(1, 0)->text(), "ALT + C");
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Identifier 9 is free again; ALT + C now arrives as 8 and inserts row 1's text.
    EXPECT_TRUE(form->snippetKeys().registrar().registerHotKey(9, kModShift, 'X'));
    form->snippetKeys().registrar().unregisterHotKey(9);
    press(form->treeView(), Qt::Key_C, Qt::AltModifier);
    press(form->treeView(), Qt::Key_B, Qt::AltModifier);  // no longer a hotkey
    press(form->treeView(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(recordText(*form, page), "ca");
}

TEST_F(Hotkeys, AssignmentDialogAddsRefusesAndTheListWritesKeysDatOnClose) {
    start();  // no keys.dat: an empty table and no message
    EXPECT_TRUE(prompter.messages.isEmpty());
    form->command("snippetKeysButton")->trigger();
    list()->findChild<QPushButton*>("addButton")->click();  // "Добавить"
    ASSERT_TRUE(assign()->isVisible());
    EXPECT_EQ(assign()->windowTitle(), "Назначить");
    EXPECT_EQ(assign()->modifierText(), "ALT");
    EXPECT_EQ(assign()->letterText(), "A");

    auto choose = [&](const char* modifier, const char* letter, const char* text) {
        assign()->modifierBox()->setEditText(QString::fromLatin1(modifier));
        assign()->letterBox()->setEditText(QString::fromLatin1(letter));
        assign()->textEdit()->setPlainText(QString::fromUtf8(text));
        assign()->confirm();
    };
    choose("ALT", "A", " \n\t ");  // a blank text: nothing, not even a message
    EXPECT_TRUE(assign()->isVisible());
    EXPECT_TRUE(list()->rows().empty());
    EXPECT_TRUE(prompter.messages.isEmpty());

    choose("control", "c", "copy");  // typed in lower case, shown and checked in upper case
    EXPECT_EQ(assign()->modifierText(), "CONTROL");
    EXPECT_EQ(prompter.messages, QStringList{kForbiddenCombination});
    EXPECT_TRUE(assign()->isVisible());

    choose("CTRL", "K", "x");
    choose("ALT", "", "x");
    EXPECT_EQ(prompter.messages.mid(1), (QStringList{kChooseCombination, kChooseCombination}));
    EXPECT_TRUE(list()->rows().empty());

    choose("ALT", "A", "  first\nsecond  ");
    EXPECT_FALSE(assign()->isVisible());
    choose("ALT", "A", "again");  // a duplicate: the dialog closes, nothing is added
    EXPECT_FALSE(assign()->isVisible());
    choose("SHIFT", "Z", "z");
    ASSERT_EQ(list()->rows().size(), 2u);
    EXPECT_EQ(list()->table()->item(0, 0)->text(), "ALT + A");
    EXPECT_EQ(list()->rowText(0), "  first\r\nsecond  ");  // kept untrimmed while running

    const QImage listShot = list()->grab().toImage();
    const QImage assignShot = assign()->grab().toImage();
    EXPECT_EQ(listShot.size(), QSize(348, 265));
    EXPECT_FALSE(assignShot.isNull());
    if (qEnvironmentVariableIsSet("TARNWICK_SHOTS")) {
        listShot.save(qEnvironmentVariable("TARNWICK_SHOTS") + "/snippet_keys_window.png");
        assign()->show();
        assign()->grab().save(qEnvironmentVariable("TARNWICK_SHOTS") + "/assign_key_dialog.png");
    }

    EXPECT_FALSE(QFile::exists(keysFile()));
    list()->findChild<QPushButton*>("okButton")->click();  // "OK"
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(readFileBytes(keysFile()), QByteArray("ALT\r\nA\r\n  first\r\nsecond  \r\n######\r\nSHIFT\r\nZ\r\nz\r\n######\r\n"));
}

TEST_F(Hotkeys, DamagedOrUnwritableKeysDatIsReported) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("keys.dat"));  // exists, cannot be read or written
    start();
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при чтении keys.dat"});
    form->command("snippetKeysButton")->trigger();
    list()->close();
    // The window stays open so the table is not lost unseen.
    EXPECT_TRUE(list()->isVisible());
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages[1].contains("keys.dat"));
    ASSERT_TRUE(QDir(dir.path()).rmdir("keys.dat"));
    list()->close();
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(QFileInfo(keysFile()).size(), 0);
}

TEST_F(Hotkeys, ADamagedKeysDatIsKeptBesideTheRewrittenTable) {
    // The second record has no key letter: reading stops there and the third is not read.
    const QByteArray damaged = "ALT\r\nA\r\nfirst\r\n######\r\nALT\r\n\r\nlost?\r\n######\r\nSHIFT\r\nZ\r\nthird\r\n######\r\n";
    start(damaged);
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при чтении keys.dat"});
    ASSERT_EQ(list()->rows().size(), 1u);
    form->command("snippetKeysButton")->trigger();
    list()->close();
    EXPECT_EQ(readFileBytes(keysFile()), QByteArray("ALT\r\nA\r\nfirst\r\n######\r\n"));
    EXPECT_EQ(readFileBytes(keysFile() + ".damaged"), damaged);
}
