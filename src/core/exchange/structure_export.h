#pragma once
// The whole collection as linked HTML: one highlighted document per node (root node and
// sections included) in the folder of the chosen name, and an index page listing every
// node as an indented outline of links, written last.

#include "app/feedback.h"
#include "editor/catalogue.h"
#include "exchange/free_file_names.h"
#include "editor/html_export.h"
#include "tree/collection_tree.h"

#include <QString>

namespace tw {

// "Ошибка при сохранении " + caption + ".html": a node file that could not be written.
QString nodeSaveError(const QString& caption);

// Indent units stop growing below this depth, so a very deep chain gives lines of bounded length.
inline constexpr int kIndexIndentDepth = 64;

// The index line of a node: the indent " &nbsp&nbsp " level + 1 times (at most
// kIndexIndentDepth + 1 times), then the link and "<BR>" for a page, "<B>" link "</B><BR>"
// for the root node and sections.
QString indexEntryLine(int level, bool isPage, const QString& link);

struct StructureExportOutcome {
    QString indexPath;  // chosen name + ".html", absolute
    bool indexWritten = false;
    int failedNodes = 0;
};

// The whole export for the name chosen in the save dialog (".html" is always appended).
StructureExportOutcome exportStructureHtml(const CollectionTree& tree, const HighlighterSet& highlighters,
                                     const QString& chosenName, const Feedback& fb,
                                     const ExportSettings& style = {});

} // namespace tw
