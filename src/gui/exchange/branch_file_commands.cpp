#include "exchange/branch_file_commands.h"

#include "app/status_panels.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "tree/tree_model.h"
#include "workspace/collection_document.h"
#include "workspace/workspace.h"

namespace tw {

BranchFileCommands::BranchFileCommands(Workspace& workspace, CollectionDocument& document, StatusPanels& status,
                                       Prompter& prompter, QObject* parent)
    : QObject(parent), workspace_(workspace), document_(document), status_(status), prompter_(prompter) {}

void BranchFileCommands::saveBranchToFile() {
    Node* node = workspace_.selectedNode();
    if (!node) return;
    const auto choice = prompter_.chooseSaveFile(collectionFileFilters());
    if (!choice) return;
    const bool asXml = choice->filterIndex != 2;
    const QString target = replaceExtension(choice->path, asXml ? QStringLiteral(".xml") : QStringLiteral(".txt"));
    if (!document_.confirmReplace(target)) return;
    const CollectionTree& tree = workspace_.tree();
    if (asXml) saveBranchXml(tree, choice->path, *node, status_.operationFeedback());
    else saveCollectionText(tree, choice->path, *node, status_.operationFeedback());
    status_.showGatheredMessages();
}

void BranchFileCommands::addBranchFromFile() {
    const auto choice = prompter_.chooseOpenFile({collectionFileFilters().front()});
    if (!choice) return;
    Node* node = workspace_.selectedNode();
    if (!node) return;
    if (node->kindImage == kPageKind) {
        prompter_.showMessage(QStringLiteral("Добавление ветви к странице невозможно!"));
        return;
    }
    addBranchFile(node, choice->path);
}

void BranchFileCommands::addBranchFile(Node* target, const QString& fileName) {
    // Every tab stays on its node: note them, add, then re-derive the indexes.
    const std::vector<const Node*> noted = workspace_.tabNodes();
    TreeModel& model = workspace_.model();
    GraftHooks hooks;
    hooks.aboutToAdd = [&model, target](int count) { model.beginAppend(target, count); };
    hooks.added = [&model] { model.endAppend(); };
    const int before = workspace_.tree().count();
    tw::addBranchFile(workspace_.tree(), fileName, target, status_.operationFeedback(), hooks);
    if (workspace_.tree().count() != before) workspace_.noteCollectionEdited();
    workspace_.rebindToNodes(noted);
    status_.showGatheredMessages();
    status_.showCounts(workspace_.tree());
}

} // namespace tw
