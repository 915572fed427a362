#pragma once
// One collection file read on a worker thread into a tree of its own. The window stays
// responsive meanwhile, and nobody sees or edits a half-read tree: the finished tree takes
// the open collection's place in one step. Progress is kept in counters the window polls;
// the reader's messages are gathered for the window to show.

#include "tree/collection_tree.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <thread>

namespace tw {

class BackgroundRead : public QObject {
    Q_OBJECT
public:
    // Starts reading fileName (XML, or the text collection format).
    BackgroundRead(QString fileName, bool asXml, QObject* parent = nullptr);
    // Stops the reader at its next node and waits for it.
    ~BackgroundRead() override;

    const QString& fileName() const { return fileName_; }
    bool asXml() const { return asXml_; }
    // Nodes read so far, of maximum (0 while the file's node count is not known yet).
    int steps() const { return steps_.load(std::memory_order_relaxed); }
    int maximum() const { return maximum_.load(std::memory_order_relaxed); }

    // Whether finished() has been emitted (a read started ahead may end before anyone listens).
    bool hasEnded() const { return ended_; }
    // After finished(): whether the read succeeded, what it read (on failure the nodes read
    // before it), and its messages.
    bool succeeded() const { return succeeded_; }
    CollectionTree& tree() { return tree_; }
    const QStringList& messages() const { return messages_; }

signals:
    // The worker has ended; emitted on the thread this object lives in.
    void finished();

private:
    void run();

    const QString fileName_;
    const bool asXml_;
    // Only the worker touches these until it has ended; the join orders them before finished().
    CollectionTree tree_;
    QStringList messages_;
    bool succeeded_ = false;
    bool ended_ = false;  // set on this object's thread, after the join

    std::atomic<int> steps_{0};
    std::atomic<int> maximum_{0};
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

} // namespace tw
