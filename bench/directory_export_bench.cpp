// Times the directory export of a whole generated collection (every section a folder, every
// page a text file) beside making the same folders and writing the same files (the same
// names and byte sizes) with plain system calls.
//   bench_directory_export [NODES=100000] [RUNS=3] [AVERAGE_TEXT_BYTES=1000]
// Prints the medians of the runs in milliseconds, and RESULT lines.

#include "best_of.h"
#include "collection_generator.h"
#include "exchange/directory_export.h"
#include "plain_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto [options, runs] = tw::bench::collectionBenchArguments(app.arguments(), 100000);

    tw::CollectionTree tree;
    tw::bench::generateCollection(tree, options);
    QTemporaryDir dir;
    const std::string first = dir.filePath("first").toStdString();
    const std::string work = dir.filePath("work").toStdString(), limit = dir.filePath("limit").toStdString();
    tw::bench::emptyFolder(first);
    tw::DirectoryExportReport report;
    bool ok = tw::exportBranchAsDirectories(tree, *tree.root(), QString::fromStdString(first), false, {}, &report);
    // What the export made is what the limit makes again.
    const std::vector<tw::bench::TreeEntry> entries = tw::bench::listTree(first);
    std::filesystem::remove_all(first);
    std::uintmax_t bytes = 0, files = 0;
    for (const auto& e : entries) {
        bytes += e.size;
        files += e.folder ? 0 : 1;
    }
    std::printf("nodes: %d\npages_written: %d\nfiles: %ju\nfolders: %ju\nfiles_mb: %.1f\n", tree.count(),
                report.pagesWritten, files, entries.size() - files, bytes / 1e6);

    bool limitWritten = true;
    const auto timed = tw::bench::medianWithLimit(
        runs, [&] { ok = tw::exportBranchAsDirectories(tree, *tree.root(), QString::fromStdString(work), false, {}) && ok; },
        [&] { limitWritten = tw::bench::writeTree(limit, entries) && limitWritten; },
        [&] {
            tw::bench::emptyFolder(work);
            tw::bench::emptyFolder(limit);
        });
    std::filesystem::remove_all(work);
    std::filesystem::remove_all(limit);
    std::printf("directory_export_ms: %.1f\nsame_files_plain_ms: %.1f\n", timed.work, timed.limit);
    tw::bench::printResult("dir_export_ms", timed.work);
    tw::bench::printResult("dir_export_limit_ms", timed.limit);
    const bool right = ok && limitWritten && static_cast<std::uintmax_t>(report.pagesWritten) == files;
    if (!right) std::printf("wrong: the export or the plain writes failed\n");
    return right ? 0 : 1;
}
