#pragma once
// Editing the collection tree: adding sections and pages, deleting, renaming in place,
// node icons, expanding and collapsing (with the recursion toggle), moving by drag and
// drop, and the tree's own keys. Every change keeps each editor tab on its node.

#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QMenu;
class QModelIndex;

namespace tw {

class CollectionDocument;
class CollectionTree;
class Prompter;
class StatusPanels;
class TreeModel;
class TreeView;
class Workspace;
struct Node;

class TreeEditor : public QObject {
    Q_OBJECT
public:
    TreeEditor(Workspace& workspace, CollectionDocument& document, StatusPanels& status, Prompter& prompter,
               QObject* parent = nullptr);

    CollectionTree& tree() const;
    TreeModel& model() const { return model_; }

    // A section below node (only below a section or the root; nullptr elsewhere), or below
    // the root with icon value 20 when no node is given. Refreshes the counts.
    Node* addSection(Node* node, const QString& caption);
    // addSection without refreshing the status-bar counts, for adding many nodes at once.
    Node* addSectionNode(Node* node, const QString& caption);
    // A page below a section or the root; nullptr elsewhere.
    Node* addPage(Node* node, const QString& caption);
    // The toolbar's and the tree menu's commands ("Новый раздел", "Новый код").
    void addSectionToSelected();
    void addPageToSelected(bool fromMenu);

    // Asks, then deletes the selected node with its branch; the root clears the collection.
    void deleteSelected();
    // Removes whole branches (none inside another); tabs bound to removed nodes close.
    void removeBranches(const std::vector<Node*>& branches);
    // Starts editing the selected node's caption in place (never the root).
    void renameSelected();
    bool editInProgress() const;
    // Enables the items of the tree menu that fit node.
    void enableTreeMenuItems(const Node* node);
    // 0..14 an icon of the icon menu, -1 "Нет".
    void setIcon(int menuPosition);
    void expandBranch(bool expand);
    // Moves the dragged node to be the first child of target.
    void moveNode(Node* dragged, Node* target);

    // The recursion toggle of the toolbar and the tree's right-click menu.
    void setRecursionAction(QAction* action) { recursion_ = action; }
    bool recursionOn() const;
    void setTreeMenu(QMenu* menu) { treeMenu_ = menu; }

protected:
    // The tree's keys act on release: Delete, Enter, and Up/Down following open tabs.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void expandedChanged(const QModelIndex& index, bool expanded);
    void showKindImage(Node* node, bool expanded);
    void showTreeMenu(const QPoint& pos);
    void forgetShownPath(const QString& removedPath);

    Workspace& workspace_;
    CollectionDocument& document_;
    StatusPanels& status_;
    Prompter& prompter_;
    TreeModel& model_;
    TreeView& view_;
    QAction* recursion_ = nullptr;
    QMenu* treeMenu_ = nullptr;
    int pressedKey_ = 0;  // the key last pressed while the tree had the focus
};

} // namespace tw
