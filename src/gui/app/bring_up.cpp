#include "app/bring_up.h"

#include <QWidget>

namespace tw {

void bringUp(QWidget* dialog, bool modal) {
    if (!dialog->isVisible()) {
        dialog->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
}

} // namespace tw
