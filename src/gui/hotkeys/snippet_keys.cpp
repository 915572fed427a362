#include "hotkeys/snippet_keys.h"

#include "app/bring_up.h"
#include "app/program_paths.h"
#include "editor/code_editor.h"
#include "hotkeys/assign_key_dialog.h"
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

SnippetKeys::SnippetKeys(CodeEditor& editor, const ProgramPaths& paths, Prompter& prompter, OwnKeyCommands commands,
                         QWidget* windowParent)
    : QObject(windowParent), editor_(editor), prompter_(prompter), commands_(std::move(commands)) {
    registrar_ = new ApplicationHotkeyRegistrar(paths.hotkeyLocks, this);
    registrar_->setReceiver([this](int id) { hotkeyPressed(id); });
    list_ = new SnippetKeysWindow(*registrar_, prompter_, paths.keysFile, windowParent);
    assign_ = new AssignKeyDialog(*list_, prompter_, list_);
    list_->setAssignDialog(assign_);
}

HotkeyRegistrar& SnippetKeys::registrar() { return *registrar_; }

void SnippetKeys::registerOwnKeys() {
    QString report;
    for (const OwnKey& k : kOwnKeys)
        if (!registrar_->registerHotKey(k.id, k.modifiers, k.key))
            report += QString::fromLatin1(k.failure) + QStringLiteral("\r\n");
    if (!report.isEmpty()) prompter_.showMessage(report);
}

void SnippetKeys::unregisterOwnKeys() {
    for (const OwnKey& k : kOwnKeys) registrar_->unregisterHotKey(k.id);
}

void SnippetKeys::hotkeyPressed(int id) {
    // The combinations belong to the program while it runs, but act only while one of its
    // windows is the active one.
    if (!QApplication::activeWindow() || paused_) return;
    switch (id) {
    case 1: commands_.expandBranch(); break;
    case 2: commands_.collapseBranch(); break;
    case 3: commands_.applicationsList(); break;
    case 4: commands_.goToLine(); break;
    case 5: commands_.fileSearch(); break;
    default: break;
    }
    if (id < kFirstTableHotKey) return;
    const int row = id - kFirstTableHotKey;
    if (row >= static_cast<int>(list_->rows().size())) return;
    // One edit like typing: it replaces the selection and reaches the bound page.
    editor_.replaceSelection(list_->rowText(row).toStdString());
}

void SnippetKeys::showList() { bringUp(list_, false); }

} // namespace tw
