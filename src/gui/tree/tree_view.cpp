#include "tree/tree_view.h"

#include <QDrag>
#include <QMimeData>

namespace tw {

void TreeView::startDrag(Qt::DropActions supportedActions) {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !model()) return;
    QMimeData* data = model()->mimeData({current});
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(current.data(Qt::DecorationRole).value<QPixmap>());
    // Whatever the drop reports, nothing is removed here: the move already happened.
    drag->exec(supportedActions & Qt::MoveAction ? Qt::MoveAction : supportedActions, Qt::MoveAction);
}

} // namespace tw
