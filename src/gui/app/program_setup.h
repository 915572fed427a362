#pragma once
// What the program sets up before its window: its names (the user's configuration folder
// is named after it), its icon, and Qt's own texts in Russian.

class QApplication;
class QString;

namespace tw {

// The application name, the desktop entry's name and the window icon.
void setUpProgramIdentity(QApplication& app);
// Loads Qt's Russian translations (file dialogs, standard buttons, colour names) from
// Qt's translations folder; false when they are not installed.
bool loadQtRussian(QApplication& app);
// The file name (without folder) of the installed desktop entry, icon and metainfo.
QString programId();

} // namespace tw
