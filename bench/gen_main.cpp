// tarnwick-gen NODES OUT [AVERAGE_TEXT_BYTES]: writes a synthetic collection file.
#include "collection_generator.h"
#include "storage/xml_collection.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tarnwick-gen NODES OUT [AVERAGE_TEXT_BYTES]\n");
        return 2;
    }
    tw::bench::GeneratorOptions options;
    options.nodes = args[1].toInt();
    if (args.size() > 3) options.averageTextBytes = args[3].toInt();
    tw::CollectionTree tree;
    tw::bench::generateCollection(tree, options);
    tw::Feedback fb;
    fb.message = [](const QString& m) { std::fprintf(stderr, "%s\n", m.toUtf8().constData()); };
    return tw::saveCollectionXml(tree, args[2], fb).written ? 0 : 1;
}
