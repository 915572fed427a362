// Times the import by file search of a generated directory tree: the walk into a plain
// tree and through the window (tree model, tabs, status bar, the dialog's event handling),
// each without and with loading the files' contents (and their languages), beside walking
// the same tree with std::filesystem (and reading every file, for the contents).
//   bench_import [FILES=50000] [FILES_PER_DIRECTORY=50] [RUNS=1]
// Prints the medians of the runs in milliseconds, and RESULT lines.
#include "app/main_window.h"
#include "../tests/gui/window_parts.h"
#include "editor/catalogue.h"
#include "exchange/file_masks.h"
#include "exchange/file_search.h"
#include "exchange/file_search_dialog.h"
#include "best_of.h"
#include "plain_files.h"
#include "silent_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const char* const kExtensions[] = {".pas", ".cpp", ".java", ".sql", ".php", ".html", ".txt", ".cs"};

// files files in directories of perDirectory files, twenty such directories per top one.
bool generateFiles(const QString& root, int files, int perDirectory) {
    const QByteArray line = "    writeln('Привет, мир'); // комментарий к строке кода\r\n";
    QByteArray text;
    for (int i = 0; i < 20; ++i) text += line;
    for (int f = 0; f < files; ++f) {
        const int leaf = f / perDirectory;
        const QString dir = root + QStringLiteral("/top%1/dir%2").arg(leaf / 20).arg(leaf % 20);
        if (f % perDirectory == 0 && !QDir().mkpath(dir)) return false;
        QFile file(dir + QStringLiteral("/file%1%2").arg(f).arg(QLatin1String(kExtensions[f % 8])));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return false;
    }
    return true;
}

double coreImport(const QString& path, bool load, const tw::HighlighterSet& languages, int& nodes) {
    tw::CollectionTree tree;
    tw::TreeImportSink sink(tree);
    tw::FileSearchOptions options;
    options.masks = tw::parseMasks(QStringLiteral("*"));
    options.loadFiles = load;
    options.languages = load ? &languages : nullptr;
    const tw::Feedback fb;
    tw::FileSearch search(options, sink, fb);
    QElapsedTimer t;
    t.start();
    search.run(path, tree.root());
    const double ms = t.nsecsElapsed() / 1e6;
    nodes = tree.count();
    return ms;
}

double windowImport(const QString& path, bool load, int& nodes) {
    QTemporaryDir settings;
    tw::bench::SilentPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(settings.path()));
    form.show();
    form.showFileSearch(false);
    tw::FileSearchDialog* dialog = form.fileSearchDialog();
    dialog->pathEdit()->setText(path);
    dialog->masksEdit()->setText(QStringLiteral("*"));
    dialog->loadBox()->setChecked(load);
    dialog->languageBox()->setChecked(load);
    dialog->sizeEdit()->setText(QStringLiteral("0"));
    QElapsedTimer t;
    t.start();
    dialog->startSearch();
    const double ms = t.nsecsElapsed() / 1e6;
    nodes = form.tree().count();
    dialog->reject();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int perDirectory = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 1;
    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    if (!dir.isValid() || !generateFiles(dir.path(), files, perDirectory)) {
        std::fprintf(stderr, "cannot write the directory tree\n");
        return 1;
    }
    std::printf("files: %d\ngenerate_ms: %.1f\n", files, t.nsecsElapsed() / 1e6);
    const tw::HighlighterSet languages;
    int nodes = 0;
    const std::filesystem::path root = dir.path().toStdString();
    std::uintmax_t walked = 0;
    for (bool load : {false, true}) {
        const char* what = load ? "load_and_language" : "names_only";
        const char* key = load ? "contents" : "names";
        // Each import times itself: making and dropping the tree or the window does not count.
        const auto coreTimed = tw::bench::medianWithLimitOwnTime(
            runs, [&] { return coreImport(dir.path(), load, languages, nodes); },
            [&] { walked += tw::bench::walkTree(root, load); });
        std::printf("core_import_%s_ms: %.1f\nnodes: %d\n", what, coreTimed.work, nodes);
        const int coreNodes = nodes;
        const auto windowTimed = tw::bench::medianWithLimitOwnTime(
            runs, [&] { return windowImport(dir.path(), load, nodes); },
            [&] { walked += tw::bench::walkTree(root, load); });
        std::printf("window_import_%s_ms: %.1f\nnodes: %d\n", what, windowTimed.work, nodes);
        std::printf("filesystem_walk_%s_ms: %.1f\n", what, coreTimed.limit);
        if (coreNodes != nodes || nodes < files) {
            std::printf("wrong: the imports made %d and %d nodes for %d files\n", coreNodes, nodes, files);
            return 1;
        }
        const std::string base = std::string("import_") + key;
        tw::bench::printResult((base + "_ms").c_str(), coreTimed.work);
        tw::bench::printResult((base + "_limit_ms").c_str(), coreTimed.limit);
        tw::bench::printResult((base + "_window_ms").c_str(), windowTimed.work);
        tw::bench::printResult((base + "_window_limit_ms").c_str(), windowTimed.limit);
    }
    std::printf("walked: %ju\n", walked);
    return 0;
}
