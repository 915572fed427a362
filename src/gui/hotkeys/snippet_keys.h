#pragma once
// Key combinations that work while the program is active: the program's own five keys
// (Ctrl+Q, Ctrl+W, Ctrl+F, Ctrl+D, Alt+S) and the text-insertion keys of the snippet
// table, whose list window and assignment dialog this owns.

#include <QObject>
#include <functional>

namespace tw {

class ApplicationHotkeyRegistrar;
class AssignKeyDialog;
class CodeEditor;
class HotkeyRegistrar;
class Prompter;
class SnippetKeysWindow;
struct ProgramPaths;

// What the own keys do.
struct OwnKeyCommands {
    std::function<void()> expandBranch;      // Ctrl+Q
    std::function<void()> collapseBranch;    // Ctrl+W
    std::function<void()> applicationsList;  // Ctrl+F
    std::function<void()> goToLine;          // Alt+S
    std::function<void()> fileSearch;        // Ctrl+D
};

class SnippetKeys : public QObject {
    Q_OBJECT
public:
    SnippetKeys(CodeEditor& editor, const ProgramPaths& paths, Prompter& prompter, OwnKeyCommands commands,
                QWidget* windowParent);

    HotkeyRegistrar& registrar();
    SnippetKeysWindow* listWindow() const { return list_; }
    AssignKeyDialog* assignDialog() const { return assign_; }

    // Registers the own keys; the failures are reported in one message.
    void registerOwnKeys();
    void unregisterOwnKeys();
    // A press of a registered combination; ignored while the program is not active or the
    // keys are paused.
    void hotkeyPressed(int id);
    // While the window reads a collection its keys do nothing: they would act on a tree that
    // is about to be replaced.
    void setPaused(bool paused) { paused_ = paused; }
    // "Назначение горячих клавиш для вставки текста": the list window.
    void showList();

private:
    CodeEditor& editor_;
    Prompter& prompter_;
    OwnKeyCommands commands_;
    ApplicationHotkeyRegistrar* registrar_;
    SnippetKeysWindow* list_;
    AssignKeyDialog* assign_;
    bool paused_ = false;
};

} // namespace tw
