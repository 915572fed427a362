#pragma once
#include <QTreeView>

namespace tw {

// The tree view of the main window. It tells whether a caption is being edited in place,
// and its drags never remove rows themselves: a dropped node is moved by the window.
class TreeView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;
    bool editing() const { return state() == QAbstractItemView::EditingState; }

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

} // namespace tw
