#include "app/main_window.h"
#include "window_parts.h"
#include "exchange/directory_export_dialog.h"
#include "exchange/folder_chooser.h"
#include "main_window_fixture.h"
#include "../test_files.h"
#include "tree/tree_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

using namespace tw;

namespace {

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs steps on the modal dialog of type D once it is open, then closes it whatever happened.
template <typename D>
void whenModal(std::function<void(D*)> steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr) << "the dialog is not open";
        if (dialog) steps(dialog);
        if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
}

class Exports : public MainWindowTest {
protected:
    void click(int absIndex) {
        form->selectNode(form->tree().nodeAt(absIndex));
        form->workspace().treeClicked();
    }
};

} // namespace

TEST_F(Exports, WholeStructureWritesEveryNodeAndTheIndexThenCleansUp) {
    openExample();
    QDir(dir.path()).mkdir("site");
    prompter.fileChoices.push_back(std::nullopt);  // cancelled: nothing
    trigger("exportStructure");
    EXPECT_TRUE(filesIn(dir.filePath("site")).isEmpty());

    form->treeEditor().addSection(form->tree().root(), "a/b");
    prompter.fileChoices.push_back(FileChoice{dir.filePath("site/index"), 1});
    trigger("exportStructure");
    ASSERT_EQ(prompter.filtersOffered.back().size(), 1u);
    EXPECT_EQ(prompter.filtersOffered.back()[0].pattern, "*.html");
    EXPECT_EQ(filesIn(dir.filePath("site")),
              QStringList({"Hello.html", "Root.html", "index.html", "Новый код.html", "Новый раздел.html"}));
    // The node that cannot be written is named in one box; the rest went on.
    EXPECT_EQ(prompter.messages, QStringList({"Ошибка при сохранении a/b.html"}));
    EXPECT_EQ(form->statusText(1), "Экспортировано страниц: 4");
    EXPECT_EQ(form->findChild<QProgressBar*>("ProgressBar"), nullptr);
    EXPECT_EQ(form->tree().count(), 5);
}

TEST_F(Exports, DirectoryExportNeedsASelectedBranch) {
    form->treeView()->selectionModel()->clear();
    trigger("exportBranchDirectories");
    EXPECT_EQ(prompter.messages, QStringList({"Вы не выбрали ветвь для экспорта!"}));
    EXPECT_FALSE(form->exports().directoryExportDialog()->isVisible());
}

TEST_F(Exports, DirectoryExportDialogWritesTheBranchAndKeepsItsTarget) {
    openExample();
    click(2);  // the page, for the caption
    click(1);  // the section "Новый раздел" with its page
    const QString target = dir.filePath("out");
    QDir(dir.path()).mkdir("out");
    prompter.directoryChoices.push_back(target);
    whenModal<DirectoryExportDialog>([&](DirectoryExportDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Root\\Новый раздел\\");
        EXPECT_FALSE(d->progressBar()->isVisible());
        d->findChild<QToolButton*>("browseButton")->click();
        EXPECT_EQ(d->targetEdit()->text(), target);
        d->saveButton()->click();
        d->saveButton()->click();  // twice: the second set is numbered
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->progressBar()->isVisible());
        EXPECT_EQ(d->progressBar()->value(), 0);
        EXPECT_EQ(d->elementLabel()->text(), "Экспортировано страниц: 1");
    });
    trigger("exportBranchDirectories");
    EXPECT_EQ(form->statusText(1), "Экспортировано страниц: 1");
    EXPECT_EQ(prompter.directoryStarts, std::vector<QString>({QString()}));
    EXPECT_EQ(filesIn(target + "/Новый раздел"), QStringList({"Новый код.txt", "новый код[1].txt"}));
    EXPECT_TRUE(prompter.messages.isEmpty());

    // The field is kept for the next opening; a failure ends the export with the message.
    form->treeEditor().addSection(form->tree().root(), "x/y");
    click(form->tree().count() - 1);
    whenModal<DirectoryExportDialog>([&](DirectoryExportDialog* d) {
        EXPECT_EQ(d->targetEdit()->text(), target);
        d->emptySectionsBox()->setChecked(true);
        d->saveButton()->click();
    });
    trigger("exportBranchDirectories");
    EXPECT_EQ(prompter.messages,
              QStringList({"Ошибка при попытке экспорта.\nНе записаны (имя недопустимо для файла):\nRoot\\x/y\\"}));
    EXPECT_EQ(filesIn(target), QStringList({"Новый раздел"}));

    // Below a regular file nothing can be created (whoever runs the test): the dialog says so.
    prompter.messages.clear();
    ASSERT_TRUE(writeFileBytes(dir.filePath("file"), "x"));
    click(1);
    whenModal<DirectoryExportDialog>([&](DirectoryExportDialog* d) {
        d->targetEdit()->setText(dir.filePath("file") + "/target");
        d->saveButton()->click();
    });
    trigger("exportBranchDirectories");
    EXPECT_EQ(prompter.messages, QStringList({"Ошибка при попытке экспорта."}));

    // A page whose file cannot be written: the message names the file and the reason.
    prompter.messages.clear();
    click(2);
    whenModal<DirectoryExportDialog>([&](DirectoryExportDialog* d) {
        d->targetEdit()->setText(dir.filePath("file") + "/target");
        d->saveButton()->click();
    });
    trigger("exportBranchDirectories");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith("Ошибка при попытке экспорта.\n" + dir.filePath("file") +
                                                "/target/Новый код.txt: "))
        << prompter.messages[0].toStdString();
}

TEST(DirectoryChooser, FollowsTheFieldAndTheTreeAndReturnsTheChosenFolder) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("a/b");
    FolderChooser chooser;
    EXPECT_EQ(chooser.windowTitle(), "Выбор директории");
    const QFileSystemModel* model = chooser.folderModel();
    chooser.setPath(dir.path());
    EXPECT_EQ(chooser.path(), dir.path());
    EXPECT_EQ(model->filePath(chooser.folders()->currentIndex()), dir.path());

    // A folder picked in the tree goes into the field; one typed in the field is shown in the tree.
    chooser.folders()->setCurrentIndex(model->index(dir.filePath("a")));
    EXPECT_EQ(chooser.path(), dir.filePath("a"));
    chooser.pathField()->clear();
    QTest::keyClicks(chooser.pathField(), dir.filePath("a/b"));
    EXPECT_EQ(model->filePath(chooser.folders()->currentIndex()), dir.filePath("a/b"));
    EXPECT_EQ(chooser.path(), dir.filePath("a/b"));

    // Every folder choice of the program is this dialog: OK gives the folder, cancel nothing.
    QtPrompter prompter;
    whenModal<FolderChooser>([&](FolderChooser* d) {
        EXPECT_EQ(d->path(), dir.path());
        d->folders()->setCurrentIndex(d->folderModel()->index(dir.filePath("a")));
        d->findChild<QPushButton*>("okButton")->click();
    });
    EXPECT_EQ(prompter.chooseDirectory(dir.path()), std::optional<QString>(dir.filePath("a")));
    whenModal<FolderChooser>([](FolderChooser* d) { d->findChild<QPushButton*>("cancelButton")->click(); });
    EXPECT_EQ(prompter.chooseDirectory(dir.path()), std::nullopt);
}
