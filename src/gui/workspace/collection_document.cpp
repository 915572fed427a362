#include "workspace/collection_document.h"

#include "app/program.h"
#include "app/status_panels.h"
#include "platform/prompter.h"
#include "storage/backups.h"
#include "storage/file_names.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/workspace.h"

#include <QFileInfo>

namespace tw {

const std::vector<FileFilter>& collectionFileFilters() {
    static const std::vector<FileFilter> filters = {{QStringLiteral("XML"), QStringLiteral("*.xml")},
                                                    {QStringLiteral("TXT"), QStringLiteral("*.txt")}};
    return filters;
}

CollectionDocument::CollectionDocument(Workspace& workspace, StatusPanels& status, Prompter& prompter,
                                       QObject* parent)
    : QObject(parent), workspace_(workspace), status_(status), prompter_(prompter) {
    connect(&workspace_, &Workspace::collectionEdited, this, [this] { setModified(true); });
}

CollectionTree& CollectionDocument::tree() const { return workspace_.tree(); }

void CollectionDocument::updateCaption() { emit captionChanged(windowCaption(fileName_, modified_)); }

void CollectionDocument::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    updateCaption();
    emit modifiedChanged(modified);
}

bool CollectionDocument::maySaveChanges() {
    if (!modified_) return true;
    const QString name = fileNamePart(fileName_).trimmed();
    const QString text = QStringLiteral("Сохранить изменения в «%1»?")
                             .arg(name.isEmpty() ? QStringLiteral("Без имени") : name);
    switch (prompter_.askYesNoCancel(kProgramName, text)) {
    case Prompter::Answer::Yes:
        save();
        return !modified_;
    case Prompter::Answer::No: return true;
    case Prompter::Answer::Cancel: break;
    }
    return false;
}

void CollectionDocument::resetCollection() {
    fileName_.clear();
    setModified(false);
    TreeModel& model = workspace_.model();
    model.beginRebuild();
    tree().reset();
    model.endRebuild();
    workspace_.resetTabs();
    workspace_.view().setCurrentIndex(model.index(0, 0));
    status_.showCounts(tree());
    updateCaption();
}

void CollectionDocument::clearCollection() {
    if (!maySaveChanges()) return;
    if (prompter_.askYesNo(kProgramName, QStringLiteral("Вы действительно хотите очистить дерево?"))) resetCollection();
}

void CollectionDocument::openLastFile() {
    if (fileName_.isEmpty() || !QFileInfo(fileName_).isFile()) return;
    read(fileName_, isXmlName(fileName_));
}

void CollectionDocument::read(const QString& name, bool asXml) {
    fileName_ = name;
    status_.setText(0, {});
    status_.setText(1, QStringLiteral("Открытие..."));
    repaintNow();
    TreeModel& model = workspace_.model();
    model.beginRebuild();
    const Feedback fb = status_.operationFeedback();
    const bool ok = asXml ? loadCollectionXml(tree(), name, fb) : loadCollectionText(tree(), name, fb);
    model.endRebuild();
    if (!ok && !asXml) resetCollection();  // a damaged text collection leaves a new, empty collection
    if (!ok) fileName_.clear();
    setModified(false);
    status_.showGatheredMessages();
    workspace_.view().expand(model.index(0, 0));
    updateCaption();
    repaintNow();
    status_.setText(1, {});
    status_.showCounts(tree());
}

void CollectionDocument::open() {
    if (!maySaveChanges()) return;
    const auto choice = prompter_.chooseOpenFile(collectionFileFilters());
    if (!choice) return;
    resetCollection();
    read(choice->path, choice->filterIndex == 1);
}

void CollectionDocument::keepBackup(const QString& target) {
    if (!keepBackups(target, backupCount_, backupFolder_))
        status_.setText(1, QStringLiteral("Резервная копия не сохранена: ") + target);
}

bool CollectionDocument::writeXml(const QString& fileName) {
    keepBackup(withXmlExtensionIfNone(fileName));
    const SaveOutcome outcome = saveCollectionXml(tree(), fileName, status_.operationFeedback());
    fileName_ = outcome.fileName;
    if (outcome.written) setModified(false);
    status_.showGatheredMessages();
    return outcome.written;
}

bool CollectionDocument::writeText(const QString& fileName) {
    keepBackup(replaceExtension(fileName, QStringLiteral(".txt")));
    const SaveOutcome outcome = saveCollectionText(tree(), fileName, *tree().root(), status_.operationFeedback());
    fileName_ = outcome.fileName;
    if (outcome.written) setModified(false);
    status_.showGatheredMessages();
    return outcome.written;
}

bool CollectionDocument::write(const QString& fileName) {
    return isXmlName(fileName) ? writeXml(fileName) : writeText(fileName);
}

void CollectionDocument::save() {
    // A collection without a file is saved under a name the user chooses.
    if (fileName_.trimmed().isEmpty()) {
        saveAs();
        return;
    }
    const bool written = write(fileName_);
    updateCaption();
    if (written) workspace_.clearModifiedMarks();
}

bool CollectionDocument::confirmReplace(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) return true;
    return prompter_.askYesNo(QStringLiteral("Сохранение"), fileName + QStringLiteral("\n уже существует. Заменить?"),
                              true);
}

void CollectionDocument::saveAs() {
    const auto choice = prompter_.chooseSaveFile(collectionFileFilters());
    if (!choice) return;
    // The question is asked about the very file that will be written.
    const bool asXml = choice->filterIndex != 2;
    const QString target =
        asXml ? withXmlExtensionIfNone(choice->path) : replaceExtension(choice->path, QStringLiteral(".txt"));
    bool written = false;
    if (confirmReplace(target)) written = asXml ? writeXml(choice->path) : writeText(choice->path);
    updateCaption();
    if (written) workspace_.clearModifiedMarks();
}

} // namespace tw
