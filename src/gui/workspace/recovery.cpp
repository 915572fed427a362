#include "workspace/recovery.h"

#include "app/feedback.h"
#include "app/program.h"
#include "platform/prompter.h"
#include "storage/safe_save.h"
#include "storage/xml_collection.h"
#include "workspace/collection_document.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tw {

Recovery::Recovery(CollectionDocument& document, Workspace& workspace, Prompter& prompter, QString folder,
                   QObject* parent)
    : QObject(parent), document_(document), workspace_(workspace), prompter_(prompter), folder_(std::move(folder)) {
    timer_.setSingleShot(true);
    timer_.setInterval(3000);
    // Restarting a timer is all a change costs; the writing waits for a pause.
    connect(&workspace_, &Workspace::collectionEdited, &timer_, qOverload<>(&QTimer::start));
    connect(&timer_, &QTimer::timeout, this, [this] { writeNow(); });
    connect(&document_, &CollectionDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified) {
            timer_.stop();
            discard();
        }
    });
}

QString Recovery::recoveryFile() const { return QDir(folder_).filePath(QStringLiteral("recovery.xml")); }

QString Recovery::nameFile() const { return QDir(folder_).filePath(QStringLiteral("recovery-name.txt")); }

bool Recovery::writeNow() {
    if (!document_.isModified() || folder_.isEmpty()) return false;
    if (!QDir().mkpath(folder_)) return false;
    // Silent: a recovery copy that cannot be written must not interrupt the user.
    const SaveOutcome outcome = saveCollectionXml(document_.tree(), recoveryFile(), Feedback{});
    if (!outcome.written) return false;
    const QByteArray name = document_.fileName().toUtf8();
    SafeSave file(nameFile());
    return file.open() && file.write(name) && file.commit();
}

void Recovery::discard() {
    QFile::remove(recoveryFile());
    QFile::remove(nameFile());
}

void Recovery::offerRecovery() {
    if (!QFileInfo(recoveryFile()).isFile()) return;
    if (!prompter_.askYesNo(kProgramName, QStringLiteral("Восстановить несохранённые изменения?"))) {
        discard();
        return;
    }
    QFile nameSource(nameFile());
    const QString originalName =
        nameSource.open(QIODevice::ReadOnly) ? QString::fromUtf8(nameSource.readAll()) : QString();
    const QString copy = recoveryFile() + QStringLiteral(".open");
    QFile::remove(copy);
    QFile::copy(recoveryFile(), copy);  // the recovery file stays until the changes are saved
    document_.resetCollection();
    document_.read(copy, true);
    QFile::remove(copy);
    document_.setFileName(originalName);
    document_.setModified(true);
    document_.updateCaption();
    writeNow();
}

} // namespace tw
