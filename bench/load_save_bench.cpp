// Times reading and writing a collection file against pugixml alone on the same file.
//   bench_load_save [NODES=100000] [REPEATS=3] [AVERAGE_TEXT_BYTES=1000]
// Prints one line per figure (best of the repeats, milliseconds).

#include "best_of.h"
#include "collection_generator.h"
#include "storage/xml_collection.h"
#include "xml/xml_layer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

using tw::bench::bestOf;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    tw::bench::GeneratorOptions options;
    if (args.size() > 1) options.nodes = args[1].toInt();
    const int repeats = args.size() > 2 ? args[2].toInt() : 3;
    if (args.size() > 3) options.averageTextBytes = args[3].toInt();

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.xml");
    const QString out = dir.filePath("out.xml");
    {
        tw::CollectionTree tree;
        tw::bench::generateCollection(tree, options);
        if (!tw::saveCollectionXml(tree, path, {}).written) return 1;
    }
    const qint64 bytes = QFileInfo(path).size();
    std::printf("nodes: %d\nfile_mb: %.1f\n", options.nodes, bytes / 1e6);

    // pugixml alone: read the file and parse it; build nothing else.
    const double pugiParse = bestOf(repeats, [&] {
        QByteArray buffer = readFile(path);
        pugi::xml_document doc;
        tw::xml::loadInPlace(doc, buffer);
    });
    // pugixml alone: save an already parsed document to a file.
    QByteArray parsedBuffer = readFile(path);
    pugi::xml_document parsed;
    tw::xml::loadInPlace(parsed, parsedBuffer);
    const double pugiSave = bestOf(repeats, [&] {
        parsed.save_file(out.toLocal8Bit().constData(), "",
                         pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags,
                         pugi::encoding_utf8);
    });

    std::unique_ptr<tw::CollectionTree> loaded;
    const double load = bestOf(repeats, [&] {
        loaded = std::make_unique<tw::CollectionTree>();
        tw::loadCollectionXml(*loaded, path, {});
    });
    const double save = bestOf(repeats, [&] { tw::saveCollectionXml(*loaded, out, {}); });
    const bool same = readFile(out) == readFile(path);

    std::printf("pugixml_parse_ms: %.1f\npugixml_save_ms: %.1f\n", pugiParse, pugiSave);
    std::printf("load_ms: %.1f\nsave_ms: %.1f\n", load, save);
    std::printf("load_ratio: %.2f\nsave_ratio: %.2f\n", load / pugiParse, save / pugiSave);
    std::printf("round_trip_identical: %s\n", same ? "yes" : "no");
    return same ? 0 : 1;
}
