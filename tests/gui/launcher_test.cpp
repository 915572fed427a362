// The "Приложения" menu and the applications list with its drop-down menu.
#include "app/ini_file.h"
#include "app/main_window.h"
#include "window_parts.h"
#include "launcher/applications_dialog.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class ApplicationsMenuTest : public testing::Test {
protected:
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;

    QString ini() const { return dir.filePath("Settings.ini"); }
    void writeFile(const QString& path, const QByteArray& text, bool executable = false) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
    void start() {
        form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
        form->setLauncher(&launcher);
        form->show();
    }
    ApplicationsDialog* list() { return form->applications().dialog(); }
    QMenu* dropDown() { return form->findChild<QMenu*>("applicationsMenu"); }
    // The captions of the drop-down, "-" for the separator.
    QStringList dropDownCaptions() {
        QStringList captions;
        for (QAction* a : dropDown()->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return captions;
    }
    QStringList rows() {
        QStringList r;
        for (const AppEntry& e : list()->entries()) r << e.description + "|" + e.object;
        return r;
    }
    void click(const char* button) {
        auto* b = list()->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    void selectRow(int row) {
        list()->list()->setCurrentItem(list()->list()->topLevelItem(row));
    }
};

} // namespace

TEST_F(ApplicationsMenuTest, EntriesStandBeforeTheSeparatorAndOpenTheirObjects) {
    writeFile(ini(), "[Files]\ncount=2\nD0=Editor\nF0=/usr/bin/editor\nD1=Docs\nF1=/home/u/docs\n");
    start();
    EXPECT_EQ(dropDownCaptions(), QStringList({"Editor", "Docs", "-", "Редактировать список"}));
    dropDown()->actions()[1]->trigger();
    EXPECT_EQ(launcher.targets, QStringList{"/home/u/docs"});

    // Deleting Editor leaves Docs as item 0, still opening the folder.
    form->command("applicationsButton")->trigger();
    ASSERT_TRUE(list()->isVisible());
    click("DeleteButton");  // nothing selected: nothing deleted
    EXPECT_EQ(rows().size(), 2);
    selectRow(0);
    click("DeleteButton");
    EXPECT_EQ(rows(), QStringList{"Docs|/home/u/docs"});
    EXPECT_EQ(dropDownCaptions(), QStringList({"Docs", "-", "Редактировать список"}));
    dropDown()->actions()[0]->trigger();
    EXPECT_EQ(launcher.targets, QStringList({"/home/u/docs", "/home/u/docs"}));
    EXPECT_TRUE(prompter.questions.empty());  // deleting asks nothing

    // The last entry too; a new one then goes to the top of the menu.
    selectRow(0);
    click("DeleteButton");
    EXPECT_EQ(dropDownCaptions(), QStringList({"-", "Редактировать список"}));
    prompter.textAnswers = {QStringLiteral("R&D"), QStringLiteral("https://example.org")};
    click("AddButton");
    EXPECT_EQ(dropDownCaptions(), QStringList({"R&&D", "-", "Редактировать список"}));
    dropDown()->actions()[0]->trigger();
    EXPECT_EQ(launcher.targets.last(), "https://example.org");
}

TEST_F(ApplicationsMenuTest, AddingAsksForDescriptionThenObject) {
    struct Case {
        std::vector<std::optional<QString>> answers;
        int questions;
        QStringList messages;
        QStringList rows;
    };
    const std::optional<QString> cancel;
    const Case cases[] = {
        {{cancel}, 1, {}, {}},
        {{QStringLiteral("Docs"), cancel}, 2, {}, {}},
        {{QStringLiteral(" \t ")}, 1, {"Описание не может быть пустым"}, {}},
        {{QStringLiteral("Docs"), QStringLiteral("  ")}, 2, {"Объект не может быть пустым"}, {}},
        // Stored as typed; only the blankness test trims.
        {{QStringLiteral("  Docs "), QStringLiteral(" /home/u ")}, 2, {}, {"  Docs | /home/u "}},
    };
    start();
    for (const Case& c : cases) {
        prompter.textAnswers.assign(c.answers.begin(), c.answers.end());
        prompter.textQuestions.clear();
        prompter.messages.clear();
        list()->addEntry();
        ASSERT_EQ(static_cast<int>(prompter.textQuestions.size()), c.questions);
        EXPECT_EQ(prompter.textQuestions[0].caption, "Добавление объекта");
        EXPECT_EQ(prompter.textQuestions[0].prompt, "Описание:");
        if (c.questions > 1) {
            EXPECT_EQ(prompter.textQuestions[1].prompt, "Объект:");
        }
        EXPECT_EQ(prompter.messages, c.messages);
        EXPECT_EQ(rows(), c.rows);
    }
    EXPECT_EQ(dropDownCaptions(), QStringList({"  Docs ", "-", "Редактировать список"}));

    // The blanks survive closing the dialog and the next start.
    list()->accept();
    form = nullptr;
    start();
    EXPECT_EQ(rows(), QStringList{"  Docs | /home/u "});
}

TEST_F(ApplicationsMenuTest, ClosingTheDialogWritesTheListRenumbered) {
    writeFile(ini(), "[Files]\nLastFile=/x.xml\ncount=3\nD0=A\nF0=/a\nF1=/b\nD2=C\nF2=/c\nD5=old\nF5=/old\n");
    start();
    EXPECT_EQ(rows(), QStringList({"A|/a", "C|/c"}));
    form->command("editApplications")->trigger();
    EXPECT_EQ(IniFile(ini()).readInt("Files", "count", -1), 3);  // written only on closing
    click("OkButton");
    EXPECT_FALSE(list()->isVisible());
    const IniFile written(ini());
    EXPECT_EQ(written.readInt("Files", "count", -1), 2);
    EXPECT_EQ(written.readText("Files", "D1"), "C");
    EXPECT_EQ(written.readText("Files", "F1"), "/c");
    EXPECT_EQ(written.readText("Files", "D5"), "old");
    EXPECT_EQ(written.readText("Files", "LastFile"), "/x.xml");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ApplicationsMenuTest, AListLeftOpenIsWrittenAtShutDownAndARefusedWriteIsReported) {
    start();
    form->applications().showList(false);
    prompter.textAnswers = {QStringLiteral("Docs"), QStringLiteral("/home/u/docs")};
    list()->addEntry();
    form->close();
    const IniFile written(ini());
    EXPECT_EQ(written.readInt("Files", "count", -1), 1);
    EXPECT_EQ(written.readText("Files", "F0"), "/home/u/docs");

    ASSERT_TRUE(QFile::remove(ini()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Settings.ini"));  // no file can be written there
    form->applications().showList(false);
    list()->close();
    EXPECT_EQ(prompter.messages, QStringList{"Unable to write to " + ini()});
}

TEST_F(ApplicationsMenuTest, ShowingTheListAgainKeepsTheOneDialog) {
    start();
    form->applications().showList(false);
    EXPECT_TRUE(list()->isVisible());
    EXPECT_FALSE(list()->isModal());
    form->command("applicationsButton")->trigger();
    form->applications().showList(true);  // already on screen: only comes to the front
    EXPECT_FALSE(list()->isModal());
    EXPECT_EQ(form->findChildren<ApplicationsDialog*>().size(), 1);
    list()->close();
    form->applications().showList(true);
    EXPECT_TRUE(list()->isModal());
    list()->close();
}

TEST_F(ApplicationsMenuTest, ProgramsMenuListsTheExecutablesAndStartsThatFile) {
    const QDir programs(dir.filePath("programs"));
    ASSERT_TRUE(QDir().mkpath(programs.path()));
    writeFile(programs.filePath("a.b.exe"), "#!/bin/sh\n", true);
    writeFile(programs.filePath("Notepad"), "#!/bin/sh\n", true);
    writeFile(programs.filePath("notes.txt"), "text");
    ASSERT_TRUE(QDir().mkpath(programs.filePath("x.exe")));
    start();
    auto* menu = form->findChild<QMenu*>("programsMenu");
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions()) captions << a->text();
    EXPECT_EQ(captions, QStringList({"a", "Notepad"}));
    menu->actions()[0]->trigger();
    EXPECT_EQ(launcher.targets, QStringList{programs.filePath("a.b.exe")});
}

TEST_F(ApplicationsMenuTest, NoProgramsFolderLeavesTheMenuEmpty) {
    start();
    EXPECT_TRUE(form->findChild<QMenu*>("programsMenu")->actions().isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(LaunchTargets, BareNamesAreProgramsOnThePath) {
    QTemporaryDir bin;
    const QString tool = bin.filePath("snippet-tool");
    {
        QFile f(tool);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
    }
    QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    const QString document = bin.filePath("notes.txt");
    QFile(document).open(QIODevice::WriteOnly);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
    struct Case {
        QString target;
        LaunchTarget::Kind kind;
        QString path;
    };
    for (const Case& c : {Case{"snippet-tool", LaunchTarget::Program, tool}, Case{tool, LaunchTarget::Program, tool},
                          Case{document, LaunchTarget::Document, document},
                          Case{"https://example.org/x", LaunchTarget::Address, "https://example.org/x"},
                          Case{"", LaunchTarget::Nothing, ""}}) {
        const LaunchTarget t = resolveLaunchTarget(c.target);
        EXPECT_EQ(t.kind, c.kind) << c.target.toStdString();
        EXPECT_EQ(t.path, c.path) << c.target.toStdString();
    }
    // A bare name found nowhere is a document that does not exist: the launch fails.
    EXPECT_FALSE(DesktopLauncher().shellExecute("no-such-program-anywhere"));
    qputenv("PATH", oldPath);
}

TEST_F(ApplicationsMenuTest, AFailedLaunchSaysSoNamingTheObject) {
    writeFile(ini(), "[Files]\ncount=1\nD0=Editor\nF0=kate\n");
    start();
    launcher.succeeds = false;
    dropDown()->actions()[0]->trigger();
    EXPECT_EQ(prompter.messages, QStringList{launchFailedMessage("kate")});
    EXPECT_TRUE(prompter.messages[0].contains("kate"));
}
