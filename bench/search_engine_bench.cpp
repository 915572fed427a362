// Times the search engine over every page of a generated collection, beside memmem over
// the same bytes: searches that match nothing (exact, ignoring case, whole word, regular
// expression), and "Найти все" with 10,000 matches filling the results panel.
//   bench_search_engine [NODES=20000] [RUNS=3]
// Prints one line per figure (the median of the runs, milliseconds), and RESULT lines for
// the exact search beside memmem, timed in the same runs.
#include "app/main_window.h"
#include "../tests/gui/window_parts.h"
#include "best_of.h"
#include "collection_generator.h"
#include "search/find_dialogs.h"
#include "search/search_hits.h"
#include "search/search_results.h"
#include "search/text_search.h"
#include "tree/tree_model.h"

#include "silent_prompter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

using tw::bench::medianOf;

namespace {
constexpr const char* kAbsent = "no such text anywhere";
constexpr const char* kMarker = "Zqx_marker";
constexpr int kMarkedPages = 10000;
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    tw::bench::GeneratorOptions options;
    options.nodes = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    QTemporaryDir dir;
    tw::bench::SilentPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(dir.path()));
    form.treeModel()->beginRebuild();
    tw::bench::generateCollection(form.tree(), options);
    // One marker in each of the first pages with text: the matches "Найти все" lists.
    int marked = 0;
    for (tw::Node* node : form.tree().preorder())
        if (marked < kMarkedPages && !node->page->text.empty()) {
            node->page->text.insert(node->page->text.size() / 2, std::string(" ") + kMarker + " ");
            ++marked;
        }
    form.treeModel()->endRebuild();
    const tw::CollectionTree& tree = form.tree();
    size_t bytes = 0;
    for (const tw::Node* node : tree.preorder()) bytes += node->page->text.size();
    std::printf("nodes: %d\ntext_megabytes: %.1f\n", tree.count(), static_cast<double>(bytes) / 1e6);

    bool allAbsent = true;
    const tw::SearchPattern exact(kAbsent);
    const auto timed = tw::bench::medianWithLimit(
        repeats, [&] { allAbsent = tw::findNextText(tree, -1, exact) < 0 && allAbsent; },
        [&] {
            for (const tw::Node* node : tree.preorder()) {
                const std::string& text = node->page->text;
                if (memmem(text.data(), text.size(), kAbsent, std::strlen(kAbsent))) allAbsent = false;
            }
        });
    std::printf("memmem_no_match_ms: %.1f\n", timed.limit);
    tw::bench::printResult("search_exact_ms", timed.work);
    tw::bench::printResult("search_memmem_ms", timed.limit);
    const struct {
        const char* name;
        const char* what;
        tw::SearchOptions options;
    } searches[] = {
        {"ignore_case", kAbsent, {false, false, false}},
        {"whole_word", kAbsent, {true, true, false}},
        {"ignore_case_cyrillic", "нет такого текста", {false, false, false}},
        {"regex", R"(no such \w+ anywhere)", {true, false, true}},
        {"regex_ignore_case", R"(no such \w+ anywhere)", {false, false, true}},
        // No literal to look for first: the pattern is tried at every word.
        {"regex_class_first", R"(\b[a-z]+ nothing\d)", {true, false, true}},
    };
    std::printf("exact_no_match_ms: %.1f\n", timed.work);
    for (const auto& s : searches) {
        const tw::SearchPattern pattern(s.what, s.options);
        const double ms = medianOf(repeats, [&] {
            if (tw::findNextText(tree, -1, pattern) >= 0) allAbsent = false;
        });
        std::printf("%s_no_match_ms: %.1f\n", s.name, ms);
    }

    // "Найти все" as the user runs it: the search and the panel filled and drawn once.
    form.show();
    form.selectNode(tree.nodeAt(1));
    form.search().findInAllPages();
    form.search().findDialog()->setText(QString::fromLatin1(kMarker));
    int rows = 0;
    const double findAllMs = medianOf(repeats, [&] {
        form.search().findAll();
        QApplication::processEvents();
        rows = form.search().resultsPanel()->model().rowCount();
    });
    const tw::SearchHits hits = tw::findAllInTexts(tree, tw::SearchPattern(kMarker));
    const double fillMs = medianOf(repeats, [&] {
        form.search().resultsPanel()->showResults(tw::searchResults(tree, hits, false));
        QApplication::processEvents();
    });
    std::printf("find_all_rows: %d\nfind_all_ms: %.1f\nfind_all_panel_fill_ms: %.1f\n", rows, findAllMs, fillMs);
    const bool right = allAbsent && rows == marked;
    if (!right) std::printf("wrong: a search matched where it must not, or the panel lacks rows\n");
    return right ? 0 : 1;
}
