// Times "find next" over all pages of a large collection when nothing matches: the walk
// from the first page to the last, as the user's command runs it.
//   bench_search [NODES=100000]
#include "app/main_window.h"
#include "../tests/gui/window_parts.h"
#include "collection_generator.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "search/find_dialogs.h"
#include "tree/tree_model.h"

#include "silent_prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    tw::bench::GeneratorOptions options;
    if (argc > 1) options.nodes = std::atoi(argv[1]);
    QTemporaryDir dir;
    tw::bench::SilentPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(dir.path()));
    form.treeModel()->beginRebuild();
    tw::bench::generateCollection(form.tree(), options);
    form.treeModel()->endRebuild();
    form.show();
    form.selectNode(form.tree().nodeAt(1));
    form.workspace().openInActiveTab();

    QElapsedTimer t;
    t.start();
    form.search().findInAllPages();
    form.search().findDialog()->setText(QStringLiteral("no such text anywhere"));
    form.search().findNext();
    const double ms = t.nsecsElapsed() / 1e6;
    const bool walked = form.tree().indexOf(form.selectedNode()) == form.tree().count() - 1 && prompter.informations == 1;
    std::printf("nodes: %d\nfind_all_pages_no_match_ms: %.1f\nreached_last_node: %s\n", form.tree().count(), ms,
                walked ? "yes" : "no");
    return walked ? 0 : 1;
}
