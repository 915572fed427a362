// Times reading and writing a collection file against pugixml alone on the same file, and
// the text collection format against reading and writing the same bytes plainly.
//   bench_load_save [NODES=100000] [RUNS=3] [AVERAGE_TEXT_BYTES=1000]
// Prints one line per figure (the median of the runs, milliseconds), and RESULT lines.

#include "best_of.h"
#include "collection_generator.h"
#include "plain_files.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "xml/xml_layer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

using tw::bench::medianWithLimit;
using tw::bench::printResult;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto [options, runs] = tw::bench::collectionBenchArguments(app.arguments(), 100000);

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.xml");
    const QString out = dir.filePath("out.xml");
    const QString pugiOut = dir.filePath("pugixml.xml");
    {
        tw::CollectionTree tree;
        tw::bench::generateCollection(tree, options);
        if (!tw::saveCollectionXml(tree, path, {}).written) return 1;
    }
    const qint64 bytes = QFileInfo(path).size();
    std::printf("nodes: %d\nfile_mb: %.1f\n", options.nodes, bytes / 1e6);

    // Reading: both read the file and parse it; the tree is built only by the collection
    // reader. The tree of the previous run is dropped outside the timing.
    std::unique_ptr<tw::CollectionTree> loaded;
    const auto read = medianWithLimit(
        runs,
        [&] {
            loaded = std::make_unique<tw::CollectionTree>();
            tw::loadCollectionXml(*loaded, path, {});
        },
        [&] {
            QByteArray buffer = readFile(path);
            pugi::xml_document doc;
            tw::xml::loadInPlace(doc, buffer);
        },
        [&] { loaded.reset(); });
    loaded = std::make_unique<tw::CollectionTree>();
    if (!tw::loadCollectionXml(*loaded, path, {})) return 1;

    // Writing: pugixml saves a parsed document of the same file; the collection goes out
    // through the safe-save helper. No earlier output is there to be replaced.
    QByteArray parsedBuffer = readFile(path);
    pugi::xml_document parsed;
    tw::xml::loadInPlace(parsed, parsedBuffer);
    const auto write = medianWithLimit(
        runs, [&] { tw::saveCollectionXml(*loaded, out, {}); },
        [&] {
            parsed.save_file(pugiOut.toLocal8Bit().constData(), "",
                             pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags,
                             pugi::encoding_utf8);
        },
        [&] {
            QFile::remove(out);
            QFile::remove(pugiOut);
        });
    const bool same = readFile(out) == readFile(path);

    std::printf("pugixml_parse_ms: %.1f\npugixml_save_ms: %.1f\n", read.limit, write.limit);
    std::printf("load_ms: %.1f\nsave_ms: %.1f\n", read.work, write.work);
    std::printf("load_ratio: %.2f\nsave_ratio: %.2f\n", read.work / read.limit, write.work / write.limit);
    std::printf("round_trip_identical: %s\n", same ? "yes" : "no");
    printResult("xml_read_ms", read.work);
    printResult("xml_read_limit_ms", read.limit);
    printResult("xml_write_ms", write.work);
    printResult("xml_write_limit_ms", write.limit);

    // The text collection format: written through the safe-save helper beside the same
    // bytes written with plain system calls, and read beside reading those bytes.
    const QString text = dir.filePath("bench.txt");
    const std::string plain = dir.filePath("plain.txt").toStdString();
    if (!tw::saveCollectionText(*loaded, text, *loaded->root(), {}).written) return 1;
    std::string textBytes;
    if (!tw::bench::readWholeFile(text.toStdString(), textBytes)) return 1;
    const auto textWrite = medianWithLimit(
        runs, [&] { tw::saveCollectionText(*loaded, text, *loaded->root(), {}); },
        [&] { tw::bench::writeWholeFile(plain, textBytes.data(), textBytes.size()); },
        [&] {
            QFile::remove(text);
            std::remove(plain.c_str());
        });
    std::string readBack;
    const auto textRead = medianWithLimit(
        runs,
        [&] {
            loaded = std::make_unique<tw::CollectionTree>();
            tw::loadCollectionText(*loaded, text, {});
        },
        [&] { tw::bench::readWholeFile(text.toStdString(), readBack); }, [&] {
            loaded.reset();
            readBack = std::string();
        });
    const bool textSame = loaded && loaded->count() == options.nodes;
    std::printf("text_file_mb: %.1f\ntext_round_trip: %s\n", textBytes.size() / 1e6, textSame ? "yes" : "no");
    printResult("text_write_ms", textWrite.work);
    printResult("text_write_limit_ms", textWrite.limit);
    printResult("text_read_ms", textRead.work);
    printResult("text_read_limit_ms", textRead.limit);
    printResult("xml_file_mb", bytes / 1e6);
    return same && textSame ? 0 : 1;
}
