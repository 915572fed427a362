#include "search/search_commands.h"

#include "app/bring_up.h"
#include "app/ini_file.h"
#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "search/editor_bytes.h"
#include "search/find_dialogs.h"
#include "search/match_indicators.h"
#include "search/search_hits.h"
#include "search/search_results.h"
#include "search/search_walk.h"
#include "search/text_search.h"
#include "tree/tree_model.h"
#include "workspace/workspace.h"

#include <QTabBar>

namespace tw {

namespace {
const QString kSection = QStringLiteral("Search");
const QString kMatchCase = QStringLiteral("MatchCase");
const QString kWholeWord = QStringLiteral("WholeWord");
const QString kRegularExpression = QStringLiteral("RegularExpression");

} // namespace

SearchCommands::SearchCommands(Workspace& workspace, StatusPanels& status, Prompter& prompter, QString settingsFile,
                               QWidget* dialogParent)
    : QObject(dialogParent), workspace_(workspace), status_(status), prompter_(prompter),
      settingsFile_(std::move(settingsFile)) {
    find_ = new FindDialog(dialogParent);
    replace_ = new ReplaceDialog(dialogParent);
    results_ = new SearchResultsPanel(dialogParent);
    results_->hide();
    indicators_ = new MatchIndicators(*workspace_.editor(), this);
    if (!settingsFile_.isEmpty()) {
        const IniFile ini(settingsFile_);
        options_ = {ini.readBool(kSection, kMatchCase, true), ini.readBool(kSection, kWholeWord, false),
                    ini.readBool(kSection, kRegularExpression, false)};
    }
    find_->optionsBox()->setOptions(options_);
    replace_->optionsBox()->setOptions(options_);
    connect(find_, &FindDialog::findNext, this, &SearchCommands::findNext);
    connect(find_, &FindDialog::findAll, this, &SearchCommands::findAll);
    connect(replace_, &ReplaceDialog::findNext, this, &SearchCommands::replaceDialogFindNext);
    connect(replace_, &ReplaceDialog::replace, this, [this] { replace(false); });
    connect(replace_, &ReplaceDialog::replaceAll, this, [this] { replace(true); });
    for (SearchOptionsBox* box : {find_->optionsBox(), replace_->optionsBox()})
        connect(box, &SearchOptionsBox::changed, this, &SearchCommands::setOptions);
    connect(find_, &FindDialog::textChanged, this, [this] { markMatches(find_->text()); });
    connect(replace_, &ReplaceDialog::textChanged, this, [this] { markMatches(replace_->text()); });
    connect(find_, &FindDialog::hidden, this, &SearchCommands::updateMarks);
    connect(replace_, &ReplaceDialog::hidden, this, &SearchCommands::updateMarks);
    connect(results_, &SearchResultsPanel::resultActivated, this, &SearchCommands::openResult);
    // Listed matches hold absolute indexes: once the tree changes shape they would open other nodes.
    const auto forget = [this] { results_->model().setResults({}); };
    QAbstractItemModel* model = &workspace_.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(model, &QAbstractItemModel::rowsMoved, this, forget);
    connect(model, &QAbstractItemModel::modelReset, this, forget);
}

void SearchCommands::setOptions(const SearchOptions& options) {
    options_ = options;
    find_->optionsBox()->setOptions(options_);
    replace_->optionsBox()->setOptions(options_);
    updateMarks();
    if (settingsFile_.isEmpty()) return;
    IniFile ini(settingsFile_);
    ini.writeBool(kSection, kMatchCase, options_.matchCase);
    ini.writeBool(kSection, kWholeWord, options_.wholeWord);
    ini.writeBool(kSection, kRegularExpression, options_.regularExpression);
    ini.save();  // a refused write is reported when the window writes its settings on closing
}

bool SearchCommands::editorEmpty() const {
    return workspace_.editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) == 0;
}

void SearchCommands::openFindDialog(SearchScope scope) {
    scope_ = scope;
    find_->setFindAllShown(scope == SearchScope::AllPages || scope == SearchScope::NodeNames);
    bringUp(find_, false);
    markMatches(find_->text());
}

void SearchCommands::findInCurrentTab() {
    if (!editorEmpty()) openFindDialog(SearchScope::CurrentTab);
}

void SearchCommands::findInTabs() {
    if (!editorEmpty()) openFindDialog(SearchScope::OpenTabs);
}

void SearchCommands::findInAllPages() {
    if (workspace_.selectedNode()) openFindDialog(SearchScope::AllPages);
}

void SearchCommands::findInNodeNames() {
    if (workspace_.selectedNode()) openFindDialog(SearchScope::NodeNames);
}

void SearchCommands::showReplace() {
    if (editorEmpty()) return;
    bringUp(replace_, false);
    markMatches(replace_->text());
}

void SearchCommands::markMatches(const QString& text) {
    markedText_ = text;
    updateMarks();
}

void SearchCommands::updateMarks() {
    if (find_->isVisible() || replace_->isVisible()) indicators_->show(SearchPattern(markedText_.toStdString(), options_));
    else indicators_->clear();
}

SearchPattern SearchCommands::compile(const QString& text) {
    SearchPattern pattern(text.toStdString(), options_);
    if (!pattern.valid()) prompter_.showMessage(pattern.error());
    return pattern;
}

void SearchCommands::notFound(const QString& text) {
    prompter_.showInformation(QStringLiteral("Текст \"%1\" не найден.").arg(text));
}

void SearchCommands::findInCaptions(const SearchPattern& pattern) {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    const CollectionTree& tree = workspace_.tree();
    const int next = findNextCaption(tree, tree.indexOf(node), pattern);
    if (next < 0) {
        if (pattern.failed()) prompter_.showMessage(pattern.error());
        else notFound(find_->text());
        return;
    }
    workspace_.selectNode(tree.nodeAt(next));
    workspace_.openInActiveTab();
}

void SearchCommands::findNext() {
    const QString shown = find_->text();
    const SearchPattern pattern = compile(shown);
    if (!pattern.valid()) return;
    if (scope_ == SearchScope::NodeNames) {
        findInCaptions(pattern);
        return;
    }
    const bool down = find_->downward();
    CodeEditor& editor = *workspace_.editor();
    const CollectionTree& tree = workspace_.tree();
    for (;;) {
        if (down) editor.setSelectionStart(editor.selectionStart() + editor.selectionLength());
        const std::string_view text = editorBytes(editor);
        const int p = editor.selectionStart();
        const TextMatch m = down ? pattern.findForward(text, p) : pattern.findBackward(text, p);
        if (m.found()) {
            editor.setSelectionStart(m.start);
            editor.setSelectionLength(m.length);
            return;
        }
        if (!down || pattern.failed()) break;
        if (scope_ == SearchScope::OpenTabs) {
            const int target =
                nextTabToSearch(tree, workspace_.boundIndexes(), workspace_.tabs()->currentIndex(), pattern);
            if (target < 0) break;
            workspace_.setActiveTab(target);
            workspace_.selectNode(tree.nodeAt(workspace_.boundIndex(target)));
        } else if (scope_ == SearchScope::AllPages) {
            Node* node = workspace_.selectedNode();
            const int next = nextNodeToSearch(tree, node ? tree.indexOf(node) : tree.count() - 1, pattern);
            if (next < 0) break;
            workspace_.selectNode(tree.nodeAt(next));
        } else {
            break;
        }
        workspace_.openInActiveTab();
        repaintNow();
    }
    if (pattern.failed()) prompter_.showMessage(pattern.error());
    else notFound(shown);
}

void SearchCommands::findAll() {
    if (scope_ != SearchScope::AllPages && scope_ != SearchScope::NodeNames) return;
    const QString shown = find_->text();
    const SearchPattern pattern = compile(shown);
    if (!pattern.valid()) return;
    const bool captions = scope_ == SearchScope::NodeNames;
    const CollectionTree& tree = workspace_.tree();
    const SearchHits hits = captions ? findAllInCaptions(tree, pattern) : findAllInTexts(tree, pattern);
    if (pattern.failed()) {
        prompter_.showMessage(pattern.error());
        return;
    }
    results_->showResults(searchResults(tree, hits, captions));
    status_.setText(1, QStringLiteral("Найдено совпадений: %1, страниц: %2").arg(hits.hits.size()).arg(hits.nodes));
    if (hits.hits.empty()) notFound(shown);
}

void SearchCommands::openResult(const SearchResult& result) {
    const Node* node = workspace_.tree().nodeAt(result.node);
    if (!node) return;  // the tree has lost nodes since the search
    workspace_.selectNode(node);
    workspace_.openInActiveTab();
    if (result.inCaption) return;
    CodeEditor& editor = *workspace_.editor();
    editor.setSelectionStart(result.match.start);
    editor.setSelectionLength(result.match.length);
    editor.setFocus();
}

void SearchCommands::replaceDialogFindNext() {
    find_->setText(replace_->text());
    find_->setDownward(true);
    findNext();
}

void SearchCommands::replace(bool all) {
    find_->setText(replace_->text());
    find_->setDownward(true);
    const SearchPattern pattern = compile(replace_->text());
    if (!pattern.valid()) return;
    const std::string with = replace_->replacement().toStdString();
    CodeEditor& editor = *workspace_.editor();
    // The selection is replaced when it is a match itself, found where it starts.
    const auto selectedMatch = [&] {
        const TextMatch m = pattern.findForward(editorBytes(editor), editor.selectionStart());
        return m.start == editor.selectionStart() && m.length == editor.selectionLength() ? m : TextMatch{};
    };
    for (;;) {
        TextMatch m = selectedMatch();
        if (!m.found()) {
            findNext();
            m = selectedMatch();
        }
        if (!m.found()) return;
        editor.replaceSelection(pattern.replacement(editorBytes(editor), m, with));
        if (!all) return;
    }
}

} // namespace tw
