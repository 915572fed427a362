// Shows the main window with a collection open and saves pictures of it.
//   tarnwick_screenshot COLLECTION.xml OUT.png [SETTINGS.ini]
// Up to three pages of the collection are opened in tabs of their own; OUT.png shows the
// last one, OUT-1.png, OUT-2.png ... each tab in turn, OUT-search.png the file-search
// dialog. A settings file given as the third argument supplies colours (its LastFile is
// replaced by the collection).
//   tarnwick_screenshot --dialogs OUTDIR
// saves the directory chooser and the directory export dialog as folderChooser.png and directoryExport.png.
//   tarnwick_screenshot --qt-dialogs OUTDIR
// saves Qt's own file dialog and a Yes/No question, with the Russian texts the program
// loads, as qtFileDialog.png and qtQuestion.png.
//   tarnwick_screenshot --help-window GUIDE OUT.png
// saves the help window showing the guide GUIDE (an index.html).
//   tarnwick_screenshot --search-results COLLECTION.xml TEXT OUT.png
// saves the window after "Найти все" for TEXT (ignoring case) among all pages, with the first
// match opened and marked, and the find dialog as OUT-dialog.png.
#include "app/ini_file.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/program_setup.h"
#include "window_parts.h"
#include "exchange/directory_export_dialog.h"
#include "exchange/file_search_dialog.h"
#include "exchange/folder_chooser.h"
#include "platform/prompter.h"
#include "search/find_dialogs.h"
#include "search/search_results.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QLineEdit>
#include <QListWidget>
#include <QFile>
#include <QFileInfo>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

namespace {
int dialogPictures(QApplication& app, const QString& outDir) {
    tw::QtPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(outDir));
    tw::FolderChooser chooser;
    chooser.setPath(QDir::homePath());
    chooser.show();
    tw::DirectoryExportDialog* exporter = form.exports().directoryExportDialog();
    exporter->setWindowTitle(QStringLiteral("Root\\Sorting\\"));
    exporter->targetEdit()->setText(QDir::homePath());
    exporter->show();
    int rc = 1;
    QTimer::singleShot(600, [&] {
        rc = chooser.grab().save(outDir + QStringLiteral("/folderChooser.png")) &&
                     exporter->grab().save(outDir + QStringLiteral("/directoryExport.png"))
                 ? 0
                 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}

int qtDialogPictures(QApplication& app, const QString& outDir) {
    tw::loadQtRussian(app);
    QFileDialog files(nullptr, QString(), QDir::homePath(), QStringLiteral("XML (*.xml);;Текст (*.txt)"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.resize(760, 460);
    files.show();
    QMessageBox question(QMessageBox::Question, QStringLiteral("Tarnwick"), QStringLiteral("Удалить выбранный элемент?"),
                         QMessageBox::Yes | QMessageBox::No);
    question.show();
    int rc = 1;
    QTimer::singleShot(800, [&] {
        rc = files.grab().save(outDir + QStringLiteral("/qtFileDialog.png")) &&
                     question.grab().save(outDir + QStringLiteral("/qtQuestion.png"))
                 ? 0
                 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}

int helpWindowPicture(QApplication& app, const QString& guide, const QString& out) {
    tw::HelpWindow window;
    window.resize(1220, 640);
    window.open(guide);
    window.show();
    window.contents()->setCurrentRow(1);
    int rc = 1;
    QTimer::singleShot(500, [&] {
        rc = window.grab().save(out) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}

// A settings file in settingsDir whose last file is collection (colours from settings, if given).
void settingsOpening(const QTemporaryDir& settingsDir, const QString& collection, const QString& settings = {}) {
    const QString ini = settingsDir.filePath(QStringLiteral("Settings.ini"));
    if (!settings.isEmpty()) QFile::copy(settings, ini);
    tw::IniFile file(ini);
    file.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), QFileInfo(collection).absoluteFilePath());
    file.save();
}

// Shows the window and waits until its start-up has read the collection.
void showWithCollection(tw::MainWindow& form) {
    form.show();
    while (form.document().isReading()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

int searchResultsPicture(QApplication& app, const QString& collection, const QString& text, const QString& out) {
    QTemporaryDir settingsDir;
    settingsOpening(settingsDir, collection);
    tw::QtPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(settingsDir.path()));
    prompter.setParent(&form);
    form.resize(980, 640);
    showWithCollection(form);
    form.selectNode(form.tree().nodeAt(0));
    form.search().findInAllPages();
    tw::FindDialog* dialog = form.search().findDialog();
    form.search().setOptions({false, false, false});
    dialog->setText(text);
    form.search().findAll();
    tw::SearchResultsPanel* panel = form.search().resultsPanel();
    if (panel->model().rowCount() > 0) form.search().openResult(panel->model().result(0));
    int rc = 1;
    QTimer::singleShot(500, [&] {
        const QString base = out.endsWith(QLatin1String(".png")) ? out.chopped(4) : out;
        rc = form.grab().save(out) && dialog->grab().save(base + QStringLiteral("-dialog.png")) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--dialogs")) return dialogPictures(app, args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--qt-dialogs")) return qtDialogPictures(app, args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("--help-window")) return helpWindowPicture(app, args[2], args[3]);
    if (args.size() == 5 && args[1] == QLatin1String("--search-results"))
        return searchResultsPicture(app, args[2], args[3], args[4]);
    if (args.size() < 3) return 2;
    QTemporaryDir settingsDir;
    settingsOpening(settingsDir, args[1], args.size() > 3 ? args[3] : QString());
    tw::QtPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(settingsDir.path()));
    prompter.setParent(&form);
    form.resize(860, 560);
    showWithCollection(form);
    if (auto* tree = form.findChild<QTreeView*>(QStringLiteral("treeView"))) tree->expandAll();
    std::vector<const tw::Node*> pages;
    for (const tw::Node* n : form.tree().preorder())
        if (n->kindImage == tw::kPageKind) pages.push_back(n);
    if (pages.size() > 3) pages.erase(pages.begin(), pages.end() - 3);
    for (const tw::Node* page : pages) {
        form.selectNode(page);
        form.workspace().openInNewTab();
    }
    int rc = 1;
    QTimer::singleShot(400, [&] {
        rc = form.grab().save(args[2]) ? 0 : 1;
        const QString base = args[2].endsWith(QLatin1String(".png")) ? args[2].chopped(4) : args[2];
        for (int t = 0; t < form.tabs()->count(); ++t) {
            form.tabs()->setCurrentIndex(t);
            QCoreApplication::processEvents();
            form.grab().save(base + QStringLiteral("-%1.png").arg(t + 1));
        }
        form.showFileSearch(false);
        QCoreApplication::processEvents();
        form.fileSearchDialog()->grab().save(base + QStringLiteral("-search.png"));
        app.quit();
    });
    app.exec();
    return rc;
}
