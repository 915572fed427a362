// The file-search dialog: its fields and their enabling, the folder choice, its settings,
// and imports into the window's tree with the tabs kept on their nodes.
#include "app/ini_file.h"
#include "app/main_window.h"
#include "window_parts.h"
#include "editor/code_editor.h"
#include "exchange/file_search_dialog.h"
#include "scripted_prompter.h"
#include "tree/tree_model.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class FileSearchDialogTest : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    QTemporaryDir files;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    FileSearchDialog* dialog = form->fileSearchDialog();

    void write(const QString& relative, const QByteArray& bytes = "x") {
        const QString path = files.path() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void showDialog() {
        form->showFileSearch(false);
        ASSERT_TRUE(dialog->isVisible());
    }
    void search(const QString& masks, bool deleteEmpty = false) {
        showDialog();
        dialog->pathEdit()->setText(files.path());
        dialog->masksEdit()->setText(masks);
        dialog->deleteBox()->setChecked(deleteEmpty);
        QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    }
    QStringList children(const Node* n) const {
        QStringList out;
        for (const auto& c : n->children) out << c->caption;
        out.sort();
        return out;
    }
    void expectModelFollowsTree() {
        // The view's model reports exactly the tree's children at every node.
        TreeModel* m = form->treeModel();
        for (const Node* n : form->tree().preorder())
            ASSERT_EQ(m->rowCount(m->indexOf(n)), static_cast<int>(n->children.size())) << n->caption.toStdString();
    }
};

TEST_F(FileSearchDialogTest, FieldsCaptionsAndEnabling) {
    showDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Поиск файлов"));
    EXPECT_EQ(dialog->loadGroup()->title(), QStringLiteral("Параметры поиска"));
    EXPECT_EQ(dialog->pathEdit()->text(), QDir::rootPath());
    EXPECT_EQ(dialog->masksEdit()->text(), QStringLiteral("*.*"));
    EXPECT_EQ(dialog->masksEdit()->toolTip(), QStringLiteral("Множество расширений указывается через пробел"));
    EXPECT_EQ(dialog->languageBox()->text(), QStringLiteral("Определение языка по расширению"));
    EXPECT_EQ(dialog->languageBox()->toolTip(), QStringLiteral("Существенно замедляет поиск"));
    EXPECT_EQ(dialog->loadBox()->text(), QStringLiteral("Загружать содержимое файлов"));
    EXPECT_EQ(dialog->deleteBox()->text(), QStringLiteral("Удалять пустые разделы"));
    EXPECT_EQ(dialog->sizeEdit()->text(), QStringLiteral("40"));
    EXPECT_EQ(dialog->startButton()->text(), QStringLiteral("Начать поиск"));
    EXPECT_EQ(dialog->stopButton()->text(), QStringLiteral("Стоп"));
    EXPECT_EQ(dialog->cancelButton()->text(), QStringLiteral("Отмена"));
    EXPECT_TRUE(dialog->startButton()->isVisible());
    EXPECT_FALSE(dialog->stopButton()->isVisible());
    for (bool load : {false, true, false}) {
        QTest::mouseClick(dialog->loadBox(), Qt::LeftButton);
        if (load != dialog->loadBox()->isChecked()) QTest::mouseClick(dialog->loadBox(), Qt::LeftButton);
        EXPECT_EQ(dialog->fragmentEdit()->isEnabled(), load);
        EXPECT_EQ(dialog->sizeEdit()->isEnabled(), load);
        EXPECT_TRUE(dialog->masksEdit()->isEnabled());
    }
}

TEST_F(FileSearchDialogTest, SettingsReadOnShowAndWrittenOnClose) {
    {
        IniFile ini(form->paths().settingsFile);
        ini.writeText("Search", "path", files.path());
        ini.writeText("Search", "extensions", "*.c *.h");
        ini.writeBool("Search", "loadfiles", true);
        ini.writeBool("Search", "delempty", true);
        ini.writeText("Search", "MaxSize", "12");
        ASSERT_TRUE(ini.save());
    }
    showDialog();
    EXPECT_EQ(dialog->pathEdit()->text(), files.path());
    EXPECT_EQ(dialog->masksEdit()->text(), QStringLiteral("*.c *.h"));
    EXPECT_TRUE(dialog->loadBox()->isChecked());
    EXPECT_TRUE(dialog->fragmentEdit()->isEnabled());  // enabled by the loaded setting
    EXPECT_FALSE(dialog->languageBox()->isChecked());
    EXPECT_TRUE(dialog->deleteBox()->isChecked());
    EXPECT_EQ(dialog->sizeEdit()->text(), QStringLiteral("12"));

    dialog->masksEdit()->setText("*.pas");
    dialog->languageBox()->setChecked(true);
    dialog->loadBox()->setChecked(false);
    dialog->sizeEdit()->setText("abc");
    dialog->fragmentEdit()->setText("*print*");
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    const IniFile ini(form->paths().settingsFile);
    EXPECT_EQ(ini.readText("Search", "extensions"), QStringLiteral("*.pas"));
    EXPECT_EQ(ini.readText("Search", "deflan"), QStringLiteral("1"));
    EXPECT_EQ(ini.readText("Search", "loadfiles"), QStringLiteral("0"));
    EXPECT_EQ(ini.readText("Search", "MaxSize"), QStringLiteral("abc"));
    EXPECT_EQ(ini.readText("Search", "path"), files.path());
    EXPECT_EQ(ini.readText("Search", "fragment", "none"), QStringLiteral("none"));  // never saved
    // Shown again: the settings come back, the fragment stays as typed.
    showDialog();
    EXPECT_TRUE(dialog->languageBox()->isChecked());
    EXPECT_EQ(dialog->fragmentEdit()->text(), QStringLiteral("*print*"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(FileSearchDialogTest, BrowseChoosesTheSearchPath) {
    showDialog();
    dialog->pathEdit()->setText("/start");
    prompter.directoryChoices = {files.path(), std::nullopt};
    QTest::mouseClick(dialog->browseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->pathEdit()->text(), files.path());
    QTest::mouseClick(dialog->browseButton(), Qt::LeftButton);  // cancelled: unchanged
    EXPECT_EQ(dialog->pathEdit()->text(), files.path());
    EXPECT_EQ(prompter.directoryStarts, (std::vector<QString>{"/start", files.path()}));
}

TEST_F(FileSearchDialogTest, ToolbarOpensModallyTheHotkeyWithout) {
    QAction* button = form->command("importButton");
    ASSERT_TRUE(button->isEnabled());
    button->trigger();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->windowModality(), Qt::NonModal);
    button->trigger();  // already on screen: stays, nothing else opens
    EXPECT_TRUE(dialog->isVisible());
    dialog->reject();
    form->showFileSearch(false);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::NonModal);
}

TEST_F(FileSearchDialogTest, ImportKeepsTabsAndRemovesEmptySections) {
    Node* root = form->tree().root();
    Node* old = form->treeEditor().addSection(root, "old");
    Node* p = form->treeEditor().addPage(root, "P");
    p->page->text = "kept";
    form->selectNode(old);
    form->workspace().openInNewTab();
    form->selectNode(p);
    form->workspace().openInNewTab();
    const int tabsBefore = form->tabs()->count();
    const int tabP = tabsBefore - 1;
    ASSERT_EQ(form->tabs()->tabText(tabP), QStringLiteral("P"));
    ASSERT_EQ(form->tabs()->tabText(tabP - 1), QStringLiteral("old"));
    write("a.pas");
    write("b.txt");
    write("lib/c.pas");
    QDir().mkpath(files.path() + "/src/util");

    search("*.pas");
    EXPECT_EQ(children(root), (QStringList{"P", "a.pas", "lib", "old", "src"}));
    EXPECT_EQ(form->statusText(0), QStringLiteral("Разделов: 4   Страниц: 3"));
    EXPECT_EQ(form->statusText(1), QStringLiteral("Импортировано разделов: 3, страниц: 2"));
    EXPECT_EQ(form->tabs()->count(), tabsBefore);
    EXPECT_EQ(form->workspace().boundIndex(tabP), form->tree().indexOf(p));
    expectModelFollowsTree();

    // Again, removing empty sections: "old", "src" and "util" go, and the tab of "old" closes.
    search("*.pas", true);
    EXPECT_EQ(children(root), (QStringList{"P", "a.pas", "a.pas", "lib", "lib"}));
    ASSERT_EQ(form->tabs()->count(), tabsBefore - 1);
    EXPECT_EQ(form->tabs()->tabText(tabP - 1), QStringLiteral("P"));
    EXPECT_EQ(form->workspace().boundIndex(tabP - 1), form->tree().indexOf(p));
    EXPECT_EQ(form->statusText(0), QStringLiteral("Разделов: 2   Страниц: 5"));
    expectModelFollowsTree();
    // The tab still edits its node.
    form->tabs()->setCurrentIndex(tabP - 1);
    EXPECT_EQ(form->editor()->wholeText(), "kept");
    EXPECT_TRUE(dialog->startButton()->isVisible());
    EXPECT_TRUE(dialog->loadGroup()->isEnabled());
}

TEST_F(FileSearchDialogTest, StopPressedAtOnceImportsTheFirstEntryOnly) {
    for (int i = 0; i < 30; ++i) write(QStringLiteral("f%1.txt").arg(i));
    showDialog();
    bool stopSeen = false;
    // Pressed while the walk lets the window handle its events, before the first entry.
    QTimer::singleShot(0, dialog, [&] {
        stopSeen = dialog->stopButton()->isVisible() && !dialog->cancelButton()->isEnabled();
        QTest::mouseClick(dialog->stopButton(), Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);  // ignored while the walk runs
    });
    search("*");
    EXPECT_TRUE(stopSeen);
    EXPECT_EQ(form->tree().root()->children.size(), 1u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->startButton()->isVisible());
    EXPECT_TRUE(dialog->cancelButton()->isEnabled());
}

TEST_F(FileSearchDialogTest, NodesRemovedDuringAWalkEndIt) {
    for (int i = 0; i < 3; ++i) write(QStringLiteral("d/f%1.txt").arg(i));
    showDialog();
    // The window stays usable when the dialog is not modal: clearing the tree mid-walk
    // must not leave the walk adding below sections that are gone.
    QTimer::singleShot(0, form.get(), [&] { form->document().resetCollection(); });
    search("*");
    EXPECT_EQ(form->tree().count(), 1);
    expectModelFollowsTree();
}

} // namespace
