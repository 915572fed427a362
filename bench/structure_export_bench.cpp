// Times the whole-structure HTML export: a generated collection, beside writing the same
// files (the same names and byte sizes) with plain system calls, and a collection where
// many pages share one caption (every one after the first takes a bracketed number).
//   bench_structure_export [NODES=20000] [EQUAL_CAPTIONS=2000] [AVERAGE_TEXT_BYTES=1000] [RUNS=1]
// Prints one line per figure (milliseconds), and RESULT lines with the medians of the runs.

#include "best_of.h"
#include "collection_generator.h"
#include "exchange/structure_export.h"
#include "plain_files.h"

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
    const int runs = args.size() > 4 ? args[4].toInt() : 1;

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
        // The files of that export are what the limit writes again: their names and sizes.
        const std::vector<tw::bench::TreeEntry> files = tw::bench::listTree(dir.filePath("generated").toStdString());
        std::uintmax_t bytes = 0;
        for (const auto& f : files) bytes += f.size;
        std::printf("files: %zu\nfiles_mb: %.1f\n", files.size(), bytes / 1e6);
        std::filesystem::remove_all(dir.filePath("generated").toStdString());
        const std::string work = dir.filePath("work").toStdString(), limit = dir.filePath("limit").toStdString();
        bool limitWritten = true;
        const auto timed = tw::bench::medianWithLimit(
            runs, [&] { exportMs(tree, highlighters, dir.filePath("work/index"), failed); },
            [&] { limitWritten = tw::bench::writeTree(limit, files) && limitWritten; },
            [&] {
                tw::bench::emptyFolder(work);
                tw::bench::emptyFolder(limit);
            });
        if (!limitWritten) ++failed;
        tw::bench::emptyFolder(work);
        tw::bench::emptyFolder(limit);
        std::printf("export_median_ms: %.0f\nsame_files_plain_ms: %.0f\n", timed.work, timed.limit);
        tw::bench::printResult("html_export_ms", timed.work);
        tw::bench::printResult("html_export_limit_ms", timed.limit);
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
