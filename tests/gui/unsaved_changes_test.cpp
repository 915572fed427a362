// A changed collection is never dropped without a word: the caption shows the change,
// and every command that would discard it asks first.
#include "main_window_fixture.h"
#include "window_parts.h"
#include "tree/tree_model.h"
#include "../test_files.h"

#include <QCloseEvent>
#include <functional>
#include <QTabBar>
#include <QTest>

using namespace tw;

namespace {

using Answer = Prompter::Answer;

class UnsavedChanges : public MainWindowTest {
protected:
    const QString savePrompt = QStringLiteral("Сохранить изменения в «example.xml»?");

    Node* page() { return form->tree().nodeAt(2); }  // a page of the example collection
    void typeIntoPage() {
        form->selectNode(page());
        form->workspace().openInNewTab();
        form->editor()->setSelectionStart(0);
        QTest::keyClicks(form->editor(), "x");
    }
    bool askedToSave() const {
        for (const auto& q : prompter.questions)
            if (q.text.startsWith(QStringLiteral("Сохранить изменения"))) return true;
        return false;
    }
};

} // namespace

TEST_F(UnsavedChanges, EveryKindOfEditMarksTheCollectionAndTheCaption) {
    struct Case {
        const char* name;
        std::function<void(MainWindow&)> edit;
    };
    const std::vector<Case> cases = {
        {"typing", [](MainWindow& w) {
             w.selectNode(w.tree().nodeAt(2));
             w.workspace().openInNewTab();
             QTest::keyClicks(w.editor(), "x");
         }},
        {"caption", [](MainWindow& w) {
             w.treeModel()->setData(w.treeModel()->indexOf(w.tree().nodeAt(2)), QStringLiteral("New"), Qt::EditRole);
         }},
        {"icon", [](MainWindow& w) {
             w.selectNode(w.tree().nodeAt(2));
             w.treeEditor().setIcon(3);
         }},
        {"language", [](MainWindow& w) {
             w.selectNode(w.tree().nodeAt(2));
             w.workspace().openInNewTab();
             w.workspace().chooseLanguage(4);
         }},
        {"bookmark", [](MainWindow& w) {
             w.selectNode(w.tree().nodeAt(2));
             w.workspace().openInNewTab();
             w.bookmarks().assign(0);
         }},
        {"new page", [](MainWindow& w) { w.treeEditor().addPage(w.tree().root(), "p"); }},
        {"move", [](MainWindow& w) {
             w.treeEditor().moveNode(w.tree().nodeAt(3), w.tree().nodeAt(1));
         }},
    };
    for (const Case& c : cases) {
        openExample();
        ASSERT_FALSE(form->document().isModified()) << c.name;
        EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml]") << c.name;
        c.edit(*form);
        EXPECT_TRUE(form->document().isModified()) << c.name;
        EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml*]") << c.name;
        // Saving makes it unchanged again.
        trigger("saveCollection");
        EXPECT_FALSE(form->document().isModified()) << c.name;
        EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml]") << c.name;
    }
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(UnsavedChanges, DiscardingCommandsAskOnlyAfterAChange) {
    // Unchanged: nothing is asked beyond the commands' own questions.
    openExample();
    prompter.answers.push_back(true);  // "Вы действительно хотите очистить дерево?"
    trigger("newCollection");
    EXPECT_EQ(prompter.questions.size(), 1u);
    EXPECT_FALSE(askedToSave());

    struct Case {
        const char* command;
        Answer answer;
        bool proceeds;  // the command goes on (the collection is replaced)
        bool saved;
    };
    for (const Case& c : {Case{"newCollection", Answer::Cancel, false, false},
                          Case{"clearTree", Answer::No, true, false},
                          Case{"openCollection", Answer::Yes, true, true},
                          Case{"openCollectionButton", Answer::Cancel, false, false}}) {
        openExample();
        const QByteArray before = readFileBytes(dir.filePath("example.xml"));
        typeIntoPage();
        prompter.questions.clear();
        prompter.threeWayAnswers.push_back(c.answer);
        const bool opens = QString::fromLatin1(c.command).startsWith("open");
        if (c.proceeds && opens) prompter.fileChoices.push_back(std::nullopt);  // then the open dialog is cancelled
        if (c.proceeds && !opens) prompter.answers.push_back(true);             // and clearing is confirmed
        trigger(c.command);
        ASSERT_FALSE(prompter.questions.empty()) << c.command;
        EXPECT_EQ(prompter.questions.front().text, savePrompt) << c.command;
        const bool changedOnDisk = readFileBytes(dir.filePath("example.xml")) != before;
        EXPECT_EQ(changedOnDisk, c.saved) << c.command;
        if (!c.proceeds) {
            EXPECT_EQ(form->tree().count(), 4) << c.command;
            EXPECT_TRUE(form->document().isModified()) << c.command;
            EXPECT_TRUE(prompter.fileChoices.empty()) << c.command;
        }
        if (c.proceeds && !opens) {
            EXPECT_EQ(form->tree().count(), 1) << c.command;
        }
        prompter.fileChoices.clear();
        prompter.answers.clear();
        form->document().setModified(false);  // the next open starts from an unchanged collection
    }
}

TEST_F(UnsavedChanges, ClosingTheWindowAsksAndCancelKeepsItOpen) {
    form->show();
    openExample();
    typeIntoPage();
    prompter.threeWayAnswers.push_back(Answer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    prompter.threeWayAnswers.push_back(Answer::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(readFileBytes(dir.filePath("example.xml")).contains("x"));
    EXPECT_EQ(prompter.questions.size(), 2u);
}

TEST_F(UnsavedChanges, SaveWithoutAFileNameChoosesOne) {
    form->treeEditor().addPage(form->tree().root(), "p");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  *");
    // Cancelled: nothing written, still changed.
    prompter.fileChoices.push_back(std::nullopt);
    trigger("saveCollection");
    EXPECT_EQ(prompter.filtersOffered.size(), 1u);
    EXPECT_TRUE(form->document().isModified());
    // Chosen: written under that name.
    prompter.fileChoices.push_back(FileChoice{dir.filePath("mine"), 1});
    trigger("saveButton");
    EXPECT_EQ(form->currentFileName(), dir.filePath("mine.xml"));
    EXPECT_TRUE(readFileBytes(dir.filePath("mine.xml")).contains("name=\"p\""));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [mine.xml]");
}

TEST_F(UnsavedChanges, SavingKeepsThePreviousFileAsABackup) {
    openExample();
    const QString file = dir.filePath("example.xml");
    const QByteArray before = readFileBytes(file);
    typeIntoPage();
    trigger("saveCollection");
    EXPECT_EQ(readFileBytes(file + ".bak"), before);
    EXPECT_NE(readFileBytes(file), before);
    // With no backups wanted, none is kept.
    QFile::remove(file + ".bak");
    form->document().setBackups(0, dir.filePath("elsewhere"));
    typeIntoPage();
    trigger("saveCollection");
    EXPECT_FALSE(QFile::exists(file + ".bak"));
}
