#pragma once

class QWidget;

namespace tw {

// Shows one of the window's dialogs, or only brings it to the front when it is already on
// screen (its modality then stays as it is).
void bringUp(QWidget* dialog, bool modal);

} // namespace tw
