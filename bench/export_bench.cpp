// Times the HTML and RTF exporters: every page of a generated collection exported on its
// own (as the whole-structure export does), and all texts joined into one large page.
//   bench_export [NODES=20000] [REPEATS=3] [AVERAGE_TEXT_BYTES=1000]
// Prints one line per figure (best of the repeats, milliseconds).

#include "best_of.h"
#include "collection_generator.h"
#include "editor/catalogue.h"
#include "editor/html_export.h"
#include "editor/rtf_export.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using tw::bench::bestOf;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    tw::bench::GeneratorOptions options;
    options.nodes = args.size() > 1 ? args[1].toInt() : 20000;
    const int repeats = args.size() > 2 ? args[2].toInt() : 3;
    if (args.size() > 3) options.averageTextBytes = args[3].toInt();

    tw::CollectionTree tree;
    tw::bench::generateCollection(tree, options);
    const tw::HighlighterSet highlighters;
    std::string joined;
    for (int i = 0; i < tree.count(); ++i)
        joined += tree.pageAt(i).text;
    std::printf("nodes: %d\ntext_mb: %.1f\n", options.nodes, joined.size() / 1e6);

    size_t out = 0;
    const auto everyPage = [&](auto exporter) {
        return bestOf(repeats, [&] {
            for (int i = 0; i < tree.count(); ++i) {
                const tw::PageRecord& page = tree.pageAt(i);
                out += exporter(page.text, highlighters.byPosition(page.language - 1), tw::ExportSettings{}).size();
            }
        });
    };
    std::printf("html_every_page_ms: %.1f\n", everyPage(tw::exportHtml));
    std::printf("rtf_every_page_ms: %.1f\n", everyPage(tw::exportRtf));

    const tw::Highlighter& cpp = highlighters.byPosition(1);
    // The tokenizer alone, for comparison: the exporters' own share is the difference.
    const double tokens = bestOf(repeats, [&] { out += cpp.tokenize(joined).size(); });
    std::printf("tokenize_one_page_ms: %.1f\n", tokens);
    const double html = bestOf(repeats, [&] { out += tw::exportHtml(joined, cpp).size(); });
    const double rtf = bestOf(repeats, [&] { out += tw::exportRtf(joined, cpp).size(); });
    std::printf("html_one_page_ms: %.1f\nhtml_one_page_mb_per_s: %.1f\n", html, joined.size() / 1e3 / html);
    std::printf("rtf_one_page_ms: %.1f\nrtf_one_page_mb_per_s: %.1f\n", rtf, joined.size() / 1e3 / rtf);
    return out > 0 ? 0 : 1;
}
