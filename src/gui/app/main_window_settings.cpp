// The main window's start-up and shut-down, and the settings of the window itself.

#include "app/main_window.h"

#include "app/help_and_updates.h"
#include "app/ini_file.h"
#include "editor/editing_aids.h"
#include "hotkeys/snippet_keys.h"
#include "hotkeys/snippet_keys_window.h"
#include "launcher/applications_dialog.h"
#include "launcher/applications_menu.h"
#include "platform/prompter.h"
#include "schemes/colour_scheme_dialog.h"
#include "workspace/collection_document.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

namespace tw {

void MainWindow::startUp() {
    loadSettings();
    applications_->dialog()->loadSettings();
    colourSchemes_->loadSettings();
    applications_->addProgramItems(paths_.programsDir);
    snippetKeys_->listWindow()->loadKeys(paths_.keysFile);
    document_->openLastFile();
    help_->startUpdateCheck();
}

void MainWindow::shutDown() {
    // An applications list still open is written as if closed, not lost.
    if (applications_->dialog()->isVisible()) applications_->dialog()->close();
    if (!saveSettings()) prompter_.showMessage(unableToWrite(paths_.settingsFile));
    snippetKeys_->unregisterOwnKeys();
}

void MainWindow::loadSettings() {
    const IniFile ini(paths_.settingsFile);
    const int treeWidth = splitter_->sizes().value(0, 153);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect workArea = screen ? screen->availableGeometry() : screenRect;
    const QRect desktop = screen ? screen->virtualGeometry() : screenRect;
    const QString window = QStringLiteral("Window");
    int left = ini.readInt(window, QStringLiteral("left"), (screenRect.width() - x()) / 2);
    int top = ini.readInt(window, QStringLiteral("top"), (workArea.height() - y()) / 2);
    int w = ini.readInt(window, QStringLiteral("width"), width());
    int h = ini.readInt(window, QStringLiteral("height"), height());
    // Keep the window on screen.
    if (left < 0) left = 1;
    if (top < 0) top = 1;
    w = std::min(w, desktop.width());
    h = std::min(h, desktop.height());
    move(left, top);
    resize(w, h);
    document_->setFileName(ini.readText(QStringLiteral("Files"), QStringLiteral("LastFile")));
    const QString controls = QStringLiteral("Controls");
    const int splitter = ini.readInt(controls, QStringLiteral("SplitterPos"), treeWidth);
    splitter_->setSizes({splitter, std::max(1, w - splitter)});
    recursion_->setChecked(ini.readBool(controls, QStringLiteral("Recurse"), false));
    caretLine_->setColours(static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("ALineColor"), 12840943)),
                           static_cast<std::uint32_t>(ini.readInt(controls, QStringLiteral("AMarkColor"), 14548422)));
}

bool MainWindow::saveSettings() {
    IniFile ini(paths_.settingsFile);
    const QString window = QStringLiteral("Window"), controls = QStringLiteral("Controls");
    ini.writeInt(window, QStringLiteral("left"), x());
    ini.writeInt(window, QStringLiteral("top"), y());
    ini.writeInt(window, QStringLiteral("width"), width());
    ini.writeInt(window, QStringLiteral("height"), height());
    ini.writeInt(controls, QStringLiteral("SplitterPos"), splitter_->sizes().value(0, 153));
    ini.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), document_->fileName());
    ini.writeBool(controls, QStringLiteral("Recurse"), recursion_->isChecked());
    ini.writeInt(controls, QStringLiteral("ALineColor"), static_cast<std::int32_t>(caretLine_->lineColour()));
    ini.writeInt(controls, QStringLiteral("AMarkColor"), static_cast<std::int32_t>(caretLine_->bookmarkedLineColour()));
    return ini.save();
}

} // namespace tw
