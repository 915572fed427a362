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
#include "workspace/background_read.h"
#include "workspace/workspace.h"

#include <QFileInfo>
#include <QSignalBlocker>

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
    progressPoll_.setInterval(50);
    connect(&progressPoll_, &QTimer::timeout, this, [this] {
        if (backgroundRead_ && backgroundRead_->maximum() > 0)
            status_.showProgress(backgroundRead_->steps(), backgroundRead_->maximum());
    });
}

CollectionDocument::~CollectionDocument() = default;  // a read still running is stopped

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

bool CollectionDocument::openLastFile(std::unique_ptr<BackgroundRead> ahead) {
    if (fileName_.isEmpty() || !QFileInfo(fileName_).isFile()) return false;
    readInBackground(fileName_, isXmlName(fileName_), std::move(ahead));
    return true;
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
    showReadCollection(ok, asXml);
}

void CollectionDocument::readInBackground(QString name, bool asXml, std::unique_ptr<BackgroundRead> ahead) {
    if (reading_) return;
    // A read started ahead is of use only when it reads the same file the same way; any
    // other is stopped here.
    if (ahead && (ahead->fileName() != name || ahead->asXml() != asXml)) ahead.reset();
    resetCollection();
    fileName_ = name;
    status_.setText(0, {});
    status_.setText(1, QStringLiteral("Открытие..."));
    // An empty bar until the file's node count is known: a bar showing mere activity would
    // be redrawn all the while, taking processor time from the read.
    status_.startProgress(1);
    reading_ = true;
    emit readingChanged(true);
    backgroundRead_ = ahead ? std::move(ahead) : std::make_unique<BackgroundRead>(std::move(name), asXml);
    connect(backgroundRead_.get(), &BackgroundRead::finished, this, &CollectionDocument::backgroundReadEnded);
    if (backgroundRead_->hasEnded())
        QMetaObject::invokeMethod(this, &CollectionDocument::backgroundReadEnded, Qt::QueuedConnection);
    progressPoll_.start();
}

void CollectionDocument::stopReading() {
    progressPoll_.stop();
    backgroundRead_.reset();
}

void CollectionDocument::backgroundReadEnded() {
    progressPoll_.stop();
    status_.endProgress();
    const std::unique_ptr<BackgroundRead> done = std::move(backgroundRead_);
    // The tree read takes the place of the empty collection in one step.
    TreeModel& model = workspace_.model();
    model.beginRebuild();
    tree().swap(done->tree());
    model.endRebuild();
    const Feedback fb = status_.operationFeedback();
    for (const QString& message : done->messages()) fb.say(message);
    showReadCollection(done->succeeded(), done->asXml());
    reading_ = false;
    emit readingChanged(false);
}

void CollectionDocument::showReadCollection(bool ok, bool asXml) {
    if (!ok && !asXml) resetCollection();  // a damaged text collection leaves a new, empty collection
    if (!ok) fileName_.clear();
    setModified(false);
    status_.showGatheredMessages();
    expandAsStored();
    updateCaption();
    repaintNow();
    status_.setText(1, {});
    status_.showCounts(tree());
}

void CollectionDocument::expandAsStored() {
    TreeView& view = workspace_.view();
    TreeModel& model = workspace_.model();
    {
        // Sections saved open (their kind picture is the open folder) are shown open again.
        // The view's signals are held back: the pictures are right already, and the
        // recursion toggle must not open the branches below a section that was saved open.
        // Right after the read the view's layout is still pending, so each expansion is only
        // noted and the rows are laid out once for all of them.
        const QSignalBlocker quiet(&view);
        for (const Node* n : tree().preorder())
            if (n->kindImage == kSectionExpanded && !n->children.empty()) view.expand(model.indexOf(n));
    }
    view.expand(model.index(0, 0));
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
