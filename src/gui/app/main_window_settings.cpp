// The main window's start-up and shut-down, and the settings of the window itself.

#include "app/main_window.h"

#include "app/help_and_updates.h"
#include "app/ini_file.h"
#include "app/window_placement.h"
#include "editor/editing_aids.h"
#include "hotkeys/snippet_keys.h"
#include "hotkeys/snippet_keys_window.h"
#include "launcher/applications_dialog.h"
#include "launcher/applications_menu.h"
#include "platform/prompter.h"
#include "schemes/colour_scheme_dialog.h"
#include "search/search_commands.h"
#include "search/search_results.h"
#include "storage/file_names.h"
#include "tree/tree_view.h"
#include "workspace/background_read.h"
#include "workspace/collection_document.h"
#include "workspace/recovery.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolBar>

namespace tw {

void MainWindow::readLastFileAhead() {
    // Building and first painting the window take about as long as reading a large collection
    // does; the read need not wait for them. Start-up takes this read over when the settings
    // still name the file then.
    const QString last = IniFile(paths_.settingsFile).readText(QStringLiteral("Files"), QStringLiteral("LastFile"));
    if (!last.isEmpty() && QFileInfo(last).isFile()) readAhead_ = std::make_unique<BackgroundRead>(last, isXmlName(last));
}

void MainWindow::setStartFile(const QString& fileName) {
    startFile_ = fileName;
    readAhead_.reset();  // the last file is not opened at all
}

void MainWindow::startUp() {
    loadSettings();
    applications_->dialog()->loadSettings();
    colourSchemes_->loadSettings();
    applications_->addProgramItems(paths_.programsDir);
    snippetKeys_->listWindow()->loadKeys(paths_.keysFile);
    // The window is painted and stays responsive while the collection is read; the rest of
    // start-up waits for the read, so that a recovery offer finds the collection in place.
    if (!startFile_.isEmpty()) {
        document_->readInBackground(startFile_, isXmlName(startFile_));
        startUpPending_ = true;
    } else {
        startUpPending_ = document_->openLastFile(std::move(readAhead_));
    }
    readAhead_.reset();
    if (!startUpPending_) finishStartUp();
}

void MainWindow::finishStartUp() {
    recovery_->offerRecovery();
    help_->startUpdateCheck();
}

void MainWindow::setBusy(bool busy) {
    // Every command of the window (the menus, toolbars and keys), the tree, the tabs, the
    // editor and the results list are disabled; the status bar with its progress stays as it
    // is. The commands that were enabled before are enabled again afterwards.
    if (busy) {
        pausedFocus_ = focusWidget();
        // The commands are the actions the user can reach: those of the menu bar, the toolbars,
        // every menu and the window itself. Qt's own actions (a toolbar's overflow button,
        // a dock's switch) keep the state Qt gives them.
        std::vector<QWidget*> holders{this, menuBar(), mainBar_, editorBar_};
        for (QMenu* menu : findChildren<QMenu*>()) holders.push_back(menu);
        for (QWidget* holder : holders) {
            for (QAction* a : holder->actions()) {
                if (!a->isEnabled()) continue;
                a->setEnabled(false);
                pausedActions_.emplace_back(a);
            }
        }
    } else {
        for (const QPointer<QAction>& a : pausedActions_)
            if (a) a->setEnabled(true);
        pausedActions_.clear();
    }
    centralWidget()->setEnabled(!busy);
    search_->resultsPanel()->setEnabled(!busy);
    snippetKeys_->setPaused(busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
        // Disabling took the keyboard away; it goes back where it was, by default to the tree.
        QWidget* focus = pausedFocus_ && pausedFocus_->isEnabled() ? pausedFocus_.data() : treeView_;
        focus->setFocus();
    }
}

void MainWindow::shutDown() {
    // A read still running has nothing to show any more; the last file stays named.
    document_->stopReading();
    // An applications list still open is written as if closed, not lost.
    if (applications_->dialog()->isVisible()) applications_->dialog()->close();
    if (!saveSettings()) prompter_.showMessage(unableToWrite(paths_.settingsFile));
    snippetKeys_->unregisterOwnKeys();
    recovery_->discard();  // a normal end: the changes were saved or deliberately dropped
}

void MainWindow::loadSettings() {
    const IniFile ini(paths_.settingsFile);
    const int treeWidth = splitter_->sizes().value(0, 153);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect workArea = screen ? screen->availableGeometry() : screenRect;
    const QString window = QStringLiteral("Window");
    // The client area is saved and restored (never the frame on one side and the client on
    // the other, which moved the window by its title bar at every start).
    int left = ini.readInt(window, QStringLiteral("left"), (screenRect.width() - width()) / 2);
    int top = ini.readInt(window, QStringLiteral("top"), (workArea.height() - height()) / 2);
    const int w = ini.readInt(window, QStringLiteral("width"), width());
    const int h = ini.readInt(window, QStringLiteral("height"), height());
    if (left < 0) left = 1;
    if (top < 0) top = 1;
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens()) areas << s->availableGeometry();
    // A window partly off every screen goes onto the nearest one, its title bar visible. Until
    // the window manager has framed the window its frame is unknown: a title bar is assumed.
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull() && QGuiApplication::platformName() == QLatin1String("xcb")) frame = QMargins(0, 30, 0, 0);
    const QRect placed = placeOnScreens(QRect(left, top, std::max(1, w), std::max(1, h)), areas, frame);
    setGeometry(placed);
    document_->setFileName(ini.readText(QStringLiteral("Files"), QStringLiteral("LastFile")));
    document_->setBackups(ini.readInt(QStringLiteral("Files"), QStringLiteral("Backups"), 1),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups"));
    const QString controls = QStringLiteral("Controls");
    const int splitter = ini.readInt(controls, QStringLiteral("SplitterPos"), treeWidth);
    splitter_->setSizes({splitter, std::max(1, placed.width() - splitter)});
    recursion_->setChecked(ini.readBool(controls, QStringLiteral("Recurse"), false));
    caretLine_->setColours(static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("ALineColor"), 12840943)),
                           static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("AMarkColor"), 14548422)));
}

bool MainWindow::saveSettings() {
    IniFile ini(paths_.settingsFile);
    const QString window = QStringLiteral("Window"), controls = QStringLiteral("Controls");
    const QRect client = geometry();
    ini.writeInt(window, QStringLiteral("left"), client.x());
    ini.writeInt(window, QStringLiteral("top"), client.y());
    ini.writeInt(window, QStringLiteral("width"), client.width());
    ini.writeInt(window, QStringLiteral("height"), client.height());
    ini.writeInt(controls, QStringLiteral("SplitterPos"), splitter_->sizes().value(0, 153));
    ini.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), document_->fileName());
    ini.writeInt(QStringLiteral("Files"), QStringLiteral("Backups"), document_->backupCount());
    ini.writeBool(controls, QStringLiteral("Recurse"), recursion_->isChecked());
    ini.writeInt(controls, QStringLiteral("ALineColor"), static_cast<std::int32_t>(caretLine_->lineColour()));
    ini.writeInt(controls, QStringLiteral("AMarkColor"), static_cast<std::int32_t>(caretLine_->bookmarkedLineColour()));
    return ini.save();
}

} // namespace tw
