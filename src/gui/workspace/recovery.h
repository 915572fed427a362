#pragma once
// Unsaved changes survive a crash: a few seconds after the last change the collection is
// written (atomically) to a recovery file; the next start offers it back when the program
// did not end normally. A save, a reset, a read or a normal exit removes the file.

#include <QObject>
#include <QString>
#include <QTimer>

namespace tw {

class CollectionDocument;
class Prompter;
class Workspace;

class Recovery : public QObject {
    Q_OBJECT
public:
    Recovery(CollectionDocument& document, Workspace& workspace, Prompter& prompter, QString folder,
             QObject* parent = nullptr);

    // How long after the last change the collection is written (tests shorten it).
    void setDelay(int milliseconds) { timer_.setInterval(milliseconds); }
    QString recoveryFile() const;
    // Writes the changed collection now (the timer does this on its own).
    bool writeNow();
    // Removes the recovery files: the changes are saved or deliberately dropped.
    void discard();
    // At start-up: when a recovery file is left from a run that did not end normally,
    // asks "Восстановить несохранённые изменения?" and reopens it, marked as changed and
    // under its own file name; otherwise, or on No, the files are removed.
    void offerRecovery();

private:
    QString nameFile() const;

    CollectionDocument& document_;
    Workspace& workspace_;
    Prompter& prompter_;
    QString folder_;
    QTimer timer_;
};

} // namespace tw
