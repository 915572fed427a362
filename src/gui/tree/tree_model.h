#pragma once
// The collection tree as an item model for the tree view: one column, the caption,
// the kind picture and the node icon.

#include "tree/collection_tree.h"

#include <QAbstractItemModel>

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
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QModelIndex indexOf(const Node* node) const;
    Node* nodeOf(const QModelIndex& index) const;

    // The tree was rebuilt wholesale (read, reset): views start over.
    void beginRebuild() { beginResetModel(); }
    void endRebuild() { endResetModel(); }

private:
    CollectionTree& tree_;
};

} // namespace tw
