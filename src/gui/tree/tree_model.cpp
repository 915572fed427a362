#include "tree/tree_model.h"

#include "app/icons.h"

namespace tw {

TreeModel::TreeModel(CollectionTree& tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) {}

Node* TreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const Node* node) const {
    return node ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const Node* p = nodeOf(parent);
    if (!p) return row == 0 ? createIndex(0, 0, tree_.root()) : QModelIndex();
    if (row >= static_cast<int>(p->children.size())) return {};
    return createIndex(row, 0, p->children[row].get());
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const Node* n = nodeOf(child);
    return n ? indexOf(n->parent) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const Node* p = nodeOf(parent);
    return p ? static_cast<int>(p->children.size()) : 1;
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    const Node* n = nodeOf(index);
    if (!n) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return n->caption;
    case Qt::DecorationRole:
        return Icons::nodePicture(n->kindImage, n->stateIndex);
    default:
        return {};
    }
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace tw
