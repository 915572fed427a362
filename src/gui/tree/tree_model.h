#pragma once
// The collection tree as an item model for the tree view: one column, the caption,
// the kind picture and the node icon. Structural edits of the tree go through this
// model so that views follow them.

#include "tree/collection_tree.h"

#include <QAbstractItemModel>
#include <QHash>
#include <vector>
#include <functional>

namespace tw {

class TreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TreeModel(CollectionTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Dragging moves nodes inside this tree only; the drop itself is decided by the window.
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    // Called with the dragged node and the node it was dropped on.
    std::function<void(Node* dragged, Node* target)> onDrop;

    QModelIndex indexOf(const Node* node) const;
    Node* nodeOf(const QModelIndex& index) const;

    // The tree was rebuilt wholesale (read, reset): views start over.
    void beginRebuild() {
        showAppended();
        beginResetModel();
    }
    void endRebuild() { endResetModel(); }

    // Structural edits, announced to the views.
    Node* appendNode(Node* parent, QString caption, int kindImage, int selectedImage, int stateIndex,
                     std::unique_ptr<PageRecord> page);
    void removeNode(Node* node);
    // Moves node (with its subtree) to be the first child of newParent.
    void moveToFirstChild(Node* node, Node* newParent);
    // count nodes are about to be appended below parent (and have been).
    void beginAppend(const Node* parent, int count) {
        showAppended();
        const int first = static_cast<int>(parent->children.size());
        beginInsertRows(indexOf(parent), first, first + count - 1);
    }
    void endAppend() { endInsertRows(); }
    // Appending many nodes one at a time (the import): from holdAppends on, appendNode adds
    // to the tree at once but the views are told at showAppended, with one insertion per
    // parent for all its new rows; until then the model shows them the rows they were told
    // of. Call showAppended before events are handled; releaseAppends shows the rest and
    // ends the holding.
    void holdAppends();
    void showAppended();
    void releaseAppends();
    // A node's caption, pictures or icon changed.
    void nodeChanged(const Node* node);

signals:
    // The user gave a node a new caption in place.
    void renamed(Node* node);

private:
    CollectionTree& tree_;
    bool holding_ = false;
    // Parents with rows not yet shown, in the order they got their first one (a parent's own
    // row is then always shown before its children's), and how many rows the views know.
    std::vector<Node*> heldParents_;
    QHash<const Node*, int> shownRows_;
};

} // namespace tw
