// tarnwick-cli: the collection work of the program without a window.
//   dump FILE       the collection as JSON on standard output
//   convert IN OUT  read a collection and write it again, by the program's extension rules
//   tokens LANGUAGE FILE  the token runs of a file as the language's highlighter sees them
//   find FILE TEXT        every node whose text holds TEXT: absolute index, tab, node path
//   find-names FILE TEXT  the same for captions (never the root node)
//   branch-save FILE INDEX OUT           the branch of node INDEX as a branch file (XML)
//   branch-add FILE INDEX BRANCHFILE OUT  a branch file added below node INDEX, the result written to OUT
//   import DIR OUT [--into FILE] [--masks M] [--load] [--lang] [--max-kb N] [--fragment F] [--del-empty]
//                   the file search of DIR below the root of a new collection (or of FILE), written to OUT
//   export-text FILE INDEX OUT (--html|--rtf) [--settings INI]
//                         the text of node INDEX in its language as OUT.html or OUT.rtf, coloured by
//                         the colour scheme of INI (a Settings.ini) when given
//   export-html FILE NAME                 every node as an HTML document beside the index page NAME.html
//   export-dir FILE INDEX TARGET [--empty-sections]  the branch of node INDEX as folders and text files in TARGET

#include "app/ini_file.h"
#include "editor/catalogue.h"
#include "editor/text_export.h"
#include "editor/token_runs.h"
#include "exchange/file_masks.h"
#include "exchange/file_search.h"
#include "exchange/directory_export.h"
#include "exchange/structure_export.h"
#include "json_dump.h"
#include "schemes/scheme_settings.h"
#include "search/text_search.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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
        "usage: tarnwick-cli dump FILE | convert IN OUT | tokens LANGUAGE FILE | find FILE TEXT | find-names FILE TEXT"
        " | branch-save FILE INDEX OUT | branch-add FILE INDEX BRANCHFILE OUT"
        " | import DIR OUT [--into FILE] [--masks M] [--load] [--lang] [--max-kb N] [--fragment F] [--del-empty]"
        " | export-text FILE INDEX OUT (--html|--rtf) [--settings INI] | export-html FILE NAME"
        " | export-dir FILE INDEX TARGET [--empty-sections]"));
    return 2;
}

// Reads a collection by its extension: ".xml" in any case as XML, anything else as text.
bool readCollection(tw::CollectionTree& tree, const QString& fileName) {
    return tw::isXmlName(fileName) ? tw::loadCollectionXml(tree, fileName, cliFeedback())
                                   : tw::loadCollectionText(tree, fileName, cliFeedback());
}

int dump(const QString& fileName) {
    tw::CollectionTree tree;
    if (!readCollection(tree, fileName)) return 1;
    const std::string json = tw::dumpJson(tree);
    return std::fwrite(json.data(), 1, json.size(), stdout) == json.size() ? 0 : 1;
}

bool writeCollection(const tw::CollectionTree& tree, const QString& out) {
    if (tw::isXmlName(out)) return tw::saveCollectionXml(tree, out, cliFeedback()).written;
    return tw::saveCollectionText(tree, out, *tree.root(), cliFeedback()).written;
}

int convert(const QString& in, const QString& out) {
    tw::CollectionTree tree;
    if (!readCollection(tree, in)) return 1;
    // As the program's save: ".xml" writes XML, any other name the text format (".txt").
    return writeCollection(tree, out) ? 0 : 1;
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

tw::Node* nodeArgument(const tw::CollectionTree& tree, const QString& text) {
    bool ok = false;
    const int index = text.toInt(&ok);
    tw::Node* node = ok ? tree.nodeAt(index) : nullptr;
    if (!node) printError(QStringLiteral("No node at index ") + text);
    return node;
}

int branchSave(const QString& file, const QString& index, const QString& out) {
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    const tw::Node* node = nodeArgument(tree, index);
    if (!node) return 1;
    return tw::saveBranchXml(tree, out, *node, cliFeedback()).written ? 0 : 1;
}

int branchAdd(const QString& file, const QString& index, const QString& branch, const QString& out) {
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    tw::Node* node = nodeArgument(tree, index);
    if (!node) return 1;
    if (node->kindImage == tw::kPageKind) {
        printError(QStringLiteral("Добавление ветви к странице невозможно!"));
        return 1;
    }
    const bool added = tw::addBranchFile(tree, branch, node, cliFeedback());
    return writeCollection(tree, out) && added ? 0 : 1;
}

// The file search of the dialog, with its defaults: masks "*.*", a size limit of 40 Kb.
int importDirectory(const QStringList& args) {
    const QString dir = args[1], out = args[2];
    QString into, masks = QStringLiteral("*.*"), maxKb = QStringLiteral("40");
    tw::FileSearchOptions options;
    bool deleteEmpty = false, language = false;
    for (int i = 3; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--load")) options.loadFiles = true;
        else if (a == QLatin1String("--lang")) language = true;
        else if (a == QLatin1String("--del-empty")) deleteEmpty = true;
        else if (a == QLatin1String("--into") && hasValue) into = args[++i];
        else if (a == QLatin1String("--masks") && hasValue) masks = args[++i];
        else if (a == QLatin1String("--max-kb") && hasValue) maxKb = args[++i];
        else if (a == QLatin1String("--fragment") && hasValue) options.fragment = args[++i];
        else return usage();
    }
    if (!QFileInfo(dir).isDir()) {
        printError(QStringLiteral("No directory ") + dir);
        return 1;
    }
    tw::CollectionTree tree;
    if (!into.isEmpty() && !readCollection(tree, into)) return 1;
    const tw::HighlighterSet highlighters;
    if (language) options.languages = &highlighters;
    options.masks = tw::parseMasks(masks);
    options.sizeLimit = tw::sizeLimitBytes(maxKb);
    tw::TreeImportSink sink(tree);
    const tw::Feedback fb;
    tw::FileSearch search(std::move(options), sink, fb);
    search.run(dir, tree.root());
    if (deleteEmpty) tw::removeEmptySections(tree);
    return writeCollection(tree, out) ? 0 : 1;
}

// options: "--html" or "--rtf" (exactly one), optionally "--settings INI".
int exportText(const QString& file, const QString& index, const QString& out, const QStringList& options) {
    int format = -1;
    QString settings;
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options[i] == QLatin1String("--html")) format = format < 0 ? 0 : 2;
        else if (options[i] == QLatin1String("--rtf")) format = format < 0 ? 1 : 2;
        else if (options[i] == QLatin1String("--settings") && i + 1 < options.size()) settings = options[++i];
        else return usage();
    }
    if (format != 0 && format != 1) return usage();
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    const tw::Node* node = nodeArgument(tree, index);
    if (!node) return 1;
    if (node->page->text.empty()) {
        printError(QStringLiteral("The text of node ") + index + QStringLiteral(" is empty: nothing exported"));
        return 1;
    }
    tw::HighlighterSet highlighters;
    if (!settings.isEmpty()) tw::loadSchemeColours(tw::IniFile(settings), highlighters);
    const auto kind = format == 0 ? tw::ExportFormat::Html : tw::ExportFormat::Rtf;
    const std::string document =
        tw::exportDocument(node->page->text, highlighters.byPosition(node->page->language - 1), kind);
    QString message;
    if (tw::writeExportFile(tw::exportFileName(out, kind), document, &message)) return 0;
    printError(message);
    return 1;
}

int exportStructure(const QString& file, const QString& name) {
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    const tw::HighlighterSet highlighters;
    const tw::StructureExportOutcome out = tw::exportStructureHtml(tree, highlighters, name, cliFeedback());
    return out.indexWritten && out.failedNodes == 0 ? 0 : 1;
}

int exportDir(const QStringList& args) {
    const bool emptySections = args.size() == 5;
    if (emptySections && args[4] != QLatin1String("--empty-sections")) return usage();
    tw::CollectionTree tree;
    if (!readCollection(tree, args[1])) return 1;
    const tw::Node* node = nodeArgument(tree, args[2]);
    if (!node) return 1;
    return tw::exportBranchAsDirectories(tree, *node, args[3], emptySections, cliFeedback()) ? 0 : 1;
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
    if (args.size() == 4 && args[0] == QLatin1String("branch-save")) return branchSave(args[1], args[2], args[3]);
    if (args.size() == 5 && args[0] == QLatin1String("branch-add")) return branchAdd(args[1], args[2], args[3], args[4]);
    if (args.size() >= 3 && args[0] == QLatin1String("import")) return importDirectory(args);
    if (args.size() >= 5 && args[0] == QLatin1String("export-text")) return exportText(args[1], args[2], args[3], args.mid(4));
    if (args.size() == 3 && args[0] == QLatin1String("export-html")) return exportStructure(args[1], args[2]);
    if ((args.size() == 4 || args.size() == 5) && args[0] == QLatin1String("export-dir")) return exportDir(args);
    return usage();
}
