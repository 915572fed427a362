#pragma once
// The open collection as a document: the tree and the name of its file, and the
// commands that make, open, save, save under another name and clear it, with their
// questions. The window's caption follows the file name.

#include "platform/prompter.h"
#include "tree/collection_tree.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace tw {

class BackgroundRead;
class StatusPanels;
class Workspace;

// The file types of collections in the file dialogs: XML first, then the text format.
const std::vector<FileFilter>& collectionFileFilters();

class CollectionDocument : public QObject {
    Q_OBJECT
public:
    CollectionDocument(Workspace& workspace, StatusPanels& status, Prompter& prompter, QObject* parent = nullptr);
    ~CollectionDocument() override;

    CollectionTree& tree() const;
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }

    // Back to a collection of the root node only, with the None tab and no file name.
    void resetCollection();
    // "Новый" and "Очистить дерево": asks, then resets.
    void clearCollection();
    // "Открыть...": a file dialog, then the collection read from the chosen file.
    void open();
    // "Сохранить": writes the current file (nothing without a file name).
    void save();
    // "Сохранить как...": a file dialog, a question before replacing, then the save.
    void saveAs();
    // Start-up: reads the collection named by the file name in the background, when that
    // file exists. True when a read was started. A read of that file started ahead (while the
    // window was being built) is taken over.
    bool openLastFile(std::unique_ptr<BackgroundRead> ahead = {});
    // Reads a collection file (XML or text) into the reset tree; the name becomes
    // current on success.
    void read(const QString& name, bool asXml);
    // The same on a worker thread: the window stays responsive and shows the progress while
    // the open collection is the empty one; the tree read takes its place when the read
    // ends. readingChanged(true) comes now, readingChanged(false) once the read collection
    // (or the failure's message) has been shown. The window takes no commands meanwhile.
    void readInBackground(QString name, bool asXml, std::unique_ptr<BackgroundRead> ahead = {});
    bool isReading() const { return reading_; }
    // Shut-down: a background read still running is stopped and its result dropped; the
    // file name stays, so the settings keep it as the last file.
    void stopReading();
    // Asks before a file is replaced; true when it does not exist or may be replaced.
    bool confirmReplace(const QString& fileName);
    // Each save first keeps the previous file as a backup (count 0: none); backups go into
    // fallbackDir when the file's folder takes no new file.
    void setBackups(int count, const QString& fallbackDir) {
        backupCount_ = count;
        backupFolder_ = fallbackDir;
    }
    int backupCount() const { return backupCount_; }

    // Sets the window caption from the file name and the changed state.
    void updateCaption();

    // Whether the collection differs from what was last read or written.
    bool isModified() const { return modified_; }
    void setModified(bool modified);
    // Before a command discards a changed collection: asks whether to save it first. Yes
    // saves (false when the save did not happen), No goes on, Cancel stops (false).
    // Nothing is asked about an unchanged collection.
    bool maySaveChanges();

signals:
    void captionChanged(const QString& caption);
    // The collection became changed, or unchanged again (read, saved, reset).
    void modifiedChanged(bool modified);
    // A read in the background started (true) or ended (false).
    void readingChanged(bool reading);

private:
    bool writeXml(const QString& fileName);
    bool writeText(const QString& fileName);
    bool write(const QString& fileName);
    void keepBackup(const QString& target);
    // After a read into the tree: a failure's consequences and messages, the stored expanded
    // state, the caption and the counts.
    void showReadCollection(bool ok, bool asXml);
    void expandAsStored();
    void backgroundReadEnded();

    Workspace& workspace_;
    StatusPanels& status_;
    Prompter& prompter_;
    QString fileName_;
    bool modified_ = false;
    int backupCount_ = 1;
    QString backupFolder_;
    std::unique_ptr<BackgroundRead> backgroundRead_;
    QTimer progressPoll_;  // moves the status-bar progress while a background read runs
    bool reading_ = false;
};

} // namespace tw
