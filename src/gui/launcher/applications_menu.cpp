#include "launcher/applications_menu.h"

#include "launcher/applications_dialog.h"
#include "launcher/programs_folder.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "app/bring_up.h"

#include <QAction>
#include <QMenu>

namespace tw {

ApplicationsMenu::ApplicationsMenu(QMenu& programsMenu, QMenu& entriesMenu, const ProgramPaths& paths,
                                   Prompter& prompter, std::function<Launcher&()> launcher, QWidget* dialogParent)
    : QObject(dialogParent), programsMenu_(programsMenu), prompter_(prompter), launcher_(std::move(launcher)) {
    dialog_ = new ApplicationsDialog(entriesMenu, paths, prompter, dialogParent);
    connect(dialog_, &ApplicationsDialog::openObject, this,
            [this](const QString& object) { launch(object); });
}

void ApplicationsMenu::addProgramItems(const QString& folder) {
    for (const ProgramFile& program : findPrograms(folder)) {
        QAction* item = programsMenu_.addAction(menuText(program.caption));
        const QString path = program.path;
        connect(item, &QAction::triggered, this, [this, path] { launch(path); });
    }
}

void ApplicationsMenu::launch(const QString& object) {
    if (!launcher_().shellExecute(object)) prompter_.showMessage(launchFailedMessage(object));
}

void ApplicationsMenu::showList(bool modal) { bringUp(dialog_, modal); }

} // namespace tw
