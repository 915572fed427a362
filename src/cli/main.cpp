// tarnwick-cli: the collection work of the program without a window. `tarnwick-cli --help`
// lists the commands, `tarnwick-cli help COMMAND` describes one.

#include "app/ini_file.h"
#include "command_line.h"
#include "editor/catalogue.h"
#include "editor/text_export.h"
#include "editor/token_runs.h"
#include "exchange/directory_export.h"
#include "exchange/file_masks.h"
#include "exchange/file_search.h"
#include "exchange/structure_export.h"
#include "failure_report.h"
#include "json_dump.h"
#include "schemes/scheme_settings.h"
#include "search/search_hits.h"
#include "search/text_search.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

using tw::cli::FailureReport;
using tw::cli::Invocation;
using tw::cli::printError;

bool writeStdout(const std::string& text) { return std::fwrite(text.data(), 1, text.size(), stdout) == text.size(); }

// Reads a collection by its extension: ".xml" in any case as XML, anything else as text.
bool readCollection(tw::CollectionTree& tree, const QString& fileName) {
    FailureReport report;
    const bool asXml = tw::isXmlName(fileName);
    if (asXml ? tw::loadCollectionXml(tree, fileName, report.feedback())
              : tw::loadCollectionText(tree, fileName, report.feedback())) {
        report.flush();
        return true;
    }
    report.fail(fileName, tw::cli::readFailureReason(fileName, asXml));
    return false;
}

// Writes by the program's save rules: ".xml" writes XML, any other name the text format
// with its extension replaced by ".txt".
bool writeCollection(const tw::CollectionTree& tree, const QString& out) {
    FailureReport report;
    const bool asXml = tw::isXmlName(out);
    const bool written = asXml ? tw::saveCollectionXml(tree, out, report.feedback()).written
                               : tw::saveCollectionText(tree, out, *tree.root(), report.feedback()).written;
    if (written) {
        report.flush();
        return true;
    }
    const QString path = asXml ? out : tw::replaceExtension(out, QStringLiteral(".txt"));
    report.fail(path, tw::cli::writeFailureReason(path));
    return false;
}

tw::Node* nodeArgument(const tw::CollectionTree& tree, const QString& text, const QString& fileName) {
    bool ok = false;
    const int index = text.toInt(&ok);
    tw::Node* node = ok ? tree.nodeAt(index) : nullptr;
    if (!node)
        printError(QStringLiteral("No node at index ") + text + QStringLiteral(" in ") + QDir::toNativeSeparators(fileName) +
                   QStringLiteral(": it holds %1 nodes").arg(tree.count()));
    return node;
}

int dump(const Invocation& call) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    return writeStdout(tw::dumpJson(tree)) ? 0 : 1;
}

int convert(const Invocation& call) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    return writeCollection(tree, call.arguments[1]) ? 0 : 1;
}

int tokens(const Invocation& call) {
    const QString& language = call.arguments[0];
    const QString& fileName = call.arguments[1];
    const auto& catalogue = tw::languageCatalogue();
    int position = -1;
    QStringList names;
    for (int p = 0; p < tw::kLanguageCount; ++p) {
        names << QLatin1String(catalogue[static_cast<size_t>(p)].name);
        if (language == names.last()) position = p;
    }
    if (position < 0) {
        printError(QStringLiteral("Unknown language: ") + language + QStringLiteral(" (one of ") + names.join(QStringLiteral(", ")) + ')');
        return 1;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(fileName + QStringLiteral(": ") + file.errorString());
        return 1;
    }
    const QByteArray bytes = file.readAll();
    return writeStdout(tw::formatTokenRuns(*tw::makeHighlighter(position), std::string_view(bytes.constData(), bytes.size()))) ? 0 : 1;
}

// With any option: every match on a line of its own, "index<TAB>path<TAB>line<TAB>the line"
// (line 0 and the caption for a caption), and exit status 1 when nothing matched.
int findMatches(const tw::CollectionTree& tree, const QString& text, const QCommandLineParser& options) {
    const bool names = options.isSet(QStringLiteral("names"));
    const tw::SearchPattern pattern(text.toStdString(), {!options.isSet(QStringLiteral("ignore-case")),
                                                         options.isSet(QStringLiteral("word")),
                                                         options.isSet(QStringLiteral("regex"))});
    const tw::SearchHits found = pattern.valid() ? (names ? tw::findAllInCaptions(tree, pattern) : tw::findAllInTexts(tree, pattern))
                                                 : tw::SearchHits{};
    if (pattern.failed()) {
        printError(pattern.error());
        return 1;
    }
    std::string out;
    QByteArray holder;
    for (const tw::SearchHit& hit : found.hits) {
        const std::string_view source = tw::hitSource(tree, hit, names, holder);
        out += std::to_string(hit.node) + '\t' + tw::nodePath(tree.nodeAt(hit.node)).toStdString() + '\t' +
               std::to_string(hit.line) + '\t';
        out += source.substr(static_cast<size_t>(hit.lineStart), static_cast<size_t>(hit.lineEnd - hit.lineStart));
        out += '\n';
    }
    if (!writeStdout(out)) return 1;
    return found.hits.empty() ? 1 : 0;
}

int find(const Invocation& call, bool names) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    const QString& text = call.arguments[1];
    if (!names)  // find-names has none of these options
        for (const char* option : {"ignore-case", "word", "regex", "names", "lines"})
            if (call.options.isSet(QLatin1String(option))) return findMatches(tree, text, call.options);
    const std::string what = text.toStdString();
    std::string out;
    for (int i = names ? tw::findNextCaption(tree, 0, text) : tw::findNextText(tree, -1, what); i >= 0;
         i = names ? tw::findNextCaption(tree, i, text) : tw::findNextText(tree, i, what)) {
        out += std::to_string(i) + '\t' + tw::nodePath(tree.nodeAt(i)).toStdString() + '\n';
    }
    return writeStdout(out) ? 0 : 1;
}

int branchSave(const Invocation& call) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    const tw::Node* node = nodeArgument(tree, call.arguments[1], call.arguments[0]);
    if (!node) return 1;
    FailureReport report;
    const QString& out = call.arguments[2];
    if (tw::saveBranchXml(tree, out, *node, report.feedback()).written) {
        report.flush();
        return 0;
    }
    return report.fail(out, tw::cli::writeFailureReason(out));
}

int branchAdd(const Invocation& call) {
    const QString& file = call.arguments[0];
    const QString& branch = call.arguments[2];
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    tw::Node* node = nodeArgument(tree, call.arguments[1], file);
    if (!node) return 1;
    if (node->kindImage == tw::kPageKind) {
        printError(QStringLiteral("Добавление ветви к странице невозможно!"));
        return 1;
    }
    FailureReport report;
    const bool added = tw::addBranchFile(tree, branch, node, report.feedback());
    if (added) report.flush();
    else report.fail(branch, tw::cli::readFailureReason(branch, true));
    return writeCollection(tree, call.arguments[3]) && added ? 0 : 1;
}

// The file search of the dialog, with its defaults: masks "*.*", a size limit of 40 Kb.
int importDirectory(const Invocation& call) {
    const QString& dir = call.arguments[0];
    const QString& into = call.options.value(QStringLiteral("into"));
    if (!QFileInfo(dir).isDir()) {
        printError(QStringLiteral("No directory ") + QDir::toNativeSeparators(dir) + QStringLiteral(": ") +
                   (QFileInfo::exists(dir) ? QStringLiteral("Not a directory") : QStringLiteral("No such file or directory")));
        return 1;
    }
    tw::CollectionTree tree;
    if (!into.isEmpty() && !readCollection(tree, into)) return 1;
    tw::FileSearchOptions options;
    options.loadFiles = call.options.isSet(QStringLiteral("load"));
    options.fragment = call.options.value(QStringLiteral("fragment"));
    const tw::HighlighterSet highlighters;
    if (call.options.isSet(QStringLiteral("lang"))) options.languages = &highlighters;
    const QString masks = call.options.value(QStringLiteral("masks"));
    const QString maxKb = call.options.value(QStringLiteral("max-kb"));
    options.masks = tw::parseMasks(masks.isEmpty() ? QStringLiteral("*.*") : masks);
    options.sizeLimit = tw::sizeLimitBytes(maxKb.isEmpty() ? QStringLiteral("40") : maxKb);
    tw::TreeImportSink sink(tree);
    const tw::Feedback fb;
    tw::FileSearch search(std::move(options), sink, fb);
    search.run(dir, tree.root());
    if (call.options.isSet(QStringLiteral("del-empty"))) tw::removeEmptySections(tree);
    return writeCollection(tree, call.arguments[1]) ? 0 : 1;
}

QString oneExportFormat(const QCommandLineParser& options) {
    return options.isSet(QStringLiteral("html")) == options.isSet(QStringLiteral("rtf"))
               ? QStringLiteral("exactly one of --html and --rtf expected")
               : QString();
}

int exportText(const Invocation& call) {
    const QString& file = call.arguments[0];
    const QString& index = call.arguments[1];
    tw::CollectionTree tree;
    if (!readCollection(tree, file)) return 1;
    const tw::Node* node = nodeArgument(tree, index, file);
    if (!node) return 1;
    if (node->page->text.empty()) {
        printError(QStringLiteral("The text of node ") + index + QStringLiteral(" is empty: nothing exported"));
        return 1;
    }
    tw::HighlighterSet highlighters;
    const QString settings = call.options.value(QStringLiteral("settings"));
    if (!settings.isEmpty()) {
        if (!QFileInfo(settings).isFile()) {
            printError(QDir::toNativeSeparators(settings) + QStringLiteral(": ") + tw::cli::readFailureReason(settings, false));
            return 1;
        }
        tw::loadSchemeColours(tw::IniFile(settings), highlighters);
    }
    const auto kind = call.options.isSet(QStringLiteral("html")) ? tw::ExportFormat::Html : tw::ExportFormat::Rtf;
    const std::string document =
        tw::exportDocument(node->page->text, highlighters.byPosition(node->page->language - 1), kind);
    QString message;
    if (tw::writeExportFile(tw::exportFileName(call.arguments[2], kind), document, &message)) return 0;
    printError(message);
    return 1;
}

int exportStructure(const Invocation& call) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    const tw::HighlighterSet highlighters;
    FailureReport report;
    const tw::StructureExportOutcome out = tw::exportStructureHtml(tree, highlighters, call.arguments[1], report.feedback());
    report.flush();  // core names each file that could not be written, with its reason for the index page
    return out.indexWritten && out.failedNodes == 0 ? 0 : 1;
}

int exportDir(const Invocation& call) {
    tw::CollectionTree tree;
    if (!readCollection(tree, call.arguments[0])) return 1;
    const tw::Node* node = nodeArgument(tree, call.arguments[1], call.arguments[0]);
    if (!node) return 1;
    const QString& target = call.arguments[2];
    FailureReport report;
    if (tw::exportBranchAsDirectories(tree, *node, target, call.options.isSet(QStringLiteral("empty-sections")),
                                      report.feedback())) {
        report.flush();
        return 0;
    }
    return report.fail(target, tw::cli::folderFailureReason(target));
}

std::vector<tw::cli::Command> commands() {
    using tw::cli::Argument;
    using tw::cli::Option;
    const Argument file{QStringLiteral("FILE"), QStringLiteral("a collection: \".xml\" is read as XML, any other name as the text format")};
    const Argument index{QStringLiteral("INDEX"), QStringLiteral("the absolute index of a node (0 is the root; as 'find' prints it)")};
    const auto run = [](int (*f)(const Invocation&)) { return std::function<int(const Invocation&)>(f); };
    return {
        {QStringLiteral("dump"), QStringLiteral("Prints the collection as JSON, one object per node."), {file}, {}, {}, run(dump)},
        {QStringLiteral("convert"), QStringLiteral("Reads a collection and writes it again by the program's extension rules."),
         {{QStringLiteral("IN"), file.description},
          {QStringLiteral("OUT"), QStringLiteral("\".xml\" writes XML, any other name the text format as NAME.txt")}},
         {}, {}, run(convert)},
        {QStringLiteral("tokens"), QStringLiteral("Prints the token runs of a file as a language's highlighter sees them."),
         {{QStringLiteral("LANGUAGE"), QStringLiteral("a language name of the highlighters (as 'tokens' reports an unknown one)")},
          {QStringLiteral("FILE"), QStringLiteral("any text file")}},
         {}, {}, run(tokens)},
        {QStringLiteral("find"),
         QStringLiteral("Prints the index and the path of every node whose text holds TEXT. With an option, prints every "
                        "match as index, path, line number and the line, separated by tabs, and fails when none matched."),
         {file, {QStringLiteral("TEXT"), QStringLiteral("the text searched for (a pattern with --regex)")}},
         {{QStringLiteral("ignore-case"), {}, QStringLiteral("letters match in either case (Unicode)")},
          {QStringLiteral("word"), {}, QStringLiteral("only whole words")},
          {QStringLiteral("regex"), {}, QStringLiteral("TEXT is a regular expression")},
          {QStringLiteral("names"), {}, QStringLiteral("search the captions instead of the texts (line 0, the caption)")},
          {QStringLiteral("lines"), {}, QStringLiteral("every match with its line, also without the other options")}},
         {}, [](const Invocation& c) { return find(c, false); }, true},
        {QStringLiteral("find-names"), QStringLiteral("Prints the index and the path of every node whose caption holds TEXT."),
         {file, {QStringLiteral("TEXT"), QStringLiteral("the text searched for in the captions (never the root's)")}}, {}, {},
         [](const Invocation& c) { return find(c, true); }},
        {QStringLiteral("branch-save"), QStringLiteral("Writes the branch of node INDEX as a branch file (XML)."),
         {file, index, {QStringLiteral("OUT"), QStringLiteral("the branch file to write")}}, {}, {}, run(branchSave)},
        {QStringLiteral("branch-add"), QStringLiteral("Adds a branch file below node INDEX and writes the result to OUT."),
         {file, index, {QStringLiteral("BRANCHFILE"), QStringLiteral("a branch file made by 'branch-save' or the window")},
          {QStringLiteral("OUT"), QStringLiteral("the collection to write")}},
         {}, {}, run(branchAdd)},
        {QStringLiteral("import"), QStringLiteral("Imports the file search of DIR below the root of a new collection (or of FILE)."),
         {{QStringLiteral("DIR"), QStringLiteral("the folder searched, with its subfolders as sections")},
          {QStringLiteral("OUT"), QStringLiteral("the collection to write")}},
         {{QStringLiteral("into"), QStringLiteral("FILE"), QStringLiteral("add to this collection instead of a new one")},
          {QStringLiteral("masks"), QStringLiteral("M"), QStringLiteral("file masks separated by blanks (default \"*.*\")")},
          {QStringLiteral("load"), {}, QStringLiteral("load the files' contents into the pages")},
          {QStringLiteral("lang"), {}, QStringLiteral("set each page's language by its file's extension")},
          {QStringLiteral("max-kb"), QStringLiteral("N"), QStringLiteral("skip files larger than N Kb (default 40)")},
          {QStringLiteral("fragment"), QStringLiteral("F"), QStringLiteral("only files that hold the text F")},
          {QStringLiteral("del-empty"), {}, QStringLiteral("remove the sections left empty")}},
         {}, run(importDirectory)},
        {QStringLiteral("export-text"), QStringLiteral("Writes the text of node INDEX in its language as OUT.html or OUT.rtf."),
         {file, index, {QStringLiteral("OUT"), QStringLiteral("the name written, with \".html\" or \".rtf\" appended")}},
         {{QStringLiteral("html"), {}, QStringLiteral("an HTML document (this or --rtf)")},
          {QStringLiteral("rtf"), {}, QStringLiteral("an RTF document (this or --html)")},
          {QStringLiteral("settings"), QStringLiteral("INI"), QStringLiteral("the colour scheme of this Settings.ini")}},
         oneExportFormat, run(exportText)},
        {QStringLiteral("export-html"), QStringLiteral("Writes every node as an HTML document beside the index page NAME.html."),
         {file, {QStringLiteral("NAME"), QStringLiteral("the index page without \".html\"; its folder must exist")}}, {}, {},
         run(exportStructure)},
        {QStringLiteral("export-dir"), QStringLiteral("Writes the branch of node INDEX as folders and \".txt\" files in TARGET."),
         {file, index, {QStringLiteral("TARGET"), QStringLiteral("an existing folder")}},
         {{QStringLiteral("empty-sections"), {}, QStringLiteral("also make folders for sections without pages")}}, {},
         run(exportDir)},
    };
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return tw::cli::runCommandLine(app.arguments().mid(1), commands());
}
