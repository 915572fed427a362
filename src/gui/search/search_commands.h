#pragma once
// Find and replace in the four scopes: the current tab, the open tabs, the names of the
// nodes and the texts of all nodes. Owns the modeless find and replace dialogs with their
// options (remembered in Settings.ini, [Search]), the list of every match of "Найти все"
// and the marks on the matches in the editor while a dialog is open.

#include "search/search_pattern.h"

#include <QObject>
#include <QString>

namespace tw {

class FindDialog;
class MatchIndicators;
class Prompter;
class ReplaceDialog;
class SearchResultsPanel;
class StatusPanels;
class Workspace;
struct SearchResult;

enum class SearchScope { CurrentTab = 1, OpenTabs = 2, NodeNames = 3, AllPages = 4 };

class SearchCommands : public QObject {
    Q_OBJECT
public:
    SearchCommands(Workspace& workspace, StatusPanels& status, Prompter& prompter, QString settingsFile,
                   QWidget* dialogParent);

    FindDialog* findDialog() const { return find_; }
    ReplaceDialog* replaceDialog() const { return replace_; }
    SearchResultsPanel* resultsPanel() const { return results_; }
    MatchIndicators& indicators() const { return *indicators_; }
    SearchScope scope() const { return scope_; }

    // The options of both dialogs; setting them shows them in both and writes them to the
    // settings file.
    const SearchOptions& options() const { return options_; }
    void setOptions(const SearchOptions& options);

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
    // "Найти все" of the find dialog (all pages, node names): every match in the results panel.
    void findAll();
    // Opens the node of a listed match in the active tab and selects the match.
    void openResult(const SearchResult& result);
    // "Find next", "Replace" and "Replace all" of the replace dialog (the current tab).
    void replaceDialogFindNext();
    void replace(bool all);

private:
    void openFindDialog(SearchScope scope);
    bool editorEmpty() const;
    // The pattern of text with the options; a pattern that does not compile is reported.
    SearchPattern compile(const QString& text);
    void findInCaptions(const SearchPattern& pattern);
    void notFound(const QString& text);
    // The marks follow the text of the dialog last edited while a dialog is open.
    void markMatches(const QString& text);
    void updateMarks();

    Workspace& workspace_;
    StatusPanels& status_;
    Prompter& prompter_;
    QString settingsFile_;
    SearchOptions options_;
    FindDialog* find_;
    ReplaceDialog* replace_;
    SearchResultsPanel* results_;
    MatchIndicators* indicators_;
    QString markedText_;
    SearchScope scope_ = SearchScope::CurrentTab;
};

} // namespace tw
