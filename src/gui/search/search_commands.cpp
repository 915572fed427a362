#include "search/search_commands.h"

#include "app/bring_up.h"
#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "search/find_dialogs.h"
#include "search/search_walk.h"
#include "search/text_search.h"
#include "workspace/workspace.h"

#include <QTabBar>

namespace tw {

SearchCommands::SearchCommands(Workspace& workspace, Prompter& prompter, QWidget* dialogParent)
    : QObject(dialogParent), workspace_(workspace), prompter_(prompter) {
    find_ = new FindDialog(dialogParent);
    replace_ = new ReplaceDialog(dialogParent);
    connect(find_, &FindDialog::findNext, this, &SearchCommands::findNext);
    connect(replace_, &ReplaceDialog::findNext, this, &SearchCommands::replaceDialogFindNext);
    connect(replace_, &ReplaceDialog::replace, this, [this] { replace(false); });
    connect(replace_, &ReplaceDialog::replaceAll, this, [this] { replace(true); });
}

bool SearchCommands::editorEmpty() const {
    return workspace_.editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) == 0;
}

void SearchCommands::openFindDialog(SearchScope scope) {
    scope_ = scope;
    bringUp(find_, false);
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
    if (!editorEmpty()) bringUp(replace_, false);
}

void SearchCommands::notFound(const QString& text) {
    prompter_.showInformation(QStringLiteral("Текст \"%1\" не найден.").arg(text));
}

void SearchCommands::findInCaptions() {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    const CollectionTree& tree = workspace_.tree();
    const int next = findNextCaption(tree, tree.indexOf(node), find_->text());
    if (next < 0) {
        notFound(find_->text());
        return;
    }
    workspace_.selectNode(tree.nodeAt(next));
    workspace_.openInActiveTab();
}

void SearchCommands::findNext() {
    if (scope_ == SearchScope::NodeNames) {
        findInCaptions();
        return;
    }
    const QString shown = find_->text();
    const std::string what = shown.toStdString();
    const int n = static_cast<int>(what.size());
    const bool down = find_->downward();
    CodeEditor& editor = *workspace_.editor();
    const CollectionTree& tree = workspace_.tree();
    std::string text;
    for (;;) {
        if (down) editor.setSelectionStart(editor.selectionStart() + editor.selectionLength());
        editor.copyWholeTextInto(text);
        const int p = editor.selectionStart();
        const int q = down ? findForward(text, what, p) : findBackward(text, what, p);
        if (q >= 0) {
            editor.setSelectionStart(q);
            editor.setSelectionLength(n);
            return;
        }
        if (!down) break;
        if (scope_ == SearchScope::OpenTabs) {
            const int target =
                nextTabToSearch(tree, workspace_.boundIndexes(), workspace_.tabs()->currentIndex(), what);
            if (target < 0) break;
            workspace_.setActiveTab(target);
            workspace_.selectNode(tree.nodeAt(workspace_.boundIndex(target)));
        } else if (scope_ == SearchScope::AllPages) {
            Node* node = workspace_.selectedNode();
            const int next = nextNodeToSearch(tree, node ? tree.indexOf(node) : tree.count() - 1, what);
            if (next < 0) break;
            workspace_.selectNode(tree.nodeAt(next));
        } else {
            break;
        }
        workspace_.openInActiveTab();
        repaintNow();
    }
    notFound(shown);
}

void SearchCommands::replaceDialogFindNext() {
    find_->setText(replace_->text());
    find_->setDownward(true);
    findNext();
}

void SearchCommands::replace(bool all) {
    find_->setText(replace_->text());
    find_->setDownward(true);
    const std::string what = replace_->text().toStdString();
    const std::string with = replace_->replacement().toStdString();
    CodeEditor& editor = *workspace_.editor();
    for (;;) {
        if (editor.selectionText() != what) findNext();
        if (!editor.hasSelection()) return;
        editor.replaceSelection(with);
        if (!all) return;
    }
}

} // namespace tw
