#include "tree/collection_tree.h"

#include <algorithm>
#include <utility>

namespace tw {

Node::~Node() {
    std::vector<std::unique_ptr<Node>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<Node> last = std::move(pending.back());
        pending.pop_back();
        for (auto& child : last->children) pending.push_back(std::move(child));
        last->children.clear();
    }
}

CollectionTree::CollectionTree() { reset(); }

CollectionTree::~CollectionTree() = default;

void CollectionTree::reset() {
    root_.reset();
    root_ = std::make_unique<Node>();
    root_->caption = QStringLiteral("Root");
    root_->kindImage = kRootKind;
    root_->selectedImage = kRootKind;
    root_->stateIndex = -1;
    root_->page = makePageRecord(std::string(), QStringLiteral("Root"), 0, 3, 3, 20);
    order_.clear();
    invalidate();
}

void CollectionTree::swap(CollectionTree& other) noexcept {
    root_.swap(other.root_);
    order_.swap(other.order_);
    std::swap(dirty_, other.dirty_);
}

void CollectionTree::ensureIndexes() const {
    if (!dirty_) return;
    order_.clear();
    std::vector<Node*> stack{root_.get()};
    root_->level = 0;
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        n->index = static_cast<int>(order_.size());
        order_.push_back(n);
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) {
            (*it)->level = n->level + 1;
            stack.push_back(it->get());
        }
    }
    dirty_ = false;
}

const std::vector<Node*>& CollectionTree::preorder() const {
    ensureIndexes();
    return order_;
}

int CollectionTree::count() const { return static_cast<int>(preorder().size()); }

Node* CollectionTree::nodeAt(int absIndex) const {
    const auto& order = preorder();
    if (absIndex < 0 || absIndex >= static_cast<int>(order.size())) return nullptr;
    return order[absIndex];
}

int CollectionTree::indexOf(const Node* node) const {
    ensureIndexes();
    return node->index;
}

int CollectionTree::levelOf(const Node* node) const {
    ensureIndexes();
    return node->level;
}

Node* CollectionTree::appendChild(Node* parent, QString caption, int kindImage, int selectedImage,
                                  int stateIndex, std::unique_ptr<PageRecord> page) {
    // The new node is last in pre-order exactly when its parent is the last node or one of
    // its ancestors; then the cache only grows by one entry.
    bool staysValid = false;
    if (!dirty_) {
        for (const Node* n = order_.back(); n; n = n->parent)
            if (n == parent) { staysValid = true; break; }
    }
    auto node = std::make_unique<Node>();
    node->caption = std::move(caption);
    node->kindImage = kindImage;
    node->selectedImage = selectedImage;
    node->stateIndex = stateIndex;
    node->page = std::move(page);
    node->parent = parent;
    node->row = static_cast<int>(parent->children.size());
    Node* raw = node.get();
    parent->children.push_back(std::move(node));
    if (staysValid) {
        raw->level = parent->level + 1;
        raw->index = static_cast<int>(order_.size());
        order_.push_back(raw);
    } else {
        invalidate();
    }
    return raw;
}

std::unique_ptr<Node> CollectionTree::take(Node* node) {
    Node* parent = node->parent;
    if (!parent) return nullptr;
    auto& siblings = parent->children;
    std::unique_ptr<Node> taken = std::move(siblings[node->row]);
    siblings.erase(siblings.begin() + node->row);
    for (int r = node->row; r < static_cast<int>(siblings.size()); ++r) siblings[r]->row = r;
    taken->parent = nullptr;
    invalidate();
    return taken;
}

Node* CollectionTree::insertChild(Node* parent, int row, std::unique_ptr<Node> node) {
    auto& siblings = parent->children;
    row = std::clamp(row, 0, static_cast<int>(siblings.size()));
    node->parent = parent;
    Node* raw = node.get();
    siblings.insert(siblings.begin() + row, std::move(node));
    for (int r = row; r < static_cast<int>(siblings.size()); ++r) siblings[r]->row = r;
    invalidate();
    return raw;
}

int CollectionTree::descendantCount(int absIndex) const {
    const auto& order = preorder();
    const int n = static_cast<int>(order.size());
    if (absIndex < 0 || absIndex >= n) return 0;
    const int level = order[absIndex]->level;
    int i = absIndex + 1;
    while (i < n && order[i]->level > level) ++i;
    return i - absIndex - 1;
}

TreeCounts CollectionTree::counts() const {
    TreeCounts c;
    int others = 0;
    for (const Node* n : preorder()) {
        if (n->kindImage == kPageKind) ++c.pages;
        else ++others;
    }
    c.sections = others - 1;
    return c;
}

QString nodePath(const Node* node) {
    std::vector<const Node*> chain;
    for (const Node* n = node; n; n = n->parent) chain.push_back(n);
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) path += (*it)->caption + u'\\';
    return path;
}

void addDescendantCount(const Node* node, int& counter) {
    std::vector<const Node*> stack{node};
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        counter += static_cast<int>(n->children.size());
        for (const auto& child : n->children) stack.push_back(child.get());
    }
}

Node* parentForLevel(const CollectionTree& tree, int level, int high, const NodeList& nodes) {
    if (nodes.empty()) return nullptr;
    for (int i = std::min(high, static_cast<int>(nodes.size()) - 1); i >= 0; --i)
        if (tree.levelOf(nodes[i]) == level - 1) return nodes[i];
    return nullptr;
}

} // namespace tw
