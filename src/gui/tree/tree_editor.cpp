#include "tree/tree_editor.h"

#include "app/status_panels.h"
#include "platform/prompter.h"
#include "tree/bound_indexes.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/collection_document.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>
#include <unordered_set>

namespace tw {

namespace {
bool takesChildren(const Node* node) {
    return node->kindImage == kSectionCollapsed || node->kindImage == kSectionExpanded ||
           node->kindImage == kRootKind;
}
} // namespace

TreeEditor::TreeEditor(Workspace& workspace, CollectionDocument& document, StatusPanels& status, Prompter& prompter,
                       QObject* parent)
    : QObject(parent), workspace_(workspace), document_(document), status_(status), prompter_(prompter),
      model_(workspace.model()), view_(workspace.view()) {
    view_.installEventFilter(this);
    connect(&view_, &QTreeView::expanded, this, [this](const QModelIndex& i) { expandedChanged(i, true); });
    connect(&view_, &QTreeView::collapsed, this, [this](const QModelIndex& i) { expandedChanged(i, false); });
    connect(&view_, &QTreeView::customContextMenuRequested, this, &TreeEditor::showTreeMenu);
    connect(&model_, &TreeModel::renamed, &workspace_, &Workspace::nodeRenamed);
    model_.onDrop = [this](Node* dragged, Node* target) { moveNode(dragged, target); };
}

CollectionTree& TreeEditor::tree() const { return workspace_.tree(); }

Node* TreeEditor::addSection(Node* node, const QString& caption) {
    Node* added = addSectionNode(node, caption);
    if (added) status_.showCounts(tree());
    return added;
}

Node* TreeEditor::addSectionNode(Node* node, const QString& caption) {
    Node* added = nullptr;
    if (node) {
        if (!takesChildren(node)) return nullptr;
        added = model_.appendNode(node, caption, 0, 0, -1, makePageRecord({}, caption, 0, 0, 1, -1));
    } else {
        added = model_.appendNode(tree().root(), caption, 0, 0, -1, makePageRecord({}, caption, 0, 0, 1, 20));
    }
    workspace_.rebind(afterInsertion(workspace_.boundIndexes(), tree().indexOf(added)));
    workspace_.noteCollectionEdited();
    return added;
}

Node* TreeEditor::addPage(Node* node, const QString& caption) {
    if (!node || !takesChildren(node)) return nullptr;
    auto page = makePageRecord(" ", caption, 1, 2, 2, -1);
    const int kind = page->imageIndex, selected = page->selectedIndex;
    Node* added = model_.appendNode(node, caption, kind, selected, -1, std::move(page));
    workspace_.rebind(afterInsertion(workspace_.boundIndexes(), tree().indexOf(added)));
    workspace_.noteCollectionEdited();
    return added;
}

void TreeEditor::addSectionToSelected() { addSection(workspace_.selectedNode(), QStringLiteral("Новый раздел")); }

void TreeEditor::addPageToSelected(bool fromMenu) {
    Node* node = workspace_.selectedNode();
    if (!node && fromMenu) return;
    addPage(node, QStringLiteral("Новый код"));
    status_.showCounts(tree());
}

void TreeEditor::deleteSelected() {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    if (!prompter_.askYesNo(QStringLiteral("Удаление"), QStringLiteral("Вы действительно хотите удалить выбранный элемент?"),
                            true))
        return;
    if (!node->parent) {
        document_.resetCollection();
        return;
    }
    const int d = tree().indexOf(node);
    const QString path = nodePath(node);
    const std::vector<int> after = afterDeletion(workspace_.boundIndexes(), d, tree().descendantCount(d));
    QTabBar* tabs = workspace_.tabs();
    // Close the tabs of the nodes that go, from the last to the first.
    for (int t = tabs->count() - 1; t >= 0; --t) {
        if (after[static_cast<size_t>(t)] == kClosedTab) workspace_.removeTabAndActivateNext(t);
        else tabs->setTabData(t, after[static_cast<size_t>(t)]);
    }
    repaintNow();
    model_.removeNode(node);
    workspace_.noteCollectionEdited();
    forgetShownPath(path);
    if (tabs->count() == 0) workspace_.addNoneTab();
    else workspace_.loadNodeIntoTab(tabs->currentIndex(), workspace_.boundIndex(tabs->currentIndex()));
    status_.showCounts(tree());
}

void TreeEditor::removeBranches(const std::vector<Node*>& branches) {
    if (branches.empty()) return;
    const std::unordered_set<const Node*> going(branches.begin(), branches.end());
    auto removed = [&going](const Node* n) {
        for (; n; n = n->parent)
            if (going.count(n)) return true;
        return false;
    };
    std::vector<const Node*> noted = workspace_.tabNodes();
    QTabBar* tabs = workspace_.tabs();
    // Close the tabs of the nodes that go as deletion does, from the last tab to the first.
    bool closed = false;
    for (int t = tabs->count() - 1; t >= 0; --t) {
        if (!removed(noted[static_cast<size_t>(t)])) continue;
        noted.erase(noted.begin() + t);
        workspace_.removeTabAndActivateNext(t);
        closed = true;
    }
    for (Node* n : branches) {
        forgetShownPath(nodePath(n));
        model_.removeNode(n);
    }
    workspace_.noteCollectionEdited();
    workspace_.rebindToNodes(noted);
    if (tabs->count() == 0) workspace_.addNoneTab();
    else if (closed) workspace_.loadNodeIntoTab(tabs->currentIndex(), workspace_.boundIndex(tabs->currentIndex()));
    status_.showCounts(tree());
}

void TreeEditor::forgetShownPath(const QString& removedPath) {
    // The status bar shows the path of the node last clicked; it goes with its node.
    if (status_.text(1).startsWith(removedPath)) status_.setText(1, {});
}

void TreeEditor::renameSelected() {
    Node* node = workspace_.selectedNode();
    if (node && node->parent) view_.edit(model_.indexOf(node));
}

bool TreeEditor::editInProgress() const { return view_.editing(); }

void TreeEditor::enableTreeMenuItems(const Node* node) {
    if (!node || !treeMenu_) return;
    for (QAction* a : treeMenu_->actions()) {
        const QString name = a->objectName();
        bool enabled = true;
        if (node->kindImage == kPageKind && (name == QLatin1String("addSection") || name == QLatin1String("addPage")))
            enabled = false;
        if (node->kindImage == kRootKind && name == QLatin1String("rename")) enabled = false;
        a->setEnabled(enabled);
    }
}

void TreeEditor::showTreeMenu(const QPoint& pos) {
    // A right click selects the node under the pointer; the menu acts on the selected node.
    const QModelIndex at = view_.indexAt(pos);
    if (at.isValid()) view_.setCurrentIndex(at);
    if (Node* node = workspace_.selectedNode()) enableTreeMenuItems(node);
    if (treeMenu_) treeMenu_->popup(view_.viewport()->mapToGlobal(pos));
}

void TreeEditor::setIcon(int menuPosition) {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    int value = -1;
    if (menuPosition >= 0) {
        if (!node->parent) return;  // the root node takes no icon
        value = menuPosition == 0 ? 15 : menuPosition;
    }
    node->stateIndex = value;
    node->page->stateIndex = value;
    model_.nodeChanged(node);
    workspace_.noteCollectionEdited();
}

bool TreeEditor::recursionOn() const { return recursion_ && recursion_->isChecked(); }

void TreeEditor::expandBranch(bool expand) {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    const QModelIndex index = model_.indexOf(node);
    if (expand) view_.expand(index);
    else view_.collapse(index);
}

void TreeEditor::showKindImage(Node* node, bool expanded) {
    if (!isSectionKind(node->kindImage)) return;
    node->kindImage = expanded ? kSectionExpanded : kSectionCollapsed;
    node->selectedImage = node->kindImage;
    model_.nodeChanged(node);
}

void TreeEditor::expandedChanged(const QModelIndex& index, bool expanded) {
    Node* node = model_.nodeOf(index);
    if (!node) return;
    showKindImage(node, expanded);
    if (!recursionOn()) return;
    // With recursion every node below follows. The view's signals are held back meanwhile,
    // so the kind image of each node that changes is set here.
    const QSignalBlocker quiet(&view_);
    std::vector<Node*> stack;
    for (const auto& child : node->children) stack.push_back(child.get());
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n->children.empty()) continue;
        const QModelIndex i = model_.indexOf(n);
        if (view_.isExpanded(i) != expanded) {
            if (expanded) view_.expand(i);
            else view_.collapse(i);
            showKindImage(n, expanded);
        }
        for (const auto& child : n->children) stack.push_back(child.get());
    }
}

void TreeEditor::moveNode(Node* dragged, Node* target) {
    if (!dragged || !target || target->kindImage == kPageKind || !dragged->parent) return;
    for (const Node* n = target; n; n = n->parent)
        if (n == dragged) return;  // onto itself or into its own subtree
    // Note each tab's node (the None tab stands for the root node), move, then re-derive.
    const std::vector<const Node*> noted = workspace_.tabNodes();
    model_.moveToFirstChild(dragged, target);
    workspace_.noteCollectionEdited();
    view_.expand(model_.indexOf(target));
    repaintNow();
    workspace_.rebindToNodes(noted);
}

bool TreeEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &view_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        pressedKey_ = static_cast<QKeyEvent*>(event)->key();
    } else if (event->type() == QEvent::FocusOut) {
        pressedKey_ = 0;
    } else if (event->type() == QEvent::KeyRelease) {
        // Only the release of a key pressed in the tree acts: the release of an Enter that
        // confirmed a dialog or ended a rename elsewhere arrives here on its own.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ours = key == pressedKey_;
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) pressedKey_ = 0;
        if (!ours) return false;
        switch (key) {
        case Qt::Key_Delete:
            if (!editInProgress()) deleteSelected();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Node* node = workspace_.selectedNode(); node && !editInProgress()) {
                const QModelIndex i = model_.indexOf(node);
                if (view_.isExpanded(i)) view_.collapse(i);
                else view_.expand(i);
            }
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (Node* node = workspace_.selectedNode(); node && node->parent) {
                const std::vector<int> bound = workspace_.boundIndexes();
                if (std::find(bound.begin(), bound.end(), tree().indexOf(node)) != bound.end())
                    workspace_.openInActiveTab();
            }
            return false;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tw
