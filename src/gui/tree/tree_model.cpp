#include "tree/tree_model.h"

#include "app/icons.h"

#include <QMimeData>

namespace tw {

namespace {
const QString kNodeMime = QStringLiteral("application/x-tarnwick-node");
}

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
    if (!p) return 1;
    if (!shownRows_.isEmpty()) {
        const auto held = shownRows_.constFind(p);
        if (held != shownRows_.constEnd()) return *held;
    }
    return static_cast<int>(p->children.size());
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

bool TreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Node* n = nodeOf(index);
    if (!n || role != Qt::EditRole || !n->parent) return false;
    n->caption = value.toString();
    emit dataChanged(index, index);
    emit renamed(n);
    return true;
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
    const Node* n = nodeOf(index);
    if (!n) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (n->parent) f |= Qt::ItemIsEditable;  // the root node keeps its caption
    return f;
}

QStringList TreeModel::mimeTypes() const { return {kNodeMime}; }

QMimeData* TreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || !nodeOf(indexes.first())) return nullptr;
    auto* data = new QMimeData;
    // The node is named by its absolute index: drags never leave this window.
    data->setData(kNodeMime, QByteArray::number(tree_.indexOf(nodeOf(indexes.first()))));
    return data;
}

bool TreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex&) const {
    return data && data->hasFormat(kNodeMime);
}

bool TreeModel::dropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex& parent) {
    if (!data || !data->hasFormat(kNodeMime)) return false;
    // The view drops onto items (overwrite mode), so parent is the node under the pointer.
    Node* target = nodeOf(parent);
    Node* dragged = tree_.nodeAt(data->data(kNodeMime).toInt());
    if (target && dragged && onDrop) onDrop(dragged, target);
    return false;  // the window has moved the node itself; the view must not remove anything
}

Node* TreeModel::appendNode(Node* parent, QString caption, int kindImage, int selectedImage, int stateIndex,
                            std::unique_ptr<PageRecord> page) {
    const int row = static_cast<int>(parent->children.size());
    if (holding_) {
        if (!shownRows_.contains(parent)) {
            shownRows_.insert(parent, row);
            heldParents_.push_back(parent);
        }
        return tree_.appendChild(parent, std::move(caption), kindImage, selectedImage, stateIndex, std::move(page));
    }
    beginInsertRows(indexOf(parent), row, row);
    Node* node = tree_.appendChild(parent, std::move(caption), kindImage, selectedImage, stateIndex, std::move(page));
    endInsertRows();
    return node;
}

void TreeModel::holdAppends() { holding_ = true; }

void TreeModel::showAppended() {
    for (Node* parent : heldParents_) {
        const int first = shownRows_.value(parent);
        const int last = static_cast<int>(parent->children.size()) - 1;
        beginInsertRows(indexOf(parent), first, last);
        shownRows_.remove(parent);
        endInsertRows();
    }
    heldParents_.clear();
    shownRows_.clear();
}

void TreeModel::releaseAppends() {
    showAppended();
    holding_ = false;
}

void TreeModel::removeNode(Node* node) {
    if (!node->parent) return;
    showAppended();  // views learn of held rows before any row goes
    beginRemoveRows(indexOf(node->parent), node->row, node->row);
    std::unique_ptr<Node> gone = tree_.take(node);
    endRemoveRows();
}

void TreeModel::moveToFirstChild(Node* node, Node* newParent) {
    Node* oldParent = node->parent;
    if (!oldParent) return;
    showAppended();
    if (oldParent == newParent && node->row == 0) return;
    beginMoveRows(indexOf(oldParent), node->row, node->row, indexOf(newParent), 0);
    tree_.insertChild(newParent, 0, tree_.take(node));
    endMoveRows();
}

void TreeModel::nodeChanged(const Node* node) {
    showAppended();
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i);
}

} // namespace tw
