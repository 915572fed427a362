// Not a test on its own: a window that is killed with unsaved changes, for the recovery
// test. Usage: tarnwick_crash FOLDER COLLECTION — opens COLLECTION in a window whose files
// lie in FOLDER, adds a page, waits until the recovery copy is written and kills itself
// with SIGKILL, as a crash or a kill -9 would end it.
#include "app/help_and_updates.h"
#include "app/main_window.h"
#include "../../bench/silent_prompter.h"
#include "tree/tree_editor.h"
#include "workspace/collection_document.h"
#include "workspace/recovery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <csignal>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);
    // No box may wait for an answer here (the test's own window holds the program's keys).
    tw::bench::SilentPrompter prompter;
    tw::MainWindow window(prompter, tw::ProgramPaths::inFolder(QString::fromLocal8Bit(argv[1])));
    window.show();
    window.document().read(QString::fromLocal8Bit(argv[2]), true);
    window.recovery().setDelay(50);
    window.treeEditor().addPage(window.tree().root(), QStringLiteral("Не сохранено"));
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(window.recovery().recoveryFile()) && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::raise(SIGKILL);
    return 1;
}
