// Times the whole-structure HTML export: a generated collection, and one where many pages
// share one caption (every one after the first takes a bracketed number).
//   bench_structure_export [NODES=20000] [EQUAL_CAPTIONS=2000] [AVERAGE_TEXT_BYTES=1000]
// Prints one line per figure (milliseconds).

#include "collection_generator.h"
#include "exchange/structure_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double exportMs(const tw::CollectionTree& tree, const tw::HighlighterSet& highlighters, const QString& name,
                int& failed) {
    QElapsedTimer timer;
    timer.start();
    const tw::StructureExportOutcome out = tw::exportStructureHtml(tree, highlighters, name, tw::Feedback{});
    const double ms = timer.nsecsElapsed() / 1e6;
    failed += out.failedNodes + (out.indexWritten ? 0 : 1);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    tw::bench::GeneratorOptions options;
    options.nodes = args.size() > 1 ? args[1].toInt() : 20000;
    const int equal = args.size() > 2 ? args[2].toInt() : 2000;
    if (args.size() > 3) options.averageTextBytes = args[3].toInt();

    const tw::HighlighterSet highlighters;
    int failed = 0;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("generated"));
    QDir(dir.path()).mkpath(QStringLiteral("equal"));
    {
        tw::CollectionTree tree;
        tw::bench::generateCollection(tree, options);
        std::printf("nodes: %d\n", tree.count());
        std::printf("export_ms: %.0f\n", exportMs(tree, highlighters, dir.filePath("generated/index"), failed));
    }
    {
        tw::CollectionTree tree;
        for (int i = 0; i < equal; ++i)
            tree.appendChild(tree.root(), QStringLiteral("Loop"), tw::kPageKind, tw::kPageKind, -1,
                             tw::makePageRecord("for (;;) { break; }\r\n", QStringLiteral("Loop"), 2, 2, 2, -1));
        std::printf("equal_captions: %d\n", equal);
        std::printf("equal_captions_export_ms: %.0f\n", exportMs(tree, highlighters, dir.filePath("equal/index"), failed));
        // Again into the same folder: every name is taken already.
        std::printf("equal_captions_again_ms: %.0f\n", exportMs(tree, highlighters, dir.filePath("equal/index"), failed));
    }
    std::printf("failed: %d\n", failed);
    return failed == 0 ? 0 : 1;
}
