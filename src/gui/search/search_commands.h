#pragma once
// Find and replace in the four scopes: the current tab, the open tabs, the names of the
// nodes and the texts of all nodes. Owns the modeless find and replace dialogs.

#include <QObject>

namespace tw {

class FindDialog;
class Prompter;
class ReplaceDialog;
class Workspace;

enum class SearchScope { CurrentTab = 1, OpenTabs = 2, NodeNames = 3, AllPages = 4 };

class SearchCommands : public QObject {
    Q_OBJECT
public:
    SearchCommands(Workspace& workspace, Prompter& prompter, QWidget* dialogParent);

    FindDialog* findDialog() const { return find_; }
    ReplaceDialog* replaceDialog() const { return replace_; }
    SearchScope scope() const { return scope_; }

    // The "Найти" items: each opens the find dialog for its scope (the text scopes only
    // when the editor holds text, the tree scopes only when a node is selected).
    void findInCurrentTab();
    void findInTabs();
    void findInAllPages();
    void findInNodeNames();
    // "Заменить...": the replace dialog, when the editor holds text.
    void showReplace();
    // "Find next" of the find dialog in the chosen scope.
    void findNext();
    // "Find next", "Replace" and "Replace all" of the replace dialog (the current tab).
    void replaceDialogFindNext();
    void replace(bool all);

private:
    void openFindDialog(SearchScope scope);
    bool editorEmpty() const;
    void findInCaptions();
    void notFound(const QString& text);

    Workspace& workspace_;
    Prompter& prompter_;
    FindDialog* find_;
    ReplaceDialog* replace_;
    SearchScope scope_ = SearchScope::CurrentTab;
};

} // namespace tw
