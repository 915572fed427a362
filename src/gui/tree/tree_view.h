#pragma once
#include <QTreeView>

namespace tw {

// The tree view of the main window; it tells whether a caption is being edited in place.
class TreeView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;
    bool editing() const { return state() == QAbstractItemView::EditingState; }
};

} // namespace tw
