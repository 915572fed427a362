// The collection the window opens at start-up is read in the background: the window takes
// no commands until the read collection is shown, a failure shows its message, the rest of
// start-up waits for the read, and closing meanwhile loses nothing.
#include "app/ini_file.h"
#include "main_window_fixture.h"
#include "storage/xml_collection.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/recovery.h"
#include "../test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTabBar>
#include <QThread>
#include <set>
#include <vector>

using namespace tw;

namespace {

class StartUpRead : public MainWindowTest {
protected:
    // A new window over the folder, as the program makes it at its start: the settings it
    // finds then name the last file, whose read starts while the window is built.
    void restart() {
        form.reset();  // the window before gives up the program's keys first
        form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    }
    void setLastFile(const QString& path) {
        IniFile ini(dir.filePath("Settings.ini"));
        ini.writeText("Files", "LastFile", path);
        ASSERT_TRUE(ini.save());
    }
    QString copyOfExample() {
        const QString copy = dir.filePath("example.xml");
        QFile::copy(QStringLiteral(TARNWICK_FIXTURES "/example.xml"), copy);
        return copy;
    }
    const Node* named(const QString& caption) const {
        for (const Node* n : form->tree().preorder())
            if (n->caption == caption) return n;
        return nullptr;
    }
    // The program's commands: its named actions (Qt's own are named "qt_..." or "_q_...").
    std::vector<QAction*> commands() const {
        std::vector<QAction*> named;
        for (QAction* a : form->findChildren<QAction*>()) {
            const QString name = a->objectName();
            if (!name.isEmpty() && !name.startsWith("qt_") && !name.startsWith("_q_")) named.push_back(a);
        }
        return named;
    }
    bool expanded(const QString& caption) const {
        const Node* n = named(caption);
        return n && form->treeView()->isExpanded(form->treeModel()->indexOf(n));
    }
};

Node* section(CollectionTree& tree, Node* parent, const QString& caption, bool savedOpen) {
    const int kind = savedOpen ? kSectionExpanded : kSectionCollapsed;
    return tree.appendChild(parent, caption, kind, kind, -1, makePageRecord({}, caption, 0, kind, kind, -1));
}

void page(CollectionTree& tree, Node* parent, const QString& caption) {
    tree.appendChild(parent, caption, kPageKind, kPageKind, -1, makePageRecord("text", caption, 1, 2, 2, -1));
}

} // namespace

TEST_F(StartUpRead, NoCommandsUntilTheCollectionIsShownWithTheSectionsSavedOpenOpen) {
    CollectionTree saved;
    Node* open = section(saved, saved.root(), "open", true);
    Node* closed = section(saved, open, "closed", false);
    page(saved, closed, "p1");
    Node* openInClosed = section(saved, closed, "open in closed", true);
    page(saved, openInClosed, "p2");
    section(saved, saved.root(), "open and empty", true);
    const QString path = dir.filePath("saved.xml");
    ASSERT_TRUE(saveCollectionXml(saved, path, {}).written);
    setLastFile(path);
    restart();

    std::set<QAction*> enabledBefore;
    for (QAction* a : commands())
        if (a->isEnabled()) enabledBefore.insert(a);
    ASSERT_FALSE(enabledBefore.empty());

    form->show();
    // The window is up and the read has not been taken in yet: no command, no editing.
    ASSERT_TRUE(form->document().isReading());
    for (QAction* a : commands()) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(form->treeView()->isEnabled());
    EXPECT_FALSE(form->editor()->isEnabled());
    EXPECT_FALSE(form->tabs()->isEnabled());
    form->command("addSection")->trigger();
    form->command("clearTree")->trigger();  // would ask a question
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->statusText(1), "Открытие...");
    EXPECT_TRUE(prompter.questions.empty());

    ASSERT_TRUE(readEnds());
    EXPECT_EQ(form->tree().count(), 7);
    EXPECT_EQ(form->currentFileName(), path);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [saved.xml]");
    EXPECT_EQ(form->statusText(0), "Разделов: 4   Страниц: 2");
    EXPECT_EQ(form->statusText(1), "");
    EXPECT_FALSE(form->document().isModified());
    for (QAction* a : enabledBefore) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(form->treeView()->isEnabled());
    EXPECT_TRUE(form->editor()->isEnabled());

    EXPECT_TRUE(form->treeView()->isExpanded(form->treeModel()->index(0, 0)));
    EXPECT_TRUE(expanded("open"));
    EXPECT_FALSE(expanded("closed"));
    EXPECT_TRUE(expanded("open in closed"));  // shown open once its closed parent is opened
    EXPECT_FALSE(expanded("open and empty"));
    // The open sections keep their picture of an open folder, the closed ones a closed one.
    EXPECT_EQ(named("open")->kindImage, kSectionExpanded);
    EXPECT_EQ(named("closed")->kindImage, kSectionCollapsed);
}

TEST_F(StartUpRead, AFailedReadShowsItsMessageAndLeavesTheWindowUsable) {
    struct Case {
        const char* file;
        QByteArray bytes;  // empty: the file does not exist
        bool onCommandLine;
        const char* message;
        int nodes;  // what stays: XML keeps the nodes read before the failure
    };
    const Case cases[] = {
        {"damaged.xml",
         "<TREE count=\"2\"><Root name=\"Root\" level=\"0\" stindex=\"20\" slindex=\"3\" imindex=\"3\" lan=\"0\"><text></text>"
         "<Раздел name=\"A\" level=\"1\" stindex=\"-1\" slindex=\"0\" imindex=\"0\" lan=\"0\"><text></text></Раздел>"
         "<Раздел name=\"B\" level=\"1\"><text></text></Раздел></Root></TREE>",
         false, "Ошибка при открытии файла", 2},
        {"damaged.txt", "2\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n1\r\n-1\r\n2\r\n", false,
         "Ошибка при загрузке файла", 1},
        {"missing.xml", {}, true, "Ошибка при открытии файла", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        prompter.messages.clear();
        const QString path = dir.filePath(QString::fromUtf8(c.file));
        if (!c.bytes.isEmpty()) {
            ASSERT_TRUE(writeFileBytes(path, c.bytes));
        }
        if (!c.onCommandLine) setLastFile(path);
        restart();
        if (c.onCommandLine) form->setStartFile(path);
        form->show();
        ASSERT_TRUE(readEnds());
        EXPECT_EQ(prompter.messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(form->tree().count(), c.nodes);
        EXPECT_EQ(form->currentFileName(), "");  // a save cannot replace the damaged file unasked
        EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
        EXPECT_EQ(form->statusText(1), "");
        EXPECT_TRUE(form->command("addSection")->isEnabled());
        EXPECT_TRUE(form->treeView()->isEnabled());
        form->close();
    }
}

TEST_F(StartUpRead, TheFileGivenIsReadInPlaceOfTheLastFile) {
    setLastFile(copyOfExample());
    restart();  // the last file is being read ahead
    CollectionTree given;
    page(given, given.root(), "given");
    const QString path = dir.filePath("given.xml");
    ASSERT_TRUE(saveCollectionXml(given, path, {}).written);
    form->setStartFile(path);
    form->show();
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(form->tree().count(), 2);
    EXPECT_NE(named("given"), nullptr);
    EXPECT_EQ(form->currentFileName(), path);
}

TEST_F(StartUpRead, AReadAheadThatEndedBeforeTheWindowWasShownIsTakenOver) {
    const QString last = copyOfExample();
    setLastFile(last);
    restart();
    // Events go through before the first show: the read of the small file has ended by then
    // and nobody was told yet.
    QThread::msleep(200);
    QCoreApplication::processEvents();
    form->show();
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->currentFileName(), last);
    EXPECT_EQ(form->statusText(0), "Разделов: 1   Страниц: 2");
    EXPECT_TRUE(form->command("addSection")->isEnabled());
}

TEST_F(StartUpRead, RecoveryIsOfferedOnceTheCollectionIsReadAndItsChangesStay) {
    const QString last = copyOfExample();
    // The collection opened at start is the last file, or the file named on the command line.
    for (const bool onCommandLine : {false, true}) {
        SCOPED_TRACE(onCommandLine ? "file on the command line" : "last file");
        setLastFile(onCommandLine ? QString() : last);
        CollectionTree unsaved;
        page(unsaved, unsaved.root(), "Не сохранено");
        ASSERT_TRUE(QDir().mkpath(dir.filePath("recovery")));
        ASSERT_TRUE(saveCollectionXml(unsaved, dir.filePath("recovery/recovery.xml"), {}).written);
        ASSERT_TRUE(writeFileBytes(dir.filePath("recovery/recovery-name.txt"), last.toUtf8()));

        prompter.questions.clear();
        prompter.answers.push_back(true);
        restart();
        if (onCommandLine) form->setStartFile(last);
        form->show();
        EXPECT_TRUE(prompter.questions.empty());
        ASSERT_TRUE(readEnds());
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0].text, "Восстановить несохранённые изменения?");
        // The recovered collection is what stays open, not the file read before it.
        EXPECT_NE(named("Не сохранено"), nullptr);
        EXPECT_EQ(form->tree().count(), 2);
        EXPECT_TRUE(form->document().isModified());
        EXPECT_EQ(form->currentFileName(), last);
        EXPECT_TRUE(QFileInfo::exists(form->recovery().recoveryFile()));
        prompter.threeWayAnswers.push_back(Prompter::Answer::No);
        form->close();
    }
}

TEST_F(StartUpRead, ClosingDuringTheReadKeepsTheFileForTheNextStart) {
    const QString last = copyOfExample();
    setLastFile(last);
    restart();
    form->show();
    ASSERT_TRUE(form->document().isReading());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(IniFile(dir.filePath("Settings.ini")).readText("Files", "LastFile"), last);
    form.reset();  // the reader, possibly still at work, is stopped and waited for
    EXPECT_EQ(readFileBytes(last), readFileBytes(QStringLiteral(TARNWICK_FIXTURES "/example.xml")));
}
