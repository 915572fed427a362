#pragma once
// Starting the user's programs: the main menu "Приложения" lists the executables of the
// programs folder, and the drop-down of "Открыть файл" the entries of the applications
// list, whose dialog this owns.

#include <QObject>
#include <functional>

class QMenu;

namespace tw {

class ApplicationsDialog;
class Launcher;
class Prompter;
struct ProgramPaths;

class ApplicationsMenu : public QObject {
    Q_OBJECT
public:
    // programsMenu is "Приложения", entriesMenu the drop-down of "Открыть файл".
    ApplicationsMenu(QMenu& programsMenu, QMenu& entriesMenu, const ProgramPaths& paths, Prompter& prompter,
                     std::function<Launcher&()> launcher, QWidget* dialogParent);

    ApplicationsDialog* dialog() const { return dialog_; }
    // Adds one "Приложения" item per program of the folder (start-up).
    void addProgramItems(const QString& folder);
    // The applications-list dialog; one already on screen comes to the front as it is.
    void showList(bool modal);
    // Starts or opens an entry's object; a failure is reported naming it.
    void launch(const QString& object);

private:
    QMenu& programsMenu_;
    Prompter& prompter_;
    std::function<Launcher&()> launcher_;
    ApplicationsDialog* dialog_;
};

} // namespace tw
