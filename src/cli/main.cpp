// tarnwick-cli: the collection work of the program without a window.
//   dump FILE       the collection as JSON on standard output
//   convert IN OUT  read a collection and write it again, by the program's extension rules
//   tokens LANGUAGE FILE  the token runs of a file as the language's highlighter sees them
//   find FILE TEXT        every node whose text holds TEXT: absolute index, tab, node path
//   find-names FILE TEXT  the same for captions (never the root node)

#include "editor/catalogue.h"
#include "editor/token_runs.h"
#include "json_dump.h"
#include "search/text_search.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

void printError(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

tw::Feedback cliFeedback() {
    tw::Feedback fb;
    fb.message = printError;
    return fb;
}

int usage() {
    printError(QStringLiteral(
        "usage: tarnwick-cli dump FILE | convert IN OUT | tokens LANGUAGE FILE | find FILE TEXT | find-names FILE TEXT"));
    return 2;
}

// Reads a collection by its extension: ".xml" in any case as XML, anything else as text.
bool readCollection(tw::CollectionTree& tree, const QString& fileName) {
    return tw::isXmlName(fileName) ? tw::LoadXML(tree, fileName, cliFeedback())
                                   : tw::loadTree(tree, fileName, cliFeedback());
}

int dump(const QString& fileName) {
    tw::CollectionTree tree;
    if (!readCollection(tree, fileName)) return 1;
    const std::string json = tw::dumpJson(tree);
    return std::fwrite(json.data(), 1, json.size(), stdout) == json.size() ? 0 : 1;
}

int convert(const QString& in, const QString& out) {
    tw::CollectionTree tree;
    if (!readCollection(tree, in)) return 1;
    // As the program's save: ".xml" writes XML, any other name the text format (".txt").
    if (tw::isXmlName(out)) return tw::SaveTreeInXML(tree, out, cliFeedback()).written ? 0 : 1;
    return tw::SaveTree(tree, out, *tree.root(), cliFeedback()).written ? 0 : 1;
}

int tokens(const QString& language, const QString& fileName) {
    const auto& catalogue = tw::languageCatalogue();
    int position = -1;
    for (int p = 0; p < tw::kLanguageCount; ++p)
        if (language == QLatin1String(catalogue[static_cast<size_t>(p)].name)) position = p;
    if (position < 0) {
        printError(QStringLiteral("Unknown language: ") + language);
        return 1;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(fileName + QStringLiteral(": ") + file.errorString());
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const std::string runs = tw::formatTokenRuns(*tw::makeHighlighter(position), std::string_view(bytes.constData(), bytes.size()));
    return std::fwrite(runs.data(), 1, runs.size(), stdout) == runs.size() ? 0 : 1;
}

int find(const QString& fileName, const QString& text, bool names) {
    tw::CollectionTree tree;
    if (!readCollection(tree, fileName)) return 1;
    const std::string what = text.toStdString();
    std::string out;
    for (int i = names ? tw::findNextCaption(tree, 0, text) : tw::findNextText(tree, -1, what); i >= 0;
         i = names ? tw::findNextCaption(tree, i, text) : tw::findNextText(tree, i, what)) {
        out += std::to_string(i) + '\t' + tw::nodePath(tree.nodeAt(i)).toStdString() + '\n';
    }
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("dump")) return dump(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("convert")) return convert(args[1], args[2]);
    if (args.size() == 3 && args[0] == QLatin1String("tokens")) return tokens(args[1], args[2]);
    if (args.size() == 3 && args[0] == QLatin1String("find")) return find(args[1], args[2], false);
    if (args.size() == 3 && args[0] == QLatin1String("find-names")) return find(args[1], args[2], true);
    return usage();
}
