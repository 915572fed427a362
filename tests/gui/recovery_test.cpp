// Unsaved changes come back after the program was killed.
#include "main_window_fixture.h"
#include "window_parts.h"
#include "workspace/recovery.h"
#include "../test_files.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace tw;

namespace {

class RecoveryTest : public MainWindowTest {
protected:
    QString example() {
        const QString copy = dir.filePath("example.xml");
        QFile::copy(QStringLiteral(TARNWICK_FIXTURES "/example.xml"), copy);
        return copy;
    }
    bool hasPage(const QString& caption) {
        for (const Node* n : form->tree().preorder())
            if (n->caption == caption) return true;
        return false;
    }
};

} // namespace

TEST_F(RecoveryTest, AKilledProgramsChangesAreOfferedBackAtTheNextStart) {
    const QString file = example();
    const QByteArray saved = readFileBytes(file);
    QProcess crash;
    crash.start(QStringLiteral(TARNWICK_CRASH_PROGRAM), {dir.path(), file});
    ASSERT_TRUE(crash.waitForFinished(60000));
    ASSERT_EQ(crash.exitStatus(), QProcess::CrashExit) << crash.readAllStandardError().toStdString();
    EXPECT_EQ(readFileBytes(file), saved);  // the collection itself was never written

    // Declined: the copy is dropped and the collection stays as saved.
    {
        const QString keep = dir.filePath("keep");
        QDir().mkpath(keep);
        QFile::copy(dir.filePath("recovery/recovery.xml"), keep + "/recovery.xml");
        QFile::copy(dir.filePath("recovery/recovery-name.txt"), keep + "/recovery-name.txt");
        prompter.answers.push_back(false);
        form->show();
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0].text, "Восстановить несохранённые изменения?");
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("recovery/recovery.xml")));
        form->close();
        QFile::copy(keep + "/recovery.xml", dir.filePath("recovery/recovery.xml"));
        QFile::copy(keep + "/recovery-name.txt", dir.filePath("recovery/recovery-name.txt"));
    }

    // Accepted: the changes are back, marked as changed, under the collection's own name.
    form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    prompter.questions.clear();
    prompter.answers.push_back(true);
    form->show();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_TRUE(hasPage("Не сохранено"));
    EXPECT_TRUE(form->document().isModified());
    EXPECT_EQ(form->currentFileName(), file);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml*]");
    // Saving writes them into the collection and removes the recovery copy.
    trigger("saveCollection");
    EXPECT_TRUE(readFileBytes(file).contains("Не сохранено"));
    EXPECT_FALSE(QFileInfo::exists(form->recovery().recoveryFile()));
}

TEST_F(RecoveryTest, TheCopyFollowsChangesAndANormalEndRemovesIt) {
    form->show();
    openExample();
    form->recovery().setDelay(20);
    EXPECT_FALSE(QFileInfo::exists(form->recovery().recoveryFile()));
    form->treeEditor().addPage(form->tree().root(), "p");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(form->recovery().recoveryFile()), 5000);
    EXPECT_TRUE(readFileBytes(form->recovery().recoveryFile()).contains("name=\"p\""));
    // Closing and dropping the changes is a normal end: nothing is offered next time.
    prompter.threeWayAnswers.push_back(Prompter::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(QFileInfo::exists(form->recovery().recoveryFile()));
}
