// The main window's part of the text-insertion hotkeys: its own five keys, the dispatch of
// every registered combination, and the command that opens the hotkey list window.
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "hotkeys/hotkey_table.h"
#include "hotkeys/snippet_keys_window.h"
#include "platform/hotkey_registrar.h"
#include "platform/prompter.h"

#include <QApplication>

namespace tw {

namespace {
struct OwnKey {
    int id;
    int modifiers;
    char key;
    const char* failure;
};
// In the order of registration and of the failure report.
constexpr OwnKey kOwnKeys[] = {
    {1, kModControl, 'Q', "Unable to assign Ctrl-Q as hotkey."},
    {2, kModControl, 'W', "Unable to assign Ctrl-W as hotkey."},
    {3, kModControl, 'F', "Unable to assign Ctrl-F as hotkey."},
    {5, kModControl, 'D', "Unable to assign Ctrl-D as hotkey."},
    {4, kModAlt, 'S', "Unable to assign Alt-S as hotkey."},
};
} // namespace

HotkeyRegistrar& MainWindow::hotkeyRegistrar() { return *registrar_; }

void MainWindow::registerOwnKeys() {
    QString report;
    for (const OwnKey& k : kOwnKeys)
        if (!registrar_->registerHotKey(k.id, k.modifiers, k.key))
            report += QString::fromLatin1(k.failure) + QStringLiteral("\r\n");
    if (!report.isEmpty()) prompter_.showMessage(report);
}

void MainWindow::hotkeyPressed(int id) {
    // The combinations belong to the program while it runs, but act only while one of its
    // windows is the active one.
    if (!QApplication::activeWindow()) return;
    switch (id) {
    case 1: expandBranch(true); break;
    case 2: expandBranch(false); break;
    case 3: showApplicationsList(false); break;
    case 4: showGoToLine(); break;
    case 5: showFileSearch(false); break;
    default: break;
    }
    if (id < kFirstTableHotKey) return;
    const int row = id - kFirstTableHotKey;
    if (row >= static_cast<int>(snippetKeys_->rows().size())) return;
    // One edit like typing: it replaces the selection and reaches the bound page.
    editor_->replaceSelection(snippetKeys_->rowText(row).toStdString());
}

void MainWindow::showSnippetKeys() {
    snippetKeys_->show();
    snippetKeys_->raise();
    snippetKeys_->activateWindow();
}

} // namespace tw
